// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace zefa {

/** `text` with "00" or "0" in front when `number` is below 10 or 100 (signed tests). */
std::string PadNumber(int number, std::string_view text);
/** `text` with "0" in front when `number` is below 10. */
std::string PadTwoDigits(int number, std::string_view text);

/** The decimal text of `number`, zero-padded by the digit setting (2: PadTwoDigits, 3: PadNumber).
 */
std::string NumberText(int number, int digits);

}  // namespace zefa
