// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>
#include <QSize>
#include <memory>

#include "commands/new_names.h"
#include "list/rename_list.h"
#include "names/serial_numbers.h"
#include "text/text_rules.h"

/**
 * The column of new names: each row's new file name, composed when the view asks for it,
 * which it does for the rows on screen alone; so a keystroke costs the same at a million
 * rows as at ten. Rows the run would not rename carry the preview's reason once the
 * check of the whole list has come in.
 */
class NewNameModel : public QAbstractListModel {
  Q_OBJECT

 public:
  NewNameModel(const zefa::RenameList& list, const zefa::SerialNumbers& numbers,
               zefa::TextRules rules, int row_height, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  /** A new common name, start number or settings: the names shown change, the reasons go. */
  void SetRequest(zefa::NewNameRequest request);
  const zefa::NewNameRequest& request() const { return request_; }
  /** The whole list's check for the current request. */
  void SetReasons(zefa::NewNameReasons reasons);
  void SetRowWidth(int width) { row_width_ = width; }
  /** Tells the view that the rows changed. */
  void Reload();

 signals:
  /**
   * The names or reasons changed, the rows did not: the view draws again what it shows.
   * (dataChanged over every row would cost a look at every row of a long list.)
   */
  void Changed();

 private:
  const zefa::RenameList& list_;
  const zefa::SerialNumbers& numbers_;
  zefa::TextRules rules_;
  zefa::NewNameRequest request_;
  zefa::NewNameReasons reasons_;
  std::string common_refusal_;
  // The names composed since the request last changed; a fresh store for every request.
  mutable std::unique_ptr<zefa::PathStore> paths_ =
      std::make_unique<zefa::PathStore>();  // every row's reason while the common name is refused
  int row_height_;
  int row_width_ = 0;
};
