// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"

namespace zefa {

class MediaDates;

/** The exit statuses of the subcommands. */
inline constexpr int kExitDone = 0;       // all done; for preview: nothing would fail
inline constexpr int kExitSomeRows = 1;   // some rows not renamed or not given back
inline constexpr int kExitUsage = 2;      // the command line cannot be used
inline constexpr int kExitRefused = 3;    // refused before anything was renamed
inline constexpr int kExitStopped = 130;  // stopped by Ctrl+C or SIGTERM

/** What a subcommand works with: the world, as the window has it, without a window. */
struct CliEnvironment {
  FileSystem& file_system;
  ProgramPaths paths;
  std::string current_folder;  // relative paths are taken from here
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool japanese = false;
  bool err_is_terminal = false;
  MediaDates* media = nullptr;  // the dates' reader; null: the platform's, made when needed
};

/**
 * Runs `command` with the arguments after it and returns the exit status. The commands
 * are the window's (DropFiles, the sorts, find and replace, RenameRun, BuildPreview,
 * UndoRecord) with a prompter that asks no one.
 */
int RunCommandLine(CliCommand command, const std::vector<std::string>& arguments,
                   CliEnvironment& environment);

/** The whole program for a command line whose first argument names a subcommand. */
int CommandLineMain(int argc, char** argv);

}  // namespace zefa
