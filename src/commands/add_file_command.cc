// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/add_file_command.h"

#include <array>
#include <optional>

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "renaming/add_files.h"
#include "renaming/rename_execution.h"
#include "text/name_text.h"
#include "text/uri_list.h"

namespace zefa {
namespace {

FileAdder StartAdding(const Context& context) {
  return FileAdder(context.file_system, context.paths.executable_path,
                   ReadDeriveSettings(context.Settings()), context.rules);
}

// A refusal's box for one file alone, as AddFile shows it.
std::string RefusalText(AddRefusal refusal, const std::string& path) {
  switch (refusal) {
    case AddRefusal::kOwnProgram:
      return kOwnProgramMessage;
    case AddRefusal::kNotAFile:
      return kNotAFileMessage;
    case AddRefusal::kAlreadyListed:
      return kAlreadyListedMessage + DisplayPath(path);
    case AddRefusal::kNone:
      break;
  }
  return {};
}

// The head of a refusal's box for several files: its text without a closing line break.
std::string_view RefusalHead(AddRefusal refusal) {
  std::string_view head = refusal == AddRefusal::kOwnProgram ? kOwnProgramMessage
                          : refusal == AddRefusal::kNotAFile ? kNotAFileMessage
                                                             : kAlreadyListedMessage;
  if (head.ends_with("\n\r")) head.remove_suffix(2);
  return head;
}

// Boxes in the order of the reasons, each listing its first paths as the failure report does.
void ShowRefusals(const Context& context,
                  const std::array<std::vector<const std::string*>, 3>& refused) {
  constexpr AddRefusal kOrder[] = {AddRefusal::kOwnProgram, AddRefusal::kNotAFile,
                                   AddRefusal::kAlreadyListed};
  for (std::size_t kind = 0; kind < refused.size(); ++kind) {
    const std::vector<const std::string*>& paths = refused[kind];
    if (paths.empty()) continue;
    std::string text(RefusalHead(kOrder[kind]));
    const std::size_t shown = std::min(paths.size(), static_cast<std::size_t>(kReportedFailures));
    for (std::size_t i = 0; i < shown; ++i) text += "\n\r" + DisplayPath(*paths[i]);
    if (paths.size() > shown) text += "\n\r他" + std::to_string(paths.size() - shown) + "個";
    context.prompter.Inform(text);
  }
}

std::size_t RefusalIndex(AddRefusal refusal) {
  return refusal == AddRefusal::kOwnProgram ? 0 : refusal == AddRefusal::kNotAFile ? 1 : 2;
}

// Adds the local entries in their order; `entries` that are no local file are refused.
void AddDropped(MainState& state, const Context& context, const std::vector<DroppedUri>& entries) {
  if (entries.empty()) return;
  FileAdder adder = StartAdding(context);
  if (entries.size() == 1) {
    const DroppedUri& entry = entries.front();
    const AddRefusal refusal =
        entry.local_file ? adder.Add(state.list, entry.path, state.edit2) : AddRefusal::kNotAFile;
    if (refusal != AddRefusal::kNone) context.prompter.Inform(RefusalText(refusal, entry.path));
    return;
  }
  state.list.Reserve(static_cast<std::size_t>(state.list.size()) + entries.size());
  std::array<std::vector<const std::string*>, 3> refused;
  for (const DroppedUri& entry : entries) {
    const AddRefusal refusal =
        entry.local_file ? adder.Add(state.list, entry.path, state.edit2) : AddRefusal::kNotAFile;
    if (refusal != AddRefusal::kNone) refused[RefusalIndex(refusal)].push_back(&entry.path);
  }
  ShowRefusals(context, refused);
}

}  // namespace

void AddFile(MainState& state, const Context& context, const std::string& path) {
  AddDropped(state, context, {DroppedUri{true, path}});
}

void DropFiles(MainState& state, const Context& context, const std::vector<std::string>& paths) {
  std::vector<DroppedUri> entries;
  entries.reserve(paths.size());
  for (const std::string& path : paths) entries.push_back({true, path});
  AddDropped(state, context, entries);
}

void DropUriList(MainState& state, const Context& context, std::string_view uri_list) {
  AddDropped(state, context, ParseUriList(uri_list));
}

std::vector<std::string> ArgumentPaths(const std::vector<std::string>& arguments,
                                       std::string_view current_folder) {
  std::vector<std::string> paths;
  paths.reserve(arguments.size());
  for (const std::string& argument : arguments) {
    paths.push_back(AbsoluteArgumentPath(argument, current_folder));
  }
  return paths;
}

void Button4Click(MainState& state, const Context& context) {
  const std::optional<std::string> chosen = context.prompter.ChooseFile(FileChoice{});
  if (chosen) AddFile(state, context, *chosen);
}

}  // namespace zefa
