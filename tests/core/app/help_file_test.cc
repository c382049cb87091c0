// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "scripted_prompter.h"
#include "startup/help_command.h"
#include "temp_dir.h"

namespace zefa {
namespace {

using test::ScriptedPrompter;
using test::TempDir;
using Lines = std::vector<std::string>;

const std::string kManual = "<!DOCTYPE html><html><body>ZeFa Oru の使い方</body></html>\n";

TEST(HelpFileTest, NoHelpFileBeepsAndSaysSo) {
  TempDir dir;
  dir.Touch("program/HELP.HLP.txt");
  dir.Touch("data/help.hlp/inside");  // a folder of that name is no help file
  NativeFileSystem file_system;
  ScriptedPrompter prompter;
  const HelpPlaces places{{dir / "program/", dir / "data/", "", dir / "missing/"}, dir / "view/"};

  EXPECT_EQ(PrepareHelp(prompter, file_system, places), std::nullopt);
  EXPECT_EQ(prompter.log,
            (Lines{"beep error", "inform ヘルプファイル\"HELP.HLP\"が存在しません。"}));
  EXPECT_FALSE(dir.Exists("view"));
}

TEST(HelpFileTest, FirstFolderHoldingItWins) {
  TempDir dir;
  dir.Touch("data/help.hlp", kManual);
  dir.Touch("current/help.hlp", "older manual");
  NativeFileSystem file_system;
  EXPECT_EQ(FindHelpFile(file_system, {dir / "program/", dir / "data/", dir / "current/"}),
            dir / "data/help.hlp");
  EXPECT_EQ(FindHelpFile(file_system, {dir / "current/", dir / "data/"}), dir / "current/help.hlp");
}

TEST(HelpFileTest, DesktopGetsAnHtmlCopy) {
  TempDir dir;
  dir.Touch("program/help.hlp", kManual);
  dir.Touch("cache/zefa/help.html", "a copy from an earlier version");
  NativeFileSystem file_system;
  ScriptedPrompter prompter;
  const HelpPlaces places{{dir / "program/"}, dir / "cache/zefa/"};

  EXPECT_EQ(PrepareHelp(prompter, file_system, places), dir / "cache/zefa/help.html");
  EXPECT_EQ(dir.Read("cache/zefa/help.html"), kManual);
  EXPECT_TRUE(prompter.log.empty());

  // A view folder that does not exist yet is made.
  EXPECT_EQ(PrepareHelp(prompter, file_system, {{dir / "program/"}, dir / "new/view/"}),
            dir / "new/view/help.html");
  EXPECT_EQ(dir.Read("new/view/help.html"), kManual);
}

TEST(HelpFileTest, WithoutAPlaceForTheCopyTheHelpFileItselfIsOpened) {
  TempDir dir;
  dir.Touch("program/help.hlp", kManual);
  dir.Touch("blocked", "a file where the view folder should be");
  NativeFileSystem file_system;
  ScriptedPrompter prompter;

  EXPECT_EQ(PrepareHelp(prompter, file_system, {{dir / "program/"}, dir / "blocked/"}),
            dir / "program/help.hlp");
  EXPECT_EQ(PrepareHelp(prompter, file_system, {{dir / "program/"}, ""}), dir / "program/help.hlp");
  EXPECT_TRUE(prompter.log.empty());
}

}  // namespace
}  // namespace zefa
