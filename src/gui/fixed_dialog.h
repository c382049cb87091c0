// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QRect>
#include <QString>
#include <vector>

class QLabel;
class QPushButton;

/**
 * The frame of the program's dialogs: fixed client size, the window font, centred over
 * the owner. No button is a default or cancel button: Enter presses a button only while
 * it has the focus, and Escape does nothing.
 */
class FixedDialog : public QDialog {
  Q_OBJECT

 public:
  FixedDialog(QWidget* owner, const QString& caption, int client_width, int client_height);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

/** Names a control after its form name and puts it at its form position and size. */
template <typename Control>
Control* Place(Control* control, const char* name, const QRect& geometry) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  return control;
}

/** A label sized to its caption, its top-left corner at `left`, `top`. */
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);

/** A push button that never becomes the dialog's default button. */
QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry);

/** Tab moves through `order` from first to last. */
void SetTabOrder(const std::vector<QWidget*>& order);
