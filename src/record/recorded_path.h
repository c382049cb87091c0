// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace zefa {

/** What begins a path that a restore file records escaped. */
inline constexpr std::string_view kEscapedPathPrefix = "file://";

/**
 * A path as a restore file records it. A path of UTF-8 on one line is written as it is.
 * Any other path (bytes that are not UTF-8, a line break, or a path that itself begins
 * with "file://") is written as "file://" followed by the path with "%", control bytes
 * and every byte that is no part of a UTF-8 character as %XX: the line stays one line
 * of UTF-8 and reads back byte for byte. A Windows copy's paths begin with a drive.
 */
std::string EncodeRecordedPath(std::string_view path);

/** The path that EncodeRecordedPath recorded as `value`. */
std::string DecodeRecordedPath(std::string_view value);

/** Whether EncodeRecordedPath writes `path` escaped rather than as it is. */
bool NeedsEscape(std::string_view path);

}  // namespace zefa
