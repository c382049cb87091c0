// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "record/restore_file.h"
#include "rename_test_support.h"
#include "text/code_page_convert.h"

namespace zefa {
namespace {

using Lines = std::vector<std::string>;

const std::string kQuestion =
    "warn 元に戻しますか？\n\rこのファイルには以下のファイルが含まれます。\n\r";
// The end of the question: how many files the record holds.
std::string Held(int files) { return "\n\r（全 " + std::to_string(files) + " 個のファイル）"; }
const std::string kInvalid = "error このファイルは無効です。以下のファイルが見つかりません\n\r";
const std::string kNoRows = "（元に戻すファイルが記録されていません）";

class UndoRunTest : public test::RenameFixture {
 protected:
  // A run of the listed files with a restore file; the log starts afresh after it.
  void RunWithRestore() {
    prompter.Yes().Yes();
    Button2Click(state, MakeContext());
    ASSERT_EQ(prompter.log.back(), "inform 完了しました。");
    prompter.log.clear();
  }

  // a.txt, b.txt and c.txt renamed to "x 1 a.txt" … with a restore file.
  void RunThreeRows() {
    state.common_name = "x";
    for (const char* name : {"a", "b", "c"}) Add(std::string(name) + ".txt", name, ".txt");
    RunWithRestore();
  }

  void Undo(std::optional<std::string> chosen, bool yes = true) {
    prompter.File(std::move(chosen));
    if (yes) prompter.Yes();
    Undo1Click(state, MakeContext());
  }

  std::string ChooseLine() const {
    return "choose-file " + dir / "restore" + "|ZeFaファイル(*.zefa)|*.zefa";
  }

