// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "text/changed_ranges.h"

#include <algorithm>
#include <cstdint>

namespace zefa {
namespace {

// The table of the common subsequence grows with the product of the two lengths: a file
// name is at most 255 bytes, so this bounds it for every real name.
constexpr std::size_t kMostCells = 512 * 512;

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Runs of marked units, widened so that no surrogate pair is cut.
std::vector<TextRange> Runs(const std::vector<bool>& marked, std::u16string_view text) {
  std::vector<TextRange> runs;
  for (std::size_t i = 0; i < marked.size();) {
    if (!marked[i]) {
      ++i;
      continue;
    }
    std::size_t start = i;
    while (i < marked.size() && marked[i]) ++i;
    if (start > 0 && IsLowSurrogate(text[start])) --start;
    std::size_t end = i;
    if (end < text.size() && IsLowSurrogate(text[end])) ++end;
    if (!runs.empty() && runs.back().start + runs.back().length >= start) {
      runs.back().length = end - runs.back().start;
    } else {
      runs.push_back({start, end - start});
    }
    i = std::max(i, end);
  }
  return runs;
}

}  // namespace

ChangedRanges FindChangedRanges(std::u16string_view before, std::u16string_view after) {
  // What both begin and end with is kept; only the middle needs the table.
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::u16string_view a = before.substr(prefix, before.size() - prefix - suffix);
  const std::u16string_view b = after.substr(prefix, after.size() - prefix - suffix);
  std::vector<bool> marked_before(before.size(), false);
  std::vector<bool> marked_after(after.size(), false);
  if ((a.size() + 1) * (b.size() + 1) > kMostCells) {
    std::fill_n(marked_before.begin() + static_cast<std::ptrdiff_t>(prefix), a.size(), true);
    std::fill_n(marked_after.begin() + static_cast<std::ptrdiff_t>(prefix), b.size(), true);
  } else {
    // lengths[i][j]: the longest common subsequence of a[i..] and b[j..].
    const std::size_t width = b.size() + 1;
    std::vector<std::uint16_t> lengths((a.size() + 1) * width, 0);
    for (std::size_t i = a.size(); i-- > 0;) {
      for (std::size_t j = b.size(); j-- > 0;) {
        lengths[i * width + j] =
            a[i] == b[j] ? static_cast<std::uint16_t>(lengths[(i + 1) * width + j + 1] + 1)
                         : std::max(lengths[(i + 1) * width + j], lengths[i * width + j + 1]);
      }
    }
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
      if (i < a.size() && j < b.size() && a[i] == b[j]) {
        ++i;
        ++j;
      } else if (j < b.size() &&
                 (i == a.size() || lengths[i * width + j + 1] >= lengths[(i + 1) * width + j])) {
        marked_after[prefix + j++] = true;
      } else {
        marked_before[prefix + i++] = true;
      }
    }
  }
  return {Runs(marked_before, before), Runs(marked_after, after)};
}

}  // namespace zefa
