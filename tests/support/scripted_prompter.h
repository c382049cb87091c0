// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
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
  /** The next progress window is stopped by the user once `done` steps are finished. */
  ScriptedPrompter& StopProgressAt(std::size_t done) {
    stops_.push_back(done);
    return *this;
  }
  /** Called with the count done at each step of every progress window (a fault to inject). */
  ScriptedPrompter& OnProgress(std::function<void(std::size_t)> step) {
    on_progress_ = std::move(step);
    return *this;
  }
  ScriptedPrompter& File(std::optional<std::string> path) {
    files_.push_back(std::move(path));
    return *this;
  }
  /** The next file-open dialog for several files gives these (none: cancelled). */
  ScriptedPrompter& Files(std::vector<std::string> paths) {
    file_sets_.push_back(std::move(paths));
    return *this;
  }
  /** The next text dialog is answered with this (nullopt: cancelled). */
  ScriptedPrompter& Text(std::optional<std::string> text) {
    texts_.push_back(std::move(text));
    return *this;
  }
  ScriptedPrompter& Folder(std::optional<std::string> path) {
    folders_.push_back(std::move(path));
    return *this;
  }

  std::vector<std::string> log;
  /** The file that came selected in each ChooseFile, in order. */
  std::vector<std::string> preselected;
  int unanswered = 0;
  /** Every progress window as "<text> <total>"; kept out of `log`, as it asks nothing. */
  std::vector<std::string> progress;

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
    preselected.push_back(choice.preselected);
    if (files_.empty()) {
      ++unanswered;
      return std::nullopt;
    }
    auto file = std::move(files_.front());
    files_.pop_front();
    return file;
  }
  /** Logged as ChooseFile; without a scripted set, the one file of ChooseFile. */
  std::vector<std::string> ChooseFiles(const FileChoice& choice) override {
    if (file_sets_.empty()) return Prompter::ChooseFiles(choice);
    log.push_back("choose-file " + choice.initial_folder + "|" + choice.filter);
    auto files = std::move(file_sets_.front());
    file_sets_.pop_front();
    return files;
  }
  std::optional<std::string> AskText(const std::string& title, const std::string& label) override {
    log.push_back("ask-text " + title + "|" + label);
    if (texts_.empty()) {
      ++unanswered;
      return std::nullopt;
    }
    auto text = std::move(texts_.front());
    texts_.pop_front();
    return text;
  }
  std::optional<std::string> ChooseFolder() override {
    log.push_back("choose-folder");
    if (folders_.empty()) {
      ++unanswered;
      return std::nullopt;
    }
    auto folder = std::move(folders_.front());
    folders_.pop_front();
    return folder;
  }
  std::unique_ptr<Progress> StartProgress(const std::string& text, std::size_t total) override {
    progress.push_back(text + " " + std::to_string(total));
    std::size_t stop = static_cast<std::size_t>(-1);
    if (!stops_.empty()) {
      stop = stops_.front();
      stops_.pop_front();
    }
    return std::make_unique<StoppingProgress>(stop, on_progress_);
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

  class StoppingProgress : public Progress {
   public:
    StoppingProgress(std::size_t stop, std::function<void(std::size_t)> step)
        : stop_(stop), step_(std::move(step)) {}
    bool Advance(std::size_t done) override {
      if (step_) step_(done);
      return done < stop_;
    }

   private:
    std::size_t stop_;
    std::function<void(std::size_t)> step_;
  };

  std::deque<bool> answers_;
  std::deque<std::size_t> stops_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::vector<std::string>> file_sets_;
  std::deque<std::optional<std::string>> folders_;
  std::deque<std::optional<std::string>> texts_;
  std::function<void(std::size_t)> on_progress_;
};

}  // namespace zefa::test
