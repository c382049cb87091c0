// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

#include "controls.h"

/**
 * The frame of the program's dialogs: fixed client size, the window font, centred over
 * the owner. No button is a default button: Enter presses a button only while it has
 * the focus. Escape closes the dialog as its title-bar button does (a rejection).
 */
class FixedDialog : public QDialog {
  Q_OBJECT

 public:
  FixedDialog(QWidget* owner, const QString& caption, int client_width, int client_height);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
