// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/presets.h"

#include <gtest/gtest.h>

#include "commands/settings_dialog_values.h"
#include "platform/command_error.h"
#include "temp_dir.h"

namespace zefa {
namespace {

class PresetsTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  NativeFileSystem file_system;
  ProgramPaths paths = test::ProgramPathsIn(dir);
};

TEST(PresetFileName, WritesWhatAFileNameCannotHoldAsHex) {
  const struct {
    std::string name;
    std::optional<std::string> file;
  } cases[] = {
      {"漫画 3 シリーズ", "漫画 3 シリーズ.ini"},
      {"a/b\\c:d", "a%2Fb%5Cc%3Ad.ini"},
      {"50%*?\"<>|", "50%25%2A%3F%22%3C%3E%7C.ini"},
      {".hidden.x", "%2Ehidden.x.ini"},
      {"..", "%2E..ini"},
      {"tab\there", "tab%09here.ini"},
      {"", std::nullopt},
      {std::string(252, 'a'), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PresetFileName(c.name), c.file) << c.name;
}

TEST_F(PresetsTest, APresetReadsBackWhateverItsName) {
  Preset preset;
  preset.naming.digits = 3;
  preset.naming.pattern = 5;
  preset.naming.space_between = false;
  preset.naming.strip_common_name = true;
  preset.naming.number_brackets = true;
  preset.naming.number_open = " (";
  preset.naming.number_close = ")";
  preset.naming.unique_brackets = true;
  preset.naming.unique_open = "[";
  preset.naming.unique_close = "]";
  preset.naming.folder_numbers = true;
  preset.naming.date_format = "%Y%m%d";
  preset.common_name = "ワンピース 第";
  preset.rule = {"^(\\d+)", "第$1話",           true, true, ReplaceTarget::kExtension, true,
                 true,      CaseChange::kLower, true};
  const std::string names[] = {"漫画/1巻", ".x", "a%2F"};
  for (const std::string& name : names) SavePreset(file_system, paths, name, preset);
  EXPECT_EQ(ListPresets(file_system, paths, TextRules{}),
            (std::vector<std::string>{".x", "a%2F", "漫画/1巻"}));
  for (const std::string& name : names) {
    const std::optional<Preset> read = LoadPreset(file_system, paths, name);
    ASSERT_TRUE(read) << name;
    EXPECT_EQ(read->common_name, preset.common_name);
    EXPECT_EQ(read->rule, preset.rule);
    EXPECT_EQ(read->naming.number_open, " (");
    EXPECT_EQ(read->naming.date_format, "%Y%m%d");
    EXPECT_EQ(read->naming.pattern, 5);
  }
  // The settings file's own format, in the key table's order.
  const std::string text = dir.Read("presets/%2Ex.ini");
  EXPECT_TRUE(text.starts_with("[Option]\nketa=3\npattern=5\nspace=0\n")) << text;
  EXPECT_NE(text.find("Num_aki=\" (\"\n"), std::string::npos);
  EXPECT_FALSE(LoadPreset(file_system, paths, "なし"));
  EXPECT_THROW(SavePreset(file_system, paths, std::string(300, 'x'), preset), CommandError);
}

TEST_F(PresetsTest, TheLastRuleFollowsTheKeysBeforeIt) {
  dir.Touch("ZeFa_oru.ini", "[Option]\nketa=2\nDate_format=%Y\n");
  SettingsFile settings(file_system, paths.settings_path);
  EXPECT_EQ(ReadLastRule(settings), ReplaceRule{});
  ReplaceRule rule{
      "旧", "新", false, true, ReplaceTarget::kUniqueName, false, true, CaseChange::kUpper, false};
  SaveLastRule(settings, rule);
  EXPECT_EQ(ReadLastRule(settings), rule);
  EXPECT_TRUE(dir.Read("ZeFa_oru.ini")
                  .starts_with("[Option]\nketa=2\nDate_format=%Y\nReplace_search=旧\n"));
  // A preset's naming settings reach the dialog's controls; the other two options stay.
  SettingsDialogValues values;
  values.update_check = false;
  Options naming;
  naming.digits = 9;
  naming.pattern = 12;
  naming.number_open = "<";
  values.ApplyPreset(naming);
  EXPECT_EQ(values.digits, 6);
  EXPECT_EQ(values.pattern, 1);
  EXPECT_EQ(values.number_open, "<");
  EXPECT_FALSE(values.update_check);
  EXPECT_EQ(values.Saved().number_open, "<");
}

}  // namespace
}  // namespace zefa
