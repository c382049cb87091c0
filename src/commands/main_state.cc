// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/main_state.h"

#include "settings/profile.h"

namespace zefa {

std::string Label10Text(const MainState& state) {
  return std::to_string(static_cast<long long>(state.list.size()) + state.start_number - 1);
}

std::string Label10Text(const MainState& state, const SerialNumbers& numbers) {
  return std::to_string(numbers.Last(state.start_number));
}

int SpinValueOfText(const std::string& text) { return ParseProfileInteger(text).value_or(1); }

}  // namespace zefa
