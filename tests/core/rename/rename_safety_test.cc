// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "platform/native_listing_posix.h"
#include "platform/native_rename_posix.h"
#include "record/restore_file.h"
#include "rename_test_support.h"
#include "run/rename_plan.h"
#include "settings/settings_file.h"

namespace zefa {
namespace {

using test::RenameFixture;

// Creates `path` holding `content` unless something is there; true when it did.
bool CreateExclusive(const std::string& path, const std::string& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written =
      ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  ::close(fd);
  return written;
}

// Another program that takes the target name just before each rename.
class IntrudingFileSystem : public test::FixedClockFileSystem {
 public:
  ChangeReason RenameNoReplace(const std::string& from, const std::string& to) override {
    if (CreateExclusive(to, "intruder")) ++intrusions;
    return NativeFileSystem::RenameNoReplace(from, to);
  }
  std::vector<ChangeReason> RenameEachNoReplace(const std::vector<RenamePair>& pairs,
                                                const KeepGoing& /*keep_going*/) override {
    std::vector<ChangeReason> outcomes;
    for (const RenamePair& pair : pairs) {
      if (CreateExclusive(std::string(pair.to), "intruder")) ++intrusions;
      outcomes.push_back(NativeFileSystem::RenameEachNoReplace({pair})[0]);
    }
    return outcomes;
  }
  int intrusions = 0;
};

TEST(RenameNoReplace, EveryWayRefusesATakenName) {
  NativeFileSystem native;
  const std::map<std::string, std::function<ChangeReason(const std::string&, const std::string&)>>
      ways = {
          {"renameat2", [&](const std::string& f,
                            const std::string& t) { return native.RenameNoReplace(f, t); }},
          {"batch",
           [&](const std::string& f, const std::string& t) {
             return native.RenameEachNoReplace({{f, t}}).at(0);
           }},
          {"link", posix::RenameByLink},
          {"reservation", posix::RenameByReservation},
      };
  for (const auto& [name, rename] : ways) {
    test::TempDir dir;
    const std::string from = dir.Touch("from", "from");
    const std::string taken = dir.Touch("taken", "taken");
    EXPECT_EQ(rename(from, taken), ChangeReason::kTargetExists) << name;
    EXPECT_EQ(dir.Read("from"), "from") << name;
    EXPECT_EQ(dir.Read("taken"), "taken") << name;
    EXPECT_EQ(rename(dir / "missing", dir / "free"), ChangeReason::kSourceMissing) << name;
    EXPECT_FALSE(dir.Exists("free")) << name;
    EXPECT_EQ(rename(from, dir / "no folder/x"), ChangeReason::kRenameRefused) << name;
    EXPECT_EQ(rename(from, dir / "to"), ChangeReason::kNone) << name;
    EXPECT_EQ(dir.Listing(), "taken to") << name;
    EXPECT_EQ(dir.Read("to"), "from") << name;
  }
}

TEST(RenameNoReplace, FallbacksRaceAnotherCreator) {
  for (auto* rename : {posix::RenameByLink, posix::RenameByReservation}) {
    test::TempDir dir;
    std::atomic<bool> stop{false};
    std::atomic<int> created{0};
    std::thread intruder([&] {
      for (int i = 0; !stop; i = (i + 1) % 500) {
        if (CreateExclusive(dir / ("t" + std::to_string(i)), "intruder")) ++created;
      }
    });
    for (int i = 0; i < 500; ++i) {
      const std::string from = dir.Touch("s" + std::to_string(i), "source");
      rename(from, dir / ("t" + std::to_string(i)));
    }
    stop = true;
    intruder.join();
    int intruders = 0, sources = 0;
    for (int i = 0; i < 500; ++i) {
      const std::string target = dir.Read("t" + std::to_string(i));
      const bool source_left = dir.Exists("s" + std::to_string(i));
      intruders += target == "intruder";
      sources += (target == "source") + source_left;
    }
    EXPECT_EQ(intruders, created.load());
    EXPECT_EQ(sources, 500);
  }
}

// The folder listings behind FilesExist and PathsTaken, and the folder opened once behind
// FileKeys, give the answers of FileExists, lstat() and FileKey, row by row.
TEST(FilesExist, BatchLookUpsAgreeWithSingleOnes) {
  test::TempDir dir;
  std::vector<std::string> paths;
  for (int i = 0; i < 100; ++i) paths.push_back(dir.Touch("many/f" + std::to_string(i)));
  dir.Touch("many/sub/inner");
  dir.Touch("other/g");
  ASSERT_EQ(::symlink((dir / "many/f1").c_str(), (dir / "many/link").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "many/sub").c_str(), (dir / "many/folder link").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "many/dangling").c_str()), 0);
  for (const char* name : {"many/sub", "many/link", "many/folder link", "many/dangling",
                           "many/missing", "many/F1", "many/./f2", "many/sub/../f3", "many//f4",
                           "many/", "other/g", "many/sub/inner", "nowhere/f1"}) {
    paths.push_back(dir / name);
  }
  paths.push_back(paths.front());  // the same file twice
  paths.push_back("relative-name");
  paths.push_back("");
  paths.push_back("/");
  NativeFileSystem native;
  const std::vector<bool> exist = native.FilesExist(paths);
  ASSERT_EQ(exist.size(), paths.size());
  const std::vector<std::string_view> looked_up(paths.begin(), paths.end());
  const std::vector<std::string> keys = native.FileKeys(looked_up);
  ASSERT_EQ(keys.size(), paths.size());
  // Names nobody has, in a folder read whole: the listing alone answers for them.
  for (int i = 0; i < 100; ++i) paths.push_back(dir / ("many/new " + std::to_string(i)));
  const std::vector<bool> taken = native.PathsTaken({paths.begin(), paths.end()});
  int files = 0;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    struct stat info {};
    EXPECT_EQ(taken[i], !paths[i].empty() && ::lstat(paths[i].c_str(), &info) == 0) << paths[i];
    if (i >= keys.size()) continue;
    EXPECT_EQ(exist[i], native.FileExists(paths[i])) << paths[i];
    EXPECT_EQ(keys[i], native.FileKey(paths[i]).value_or("")) << paths[i];
    files += exist[i];
  }
  EXPECT_EQ(files, 100 + 7);
}

