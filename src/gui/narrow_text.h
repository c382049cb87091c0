// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QStyledItemDelegate>
#include <functional>

class QPainter;

/**
 * Runs `draw` with the rectangle to draw a text of `natural_width` pixels into: `room`
 * itself when the text fits, otherwise a rectangle as wide as the text with the painter
 * narrowed to bring it into the room. Every character is drawn, at its full height.
 */
void DrawNarrowed(QPainter& painter, const QRect& room, int natural_width,
                  const std::function<void(const QRect&)>& draw);

/** Draws each row's text narrowed to the row's width: a column too narrow to scroll sideways. */
class NarrowTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};
