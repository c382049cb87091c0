// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "commands/context.h"
#include "commands/main_state.h"
#include "platform/file_system.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

namespace zefa {

/** A main window's state, a scripted prompter and a program folder of its own. */
class ListFixture : public ::testing::Test {
 protected:
  ListFixture() : paths(test::ProgramPathsIn(dir, dir.Touch("zefa_oru", "program"))) {}

  Context MakeContext() { return Context{prompter, fs, paths, rules}; }

  /** The settings file with these key lines under [Option]. */
  void WriteSettings(std::string_view lines) {
    dir.Touch("ZeFa_oru.ini", "[Option]\n" + std::string(lines));
  }

  /** Rows that need no file on disk: path, unique name, extension. */
  void AddRows(const std::vector<std::vector<std::string>>& rows) {
    for (const auto& row : rows) state.list.AppendRow(row[0], row[1], row[2], row[0]);
  }

  test::TempDir dir;
  test::ScriptedPrompter prompter;
  NativeFileSystem fs;
  ProgramPaths paths;
  TextRules rules;
  MainState state;
};

}  // namespace zefa