// The listing that gives FileKeys its inode numbers really answers for a folder of many
// files, with the keys stat() gives.
TEST(FileKeys, ListingGivesTheKeysOfAFolderOfManyFiles) {
  test::TempDir dir;
  std::vector<std::string> paths;
  for (int i = 0; i < 100; ++i) paths.push_back(dir.Touch("many/f" + std::to_string(i)));
  if (!posix::ListingsCarryInodes(dir / "many")) {
    GTEST_SKIP() << "the listings of " << dir / "many"
                 << " carry no inode numbers";
  }
  const std::vector<std::string> keys = posix::KeysFromListings({paths.begin(), paths.end()});
  ASSERT_EQ(keys.size(), paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(keys[i], NativeFileSystem().FileKey(paths[i]).value_or("(none)")) << paths[i];
  }
}

class RenameRaceTest : public RenameFixture {};

TEST_F(RenameRaceTest, TargetTakenBetweenPlanAndRenameIsNeverOverwritten) {
  IntrudingFileSystem intruding;
  for (int round = 0; round < 20; ++round) {
    state = MainState{};
    state.common_name = "r" + std::to_string(round);
    for (int i = 0; i < 30; ++i) Add(state.common_name + "-" + std::to_string(i), "", "");
    prompter.Yes().Yes();
    Button2Click(state, Context{prompter, intruding, Paths(), TextRules{}});
    for (int i = 0; i < 30; ++i) {
      const std::string old_name = state.common_name + "-" + std::to_string(i);
      EXPECT_EQ(dir.Read("files/" + old_name), old_name);
      EXPECT_EQ(dir.Read("files/" + state.common_name + " " + std::to_string(i + 1)), "intruder");
    }
    EXPECT_EQ(prompter.log.back().substr(0, 10), "inform 以");
  }
  EXPECT_EQ(intruding.intrusions, 20 * 30);
}

