// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/command_error.h"

#include <gtest/gtest.h>

#include "commands/run_command.h"
#include "scripted_prompter.h"

namespace zefa {
namespace {

TEST(ApplicationErrorText, FullStopAfterCharactersThatSortAfterIt) {
  const std::pair<std::string, std::string> cases[] = {
      {"abc", "abc."},
      {"abc.", "abc."},
      {"abc!", "abc!"},   // "!" sorts before "."
      {"a-", "a-"},       // so does "-"
      {"end/", "end/."},  // "/" sorts after "."
      {"0", "0."},
      {"", ""},
      {"line\n\r", "line\n\r"},
      {"x に書き込めません", "x に書き込めません."},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(ApplicationErrorText(text), shown) << text;
}

TEST(RunCommand, AnEscapingErrorEndsTheCommandInTheErrorBox) {
  test::ScriptedPrompter prompter;
  int steps = 0;
  EXPECT_FALSE(RunCommand(prompter, [&] {
    ++steps;
    throw WriteRefused("/p/ZeFa_oru.ini");
  }));
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(prompter.log, std::vector<std::string>{"app-error /p/ZeFa_oru.ini に書き込めません."});

  prompter.log.clear();
  EXPECT_TRUE(RunCommand(prompter, [&] { ++steps; }));
  EXPECT_EQ(steps, 2);
  EXPECT_TRUE(prompter.log.empty());
}

}  // namespace
}  // namespace zefa
