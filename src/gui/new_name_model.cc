// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "new_name_model.h"

#include <QColor>

#include "qt_text.h"

namespace {

// A row that the run will not rename: the preview's colours.
const QColor kFailureText(0xB0, 0x00, 0x00);
const QColor kFailureBackground(0xFF, 0xE4, 0xE4);

}  // namespace

NewNameModel::NewNameModel(const zefa::RenameList& list, const zefa::SerialNumbers& numbers,
                           zefa::TextRules rules, int row_height, QObject* parent)
    : QAbstractListModel(parent),
      list_(list),
      numbers_(numbers),
      rules_(rules),
      row_height_(row_height) {}

int NewNameModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : zefa::RowCount(list_);
}

QVariant NewNameModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= zefa::RowCount(list_)) return {};
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole:
      return PathToQt(zefa::NewFileName(list_, row, request_, numbers_, rules_, *paths_));
    case Qt::SizeHintRole:
      return QSize(row_width_, row_height_);
    case Qt::ToolTipRole:
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
      const std::string& reason =
          common_refusal_.empty() ? zefa::ReasonOf(reasons_, row) : common_refusal_;
      if (reason.empty()) return {};
      if (role == Qt::ToolTipRole) return MessageToQt(reason);
      return role == Qt::ForegroundRole ? kFailureText : kFailureBackground;
    }
    default:
      return {};
  }
}

void NewNameModel::SetRequest(zefa::NewNameRequest request) {
  request_ = std::move(request);
  paths_ = std::make_unique<zefa::PathStore>();
  common_refusal_ = zefa::CommonNameRefusal(request_, rules_);
  reasons_.clear();
  emit Changed();
}

void NewNameModel::SetReasons(zefa::NewNameReasons reasons) {
  reasons_ = std::move(reasons);
  emit Changed();
}

void NewNameModel::Reload() {
  beginResetModel();
  paths_ = std::make_unique<zefa::PathStore>();
  reasons_.clear();
  endResetModel();
}
