// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "tables/flat_table.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tables/flat_index.h"

namespace zefa {
namespace {

// Items of one hash come back in the order they were added, with the others of their
// probe run passed over; an item past the room is refused, never left to loop.
template <typename Table>
void CheckTable() {
  Table table(5);
  const std::size_t room = table.capacity();
  ASSERT_GE(room, 5u);
  // Hashes 0, 16, 32 share a home slot with 16 slots; 1 lands in their run.
  const std::vector<std::uint64_t> hashes = {0, 1, 16, 32, 1};
  for (std::size_t item = 0; item < hashes.size(); ++item) table.Add(hashes[item], item);
  for (const auto& [hash, expected] :
       std::vector<std::pair<std::uint64_t, std::vector<std::size_t>>>{
           {1, {1, 4}}, {48, {}}, {7, {}}}) {
    std::vector<std::size_t> seen;
    table.Find(hash, [&](std::size_t item) {
      if (hashes[item] == hash) seen.push_back(item);
      return false;
    });
    EXPECT_EQ(seen, expected) << hash;
  }
  EXPECT_TRUE(table.Find(32, [](std::size_t item) { return item == 3; }));
  for (std::size_t item = hashes.size(); item < room; ++item) table.Add(item, item);
  EXPECT_THROW(table.Add(0, room), std::length_error);
  EXPECT_THROW(Table(1).Add(0, UINT32_MAX), std::length_error);
}

TEST(FlatTable, PlainAndTaggedSlots) {
  CheckTable<FlatTable<false>>();
  CheckTable<FlatTable<true>>();
}

TEST(FlatIndex, OneItemAText) {
  const std::vector<std::string> texts = {"a", "b", "a", "", "c"};
  FlatIndex index(texts.size(), [&](std::size_t item) { return std::string_view(texts[item]); });
  const std::vector<std::size_t> holders = {0, 1, 0, 3, 4};
  for (std::size_t item = 0; item < texts.size(); ++item) {
    EXPECT_EQ(index.Insert(item), holders[item]) << item;
  }
  EXPECT_EQ(index.Find("a"), 0u);
  EXPECT_EQ(index.Find("d"), decltype(index)::kNone);
}

}  // namespace
}  // namespace zefa
