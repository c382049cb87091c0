// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/program_paths.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "temp_dir.h"

namespace zefa {
namespace {

struct PathsCase {
  const char* name;
  ProgramPlaces places;
  TextRules rules;
  std::string settings_path;
  std::string restore_folder;
};

// Tests are named by their case; the bytes would make unreadable names.
void PrintTo(const PathsCase& c, std::ostream* out) { *out << c.name; }

class ResolveProgramPathsTest : public ::testing::TestWithParam<PathsCase> {};

TEST_P(ResolveProgramPathsTest, PicksTheProgramFolder) {
  const PathsCase& c = GetParam();
  const ProgramPaths paths = ResolveProgramPaths(c.places, c.rules);
  EXPECT_EQ(paths.settings_path, c.settings_path);
  EXPECT_EQ(paths.restore_folder, c.restore_folder);
  EXPECT_EQ(paths.executable_path, c.places.executable_path);
}

constexpr TextRules kPosix{CodePage::kUtf8, PathStyle::kPosix};
constexpr TextRules kWindows{CodePage::kShiftJis, PathStyle::kWindows};

ProgramPlaces Places(std::string executable, std::optional<std::string> dir, bool writable) {
  return {std::move(executable), std::move(dir), writable, "/home/u/.config/ZeFa_oru",
          "/home/u/.local/share/ZeFa_oru"};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveProgramPathsTest,
    ::testing::Values(
        PathsCase{"VariableFirst", Places("/opt/z/zefa-oru", "/tmp/z", true), kPosix,
                  "/tmp/z/ZeFa_oru.ini", "/tmp/z/restore"},
        PathsCase{"VariableWithSeparator", Places("/opt/z/zefa-oru", "/tmp/z/", false), kPosix,
                  "/tmp/z/ZeFa_oru.ini", "/tmp/z/restore"},
        PathsCase{"EmptyVariableIsUnset", Places("/opt/z/zefa-oru", "", true), kPosix,
                  "/opt/z/ZeFa_oru.ini", "/opt/z/restore"},
        PathsCase{"WritableExecutableFolder", Places("/opt/z/zefa-oru", std::nullopt, true), kPosix,
                  "/opt/z/ZeFa_oru.ini", "/opt/z/restore"},
        PathsCase{"PerUserFolders", Places("/usr/bin/zefa-oru", std::nullopt, false), kPosix,
                  "/home/u/.config/ZeFa_oru/ZeFa_oru.ini", "/home/u/.local/share/ZeFa_oru/restore"},
        PathsCase{"NoExecutableFolder", Places("zefa-oru", std::nullopt, true), kPosix,
                  "/home/u/.config/ZeFa_oru/ZeFa_oru.ini", "/home/u/.local/share/ZeFa_oru/restore"},
        PathsCase{"WindowsPortable", Places("C:\\Tools\\\x83\x5C\\zefa.exe", std::nullopt, true),
                  kWindows, "C:\\Tools\\\x83\x5C\\ZeFa_oru.ini", "C:\\Tools\\\x83\x5C\\restore"},
        // The trail byte 0x5C of ソ is no separator, so one is added after it.
        PathsCase{"WindowsVariableEndingInSo", Places("C:\\z.exe", "D:\\\x83\x5C", true), kWindows,
                  "D:\\\x83\x5C\\ZeFa_oru.ini", "D:\\\x83\x5C\\restore"}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST(WithTrailingSeparator, AddsOneOnlyWhenMissing) {
  EXPECT_EQ(WithTrailingSeparator("/a", kPosix), "/a/");
  EXPECT_EQ(WithTrailingSeparator("/a/", kPosix), "/a/");
  EXPECT_EQ(WithTrailingSeparator("C:", kWindows), "C:");
  EXPECT_EQ(WithTrailingSeparator("", kPosix), "");
}

class ProbeProgramPlacesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* value = ::getenv(kProgramDirVariable)) saved_ = value;
  }
  void TearDown() override {
    if (saved_) {
      ::setenv(kProgramDirVariable, saved_->c_str(), 1);
    } else {
      ::unsetenv(kProgramDirVariable);
    }
  }
  std::optional<std::string> saved_;
  test::TempDir dir_;
};

TEST_F(ProbeProgramPlacesTest, ReadsTheVariableAndTestsTheFolder) {
  ::setenv(kProgramDirVariable, "/tmp/elsewhere", 1);
  ProgramPlaces places = ProbeProgramPlaces(dir_ / "zefa-oru", kPosix, "/c", "/d");
  EXPECT_EQ(places.zefa_oru_dir, "/tmp/elsewhere");
  EXPECT_TRUE(places.executable_folder_writable);
  EXPECT_EQ(places.user_config_folder, "/c");
  EXPECT_EQ(places.user_data_folder, "/d");

  ::setenv(kProgramDirVariable, "", 1);
  places = ProbeProgramPlaces(dir_ / "missing/zefa-oru", kPosix, "/c", "/d");
  EXPECT_EQ(places.zefa_oru_dir, std::nullopt);
  EXPECT_FALSE(places.executable_folder_writable);

  ::unsetenv(kProgramDirVariable);
  EXPECT_EQ(ProbeProgramPlaces(dir_ / "zefa-oru", kPosix, "", "").zefa_oru_dir, std::nullopt);
}

}  // namespace
}  // namespace zefa