TEST_F(RenameRaceTest, FreeRunningCreatorNeverLosesAFile) {
  constexpr int kRows = 500;
  for (int round = 0; round < 4; ++round) {
    state = MainState{};
    state.common_name = "f" + std::to_string(round);
    std::vector<std::string> targets;
    for (int i = 0; i < kRows; ++i) {
      Add(state.common_name + "-" + std::to_string(i), "", "");
      targets.push_back(dir / ("files/" + state.common_name + " " + std::to_string(i + 1)));
    }
    std::atomic<bool> stop{false};
    std::atomic<int> created{0};
    std::thread intruder([&] {
      std::mt19937 random(static_cast<unsigned>(round));
      while (!stop) {
        const auto& target = targets[random() % targets.size()];
        if (CreateExclusive(target, "intruder")) ++created;
      }
    });
    prompter.Yes().No();
    Button2Click(state, MakeContext());
    stop = true;
    intruder.join();

    int intruders = 0;
    for (int i = 0; i < kRows; ++i) {
      const std::string old_name = state.common_name + "-" + std::to_string(i);
      const std::string target =
          dir.Read("files/" + state.common_name + " " + std::to_string(i + 1));
      intruders += target == "intruder";
      // The file is where it was or where it went, exactly once.
      EXPECT_EQ((target == old_name) + dir.Exists("files/" + old_name), 1) << old_name;
    }
    EXPECT_EQ(intruders, created.load());
  }
}

// A run in a child process, killed with SIGKILL; the undo then brings back what it moved.
class RenameCrashTest : public ::testing::Test {
 protected:
  static constexpr int kRows = 2000;

  void SetUp() override {
    state.common_name = "k";
    for (int i = 0; i < kRows; ++i) {
      const std::string name = "f" + std::to_string(i);
      state.list.AppendRow(dir.Touch("files/" + name, name), name, "", "");
    }
    plan = ComposeChanges(state.list, {state.common_name, 1, NameSettings{}}, TextRules{});
    expected_record = RestoreFileBytes(plan.changes);
  }

  Context ContextWith(Prompter& prompter) { return Context{prompter, native, paths, TextRules{}}; }

  /** Forks a run with a restore file; `in_child` runs first in the child (a self-kill). */
  pid_t StartRun(const std::function<void(test::ScriptedPrompter&)>& in_child = {}) {
    const pid_t child = ::fork();
    if (child == 0) {
      test::ScriptedPrompter child_prompter;
      child_prompter.Yes().Yes();
      if (in_child) in_child(child_prompter);
      Button2Click(state, ContextWith(child_prompter));
      ::_exit(0);
    }
    return child;
  }

  /** Rows under their new names; fails when a file is in neither place or in both. */
  int CountRenamed() {
    int renamed = 0;
    for (const RowChange& row : plan.changes) {
      const bool at_old = native.FileExists(std::string(row.old_path()));
      const bool at_new = native.FileExists(std::string(row.new_path()));
      EXPECT_EQ(at_old + at_new, 1) << row.old_path();
      renamed += at_new;
    }
    return renamed;
  }

  /** The one restore file of the run, checked complete; "" when the run wrote none. */
  std::string RestoreFile() {
    const std::string entries = dir.Exists("restore") ? dir.Listing("restore") : "";
    if (entries.empty()) return "";
    EXPECT_EQ(entries.find(' '), std::string::npos) << "more than the record: " << entries;
    const std::string path = dir / ("restore/" + entries);
    EXPECT_EQ(dir.Read("restore/" + entries).substr(0, expected_record.size()), expected_record);
    return path;
  }

