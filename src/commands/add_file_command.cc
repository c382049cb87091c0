// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/add_file_command.h"

#include <optional>

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "renaming/add_files.h"

namespace zefa {
namespace {

FileAdder StartAdding(const Context& context) {
  return FileAdder(context.file_system, context.paths.executable_path,
                   ReadDeriveSettings(context.Settings()), context.rules);
}

void AddOne(MainState& state, const Context& context, FileAdder& adder, const std::string& path) {
  switch (adder.Add(state.list, path, state.edit2)) {
    case AddRefusal::kNone:
      break;
    case AddRefusal::kOwnProgram:
      context.prompter.Inform(kOwnProgramMessage);
      break;
    case AddRefusal::kNotAFile:
      context.prompter.Inform(kNotAFileMessage);
      break;
    case AddRefusal::kAlreadyListed:
      context.prompter.Inform(kAlreadyListedMessage + path);
      break;
  }
}

}  // namespace

void AddFile(MainState& state, const Context& context, const std::string& path) {
  FileAdder adder = StartAdding(context);
  AddOne(state, context, adder, path);
}

void DropFiles(MainState& state, const Context& context, const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  FileAdder adder = StartAdding(context);
  state.list.Reserve(static_cast<std::size_t>(state.list.size()) + paths.size());
  for (const std::string& path : paths) AddOne(state, context, adder, path);
}

void Button4Click(MainState& state, const Context& context) {
  const std::optional<std::string> chosen = context.prompter.ChooseFile(FileChoice{});
  if (chosen) AddFile(state, context, *chosen);
}

}  // namespace zefa
