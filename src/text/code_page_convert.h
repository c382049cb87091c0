// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct UConverter;  // ICU's

namespace zefa {

/**
 * This thread's ICU converter for code page 932, opened once and kept; null when ICU lacks
 * it. A caller resets it and sets its own callbacks before each use.
 */
UConverter* ShiftJisConverter();

/** Shift-JIS (code page 932) bytes as UTF-8; undecodable bytes become U+FFFD. */
std::string ShiftJisToUtf8(std::string_view bytes);

/**
 * Shift-JIS (code page 932) bytes as UTF-8, or nullopt when any byte does not decode
 * (a lead byte without its trail byte, an unassigned pair).
 */
std::optional<std::string> StrictShiftJisToUtf8(std::string_view bytes);

/** UTF-8 as Shift-JIS bytes; characters it lacks become "?". */
std::string Utf8ToShiftJis(std::string_view bytes);

/** Text files from a Windows copy are Shift-JIS: anything that is not UTF-8 is read so. */
std::string DecodeStoredText(std::string_view bytes);

}  // namespace zefa
