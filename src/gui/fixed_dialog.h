// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

#include "controls.h"

/**
 * The frame of the program's dialogs: fixed client size, the window font, centred over
 * the owner. Enter presses the button that has the focus, else the default button of a
 * dialog that names one (none does unless it says so). Escape closes the dialog as its
 * title-bar button does (a rejection).
 */
class FixedDialog : public QDialog {
  Q_OBJECT

 public:
  FixedDialog(QWidget* owner, const QString& caption, int client_width, int client_height);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
