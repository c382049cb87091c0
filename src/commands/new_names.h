// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "change/row_change.h"
#include "commands/context.h"
#include "list/rename_list.h"
#include "names/compose_name.h"
#include "names/name_tokens.h"
#include "names/serial_numbers.h"

namespace zefa {

class FileSystem;

/** What the next run would be given: the common name, the start number, the settings. */
struct NewNameRequest {
  std::string common_name;
  int start_number = 1;
  NameSettings settings;
  /** The common name's tokens, parsed once per keystroke; null when it has none. */
  std::shared_ptr<const NameTemplate> tokens;
  TokenSources sources;  // what the tokens are filled from
};

/** The request of the window as it stands, the naming settings read once. */
NewNameRequest ReadNewNameRequest(const std::string& common_name, int start_number,
                                  const Context& context);

/** Rows the run would not rename and why, ascending by row; every other row is fine. */
using NewNameReasons = std::vector<std::pair<int, std::string>>;

/**
 * The one place where the new-name column asks the change pipeline. `NewFileName` is one
 * row's new file name as the run builds it (ComposeChange: no file system, so that it may
 * be called for the rows on screen at every keystroke; the composed path is kept in
 * `paths`); `CheckNewNames` plans every row as the preview does (PlanChanges), giving the
 * preview's reason (ReasonText) for each row that will not be renamed.
 */
std::string NewFileName(const RenameList& list, int row, const NewNameRequest& request,
                        const SerialNumbers& numbers, const TextRules& rules, PathStore& paths);
NewNameReasons CheckNewNames(const RenameList& list, const NewNameRequest& request,
                             FileSystem& file_system, const TextRules& rules);

/**
 * Why the run refuses every row for the common name itself: CheckNameChars's message for
 * its first forbidden character, shown on the column instead of in a box; "" when none.
 */
std::string CommonNameRefusal(const NewNameRequest& request, const TextRules& rules);

/** The reason given for `row`, "" when none. */
const std::string& ReasonOf(const NewNameReasons& reasons, int row);

}  // namespace zefa
