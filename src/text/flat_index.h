// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace zefa {

/**
 * Items found by their text, by open addressing in a flat array of 8-byte slots, so that
 * a look-up among a million texts touches the array and the text, not a chain of nodes.
 * `TextOf` gives an item's text (a string_view) from its number; items are numbered
 * below 2^32 - 1, and the texts outlive the index.
 */
template <typename TextOf>
class FlatIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  FlatIndex(std::size_t items, TextOf text_of) : text_of_(std::move(text_of)) {
    std::size_t capacity = 16;
    while (capacity < items + items / 2) capacity *= 2;
    slots_.assign(capacity, Slot{});
  }

  /** Adds `item` unless an item of the same text is there; the item that holds the text. */
  std::size_t Insert(std::size_t item) {
    const std::string_view text = text_of_(item);
    const std::uint32_t hash = HashOf(text);
    Slot& slot = slots_[Probe(text, hash)];
    if (slot.item_plus_one != 0) return slot.item_plus_one - 1;
    slot = {hash, static_cast<std::uint32_t>(item + 1)};
    return item;
  }

  /** The item of `text`; kNone when there is none. */
  std::size_t Find(std::string_view text) const {
    const Slot& slot = slots_[Probe(text, HashOf(text))];
    return slot.item_plus_one == 0 ? kNone : slot.item_plus_one - 1;
  }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t item_plus_one = 0;  // 0: empty
  };

  static std::uint32_t HashOf(std::string_view text) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
  }

  // The slot that holds `text`, or the empty one where it would go.
  std::size_t Probe(std::string_view text, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.item_plus_one == 0) return at;
      if (slot.hash == hash && text_of_(slot.item_plus_one - 1) == text) return at;
    }
  }

  TextOf text_of_;
  std::vector<Slot> slots_;
};

}  // namespace zefa
