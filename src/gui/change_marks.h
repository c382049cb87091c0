// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

/**
 * Draws the rows of a before-and-after list with the characters that change marked
 * (zefa::FindChangedRanges), so that "ＡＢＣ" becoming "ABC" shows where a proportional
 * font draws them alike. A row says what it is compared with in kChangeOtherRole and
 * which side it is in kChangeSideRole; a row without them is drawn as usual.
 */
class ChangeMarkDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int kChangeOtherRole = Qt::UserRole + 40;
  static constexpr int kChangeSideRole = Qt::UserRole + 41;  // true: the new text
  /** Behind the characters that change. */
  static QColor MarkColor();

  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};
