// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Adds 10,000 and 100,000 real files the way a drop does (existence and duplicate checks
// included), sorts them and derives their names anew, and compares the cost per file.
#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "commands/add_file_command.h"
#include "commands/main_state.h"
#include "commands/sort_command.h"
#include "platform/file_system.h"
#include "platform/prompter.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::CpuSeconds;
using zefa::bench::SilentPrompter;

struct Timing {
  double add_seconds = 0;
  double sort_seconds = 0;
  double add_cpu_seconds = 0;  // on this process's CPU clock
  double sort_cpu_seconds = 0;
  double Total() const { return add_seconds + sort_seconds; }
  double TotalCpu() const { return add_cpu_seconds + sort_cpu_seconds; }
};

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Creates `count` files named so that their order given differs from the sorted one.
std::vector<std::string> CreateFiles(const std::string& folder, int count) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    std::string path = folder + ((i % 2 == 0) ? "/IMG_" : "/img_") + std::to_string(i) + ".jpg";
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) {
      std::perror(path.c_str());
      std::exit(2);
    }
    ::close(fd);
    paths.push_back(std::move(path));
  }
  std::shuffle(paths.begin(), paths.end(), std::mt19937(12345));
  return paths;
}

// The best of a few runs, each on a fresh list, so that one hiccup does not decide.
Timing Measure(const std::string& folder, const std::vector<std::string>& paths) {
  Timing best{1e9, 1e9, 0, 0};
  for (int run = 0; run < 3; ++run) {
    SilentPrompter prompter;
    zefa::NativeFileSystem fs;
    zefa::ProgramPaths program;
    program.executable_path = fs.ExecutablePath();
    program.executable_folder = folder + "/";
    program.settings_path = folder + "/ZeFa_oru.ini";
    const zefa::Context context{prompter, fs, program, zefa::TextRules{}};
    zefa::MainState state;
    state.common_name = "IMG_";

    const double cpu_start = CpuSeconds();
    Clock::time_point start = Clock::now();
    zefa::DropFiles(state, context, paths);
    const double add = SecondsSince(start);
    const double add_cpu = CpuSeconds() - cpu_start;
    const double sort_cpu_start = CpuSeconds();
    start = Clock::now();
    zefa::Button11Click(state, context);
    const double sort = SecondsSince(start);
    const double sort_cpu = CpuSeconds() - sort_cpu_start;

    if (state.list.size() != static_cast<int>(paths.size()) || prompter.boxes != 0) {
      std::fprintf(stderr, "expected %zu rows and no box, got %d rows and %d boxes\n", paths.size(),
                   state.list.size(), prompter.boxes);
      std::exit(2);
    }
    if (add + sort < best.Total()) best = {add, sort, add_cpu, sort_cpu};
  }
  return best;
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zefa-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 2;
  const std::string root = pattern;
  // The derivation removes the common name, so it is exercised as well.
  {
    std::FILE* settings = std::fopen((root + "/ZeFa_oru.ini").c_str(), "wb");
    if (settings == nullptr) return 2;
    std::fputs("[Option]\nwhen_add=1\n", settings);
    std::fclose(settings);
  }

  const int sizes[] = {10000, 100000};
  Timing timings[2];
  for (int k = 0; k < 2; ++k) {
    const std::string folder = root + "/files" + std::to_string(sizes[k]);
    std::filesystem::create_directory(folder);
    const std::vector<std::string> paths = CreateFiles(folder, sizes[k]);
    timings[k] = Measure(root, paths);
    const double n = sizes[k];
    std::printf(
        "%7d files: add %.3f s (%.2f us/file), sort+derive %.3f s (%.2f us/file), "
        "total %.3f s (%.2f us/file); CPU add %.3f s, sort %.3f s\n",
        sizes[k], timings[k].add_seconds, timings[k].add_seconds / n * 1e6, timings[k].sort_seconds,
        timings[k].sort_seconds / n * 1e6, timings[k].Total(), timings[k].Total() / n * 1e6,
        timings[k].add_cpu_seconds, timings[k].sort_cpu_seconds);
  }
  std::filesystem::remove_all(root);

  const double ratio = (timings[1].Total() / sizes[1]) / (timings[0].Total() / sizes[0]);
  const double cpu_ratio = (timings[1].TotalCpu() / sizes[1]) / (timings[0].TotalCpu() / sizes[0]);
  const bool ratio_ok = ratio <= 1.5;
  const bool total_ok = timings[1].Total() < 2.0;
  std::printf("per-file cost 100k / 10k: %.2f (limit 1.50) %s\n", ratio,
              ratio_ok ? "ok" : "TOO HIGH");
  std::printf("per-file CPU 100k / 10k: %.2f\n", cpu_ratio);
  std::printf("100k add+sort: %.3f s (limit 2 s) %s\n", timings[1].Total(),
              total_ok ? "ok" : "TOO SLOW");
  double load[1] = {0};
  if (::getloadavg(load, 1) == 1) std::printf("load average during the run: %.2f\n", load[0]);
  return ratio_ok && total_ok ? 0 : 1;
}
