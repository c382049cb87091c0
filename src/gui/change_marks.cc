// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "change_marks.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>
#include <string_view>

#include "text/changed_ranges.h"

namespace {

std::u16string_view Units(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

}  // namespace

QColor ChangeMarkDelegate::MarkColor() { return {0xFF, 0xD8, 0x70}; }

void ChangeMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const QVariant other = index.data(kChangeOtherRole);
  if (!other.isValid()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QString text = item.text;
  const bool after = index.data(kChangeSideRole).toBool();
  const QString other_text = other.toString();
  const zefa::ChangedRanges ranges = after
                                         ? zefa::FindChangedRanges(Units(other_text), Units(text))
                                         : zefa::FindChangedRanges(Units(text), Units(other_text));

  // The row's background and selection as the style draws them, then the text with marks.
  QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
  item.text.clear();
  style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
  const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
  QList<QTextLayout::FormatRange> formats;
  for (const zefa::TextRange& range : after ? ranges.after : ranges.before) {
    QTextLayout::FormatRange format;
    format.start = static_cast<int>(range.start);
    format.length = static_cast<int>(range.length);
    format.format.setBackground(MarkColor());
    formats << format;
  }
  QTextLayout layout(text, item.font);
  layout.setFormats(formats);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(1 << 20);
  layout.endLayout();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
  const bool selected = (item.state & QStyle::State_Selected) != 0;
  painter->save();
  painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setClipRect(area);
  layout.draw(painter,
              QPointF(area.left() + margin, area.top() + (area.height() - line.height()) / 2));
  painter->restore();
}
