// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "fixed_dialog.h"

#include <QKeyEvent>
#include <QPushButton>

#include "window_style.h"

FixedDialog::FixedDialog(QWidget* owner, const QString& caption, int client_width,
                         int client_height)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(caption);
  setFont(WindowFont());
  FixClientSize(this, client_width, client_height);
}

void FixedDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      // Closes the dialog as its cancel button and its title-bar button do.
      event->accept();
      reject();
      return;
    case Qt::Key_Enter:
    case Qt::Key_Return:
      // Reaches here when a button without auto-default ignored the key: press that one only.
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        if (button->isEnabled()) button->click();
        event->accept();
        return;
      }
      // From a field, the dialog's default button, where it has one and while it is enabled.
      for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isVisible() && button->isEnabled()) {
          button->click();
          break;
        }
      }
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}
