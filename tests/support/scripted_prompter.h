// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace zefa::test {

/**
 * A prompter that answers from a script and records every box and beep as one line:
 * "beep warning", "confirm <text>", "warn <text>", "error <text>", "inform <text>",
 * "ask <text>", "app-error <text>", "choose-file <folder>|<filter>".
 * A question with no scripted answer is answered No and counted in `unanswered`.
 */
class ScriptedPrompter : public Prompter {
 public:
  ScriptedPrompter& Yes() {
    answers_.push_back(true);
    return *this;
  }
  ScriptedPrompter& No() {
    answers_.push_back(false);
    return *this;
  }
  ScriptedPrompter& File(std::optional<std::string> path) {
    files_.push_back(std::move(path));
    return *this;
  }

  std::vector<std::string> log;
  int unanswered = 0;

  void Beep(BeepKind kind) override {
    log.push_back(kind == BeepKind::kWarning ? "beep warning"
                  : kind == BeepKind::kError ? "beep error"
                                             : "beep information");
  }
  bool Confirm(const std::string& text) override { return Answer("confirm " + text); }
  bool Warn(const std::string& text) override { return Answer("warn " + text); }
  void Error(const std::string& text) override { log.push_back("error " + text); }
  void Inform(const std::string& text) override { log.push_back("inform " + text); }
  bool Ask(const std::string& text) override { return Answer("ask " + text); }
  void ApplicationError(const std::string& text) override { log.push_back("app-error " + text); }
  std::optional<std::string> ChooseFile(const FileChoice& choice) override {
    log.push_back("choose-file " + choice.initial_folder + "|" + choice.filter);
    if (files_.empty()) {
      ++unanswered;
      return std::nullopt;
    }
    auto file = std::move(files_.front());
    files_.pop_front();
    return file;
  }

 private:
  bool Answer(std::string line) {
    log.push_back(std::move(line));
    if (answers_.empty()) {
      ++unanswered;
      return false;
    }
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
  }

  std::deque<bool> answers_;
  std::deque<std::optional<std::string>> files_;
};

}  // namespace zefa::test
