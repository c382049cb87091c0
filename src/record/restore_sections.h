// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include "record/restore_file.h"

namespace zefa::restore_sections {

// The names a restore file's writer writes and its reader looks for (docs/restore-file.md).
inline constexpr std::string_view kCount = "Count";
inline constexpr std::string_view kCountKey = "count";
inline constexpr std::string_view kBefore = "before";
inline constexpr std::string_view kAfter = "after";
inline constexpr std::string_view kIdentity = "identity";
inline constexpr std::string_view kOutcome = "notrenamed";
inline constexpr std::string_view kOutcomeEndKey = "end";

// A line longer than this holds a value longer than any recorded path, however encoded.
inline constexpr std::size_t kMaxLineBytes = 4 * kMaxRecordedPathBytes + 64;

}  // namespace zefa::restore_sections
