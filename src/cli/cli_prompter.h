// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/prompter.h"

namespace zefa {

/**
 * Ctrl+C, SIGTERM and SIGHUP ask the command under way to stop after the file at hand, as
 * 中止 does in the window; a second signal does the same (the record stays true either way).
 */
void InstallStopSignals();
/** Whether a stop was asked for since the program started (or since ResetStop). */
bool StopRequested();
void RequestStop();
void ResetStop();

/**
 * The prompter of the command line: it asks no one. The call itself is the
 * confirmation, the restore question is answered by --no-restore, every other question
 * Yes; errors go to standard error in the window's words as they come, and what the
 * window would only inform of is kept for the caller. Progress is shown on standard
 * error when it is a terminal and the task takes over a second; every progress stops
 * when a stop was asked for.
 */
class CliPrompter : public Prompter {
 public:
  CliPrompter(std::ostream& err, bool with_restore, bool progress_shown)
      : err_(err), with_restore_(with_restore), progress_shown_(progress_shown) {}

  void Beep(BeepKind /*kind*/) override {}
  bool Confirm(const std::string& /*text*/) override { return true; }
  bool Warn(const std::string& text) override;
  void Error(const std::string& text) override;
  void Inform(const std::string& text) override { informed_.push_back(text); }
  bool Ask(const std::string& /*text*/) override { return false; }
  void ApplicationError(const std::string& text) override { Error(text); }
  std::optional<std::string> ChooseFile(const FileChoice& /*choice*/) override {
    return std::nullopt;
  }
  std::unique_ptr<Progress> StartProgress(const std::string& text, std::size_t total) override;

  /** The label of the next progress line ("" leaves the window's text). */
  void SetProgressLabel(std::string label) { progress_label_ = std::move(label); }
  /** The errors shown, and the informations kept, since the last Take. */
  const std::vector<std::string>& errors() const { return errors_; }
  std::vector<std::string> TakeInformed() { return std::exchange(informed_, {}); }

 private:
  std::ostream& err_;
  bool with_restore_;
  bool progress_shown_;
  std::string progress_label_;
  std::vector<std::string> errors_;
  std::vector<std::string> informed_;
};

/** A message of the window as lines of a terminal: "\n\r" and "\r" become "\n". */
std::string TerminalLines(std::string_view text);

}  // namespace zefa
