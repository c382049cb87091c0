// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Two passes over one list, and their two undos: the rows follow their files each time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "record/undo.h"
#include "rename_test_support.h"

namespace zefa {
namespace {

using PathList = std::vector<std::string>;

class TwoPassesTest : public test::RenameFixture {
 protected:
  void RunWithRestore() {
    prompter.Yes().Yes();
    Button2Click(state, MakeContext());
    ASSERT_EQ(prompter.log.back(), "inform 完了しました。");
  }

  void Undo(const std::string& record) {
    prompter.File(dir / ("restore/" + record));
    prompter.Yes();
    Undo1Click(state, MakeContext());
  }

  PathList InFiles(const PathList& names) const {
    PathList paths;
    for (const std::string& name : names) paths.push_back(dir / ("files/" + name));
    return paths;
  }
};

TEST_F(TwoPassesTest, FixOneNameRenameAgainThenUndoBoth) {
  state.common_name = "旅";
  Add("a.jpg", "海", ".jpg");
  Add("b.jpg", "山ｓ", ".jpg");
  Add("c.jpg", "川", ".jpg");

  RunWithRestore();
  const PathList first = InFiles({"旅 1 海.jpg", "旅 2 山ｓ.jpg", "旅 3 川.jpg"});
  EXPECT_EQ(Files(), "旅 1 海.jpg 旅 2 山ｓ.jpg 旅 3 川.jpg");
  EXPECT_EQ(state.list.path.entries, first);

  // A typo fixed in one row: the second pass renames that file alone.
  state.list.unique.entries[1] = "山";
  RunWithRestore();
  const PathList second = InFiles({"旅 1 海.jpg", "旅 2 山.jpg", "旅 3 川.jpg"});
  EXPECT_EQ(Files(), "旅 1 海.jpg 旅 2 山.jpg 旅 3 川.jpg");
  EXPECT_EQ(state.list.path.entries, second);
  EXPECT_EQ(state.list.unique.entries, (PathList{"海", "山", "川"}));
  EXPECT_EQ(dir.Listing("restore"),
            "2026年3月7日09時05分03秒.zefa 2026年3月7日09時05分03秒_2.zefa");

  // The second undo first, then the first: the list follows the files back each time.
  Undo("2026年3月7日09時05分03秒_2.zefa");
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
  EXPECT_EQ(Files(), "旅 1 海.jpg 旅 2 山ｓ.jpg 旅 3 川.jpg");
  EXPECT_EQ(state.list.path.entries, first);
  Undo(test::kRestoreName);
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
  EXPECT_EQ(Files(), "a.jpg b.jpg c.jpg");
  EXPECT_EQ(state.list.path.entries, InFiles({"a.jpg", "b.jpg", "c.jpg"}));
}

TEST_F(TwoPassesTest, RowsOfFailedRenamesStayWhereTheirFilesAre) {
  state.common_name = "x";
  const std::string a = Add("a.txt", "a", ".txt");
  const std::string b = Add("b.txt", "b", ".txt");
  dir.Touch("files/x 2 b.txt", "someone else's");
  prompter.Yes().Yes();
  Button2Click(state, MakeContext());
  EXPECT_EQ(state.list.path.entries, (PathList{dir / "files/x 1 a.txt", b}));
  // The undo brings back the one file that moved; the other row is left as it is.
  prompter.log.clear();
  Undo(test::kRestoreName);
  EXPECT_EQ(state.list.path.entries, (PathList{a, b}));
  EXPECT_EQ(dir.Read("files/x 2 b.txt"), "someone else's");
}

// The changes back are followed in their order: a chain, a file back in two steps through a
// temporary name, and a change that failed leaves its row as it is.
TEST(FollowFilesBack, RowsFollowEachChangeBackInItsOrder) {
  RenameList list;
  for (const char* path : {"/p/c", "/p/d", "/p/X", "/p/keep"}) list.AppendRow(path, "", "", "");
  std::vector<RowChange> back = {ChangeOf("/p/c", "/p/b", 0), ChangeOf("/p/d", "/p/c", 1),
                                 ChangeOf("/p/X", "/p/.zefa-oru-t", 2),
                                 ChangeOf("/p/.zefa-oru-t", "/p/x", 2),
                                 ChangeOf("/p/keep", "/p/k", 3)};
  for (RowChange& change : back) change.status = ChangeStatus::kDone;
  back.back().status = ChangeStatus::kFailed;
  FollowFilesBack(list, back);
  EXPECT_EQ(list.path.entries, (PathList{"/p/b", "/p/c", "/p/x", "/p/keep"}));
}

}  // namespace
}  // namespace zefa