  void ExpectLog(const Lines& lines) const { EXPECT_EQ(prompter.log, lines); }
};

TEST_F(UndoRunTest, FullRunComesBack) {
  RunThreeRows();
  ASSERT_EQ(Files(), "x 1 a.txt x 2 b.txt x 3 c.txt");
  Undo(RestorePath());
  ExpectLog({ChooseLine(), "beep warning", kQuestion + dir / "files/x 1 a.txt" + Held(3),
             "beep information", "inform 完了しました"});
  EXPECT_EQ(Files(), "a.txt b.txt c.txt");
  EXPECT_EQ(dir.Read("files/b.txt"), "b.txt");
  EXPECT_TRUE(dir.Exists(std::string("restore/") + test::kRestoreName));

  // The same file again: its new paths are gone.
  prompter.log.clear();
  Undo(RestorePath());
  ExpectLog({ChooseLine(), "beep warning", kQuestion + dir / "files/x 1 a.txt" + Held(3),
             "beep error", kInvalid + dir / "files/x 1 a.txt"});
  EXPECT_EQ(Files(), "a.txt b.txt c.txt");
}

TEST_F(UndoRunTest, MovedFilesStayAndTheOthersComeBack) {
  RunThreeRows();
  ASSERT_EQ(std::rename((dir / "files/x 2 b.txt").c_str(), (dir / "moved.txt").c_str()), 0);
  std::remove((dir / "files/x 3 c.txt").c_str());
  Undo(RestorePath());
  ExpectLog({ChooseLine(), "beep warning", kQuestion + dir / "files/x 1 a.txt" + Held(3),
             "beep information", "inform 完了しました",
             "inform 以下のファイルを元の名前に戻せませんでした\n\r" + dir / "files/x 2 b.txt" +
                 "（見つかりません）\n\r" + dir / "files/x 3 c.txt" + "（見つかりません）"});
  EXPECT_EQ(Files(), "a.txt");
  EXPECT_TRUE(dir.Exists("moved.txt"));
}

TEST_F(UndoRunTest, EmptyRecordIsInvalidAndNamesItself) {
  RunWithRestore();
  Undo(RestorePath());
  ExpectLog({ChooseLine(), "beep warning", kQuestion + Held(0), "beep error",
             kInvalid + RestorePath() + kNoRows});
}

TEST_F(UndoRunTest, OccupiedOldNameLeavesThatRowAlone) {
  RunThreeRows();
  dir.Touch("files/b.txt", "newcomer");
  Undo(RestorePath());
  // The row left under its new name is named after "done".
  EXPECT_EQ(prompter.log.back(), "inform 以下のファイルを元の名前に戻せませんでした\n\r" +
                                     dir / "files/x 2 b.txt" + "（元の名前のファイルがあります）");
  EXPECT_EQ(prompter.log.size(), 6u);
  EXPECT_EQ(Files(), "a.txt b.txt c.txt x 2 b.txt");
  EXPECT_EQ(dir.Read("files/b.txt"), "newcomer");
  EXPECT_EQ(dir.Read("files/x 2 b.txt"), "b.txt");
}

TEST_F(UndoRunTest, ReportShowsAShiftJisFolderReadably) {
  state.common_name = "x";
  Add("\x83\x5c/a.txt", "a", ".txt");  // the folder ソ in Shift-JIS
  RunWithRestore();
  dir.Touch("files/\x83\x5c/a.txt", "newcomer");
  Undo(RestorePath());
  EXPECT_EQ(prompter.log.back(), "inform 以下のファイルを元の名前に戻せませんでした\n\r" +
                                     dir / "files/ソ/x 1 a.txt" +
                                     "（元の名前のファイルがあります）");
}

TEST_F(UndoRunTest, ChainComesBackInOneUndoFromTheLastRow) {
  Settings("pattern=7\n");
  Add("c.txt", "d", ".txt");  // row 0: c.txt -> d.txt
  Add("b.txt", "c", ".txt");  // row 1: b.txt -> c.txt, free once row 0 moved
  Add("a.txt", "b", ".txt");  // row 2: a.txt -> b.txt
  RunWithRestore();
  ASSERT_EQ(Files(), "b.txt c.txt d.txt");
  Undo(RestorePath());
  EXPECT_EQ(Files(), "a.txt b.txt c.txt");
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
    EXPECT_EQ(dir.Read(std::string("files/") + name), name);
  }
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

TEST_F(UndoRunTest, StoppedUndoSaysHowManyWentBack) {
  state.common_name = "x";
  for (const char* name : {"a", "b", "c", "d"}) Add(std::string(name) + ".txt", name, ".txt");
  RunWithRestore();
  // Four rows looked at, then a stop after two renames back (the last two rows).
  prompter.StopProgressAt(5).StopProgressAt(2);
  Undo(RestorePath());
  EXPECT_EQ(prompter.log.back(),
            "inform 元に戻す処理を中止しました。\n\r4 個のファイルのうち 2 個を元に戻しました。");
  EXPECT_EQ(Files(), "c.txt d.txt x 1 a.txt x 2 b.txt");
}

TEST_F(UndoRunTest, CancelOrNoChangesNothing) {
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  RunWithRestore();
  Undo(std::nullopt, false);
  ExpectLog({ChooseLine()});
  prompter.log.clear();
  prompter.No();
  Undo(RestorePath(), false);
  ExpectLog({ChooseLine(), "beep warning", kQuestion + dir / "files/x 1 a.txt" + Held(1)});
  EXPECT_EQ(Files(), "x 1 a.txt");
}

TEST_F(UndoRunTest, ForeignOrMissingFilesAreInvalidNeverFatal) {
  const std::string windows = Utf8ToShiftJis(
      "[Count]\r\ncount=2\r\n[before]\r\n0=C:\\pic\\ソ.txt\r\n1=C:\\pic\\b.txt\r\n"
      "[after]\r\n0=C:\\pic\\旅行 1 ソ.txt\r\n1=C:\\pic\\旅行 2 b.txt\r\n");
  const struct {
    const char* name;
    std::string bytes;
    std::string shown;
    int held;
  } cases[] = {
      {"windows.zefa", windows, "C:\\pic\\旅行 1 ソ.txt", 2},
      {"garbage.zefa", std::string("\x00\xff[after\n=\n0\n\xfe", 14), "", 0},
      {"negative.zefa", "[Count]\ncount=-3\n[after]\n0=/nowhere\n", "/nowhere", 0},
      {"huge.zefa", "[Count]\ncount=2147483647\n", "", 0},
  };
  for (const auto& c : cases) {
    dir.Touch(c.name, c.bytes);
    prompter.log.clear();
    Undo(dir / c.name);
    // A record that names no missing file names itself, and why.
    const std::string missing =
        std::string(c.name) == "windows.zefa" ? c.shown : dir / c.name + kNoRows;
    ExpectLog({ChooseLine(), "beep warning", kQuestion + c.shown + Held(c.held), "beep error",
               kInvalid + missing});
  }
  prompter.log.clear();
  Undo(dir / "no such file.zefa");
  ExpectLog({ChooseLine(), "beep warning", kQuestion + Held(0), "beep error",
             kInvalid + dir / "no such file.zefa"});
}

TEST_F(UndoRunTest, HandEditedRecordIsReadLikeAProfile) {
  const std::string a = dir.Touch("files/new a.txt", "a");
  const std::string b = dir.Touch("files/new b.txt", "b");
  const std::string folder = dir / "files/";
  dir.Touch("hand.zefa", "\n[COUNT]\r\n  Count = 2\n\n[After]\n0 = \"" + a + "\"\n1=" + b +
                             "  \n[BEFORE]\n0=" + folder + "old a.txt\n1='" + folder +
                             "old b.txt'\n[before]\n0=" + folder + "ignored.txt\n");
  Undo(dir / "hand.zefa");
  EXPECT_EQ(Files(), "old a.txt old b.txt");
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

TEST_F(UndoRunTest, RecordNeverMovesAFileToAnotherFolder) {
  const std::string a = dir.Touch("files/new a.txt", "a");
  dir.Touch("moved.zefa",
            "[Count]\ncount=1\n[before]\n0=" + dir / "elsewhere.txt" + "\n[after]\n0=" + a + "\n");
  Undo(dir / "moved.zefa");
  EXPECT_EQ(Files(), "new a.txt");
  EXPECT_FALSE(dir.Exists("elsewhere.txt"));
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
}

}  // namespace
}  // namespace zefa
