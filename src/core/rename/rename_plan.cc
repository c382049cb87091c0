// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "rename/rename_plan.h"

#include <algorithm>
#include <array>

#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace zefa {
namespace {

enum class Element { kCommon, kNumber, kUnique };

// The elements of patterns 1 to 8 in order; 7 and 8 use only their first two.
struct PatternOrder {
  std::array<Element, 3> elements;
  int count;
};

constexpr std::array<PatternOrder, 8> kPatternOrders = {{
    {{Element::kCommon, Element::kNumber, Element::kUnique}, 3},
    {{Element::kCommon, Element::kUnique, Element::kNumber}, 3},
    {{Element::kNumber, Element::kCommon, Element::kUnique}, 3},
    {{Element::kNumber, Element::kUnique, Element::kCommon}, 3},
    {{Element::kUnique, Element::kNumber, Element::kCommon}, 3},
    {{Element::kUnique, Element::kCommon, Element::kNumber}, 3},
    {{Element::kUnique, Element::kCommon, Element::kNumber}, 2},
    {{Element::kCommon, Element::kUnique, Element::kNumber}, 2},
}};

std::string NumberText(int number, int digits) {
  const std::string text = std::to_string(number);
  if (digits == 2) return PadTwoDigits(number, text);
  if (digits == 3) return PadNumber(number, text);
  return text;
}

}  // namespace

// In UTF-8 every byte of a multi-byte character is 0x80 or above, so the last separator
// byte is a character of its own.
std::string_view FolderOf(std::string_view path, const TextRules& rules) {
  if (rules.code_page != CodePage::kUtf8) return FolderPart(path, rules);
  const std::size_t last = path.find_last_of(rules.path_style == PathStyle::kWindows ? "\\:" : "/");
  return last == std::string_view::npos ? std::string_view{} : path.substr(0, last + 1);
}

int RowCount(const RenameList& list) {
  return std::min({list.size(), list.path.size(), list.unique.size(), list.extension.size()});
}

bool IsFailure(RowStatus status) {
  return status == RowStatus::kTargetExists || status == RowStatus::kSourceMissing ||
         status == RowStatus::kFailed;
}

NameSettings ReadNameSettings(const SettingsFile& settings) {
  NameSettings result;
  result.digits = settings.ReadInteger(keys::kSection, keys::kKeta, keys::kDefaultKeta);
  result.pattern = settings.ReadInteger(keys::kSection, keys::kPattern, keys::kDefaultPattern);
  result.separator =
      settings.ReadBool(keys::kSection, keys::kSpace, keys::kDefaultSpace) ? " " : "";
  if (settings.ReadBool(keys::kSection, keys::kNumKakko, keys::kDefaultNumKakko)) {
    result.open_bracket = settings.ReadString(keys::kSection, keys::kNumAki, keys::kDefaultNumAki);
    result.close_bracket =
        settings.ReadString(keys::kSection, keys::kNumToji, keys::kDefaultNumToji);
  }
  return result;
}

std::string PadNumber(int number, std::string_view text) {
  if (number < 10) return "00" + std::string(text);
  if (number < 100) return "0" + std::string(text);
  return std::string(text);
}

std::string PadTwoDigits(int number, std::string_view text) {
  if (number < 10) return "0" + std::string(text);
  return std::string(text);
}

std::string ComposeName(const RenameList& list, int row, std::string_view common_name, int pattern,
                        int number, int digits, std::string_view separator,
                        std::string_view open_bracket, std::string_view close_bracket,
                        const TextRules& rules) {
  if (pattern < 1 || pattern > 8 || row < 0 || row >= RowCount(list)) return {};
  const auto index = static_cast<std::size_t>(row);
  const std::string& path = list.path.entries[index];
  const std::string& unique = list.unique.entries[index];
  const std::string& extension = list.extension.entries[index];

  std::string number_text;
  const PatternOrder& order = kPatternOrders[static_cast<std::size_t>(pattern - 1)];
  const std::string_view folder = FolderOf(path, rules);
  std::string name;
  name.reserve(folder.size() + common_name.size() + unique.size() + extension.size() +
               open_bracket.size() + close_bracket.size() + 3 * separator.size() + 12);
  name += folder;
  bool first = true;
  for (int i = 0; i < order.count; ++i) {
    std::string_view element;
    switch (order.elements[static_cast<std::size_t>(i)]) {
      case Element::kCommon:
        element = common_name;
        break;
      case Element::kUnique:
        element = unique;
        break;
      case Element::kNumber:
        number_text =
            std::string(open_bracket) + NumberText(number, digits) + std::string(close_bracket);
        element = number_text;
        break;
    }
    // An empty name is left out together with the separator that would join it.
    if (element.empty()) continue;
    if (!first) name += separator;
    name += element;
    first = false;
  }
  name += extension;
  return name;
}

std::vector<PlannedRename> BuildRenamePlan(const RenameList& list, std::string_view common_name,
                                           int start_number, const NameSettings& settings,
                                           const TextRules& rules) {
  std::vector<PlannedRename> plan;
  const int rows = RowCount(list);
  plan.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    PlannedRename entry;
    entry.old_path = list.path.entries[static_cast<std::size_t>(row)];
    // The number wraps like the 32-bit integer it is, rather than overflowing.
    const int number =
        static_cast<int>(static_cast<unsigned>(start_number) + static_cast<unsigned>(row));
    entry.new_path =
        ComposeName(list, row, common_name, settings.pattern, number, settings.digits,
                    settings.separator, settings.open_bracket, settings.close_bracket, rules);
    plan.push_back(std::move(entry));
  }
  return plan;
}

}  // namespace zefa
