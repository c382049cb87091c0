// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renaming/preview.h"

namespace zefa {

std::string_view Preview::Before(int row, bool full_path) const {
  const std::string& path = rows_[static_cast<std::size_t>(row)].old_path;
  return full_path ? std::string_view(path) : FileNamePart(path, rules_);
}

std::string_view Preview::After(int row) const {
  return FileNamePart(rows_[static_cast<std::size_t>(row)].new_path, rules_);
}

}  // namespace zefa
