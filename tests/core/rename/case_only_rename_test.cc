// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/case_only_rename.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "record/restore_file.h"
#include "rename_test_support.h"
#include "run/run_simulation.h"

namespace zefa {
namespace {

// The real file system seen as FAT or a CIFS share sees it: a name finds the entry that
// matches it in any case, and a rename to a name that any entry holds in any case is
// refused.
class CaseBlindFileSystem : public test::FixedClockFileSystem {
 public:
  // Runs before each rename; a test makes it refuse a step or kill the process there.
  std::function<bool(const std::string& from, const std::string& to)> allow_rename;

  std::string Resolve(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return path;
    const std::string folder = path.substr(0, slash + 1);
    const std::string name = path.substr(slash + 1);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const std::string entry_name = entry.path().filename().string();
      if (entry_name.size() == name.size() &&
          std::equal(name.begin(), name.end(), entry_name.begin(),
                     [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
        return folder + entry_name;
      }
    }
    return path;
  }

  bool FileExists(const std::string& path) override {
    return NativeFileSystem::FileExists(Resolve(path));
  }
  bool FolderExists(const std::string& path) override {
    return NativeFileSystem::FolderExists(Resolve(path));
  }
  std::vector<bool> FilesExist(const std::vector<std::string>& paths) override {
    return FileSystem::FilesExist(paths);
  }
  std::vector<bool> PathsTaken(const std::vector<std::string_view>& paths) override {
    return FileSystem::PathsTaken(paths);
  }
  std::optional<std::string> FileKey(const std::string& path) override {
    return NativeFileSystem::FileKey(Resolve(path));
  }
  std::vector<std::string> FileKeys(const std::vector<std::string_view>& paths,
                                    const KeepGoing& keep_going = {}) override {
    return FileSystem::FileKeys(paths, keep_going);
  }
  std::optional<std::string> ExistingFileKey(const std::string& path) override {
    return FileSystem::ExistingFileKey(path);
  }
  std::vector<std::string> FileIdentities(const std::vector<std::string_view>& paths) override {
    return FileSystem::FileIdentities(paths);
  }
  std::vector<FileMatch> MatchFiles(const std::vector<KeyedPath>& wanted,
                                    const KeepGoing& keep_going = {}) override {
    return FileSystem::MatchFiles(wanted, keep_going);
  }
  ChangeReason RenameNoReplace(const std::string& from, const std::string& to) override {
    if (allow_rename && !allow_rename(from, to)) return ChangeReason::kRenameRefused;
    if (Resolve(to) != to || NativeFileSystem::FileExists(to)) return ChangeReason::kTargetExists;
    return NativeFileSystem::RenameNoReplace(Resolve(from), to);
  }
  std::vector<ChangeReason> RenameEachNoReplace(const std::vector<RenamePair>& pairs,
                                                const KeepGoing& keep_going = {}) override {
    return FileSystem::RenameEachNoReplace(pairs, keep_going);
  }
};

bool IsTemporary(const std::string& path) { return path.find(".zefa-oru-") != std::string::npos; }

TEST(CaseOnlyRename, TellsAChangeOfCaseAlone) {
  const TextRules rules;
  const struct {
    const char* old_path;
    const char* new_path;
    bool case_only;
  } cases[] = {
      {"/p/IMG_1.JPG", "/p/IMG_1.jpg", true},
      {"/p/img_1.jpg", "/p/IMG_1.JPG", true},
      {"/p/ＤＳＣ.jpg", "/p/ｄｓｃ.jpg", true},
      {"/p/Straße.txt", "/p/STRASSE.txt", true},
      {"/p/IMG_1.JPG", "/p/IMG_1.JPG", false},
      {"/p/IMG_1.JPG", "/p/IMG_2.jpg", false},
      {"/p/IMG_1.JPG", "/q/IMG_1.jpg", false},
      {"/p/a.JPG", "/p/a.JPG.jpg", false},
      // An ASCII letter against a character that folds to one, or to none.
      {"/p/K.txt", "/p/\u212A.txt", true},
      {"/p/\u017Ft.txt", "/p/ST.txt", true},
      {"/p/DSC_0001.jpg", "/p/旅行 0001.jpg", false},
      {"/p/x1.jpg", "/p/x\xE6.jpg", false},
      {"/p/\xFF"
       "A",
       "/p/\xFF"
       "a",
       true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DiffersInCaseOnly(c.old_path, c.new_path, rules), c.case_only) << c.new_path;
  }
}

class CaseOnlyRunTest : public test::RenameFixture {
 protected:
  CaseBlindFileSystem blind;

