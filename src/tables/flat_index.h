// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <utility>

#include "tables/flat_table.h"

namespace zefa {

/**
 * Items found by their text, one item to a text, in a flat table of tagged slots.
 * `TextOf` gives an item's text (a string_view) from its number; items are numbered
 * below 2^32 - 1, and the texts outlive the index.
 */
template <typename TextOf>
class FlatIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  /** Room for `items` items; an Insert past them throws std::length_error. */
  FlatIndex(std::size_t items, TextOf text_of) : text_of_(std::move(text_of)), table_(items) {}

  /** Adds `item` unless an item of the same text is there; the item that holds the text. */
  std::size_t Insert(std::size_t item) {
    const std::string_view text = text_of_(item);
    const std::uint64_t hash = HashOf(text);
    const std::size_t found = FindHashed(text, hash);
    if (found != kNone) return found;
    table_.Add(hash, item);
    return item;
  }

  /** The item of `text`; kNone when there is none. */
  std::size_t Find(std::string_view text) const { return FindHashed(text, HashOf(text)); }

 private:
  static std::uint64_t HashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }

  std::size_t FindHashed(std::string_view text, std::uint64_t hash) const {
    std::size_t found = kNone;
    table_.Find(hash, [&](std::size_t item) {
      if (text_of_(item) != text) return false;
      found = item;
      return true;
    });
    return found;
  }

  TextOf text_of_;
  FlatTable<true> table_;
};

}  // namespace zefa
