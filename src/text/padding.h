// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace zefa {

/** The most digits the digit setting pads a number to. */
constexpr int kMaxDigits = 6;

/** `text` with "00" or "0" in front when `number` is below 10 or 100 (signed tests). */
std::string PadNumber(int number, std::string_view text);
/** `text` with "0" in front when `number` is below 10. */
std::string PadTwoDigits(int number, std::string_view text);

/**
 * The decimal text of `number`, zero-padded to the digit setting of 2 to 6 (one zero for
 * each power of ten from 10 up that `number` is below, as PadTwoDigits and PadNumber do);
 * any other setting leaves the text as it is.
 */
std::string NumberText(int number, int digits);

}  // namespace zefa
