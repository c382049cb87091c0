// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "change/row_change.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zefa {
namespace {

// The one text of a reason: the platform's answers read as the undo meets them when the
// change gives back a recorded name, and as the run meets them otherwise.
TEST(ReasonText, SaysEachReasonForTheRunAndForTheUndo) {
  const struct {
    ChangeReason reason;
    ChangeStep step;
    int other_row;
    char found;
    const char* text;
  } cases[] = {
      {ChangeReason::kNone, ChangeStep::kWhole, -1, '\0', ""},
      {ChangeReason::kSeparatorInUnique, ChangeStep::kWhole, -1, '/',
       "固有ファイル名に使えない文字\"/\"が含まれています"},
      {ChangeReason::kHeldByListedFile, ChangeStep::kWhole, 4, '\0',
       "5 行目のファイルがまだこの名前を使っています"},
      {ChangeReason::kTargetExists, ChangeStep::kWhole, -1, '\0', "同名のファイルがあります"},
      {ChangeReason::kTargetExists, ChangeStep::kBack, -1, '\0', "元の名前のファイルがあります"},
      {ChangeReason::kSourceMissing, ChangeStep::kBack, -1, '\0', "見つかりません"},
      {ChangeReason::kRenameRefused, ChangeStep::kBack, -1, '\0', "名前を変更できません"},
  };
  for (const auto& c : cases) {
    RowChange change = ChangeOf("/p/a", "/p/b");
    change.step = c.step;
    change.other_row = c.other_row;
    change.found = c.found;
    MarkChange(change, ChangeStatus::kFailed, c.reason);
    EXPECT_EQ(ReasonText(change), c.text);
  }
  // The first reason found stays.
  RowChange change = ChangeOf("/p/a", "/p/b");
  MarkChange(change, ChangeStatus::kRefused, ChangeReason::kFileMissing);
  MarkChange(change, ChangeStatus::kWillFail, ChangeReason::kNameTaken);
  EXPECT_EQ(change.status, ChangeStatus::kRefused);
  EXPECT_EQ(change.reason, ChangeReason::kFileMissing);
}

TEST(FailureList, NamesTheFirstTwentyAndCountsTheRest) {
  std::vector<std::string> lines;
  for (int i = 0; i < 20; ++i) lines.push_back(std::to_string(i));
  EXPECT_EQ(FailureList("head", {}, 0), "");
  EXPECT_EQ(FailureList("head", {"a", "b"}, 2), "head\n\ra\n\rb");
  std::string twenty = "head";
  for (const std::string& line : lines) twenty += "\n\r" + line;
  EXPECT_EQ(FailureList("head", lines, 20), twenty);
  EXPECT_EQ(FailureList("head", lines, 25), twenty + "\n\r他5個");
}

TEST(PathStore, KeepsEveryTextInPlaceWhileItGrowsAndMoves) {
  PathStore store;
  std::vector<std::string_view> kept;
  std::vector<std::string> texts;
  for (int i = 0; i < 40000; ++i) texts.push_back("/photos/旅行 " + std::to_string(i) + ".jpg");
  texts.push_back(std::string(3u << 20, 'x'));  // longer than a block
  texts.push_back("");
  for (const std::string& text : texts) kept.push_back(store.Keep(text));
  const PathStore moved = std::move(store);
  for (std::size_t i = 0; i < texts.size(); ++i) ASSERT_EQ(kept[i], texts[i]) << i;
}

}  // namespace
}  // namespace zefa
