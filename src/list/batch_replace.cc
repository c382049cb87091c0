// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/batch_replace.h"

namespace zefa {

void ReplaceColumn(RenameList& list, BatchTarget target, std::string& text) {
  ListColumn& column = target == BatchTarget::kExtension ? list.extension : list.unique;
  for (int row = 0; row < list.size(); ++row) {
    // The dot goes into the field on the first row, so an empty list leaves the text as typed.
    if (target == BatchTarget::kExtension && !text.empty() && text.front() != '.') {
      text.insert(0, 1, '.');
    }
    column.entries[static_cast<std::size_t>(row)] = text;
  }
}

}  // namespace zefa
