// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/command_error.h"
#include "platform/file_system.h"
#include "settings/settings_keys.h"
#include "temp_dir.h"

namespace zefa {
namespace {

using test::TempDir;

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFile Settings() { return SettingsFile(file_system_, path_); }
  void Store(std::string_view text) { dir_.Touch("ZeFa_oru.ini", text); }
  std::string Stored() { return dir_.Read("ZeFa_oru.ini"); }

  TempDir dir_;
  NativeFileSystem file_system_;
  std::string path_ = dir_ / "ZeFa_oru.ini";
};

struct SettingIntegerCase {
  const char* name;
  std::string_view file;  // empty: no settings file at all
  int default_value;
  int expected;
};

// Tests are named by their case; the bytes would make unreadable names.
void PrintTo(const SettingIntegerCase& c, std::ostream* out) { *out << c.name; }

class ReadIntegerTest : public SettingsFileTest,
                        public ::testing::WithParamInterface<SettingIntegerCase> {};

TEST_P(ReadIntegerTest, ReadsTheStoredIntegerOrTheDefault) {
  const SettingIntegerCase& c = GetParam();
  if (!c.file.empty()) Store(c.file);
  EXPECT_EQ(Settings().ReadInteger("Option", "keta", c.default_value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadIntegerTest,
    ::testing::Values(SettingIntegerCase{"NoFile", "", 1, 1},
                      SettingIntegerCase{"Decimal", "[Option]\nketa=3\n", 1, 3},
                      SettingIntegerCase{"Hex", "[Option]\nketa=0x3\n", 1, 3},
                      SettingIntegerCase{"OutOfDialogRange", "[Option]\nketa=7\n", 1, 7},
                      SettingIntegerCase{"Negative", "[Option]\nketa=-4\n", 1, -4},
                      SettingIntegerCase{"Empty", "[Option]\nketa=\n", 2, 2},
                      SettingIntegerCase{"Garbage", "[Option]\nketa=three\n", 2, 2},
                      SettingIntegerCase{"DigitsThenGarbage", "[Option]\nketa=3x\n", 2, 2},
                      SettingIntegerCase{"TwoSigns", "[Option]\nketa=--3\n", 2, 2},
                      SettingIntegerCase{"TooLarge", "[Option]\nketa=4294967296\n", 2, 2},
                      SettingIntegerCase{"Quoted", "[Option]\nketa=\"3\"\n", 1, 3},
                      SettingIntegerCase{"OtherCase", "[OPTION]\nKeTa = 3\n", 1, 3},
                      SettingIntegerCase{"MissingKey", "[Option]\npattern=3\n", 1, 1}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

struct BoolCase {
  const char* name;
  std::string_view file;
  bool default_value;
  bool expected;
};

void PrintTo(const BoolCase& c, std::ostream* out) { *out << c.name; }

class ReadBoolTest : public SettingsFileTest, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(ReadBoolTest, AnyNonZeroIntegerIsTrue) {
  const BoolCase& c = GetParam();
  if (!c.file.empty()) Store(c.file);
  EXPECT_EQ(Settings().ReadBool("Option", "space", c.default_value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadBoolTest,
    ::testing::Values(BoolCase{"NoFileTrue", "", true, true},
                      BoolCase{"NoFileFalse", "", false, false},
                      BoolCase{"One", "[Option]\nspace=1\n", false, true},
                      BoolCase{"Zero", "[Option]\nspace=0\n", true, false},
                      BoolCase{"TwoIsTrue", "[Option]\nspace=2\n", false, true},
                      BoolCase{"MinusOne", "[Option]\nspace=-1\n", false, true},
                      BoolCase{"HexZero", "[Option]\nspace=0x0\n", true, false},
                      BoolCase{"YesIsDefaultTrue", "[Option]\nspace=yes\n", true, true},
                      BoolCase{"YesIsDefaultFalse", "[Option]\nspace=yes\n", false, false},
                      BoolCase{"TrueIsDefault", "[Option]\nspace=true\n", false, false},
                      BoolCase{"EmptyIsDefault", "[Option]\nspace=\n", true, true}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

struct StringCase {
  const char* name;
  std::string file;
  std::string expected;
};

void PrintTo(const StringCase& c, std::ostream* out) { *out << c.name; }

class ReadStringTest : public SettingsFileTest, public ::testing::WithParamInterface<StringCase> {};

TEST_P(ReadStringTest, ReadsTheStoredTextOrTheDefault) {
  const StringCase& c = GetParam();
  if (!c.file.empty()) Store(c.file);
  EXPECT_EQ(Settings().ReadString("Option", "Num_aki", "["), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadStringTest,
    ::testing::Values(StringCase{"NoFile", "", "["},
                      StringCase{"MissingKey", "[Option]\nketa=1\n", "["},
                      StringCase{"PresentButEmpty", "[Option]\nNum_aki=\n", ""},
                      StringCase{"Stored", "[Option]\nNum_aki=<<\n", "<<"},
                      StringCase{"Limit", "[Option]\nNum_aki=" + std::string(2047, 'a') + "\n",
                                 std::string(2047, 'a')},
                      StringCase{"OverLimit", "[Option]\nNum_aki=" + std::string(2048, 'a') + "b\n",
                                 std::string(2047, 'a')},
                      // The cut never leaves half a character behind.
                      StringCase{"OverLimitMidCharacter",
                                 "[Option]\nNum_aki=" + std::string(2046, 'a') + "\xE3\x80\x8C\n",
                                 std::string(2046, 'a')},
                      StringCase{"ShiftJis", "[Option]\r\nNum_aki=\x81\x75\r\n", "\xE3\x80\x8C"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(SettingsFileTest, FirstSaveWritesTwelveKeysInOrder) {
  SettingsFile settings = Settings();
  settings.WriteInteger(keys::kSection, "keta", 1);
  settings.WriteInteger(keys::kSection, "pattern", 1);
  settings.WriteBool(keys::kSection, "space", true);
  settings.WriteBool(keys::kSection, "when_add", false);
  settings.WriteBool(keys::kSection, "Num_kakko", false);
  settings.WriteBool(keys::kSection, "UpdateCheck", true);
  settings.WriteBool(keys::kSection, "UpDownButton_rendo", true);
  settings.WriteString(keys::kSection, "Num_aki", "[");
  settings.WriteString(keys::kSection, "Num_toji", "]");
  settings.WriteBool(keys::kSection, "Koyu_kakko", false);
  settings.WriteString(keys::kSection, "koyu_aki", "「");
  settings.WriteString(keys::kSection, "koyu_toji", "」");
  EXPECT_EQ(Stored(),
            "[Option]\nketa=1\npattern=1\nspace=1\nwhen_add=0\nNum_kakko=0\nUpdateCheck=1\n"
            "UpDownButton_rendo=1\nNum_aki=[\nNum_toji=]\nKoyu_kakko=0\n"
            "koyu_aki=\xE3\x80\x8C\nkoyu_toji=\xE3\x80\x8D\n");
}

TEST_F(SettingsFileTest, ValuesWithBlanksAndQuotesSurviveSaveAndReload) {
  for (const std::string value : {" [", "] ", "\"", "'a'", " ", ""}) {
    Settings().WriteString("Option", "Num_aki", value);
    EXPECT_EQ(Settings().ReadString("Option", "Num_aki", "default"), value);
  }
}

TEST_F(SettingsFileTest, WriteKeepsTheRestOfAHandEditedFile) {
  Store("; my notes\r\n[Option]\r\nketa = 2\r\nkoyu_aki=\x81\x75\r\n[Mine]\r\nx=1\r\n");
  Settings().WriteBool("Option", "space", false);
  EXPECT_EQ(Stored(),
            "; my notes\r\n[Option]\r\nketa = 2\r\nkoyu_aki=\xE3\x80\x8C\r\nspace=0\r\n"
            "[Mine]\r\nx=1\r\n");
  EXPECT_EQ(Settings().ReadString("Option", "koyu_aki", ""), "\xE3\x80\x8C");
  EXPECT_EQ(Settings().ReadInteger("Option", "keta", 1), 2);
}

TEST_F(SettingsFileTest, EveryReadSeesTheFileAsItIsNow) {
  const SettingsFile settings = Settings();
  Store("[Option]\npattern=7\n");
  EXPECT_EQ(settings.ReadInteger("Option", "pattern", 1), 7);
  Store("[Option]\npattern=8\n");
  EXPECT_EQ(settings.ReadInteger("Option", "pattern", 1), 8);
  std::filesystem::remove(path_);
  EXPECT_EQ(settings.ReadInteger("Option", "pattern", 1), 1);
}

TEST_F(SettingsFileTest, RefusedWriteNamesThePathAndChangesNothing) {
  std::filesystem::create_directory(path_);
  try {
    Settings().WriteInteger("Option", "keta", 2);
    FAIL() << "the write into a folder succeeded";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), path_ + " に書き込めません");
  }
  EXPECT_TRUE(std::filesystem::is_directory(path_));
  EXPECT_EQ(Settings().ReadInteger("Option", "keta", 1), 1);
}

TEST_F(SettingsFileTest, WriteIntoMissingFolderIsRefused) {
  const SettingsFile settings(file_system_, dir_ / "gone/ZeFa_oru.ini");
  SettingsFile writable = settings;
  EXPECT_THROW(writable.WriteBool("Option", "space", true), CommandError);
  EXPECT_FALSE(dir_.Exists("gone"));
}

// The user's own arrangement of the file survives a save: its mode, and a link to a file
// kept elsewhere (a dotfiles folder), also one given relative to the link's folder.
TEST_F(SettingsFileTest, SaveKeepsTheModeAndWritesThroughALink) {
  namespace fs = std::filesystem;
  const auto mode_of = [](const std::string& path) {
    return fs::status(path).permissions() & fs::perms::mask;
  };
  const fs::perms kUserGroupRead =
      fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  Store("[Option]\nketa=2\n");
  fs::permissions(path_, kUserGroupRead);
  Settings().WriteBool("Option", "space", false);
  EXPECT_EQ(mode_of(path_), kUserGroupRead);
  EXPECT_EQ(Stored(), "[Option]\nketa=2\nspace=0\n");

  for (const std::string& target : {dir_ / "dotfiles/zefa.ini", std::string("dotfiles/zefa.ini")}) {
    dir_.Touch("dotfiles/zefa.ini", "[Option]\nketa=3\n");
    fs::remove(path_);
    fs::create_symlink(target, path_);
    Settings().WriteInteger("Option", "pattern", 4);
    EXPECT_TRUE(fs::is_symlink(path_)) << target;
    EXPECT_EQ(dir_.Read("dotfiles/zefa.ini"), "[Option]\nketa=3\npattern=4\n") << target;
    EXPECT_EQ(dir_.Listing("dotfiles"), "zefa.ini") << "no temporary file left behind";
  }
}

TEST_F(SettingsFileTest, NewFileGetsTheModeTheUmaskAllows) {
  const mode_t old_mask = ::umask(022);
  Settings().WriteBool("Option", "space", true);
  ::umask(old_mask);
  EXPECT_EQ(std::filesystem::status(path_).permissions() & std::filesystem::perms::mask,
            std::filesystem::perms(0644));
}

TEST_F(SettingsFileTest, UnstorableValueIsRefusedAndTheFileKept) {
  Store("[Option]\nNum_aki=[\n");
  EXPECT_THROW(Settings().WriteString("Option", "Num_aki", "a\nketa=3"), CommandError);
  EXPECT_EQ(Stored(), "[Option]\nNum_aki=[\n");
}

// A file that is there but cannot be read: the write must not replace it with a file of
// one key.
class UnreadableFileSystem : public NativeFileSystem {
 public:
  FileRead ReadFile(const std::string&, std::size_t) override { return ReadFailure::kNotReadable; }
};

TEST_F(SettingsFileTest, UnreadableFileIsNotOverwritten) {
  Store("[Option]\nketa=3\npattern=5\n");
  UnreadableFileSystem unreadable;
  SettingsFile settings(unreadable, path_);
  EXPECT_EQ(settings.ReadInteger("Option", "keta", 1), 1);
  EXPECT_THROW(settings.WriteInteger("Option", "keta", 2), CommandError);
  EXPECT_EQ(Stored(), "[Option]\nketa=3\npattern=5\n");
}

}  // namespace
}  // namespace zefa
