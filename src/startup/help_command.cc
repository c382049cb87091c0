// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "startup/help_command.h"

#include "platform/file_system.h"
#include "platform/prompter.h"

namespace zefa {
namespace {

// The help page is copied only up to this size; a larger one is opened where it lies.
constexpr std::size_t kMaxHelpBytes = std::size_t{64} << 20;

}  // namespace

std::optional<std::string> FindHelpFile(FileSystem& file_system,
                                        const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    std::string path = folder + kHelpFileName;
    if (file_system.FileExists(path)) return path;
  }
  return std::nullopt;
}

std::optional<std::string> PrepareHelp(Prompter& prompter, FileSystem& file_system,
                                       const HelpPlaces& places) {
  const std::optional<std::string> help = FindHelpFile(file_system, places.folders);
  if (!help) {
    prompter.Beep(BeepKind::kError);
    prompter.Inform(kHelpMissingText);
    return std::nullopt;
  }
  if (places.view_folder.empty() || !file_system.CreateFolders(places.view_folder)) return help;
  const FileRead content = file_system.ReadFile(*help, kMaxHelpBytes);
  const std::string view = places.view_folder + kHelpViewName;
  if (!content || !file_system.WriteFile(view, *content, WriteMode::kReplace)) return help;
  return view;
}

}  // namespace zefa
