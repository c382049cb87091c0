// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "commands/batch_replace_command.h"
#include "scripted_prompter.h"

namespace zefa {
namespace {

using test::ScriptedPrompter;
using Entries = std::vector<std::string>;

MainState ThreeRows() {
  MainState state;
  state.list.AppendRow("/pic/a.png", "a", ".png", "1");
  state.list.AppendRow("/pic/b.gif", "b", ".gif", "2");
  state.list.AppendRow("/pic/c", "c", "", "3");
  state.view.number.selected = 0;
  state.view.path.selected = 0;
  state.view.unique.selected = 2;
  state.view.extension.selected = 1;
  return state;
}

TEST(BatchReplace, ReplacesEveryRowOfTheChosenColumn) {
  struct Case {
    BatchTarget target;
    std::string text, field_after;
    Entries extensions, uniques;
  };
  const Entries kOldExtensions{".png", ".gif", ""};
  const Entries kOldUniques{"a", "b", "c"};
  const Case cases[] = {
      {BatchTarget::kExtension, "jpg", ".jpg", {".jpg", ".jpg", ".jpg"}, kOldUniques},
      {BatchTarget::kExtension, ".jpg", ".jpg", {".jpg", ".jpg", ".jpg"}, kOldUniques},
      {BatchTarget::kExtension,
       "tar.gz",
       ".tar.gz",
       {".tar.gz", ".tar.gz", ".tar.gz"},
       kOldUniques},
      {BatchTarget::kExtension, " Jpg ", ". Jpg ", {". Jpg ", ". Jpg ", ". Jpg "}, kOldUniques},
      {BatchTarget::kExtension, "", "", {"", "", ""}, kOldUniques},
      {BatchTarget::kUniqueName, "jpg", "jpg", kOldExtensions, {"jpg", "jpg", "jpg"}},
      {BatchTarget::kUniqueName, "海", "海", kOldExtensions, {"海", "海", "海"}},
      {BatchTarget::kUniqueName, "", "", kOldExtensions, {"", "", ""}},
  };
  for (const Case& c : cases) {
    MainState state = ThreeRows();
    ScriptedPrompter prompter;
    prompter.Yes();
    std::string field = c.text;
    EXPECT_TRUE(BatchReplace(state, prompter, CodePage::kUtf8, c.target, field)) << c.text;
    EXPECT_EQ(field, c.field_after);
    EXPECT_EQ(state.list.extension.entries, c.extensions) << c.text;
    EXPECT_EQ(state.list.unique.entries, c.uniques) << c.text;
    EXPECT_EQ(prompter.log, Entries{"warn 本当に一括置換を行いますか？"});
    // Rows stay in place and every column keeps its own selection.
    EXPECT_EQ(state.list.path.entries, (Entries{"/pic/a.png", "/pic/b.gif", "/pic/c"}));
    EXPECT_EQ(state.view.unique.selected, 2);
    EXPECT_EQ(state.view.extension.selected, 1);
    EXPECT_EQ(state.view.number.selected, 0);
  }
}

TEST(BatchReplace, DeclinedOrRefusedChangesNothing) {
  struct Case {
    bool answer;
    std::string text;
    Entries log;
  };
  const Case cases[] = {
      {false, "jpg", {"warn 本当に一括置換を行いますか？"}},
      {true,
       "a:b",
       {"warn 本当に一括置換を行いますか？", "beep error",
        "error 使えない文字\":\"が含まれています"}},
      {true,
       "x*",
       {"warn 本当に一括置換を行いますか？", "beep error",
        "error 使えない文字\"*\"が含まれています"}},
  };
  for (const BatchTarget target : {BatchTarget::kExtension, BatchTarget::kUniqueName}) {
    for (const Case& c : cases) {
      MainState state = ThreeRows();
      ScriptedPrompter prompter;
      if (c.answer)
        prompter.Yes();
      else
        prompter.No();
      std::string field = c.text;
      EXPECT_FALSE(BatchReplace(state, prompter, CodePage::kUtf8, target, field));
      EXPECT_EQ(field, c.text);
      EXPECT_EQ(state.list.extension.entries, (Entries{".png", ".gif", ""}));
      EXPECT_EQ(state.list.unique.entries, (Entries{"a", "b", "c"}));
      EXPECT_EQ(prompter.log, c.log);
    }
  }
}

TEST(BatchReplace, EmptyListClosesWithoutADotInTheField) {
  MainState state;
  ScriptedPrompter prompter;
  prompter.Yes();
  std::string field = "jpg";
  EXPECT_TRUE(BatchReplace(state, prompter, CodePage::kUtf8, BatchTarget::kExtension, field));
  EXPECT_EQ(field, "jpg");
  EXPECT_TRUE(state.list.empty());
}

TEST(BatchReplace, ShiftJisTrailByteIsNoBackslash) {
  MainState state = ThreeRows();
  ScriptedPrompter prompter;
  prompter.Yes();
  std::string field = "\x83\x5c";  // ソ in code page 932
  EXPECT_TRUE(BatchReplace(state, prompter, CodePage::kShiftJis, BatchTarget::kUniqueName, field));
  EXPECT_EQ(state.list.unique.entries, (Entries{"\x83\x5c", "\x83\x5c", "\x83\x5c"}));
}

}  // namespace
}  // namespace zefa
