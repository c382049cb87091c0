// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace zefa {

/** A run of characters of a text: where it starts and how long it is, in code units. */
struct TextRange {
  std::size_t start = 0;
  std::size_t length = 0;
  bool operator==(const TextRange&) const = default;
};

/** The characters that a change of a name took away (`before`) and put in (`after`). */
struct ChangedRanges {
  std::vector<TextRange> before;
  std::vector<TextRange> after;
};

/**
 * Which characters differ between a name and its new text, as a window marks them: what
 * both keep in the same order (their longest common subsequence) is unmarked, the rest is.
 * In UTF-16 code units, as the window draws them; a pair of surrogates is never cut. Names
 * of more than a few hundred characters mark the whole middle that differs.
 */
ChangedRanges FindChangedRanges(std::u16string_view before, std::u16string_view after);

}  // namespace zefa
