// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zefa {

/** The system sounds that precede some message boxes. */
enum class BeepKind { kWarning, kError, kInformation };

/** What the file-open dialog offers: a start folder and a filter ("Name(*.ext)|*.ext"). */
struct FileChoice {
  std::string initial_folder;  // empty: the dialog's own default
  std::string filter;          // empty: every file
  bool select_newest = false;  // the most recently changed file of the folder comes selected
  std::string preselected{};   // this file comes selected instead, when given
};

/** The progress of one long task, shown while the object lives. */
class Progress {
 public:
  virtual ~Progress() = default;
  /**
   * `done` steps of the task are finished; false once the user has asked to stop. Cheap
   * enough to be told after every step.
   */
  virtual bool Advance(std::size_t done) = 0;
};

/**
 * Every question to the user goes through here. Texts are byte strings in the program's
 * code page, with line breaks as "\n\r"; they are shown as plain text, never rich text.
 */
class Prompter {
 public:
  virtual ~Prompter() = default;

  virtual void Beep(BeepKind kind) = 0;
  /** Title "確認", question icon, はい/いいえ; true only for Yes. */
  virtual bool Confirm(const std::string& text) = 0;
  /** Title "警告", warning icon, はい/いいえ; true only for Yes. */
  virtual bool Warn(const std::string& text) = 0;
  /** Title "エラー", error icon, the single button 中止(&A). */
  virtual void Error(const std::string& text) = 0;
  /** Title "ZeFa Oru", no icon, OK. */
  virtual void Inform(const std::string& text) = 0;
  /** Title "ZeFa Oru", no icon, はい/いいえ; true only for Yes. */
  virtual bool Ask(const std::string& text) = 0;
  /** The application's error box: title "ZeFa Oru", error icon, OK; the text as given. */
  virtual void ApplicationError(const std::string& text) = 0;
  /** The file-open dialog for one file; nullopt when cancelled. */
  virtual std::optional<std::string> ChooseFile(const FileChoice& choice) = 0;
  /**
   * The file-open dialog for any number of files, in the dialog's order; none when
   * cancelled. A prompter without such a dialog offers ChooseFile's one file.
   */
  virtual std::vector<std::string> ChooseFiles(const FileChoice& choice);
  /**
   * A small dialog titled `title` that asks for one line of text after `label`, with OK
   * and キャンセル; nullopt when cancelled (and without such a dialog).
   */
  virtual std::optional<std::string> AskText(const std::string& /*title*/,
                                             const std::string& /*label*/) {
    return std::nullopt;
  }
  /** The dialog that picks one folder; nullopt when cancelled (and without such a dialog). */
  virtual std::optional<std::string> ChooseFolder() { return std::nullopt; }
  /**
   * The progress of a task of `total` steps described by `text`: a modal window with the
   * count done and a way to stop, shown only once the task has taken about a second; the
   * windows stay painted meanwhile. Without a window of its own a prompter never stops a
   * task.
   */
  virtual std::unique_ptr<Progress> StartProgress(const std::string& text, std::size_t total);
};

}  // namespace zefa
