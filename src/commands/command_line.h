// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zefa {

/** What the command line asks for. */
struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kBadOption };
  Action action = Action::kRun;
  std::vector<std::string> paths;  // kRun: the files to add, as given
  std::string bad_option;          // kBadOption: the first option not known
};

/**
 * Reads the arguments after the program's name: "--help" (or "-h") and "--version" stand
 * alone, any other word that starts with "-" is an unknown option, "--" ends the options,
 * and everything else is a path. The first of help, version or a bad option decides.
 */
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

/**
 * What a later start hands over to the running window: its working folder, then the
 * paths, each ending in a 0 byte. The folder is marked by a first byte 0x01, which no
 * path given to a program begins with; a window reads a message without it as paths alone.
 */
std::string HandOverMessage(const std::vector<std::string>& paths, std::string_view working_folder);

/**
 * The paths of a hand-over (HandOverMessage), relative ones made full under the sender's
 * working folder. A relative path with no full working folder stays relative, and the
 * add step refuses it. An unfinished last path is dropped.
 */
std::vector<std::string> HandedOverPaths(std::string_view message);

/** The usage, in Japanese or in English, ending in a line break. */
std::string UsageText(bool japanese);

/** Whether the user's locale (LC_ALL, LC_MESSAGES, LANG, in that order) is Japanese. */
bool JapaneseLocale();

}  // namespace zefa
