// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/cli_prompter.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <utility>

#include "commands/rename_command.h"

namespace zefa {
namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void OnStopSignal(int /*signal*/) { g_stop = 1; }

using Clock = std::chrono::steady_clock;

// "label done/total" on one line of a terminal, redrawn a few times a second once the task
// has taken a second; the line is wiped when the task ends.
class TerminalProgress : public Progress {
 public:
  TerminalProgress(std::ostream* err, std::string label, std::size_t total)
      : err_(err), label_(std::move(label)), total_(total), start_(Clock::now()) {}
  ~TerminalProgress() override {
    if (drawn_) *err_ << "\r\033[K" << std::flush;
  }
  bool Advance(std::size_t done) override {
    if (err_ != nullptr && (done & 0x3F) == 0) Draw(done);
    return !StopRequested();
  }

 private:
  void Draw(std::size_t done) {
    const Clock::time_point now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(100)) {
      return;
    }
    last_ = now;
    drawn_ = true;
    *err_ << '\r' << label_ << ' ' << done;
    if (total_ > 0) *err_ << '/' << total_;
    *err_ << "\033[K" << std::flush;
  }

  std::ostream* err_;
  std::string label_;
  std::size_t total_;
  Clock::time_point start_;
  Clock::time_point last_;
  bool drawn_ = false;
};

}  // namespace

void InstallStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A closed ssh session ends the run as a stop does, so that its outcome is recorded.
  sigaction(SIGHUP, &action, nullptr);
}

bool StopRequested() { return g_stop != 0; }
void RequestStop() { g_stop = 1; }
void ResetStop() { g_stop = 0; }

std::string TerminalLines(std::string_view text) {
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\r') {
      lines += '\n';
      ++i;
    } else {
      lines += text[i] == '\r' ? '\n' : text[i];
    }
  }
  return lines;
}

bool CliPrompter::Warn(const std::string& text) {
  // The run's restore question is answered by --no-restore; the sorts' questions by the
  // order asked for.
  return text == kRestoreQuestion ? with_restore_ : true;
}

void CliPrompter::Error(const std::string& text) {
  errors_.push_back(text);
  err_ << "zefa-oru: " << TerminalLines(text) << '\n' << std::flush;
}

std::unique_ptr<Progress> CliPrompter::StartProgress(const std::string& text, std::size_t total) {
  return std::make_unique<TerminalProgress>(
      progress_shown_ ? &err_ : nullptr, progress_label_.empty() ? text : progress_label_, total);
}

}  // namespace zefa
