// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/run_simulation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "commands/preview_command.h"
#include "commands/rename_command.h"
#include "rename_test_support.h"
#include "run/rename_execution.h"

namespace zefa {
namespace {

using test::RenameFixture;
using Lines = std::vector<std::string>;

// The cases a user meets: rows that get one name, a name taken by another file, a
// renumbering whose targets are still held by the next rows, a chain, a name too long.
struct Case {
  const char* name;
  const char* settings;
  const char* common_name;
  int start_number;
  std::vector<std::string> files;        // listed, in order: the name, the unique name
  std::vector<std::string> other_files;  // in the same folder, not listed
  Lines reasons;                         // per row, "" for a row that is renamed
};

std::vector<Case> IssueCases() {
  const std::string long_name(300, 'x');
  return {
      {"FiveRowsOneName",
       "pattern=8\n",
       "旅行",
       1,
       {"a.jpg", "", "b.jpg", "", "c.jpg", "", "d.jpg", "", "e.jpg", ""},
       {},
       {"", "1 行目と同じ名前になります", "1 行目と同じ名前になります",
        "1 行目と同じ名前になります", "1 行目と同じ名前になります"}},
      {"TakenTarget",
       "",
       "旅行",
       1,
       {"DSC01.jpg", "", "DSC02.jpg", "", "DSC03.jpg", ""},
       {"旅行 2.jpg"},
       {"", "同名のファイルがあります", ""}},
      {"RenumberFromTwo",
       "keta=3\n",
       "旅行",
       2,
       {"旅行 001.jpg", "", "旅行 002.jpg", "", "旅行 003.jpg", ""},
       {},
       {"2 行目のファイルがまだこの名前を使っています",
        "3 行目のファイルがまだこの名前を使っています", ""}},
      {"ChainInListOrder",
       "pattern=8\nspace=0\n",
       "",
       1,
       {"a", "b", "b", "c"},
       {},
       {"2 行目のファイルがまだこの名前を使っています", ""}},
      {"NameTooLong",
       "pattern=8\n",
       "x",
       1,
       {"a.jpg", long_name, "b.jpg", "b"},
       {},
       {"名前が長すぎます", ""}},
      {"UnchangedRowIsDone",
       "pattern=8\nspace=0\n",
       "",
       1,
       {"a", "a", "b", "a"},
       {},
       {"", "1 行目のファイルがまだこの名前を使っています"}},
  };
}

class PreviewMarksTest : public RenameFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(PreviewMarksTest, MarksTheRowsThatTheRunReports) {
  const Case& c = GetParam();
  Settings(c.settings);
  state.common_name = c.common_name;
  state.start_number = c.start_number;
  for (std::size_t i = 0; i + 1 < c.files.size(); i += 2) {
    const std::size_t dot = c.files[i].rfind('.');
    Add(c.files[i], c.files[i + 1], dot == std::string::npos ? "" : c.files[i].substr(dot));
  }
  for (const std::string& other : c.other_files) dir.Touch("files/" + other);

  const auto preview = BuildPreview(state, MakeContext());
  ASSERT_TRUE(preview);
  Lines reasons;
  std::string report;
  int failing = 0;
  for (int row = 0; row < preview->size(); ++row) {
    reasons.push_back(preview->FailureReasonText(row));
    EXPECT_EQ(preview->WillFail(row), !reasons.back().empty());
    if (preview->WillFail(row)) {
      report += "\n\r" + state.list.path.entries[static_cast<std::size_t>(row)];
      ++failing;
    }
  }
  EXPECT_EQ(reasons, c.reasons);
  EXPECT_EQ(preview->FailureCountText(),
            failing == 0 ? "" : "リネームできないファイル: " + std::to_string(failing) + " 個");

