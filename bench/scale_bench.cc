// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
//
// The window's steps on `rows` real files (100,000 by default; pass 1000000 for a million):
// the drop (DropFiles), the sort (Button11Click), the preview (BuildPreview), the rename
// run with a restore file (Button2Click) and its undo (Undo1Click), each timed, with the
// resident memory they leave and their peak, per row beyond the bytes of the paths; then a
// bare renameat2 loop there and back over the same files in a twin folder, made beside
// the first with the same names in the same order, in the same run. A folder that has
// held more names than it holds now has room for new ones in its index, so that renaming
// in it again is quicker than the first time: the twin, renamed by nothing before, puts
// the bare loop where the run starts.
// Usage: scale_bench [rows] [folder]; the folder defaults to $ZEFA_BENCH_DIR, else the
// system's temporary folder.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"
#include "commands/add_file_command.h"
#include "commands/main_state.h"
#include "commands/preview_command.h"
#include "commands/rename_command.h"
#include "commands/run_command.h"
#include "commands/sort_command.h"
#include "commands/undo_command.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"
#include "platform/prompter.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::Seconds;

class YesPrompter : public zefa::Prompter {
 public:
  std::string chosen_file;
  std::vector<std::string> messages;

  void Beep(zefa::BeepKind) override {}
  bool Confirm(const std::string&) override { return true; }
  bool Warn(const std::string&) override { return true; }
  void Error(const std::string& text) override { messages.push_back(text); }
  void Inform(const std::string& text) override {
    if (text != "完了しました") messages.push_back(text);
  }
  bool Ask(const std::string&) override { return true; }
  void ApplicationError(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> ChooseFile(const zefa::FileChoice&) override { return chosen_file; }
};

// Resident and peak resident kilobytes, from /proc/self/status.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
  }
  return -1;
}

// Starts a new peak, so that each step's own peak is read.
void ResetPeak() {
  FILE* refs = std::fopen("/proc/self/clear_refs", "w");
  if (refs == nullptr) return;
  std::fputs("5", refs);
  std::fclose(refs);
}

