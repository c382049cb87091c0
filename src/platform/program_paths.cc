// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/program_paths.h"

#include <cstdlib>

#include "platform/file_system.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zefa {

std::string WithTrailingSeparator(std::string folder, const TextRules& rules) {
  // An empty folder stays empty: names after it are relative, not put in the root.
  if (!folder.empty() && FileNameStart(folder, rules) != folder.size()) {
    folder += rules.path_style == PathStyle::kWindows ? '\\' : '/';
  }
  return folder;
}

ProgramPaths ResolveProgramPaths(const ProgramPlaces& places, const TextRules& rules) {
  ProgramPaths paths;
  paths.executable_path = places.executable_path;
  paths.executable_folder = std::string(FolderPart(places.executable_path, rules));
  std::string settings_folder;
  std::string restore_parent;
  if (places.zefa_oru_dir && !places.zefa_oru_dir->empty()) {
    settings_folder = restore_parent = WithTrailingSeparator(*places.zefa_oru_dir, rules);
  } else if (places.executable_folder_writable && !paths.executable_folder.empty()) {
    settings_folder = restore_parent = paths.executable_folder;
  } else {
    settings_folder = WithTrailingSeparator(places.user_config_folder, rules);
    restore_parent = WithTrailingSeparator(places.user_data_folder, rules);
  }
  paths.settings_path = settings_folder + kSettingsFileName;
  paths.restore_folder = restore_parent + kRestoreFolderName;
  return paths;
}

bool IsFolderWritable(const std::string& folder) {
  if (folder.empty()) return false;
#ifdef _WIN32
  return ::_access(folder.c_str(), 2) == 0;
#else
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
#endif
}

bool IsSystemProgramFolder(std::string_view folder) {
  return folder.starts_with("/usr/") || folder == "/bin/" || folder == "/sbin/";
}

ProgramPlaces ProbeProgramPlaces(const std::string& executable_path, const TextRules& rules,
                                 std::string user_config_folder, std::string user_data_folder) {
  ProgramPlaces places;
  places.executable_path = executable_path;
  if (const char* dir = std::getenv(kProgramDirVariable); dir != nullptr && *dir != '\0') {
    places.zefa_oru_dir = dir;
  }
  // A copy installed for the whole system keeps its files per user, even when run by root.
  const std::string folder(FolderPart(executable_path, rules));
  places.executable_folder_writable = !IsSystemProgramFolder(folder) && IsFolderWritable(folder);
  places.user_config_folder = std::move(user_config_folder);
  places.user_data_folder = std::move(user_data_folder);
  return places;
}

namespace {

// An XDG variable's folder, or the home folder's default below it.
std::string XdgFolder(const char* variable, const char* home_default) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
    return value;
  }
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + home_default;
}

}  // namespace

UserFolders UserProgramFolders() {
#ifdef _WIN32
  const char* app_data = std::getenv("APPDATA");
  const std::string folder = std::string(app_data != nullptr ? app_data : "") + "\\ZeFa_oru";
  return {folder, folder};
#else
  return {XdgFolder("XDG_CONFIG_HOME", "/.config") + "/ZeFa_oru",
          XdgFolder("XDG_DATA_HOME", "/.local/share") + "/ZeFa_oru"};
#endif
}

ProgramPaths CurrentProgramPaths(FileSystem& file_system) {
  const TextRules rules = NativeTextRules();
  UserFolders user = UserProgramFolders();
  const char* program = std::getenv(kProgramPathVariable);
  const std::string executable =
      program != nullptr && *program != '\0' ? std::string(program) : file_system.ExecutablePath();
  const ProgramPlaces places =
      ProbeProgramPlaces(executable, rules, std::move(user.config), std::move(user.data));
  return ResolveProgramPaths(places, rules);
}

}  // namespace zefa
