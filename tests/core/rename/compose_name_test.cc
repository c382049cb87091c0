// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "rename_test_support.h"
#include "run/rename_plan.h"
#include "settings/settings_file.h"
#include "text/code_page_convert.h"
#include "text/padding.h"

namespace zefa {
namespace {

constexpr TextRules kWindowsSjis{CodePage::kShiftJis, PathStyle::kWindows};
constexpr TextRules kPosix{CodePage::kUtf8, PathStyle::kPosix};

std::string Sjis(const std::string& utf8) { return Utf8ToShiftJis(utf8); }

// ComposeName with the settings given one by one, as the tables list them.
std::string Compose(const RenameList& list, int row, std::string_view common, int pattern,
                    int number, int digits, const char* separator, const char* open,
                    const char* close, const TextRules& rules) {
  const NameSettings settings{digits, NamePatternOf(pattern), separator, open, close};
  return ComposeName(list, row, common, number, settings, rules);
}

RenameList OneRow(const std::string& path, const std::string& unique,
                  const std::string& extension) {
  RenameList list;
  list.AppendRow(path, unique, extension, "");
  return list;
}

struct Composition {
  int pattern;
  int number;
  int digits;
  const char* separator;
  const char* open;
  const char* close;
  const char* common;
  const char* unique;
  const char* expected;
};

// The row C:\pic\a.jpg of a Windows copy, every text in Shift-JIS.
TEST(ComposeName, WindowsRowInEveryPatternAndOption) {
  const Composition cases[] = {
      {1, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\旅行 012 海.jpg"},
      {2, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\旅行 海 012.jpg"},
      {3, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\012 旅行 海.jpg"},
      {4, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\012 海 旅行.jpg"},
      {5, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\海 012 旅行.jpg"},
      {6, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\海 旅行 012.jpg"},
      {7, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\海 旅行.jpg"},
      {8, 12, 3, " ", "", "", "旅行", "海", "C:\\pic\\旅行 海.jpg"},
      {1, 12, 2, " ", "[", "]", "旅行", "海", "C:\\pic\\旅行 [12] 海.jpg"},
      {3, 12, 3, "", "", "", "旅行", "海", "C:\\pic\\012旅行海.jpg"},
      {1, 5, 3, " ", "[", "]", "", "", "C:\\pic\\[005].jpg"},
      {2, 12, 3, " ", "", "", "", "海", "C:\\pic\\海 012.jpg"},
      {7, 12, 3, " ", "", "", "", "", "C:\\pic\\.jpg"},
      {9, 12, 3, " ", "", "", "旅行", "海", ""},
      {0, 12, 3, " ", "", "", "旅行", "海", ""},
      {-1, 12, 3, " ", "", "", "旅行", "海", ""},
      // Brackets of any length; a name of blanks is no empty name.
      {1, 3, 1, "_", "<<(", ")>>", " ", "海", "C:\\pic\\ _<<(3)>>_海.jpg"},
  };
  for (const Composition& c : cases) {
    const RenameList row = OneRow("C:\\pic\\a.jpg", Sjis(c.unique), ".jpg");
    EXPECT_EQ(Compose(row, 0, Sjis(c.common), c.pattern, c.number, c.digits, c.separator, c.open,
                      c.close, kWindowsSjis),
              Sjis(c.expected))
        << "pattern " << c.pattern << " common '" << c.common << "' unique '" << c.unique << "'";
  }
}

TEST(ComposeName, TrailByteOfBackslashIsNoFolderDelimiter) {
  // ソ is 0x83 0x5C in Shift-JIS: its second byte is the code of "\".
  const RenameList list = OneRow(Sjis("D:\\pic\\ソ.txt"), Sjis("ソ"), ".txt");
  EXPECT_EQ(Compose(list, 0, "x", 8, 1, 1, " ", "", "", kWindowsSjis), Sjis("D:\\pic\\x ソ.txt"));
  const RenameList colon = OneRow("D:a.txt", "a", ".txt");
  EXPECT_EQ(Compose(colon, 0, "x", 8, 1, 1, " ", "", "", kWindowsSjis), "D:x a.txt");
  // The same folders in UTF-8.
  constexpr TextRules kWindowsUtf8{CodePage::kUtf8, PathStyle::kWindows};
  const RenameList utf8 = OneRow("D:\\写真\\ソ.txt", "ソ", ".txt");
  EXPECT_EQ(Compose(utf8, 0, "x", 8, 1, 1, " ", "", "", kWindowsUtf8), "D:\\写真\\x ソ.txt");
  EXPECT_EQ(Compose(colon, 0, "x", 8, 1, 1, " ", "", "", kWindowsUtf8), "D:x a.txt");
  const RenameList bare = OneRow("a.txt", "a", ".txt");
  EXPECT_EQ(Compose(bare, 0, "x", 8, 1, 1, " ", "", "", kPosix), "x a.txt");
}

// The whole table of base names: C common, N bracketed number, U unique, · separator.
TEST(ComposeName, EveryPatternWithEitherNameLeftOut) {
  struct Row {
    int pattern;
    const char* none;
    const char* unique_only;
    const char* common_only;
    const char* both;
  };
  const Row table[] = {
      {1, "N", "N·U", "C·N", "C·N·U"}, {2, "N", "U·N", "C·N", "C·U·N"},
      {3, "N", "N·U", "N·C", "N·C·U"}, {4, "N", "N·U", "N·C", "N·U·C"},
      {5, "N", "U·N", "N·C", "U·N·C"}, {6, "N", "U·N", "C·N", "U·C·N"},
      {7, "", "U", "C", "U·C"},        {8, "", "U", "C", "C·U"},
  };
  const auto expand = [](std::string shape) {
    std::string out;
    for (std::size_t i = 0; i < shape.size(); ++i) {
      if (shape.compare(i, 2, "·") == 0) {
        out += " ";
        ++i;
      } else if (shape[i] == 'C') {
        out += "共通";
      } else if (shape[i] == 'N') {
        out += "[005]";
      } else if (shape[i] == 'U') {
        out += "固有";
      }
    }
    return "/home/u/写真/" + out + ".jpg";
  };
  for (const Row& row : table) {
    const std::pair<const char*, const char*> names[] = {
        {"", ""}, {"", "固有"}, {"共通", ""}, {"共通", "固有"}};
    const char* shapes[] = {row.none, row.unique_only, row.common_only, row.both};
    for (int k = 0; k < 4; ++k) {
      const RenameList list = OneRow("/home/u/写真/a.jpg", names[k].second, ".jpg");
      EXPECT_EQ(Compose(list, 0, names[k].first, row.pattern, 5, 3, " ", "[", "]", kPosix),
                expand(shapes[k]))
          << "pattern " << row.pattern << " case " << k;
    }
  }
}

TEST(ComposeName, ExtensionEntryIsUsedUnchanged) {
  const struct {
    const char* extension;
    const char* expected;
  } cases[] = {{".jpg", "/p/x 1 u.jpg"},
               {"", "/p/x 1 u"},
               {"jpg", "/p/x 1 ujpg"},
               {".tar.gz", "/p/x 1 u.tar.gz"}};
  for (const auto& c : cases) {
    const RenameList list = OneRow("/p/a.jpg", "u", c.extension);
    EXPECT_EQ(Compose(list, 0, "x", 1, 1, 1, " ", "", "", kPosix), c.expected);
  }
}

TEST(ComposeName, RowOutsideTheListGivesNoPath) {
  const RenameList list = OneRow("/p/a.jpg", "u", ".jpg");
  EXPECT_EQ(Compose(list, 1, "x", 1, 1, 1, " ", "", "", kPosix), "");
  EXPECT_EQ(Compose(list, -1, "x", 1, 1, 1, " ", "", "", kPosix), "");
}

TEST(PadNumber, PadsBySignedValueAndNeverCuts) {
  const struct {
    int number;
    int digits;
    const char* expected;
  } cases[] = {
      {7, 1, "7"},
      {7, 2, "07"},
      {7, 3, "007"},
      {123, 2, "123"},
      {99, 3, "099"},
      {100, 3, "100"},
      {1000, 3, "1000"},
      {100, 2, "100"},
      {10, 2, "10"},
      {9, 2, "09"},
      {0, 3, "000"},
      {-1, 3, "00-1"},
      {-1, 2, "0-1"},
      {7, 0, "7"},
      {7, 7, "7"},
      {2147483647, 3, "2147483647"},
      // Four to six digits: 1,200 photos keep their order by name.
      {7, 4, "0007"},
      {999, 4, "0999"},
      {1200, 4, "1200"},
      {12345, 4, "12345"},
      {7, 5, "00007"},
      {42, 6, "000042"},
      {999999, 6, "999999"},
      {1000000, 6, "1000000"},
      {-1, 6, "00000-1"},
  };
  for (const auto& c : cases) {
    const RenameList list = OneRow("/p/a", "", "");
    EXPECT_EQ(Compose(list, 0, "", 1, c.number, c.digits, "", "", "", kPosix),
              std::string("/p/") + c.expected)
        << c.number << " with digits " << c.digits;
  }
  EXPECT_EQ(PadNumber(12, "12"), "012");
  EXPECT_EQ(PadTwoDigits(12, "12"), "12");
  // The tests look at the integer, not at the text.
  EXPECT_EQ(PadNumber(5, "0005"), "000005");
  EXPECT_EQ(PadTwoDigits(50, "5"), "5");
}

TEST(ComposeChanges, NumbersRiseFromTheStartNumber) {
  RenameList list;
  for (const char* name : {"a", "b", "c"}) {
    list.AppendRow(std::string("/p/") + name + ".txt", name, ".txt", "");
  }
  NameSettings settings;
  settings.digits = 3;
  settings.open_bracket = "(";
  settings.close_bracket = ")";
  const ChangePlan composed = ComposeChanges(list, {"x", 98, settings}, kPosix);
  const std::vector<RowChange>& plan = composed.changes;
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_EQ(plan[0].old_path(), "/p/a.txt");
  EXPECT_EQ(plan[0].new_path(), "/p/x (098) a.txt");
  EXPECT_EQ(plan[1].new_path(), "/p/x (099) b.txt");
  EXPECT_EQ(plan[2].new_path(), "/p/x (100) c.txt");
  for (const auto& row : plan) EXPECT_EQ(row.status, ChangeStatus::kPlanned);
  // One row alone, as a column that composes only the rows on screen asks for it.
  PathStore paths;
  for (int row = 0; row < 3; ++row) {
    const RowChange one = ComposeChange(list, row, {"x", 98, settings}, kPosix, paths);
    EXPECT_EQ(one.new_path(), plan[static_cast<std::size_t>(row)].new_path());
    EXPECT_EQ(one.number, 98 + row);
  }
}

class ReadNameSettingsTest : public test::RenameFixture {};

TEST_F(ReadNameSettingsTest, BracketsOnlyWhenSwitchedOn) {
  const struct {
    const char* keys;
    int digits, pattern;
    const char *separator, *open, *close;
  } cases[] = {
      {"", 1, 1, " ", "", ""},
      {"keta=3\npattern=0x7\nspace=0\n", 3, 7, "", "", ""},
      {"Num_kakko=0\nNum_aki=<\nNum_toji=>\n", 1, 1, " ", "", ""},
      {"Num_kakko=1\n", 1, 1, " ", "[", "]"},
      {"Num_kakko=2\nNum_aki=\nNum_toji=」\n", 1, 1, " ", "", "」"},
      {"keta=9\nspace=yes\n", 9, 1, " ", "", ""},
  };
  for (const auto& c : cases) {
    Settings(c.keys);
    const NameSettings read = ReadNameSettings(MakeContext().Settings());
    EXPECT_EQ(read.digits, c.digits) << c.keys;
    EXPECT_EQ(read.pattern, NamePatternOf(c.pattern)) << c.keys;
    EXPECT_EQ(read.separator, c.separator) << c.keys;
    EXPECT_EQ(read.open_bracket, c.open) << c.keys;
    EXPECT_EQ(read.close_bracket, c.close) << c.keys;
  }
}

}  // namespace
}  // namespace zefa
