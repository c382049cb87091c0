// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "column_model.h"

#include <QSize>

#include "qt_text.h"

ColumnModel::ColumnModel(const zefa::ListColumn& column, int row_height, QObject* parent)
    : QAbstractListModel(parent), column_(column), row_height_(row_height) {}

int ColumnModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : column_.size();
}

QVariant ColumnModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= column_.size()) return {};
  if (role == Qt::DisplayRole) {
    return PathToQt(numbers_ != nullptr ? numbers_->Text(index.row()) : column_.Text(index.row()));
  }
  if (role == Qt::SizeHintRole) return QSize(row_width_, row_height_);
  if (role == Qt::ToolTipRole && tips_show_text_) return PathToQt(column_.Text(index.row()));
  return {};
}

void ColumnModel::Reload() {
  beginResetModel();
  endResetModel();
}