  /** 元に戻す with the run's restore file, which is then removed; files brought back. */
  int UndoAndCount(const std::string& restore_path) {
    const int renamed = CountRenamed();
    test::ScriptedPrompter prompter;
    prompter.File(restore_path).Yes();
    Undo1Click(state, ContextWith(prompter));
    // A run killed before its first rename left nothing to give back: the record is invalid.
    const std::string last = renamed > 0 ? "inform 完了しました" : "error このファイルは無効です";
    EXPECT_EQ(prompter.log.back().rfind(last, 0), 0u) << prompter.log.back();
    EXPECT_EQ(::unlink(restore_path.c_str()), 0);
    const int left = CountRenamed();
    EXPECT_EQ(left, 0) << "rows left under their new names";
    for (const RowChange& row : plan.changes) {
      EXPECT_EQ(dir.Read(std::string(row.old_path().substr(dir.path().size()))),
                row.old_path().substr(row.old_path().rfind('/') + 1));
    }
    return renamed - left;
  }

  test::TempDir dir;
  MainState state;
  ProgramPaths paths = test::ProgramPathsIn(dir);
  ChangePlan plan;
  std::string expected_record;
  NativeFileSystem native;
};

// The run dies right after its 1,000th rename, before it can note what it did not do.
TEST_F(RenameCrashTest, KilledAfterHalfItsRenamesIsUndoneWhole) {
  const pid_t child = StartRun([](test::ScriptedPrompter& prompter) {
    prompter.OnProgress([](std::size_t done) {
      if (done == kRows / 2) ::raise(SIGKILL);
    });
  });
  ASSERT_GE(child, 0);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  ASSERT_EQ(CountRenamed(), kRows / 2);
  const std::string restore_path = RestoreFile();
  ASSERT_FALSE(restore_path.empty());
  EXPECT_EQ(UndoAndCount(restore_path), kRows / 2);
}

// Killed at a random moment, 30 times: every file is in one place, the record is complete
// before the first rename, and the undo brings back every file that moved.
TEST_F(RenameCrashTest, KilledAtRandomLeavesEveryFileOnceAndAnUndoThatBringsThemBack) {
  constexpr int kKills = 30;
  std::mt19937 random(20260307);
  std::map<std::string, int> stages;
  std::vector<std::string> figures;
  double full_run_ms = 0;

  for (int kill = -1; kill < kKills; ++kill) {
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = StartRun();
    ASSERT_GE(child, 0);
    int status = 0;
    if (kill < 0) {
      // The first run goes to its end and gives the span over which the kills fall.
      ::waitpid(child, &status, 0);
      full_run_ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
              .count();
      ASSERT_TRUE(WIFEXITED(status));
    } else {
      const auto delay = std::chrono::microseconds(
          std::uniform_int_distribution<long>(0, static_cast<long>(full_run_ms * 1100))(random));
      std::this_thread::sleep_until(started + delay);
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
    }

    const int renamed = CountRenamed();
    const std::string restore_path = RestoreFile();
    ASSERT_TRUE(renamed == 0 || !restore_path.empty()) << "renamed before the record";
    const int back = restore_path.empty() ? 0 : UndoAndCount(restore_path);
    ASSERT_EQ(back, renamed) << "after kill " << kill;
    if (kill < 0) continue;
    figures.push_back(std::to_string(renamed) + "→" + std::to_string(back));
    const char* stage = restore_path.empty() ? "before the record was written"
                        : renamed == 0       ? "record written, nothing renamed"
                        : renamed < kRows    ? "while renaming"
                                             : "after the last rename";
    ++stages[stage];
    // Runs get quicker once the files are cached; keep the kills inside the run.
    if (renamed == kRows) full_run_ms *= 0.8;
  }
  std::cout << "kills by stage:";
  for (const auto& [stage, count] : stages) std::cout << " [" << stage << ": " << count << "]";
  std::cout << "\nrenamed→brought back by the undo, per kill:";
  for (const std::string& figure : figures) std::cout << " " << figure;
  std::cout << "\n";
  RecordProperty("kills_while_renaming", stages["while renaming"]);
}

