// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/compose_name.h"

#include <array>
#include <string>

#include "settings/options.h"
#include "settings/settings_file.h"
#include "text/padding.h"

namespace zefa {
namespace {

enum class Element { kCommon, kNumber, kUnique };

// The elements of each NamePattern from kCommonNumberUnique on, in order; the two without
// a number use only their first two.
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

}  // namespace

NamePattern NamePatternOf(int setting) {
  return setting >= 1 && setting <= 8 ? static_cast<NamePattern>(setting) : NamePattern::kNone;
}

int DecimalWidth(int number) { return static_cast<int>(std::to_string(number).size()); }

NameSettings ReadNameSettings(const SettingsFile& settings) {
  NameSettings result;
  result.digits = ReadOption(settings, &Options::digits);
  result.pattern = NamePatternOf(ReadOption(settings, &Options::pattern));
  result.separator = ReadOption(settings, &Options::space_between) ? " " : "";
  if (ReadOption(settings, &Options::number_brackets)) {
    result.open_bracket = ReadOption(settings, &Options::number_open);
    result.close_bracket = ReadOption(settings, &Options::number_close);
  }
  result.folder_numbers = ReadOption(settings, &Options::folder_numbers);
  return result;
}

std::string ComposeName(const RenameList& list, int row, std::string_view common_name, int number,
                        const NameSettings& settings, const TextRules& rules) {
  if (settings.pattern == NamePattern::kNone || row < 0 || row >= RowCount(list)) return {};
  const std::string_view separator = settings.separator;
  const std::string_view open_bracket = settings.open_bracket;
  const std::string_view close_bracket = settings.close_bracket;
  const auto index = static_cast<std::size_t>(row);
  const std::string& path = list.path.entries[index];
  const std::string& unique = list.unique.entries[index];
  const std::string& extension = list.extension.entries[index];

  std::string number_text;
  const PatternOrder& order = kPatternOrders[static_cast<std::size_t>(settings.pattern) - 1];
  const std::string_view folder = FolderPart(path, rules);
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
        number_text = std::string(open_bracket) + NumberText(number, settings.digits) +
                      std::string(close_bracket);
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

}  // namespace zefa
