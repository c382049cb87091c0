// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

namespace zefa {

/**
 * Hands the memory that the program has freed back to the system. The C library keeps
 * freed blocks for later use otherwise, so a preview or a run of a million rows would
 * leave the program hundreds of megabytes larger than what it still holds.
 */
void ReturnFreedMemory();

}  // namespace zefa
