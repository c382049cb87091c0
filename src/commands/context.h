// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/program_paths.h"
#include "settings/settings_file.h"
#include "text/text_rules.h"

namespace zefa {

class FileSystem;
class MediaDates;
class Prompter;

/** What a command needs of the world beyond the window. */
struct Context {
  Prompter& prompter;
  FileSystem& file_system;
  ProgramPaths paths;
  TextRules rules;
  /** What the tokens of a name read from the files with; none: they read nothing. */
  MediaDates* media = nullptr;

  /** The settings file, opened for one command. */
  SettingsFile Settings() const { return SettingsFile(file_system, paths.settings_path); }
};

}  // namespace zefa
