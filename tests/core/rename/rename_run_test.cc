// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/rename_command.h"
#include "record/restore_file.h"
#include "rename_test_support.h"
#include "settings/profile.h"

namespace zefa {
namespace {

using test::RenameFixture;
using Lines = std::vector<std::string>;

const std::string kConfirm = "confirm 本当に実行しますか？";
const std::string kRestoreQuestion =
    "warn リストアファイルを作成しますか？\n\r「いいえ」を選択すると元に戻せません。\n\r"
    "「はい」を選択してもリネームしたファイルを移動したり、名前の変更を行ったりすると"
    "もとにもどせなくなります。";
const std::string kRestoreNotice =
    "inform 元に戻すには、[ファイル]メニューから[元に戻す]を選択してください。";
const std::string kDone = "inform 完了しました。";

class RenameRunTest : public RenameFixture {
 protected:
  void Run() { Button2Click(state, MakeContext()); }
};

TEST_F(RenameRunTest, RenamesEveryRowAndRecordsTheRunFirst) {
  Settings("keta=3\n");
  state.common_name = "旅";
  const std::string a = Add("a.txt", "a", ".txt");
  const std::string b = Add("b.jpg", "  b", ".jpg");
  const std::string c = Add("c", "c ", "");
  prompter.Yes().Yes();
  Run();

  EXPECT_EQ(prompter.log, (Lines{"beep warning", kConfirm, "beep warning", kRestoreQuestion,
                                 kRestoreNotice, "beep information", kDone}));
  EXPECT_EQ(Files(), "旅 001 a.txt 旅 002   b.jpg 旅 003 c ");
  EXPECT_EQ(dir.Read("files/旅 003 c "), "c");
  const std::string folder = dir / "files/";
  EXPECT_EQ(dir.Listing("restore"), test::kRestoreName);
  const std::string expected = "[Count]\ncount=3\n[before]\n0=" + a + "\n1=" + b + "\n2=" + c +
                               "\n[after]\n0=" + folder + "旅 001 a.txt\n1=" + folder +
                               "旅 002   b.jpg\n2=\"" + folder + "旅 003 c \"\n";
  // The three sections come first, byte for byte; the files' identities follow.
  const std::string record = dir.Read(std::string("restore/") + test::kRestoreName);
  EXPECT_EQ(record.substr(0, expected.size()), expected);
  EXPECT_EQ(record.substr(expected.size(), 11), "[identity]\n");

  // The same bytes as the record written key by key by the profile writer.
  Profile key_by_key;
  key_by_key.Set("Count", "count", "3");
  const std::vector<std::string> after = {folder + "旅 001 a.txt", folder + "旅 002   b.jpg",
                                          folder + "旅 003 c "};
  const std::vector<std::string> before = {a, b, c};
  for (int row = 0; row < 3; ++row) {
    key_by_key.Set("before", std::to_string(row), before[static_cast<std::size_t>(row)]);
    key_by_key.Set("after", std::to_string(row), after[static_cast<std::size_t>(row)]);
  }
  EXPECT_EQ(key_by_key.Serialize(), expected);
  // The rows follow their files; unique names, extensions and the start number stay.
  EXPECT_EQ(state.list.path.entries, after);
  EXPECT_EQ(state.list.unique.entries, (std::vector<std::string>{"a", "  b", "c "}));
  EXPECT_EQ(state.start_number, 1);
}

TEST_F(RenameRunTest, EmptyListWritesACountOfZero) {
  prompter.Yes().Yes();
  Run();
  EXPECT_EQ(dir.Read(std::string("restore/") + test::kRestoreName), "[Count]\ncount=0\n");
  EXPECT_EQ(prompter.log.back(), kDone);
}

TEST_F(RenameRunTest, NoRestoreFileWhenDeclined) {
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  prompter.Yes().No();
  Run();
  EXPECT_EQ(Files(), "x 1 a.txt");
  EXPECT_FALSE(dir.Exists("restore"));
  EXPECT_EQ(prompter.log, (Lines{"beep warning", kConfirm, "beep warning", kRestoreQuestion,
                                 "beep information", kDone}));
}

TEST_F(RenameRunTest, NotConfirmedChangesNothing) {
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  prompter.No();
  Run();
  EXPECT_EQ(Files(), "a.txt");
  EXPECT_EQ(prompter.log, (Lines{"beep warning", kConfirm}));
}

TEST_F(RenameRunTest, ChainFailsWhereTheTargetStillExists) {
  Settings("pattern=7\n");
  const std::string a = Add("a.txt", "b", ".txt");
  Add("b.txt", "c", ".txt");
  prompter.Yes().No();
  Run();
  EXPECT_EQ(Files(), "a.txt c.txt");
  EXPECT_EQ(dir.Read("files/a.txt"), "a.txt");
  EXPECT_EQ(dir.Read("files/c.txt"), "b.txt");
  EXPECT_EQ(prompter.log.back(), "inform 以下のファイルのリネームに失敗しました\n\r" + a);
}

TEST_F(RenameRunTest, FailureReportNamesTwentyAndCountsTheRest) {
  const struct {
    int failures;
    const char* tail;
  } cases[] = {{25, "\n\r他5個"}, {21, "\n\r他1個"}, {20, ""}, {1, ""}};
  for (const auto& c : cases) {
    state = MainState{};
    state.common_name = "x" + std::to_string(c.failures);
    std::string expected = "inform 以下のファイルのリネームに失敗しました";
    for (int i = 0; i < c.failures; ++i) {
      const std::string name = state.common_name + "-" + std::to_string(i);
      const std::string path = Add(name, "", "");
      // Each new name is already taken by a file that must survive.
      dir.Touch("files/" + state.common_name + " " + std::to_string(i + 1), "taken");
      if (i < 20) expected += "\n\r" + path;
    }
    expected += c.tail;
    prompter.Yes().No();
    Run();
    EXPECT_EQ(prompter.log.back(), expected);
    EXPECT_EQ(prompter.log[prompter.log.size() - 2], kDone);
    for (int i = 0; i < c.failures; ++i) {
      EXPECT_EQ(dir.Read("files/" + state.common_name + " " + std::to_string(i + 1)), "taken");
    }
  }
}

TEST_F(RenameRunTest, FailedRowsAreRecordedToo) {
  state.common_name = "x";
  const std::string a = Add("a", "", "");
  dir.Touch("files/x 1", "taken");
  prompter.Yes().Yes();
  Run();
  const RestoreRecord record = RestoreRecord::Read(file_system, RestorePath());
  EXPECT_EQ(record.Count(), 1);
  EXPECT_EQ(record.Row(0).before, a);
  EXPECT_EQ(record.Row(0).after, dir / "files/x 1");
  EXPECT_EQ(dir.Read("files/x 1"), "taken");
}

TEST_F(RenameRunTest, SameRunTwiceChangesNothingTheSecondTime) {
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  Add("b.txt", "b", ".txt");
  prompter.Yes().No();
  Run();
  const std::size_t mark = prompter.log.size();
  prompter.Yes().No();
  Run();
  EXPECT_EQ(test::LogFrom(prompter, mark), (Lines{"beep warning", kConfirm, "beep warning",
                                                  kRestoreQuestion, "beep information", kDone}));
  EXPECT_EQ(Files(), "x 1 a.txt x 2 b.txt");
}

TEST_F(RenameRunTest, FileMovedByAnotherProgramStillStopsTheRun) {
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  prompter.Yes().No();
  Run();
  ASSERT_EQ(std::rename((dir / "files/x 1 a.txt").c_str(), (dir / "files/gone.txt").c_str()), 0);
  const std::size_t mark = prompter.log.size();
  prompter.Yes();
  Run();
  EXPECT_EQ(test::LogFrom(prompter, mark),
            (Lines{"beep warning", kConfirm, "beep error",
                   "error 次のファイルが存在しません。実行を中止します。\n\r" +
                       dir / "files/x 1 a.txt"}));
}

TEST_F(RenameRunTest, RestoreAlwaysAsksNoQuestionAndHintsAfterTheRun) {
  Settings("Restore_always=1\n");
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  prompter.Yes();
  Run();
  EXPECT_EQ(
      prompter.log,
      (Lines{"beep warning", kConfirm, "beep information",
             kDone + "\n\r元に戻すには、[ファイル]メニューから[元に戻す]を選択してください。"}));
  EXPECT_EQ(dir.Listing("restore"), test::kRestoreName);
  EXPECT_EQ(Files(), "x 1 a.txt");
}

TEST_F(RenameRunTest, NamesAloneTakeNeitherCommonNameNorNumber) {
  Settings("pattern=3\nketa=3\nNum_kakko=1\n");
  state.common_name = "x";
  Add("a.txt", "ａｂ", ".txt");
  Add("b.jpg", "c", ".JPG");
  prompter.Yes().No();
  RenameWithNamesAlone(state, MakeContext());
  EXPECT_EQ(prompter.log.back(), kDone);
  EXPECT_EQ(Files(), "c.JPG ａｂ.txt");
  EXPECT_EQ(dir.Read("ZeFa_oru.ini"), "[Option]\npattern=3\nketa=3\nNum_kakko=1\n");
}

TEST_F(RenameRunTest, PatternsWithoutNumberNeedEveryUniqueName) {
  Add("a.txt", "a", ".txt");
  const std::string b = Add("b.txt", "", ".txt");
  for (const char* pattern : {"7", "8"}) {
    Settings(std::string("pattern=") + pattern + "\n");
    const std::size_t mark = prompter.log.size();
    prompter.Yes();
    Run();
    EXPECT_EQ(test::LogFrom(prompter, mark), (Lines{"beep warning", kConfirm, "beep error",
                                                    "error ファイル名を入力して下さい\n\r" + b}));
    EXPECT_EQ(Files(), "a.txt b.txt");
  }
  // The same list under pattern 1: that row is named by its number alone.
  Settings("pattern=1\n");
  prompter.Yes().No();
  Run();
  EXPECT_EQ(Files(), "1 a.txt 2.txt");
}

TEST_F(RenameRunTest, EveryPartOfTheNameIsCheckedBeforeAnythingIsRenamed) {
  const struct {
    const char* settings;
    const char* common;
    const char* unique;
    const char* extension;
    const char* error;
  } cases[] = {
      {"", "a/b", "u", ".txt", "使えない文字\"/\"が含まれています"},
      {"Num_kakko=1\nNum_aki=../\n", "x", "u", ".txt",
       "数字を囲む文字列（開）に使えない文字\"/\"が含まれています"},
      {"Num_kakko=1\nNum_toji=]/\n", "x", "u", ".txt",
       "数字を囲む文字列（閉）に使えない文字\"/\"が含まれています"},
      {"", "x", "../../etc/u", ".txt",
       "2番のファイルの固有名に使えない文字\"/\"が含まれています\n\r@b"},
      {"", "x", "u", "/.txt", "2番のファイルの拡張子に使えない文字\"/\"が含まれています\n\r@b"},
  };
  for (const auto& c : cases) {
    state = MainState{};
    Settings(c.settings);
    state.common_name = c.common;
    Add("a.txt", "a", ".txt");
    const std::string b = Add("b.txt", c.unique, c.extension);
    std::string error = c.error;
    if (const std::size_t at = error.find("@b"); at != std::string::npos) error.replace(at, 2, b);
    const std::size_t mark = prompter.log.size();
    prompter.Yes();
    Run();
    EXPECT_EQ(test::LogFrom(prompter, mark),
              (Lines{"beep warning", kConfirm, "beep error", "error " + error}))
        << c.settings << c.unique << c.extension;
    EXPECT_EQ(Files(), "a.txt b.txt");
  }
  // A unique name taken from a file name may hold what a POSIX file name may hold.
  state = MainState{};
  Settings("");
  state.common_name = "x";
  Add("a.txt", "a:b*", ".txt");
  prompter.Yes().No();
  Run();
  EXPECT_EQ(prompter.log.back(), kDone);
  EXPECT_EQ(Files(), "b.txt x 1 a:b*.txt");
  // Brackets may hold what a name may hold: "<", ">" and "|" are legal on POSIX.
  state = MainState{};
  Settings("Num_kakko=1\nNum_aki=<\nNum_toji=|>\n");
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  prompter.Yes().No();
  Run();
  EXPECT_EQ(prompter.log.back(), kDone);
  EXPECT_NE(Files().find("x <1|> a.txt"), std::string::npos);
  // Brackets are not part of a name without number.
  state = MainState{};
  Settings("pattern=8\nNum_kakko=1\nNum_aki=/\n");
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  prompter.Yes().No();
  Run();
  EXPECT_EQ(prompter.log.back(), kDone);
}

TEST_F(RenameRunTest, StoppedRunSaysHowFarItCame) {
  state.common_name = "x";
  for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) Add(name, "", ".txt");
  prompter.Yes().No().StopProgressAt(2);
  Run();
  EXPECT_EQ(Files(), "c.txt d.txt x 1.txt x 2.txt");
  // The rows not reached are no failures: the stop box is the last one.
  EXPECT_EQ(prompter.log.back(),
            "inform リネームを中止しました。\n\r4 個のファイルのうち 2 個をリネームしました。");
  EXPECT_EQ(std::count(prompter.log.begin(), prompter.log.end(), kDone), 0);
}

TEST_F(RenameRunTest, RowKeepingItsNameCountsAsDone) {
  Settings("pattern=8\n");
  Add("a.txt", "a", ".txt");
  Add("b.txt", "c", ".txt");
  prompter.Yes().No();
  Run();
  EXPECT_EQ(prompter.log.back(), kDone);
  EXPECT_EQ(Files(), "a.txt c.txt");
}

TEST_F(RenameRunTest, RefusedRestoreWriteRenamesNothing) {
  dir.Touch("restore", "a file where the folder should be");
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  Add("b.txt", "b", ".txt");
  prompter.Yes().Yes();
  Run();
  EXPECT_EQ(prompter.log,
            (Lines{"beep warning", kConfirm, "beep warning", kRestoreQuestion, kRestoreNotice,
                   "app-error " + RestorePath() + " に書き込めません."}));
  EXPECT_EQ(Files(), "a.txt b.txt");
  EXPECT_EQ(dir.Read("restore"), "a file where the folder should be");
}

TEST_F(RenameRunTest, RunInTheSameSecondKeepsTheEarlierRecord) {
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  prompter.Yes().Yes();
  Run();
  const std::string first = dir.Read(std::string("restore/") + test::kRestoreName);
  state = MainState{};
  state.common_name = "y";
  Add("b.txt", "b", ".txt");
  prompter.Yes().Yes();
  Run();
  EXPECT_EQ(dir.Listing("restore"),
            "2026年3月7日09時05分03秒.zefa 2026年3月7日09時05分03秒_2.zefa");
  EXPECT_EQ(dir.Read(std::string("restore/") + test::kRestoreName), first);
  EXPECT_EQ(RestoreRecord::Read(file_system, dir / "restore/2026年3月7日09時05分03秒_2.zefa")
                .Row(0)
                .after,
            dir / "files/y 1 b.txt");
}

TEST_F(RenameRunTest, PathsWithALineBreakOrNotUtf8AreRecordedAndRenamed) {
  state.common_name = "x";
  Add("a.txt", "a", ".txt");
  const std::string broken = Add("b\nc.txt", "b", ".txt");
  const std::string latin1 = Add("caf\xe9.txt", "c", ".txt");
  prompter.Yes().Yes();
  Run();
  EXPECT_EQ(Files(), "x 1 a.txt x 2 b.txt x 3 c.txt");
  const RestoreRecord record =
      RestoreRecord::Read(file_system, dir / (std::string("restore/") + test::kRestoreName));
  EXPECT_EQ(record.Row(1).before, broken);
  EXPECT_EQ(record.Row(2).before, latin1);
  EXPECT_EQ(record.Row(2).after, dir / "files/x 3 c.txt");
}

TEST(RestoreFileBytes, EveryRecordablePathReadsBackUnchanged) {
  const std::vector<std::string> paths = {"/p/plain.txt",
                                          "/p/trailing ",
                                          " /leading",
                                          "\t/tab\t",
                                          "\"/quoted\"",
                                          "'/single'",
                                          "/p/\"",
                                          "\"",
                                          "'",
                                          " ",
                                          "",
                                          "/p/a=b",
                                          "/p/[section]",
                                          "/p/;comment",
                                          "[0]",
                                          "/p/写真 ソ.jpg",
                                          "C:\\pic\\ソ.txt",
                                          "/p/ \" mixed ' ",
                                          "/p/a\nb",
                                          "/p/a\rb ",
                                          "/p/\xff\xfe%41",
                                          "/p/\x83\x5c.txt",
                                          "/p/\xe9\x01\x7f",
                                          "file:///p/a%41",
                                          "file://"};
  std::vector<std::string> new_paths;
  for (const std::string& path : paths) new_paths.push_back(path + "→new");
  std::vector<RowChange> plan;
  for (std::size_t row = 0; row < paths.size(); ++row) {
    plan.push_back(ChangeOf(paths[row], new_paths[row]));
  }
  const RestoreRecord record = RestoreRecord::Parse(RestoreFileBytes(plan));
  ASSERT_EQ(record.Count(), static_cast<int>(paths.size()));
  for (std::size_t row = 0; row < paths.size(); ++row) {
    EXPECT_EQ(record.Row(row).before, paths[row]);
    EXPECT_EQ(record.Row(row).after, paths[row] + "→new");
  }
  // Bytes that are not UTF-8 would make the whole record read as Shift-JIS: escaped, so
  // the file stays UTF-8 and each record one line, while UTF-8 paths stay as they are.
  const std::string bytes = RestoreFileBytes(plan);
  EXPECT_TRUE(IsValidUtf8(bytes));
  EXPECT_NE(bytes.find("\n0=/p/plain.txt\n"), std::string::npos);
  EXPECT_NE(bytes.find("=file:///p/%83\\.txt\n"), std::string::npos);
  EXPECT_NE(bytes.find("=file:///p/a%0Ab\n"), std::string::npos);
  EXPECT_EQ(EncodeRecordedPath("/p/写真 ソ.jpg"), "/p/写真 ソ.jpg");
}

// Whole-file writers, as a file system without its own piecewise write has them.
class WholeFileSystem : public test::FixedClockFileSystem {
 public:
  bool WriteFileInPieces(const std::string& path, const PieceWriter& write,
                         WriteMode mode) override {
    return FileSystem::WriteFileInPieces(path, write, mode);
  }
};

TEST(WriteRestoreFile, ARecordOfManyPiecesIsWrittenWhole) {
  test::TempDir dir;
  // About 3 MB: several pieces.
  std::vector<std::string> old_paths(15000);
  std::vector<std::string> new_paths(old_paths.size());
  std::vector<RowChange> plan(old_paths.size());
  for (std::size_t row = 0; row < plan.size(); ++row) {
    old_paths[row] = dir / ("写真/" + std::string(60, 'a') + std::to_string(row) + ".jpg");
    new_paths[row] = dir / ("写真/旅行 " + std::to_string(row) + ".jpg");
    plan[row] = ChangeOf(old_paths[row], new_paths[row]);
    // Files here and there, across the stretches in which identities are read.
    if (row % 997 == 0) dir.Touch(old_paths[row].substr(dir.path().size()));
  }
  test::FixedClockFileSystem native;
  WholeFileSystem whole;
  for (FileSystem* file_system :
       {static_cast<FileSystem*>(&native), static_cast<FileSystem*>(&whole)}) {
    const std::string path = WriteRestoreFile(*file_system, dir / "restore", TextRules{}, plan);
    const std::string bytes = dir.Read(path.substr(dir.path().size()));
    // Four section lines and the count, and a line for each row in each of three sections.
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 5 + 3 * 15000);
    const RestoreRecord record = RestoreRecord::Parse(bytes);
    ASSERT_EQ(record.Count(), 15000);
    ASSERT_TRUE(record.HasIdentities());
    for (int row = 0; row < 15000; ++row) {
      const auto index = static_cast<std::size_t>(row);
      ASSERT_EQ(record.Row(static_cast<std::size_t>(row)).before, plan[index].old_path()) << row;
      ASSERT_EQ(record.Row(static_cast<std::size_t>(row)).after, plan[index].new_path()) << row;
      ASSERT_EQ(record.Row(index).identity,
                index % 997 == 0 ? native.FileIdentities({old_paths[index]}).front() : "")
          << row;
    }
  }
  EXPECT_EQ(dir.Listing("restore"),
            "2026年3月7日09時05分03秒.zefa 2026年3月7日09時05分03秒_2.zefa");
}

