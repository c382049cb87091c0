// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "narrow_text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <algorithm>

void DrawNarrowed(QPainter& painter, const QRect& room, int natural_width,
                  const std::function<void(const QRect&)>& draw) {
  if (natural_width <= room.width() || room.width() <= 0) {
    draw(room);
    return;
  }
  painter.save();
  painter.translate(room.left(), 0);
  painter.scale(static_cast<double>(room.width()) / natural_width, 1.0);
  draw(QRect(0, room.top(), natural_width, room.height()));
  painter.restore();
}

void NarrowTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QString text = item.text;
  item.text.clear();
  const QWidget* widget = item.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  // The row's background, selection and focus as the style draws them, without the text.
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
  item.text = text;
  // A row may be wider than the view: only what the view shows of it counts. Its height
  // stays whole, so that a row half out of sight is drawn where it stands, its digits
  // whole when the view scrolls it into sight by moving what is drawn.
  QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
  if (const auto* view = qobject_cast<const QAbstractItemView*>(widget)) {
    const QRect shown = view->viewport()->rect();
    room.setLeft(std::max(room.left(), shown.left()));
    room.setRight(std::min(room.right(), shown.right()));
  }
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect inside = room.adjusted(margin, 0, -margin, 0);
  const bool selected = item.state & QStyle::State_Selected;
  const QPalette::ColorGroup group = !(item.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (item.state & QStyle::State_Active) ? QPalette::Active
                                                                           : QPalette::Inactive;
  painter->save();
  painter->setFont(item.font);
  painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  DrawNarrowed(*painter, inside, item.fontMetrics.horizontalAdvance(text), [&](const QRect& rect) {
    painter->drawText(rect, static_cast<int>(item.displayAlignment), text);
  });
  painter->restore();
}
