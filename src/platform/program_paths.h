// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "text/text_rules.h"

namespace zefa {

/** Where the program keeps its settings file and its restore files. */
struct ProgramPaths {
  std::string executable_path;    // full path of the running program
  std::string executable_folder;  // its folder, separator kept
  std::string settings_path;      // ".../ZeFa_oru.ini"
  std::string restore_folder;     // ".../restore", no trailing separator
};

/** What the platform knows that decides the program folder. */
struct ProgramPlaces {
  std::string executable_path;
  std::optional<std::string> zefa_oru_dir;  // the environment variable ZEFA_ORU_DIR
  bool executable_folder_writable = false;
  std::string user_config_folder;  // e.g. ~/.config/ZeFa_oru
  std::string user_data_folder;    // e.g. ~/.local/share/ZeFa_oru
};

inline constexpr const char* kSettingsFileName = "ZeFa_oru.ini";
inline constexpr const char* kRestoreFolderName = "restore";
inline constexpr const char* kProgramDirVariable = "ZEFA_ORU_DIR";
/** Set by zefa-oru for the window it starts: the path of the program the user ran. */
inline constexpr const char* kProgramPathVariable = "ZEFA_ORU_PROGRAM";

/**
 * ZEFA_ORU_DIR when set; else the executable's folder when it is writable (a portable
 * copy); else the per-user folders of the platform.
 */
ProgramPaths ResolveProgramPaths(const ProgramPlaces& places, const TextRules& rules);

/** `folder` ending in a separator of the path style (one is added when it has none); "" stays "".
 */
std::string WithTrailingSeparator(std::string folder, const TextRules& rules);

/** Whether a folder (ending in "/") is one the system installs programs into. */
bool IsSystemProgramFolder(std::string_view folder);

/** Whether the program may create files in the folder. */
bool IsFolderWritable(const std::string& folder);

/**
 * The places of this run: ZEFA_ORU_DIR from the environment (unset or empty: none) and
 * whether the executable's folder is writable; the per-user folders come from the caller
 * (the window asks QStandardPaths).
 */
ProgramPlaces ProbeProgramPlaces(const std::string& executable_path, const TextRules& rules,
                                 std::string user_config_folder, std::string user_data_folder);

/**
 * The per-user folders of the program, as the desktop's conventions place them:
 * $XDG_CONFIG_HOME (else ~/.config) and $XDG_DATA_HOME (else ~/.local/share), each
 * followed by "/ZeFa_oru"; a variable that holds no absolute path counts as unset.
 */
struct UserFolders {
  std::string config;
  std::string data;
};
UserFolders UserProgramFolders();

class FileSystem;

/**
 * The program folder of this run, as the window and the command line both resolve it:
 * ZEFA_ORU_DIR, a writable executable folder, or the user's folders. The executable is
 * zefa-oru, also for the window it starts (ZEFA_ORU_PROGRAM).
 */
ProgramPaths CurrentProgramPaths(FileSystem& file_system);

}  // namespace zefa
