// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "commands/preview_command.h"
#include "dialog_test_support.h"

namespace zefa {
namespace {

using test::DialogWorld;
using Entries = std::vector<std::string>;

Entries BeforeList(const Preview& preview, bool full_path) {
  Entries entries;
  for (int row = 0; row < preview.size(); ++row) {
    entries.emplace_back(preview.Before(row, full_path));
  }
  return entries;
}

Entries AfterList(const Preview& preview) {
  Entries entries;
  for (int row = 0; row < preview.size(); ++row) entries.emplace_back(preview.After(row));
  return entries;
}

TEST(Preview, NumbersRunPastTheSpinBoxBound) {
  DialogWorld world;
  world.WriteIni("[Option]\nketa=3\n");
  MainState state;
  for (const char* folder : {"/a/", "/b/", "/c/", "/d/", "/e/"}) {
    state.list.AppendRow(std::string(folder) + "photo.jpg", "海", ".jpg", folder);
  }
  state.common_name = "旅行";
  state.start_number = 998;

  const auto preview = BuildPreview(state, world.context);
  ASSERT_TRUE(preview);
  EXPECT_EQ(AfterList(*preview), (Entries{"旅行 998 海.jpg", "旅行 999 海.jpg", "旅行 1000 海.jpg",
                                          "旅行 1001 海.jpg", "旅行 1002 海.jpg"}));
  // Same file names in different folders: equal on the left until full paths are shown.
  EXPECT_EQ(BeforeList(*preview, false), Entries(5, "photo.jpg"));
  EXPECT_EQ(BeforeList(*preview, true), (Entries{"/a/photo.jpg", "/b/photo.jpg", "/c/photo.jpg",
                                                 "/d/photo.jpg", "/e/photo.jpg"}));
  EXPECT_TRUE(world.prompter.log.empty());
}

TEST(Preview, ReadsTheSettingsAtEveryOpening) {
  DialogWorld world;
  MainState state;
  state.list.AppendRow("/pic/a.png", "a", ".png", "1");
  state.list.AppendRow("/pic/b.gif", "", ".gif", "2");
  state.common_name = "trip";
  state.start_number = 5;

  const auto defaults = BuildPreview(state, world.context);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(AfterList(*defaults), (Entries{"trip 5 a.png", "trip 6.gif"}));

  world.WriteIni("[Option]\nketa=2\npattern=3\nspace=0\nNum_kakko=1\nNum_aki=(\nNum_toji=)\n");
  const auto changed = BuildPreview(state, world.context);
  ASSERT_TRUE(changed);
  EXPECT_EQ(AfterList(*changed), (Entries{"(05)tripa.png", "(06)trip.gif"}));
}

TEST(Preview, RefusedCommonNameKeepsThePreviewClosed) {
  DialogWorld world;
  MainState state;
  state.list.AppendRow("/pic/a.png", "a", ".png", "1");
  state.common_name = "a|b";
  EXPECT_FALSE(BuildPreview(state, world.context));
  EXPECT_EQ(world.prompter.log, (Entries{"beep error", "error 使えない文字\"|\"が含まれています"}));
}

TEST(Preview, EmptyListGivesTwoEmptyLists) {
  DialogWorld world;
  const auto preview = BuildPreview(MainState{}, world.context);
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->size(), 0);
}

TEST(Preview, ShiftJisFileNameIsShownWhole) {
  DialogWorld world;
  world.context.rules = TextRules{CodePage::kShiftJis, PathStyle::kWindows};
  MainState state;
  state.list.AppendRow("C:\\pic\\\x83\x5c.txt", "u", ".txt", "1");
  state.common_name = "\x83\x5c";  // its trail byte is no forbidden backslash
  const auto preview = BuildPreview(state, world.context);
  ASSERT_TRUE(preview);
  EXPECT_EQ(BeforeList(*preview, false), Entries{"\x83\x5c.txt"});
  EXPECT_EQ(BeforeList(*preview, true), Entries{"C:\\pic\\\x83\x5c.txt"});
  EXPECT_EQ(AfterList(*preview), Entries{"\x83\x5c 1 u.txt"});
}

}  // namespace
}  // namespace zefa
