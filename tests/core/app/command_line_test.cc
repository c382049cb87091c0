// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/command_line.h"

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

// A hand-over carries the sender's working folder: its relative paths name the files
// they named there. Without it (an older start) they stay relative, for the add step to refuse.
TEST(CommandLineTest, HandedOverPathsAreMadeFullUnderTheSendersFolder) {
  const struct {
    std::string message;
    Words paths;
  } cases[] = {
      {HandOverMessage({"a.jpg", "/abs/b.jpg", "sub/c d.jpg"}, "/home/u/pics"),
       {"/home/u/pics/a.jpg", "/abs/b.jpg", "/home/u/pics/sub/c d.jpg"}},
      {HandOverMessage({"a.jpg"}, ""), {"a.jpg"}},
      {HandOverMessage({}, "/home/u"), {}},
      {std::string("/abs/a.jpg\0rel.jpg\0", 20), {"/abs/a.jpg", "rel.jpg"}},
      {std::string("\x01/w\0x.jpg\0unfinished", 20), {"/w/x.jpg"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HandedOverPaths(c.message), c.paths) << testing::PrintToString(c.message);
  }
}

}  // namespace
}  // namespace zefa
