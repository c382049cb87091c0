// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "names/serial_numbers.h"
#include "rename_test_support.h"

namespace zefa {
namespace {

using Strings = std::vector<std::string>;

TEST(SerialNumbersTest, CountThroughTheListOrAgainInEachFolder) {
  RenameList list;
  for (const char* path : {"/a/1.jpg", "/a/2.jpg", "/b/1.jpg", "/a/3.jpg", "/a/b/1.jpg"}) {
    list.AppendRow(path, "", ".jpg", path);
  }
  const struct {
    bool per_folder;
    Strings texts;
    long long last_from_10;
  } cases[] = {
      {false, {"1", "2", "3", "4", "5"}, 14},
      // A folder met again goes on with its own count: no two of its files share a number.
      {true, {"1", "2", "1", "3", "1"}, 12},
  };
  for (const auto& c : cases) {
    const SerialNumbers numbers(list, c.per_folder, TextRules{});
    Strings texts;
    for (int row = 0; row < list.size(); ++row) texts.push_back(numbers.Text(row));
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(numbers.Last(10), c.last_from_10);
    EXPECT_EQ(numbers.Of(3, 10), 9 + std::stoi(c.texts[3]));
  }
  EXPECT_EQ(SerialNumbers(RenameList{}, true, TextRules{}).Last(1), 0);
}

class FolderNumbersRunTest : public test::RenameFixture {};

TEST_F(FolderNumbersRunTest, TheRunNumbersEachFolderFromTheStartAndTheUndoBringsAllBack) {
  Settings("keta=3\nFolder_rendo=1\n");
  state.common_name = "本";
  state.start_number = 5;
  for (const char* name : {"A/p.jpg", "A/q.jpg", "B/r.jpg", "A/s.jpg"}) Add(name, "", ".jpg");
  prompter.Yes().Yes();
  Button2Click(state, MakeContext());
  ASSERT_EQ(prompter.log.back(), "inform 完了しました。");
  EXPECT_EQ(dir.Listing("files/A"), "本 005.jpg 本 006.jpg 本 007.jpg");
  EXPECT_EQ(dir.Listing("files/B"), "本 005.jpg");
  EXPECT_EQ(dir.Read("files/A/本 007.jpg"), "A/s.jpg");

  prompter.File(RestorePath()).Yes();
  Undo1Click(state, MakeContext());
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
  EXPECT_EQ(dir.Listing("files/A"), "p.jpg q.jpg s.jpg");
  EXPECT_EQ(dir.Listing("files/B"), "r.jpg");
}

}  // namespace
}  // namespace zefa
