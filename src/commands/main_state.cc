// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/main_state.h"

#include <utility>

#include "settings/profile.h"

namespace zefa {

ColumnView& ListView::column(ColumnId id) { return ColumnOf(*this, id); }

const ColumnView& ListView::column(ColumnId id) const { return ColumnOf(*this, id); }

void ListView::SelectAll(int row) {
  for (ColumnView* c : {&number, &path, &unique, &extension}) c->selected = row;
}

void ListView::SelectRows(std::vector<int> rows, int focused) {
  if (rows.size() < 2) rows.clear();
  selected_rows = std::move(rows);
  SelectAll(focused);
}

void ListView::SelectNone() {
  SelectAll(-1);
  selected_rows.clear();
}

std::string Label10Text(const MainState& state) {
  return std::to_string(static_cast<long long>(state.list.size()) + state.start_number - 1);
}

std::string Label10Text(const MainState& state, const SerialNumbers& numbers) {
  return std::to_string(numbers.Last(state.start_number));
}

int SpinValueOfText(const std::string& text) { return ParseProfileInteger(text).value_or(1); }

}  // namespace zefa
