// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/sort_list.h"

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string_view>
#include <utility>

#include "list/unique_name.h"

namespace zefa {
namespace {

// Owns an ICU object for the length of one sort.
template <typename T, void (*Close)(T*)>
struct IcuHandle {
  T* handle = nullptr;
  ~IcuHandle() {
    if (handle != nullptr) Close(handle);
  }
};

// The user's locale for collation. The C locale arrives as en_US_POSIX, whose collation
// orders by code point and so puts every capital first; the neutral root order stands in.
const char* CollationLocale() {
  const char* locale = uloc_getDefault();
  if (locale == nullptr || std::string_view(locale).find("POSIX") != std::string_view::npos) {
    return "";
  }
  return locale;
}

// The text as UTF-16 for the collator; undecodable bytes become U+FFFD.
void ToUtf16(const std::string& text, UConverter* shift_jis, std::u16string& out) {
  out.resize(text.size() + 1);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  const auto size = static_cast<int32_t>(text.size());
  if (shift_jis != nullptr) {
    length = ucnv_toUChars(shift_jis, out.data(), static_cast<int32_t>(out.size()), text.data(),
                           size, &status);
  } else {
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(), size,
                         0xFFFD, nullptr, &status);
  }
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
}

// A text's place in the sort: the eight bytes of its key after the part all keys share,
// read as one number so that most comparisons end there, and the rest of its key.
struct Keyed {
  std::uint64_t head;
  const char* rest;  // null when the key's closing NUL is among those eight bytes
  std::size_t index;
};

// Sorts `order` (0 to n - 1) by the NUL-ended keys, equal keys by the texts' bytes: as
// strcmp would, without reading the keys for most comparisons. Keys sorted by index alone
// are read from all over the buffer, and a million of them took most of a second.
void SortByKeys(std::vector<std::size_t>& order, const std::vector<uint8_t>& keys,
                const std::vector<std::size_t>& key_start, const std::vector<std::string>& texts) {
  const std::size_t count = order.size();
  // The bytes every key shares, none of them a key's end.
  const uint8_t* first = keys.data() + key_start[0];
  std::size_t shared = std::strlen(reinterpret_cast<const char*>(first));
  for (std::size_t i = 1; i < count && shared > 0; ++i) {
    const uint8_t* key = keys.data() + key_start[i];
    std::size_t same = 0;
    while (same < shared && key[same] == first[same]) ++same;
    shared = same;
  }
  std::vector<Keyed> keyed(count);
  for (std::size_t i = 0; i < count; ++i) {
    const uint8_t* key = keys.data() + key_start[i] + shared;
    Keyed& one = keyed[i];
    one = {0, nullptr, i};
    std::size_t at = 0;
    for (; at < 8; ++at) {
      one.head = one.head << 8 | key[at];
      if (key[at] == 0) break;
    }
    if (at < 8) {
      one.head <<= 8 * (7 - at);  // the bytes after the end count as 0
    } else {
      one.rest = reinterpret_cast<const char*>(key + 8);
    }
  }
  std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.head != b.head) return a.head < b.head;
    // Equal heads: both keys end there, or neither does.
    if (a.rest != nullptr) {
      const int by_key = std::strcmp(a.rest, b.rest);
      if (by_key != 0) return by_key < 0;
    }
    return texts[a.index] < texts[b.index];
  });
  for (std::size_t i = 0; i < count; ++i) order[i] = keyed[i].index;
}

}  // namespace

std::vector<std::size_t> CollationOrder(const std::vector<std::string>& texts, CodePage code_page) {
  std::vector<std::size_t> order(texts.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (texts.size() < 2) return order;
  UErrorCode status = U_ZERO_ERROR;
  IcuHandle<UCollator, ucol_close> collator{ucol_open(CollationLocale(), &status)};
  if (U_FAILURE(status) || collator.handle == nullptr) {
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return texts[a] < texts[b]; });
    return order;
  }
  // Secondary strength ignores letter case; digit runs collate by their value.
  ucol_setStrength(collator.handle, UCOL_SECONDARY);
  ucol_setAttribute(collator.handle, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
  IcuHandle<UConverter, ucnv_close> shift_jis;
  if (code_page == CodePage::kShiftJis) {
    status = U_ZERO_ERROR;
    shift_jis.handle = ucnv_open("windows-932", &status);
    if (U_FAILURE(status)) shift_jis.handle = nullptr;
  }

  // One collation key per text, all in one buffer, so the sort compares plain bytes.
  std::vector<uint8_t> keys;
  std::vector<std::size_t> key_start(texts.size() + 1);
  std::u16string utf16;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ToUtf16(texts[i], shift_jis.handle, utf16);
    key_start[i] = keys.size();
    const auto length = static_cast<int32_t>(utf16.size());
    std::size_t room = utf16.size() * 4 + 16;
    for (;;) {
      keys.resize(key_start[i] + room);
      const int32_t needed =
          ucol_getSortKey(collator.handle, utf16.data(), length, keys.data() + key_start[i],
                          static_cast<int32_t>(room));
      if (needed <= 0) {
        keys.resize(key_start[i] + 1);
        keys.back() = 0;
        break;
      }
      if (static_cast<std::size_t>(needed) <= room) {
        keys.resize(key_start[i] + static_cast<std::size_t>(needed));
        break;
      }
      room = static_cast<std::size_t>(needed);
    }
  }
  key_start[texts.size()] = keys.size();

  keys.shrink_to_fit();
  SortByKeys(order, keys, key_start, texts);
  return order;
}

void SortByCollation(std::vector<std::string>& texts, CodePage code_page) {
  const std::vector<std::size_t> order = CollationOrder(texts, code_page);
  std::vector<std::string> sorted;
  sorted.reserve(texts.size());
  for (std::size_t i : order) sorted.push_back(std::move(texts[i]));
  texts = std::move(sorted);
}

void SortRows(RenameList& list, std::string_view common_name, const DeriveSettings& settings,
              const TextRules& rules) {
  ReorderRows(list, CollationOrder(list.path.entries, rules.code_page), common_name, settings,
              rules);
}

void ReorderRows(RenameList& list, const std::vector<std::size_t>& order,
                 std::string_view common_name, const DeriveSettings& settings,
                 const TextRules& rules) {
  list.ReorderPaths(order);
  const std::size_t rows = list.path.entries.size();
  // Derived in place, so that the sort holds no second copy of the two columns.
  list.unique.entries.resize(rows);
  list.extension.entries.resize(rows);
  for (std::size_t i = 0; i < rows; ++i) {
    const std::string& path = list.path.entries[i];
    list.unique.entries[i] = DeriveUniqueName(path, common_name, settings, rules);
    list.extension.entries[i] = ExtensionOfPath(path, rules);
  }
}

}  // namespace zefa