// Identities read ahead are taken for the paths they were read at alone.
TEST(WriteRestoreFile, IdentitiesReadAheadAreTakenForTheirOwnPathsAlone) {
  test::TempDir dir;
  const std::vector<std::string> listed = {dir.Touch("f0"), dir.Touch("f1"), dir.Touch("f2")};
  const std::string other = dir.Touch("other");
  test::FixedClockFileSystem file_system;
  IdentitiesReadAhead read_ahead(file_system, listed);
  // Row 1's change starts from another path than the one its identity was read at.
  const std::vector<std::string> new_paths = {dir / "n0", dir / "n1", dir / "n2"};
  const std::vector<RowChange> plan = {ChangeOf(listed[0], new_paths[0], 0),
                                       ChangeOf(other, new_paths[1], 1),
                                       ChangeOf(listed[2], new_paths[2], 2)};
  const RestoreRecord record = RestoreRecord::Read(
      file_system, WriteRestoreFile(file_system, dir / "restore", TextRules{}, plan, &read_ahead));
  for (std::size_t row = 0; row < plan.size(); ++row) {
    EXPECT_EQ(record.Row(row).identity, file_system.FileIdentities({plan[row].old_path()})[0]);
  }
  EXPECT_NE(record.Row(1).identity, file_system.FileIdentities({listed[1]})[0]);
}

TEST(RestoreFileName, DateAndTimeWithoutAndWithLeadingZeros) {
  EXPECT_EQ(RestoreFileName({2026, 3, 7, 9, 5, 3}), "2026年3月7日09時05分03秒.zefa");
  EXPECT_EQ(RestoreFileName({2026, 12, 31, 23, 59, 0}), "2026年12月31日23時59分00秒.zefa");
  EXPECT_EQ(RestoreFileName({2026, 3, 7, 9, 5, 3}, 2), "2026年3月7日09時05分03秒_2.zefa");
}

}  // namespace
}  // namespace zefa
