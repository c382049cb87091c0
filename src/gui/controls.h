// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QString>
#include <vector>

class QLabel;
class QObject;
class QPushButton;
class QWidget;

// The controls of every window, each named after its form name and put at its form place.

/** A control of a form: its name, its place and size on the form, and its caption. */
struct FormControl {
  const char* name;
  QRect geometry;
  const char* caption;  // UTF-8; nullptr for a control without one
};

/** Names a control after its form name and puts it at its form position and size. */
template <typename Control>
Control* Place(Control* control, const char* name, const QRect& geometry) {
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  return control;
}

/** A label of plain text sized to its caption, its top-left corner at `left`, `top`. */
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& caption, int left, int top);

/** A label of plain text at its form position and size. */
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

/** A label of plain text at its form position and size, with its form caption. */
QLabel* PlaceLabel(QWidget* parent, const FormControl& form);

/** A push button that never becomes the dialog's default button. */
QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry);
QPushButton* PlaceButton(QWidget* parent, const FormControl& form);

/** Tab moves through `order` from first to last. */
void SetTabOrder(const std::vector<QWidget*>& order);

/**
 * Cuts every signal from the window's children to the window. Called first in each
 * window's destructor: the children outlive the window's own part and may still signal
 * while they go (a focused spin box fixes its text as it is destroyed), and a handler of
 * a window that is half destroyed must not run.
 */
void DisconnectChildren(QObject* window);
