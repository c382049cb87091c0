// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/sort_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/sort_command.h"
#include "list_fixture.h"

namespace zefa {
namespace {

using Strings = std::vector<std::string>;

struct OrderCase {
  Strings given;
  CodePage code_page;
  Strings sorted;
};

class CollationOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(CollationOrder, IgnoresCaseAndComparesNumbersByValue) {
  const OrderCase& c = GetParam();
  Strings texts = c.given;
  SortByCollation(texts, c.code_page);
  EXPECT_EQ(texts, c.sorted);
  // The result must not depend on the order given.
  std::reverse(texts.begin(), texts.end());
  SortByCollation(texts, c.code_page);
  EXPECT_EQ(texts, c.sorted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollationOrder,
    ::testing::Values(
        OrderCase{{"/p/IMG_10.jpg", "/p/img_2.jpg", "/p/IMG_1.jpg"},
                  CodePage::kUtf8,
                  {"/p/IMG_1.jpg", "/p/img_2.jpg", "/p/IMG_10.jpg"}},
        OrderCase{{"/p/b.txt", "/p/C.txt", "/p/a.txt", "/p/B2.txt"},
                  CodePage::kUtf8,
                  {"/p/a.txt", "/p/b.txt", "/p/B2.txt", "/p/C.txt"}},
        // Twins that differ only in case collate equal and keep byte order.
        OrderCase{{"/p/photo.jpg", "/p/PHOTO.jpg", "/p/Photo.jpg"},
                  CodePage::kUtf8,
                  {"/p/PHOTO.jpg", "/p/Photo.jpg", "/p/photo.jpg"}},
        OrderCase{{"IMG_１０", "IMG_２"}, CodePage::kUtf8, {"IMG_２", "IMG_１０"}},
        // Shift-JIS ２ (0x82 0x51) sorts after １０ (0x82 0x50 0x82 0x4F) by bytes only.
        OrderCase{{"IMG_\x82\x50\x82\x4F", "IMG_\x82\x51"},
                  CodePage::kShiftJis,
                  {"IMG_\x82\x51", "IMG_\x82\x50\x82\x4F"}},
        OrderCase{{"\xff\xfe", "a", "\xff"}, CodePage::kUtf8, {"a", "\xff", "\xff\xfe"}}));

// Any part of a list sorts as it sorts within the whole: a part shares more of its keys
// than the whole does, so that the order compares other bytes of the keys in each.
TEST(CollationOrderOfParts, AgreesWithTheWhole) {
  const char* folders[] = {"", "/写真/2026年/", "/写真/2026年/旅行/"};
  const char* stems[] = {"IMG_", "img_", "DSC", "旅行", "ｶﾒﾗ", "a", "A", ""};
  const char* extensions[] = {".jpg", ".JPG", ""};
  Strings all;
  unsigned seed = 7;
  const auto next = [&seed](unsigned below) {
    return (seed = seed * 1103515245 + 12345) / 65536 % below;
  };
  for (int i = 0; i < 3000; ++i) {
    std::string number = std::to_string(next(1200));
    number.insert(0, next(4), '0');
    all.push_back(std::string(folders[next(3)]) + stems[next(8)] + number + extensions[next(3)]);
  }
  Strings whole = all;
  SortByCollation(whole, CodePage::kUtf8);
  const std::vector<bool (*)(const std::string&)> parts = {
      [](const std::string& text) { return text.rfind("/写真/2026年/旅行/", 0) == 0; },
      [](const std::string& text) { return text.size() <= 12; },
      [](const std::string& text) { return text.find("IMG_1") != std::string::npos; }};
  for (const auto in_part : parts) {
    Strings part;
    Strings expected;
    for (const std::string& text : all) {
      if (in_part(text)) part.push_back(text);
    }
    for (const std::string& text : whole) {
      if (in_part(text)) expected.push_back(text);
    }
    SortByCollation(part, CodePage::kUtf8);
    EXPECT_EQ(part, expected);
  }
}

class SortCommand : public ListFixture {
 protected:
  void SetUp() override {
    AddRows({{"/p/IMG_10.jpg", "ten", "x"},
             {"/p/img_2.JPG", "two", "y"},
             {"/p/Zeta.tar.gz", "zeta", "z"},
             {"/p/IMG_1.jpg", "one", ""}});
    state.view.SelectAll(1);
    state.view.path.top = 2;
    state.unique_name_row = "2";
    state.typed_unique_name = "typed";
  }
};

TEST_F(SortCommand, NoChangesNothing) {
  const RenameList before = state.list;
  prompter.No();
  Button11Click(state, MakeContext());
  EXPECT_EQ(prompter.log, (Strings{"beep warning", std::string("warn ") + kSortQuestion}));
  EXPECT_EQ(state.list.path.entries, before.path.entries);
  EXPECT_EQ(state.list.unique.entries, before.unique.entries);
  EXPECT_EQ(state.view.unique.selected, 1);
  EXPECT_EQ(state.path_scroll_factor, 6);
}

TEST_F(SortCommand, YesSortsPathsAndDerivesNamesAnew) {
  prompter.Yes();
  Button11Click(state, MakeContext());
  const RenameList& list = state.list;
  EXPECT_EQ(list.path.entries,
            (Strings{"/p/IMG_1.jpg", "/p/img_2.JPG", "/p/IMG_10.jpg", "/p/Zeta.tar.gz"}));
  EXPECT_EQ(list.unique.entries, (Strings{"IMG_1", "img_2", "IMG_10", "Zeta.tar"}));
  EXPECT_EQ(list.extension.entries, (Strings{".jpg", ".JPG", ".jpg", ".gz"}));
  EXPECT_EQ(list.number.Texts(), (Strings{"1", "2", "3", "4"}));
  const ListView& view = state.view;
  EXPECT_EQ(view.number.selected, 1);
  EXPECT_EQ(view.path.selected, 1);
  EXPECT_EQ(view.path.top, 2);
  EXPECT_EQ(view.unique.selected, -1);
  EXPECT_EQ(view.extension.selected, -1);
  EXPECT_EQ(state.path_scroll_factor, 4);
  EXPECT_EQ(state.unique_name_row, "2");
  EXPECT_EQ(state.typed_unique_name, "typed");
  EXPECT_EQ(prompter.unanswered, 0);
}

TEST_F(SortCommand, DerivesWithTheSettingsAndCommonNameOfNow) {
  WriteSettings("when_add=1\n");
  state.common_name = "IMG_";
  prompter.Yes();
  Button11Click(state, MakeContext());
  EXPECT_EQ(state.list.unique.entries, (Strings{"1", "img_2", "10", "Zeta.tar"}));
}

TEST_F(SortCommand, SortedFilesStayKnownAsListed) {
  // The duplicate check still finds every file after the paths changed places.
  prompter.Yes();
  Button11Click(state, MakeContext());
  for (const std::string& path : state.list.path.entries) EXPECT_TRUE(state.list.HoldsFile(path));
}

}  // namespace
}  // namespace zefa
