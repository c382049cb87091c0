// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/names_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/code_page_convert.h"

namespace zefa::names_text_test {

using Lines = std::vector<std::string>;

TEST(NamesFile, ReadsEveryEncodingAndTheFirstFieldOfACsv) {
  struct Case {
    std::string bytes;
    bool csv;
    Lines lines;
  };
  const Case cases[] = {
      {"第1巻\n第2巻\n", false, {"第1巻", "第2巻"}},
      {"\xEF\xBB\xBF"
       "a\r\nb\r\n\r\nc",
       false,
       {"a", "b", "", "c"}},
      {std::string("\xFF\xFE"
                   "a\0\r\0\x2C\x7B\n\0",
                   10),
       false,
       {"a", "第"}},                                                            // UTF-16LE
      {std::string("\xFE\xFF\0a\0\n\xD8\x3D\xDE\x00", 10), false, {"a", "😀"}},  // UTF-16BE
      {Utf8ToShiftJis("表\n予定"), false, {"表", "予定"}},
      {"name,size\n\"a, b\",1\n\"say \"\"hi\"\"\",2\nplain\n\"two\nlines\",3\n",
       true,
       {"name", "a, b", "say \"hi\"", "plain", "two\nlines"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameLines(DecodeNamesFile(c.bytes), c.csv), c.lines) << c.bytes;
  }
}

TEST(NamesFile, AppliesOnlyOneLinePerRowAndSaysWhereTheyDiffer) {
  RenameList list;
  for (const char* name : {"a", "b", "c"}) list.AppendRow(std::string("/f/") + name, name, "", "");
  EXPECT_EQ(LineCountText({"a", "b", "x", "c"}, list),
            "行の数 4 がファイルの数 3 と合いません（1 行多い）。3 "
            "行目から固有ファイル名と食い違っています。");
  EXPECT_EQ(LineCountText({"a"}, list),
            "行の数 1 がファイルの数 3 と合いません（2 行少ない）。2 "
            "行目から固有ファイル名と食い違っています。");
  EXPECT_FALSE(ApplyNameLines(list, {"x"}));
  EXPECT_EQ(list.unique.entries, (Lines{"a", "b", "c"}));
  EXPECT_EQ(LineCountText({"x", "y", "z"}, list), "");
  EXPECT_TRUE(ApplyNameLines(list, {"x", "y", "z"}));
  EXPECT_EQ(list.unique.entries, (Lines{"x", "y", "z"}));
}

}  // namespace zefa::names_text_test
