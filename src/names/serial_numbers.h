// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "list/rename_list.h"
#include "names/compose_name.h"
#include "text/text_rules.h"

namespace zefa {

class SettingsFile;

/** Reads `Folder_rendo`: whether the serial numbers start again in each folder. */
bool ReadFolderNumbers(const SettingsFile& settings);

/**
 * Where each row stands in the count of the serial numbers. Counted through the list, row
 * i is place i. Counted per folder, each folder (the folder part of a path) has a count of
 * its own that starts again at place 0, in list order: a row's place is the number of
 * rows of its folder above it, so two rows of one folder never share a number.
 */
class SerialNumbers {
 public:
  SerialNumbers() = default;
  SerialNumbers(const RenameList& list, bool per_folder, const TextRules& rules);

  /** The place of `row`, from 0; the number column shows it plus 1. */
  int Place(int row) const {
    return places_.empty() ? row : static_cast<int>(places_[static_cast<std::size_t>(row)]);
  }
  /** The serial number of `row`: the start number plus its place, wrapping as 32 bits do. */
  int Of(int row, int start_number) const { return SerialNumber(start_number, Place(row)); }
  /** The number column's text of `row`. */
  std::string Text(int row) const { return std::to_string(Place(row) + 1); }
  /**
   * The last serial number (Label10): the start number plus the places counted minus 1,
   * the places being the list's rows, or those of its largest folder.
   */
  long long Last(int start_number) const {
    return static_cast<long long>(span_) + start_number - 1;
  }

 private:
  std::vector<std::uint32_t> places_;  // empty: counted through the list
  int span_ = 0;
};

}  // namespace zefa
