// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>

#include "list/rename_list.h"
#include "names/serial_numbers.h"

/**
 * A list view's window onto one column of the rename list: nothing is copied, so a list
 * of 100,000 rows costs no more than the core's own strings.
 */
class ColumnModel : public QAbstractListModel {
  Q_OBJECT

 public:
  ColumnModel(const zefa::ListColumn& column, int row_height, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  /** The number column's texts as `numbers` counts them (rows count from 1 without). */
  void SetNumbers(const zefa::SerialNumbers* numbers) { numbers_ = numbers; }
  /** Whether each row's tip shows its whole text (the target paths). */
  void SetTipsShowText(bool shown) { tips_show_text_ = shown; }
  /** Width of every row: the view's scrolling width. */
  void SetRowWidth(int width) { row_width_ = width; }
  /** Tells the views that the column's entries changed. */
  void Reload();

 private:
  const zefa::ListColumn& column_;
  const zefa::SerialNumbers* numbers_ = nullptr;
  int row_height_;
  int row_width_ = 0;
  bool tips_show_text_ = false;
};