double BareLoop(const std::vector<std::string>& from, const std::vector<std::string>& to,
                int& failures) {
  const auto started = Clock::now();
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (renameat2(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str(), RENAME_NOREPLACE) != 0) {
      ++failures;
    }
  }
  return Seconds(started);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string root = zefa::bench::MakeBenchFolder(argc > 2 ? argv[2] : "", "scale");
  const std::string files = root + "/旅行の写真";
  const std::string twin = root + "/比較の写真";  // as many bytes
  std::filesystem::create_directory(files);
  std::filesystem::create_directory(twin);
  {
    std::ofstream settings(root + "/ZeFa_oru.ini", std::ios::binary);
    settings << "[Option]\nketa=6\npattern=1\nspace=1\nwhen_add=1\n";
  }

  // Created in reverse name order, so that the sort has work to do; each file of the twin
  // right after its namesake.
  std::vector<std::string> old_paths(static_cast<std::size_t>(rows));
  std::vector<std::string> twin_old(static_cast<std::size_t>(rows));
  std::vector<std::string> twin_new(static_cast<std::size_t>(rows));
  std::size_t path_bytes = 0;
  for (int i = 0; i < rows; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "/DSC_%07d.jpg", i + 1);
    old_paths[static_cast<std::size_t>(i)] = files + name;
    twin_old[static_cast<std::size_t>(i)] = twin + name;
    // Room for the new name as the preview gives it, before the memory is first read.
    std::snprintf(name, sizeof name, "/旅行 %06d.jpg", i + 1);
    twin_new[static_cast<std::size_t>(i)] = twin + name;
    path_bytes += old_paths[static_cast<std::size_t>(i)].size() + 1;
  }
  for (int i = rows - 1; i >= 0; --i) {
    for (const std::string* path :
         {&old_paths[static_cast<std::size_t>(i)], &twin_old[static_cast<std::size_t>(i)]}) {
      const int fd = open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
      if (fd < 0) {
        std::perror("open");
        return 1;
      }
      close(fd);
    }
  }
  std::vector<std::string> dropped(old_paths.rbegin(), old_paths.rend());

  YesPrompter prompter;
  zefa::NativeFileSystem file_system;
  zefa::ProgramPaths paths;
  paths.settings_path = root + "/ZeFa_oru.ini";
  paths.restore_folder = root + "/restore";
  const zefa::Context context{prompter, file_system, paths, zefa::NativeTextRules()};
  zefa::MainState state;
  state.common_name = "旅行";

  const double per_path = static_cast<double>(path_bytes) / rows;
  const long bare_kb = StatusKb("VmRSS:");
  std::printf("%d files in %s, paths of %.0f bytes on average; resident %.1f MB before the drop\n",
              rows, files.c_str(), per_path, static_cast<double>(bare_kb) / 1024);
  std::printf("%-10s %9s %11s %14s %14s\n", "step", "seconds", "us/row", "resident B/row",
              "peak B/row");
  const auto report = [&](const char* step, double seconds) {
    const double resident = (StatusKb("VmRSS:") - bare_kb) * 1024.0 / rows - per_path;
    const double peak = (StatusKb("VmHWM:") - bare_kb) * 1024.0 / rows - per_path;
    std::printf("%-10s %9.3f %11.3f %14.0f %14.0f\n", step, seconds, seconds * 1e6 / rows, resident,
                peak);
    std::fflush(stdout);
  };

  // Each step runs as the window runs its commands, through RunCommand, with its own peak.
  const auto step = [&](const char* name, const auto& command) {
    ResetPeak();
    const auto started = Clock::now();
    zefa::RunCommand(prompter, command);
    const double seconds = Seconds(started);
    report(name, seconds);
    return seconds;
  };

  step("drop", [&] { zefa::DropFiles(state, context, dropped); });
  std::vector<std::string>().swap(dropped);
  step("sort", [&] { zefa::Button11Click(state, context); });
  const bool sorted = state.list.size() == rows && state.list.path.entries.front() == old_paths[0];
  // What every command pays for handing its freed memory back, with the whole list held.
  const auto started = Clock::now();
  zefa::RunCommand(prompter, [] {});
  const double command_cost = Seconds(started);

  // Measured while the preview is held, as its window holds it.
  std::optional<zefa::Preview> preview;
  step("preview", [&] { preview = zefa::BuildPreview(state, context); });
  const std::size_t preview_rows = preview ? static_cast<std::size_t>(preview->size()) : 0;
  // The bare loop renames the twins to the names the run gives, taken from the preview.
  for (int i = 0; preview && i < preview->size(); ++i) {
    twin_new[static_cast<std::size_t>(i)] = twin + "/" + std::string(preview->After(i));
  }
  preview.reset();

  const double run = step("run", [&] { zefa::Button2Click(state, context); });
  std::size_t renamed = 0;
  for (std::size_t i = 0; i < twin_new.size(); ++i) {
    renamed += access((files + twin_new[i].substr(twin.size())).c_str(), F_OK) == 0;
  }

  for (const auto& entry : std::filesystem::directory_iterator(paths.restore_folder)) {
    prompter.chosen_file = entry.path().string();
  }
  const double undo = step("undo", [&] { zefa::Undo1Click(state, context); });
  std::size_t restored = 0;
  for (const std::string& path : old_paths) restored += access(path.c_str(), F_OK) == 0;

  int failures = 0;
  const double forward = BareLoop(twin_old, twin_new, failures);
  const double back = BareLoop(twin_new, twin_old, failures);
  std::printf("bare renameat2 loop: %.3f s forward, %.3f s back (%d failures)\n", forward, back,
              failures);
  std::printf("run/bare = %.3f  undo/bare = %.3f (target <= 1.10)\n", run / forward, undo / back);
  std::printf("a command that does nothing, with the list held: %.2f ms\n", command_cost * 1e3);
  std::printf("sorted %s, preview rows %zu, renamed %zu/%d, restored %zu/%d\n",
              sorted ? "yes" : "no", preview_rows, renamed, rows, restored, rows);
  for (const std::string& message : prompter.messages) {
    std::printf("  message: %.200s\n", message.c_str());
  }

  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return 0;
}
