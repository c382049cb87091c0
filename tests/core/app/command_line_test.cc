// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "startup/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zefa {
namespace {

using Action = CommandLine::Action;
using Words = std::vector<std::string>;

TEST(CommandLineTest, OptionsAndPaths) {
  const struct {
    Words arguments;
    Action action;
    Words paths;
    std::string bad;
  } cases[] = {
      {{}, Action::kRun, {}, ""},
      {{"a.jpg", "sub/b.jpg", "-"}, Action::kRun, {"a.jpg", "sub/b.jpg", "-"}, ""},
      {{"a.jpg", "--help", "b.jpg"}, Action::kHelp, {}, ""},
      {{"-h"}, Action::kHelp, {}, ""},
      {{"--version", "--help"}, Action::kVersion, {}, ""},
      {{"a.jpg", "--frobnicate", "--help"}, Action::kBadOption, {}, "--frobnicate"},
      {{"-x"}, Action::kBadOption, {}, "-x"},
      {{"a", "--", "--help", "-x", "--"}, Action::kRun, {"a", "--help", "-x", "--"}, ""},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action) << testing::PrintToString(c.arguments);
    EXPECT_EQ(line.paths, c.paths) << testing::PrintToString(c.arguments);
    EXPECT_EQ(line.bad_option, c.bad) << testing::PrintToString(c.arguments);
  }
}

}  // namespace
}  // namespace zefa
