// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Adds the files of a tree of folders by dropping the top folder, against dropping the very
// same files one by one as files, in the same run.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "commands/add_file_command.h"
#include "commands/main_state.h"
#include "platform/file_system.h"
#include "platform/prompter.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::CpuSeconds;
using zefa::bench::SilentPrompter;

struct Timing {
  double seconds = 1e9;
  double cpu_seconds = 1e9;
};

// One drop on a fresh list; the program ends unless it lists `rows` rows without a box.
Timing TimeDrop(const std::string& root, const std::vector<std::string>& dropped,
                std::size_t rows) {
  SilentPrompter prompter;
  zefa::NativeFileSystem fs;
  zefa::ProgramPaths program;
  program.executable_path = fs.ExecutablePath();
  program.settings_path = root + "/ZeFa_oru.ini";
  program.restore_folder = root + "/restore";
  const zefa::Context context{prompter, fs, program, zefa::TextRules{}};
  zefa::MainState state;
  const double cpu_start = CpuSeconds();
  const Clock::time_point start = Clock::now();
  zefa::DropFiles(state, context, dropped);
  const Timing timing{zefa::bench::Seconds(start), CpuSeconds() - cpu_start};
  if (static_cast<std::size_t>(state.list.size()) != rows || prompter.boxes != 0) {
    std::fprintf(stderr, "expected %zu rows and no box, got %d rows and %d boxes\n", rows,
                 state.list.size(), prompter.boxes);
    std::exit(2);
  }
  return timing;
}

}  // namespace

int main(int argc, char** argv) {
  const int folders = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int per_folder = argc > 2 ? std::atoi(argv[2]) : 100;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 4;
  const std::string root = zefa::bench::MakeBenchFolder({}, "folder-add");
  const std::string top = root + "/photos";
  std::filesystem::create_directory(top);
  // The files in the order a folder adds them: folder by folder, names in natural order.
  std::vector<std::string> files;
  files.reserve(static_cast<std::size_t>(folders) * static_cast<std::size_t>(per_folder));
  for (int f = 1; f <= folders; ++f) {
    const std::string folder = top + "/book" + std::to_string(f);
    std::filesystem::create_directory(folder);
    for (int i = 1; i <= per_folder; ++i)
      files.push_back(folder + "/page" + std::to_string(i) + ".jpg");
  }
  std::vector<std::string> created = files;
  std::sort(created.begin(), created.end());  // not the order of either drop
  for (const std::string& path : created) zefa::bench::CreateEmptyFile(path);

  // The rounds interleave both sides and the quickest of each counts, so that other work
  // on a shared machine does not land on one side only.
  Timing as_files;
  Timing as_folder;
  for (int round = 0; round < rounds; ++round) {
    const Timing files_timing = TimeDrop(root, files, files.size());
    const Timing folder_timing = TimeDrop(root, {top}, files.size());
    as_files.seconds = std::min(as_files.seconds, files_timing.seconds);
    as_files.cpu_seconds = std::min(as_files.cpu_seconds, files_timing.cpu_seconds);
    as_folder.seconds = std::min(as_folder.seconds, folder_timing.seconds);
    as_folder.cpu_seconds = std::min(as_folder.cpu_seconds, folder_timing.cpu_seconds);
  }
  std::filesystem::remove_all(root);

  const double n = static_cast<double>(files.size());
  std::printf("%zu files in %d folders\n", files.size(), folders);
  std::printf("(a) the top folder dropped:       %.3f s (%.2f us/file), CPU %.3f s\n",
              as_folder.seconds, as_folder.seconds / n * 1e6, as_folder.cpu_seconds);
  std::printf("(b) the same files dropped:       %.3f s (%.2f us/file), CPU %.3f s\n",
              as_files.seconds, as_files.seconds / n * 1e6, as_files.cpu_seconds);
  const double ratio = as_folder.seconds / as_files.seconds;
  const bool ok = ratio <= 1.3;
  std::printf("(a)/(b): %.2f (limit 1.30) %s; CPU %.2f\n", ratio, ok ? "ok" : "TOO SLOW",
              as_folder.cpu_seconds / as_files.cpu_seconds);
  return ok ? 0 : 1;
}
