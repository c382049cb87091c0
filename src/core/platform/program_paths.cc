// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/program_paths.h"

namespace zefa {

std::string WithTrailingSeparator(std::string folder, const TextRules& rules) {
  if (folder.empty() || FileNameStart(folder, rules) != folder.size()) {
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

}  // namespace zefa
