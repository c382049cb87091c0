// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace zefa {

/** The process's current folder as the system gives its bytes; empty when unknown. */
std::string CurrentFolder();

}  // namespace zefa