// The same kills on a FUSE disk (as cameras' cards are mounted) that comes back under
// another device before each undo: the files are known by their sizes and times.
TEST(RenameCrashOnFuse, KilledAtRandomThenMountedAgainIsUndoneWhole) {
  const auto shell = [](const std::string& command) {
    return std::system(("{ " + command + "; } >/dev/null 2>&1").c_str()) == 0;
  };
  if (::access("/dev/fuse", R_OK | W_OK) != 0 || !shell("command -v bindfs fusermount3")) {
    GTEST_SKIP() << "needs /dev/fuse, bindfs and fusermount3 to mount a FUSE file system";
  }
  test::TempDir dir;
  const std::string source = dir / "source";
  const std::string disk = dir / "files";
  const std::string spare = dir / "spare";
  for (const std::string& folder : {source, disk, spare}) std::filesystem::create_directory(folder);
  const auto mount = [&](const std::string& at) {
    return shell("bindfs '" + source + "' '" + at + "'");
  };
  const test::FuseMounts mounts{{disk, spare}};
  if (!mount(disk)) GTEST_SKIP() << "this machine mounts no FUSE file system";
  // Takes the device number the disk had, so that the disk comes back under another.
  const auto mount_again = [&] {
    shell("fusermount3 -u '" + spare + "'");
    shell("fusermount3 -u '" + disk + "'");
    mount(spare);
    return mount(disk);
  };
  constexpr int kRows = 300;
  constexpr int kKills = 20;
  MainState state;
  state.common_name = "k";
  for (int i = 0; i < kRows; ++i) {
    const std::string name = "f" + std::to_string(i);
    state.list.AppendRow(dir.Touch("files/" + name, name), name, "", "");
  }
  const ChangePlan plan =
      ComposeChanges(state.list, {state.common_name, 1, NameSettings{}}, TextRules{});
  const ProgramPaths paths = test::ProgramPathsIn(dir);
  NativeFileSystem native;
  // Rows under their new names; after the undo, each file is under its old name alone. A
  // kill between the link and the unlink of a rename by link (FUSE knows no
  // RENAME_NOREPLACE) leaves a file under both for a while.
  const auto count_renamed = [&](bool undone) {
    int renamed = 0;
    for (const RowChange& row : plan.changes) {
      const bool at_new = native.FileExists(std::string(row.new_path()));
      if (undone) {
        EXPECT_TRUE(native.FileExists(std::string(row.old_path()))) << row.old_path();
      }
      renamed += at_new;
    }
    return renamed;
  };
  std::mt19937 random(20261211);
  double full_run_ms = 0;
  int moved = 0;
  int stranded = 0;
  for (int kill = -1; kill < kKills; ++kill) {
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
      test::ScriptedPrompter prompter;
      prompter.Yes().Yes();
      Button2Click(state, Context{prompter, native, paths, TextRules{}});
      ::_exit(0);
    }
    ASSERT_GE(child, 0);
    int status = 0;
    if (kill < 0) {
      ::waitpid(child, &status, 0);
      full_run_ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
              .count();
    } else {
      std::this_thread::sleep_until(started +
                                    std::chrono::microseconds(std::uniform_int_distribution<long>(
                                        0, static_cast<long>(full_run_ms * 1100))(random)));
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
    }
    ASSERT_TRUE(mount_again());
    const int renamed = count_renamed(false);
    const std::string entries = dir.Exists("restore") ? dir.Listing("restore") : "";
    if (!entries.empty()) {
      const std::string record = dir / ("restore/" + entries);
      test::ScriptedPrompter prompter;
      prompter.File(record).Yes();
      Undo1Click(state, Context{prompter, native, paths, TextRules{}});
      ::unlink(record.c_str());
    }
    const int left = count_renamed(true);
    if (kill >= 0) {
      moved += renamed;
      stranded += left;
    }
    EXPECT_EQ(left, 0) << "after kill " << kill << ", " << renamed << " renamed";
  }
  std::cout << stranded << " of " << moved << " moved files stranded over " << kKills
            << " kills on a FUSE disk mounted again\n";
}

}  // namespace
}  // namespace zefa
