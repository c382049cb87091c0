// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "record/run_history.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "record/restore_file.h"
#include "rename_test_support.h"

namespace zefa {
namespace {

class RunHistoryTest : public test::RenameFixture {
 protected:
  // Lists `names` under files/, renames them with the common name `common` and a restore
  // file made at 09:05:<second>; returns the record's path.
  std::string Run(const std::string& common, const std::vector<std::string>& names, int second) {
    state = MainState{};
    state.common_name = common;
    for (const std::string& name : names) Add(name + ".txt", name, ".txt");
    file_system.time.second = second;
    prompter.Yes().Yes();
    Button2Click(state, MakeContext());
    return dir / ("restore/2026年3月7日09時05分0" + std::to_string(second) + "秒.zefa");
  }

  void Undo(const std::string& path) {
    prompter.File(path).Yes();
    Undo1Click(state, MakeContext());
  }

  RunSummary Line(const std::string& path) {
    RunSummary line = ReadRunHead(file_system, path, TextRules{});
    CompleteRunSummary(line, file_system, TextRules{});
    return line;
  }
};

TEST_F(RunHistoryTest, AnUndoneRecordIsShownUndoneAndNoLongerOffered) {
  const std::string older = Run("x", {"a", "b", "c"}, 3);
  const std::string newer = Run("y", {"d", "e"}, 4);
  EXPECT_EQ(ListRestoreFiles(file_system, dir / "restore", TextRules{}),
            (std::vector<std::string>{newer, older}));

  const RunSummary head = ReadRunHead(file_system, newer, TextRules{});
  EXPECT_EQ(head.count, 2);
  EXPECT_EQ(head.folder, dir / "files/");
  EXPECT_EQ(head.first_before, dir / "files/d.txt");
  EXPECT_EQ(head.first_after, dir / "files/y 1 d.txt");
  // Whether the files are still there is for the worker to find out.
  EXPECT_EQ(head.state, RunState::kPending);
  EXPECT_EQ(Line(newer).state, RunState::kUndoable);

  Undo(newer);
  EXPECT_EQ(prompter.preselected.back(), newer);
  EXPECT_EQ(Files(), "d.txt e.txt x 1 a.txt x 2 b.txt x 3 c.txt");
  // The note alone tells it: no file is looked at.
  EXPECT_EQ(ReadRunHead(file_system, newer, TextRules{}).state, RunState::kUndone);
  // A reader that knows nothing of the note reads the record as before.
  const RestoreRecord record = RestoreRecord::Read(file_system, newer);
  ASSERT_EQ(record.size(), 2u);
  EXPECT_EQ(record.Row(1).after, dir / "files/y 2 e.txt");

  // The next undo offers the older run.
  prompter.File(std::nullopt);
  Undo1Click(state, MakeContext());
  EXPECT_EQ(prompter.preselected.back(), older);
  EXPECT_EQ(Line(older).state, RunState::kUndoable);
}

TEST_F(RunHistoryTest, AFileGoneMakesThePartlyUndoneRun) {
  const std::string path = Run("x", {"a", "b", "c"}, 3);
  ASSERT_EQ(std::rename((dir / "files/x 2 b.txt").c_str(), (dir / "away.txt").c_str()), 0);
  EXPECT_EQ(Line(path).state, RunState::kNotAllUndoable);
  Undo(path);
  EXPECT_EQ(Line(path).state, RunState::kPartlyUndone);
  // Put back, the file comes back with a second undo, and the two notes make the whole.
  ASSERT_EQ(std::rename((dir / "away.txt").c_str(), (dir / "files/x 2 b.txt").c_str()), 0);
  Undo(path);
  EXPECT_EQ(Files(), "a.txt b.txt c.txt");
  EXPECT_EQ(Line(path).state, RunState::kUndone);
  prompter.File(std::nullopt);
  Undo1Click(state, MakeContext());
  EXPECT_EQ(prompter.preselected.back(), "");
}

TEST(UndoneRows, OnlyWholeSectionsCount) {
  const struct {
    const char* text;
    std::vector<std::size_t> rows;
  } cases[] = {
      {"[Count]\ncount=3\n", {}},
      {"[undone]\n2=back\n0=back\nend=1\n", {0, 2}},
      {"[undone]\n2=back\n0=back\n", {}},  // cut short by a crash
      {"[undone]\n1=back\nend=1\n[undone]\n1=back\n0=back\nend=1\n", {0, 1}},
      {"[UNDONE]\n1=back\n2=failed\nend=1\n[undone]\n0=back\nend=0\n", {1}},
      {"[after]\n0=/a/undone.txt\n[ Undone ]\r\n3=back\r\nend=1\r\n", {3}},
      {"[after]\n0=/a/[undo]/[\t\n[\t undone\n4=back\nend=1\n", {4}},
  };
  for (const auto& c : cases) EXPECT_EQ(UndoneRows(c.text), c.rows) << c.text;
}

TEST_F(RunHistoryTest, ALongRecordShowsItsHeadAtOnce) {
  std::string text = "[Count]\ncount=5000\n[before]\n";
  for (int row = 0; row < 5000; ++row) {
    text += std::to_string(row) + "=/p/" + std::string(20, 'a') + std::to_string(row) + "\n";
  }
  const std::string path = dir.Touch("restore/2026年3月7日09時05分03秒_2.zefa", text);
  const RunSummary head = ReadRunHead(file_system, path, TextRules{});
  EXPECT_FALSE(head.whole);
  EXPECT_EQ(head.count, 5000);
  EXPECT_EQ(head.first_before, "/p/" + std::string(20, 'a') + "0");
  EXPECT_EQ(head.attempt, 2);
  EXPECT_EQ(head.state, RunState::kPending);
  // Without new paths the record is one that nothing can undo.
  EXPECT_EQ(Line(path).state, RunState::kNotAllUndoable);
}

}  // namespace
}  // namespace zefa
