// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/add_file_command.h"

#include <array>
#include <memory>
#include <optional>

#include "platform/file_system.h"
#include "platform/prompter.h"
#include "list/add_files.h"
#include "list/folder_files.h"
#include "run/rename_execution.h"
#include "text/name_text.h"
#include "text/uri_list.h"

namespace zefa {
namespace {

constexpr const char* kAddingText = "ファイルを追加しています";

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

// The refusals of one command, per reason in the order of the boxes: the first paths of
// each, to be named, and how many there were.
class Refusals {
 public:
  void Note(AddRefusal refusal, const std::string& path) {
    Kind& kind = kinds_[Index(refusal)];
    if (kind.paths.size() < static_cast<std::size_t>(kReportedFailures)) kind.paths.push_back(path);
    ++kind.count;
  }

  // Boxes in the order of the reasons, each listing its first paths as the failure report does.
  void Show(const Context& context) const {
    constexpr AddRefusal kOrder[] = {AddRefusal::kOwnProgram, AddRefusal::kNotAFile,
                                     AddRefusal::kAlreadyListed};
    for (std::size_t i = 0; i < kinds_.size(); ++i) {
      const Kind& kind = kinds_[i];
      if (kind.count == 0) continue;
      std::string text(RefusalHead(kOrder[i]));
      for (const std::string& path : kind.paths) text += "\n\r" + DisplayPath(path);
      if (kind.count > kind.paths.size()) {
        text += "\n\r他" + std::to_string(kind.count - kind.paths.size()) + "個";
      }
      context.prompter.Inform(text);
    }
  }

 private:
  struct Kind {
    std::vector<std::string> paths;
    std::size_t count = 0;
  };
  static std::size_t Index(AddRefusal refusal) {
    return refusal == AddRefusal::kOwnProgram ? 0 : refusal == AddRefusal::kNotAFile ? 1 : 2;
  }
  std::array<Kind, 3> kinds_;
};

// Files of a command, one by one or a whole folder at a time, with the progress window and
// the refusals of them all.
class Adding {
 public:
  Adding(MainState& state, const Context& context)
      : state_(state),
        context_(context),
        adder_(StartAdding(context)),
        progress_(context.prompter.StartProgress(kAddingText, 0)) {}

  // False once the user has stopped the command.
  bool Entry(const DroppedUri& entry) {
    if (!entry.local_file) {
      refusals_.Note(AddRefusal::kNotAFile, entry.path);
      return Advance();
    }
    const AddRefusal refusal = adder_.Add(state_.list, entry.path, state_.edit2);
    if (refusal == AddRefusal::kNotAFile && context_.file_system.FolderExists(entry.path)) {
      return Folder(entry.path);
    }
    if (refusal != AddRefusal::kNone) refusals_.Note(refusal, entry.path);
    return Advance();
  }

  void ShowRefusals() const { refusals_.Show(context_); }

 private:
  bool Folder(const std::string& folder) {
    if (!restore_key_) {
      restore_key_ = context_.file_system.FileKey(context_.paths.restore_folder).value_or("");
    }
    bool going = true;
    const bool walked = ForEachFileInFolder(
        context_.file_system, folder, *restore_key_, context_.rules.code_page,
        [&](std::string path, std::string key) {
          const AddRefusal refusal =
              adder_.AddFound(state_.list, std::move(path), std::move(key), state_.edit2);
          if (refusal != AddRefusal::kNone) refusals_.Note(refusal, path);
          going = Advance();
          return going;
        });
    if (!walked) refusals_.Note(AddRefusal::kNotAFile, folder);
    return going;
  }

  bool Advance() { return progress_->Advance(++done_); }

  MainState& state_;
  const Context& context_;
  FileAdder adder_;
  std::unique_ptr<Progress> progress_;
  std::optional<std::string> restore_key_;
  Refusals refusals_;
  std::size_t done_ = 0;
};

// Adds the local entries in their order; `entries` that are no local file are refused. One
// file alone is refused in its own box; several, or a folder, in one box per reason.
void AddDropped(MainState& state, const Context& context, const std::vector<DroppedUri>& entries) {
  if (entries.empty()) return;
  if (entries.size() == 1 && !(entries.front().local_file &&
                               context.file_system.FolderExists(entries.front().path))) {
    const DroppedUri& entry = entries.front();
    const AddRefusal refusal = entry.local_file ? StartAdding(context).Add(state.list, entry.path,
                                                                          state.edit2)
                                                : AddRefusal::kNotAFile;
    if (refusal != AddRefusal::kNone) context.prompter.Inform(RefusalText(refusal, entry.path));
    return;
  }
  state.list.Reserve(static_cast<std::size_t>(state.list.size()) + entries.size());
  Adding adding(state, context);
  for (const DroppedUri& entry : entries) {
    if (!adding.Entry(entry)) break;
  }
  adding.ShowRefusals();
}

}  // namespace

void AddFile(MainState& state, const Context& context, const std::string& path) {
  AddDropped(state, context, {DroppedUri{IsFullPath(path, context.rules), path}});
}

void DropFiles(MainState& state, const Context& context, const std::vector<std::string>& paths) {
  std::vector<DroppedUri> entries;
  entries.reserve(paths.size());
  // A relative path names no file of this window's: it is refused, never looked up.
  for (const std::string& path : paths) {
    entries.push_back({IsFullPath(path, context.rules), path});
  }
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
  DropFiles(state, context, context.prompter.ChooseFiles(FileChoice{}));
}

void AddFolder1Click(MainState& state, const Context& context) {
  const std::optional<std::string> chosen = context.prompter.ChooseFolder();
  if (chosen) AddFile(state, context, *chosen);
}

}  // namespace zefa
