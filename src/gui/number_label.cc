// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "number_label.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "narrow_text.h"

namespace {
constexpr int kHeight = 12;
constexpr int kMinWidth = 6;
}  // namespace

NumberLabel::NumberLabel(QWidget* parent, const char* name, int top, Room room)
    : QLabel(parent), top_(top), room_(room) {
  setObjectName(QString::fromLatin1(name));
  setTextFormat(Qt::PlainText);
  SetNumber(QStringLiteral("0"));
}

int NumberLabel::NaturalWidth() const {
  return std::max(kMinWidth, fontMetrics().horizontalAdvance(text()));
}

void NumberLabel::SetNumber(const QString& number) {
  if (number != text()) setText(number);
  const int natural = NaturalWidth();
  if (room_.left_edge >= 0 && room_.left_edge + natural <= room_.right_bound) {
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setGeometry(room_.left_edge, top_ + shift_, natural, kHeight);
    return;
  }
  const int width = std::min(natural, room_.right_edge - room_.left_bound);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setGeometry(room_.right_edge - width, top_ + shift_, width, kHeight);
}

void NumberLabel::SetShift(int dy) {
  if (dy == shift_) return;
  shift_ = dy;
  SetNumber(text());
}

void NumberLabel::paintEvent(QPaintEvent* event) {
  const int natural = NaturalWidth();
  if (natural <= width()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  DrawNarrowed(painter, rect(), natural, [&](const QRect& room) {
    style()->drawItemText(&painter, room, static_cast<int>(alignment()), palette(), isEnabled(),
                          text(), foregroundRole());
  });
}
