// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/add_file_command.h"

#include <array>
#include <memory>
#include <optional>

#include "change/row_change.h"
#include "list/add_files.h"
#include "list/folder_files.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
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
  if (head.ends_with(kLineBreak)) head.remove_suffix(kLineBreak.size());
  return head;
}

// The refusals of one command, per reason in the order of the boxes: the first paths of
// each, to be named as every message shows paths, and how many there were.
class Refusals {
 public:
  void Note(AddRefusal refusal, const std::string& path) {
    Kind& kind = kinds_[Index(refusal)];
    if (kind.paths.size() < kReportedFailures) kind.paths.push_back(DisplayPath(path));
    ++kind.count;
  }

  // Boxes in the order of the reasons, each listing its first paths as the failure report does.
  void Show(const Context& context) const {
    constexpr AddRefusal kOrder[] = {AddRefusal::kOwnProgram, AddRefusal::kNotAFile,
                                     AddRefusal::kAlreadyListed};
    for (std::size_t i = 0; i < kinds_.size(); ++i) {
      const Kind& kind = kinds_[i];
      if (kind.count == 0) continue;
      context.prompter.Inform(FailureList(RefusalHead(kOrder[i]), kind.paths, kind.count));
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

// The parts of the folders of a command that could not be walked, per reason: how many
// and the first few paths, told in one box after the add.
class Gaps {
 public:
  void Note(const std::string& path, WalkGap why) {
    Kind& kind = kinds_[static_cast<std::size_t>(why)];
    if (kind.paths.size() < kShownPaths) kind.paths.push_back(path);
    ++kind.count;
    ++total_;
  }
  std::size_t total() const { return total_; }

  void Show(const Context& context) const {
    if (total_ == 0) return;
    std::string text = "読み取れなかったため追加できなかったフォルダまたはファイルが " +
                       std::to_string(total_) + " 個あります。";
    for (std::size_t i = 0; i < kinds_.size(); ++i) {
      const Kind& kind = kinds_[i];
      if (kind.count == 0) continue;
      text += "\n\r" + std::string(Reason(static_cast<WalkGap>(i))) + "（" +
              std::to_string(kind.count) + " 個）：";
      for (std::size_t p = 0; p < kind.paths.size(); ++p) {
        text += (p == 0 ? "" : "、") + ShortPath(kind.paths[p]);
      }
      if (kind.count > kind.paths.size()) {
        text += "、他" + std::to_string(kind.count - kind.paths.size()) + "個";
      }
    }
    context.prompter.Inform(text);
  }

 private:
  static constexpr std::size_t kShownPaths = 3;
  // A path longer than this shows its end only: the folders nearest the file tell most.
  static constexpr std::size_t kShownPathBytes = 160;

  static std::string_view Reason(WalkGap why) {
    switch (why) {
      case WalkGap::kNoPermission:
        return "読み取りが許可されていません";
      case WalkGap::kPathTooLong:
        return "パスが長すぎます";
      case WalkGap::kGone:
        return "調べている間に移動または削除されました";
      case WalkGap::kUnreadable:
        break;
    }
    return "読み取りに失敗しました";
  }
  static std::string ShortPath(const std::string& path) {
    if (path.size() <= kShownPathBytes) return DisplayPath(path);
    // From a folder's start where one lies within the end, else from a character's start.
    std::size_t from = path.size() - kShownPathBytes;
    const std::size_t slash = path.find('/', from);
    if (slash + 1 < path.size()) {
      from = slash;
    } else {
      while (from < path.size() && (static_cast<unsigned char>(path[from]) & 0xC0) == 0x80) ++from;
    }
    return "…" + DisplayPath(std::string_view(path).substr(from));
  }

  struct Kind {
    std::vector<std::string> paths;
    std::size_t count = 0;
  };
  std::array<Kind, 4> kinds_;
  std::size_t total_ = 0;
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
    const AddRefusal refusal = adder_.Add(state_.list, entry.path, state_.common_name);
    if (refusal == AddRefusal::kNotAFile && context_.file_system.FolderExists(entry.path)) {
      return Folder(entry.path);
    }
    if (refusal != AddRefusal::kNone) refusals_.Note(refusal, entry.path);
    return Advance();
  }

  void ShowRefusals() const {
    refusals_.Show(context_);
    gaps_.Show(context_);
  }

 private:
  bool Folder(const std::string& folder) {
    if (!restore_key_) {
      restore_key_ = context_.file_system.FileKey(context_.paths.restore_folder).value_or("");
    }
    bool going = true;
    const std::size_t gaps_before = gaps_.total();
    const bool walked = ForEachFileInFolder(
        context_.file_system, folder, *restore_key_, context_.rules.code_page,
        [&](std::string path, std::string key) {
          const AddRefusal refusal =
              adder_.AddFound(state_.list, std::move(path), std::move(key), state_.common_name);
          if (refusal != AddRefusal::kNone) refusals_.Note(refusal, path);
          going = Advance();
          return going;
        },
        [&](const std::string& path, WalkGap why) { gaps_.Note(path, why); });
    // A folder that is there but could not be opened is told among the gaps.
    if (!walked && gaps_.total() == gaps_before) refusals_.Note(AddRefusal::kNotAFile, folder);
    return going;
  }

  bool Advance() { return progress_->Advance(++done_); }

  MainState& state_;
  const Context& context_;
  FileAdder adder_;
  std::unique_ptr<Progress> progress_;
  std::optional<std::string> restore_key_;
  Refusals refusals_;
  Gaps gaps_;
  std::size_t done_ = 0;
};

// Adds the local entries in their order; `entries` that are no local file are refused. One
// file alone is refused in its own box; several, or a folder, in one box per reason.
void AddDropped(MainState& state, const Context& context, const std::vector<DroppedUri>& entries) {
  if (entries.empty()) return;
  // The file dialogs open next where these came from, not where the last dialog was.
  for (const DroppedUri& entry : entries) {
    if (!entry.local_file) continue;
    state.add_folder = context.file_system.FolderExists(entry.path)
                           ? entry.path
                           : std::string(FolderPart(entry.path, context.rules));
    break;
  }
  if (entries.size() == 1 &&
      !(entries.front().local_file && context.file_system.FolderExists(entries.front().path))) {
    const DroppedUri& entry = entries.front();
    const AddRefusal refusal =
        entry.local_file ? StartAdding(context).Add(state.list, entry.path, state.common_name)
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
  FileChoice choice;
  choice.initial_folder = state.add_folder;
  DropFiles(state, context, context.prompter.ChooseFiles(choice));
}

void AddFolder1Click(MainState& state, const Context& context) {
  const std::optional<std::string> chosen = context.prompter.ChooseFolder(state.add_folder);
  if (chosen) AddFile(state, context, *chosen);
}

}  // namespace zefa
