// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "renamelist/add_file.h"

#include <optional>

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "renamelist/unique_name.h"

namespace zefa {
namespace {

// What every file of one command is checked and derived against; the settings cannot
// change while a command runs, so they are read once and not once per file.
struct AddRun {
  DeriveSettings settings;
  std::optional<std::string> executable_key;
};

AddRun StartAddRun(const Context& context) {
  AddRun run;
  run.settings = ReadDeriveSettings(context.Settings());
  if (!context.paths.executable_path.empty()) {
    run.executable_key = context.file_system.FileKey(context.paths.executable_path);
  }
  return run;
}

void AddOne(MainState& state, const Context& context, const AddRun& run, const std::string& path) {
  if (!context.paths.executable_path.empty() && path == context.paths.executable_path) {
    context.prompter.Inform(kOwnProgramMessage);
    return;
  }
  // The program is a file, so a folder or nothing at the path cannot be it.
  std::optional<std::string> key = context.file_system.ExistingFileKey(path);
  if (key && run.executable_key && *key == *run.executable_key) {
    context.prompter.Inform(kOwnProgramMessage);
    return;
  }
  if (!key) {
    context.prompter.Inform(kNotAFileMessage);
    return;
  }
  if (state.list.HoldsFile(*key) || state.list.HoldsPath(path)) {
    context.prompter.Inform(kAlreadyListedMessage + path);
    return;
  }
  state.list.AppendRow(path, DeriveUniqueName(path, state.edit2, run.settings, context.rules),
                       ExtensionOfPath(path, context.rules), std::move(*key));
}

}  // namespace

void AddFile(MainState& state, const Context& context, const std::string& path) {
  AddOne(state, context, StartAddRun(context), path);
}

void DropFiles(MainState& state, const Context& context, const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  const AddRun run = StartAddRun(context);
  state.list.Reserve(static_cast<std::size_t>(state.list.size()) + paths.size());
  for (const std::string& path : paths) AddOne(state, context, run, path);
}

void Button4Click(MainState& state, const Context& context) {
  const std::optional<std::string> chosen = context.prompter.ChooseFile(FileChoice{});
  if (chosen) AddFile(state, context, *chosen);
}

}  // namespace zefa
