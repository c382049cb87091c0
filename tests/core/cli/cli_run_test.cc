// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/cli_run.h"

#include <gtest/gtest.h>

#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_prompter.h"
#include "commands/main_state.h"
#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "minimal_jpeg.h"
#include "names/presets.h"
#include "platform/file_system.h"
#include "record/run_history.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

namespace zefa {
namespace {

/** The real file system; a stop can be asked for after a number of renames (Ctrl+C). */
class StoppingFileSystem : public NativeFileSystem {
 public:
  std::size_t stop_after = 0;  // 0: never
  std::vector<ChangeReason> RenameEachNoReplace(const std::vector<RenamePair>& pairs,
                                                const KeepGoing& keep_going) override {
    return NativeFileSystem::RenameEachNoReplace(pairs, [&](std::size_t done) {
      if (stop_after != 0 && done == stop_after) RequestStop();
      return !keep_going || keep_going(done);
    });
  }
};

class CliRunTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetStop(); }

  int Run(CliCommand command, std::vector<std::string> arguments, std::string input = {}) {
    out.str({});
    err.str({});
    std::istringstream in(input);
    CliEnvironment environment{file_system, ProgramPathsIn(dir), dir.path(), in, out, err,
                               japanese};
    return RunCommandLine(command, arguments, environment);
  }

  std::string Files() const { return dir.Listing("files"); }
  std::string NewestRestoreFile() {
    return ListRestoreFiles(file_system, dir / "restore", TextRules{}).front();
  }

  test::TempDir dir;
  bool japanese = false;
  StoppingFileSystem file_system;
  std::ostringstream out, err;
};

TEST_F(CliRunTest, RenamesInTheListsOrderAndWritesTheRestoreFileFirst) {
  for (const char* name : {"b.txt", "a.txt"}) dir.Touch(std::string("files/") + name, name);
  EXPECT_EQ(
      Run(CliCommand::kRename, {"--name", "x", "--no-space", "files/b.txt", dir / "files/a.txt"}),
      kExitDone);
  EXPECT_EQ(Files(), "x1b.txt x2a.txt");  // as given: b.txt is row 1
  EXPECT_EQ(dir.Read("files/x1b.txt"), "b.txt");
  EXPECT_NE(out.str().find("renamed 2 of 2 files\nrestore file: " + dir.path() + "restore/"),
            std::string::npos)
      << out.str();
}

// The three examples of the manual page, each undone by the window's 元に戻す.
TEST_F(CliRunTest, TheWindowUndoesARunOfTheCommandLine) {
  struct Example {
    std::vector<std::string> files;
    std::vector<std::string> arguments;
    std::string input;  // NUL-separated paths for -0
    std::string renamed;
  };
  const Example examples[] = {
      {{"DSC_0103.JPG", "DSC_0042.JPG"},
       {"--order", "taken", "--unique-from-date=%Y-%m-%d", "--name", "Trip", "files"},
       "",
       "Trip 1 2026-08-12.JPG Trip 2 2026-08-14.JPG"},
      {{"v1/p10.png", "v1/p2.png", "v2/p1.png"},
       {"--order", "name", "--per-folder", "--digits", "3", "--find", ".*", "--regex", "--name",
        "Vol", "files"},
       "",
       "v1 v2"},
      {{"ＲＥＰＯＲＴ　２０２６.pdf", "sub/ｐｈｏｔｏ＿０１.jpg"},
       {"-0", "--pattern", "7", "--half-width"},
       "files/ＲＥＰＯＲＴ　２０２６.pdf" + std::string(1, '\0') + "files/sub/ｐｈｏｔｏ＿０１.jpg",
       "REPORT 2026.pdf sub"},
  };
  const char* taken[] = {"2026:08:14 18:02:11", "2026:08:12 09:30:00"};
  for (const Example& example : examples) {
    std::filesystem::remove_all(dir / "files");
    for (std::size_t i = 0; i < example.files.size(); ++i) {
      const std::string path = dir.Touch("files/" + example.files[i], test::MinimalJpeg());
      if (example.files[i].ends_with(".JPG")) {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        image->exifData()["Exif.Photo.DateTimeOriginal"] = taken[i];
        image->writeMetadata();
      }
    }
    const std::string before = Files();
    ASSERT_EQ(Run(CliCommand::kRename, example.arguments, example.input), kExitDone) << err.str();
    EXPECT_EQ(Files(), example.renamed);
    if (example.renamed == "v1 v2") {
      EXPECT_EQ(dir.Listing("files/v1"), "Vol 001.png Vol 002.png");
    }

    // 元に戻す, as the window runs it: the file dialog gives the command line's record.
    test::ScriptedPrompter prompter;
    prompter.File(NewestRestoreFile()).Yes();
    MainState state;
    Undo1Click(state, Context{prompter, file_system, ProgramPathsIn(dir), TextRules{}});
    EXPECT_EQ(prompter.log.back(), "inform 完了しました");
    EXPECT_EQ(Files(), before);
    std::filesystem::remove_all(dir / "restore");
  }
}