  prompter.Yes().No();
  Button2Click(state, MakeContext());
  // A name too long stops the run before anything is renamed.
  const auto too_long = std::find(reasons.begin(), reasons.end(), "名前が長すぎます");
  const Lines expected_end =
      too_long != reasons.end()
          ? Lines{"error 次のファイルの新しい名前が長すぎます。実行を中止します。\n\r" +
                  state.list.path.entries[static_cast<std::size_t>(too_long - reasons.begin())]}
      : failing == 0 ? Lines{"inform 完了しました。"}
                     : Lines{"inform 完了しました。",
                             "inform 以下のファイルのリネームに失敗しました" + report};
  EXPECT_EQ(test::LogFrom(prompter, prompter.log.size() - expected_end.size()), expected_end);
}

INSTANTIATE_TEST_SUITE_P(IssueCases, PreviewMarksTest, ::testing::ValuesIn(IssueCases()),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

// Rows the run refuses before it renames anything: the preview names each with its
// reason and says that the run will not start; the run stops with its own box.
TEST_F(RenameFixture, PreviewSeesEveryRowTheRunRefuses) {
  const std::string kGoneLine = "\n\r見つからないファイルがあるため、リネームを開始できません";
  const std::string kNameLine = "\n\r使えない名前があるため、リネームを開始できません";
  const struct {
    const char* name;
    const char* settings;
    const char* common_name;
    void (*change)(test::TempDir& dir);  // after the files are listed
    Lines reasons;
    std::string last_line;  // of the count text
    std::string box;        // the run's error box, before the refused row's path
  } cases[] = {
      {"Deleted",
       "",
       "x",
       [](test::TempDir& d) { std::remove((d / "files/b.jpg").c_str()); },
       {"", "ファイルが見つかりません", ""},
       kGoneLine,
       "error 次のファイルが存在しません。実行を中止します。\n\r"},
      {"FolderInItsPlace",
       "",
       "x",
       [](test::TempDir& d) {
         std::remove((d / "files/b.jpg").c_str());
         ::mkdir((d / "files/b.jpg").c_str(), 0700);
       },
       {"", "ファイルではないものに変わっています", ""},
       kGoneLine,
       "error 次のファイルが存在しません。実行を中止します。\n\r"},
      {"NoUniqueName",
       "pattern=8\n",
       "",
       nullptr,
       {"", "固有ファイル名がありません", ""},
       kNameLine,
       "error ファイル名を入力して下さい\n\r"},
      {"SlashInUniqueName",
       "",
       "x",
       nullptr,
       {"", "固有ファイル名に使えない文字\"/\"が含まれています", ""},
       kNameLine,
       "error 2番のファイルの固有名に使えない文字\"/\"が含まれています\n\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state = MainState{};
    prompter.log.clear();
    Settings(c.settings);
    state.common_name = c.common_name;
    Add("a.jpg", "a", ".jpg");
    const std::string b = Add("b.jpg", c.change == nullptr ? "b/c" : "b", ".jpg");
    if (std::string(c.name) == "NoUniqueName") state.list.unique.entries[1].clear();
    Add("c.jpg", "c", ".jpg");
    if (c.change != nullptr) c.change(dir);

    const auto preview = BuildPreview(state, MakeContext());
    ASSERT_TRUE(preview);
    Lines reasons;
    for (int row = 0; row < preview->size(); ++row)
      reasons.push_back(preview->FailureReasonText(row));
    EXPECT_EQ(reasons, c.reasons);
    EXPECT_EQ(preview->FailureCountText(), "リネームできないファイル: 1 個" + c.last_line);

    prompter.Yes();
    Button2Click(state, MakeContext());
    EXPECT_EQ(prompter.log.back(), c.box + b);
    EXPECT_EQ(Files().find("x "), std::string::npos);
    ::rmdir((dir / "files/b.jpg").c_str());
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
      std::remove((dir / (std::string("files/") + name)).c_str());
    }
  }
}

// After a run the list keeps the old paths: a second preview says that the files are gone,
// not that their new names are taken.
// The rows follow their files: the same preview after the run renames nothing more.
TEST_F(RenameFixture, PreviewAfterARunFindsTheFilesWhereTheyAre) {
  state.common_name = "x";
  for (const char* name : {"a.jpg", "b.jpg"}) Add(name, "", ".jpg");
  prompter.Yes().No();
  Button2Click(state, MakeContext());
  ASSERT_EQ(Files(), "x 1.jpg x 2.jpg");
  const auto preview = BuildPreview(state, MakeContext());
  ASSERT_TRUE(preview);
  for (int row = 0; row < preview->size(); ++row) {
    EXPECT_EQ(preview->FailureReasonText(row), "");
    EXPECT_EQ(preview->After(row), preview->Before(row, false));
  }
}

// The line that warns of numbers wider than the digit setting, before the run.
TEST_F(RenameFixture, PreviewSaysWhenNumbersOutgrowTheirDigits) {
  const struct {
    const char* settings;
    int start_number;
    int rows;
    const char* expected;
  } cases[] = {
      {"keta=4\n", 9999, 2, "連番が桁数を超えます\n\r（10000 は 5 桁）"},
      {"keta=4\n", 9998, 2, ""},
      {"", 1, 10, "連番が桁数を超えます\n\r（10 は 2 桁）"},
      {"keta=2\n", 1, 10, ""},
      {"keta=7\n", 5, 10, "連番が桁数を超えます\n\r（14 は 2 桁）"},  // pads nothing
      {"keta=3\npattern=8\n", 999, 2, ""},                            // no number in the names
  };
  for (const auto& c : cases) {
    Settings(c.settings);
    state = MainState{};
    state.common_name = "x";
    state.start_number = c.start_number;
    for (int i = 0; i < c.rows; ++i) state.list.AppendRow("/p/" + std::to_string(i), "", "", "");
    const auto preview = BuildPreview(state, MakeContext());
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->DigitsText(), c.expected) << c.settings << c.start_number;
  }
}

// Random plans played through the simulation and then through the real run on real files:
// chains, cycles, duplicates, names held by other files or folders, unchanged rows and
// names that no file may have. The marks must be the failures, row for row.
TEST(PlayThrough, PredictsEveryFailureOfTheRun) {
  std::mt19937 random(12);
  const auto pick = [&](std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
  };
  NativeFileSystem file_system;
  test::TempDir top;
  for (int round = 0; round < 300; ++round) {
    const std::string dir = top / std::to_string(round) + "/";
    ::mkdir(dir.c_str(), 0700);
    const auto in_dir = [&](const std::string& name) { return dir + name; };
    // Every 40th list is long enough for the file system to read the folder's listing.
    const std::size_t names = round % 40 == 0 ? 150 : 2 + pick(9);
    std::vector<std::string> pool;
    for (std::size_t i = 0; i < names; ++i) pool.push_back(in_dir("f" + std::to_string(i)));
    std::vector<std::string> targets = pool;
    targets.push_back(in_dir(std::string(256, 'L')));
    targets.push_back(in_dir(std::string(255, 'M')));
    targets.push_back(in_dir("."));
    targets.push_back(dir);
    targets.push_back(in_dir(std::string("n\0ul", 4)));
    targets.push_back(in_dir("folder"));
    ::mkdir(targets.back().c_str(), 0700);

    ChangePlan changes;
    std::vector<RowChange>& plan = changes.changes;
    for (const std::string& path : pool) {
      const std::size_t roll = pick(10);
      if (roll < 6) {
        top.Touch(path.substr(top.path().size()));
        plan.push_back(ChangeOf(path, pick(12) == 0 ? targets[names + pick(targets.size() - names)]
                                                    : pool[pick(names)]));
      } else if (roll < 8) {
        top.Touch(path.substr(top.path().size()));  // another file, not listed
      }
    }
    std::shuffle(plan.begin(), plan.end(), random);

    for (std::size_t row = 0; row < plan.size(); ++row) plan[row].row = static_cast<int>(row);

    PlayThrough(changes, file_system, TextRules{});
    const std::vector<RowChange> predicted = plan;
    ExecuteChanges(plan, file_system);
    ASSERT_EQ(predicted.size(), plan.size());
    for (std::size_t row = 0; row < plan.size(); ++row) {
      const ChangeReason reason = predicted[row].reason;
      SCOPED_TRACE("round " + std::to_string(round) + " row " + std::to_string(row) + ": " +
                   std::string(plan[row].old_path()) + " -> " + std::string(plan[row].new_path()));
      EXPECT_EQ(reason != ChangeReason::kNone, plan[row].status == ChangeStatus::kFailed);
      if (reason == ChangeReason::kNameTaken || reason == ChangeReason::kHeldByListedFile ||
          reason == ChangeReason::kSameNewPath) {
        EXPECT_EQ(plan[row].reason, ChangeReason::kTargetExists);
      }
    }
  }
}

}  // namespace
}  // namespace zefa
