// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "controls.h"

#include <QLabel>
#include <QPushButton>

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* label = new QLabel(caption, parent);
  label->setTextFormat(Qt::PlainText);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                   Qt::Alignment alignment) {
  auto* label = Place(new QLabel(caption, parent), name, geometry);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment);
  return label;
}

QLabel* PlaceLabel(QWidget* parent, const FormControl& form) {
  return PlaceLabel(parent, form.name, QString::fromUtf8(form.caption), form.geometry);
}

QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry) {
  auto* button = Place(new QPushButton(caption, parent), name, geometry);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QPushButton* PlaceButton(QWidget* parent, const FormControl& form) {
  return PlaceButton(parent, form.name, QString::fromUtf8(form.caption), form.geometry);
}

void SetTabOrder(const std::vector<QWidget*>& order) {
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void DisconnectChildren(QObject* window) {
  for (QObject* child : window->findChildren<QObject*>())
    QObject::disconnect(child, nullptr, window, nullptr);
}
