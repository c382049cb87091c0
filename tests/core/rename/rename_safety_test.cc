// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "commands/rename_command.h"
#include "platform/native_rename_posix.h"
#include "rename_test_support.h"
#include "renaming/restore_file.h"
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
  RenameOutcome RenameNoReplace(const std::string& from, const std::string& to) override {
    if (CreateExclusive(to, "intruder")) ++intrusions;
    return NativeFileSystem::RenameNoReplace(from, to);
  }
  std::vector<RenameOutcome> RenameEachNoReplace(const std::vector<RenamePair>& pairs,
                                                 const KeepGoing& /*keep_going*/) override {
    std::vector<RenameOutcome> outcomes;
    for (const RenamePair& pair : pairs) {
      if (CreateExclusive(*pair.to, "intruder")) ++intrusions;
      outcomes.push_back(NativeFileSystem::RenameEachNoReplace({pair})[0]);
    }
    return outcomes;
  }
  int intrusions = 0;
};

TEST(RenameNoReplace, EveryWayRefusesATakenName) {
  NativeFileSystem native;
  const std::map<std::string, std::function<RenameOutcome(const std::string&, const std::string&)>>
      ways = {
          {"renameat2", [&](const std::string& f,
                            const std::string& t) { return native.RenameNoReplace(f, t); }},
          {"batch",
           [&](const std::string& f, const std::string& t) {
             return native.RenameEachNoReplace({{&f, &t}}).at(0);
           }},
          {"link", posix::RenameByLink},
          {"reservation", posix::RenameByReservation},
      };
  for (const auto& [name, rename] : ways) {
    test::TempDir dir;
    const std::string from = dir.Touch("from", "from");
    const std::string taken = dir.Touch("taken", "taken");
    EXPECT_EQ(rename(from, taken), RenameOutcome::kTargetExists) << name;
    EXPECT_EQ(dir.Read("from"), "from") << name;
    EXPECT_EQ(dir.Read("taken"), "taken") << name;
    EXPECT_EQ(rename(dir / "missing", dir / "free"), RenameOutcome::kSourceMissing) << name;
    EXPECT_FALSE(dir.Exists("free")) << name;
    EXPECT_EQ(rename(from, dir / "no folder/x"), RenameOutcome::kFailed) << name;
    EXPECT_EQ(rename(from, dir / "to"), RenameOutcome::kDone) << name;
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

// The folder listing behind FilesExist gives the answers of FileExists, row by row.
TEST(FilesExist, AgreesWithFileExists) {
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
  NativeFileSystem native;
  const std::vector<bool> exist = native.FilesExist(paths);
  ASSERT_EQ(exist.size(), paths.size());
  int files = 0;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(exist[i], native.FileExists(paths[i])) << paths[i];
    files += exist[i];
  }
  EXPECT_EQ(files, 100 + 7);
}

class RenameRaceTest : public RenameFixture {};

TEST_F(RenameRaceTest, TargetTakenBetweenPlanAndRenameIsNeverOverwritten) {
  IntrudingFileSystem intruding;
  for (int round = 0; round < 20; ++round) {
    state = MainState{};
    state.edit2 = "r" + std::to_string(round);
    for (int i = 0; i < 30; ++i) Add(state.edit2 + "-" + std::to_string(i), "", "");
    prompter.Yes().Yes();
    Button2Click(state, Context{prompter, intruding, Paths(), TextRules{}});
    for (int i = 0; i < 30; ++i) {
      const std::string old_name = state.edit2 + "-" + std::to_string(i);
      EXPECT_EQ(dir.Read("files/" + old_name), old_name);
      EXPECT_EQ(dir.Read("files/" + state.edit2 + " " + std::to_string(i + 1)), "intruder");
    }
    EXPECT_EQ(prompter.log.back().substr(0, 10), "inform 以");
  }
  EXPECT_EQ(intruding.intrusions, 20 * 30);
}

TEST_F(RenameRaceTest, FreeRunningCreatorNeverLosesAFile) {
  constexpr int kRows = 500;
  for (int round = 0; round < 4; ++round) {
    state = MainState{};
    state.edit2 = "f" + std::to_string(round);
    std::vector<std::string> targets;
    for (int i = 0; i < kRows; ++i) {
      Add(state.edit2 + "-" + std::to_string(i), "", "");
      targets.push_back(dir / ("files/" + state.edit2 + " " + std::to_string(i + 1)));
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
      const std::string old_name = state.edit2 + "-" + std::to_string(i);
      const std::string target = dir.Read("files/" + state.edit2 + " " + std::to_string(i + 1));
      intruders += target == "intruder";
      // The file is where it was or where it went, exactly once.
      EXPECT_EQ((target == old_name) + dir.Exists("files/" + old_name), 1) << old_name;
    }
    EXPECT_EQ(intruders, created.load());
  }
}

// A child process renames 2,000 files with a restore file and is killed at a random moment.
TEST(RenameCrashTest, KilledRunLeavesEveryFileOnceAndACompleteRecord) {
  constexpr int kRows = 2000;
  constexpr int kKills = 30;
  std::mt19937 random(20260307);
  std::map<std::string, int> stages;
  double full_run_ms = 0;

  test::TempDir dir;
  MainState state;
  state.edit2 = "k";
  for (int i = 0; i < kRows; ++i) {
    const std::string name = "f" + std::to_string(i);
    state.list.AppendRow(dir.Touch("files/" + name, name), name, "", "");
  }
  ProgramPaths paths;
  paths.settings_path = dir / "ZeFa_oru.ini";
  paths.restore_folder = dir / "restore";
  const auto plan = BuildRenamePlan(state.list, state.edit2, 1, NameSettings{}, TextRules{});
  const std::string expected_record = RestoreFileBytes(plan);
  NativeFileSystem native;

  for (int kill = -1; kill < kKills; ++kill) {
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      test::ScriptedPrompter child_prompter;
      child_prompter.Yes().Yes();
      Button2Click(state, Context{child_prompter, native, paths, TextRules{}});
      ::_exit(0);
    }
    if (kill < 0) {
      // The first run goes to its end and gives the span over which the kills fall.
      int status = 0;
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
      int status = 0;
      ::waitpid(child, &status, 0);
    }

    int renamed = 0;
    for (const PlannedRename& row : plan) {
      const bool at_old = native.FileExists(row.old_path);
      const bool at_new = native.FileExists(row.new_path);
      ASSERT_EQ(at_old + at_new, 1) << row.old_path << " after kill " << kill;
      renamed += at_new;
    }
    const std::string restore_entries = dir.Exists("restore") ? dir.Listing("restore") : "";
    if (renamed > 0) {
      ASSERT_FALSE(restore_entries.empty()) << "renamed before the record";
    }
    if (!restore_entries.empty()) {
      // One complete record and nothing half-written beside it.
      ASSERT_EQ(restore_entries.find(' '), std::string::npos) << restore_entries;
      ASSERT_EQ(restore_entries.substr(restore_entries.size() - 5), ".zefa");
      ASSERT_EQ(dir.Read("restore/" + restore_entries).substr(0, expected_record.size()),
                expected_record);
      ASSERT_EQ(::unlink((dir / ("restore/" + restore_entries)).c_str()), 0);
    }
    // Back to the start for the next kill.
    for (const PlannedRename& row : plan) {
      if (native.FileExists(row.new_path)) {
        ASSERT_EQ(native.RenameNoReplace(row.new_path, row.old_path), RenameOutcome::kDone);
      }
    }
    if (kill < 0) continue;
    const char* stage = restore_entries.empty() ? "before the record was written"
                        : renamed == 0          ? "record written, nothing renamed"
                        : renamed < kRows       ? "while renaming"
                                                : "after the last rename";
    ++stages[stage];
    // Runs get quicker once the files are cached; keep the kills inside the run.
    if (renamed == kRows) full_run_ms *= 0.8;
  }
  std::cout << "kills by stage:";
  for (const auto& [stage, count] : stages) std::cout << " [" << stage << ": " << count << "]";
  std::cout << "\n";
  RecordProperty("kills_while_renaming", stages["while renaming"]);
}

}  // namespace
}  // namespace zefa