TEST_F(CliRunTest, TheCommandLineUndoesARunOfTheWindow) {
  MainState state;
  state.common_name = "x";
  for (const char* name : {"a", "b"}) {
    state.list.AppendRow(dir.Touch(std::string("files/") + name + ".txt", name), name, ".txt", "");
  }
  test::ScriptedPrompter prompter;
  prompter.Yes().Yes();  // 本当に実行しますか？ and the restore question
  Button2Click(state, Context{prompter, file_system, ProgramPathsIn(dir), TextRules{}});
  ASSERT_EQ(Files(), "x 1 a.txt x 2 b.txt");
  // One of them is replaced by another file: the undo leaves that one and says why.
  std::filesystem::remove(dir / "files/x 2 b.txt");
  dir.Touch("files/x 2 b.txt", "other");

  EXPECT_EQ(Run(CliCommand::kUndo, {"--last"}), kExitSomeRows);
  EXPECT_EQ(Files(), "a.txt x 2 b.txt");
  EXPECT_EQ(err.str(),
            "zefa-oru: " + dir / "files/x 2 b.txt" + ": 別のファイルに置き換えられています\n");
  EXPECT_EQ(out.str(), "gave back 1 of 1 files\n");
  // Undone already: the window's invalid-file message, refused.
  EXPECT_EQ(Run(CliCommand::kUndo, {"--json", NewestRestoreFile()}), kExitRefused);
  EXPECT_NE(err.str().find("このファイルは無効です。"), std::string::npos);
  EXPECT_NE(out.str().find("\"status\":\"refused\""), std::string::npos);
}

TEST_F(CliRunTest, RefusesBeforeAnythingIsRenamed) {
  dir.Touch("files/a.txt");
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{"files/a.txt", "files/gone.txt"}, "フォルダでなくファイルを指定してください"},
      {{"files/a.txt", "files/a.txt"}, "既に追加されているファイルです。"},
      {{"--name", "a:b", "files/a.txt"}, "\":\""},
      {{"--pattern", "7", "--find", "a", "files/a.txt"}, "ファイル名を入力して下さい\n"},
      {{"--find", "(", "--regex", "files/a.txt"}, ""},
  };
  for (const Case& refused : cases) {
    const int status = Run(CliCommand::kRename, refused.arguments);
    EXPECT_TRUE(status == kExitRefused || status == kExitUsage) << refused.arguments.back();
    EXPECT_NE(err.str().find(refused.error), std::string::npos) << err.str();
    EXPECT_EQ(Files(), "a.txt");
    EXPECT_FALSE(dir.Exists("restore"));
  }
}

TEST_F(CliRunTest, ARowThatFailsIsNamedOnStandardErrorAndTheOthersGoOn) {
  dir.Touch("files/a.txt");
  dir.Touch("files/b.txt");
  dir.Touch("files/x 2 b.txt", "in the way");
  EXPECT_EQ(Run(CliCommand::kPreview, {"--name", "x", "files/a.txt", "files/b.txt"}),
            kExitSomeRows);
  EXPECT_NE(out.str().find("b.txt → x 2 b.txt  [同名のファイルがあります]"), std::string::npos)
      << out.str();
  EXPECT_EQ(Run(CliCommand::kRename, {"--name", "x", "--no-restore", "files/a.txt", "files/b.txt"}),
            kExitSomeRows);
  EXPECT_EQ(err.str(), "zefa-oru: " + dir / "files/b.txt" + " → " + dir / "files/x 2 b.txt" +
                           ": 同名のファイルがあります\n");
  EXPECT_EQ(Files(), "b.txt x 1 a.txt x 2 b.txt");
  EXPECT_FALSE(dir.Exists("restore"));
}

TEST_F(CliRunTest, PathsComeNulSeparatedAndGoIntoJsonByteForByte) {
  const std::string odd = "files/\x82\xa0\n.txt";  // Shift-JIS bytes and a line break
  dir.Touch(odd);
  dir.Touch("files/b c.txt");
  ASSERT_EQ(Run(CliCommand::kRename, {"-0", "--json", "--name", "n"},
                std::string(dir / odd) + '\0' + "files/b c.txt" + '\0'),
            kExitDone)
      << err.str();
  const std::string json = out.str();
  EXPECT_NE(json.find("\"old\":\"file://" + dir.path() + "files/%82%A0%0A.txt\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"new\":\"" + dir.path() + "files/n 2 b c.txt\""), std::string::npos);
  EXPECT_NE(json.find("\"restore_file\":\"" + NewestRestoreFile() + "\""), std::string::npos);
}

