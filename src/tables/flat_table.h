// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace zefa {

/**
 * Item numbers filed by a hash in one flat array, found by open addressing (linear
 * probing), so that a look-up among a million items touches the array, not a chain of
 * nodes. The room is fixed when the table is made, at most half full: Add refuses an item
 * past it, as it refuses an item number of 32 bits or more. With `kTagged` each slot keeps
 * 32 bits of its item's hash too (8 bytes instead of 4), so that a look-up passes over
 * other items without looking at them.
 */
template <bool kTagged>
class FlatTable {
 public:
  FlatTable() = default;
  /** Room for `items` items. */
  explicit FlatTable(std::size_t items) {
    std::size_t count = 16;  // not "slots": Qt defines that word
    while (count < items * 2) count *= 2;
    slots_.assign(count, Slot{});
  }

  /** How many items the table takes. */
  std::size_t capacity() const { return slots_.size() / 2; }
  /** How many items it holds. */
  std::size_t size() const { return size_; }

  /** Files `item` under `hash`; throws std::length_error past the table's room. */
  void Add(std::uint64_t hash, std::size_t item) {
    if (size_ >= capacity() || item >= UINT32_MAX) throw std::length_error("flat table is full");
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].item_plus_one != 0) at = (at + 1) & mask;
    slots_[at].item_plus_one = static_cast<std::uint32_t>(item + 1);
    if constexpr (kTagged) slots_[at].tag = static_cast<std::uint32_t>(hash);
    ++size_;
  }

  /**
   * Calls `visit(item)` for the items that may be filed under `hash`, in the order they
   * were added, until it returns true; whether one did.
   */
  template <typename Visit>
  bool Find(std::uint64_t hash, Visit visit) const {
    if (slots_.empty()) return false;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask; slots_[at].item_plus_one != 0; at = (at + 1) & mask) {
      if constexpr (kTagged) {
        if (slots_[at].tag != static_cast<std::uint32_t>(hash)) continue;
      }
      if (visit(static_cast<std::size_t>(slots_[at].item_plus_one - 1))) return true;
    }
    return false;
  }

 private:
  struct PlainSlot {
    std::uint32_t item_plus_one = 0;  // 0: empty
  };
  struct TaggedSlot {
    std::uint32_t tag = 0;
    std::uint32_t item_plus_one = 0;  // 0: empty
  };
  using Slot = std::conditional_t<kTagged, TaggedSlot, PlainSlot>;

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
};

}  // namespace zefa
