// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/new_names.h"
#include "commands/preview_command.h"
#include "commands/rename_command.h"
#include "names/name_tokens.h"
#include "rename_test_support.h"
#include "run/run_checks.h"

namespace zefa::name_tokens_run_test {

using test::RenameFixture;
using Lines = std::vector<std::string>;

struct ExpandCase {
  const char* common_name;
  const char* path;
  const char* expected;
  bool lacking;
};

// What each row's common name becomes from its path alone.
TEST(ExpandCommonNames, FillsFolderTokensAndKeepsEverythingElse) {
  const ExpandCase cases[] = {
      {"{フォルダ名}", "/m/漫画/作者 題/第1巻.zip", "作者 題", false},
      {"{親フォルダ名}-{フォルダ名}", "/m/漫画/作者 題/第1巻.zip", "漫画-作者 題", false},
      {"{{フォルダ名}} {{", "/m/a/x", "{フォルダ名} {", false},
      {"{不明}_{フォルダ名}", "/m/a/x", "{不明}_a", false},
      {"a{フォルダ名", "/m/a/x", "a{フォルダ名", false},
      {"}{親フォルダ名}", "/x", "}", true},
      {"{撮影日時:%Y}{機種}", "/m/a/x.jpg", "", true},  // nothing read: empty, said so
      {"旅行", "/m/a/x", "旅行", false},
  };
  for (const ExpandCase& c : cases) {
    RenameList list;
    list.AppendRow(c.path, "u", "", c.path);
    const std::optional<CommonNames> names =
        ExpandCommonNames(list, c.common_name, {}, TextRules{});
    ASSERT_TRUE(names);
    EXPECT_EQ(names->Of(0), c.expected) << c.common_name;
    EXPECT_EQ(!names->LackingText(0).empty(), c.lacking) << c.common_name;
  }
  EXPECT_EQ(UnknownTokensText("{不明}{フォルダ名}{不明}{x:y}", CodePage::kUtf8),
            "「{不明}」「{x:y}」は使える項目ではありません（そのまま名前になります）");
  EXPECT_EQ(UnknownTokensText("{フォルダ名}{{x}}", CodePage::kUtf8), "");
}

class NameTokensRun : public RenameFixture {
 protected:
  void Run() { Button2Click(state, MakeContext()); }
};

// Three series of a comic collection, one folder each, numbered per folder in one run.
TEST_F(NameTokensRun, NamesAComicCollectionByItsFoldersInOneRun) {
  Settings("keta=2\npattern=1\nFolder_rendo=1\n");
  const std::vector<std::string> series = {"作者A 空の記録", "作者B 海の話", "作者C 山の歌"};
  for (const std::string& folder : series) {
    for (int volume = 1; volume <= 12; ++volume) {
      const std::string name = "第" + std::to_string(volume) + "巻";
      const std::string path = dir.Touch("漫画/" + folder + "/" + name + ".zip", name);
      state.list.AppendRow(path, name, ".zip", "");
    }
  }
  state.common_name = "{フォルダ名}";
  prompter.Yes().Yes();
  Run();

  for (const std::string& folder : series) {
    std::string expected;
    for (int volume = 1; volume <= 12; ++volume) {
      const std::string number = std::to_string(volume);
      expected += (volume > 1 ? " " : "") + folder + " " + (volume < 10 ? "0" : "") + number +
                  " 第" + number + "巻.zip";
    }
    EXPECT_EQ(dir.Listing("漫画/" + folder), expected);
  }
  EXPECT_EQ(dir.Read("漫画/作者B 海の話/作者B 海の話 12 第12巻.zip"), "第12巻");
  // The restore file holds the names the files were given.
  const std::string record = dir.Read(std::string("restore/") + test::kRestoreName);
  EXPECT_NE(record.find("\n35=" + dir.path() + "漫画/作者C 山の歌/作者C 山の歌 12 第12巻.zip\n"),
            std::string::npos);
}

// The new-name column fills each row's tokens as the run does, and marks the row whose
// folder holds a forbidden character.
TEST_F(NameTokensRun, TheNewNameColumnFillsEachRowsTokens) {
  Settings("pattern=8\n");
  const std::string good = dir.Touch("files/ok/x.txt", "x");
  const std::string bad = dir.Touch("files/a:b/y.txt", "y");
  state.list.AppendRow(good, "x", ".txt", "");
  state.list.AppendRow(bad, "y", ".txt", "");
  const Context context = MakeContext();
  const NewNameRequest request = ReadNewNameRequest("{フォルダ名}", 1, context);
  const SerialNumbers numbers(state.list, request.settings.folder_numbers, context.rules);
  PathStore paths;
  EXPECT_EQ(NewFileName(state.list, 0, request, numbers, context.rules, paths), "ok x.txt");
  EXPECT_EQ(NewFileName(state.list, 1, request, numbers, context.rules, paths), "a:b y.txt");
  EXPECT_EQ(CommonNameRefusal(request, context.rules), "");
  const NewNameReasons reasons =
      CheckNewNames(state.list, request, context.file_system, context.rules);
  EXPECT_EQ(ReasonOf(reasons, 0), "");
  EXPECT_NE(ReasonOf(reasons, 1), "");
}

TEST_F(NameTokensRun, RefusesTheRowWhoseFolderHoldsAForbiddenCharacter) {
  Settings("pattern=8\n");
  const std::string good = dir.Touch("files/ok/x.txt", "x");
  const std::string bad = dir.Touch("files/a:b/y.txt", "y");
  state.list.AppendRow(good, "x", ".txt", "");
  state.list.AppendRow(bad, "y", ".txt", "");
  state.common_name = "{フォルダ名}";

  const std::optional<Preview> preview = BuildPreview(state, MakeContext());
  ASSERT_TRUE(preview);
  EXPECT_FALSE(preview->WillFail(0));
  EXPECT_EQ(preview->After(0), "ok x.txt");
  EXPECT_TRUE(preview->WillFail(1));
  EXPECT_EQ(preview->FailureReasonText(1), "共通ファイル名に使えない文字\":\"が含まれています");

  prompter.Yes();
  Run();
  EXPECT_EQ(prompter.log, (Lines{"beep warning", "confirm 本当に実行しますか？", "beep error",
                                 "error 使えない文字\":\"が含まれています\n\r" + bad}));
  EXPECT_EQ(dir.Listing("files/ok"), "x.txt");
  EXPECT_EQ(dir.Listing("files/a:b"), "y.txt");
}

// The common name's own text is checked as before; a ":" inside a token is its format.
TEST_F(NameTokensRun, ChecksTheTypedTextOutsideTheTokens) {
  Settings("pattern=8\n");
  state.list.AppendRow(dir.Touch("files/d/x.txt", "x"), "x", ".txt", "");
  state.common_name = "{撮影日時:%Y}*";
  EXPECT_FALSE(BuildPreview(state, MakeContext()));
  EXPECT_EQ(prompter.log, (Lines{"beep error", "error 使えない文字\"*\"が含まれています"}));
  state.common_name = "{撮影日時:%H:%M}{フォルダ名}";
  const std::optional<Preview> preview = BuildPreview(state, MakeContext());
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->After(0), "d x.txt");
  EXPECT_EQ(preview->LackingText(0), "「{撮影日時:%H:%M}」にあたる情報がないため、空にしました");
}

}  // namespace zefa::name_tokens_run_test
