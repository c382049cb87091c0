// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zefa {
namespace {

struct LineCase {
  CliCommand command;
  std::vector<std::string> arguments;
  bool usable;
};

TEST(CliOptionsTest, RefusesWhatCannotBeUsed) {
  const LineCase cases[] = {
      {CliCommand::kRename, {"a"}, true},
      {CliCommand::kRename, {}, false},     // nothing to rename
      {CliCommand::kRename, {"-0"}, true},  // the paths come on standard input
      {CliCommand::kRename, {"--digits", "7", "a"}, false},
      {CliCommand::kRename, {"--digits=6", "a"}, true},
      {CliCommand::kRename, {"--pattern", "0", "a"}, false},
      {CliCommand::kRename, {"--start", "1x", "a"}, false},
      {CliCommand::kRename, {"--start", "-5", "a"}, true},
      {CliCommand::kRename, {"--order", "size", "a"}, false},
      {CliCommand::kRename, {"--name"}, false},         // a value is missing
      {CliCommand::kRename, {"--json=1", "a"}, false},  // a flag takes none
      {CliCommand::kRename, {"--upper", "--lower", "a"}, false},
      {CliCommand::kRename, {"--target", "folder", "a"}, false},
      {CliCommand::kRename, {"--", "--name"}, true},         // a path of that name
      {CliCommand::kPreview, {"--no-restore", "a"}, false},  // no run, no restore file
      {CliCommand::kUndo, {}, false},
      {CliCommand::kUndo, {"--last"}, true},
      {CliCommand::kUndo, {"--last", "x.zefa"}, false},
      {CliCommand::kUndo, {"--name", "x", "x.zefa"}, false},
      {CliCommand::kHistory, {"x"}, false},
      {CliCommand::kHistory, {"--help", "x"}, true},  // help answers alone
  };
  for (const LineCase& line : cases) {
    const CliOptions options = ParseCliOptions(line.command, line.arguments, false);
    std::string joined;
    for (const std::string& argument : line.arguments) joined += argument + " ";
    EXPECT_EQ(options.usage_error.empty(), line.usable) << joined << options.usage_error;
  }
}

TEST(CliOptionsTest, ValuesReachTheirFields) {
  const CliOptions options =
      ParseCliOptions(CliCommand::kRename,
                      {"--name=旅行", "--start", "10", "--order", "taken", "--no-space",
                       "--open-bracket", "(", "--unique-from-date=%Y", "--find", "Ｘ",
                       "--ignore-case", "--half-width", "--no-restore", "--", "-file"},
                      true);
  ASSERT_EQ(options.usage_error, "");
  EXPECT_EQ(options.name, "旅行");
  EXPECT_EQ(options.start, 10);
  EXPECT_EQ(options.order, CliOrder::kTaken);
  EXPECT_EQ(options.space, false);
  EXPECT_EQ(options.open_bracket, "(");
  EXPECT_FALSE(options.close_bracket);
  EXPECT_EQ(options.unique_from_date, "%Y");
  EXPECT_TRUE(options.Replaces() && options.ignore_case && options.half_width);
  EXPECT_TRUE(options.no_restore);
  EXPECT_EQ(options.paths, std::vector<std::string>{"-file"});
  // Without "=", the date option takes no format: the next word is a path.
  EXPECT_EQ(ParseCliOptions(CliCommand::kPreview, {"--unique-from-date", "a"}, false).paths,
            std::vector<std::string>{"a"});
}

TEST(CliOptionsTest, SubcommandsAreTheFourWordsAlone) {
  EXPECT_EQ(CliCommandOf("rename"), CliCommand::kRename);
  EXPECT_EQ(CliCommandOf("history"), CliCommand::kHistory);
  for (const char* word : {"./rename", "Rename", "--rename", "", "renamer"}) {
    EXPECT_FALSE(CliCommandOf(word)) << word;
  }
}

}  // namespace
}  // namespace zefa
