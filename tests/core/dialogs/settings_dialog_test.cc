// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "commands/main_state.h"
#include "commands/settings_dialog_values.h"
#include "dialog_test_support.h"
#include "platform/command_error.h"

namespace zefa {
namespace {

using test::DialogWorld;

constexpr const char* kUntouchedSave =
    "[Option]\n"
    "keta=1\n"
    "pattern=1\n"
    "space=1\n"
    "when_add=0\n"
    "Num_kakko=0\n"
    "UpdateCheck=1\n"
    "UpDownButton_rendo=1\n"
    "Num_aki=[\n"
    "Num_toji=]\n"
    "Koyu_kakko=0\n"
    "koyu_aki=「\n"
    "koyu_toji=」\n"
    "Folder_rendo=0\n"
    "Date_format=%Y-%m-%d %H.%M.%S\n"
    "Restore_always=0\n";

TEST(SettingsDialogExample, DigitsExampleFollowsTheDigitCount) {
  const std::pair<const char*, const char*> cases[] = {
      {"1", "いまの桁数（1 桁）では 1→1  20→20"},
      {"2", "いまの桁数（2 桁）では 1→01  20→20"},
      {"3", "いまの桁数（3 桁）では 1→001  20→020"},
      {"9", "いまの桁数（6 桁）では 1→000001  20→000020"},
  };
  for (const auto& [spin, example] : cases) {
    SettingsDialogValues values;
    values.digits = SpinValueOfText(spin);
    EXPECT_EQ(values.DigitsExample(), example) << spin;
  }
}

TEST(SettingsDialogExample, PadsTheNumberAndWrapsItInTheBrackets) {
  struct Case {
    std::string spin, open, close, example;
  };
  const Case cases[] = {
      {"1", "(", ")", "(1)"},
      {"2", "(", ")", "(01)"},
      {"3", "(", ")", "(001)"},
      {"1", "", "", "1"},
      {"2", "", "", "01"},
      {"3", "", "", "001"},
      {"2", "[", "]", "[01]"},
      {"3", "<<", "", "<<001"},
      {"4", "(", ")", "(0001)"},
      {"5", "", "", "00001"},
      {"6", "[", "]", "[000001]"},
      // Out of range or no number at all while typing: the bare "1".
      {"7", "(", ")", "(1)"},
      {"0", "(", ")", "(1)"},
      {"", "(", ")", "(1)"},
      {"-", "(", ")", "(1)"},
  };
  for (const Case& c : cases) {
    SettingsDialogValues values;
    values.digits = SpinValueOfText(c.spin);
    values.number_open = c.open;
    values.number_close = c.close;
    EXPECT_EQ(values.Example(), c.example) << "spin \"" << c.spin << '"';
  }
}

TEST(SettingsDialogLoad, MissingFileShowsTheDefaults) {
  DialogWorld world;
  SettingsDialogValues values;
  values.digits = 3;
  values.space_between = values.update_check = values.arrows_move_unique = false;
  values.strip_common_name = values.number_brackets = values.unique_brackets = true;
  values.pattern = 5;
  values.number_open = values.number_close = values.unique_open = values.unique_close = "x";

  values.Load(world.context.Settings());

  const SettingsDialogValues defaults;
  EXPECT_EQ(values.digits, 1);
  EXPECT_EQ(values.pattern, 1);
  EXPECT_TRUE(values.space_between && values.update_check && values.arrows_move_unique);
  EXPECT_FALSE(values.strip_common_name || values.number_brackets || values.unique_brackets);
  EXPECT_EQ(values.number_open + values.number_close + values.unique_open + values.unique_close,
            "[]「」");
  EXPECT_EQ(defaults.Example(), "[1]");
  EXPECT_FALSE(world.dir.Exists("ZeFa_oru.ini"));
}

TEST(SettingsDialogLoad, DigitsComeToTheNearerBoundAndUnknownPatternsToRadioButton1) {
  struct Case {
    const char* keta;
    const char* pattern;
    const char* spin;
    int radio;
  };
  const Case cases[] = {
      {"0", "1", "1", 1},   {"7", "2", "6", 2},   {"-4", "8", "1", 8},   {"2", "7", "2", 7},
      {"0x3", "9", "3", 1}, {"abc", "0", "1", 1}, {"3", "-1", "3", 1},   {"", "x", "1", 1},
      {"4", "1", "4", 1},   {"6", "1", "6", 1},   {"1000", "1", "6", 1},
  };
  for (const Case& c : cases) {
    DialogWorld world;
    const std::string text =
        std::string("[Option]\nketa=") + c.keta + "\npattern=" + c.pattern + "\n";
    world.WriteIni(text);
    SettingsDialogValues values;
    values.Load(world.context.Settings());
    EXPECT_EQ(std::to_string(values.digits), c.spin) << "keta " << c.keta;
    EXPECT_EQ(values.pattern, c.radio) << "pattern " << c.pattern;
    // Loading is reading only: the hand-edited values stay until the next OK.
    EXPECT_EQ(world.Ini(), text);
  }
}

TEST(SettingsDialogSave, UntouchedDialogWritesTheTwelveKeysInOrderThenItsOwn) {
  DialogWorld world;
  SettingsDialogValues values;
  values.Load(world.context.Settings());
  SettingsFile settings = world.context.Settings();
  values.Save(settings);
  EXPECT_EQ(world.Ini(), kUntouchedSave);
}

TEST(SettingsDialogSave, FirstSaveCreatesThePerUserFolderWithItsParents) {
  DialogWorld world;
  world.context.paths.settings_path = world.dir / "home/.config/ZeFa_oru/ZeFa_oru.ini";
  SettingsFile settings = world.context.Settings();
  SettingsDialogValues().Save(settings);
  EXPECT_EQ(world.dir.Read("home/.config/ZeFa_oru/ZeFa_oru.ini"), kUntouchedSave);
}

TEST(SettingsDialogSave, EveryValueReadsBackExactly) {
  DialogWorld world;
  SettingsDialogValues saved;
  saved.digits = 2;
  saved.space_between = false;
  saved.strip_common_name = true;
  saved.number_brackets = true;
  saved.unique_brackets = true;
  saved.update_check = false;
  saved.arrows_move_unique = false;
  saved.pattern = 6;
  saved.number_open = " [";  // a leading blank must survive the profile reader
  saved.number_close = "] ";
  saved.unique_open = "\"";
  saved.unique_close = "";
  SettingsFile settings = world.context.Settings();
  saved.Save(settings);

  SettingsDialogValues loaded;
  loaded.Load(world.context.Settings());
  EXPECT_EQ(loaded.digits, 2);
  EXPECT_EQ(loaded.pattern, 6);
  EXPECT_FALSE(loaded.space_between || loaded.update_check || loaded.arrows_move_unique);
  EXPECT_TRUE(loaded.strip_common_name && loaded.number_brackets && loaded.unique_brackets);
  EXPECT_EQ(loaded.number_open, " [");
  EXPECT_EQ(loaded.number_close, "] ");
  EXPECT_EQ(loaded.unique_open, "\"");
  EXPECT_EQ(loaded.unique_close, "");
  EXPECT_EQ(loaded.Example(), " [01] ");
}

TEST(SettingsDialogSave, DigitsOutsideTheRangeAreSavedAtTheNearerBound) {
  const std::pair<const char*, const char*> cases[] = {
      {"7", "keta=6\n"}, {"0", "keta=1\n"}, {"", "keta=1\n"}, {"-", "keta=1\n"},
      {"2", "keta=2\n"}, {"4", "keta=4\n"}, {"6", "keta=6\n"}};
  for (const auto& [spin, line] : cases) {
    DialogWorld world;
    SettingsDialogValues values;
    values.digits = SpinValueOfText(spin);
    SettingsFile settings = world.context.Settings();
    values.Save(settings);
    EXPECT_NE(world.Ini().find(std::string("[Option]\n") + line), std::string::npos)
        << "spin \"" << spin << '"';
  }
}

TEST(SettingsDialogSave, ARefusedWriteStopsAtThatKey) {
  DialogWorld world;
  const std::string before =
      "[Option]\nketa=3\npattern=4\nspace=0\nwhen_add=1\nNum_kakko=1\nUpdateCheck=0\n";
  world.WriteIni(before);
  world.file_system.refuse_from = 3;  // keta and pattern pass, space is refused

  SettingsDialogValues values;  // every value differs from the file's
  SettingsFile settings = world.context.Settings();
  try {
    values.Save(settings);
    FAIL() << "the refused write was not reported";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), world.context.paths.settings_path + " に書き込めません");
  }
  EXPECT_EQ(world.file_system.writes, 3);
  EXPECT_EQ(world.Ini(),
            "[Option]\nketa=1\npattern=1\nspace=0\nwhen_add=1\nNum_kakko=1\nUpdateCheck=0\n");
}

}  // namespace
}  // namespace zefa
