// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/serial_numbers.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "settings/options.h"
#include "settings/settings_file.h"
#include "text/text_rules.h"

namespace zefa {

bool ReadFolderNumbers(const SettingsFile& settings) {
  return ReadOption(settings, &Options::folder_numbers);
}

SerialNumbers::SerialNumbers(const RenameList& list, bool per_folder, const TextRules& rules) {
  const int rows = RowCount(list);
  span_ = list.size();
  if (!per_folder) return;
  places_.resize(static_cast<std::size_t>(list.size()), 0);
  std::unordered_map<std::string_view, std::uint32_t> counts;
  std::string_view previous;
  std::uint32_t* count = nullptr;
  std::uint32_t largest = 0;
  for (int row = 0; row < rows; ++row) {
    const std::string_view folder =
        FolderPart(list.path.entries[static_cast<std::size_t>(row)], rules);
    // Rows of one folder usually follow each other: no look-up for them.
    if (count == nullptr || folder != previous) {
      count = &counts.try_emplace(folder, 0).first->second;
      previous = folder;
    }
    places_[static_cast<std::size_t>(row)] = (*count)++;
    largest = std::max(largest, *count);
  }
  span_ = static_cast<int>(largest);
}

}  // namespace zefa