TEST_F(CliRunTest, AStopEndsTheRunAfterTheCurrentFileAndTheRecordStaysTrue) {
  for (const char* name : {"a", "b", "c", "d"}) dir.Touch(std::string("files/") + name);
  file_system.stop_after = 2;
  EXPECT_EQ(Run(CliCommand::kRename, {"--name", "x", "files"}), kExitStopped);
  EXPECT_EQ(Files(), "c d x 1 a x 2 b");
  EXPECT_NE(out.str().find("stopped: renamed 2 of 4 files"), std::string::npos) << out.str();
  ResetStop();
  file_system.stop_after = 0;
  EXPECT_EQ(Run(CliCommand::kUndo, {"--last"}), kExitDone) << err.str();
  EXPECT_EQ(Files(), "a b c d");
  EXPECT_EQ(out.str(), "gave back 2 of 2 files\n");
}

TEST_F(CliRunTest, APresetGivesItsNamingCommonNameAndRuleAndOptionsOverrideIt) {
  dir.Touch("files/ＩＭＧ.jpg");
  Preset preset;
  preset.naming.digits = 3;
  preset.naming.pattern = 3;  // number, common name, unique name
  preset.common_name = "旅";
  preset.rule.to_half_width = true;
  SavePreset(file_system, ProgramPathsIn(dir), "旅行", preset, TextRules{});
  EXPECT_EQ(Run(CliCommand::kPreview, {"--preset", "旅行", "files"}), kExitDone);
  EXPECT_NE(out.str().find("→ 001 旅 IMG.jpg\n"), std::string::npos) << out.str();
  EXPECT_EQ(Run(CliCommand::kPreview, {"--preset", "旅行", "--name", "", "--digits", "2", "files"}),
            kExitDone);
  EXPECT_NE(out.str().find("→ 01 IMG.jpg\n"), std::string::npos) << out.str();
  EXPECT_EQ(Run(CliCommand::kRename, {"--preset", "なし", "files"}), kExitUsage);
  EXPECT_EQ(err.str(), "zefa-oru: no preset named なし\n");
}

TEST_F(CliRunTest, SpeaksJapaneseUnderAJapaneseLocale) {
  japanese = true;
  dir.Touch("files/a.txt");
  EXPECT_EQ(Run(CliCommand::kRename, {"--name", "x", "--no-restore", "files/a.txt"}), kExitDone);
  EXPECT_EQ(out.str(), "1 個のファイルのうち 1 個をリネームしました。\n");
  EXPECT_EQ(Run(CliCommand::kUndo, {"--lastt"}), kExitUsage);
  EXPECT_EQ(err.str(),
            "zefa-oru undo: 不明なオプションです: --lastt\n"
            "詳しくは「zefa-oru undo --help」を見てください。\n");
}

TEST_F(CliRunTest, HistoryListsTheNewestFirstWithTheWindowsStates) {
  dir.Touch("files/a");
  dir.Touch("files/b");
  ASSERT_EQ(Run(CliCommand::kRename, {"--name", "x", "files/a"}), kExitDone);
  ASSERT_EQ(Run(CliCommand::kUndo, {"--last"}), kExitDone);
  ASSERT_EQ(Run(CliCommand::kRename, {"--name", "y", "files/b"}), kExitDone);
  // The undone run is no longer the last one to undo.
  const std::vector<std::string> records =
      ListRestoreFiles(file_system, dir / "restore", TextRules{});
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(Run(CliCommand::kHistory, {}), kExitDone);
  const std::string listing = out.str();
  const std::size_t undoable =
      listing.find("\t1\t" + dir / "files/" + "\tundoable\t" + records[0] + "\n");
  const std::size_t undone = listing.find("\tundone\t" + records[1] + "\n");
  EXPECT_NE(undone, std::string::npos) << listing;
  EXPECT_LT(undoable, undone) << listing;
  japanese = true;
  EXPECT_EQ(Run(CliCommand::kHistory, {"--json"}), kExitDone);
  EXPECT_NE(
      out.str().find("\"state\":\"undone\",\"state_text\":\"元に戻しました\",\"undone\":true"),
      std::string::npos)
      << out.str();
}

}  // namespace
}  // namespace zefa
