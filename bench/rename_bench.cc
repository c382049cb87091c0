// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
//
// Renames 100,000 files (a) through the rename run with a restore file and (b) through a
// bare loop of rename(2), in the same folder of the same run, and prints (a)/(b); then the
// undo of that run against the same bare loop, and the peak memory. Usage: rename_bench [rows]
// [folder] [rounds]; the folder defaults to $ZEFA_BENCH_DIR, else the system's temporary folder.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "commands/main_state.h"
#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"
#include "platform/prompter.h"
#include "record/restore_file.h"
#include "run/rename_plan.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::Seconds;

// Answers every question Yes and offers one file to the file dialog.
class SilentPrompter : public zefa::Prompter {
 public:
  std::string chosen_file;
  std::vector<std::string> errors;

  void Beep(zefa::BeepKind) override {}
  bool Confirm(const std::string&) override { return true; }
  bool Warn(const std::string&) override { return true; }
  void Error(const std::string& text) override { errors.push_back(text); }
  void Inform(const std::string& text) override {
    if (text.rfind("以下", 0) == 0) errors.push_back(text);
  }
  bool Ask(const std::string&) override { return true; }
  void ApplicationError(const std::string& text) override { errors.push_back(text); }
  std::optional<std::string> ChooseFile(const zefa::FileChoice&) override { return chosen_file; }
};

// The bare loop every figure is measured against; returns seconds, counts failures.
double BareLoop(const std::vector<std::string>& from, const std::vector<std::string>& to,
                int& failures) {
  const auto started = Clock::now();
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (std::rename(from[i].c_str(), to[i].c_str()) != 0) ++failures;
  }
  return Seconds(started);
}

double PeakMegabytes() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

std::string FileSystemName(const std::string& folder) {
  struct statfs info {};
  if (statfs(folder.c_str(), &info) != 0) return "?";
  switch (info.f_type) {
    case 0xEF53:
      return "ext4";
    case 0x01021994:
      return "tmpfs";
    case 0x9123683E:
      return "btrfs";
    case 0x58465342:
      return "xfs";
    case 0x794C7630:
      return "overlayfs";
  }
  return "other";
}

void CreateFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) zefa::bench::CreateEmptyFile(path);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 4;
  const std::string root = zefa::bench::MakeBenchFolder(argc > 2 ? argv[2] : "", "rename");
  const std::string files = root + "/files";
  mkdir(files.c_str(), 0755);
  {
    FILE* settings = std::fopen((root + "/ZeFa_oru.ini").c_str(), "wb");
    std::fputs("[Option]\nketa=3\npattern=1\nspace=1\n", settings);
    std::fclose(settings);
  }

  zefa::MainState state;
  state.common_name = "旅行";
  std::vector<std::string> old_paths;
  for (int i = 1; i <= rows; ++i) {
    char stem[32];
    std::snprintf(stem, sizeof stem, "IMG_%06d", i);
    old_paths.push_back(files + "/" + stem + ".jpg");
    state.list.AppendRow(old_paths.back(), stem, ".jpg", "");
  }
  const zefa::ChangePlan plan = zefa::ComposeChanges(
      state.list,
      {state.common_name, state.start_number,
       zefa::NameSettings{3, zefa::NamePattern::kCommonNumberUnique, " ", "", ""}},
      {});
  std::vector<std::string> new_paths;
  for (const zefa::RowChange& change : plan.changes) new_paths.emplace_back(change.new_path());
  CreateFiles(old_paths);

  std::printf("%d files in %s (%s), %d rounds; figures are the quickest round of each\n", rows,
              files.c_str(), FileSystemName(files).c_str(), rounds);
  SilentPrompter prompter;
  zefa::NativeFileSystem file_system;
  zefa::ProgramPaths paths;
  paths.settings_path = root + "/ZeFa_oru.ini";
  paths.restore_folder = root + "/restore";
  const zefa::Context context{prompter, file_system, paths, zefa::NativeTextRules()};

  // The machine may be shared: each figure is taken in every round, the rounds interleaved,
  // and the quickest kept, so that a burst of other work does not land on one side only.
  double forward = 1e30, back = 1e30, run = 1e30, undo = 1e30;
  int bare_failures = 0;
  std::size_t renamed = 0, restored = 0;
  std::vector<std::string> records;
  const double peak_before = PeakMegabytes();
  double peak_after_run = 0;
  double round_forward = 0, round_back = 0, round_run = 0, round_undo = 0;
  const auto bare_loops = [&] {
    round_forward = BareLoop(old_paths, new_paths, bare_failures);
    round_back = BareLoop(new_paths, old_paths, bare_failures);
    forward = std::min(forward, round_forward);
    back = std::min(back, round_back);
  };
  for (int round = 0; round < rounds; ++round) {
    // Odd rounds put the bare loops last, so that neither side always runs second.
    if (round % 2 == 0) bare_loops();

    auto started = Clock::now();
    zefa::Button2Click(state, context);
    round_run = Seconds(started);
    run = std::min(run, round_run);
    if (round == 0) peak_after_run = PeakMegabytes();
    renamed = 0;
    for (const std::string& path : new_paths) renamed += access(path.c_str(), F_OK) == 0;

    // The restore file of this round is the one no earlier round left.
    for (const auto& entry : std::filesystem::directory_iterator(paths.restore_folder)) {
      if (std::find(records.begin(), records.end(), entry.path().string()) == records.end()) {
        records.push_back(entry.path().string());
      }
    }
    prompter.chosen_file = records.back();
    started = Clock::now();
    zefa::Undo1Click(state, context);
    round_undo = Seconds(started);
    undo = std::min(undo, round_undo);
    restored = 0;
    for (const std::string& path : old_paths) restored += access(path.c_str(), F_OK) == 0;

    if (round % 2 == 1) bare_loops();
    std::printf("  round %d: bare %.3f s / %.3f s, run %.3f s (%.3f), undo %.3f s (%.3f)\n",
                round + 1, round_forward, round_back, round_run, round_run / round_forward,
                round_undo, round_undo / round_back);
  }

  std::printf("(b) bare rename(2) loop:         %8.3f s forward, %8.3f s back (%d failures)\n",
              forward, back, bare_failures);
  std::printf(
      "(a) rename run + restore file:   %8.3f s  ratio (a)/(b) = %.3f  (target <= 1.15)"
      "  renamed %zu/%d\n",
      run, run / forward, renamed, rows);
  std::printf("undo from the restore file:      %8.3f s  ratio undo/(b) = %.3f  restored %zu/%d\n",
              undo, undo / back, restored, rows);
  for (const std::string& error : prompter.errors) {
    std::printf("  message: %.200s\n", error.c_str());
  }

  std::printf(
      "peak memory (ru_maxrss):         %8.1f MB with the list and the bench's own paths,"
      " %.1f MB after the run, %.1f MB after the undo\n",
      peak_before, peak_after_run, PeakMegabytes());

  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
  return 0;
}
