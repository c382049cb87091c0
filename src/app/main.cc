// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// zefa-oru: a subcommand runs here, without a window and without loading any library of
// the windows, so that a script's run starts at once; every other command line opens the
// window program, which takes the same arguments.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "commands/command_line.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"
#include "version.h"

namespace {

// The window program: beside this one (a build tree, a portable copy), else where the
// package installs it.
std::string WindowProgram(const std::string& own_path) {
  const std::size_t slash = own_path.rfind('/');
  if (slash != std::string::npos) {
    const std::string beside = own_path.substr(0, slash + 1) + "zefa-oru-window";
    if (::access(beside.c_str(), X_OK) == 0) return beside;
  }
  return ZEFA_WINDOW_PROGRAM;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && zefa::CliCommandOf(argv[1])) return zefa::CommandLineMain(argc, argv);
  // The arguments are taken as the bytes they are: every word is an option of ours or a path.
  const zefa::CommandLine line =
      zefa::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  const bool japanese = zefa::JapaneseLocale();
  switch (line.action) {
    case zefa::CommandLine::Action::kHelp:
      std::fputs(zefa::UsageText(japanese).c_str(), stdout);
      return 0;
    case zefa::CommandLine::Action::kVersion:
      std::printf("ZeFa Oru %s\n", zefa::kProgramVersion);
      return 0;
    case zefa::CommandLine::Action::kBadOption:
      std::fprintf(
          stderr,
          japanese ? "zefa-oru: 不明なオプションです: %s\n" : "zefa-oru: unknown option: %s\n",
          line.bad_option.c_str());
      std::fputs(zefa::UsageText(japanese).c_str(), stderr);
      return 2;
    case zefa::CommandLine::Action::kRun:
      break;
  }
  // The window resolves the program folder from this program's path, as the command line
  // does, and refuses to list this program.
  zefa::NativeFileSystem file_system;
  const std::string own_path = file_system.ExecutablePath();
  ::setenv(zefa::kProgramPathVariable, own_path.c_str(), 1);
  const std::string window = WindowProgram(own_path);
  std::vector<char*> window_argv(argv, argv + argc);
  window_argv.push_back(nullptr);
  ::execv(window.c_str(), window_argv.data());
  std::fprintf(stderr,
               japanese ? "zefa-oru: ウィンドウのプログラムを起動できません: %s: %s\n"
                        : "zefa-oru: cannot start the window program %s: %s\n",
               window.c_str(), std::strerror(errno));
  return 1;
}
