// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/edit_menu_commands.h"

#include <numeric>
#include <optional>
#include <vector>

#include "platform/prompter.h"
#include "list/row_moves.h"

namespace zefa {
namespace {

std::string_view WithoutDot(std::string_view extension) {
  if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  return extension;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Label5 and Label15 name the focused row as the number column shows it.
void ShowFocusedRow(MainState& state, const SerialNumbers& numbers) {
  const std::string number = numbers.Text(state.list.path.selected);
  state.label5 = number;
  state.label15 = number;
}

}  // namespace

std::string NoRowWithExtensionText(std::string_view extension) {
  return "拡張子が「" + std::string(extension) + "」のファイルはありません。";
}

void SelectAll1Click(MainState& state, const SerialNumbers& numbers) {
  RenameList& list = state.list;
  const int rows = RowCount(list);
  if (rows == 0) return;
  std::vector<int> all(static_cast<std::size_t>(rows));
  std::iota(all.begin(), all.end(), 0);
  const int focused =
      list.path.HasSelection() && list.path.selected < rows ? list.path.selected : 0;
  SelectRows(list, std::move(all), focused);
  ShowFocusedRow(state, numbers);
}

void SelectExtension1Click(MainState& state, const Context& context, const SerialNumbers& numbers) {
  const std::optional<std::string> typed =
      context.prompter.AskText(kSelectExtensionTitle, kSelectExtensionLabel);
  if (!typed || typed->empty()) return;
  const std::string_view wanted = WithoutDot(*typed);
  RenameList& list = state.list;
  std::vector<int> rows;
  for (int row = 0; row < RowCount(list); ++row) {
    const std::string& extension = list.extension.entries[static_cast<std::size_t>(row)];
    if (SameIgnoringCase(WithoutDot(extension), wanted)) rows.push_back(row);
  }
  if (rows.empty()) {
    context.prompter.Inform(NoRowWithExtensionText(*typed));
    return;
  }
  const int focused = rows.front();
  SelectRows(list, std::move(rows), focused);
  ShowFocusedRow(state, numbers);
}

}  // namespace zefa