  void SetUp() override {
    Settings("pattern=7\nspace=0\n");
    Add("IMG_1.JPG", "IMG_1", ".jpg");
    Add("IMG_2.JPG", "IMG_2", ".jpg");
  }

  Context BlindContext() { return Context{prompter, blind, Paths(), TextRules{}}; }

  void Run() {
    prompter.Yes().Yes();
    Button2Click(state, BlindContext());
  }

  void Undo() {
    prompter.log.clear();
    prompter.File(RestorePath()).Yes();
    Undo1Click(state, BlindContext());
  }
};

TEST_F(CaseOnlyRunTest, PreviewDoesNotTakeTheFileForAnother) {
  dir.Touch("files/OTHER.jpg");
  Add("b.JPG", "other", ".jpg");
  ChangePlan plan = ComposeChanges(
      state.list, {"", 1, NameSettings{1, NamePattern::kUniqueCommon, "", "", ""}}, TextRules{});
  PlayThrough(plan, blind, TextRules{});
  const std::vector<RowChange>& rows = plan.changes;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(ReasonText(rows[0]), "");
  EXPECT_EQ(ReasonText(rows[1]), "");
  EXPECT_EQ(ReasonText(rows[2]), "同名のファイルがあります");
}

TEST_F(CaseOnlyRunTest, RunChangesTheCaseThroughATemporaryNameAndTheUndoBringsItBack) {
  Run();
  EXPECT_EQ(prompter.log.back(), "inform 完了しました。");
  EXPECT_EQ(Files(), "IMG_1.jpg IMG_2.jpg");
  // Each file is recorded on its way there and on from there.
  const RestoreRecord record = RestoreRecord::Read(blind, RestorePath());
  ASSERT_EQ(record.Count(), 4);
  EXPECT_EQ(record.Row(0).before, dir / "files/IMG_1.JPG");
  EXPECT_TRUE(IsTemporary(std::string(record.Row(0).after)));
  EXPECT_EQ(record.Row(1).before, record.Row(0).after);
  EXPECT_EQ(record.Row(1).after, dir / "files/IMG_1.jpg");
  Undo();
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
  EXPECT_EQ(Files(), "IMG_1.JPG IMG_2.JPG");
}

TEST_F(CaseOnlyRunTest, ARefusedSecondStepLeavesTheFileAsItWas) {
  blind.allow_rename = [](const std::string& from, const std::string& to) {
    return !(IsTemporary(from) && to.ends_with("IMG_1.jpg"));
  };
  Run();
  EXPECT_EQ(Files(), "IMG_1.JPG IMG_2.jpg");
  EXPECT_EQ(prompter.log.back(),
            "inform 以下のファイルのリネームに失敗しました\n\r" + dir / "files/IMG_1.JPG");
  Undo();
  EXPECT_EQ(Files(), "IMG_1.JPG IMG_2.JPG");
}

TEST_F(CaseOnlyRunTest, AStopIsHeardOnlyOnceBothStepsAreDone) {
  prompter.StopProgressAt(1);
  Run();
  EXPECT_EQ(Files(), "IMG_1.jpg IMG_2.JPG");
  Undo();
  EXPECT_EQ(Files(), "IMG_1.JPG IMG_2.JPG");
}

// A file saved in place after the run (a new file under its new name) is not the run's:
// it stays where it is, whichever record wrote the second step's identity.
TEST_F(CaseOnlyRunTest, AFileSavedInPlaceAfterTheRunStays) {
  for (const bool older_record : {false, true}) {
    Run();
    ASSERT_EQ(Files(), "IMG_1.jpg IMG_2.jpg");
    if (older_record) {
      // Runs before every row had an identity left the second steps' empty.
      std::string record = dir.Read(std::string("restore/") + test::kRestoreName);
      const std::size_t identities = record.find("[identity]");
      for (const char* key : {"\n1=", "\n3="}) {
        const std::size_t at = record.find(key, identities) + 3;
        record.erase(at, record.find('\n', at) - at);
      }
      dir.Touch(std::string("restore/") + test::kRestoreName, record);
    }
    const std::string saved = dir.Touch("files/saved.tmp", "edited");
    ASSERT_EQ(std::rename(saved.c_str(), (dir / "files/IMG_1.jpg").c_str()), 0);
    Undo();
    EXPECT_EQ(Files(), "IMG_1.jpg IMG_2.JPG") << older_record;
    EXPECT_EQ(dir.Read("files/IMG_1.jpg"), "edited");
    EXPECT_EQ(prompter.log.back(), "inform 以下のファイルを元の名前に戻せませんでした\n\r" +
                                       dir / "files/IMG_1.jpg" +
                                       "（別のファイルに置き換えられています）");
    std::filesystem::remove_all(dir / "files");
    std::filesystem::remove_all(dir / "restore");
    state = MainState{};
    Add("IMG_1.JPG", "IMG_1", ".jpg");
    Add("IMG_2.JPG", "IMG_2", ".jpg");
  }
}

TEST_F(CaseOnlyRunTest, AKillBetweenTheTwoStepsIsUndone) {
  const pid_t child = ::fork();
  if (child == 0) {
    blind.allow_rename = [](const std::string& from, const std::string&) {
      if (IsTemporary(from)) ::raise(SIGKILL);
      return true;
    };
    Run();
    ::_exit(0);
  }
  ASSERT_GE(child, 0);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  EXPECT_EQ(Files().find("IMG_1"), std::string::npos) << Files();
  Undo();
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
  EXPECT_EQ(Files(), "IMG_1.JPG IMG_2.JPG");
}

// The same run on a FAT image mounted through a loop device, where the machine allows it.
TEST(CaseOnlyRenameOnFat, RunAndUndo) {
  test::TempDir dir;
  const std::string image = dir / "fat.img";
  const std::string mount_point = dir / "fat";
  std::filesystem::create_directory(mount_point);
  const std::string make =
      "truncate -s 4M '" + image + "' && mkfs.vfat '" + image + "' >/dev/null 2>&1";
  if (::geteuid() != 0 || std::system(make.c_str()) != 0 ||
      std::system(("mount -o loop '" + image + "' '" + mount_point + "' 2>/dev/null").c_str()) !=
          0) {
    GTEST_SKIP() << "no FAT image can be loop-mounted here (needs root, mkfs.vfat and vfat)";
  }
  const std::string folder = mount_point + "/pic/";
  std::filesystem::create_directory(folder);
  test::ScriptedPrompter prompter;
  test::FixedClockFileSystem file_system;
  MainState state;
  for (const char* name : {"IMG_1", "IMG_2"}) {
    dir.Touch(std::string("fat/pic/") + name + ".JPG");
    state.list.AppendRow(folder + name + ".JPG", name, ".jpg", "");
  }
  dir.Touch("ZeFa_oru.ini", "[Option]\npattern=7\nspace=0\n");
  const Context context{prompter, file_system, test::ProgramPathsIn(dir), TextRules{}};
  prompter.Yes().Yes();
  Button2Click(state, context);
  EXPECT_EQ(dir.Listing("fat/pic"), "IMG_1.jpg IMG_2.jpg");
  prompter.File(dir / (std::string("restore/") + test::kRestoreName)).Yes();
  Undo1Click(state, context);
  EXPECT_EQ(dir.Listing("fat/pic"), "IMG_1.JPG IMG_2.JPG");
  EXPECT_EQ(std::system(("umount '" + mount_point + "'").c_str()), 0);
}

}  // namespace
}  // namespace zefa
