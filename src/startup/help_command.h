// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zefa {

class FileSystem;
class Prompter;

inline constexpr const char* kHelpFileName = "help.hlp";
/** The copy of the help file that a desktop opens in its web browser. */
inline constexpr const char* kHelpViewName = "help.html";
inline constexpr const char* kHelpMissingText = "ヘルプファイル\"HELP.HLP\"が存在しません。";

/** Where the help file is looked for, and where its viewable copy goes. */
struct HelpPlaces {
  std::vector<std::string> folders;  // searched in order; each ends in a separator
  std::string view_folder;           // ends in a separator
};

/** The first "help.hlp" of the folders, or nullopt. */
std::optional<std::string> FindHelpFile(FileSystem& file_system,
                                        const std::vector<std::string>& folders);

/**
 * The help command: the file the desktop is to open, or, when there is no help file, the
 * error beep and the box saying so. A ".hlp" name has no viewer on a Linux desktop, so the
 * help (an HTML page) is copied to "help.html" in the view folder; should the copy fail,
 * the help file itself is offered.
 */
std::optional<std::string> PrepareHelp(Prompter& prompter, FileSystem& file_system,
                                       const HelpPlaces& places);

}  // namespace zefa
