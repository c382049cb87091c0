// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
//
// The command line as a script runs it, each run a process of its own timed from exec to
// exit: `zefa-oru rename` of `rows` files (100,000 by default; pass 1000000 for a million)
// with a restore file, and `zefa-oru undo --last`, against a bare renameat2 loop over the
// same paths in the same run; then ten files renamed, against a process that does nothing
// (/bin/true). Usage: cli_bench [rows] [folder] [rounds]; the folder defaults to
// $ZEFA_BENCH_DIR, else the system's temporary folder. The best of the rounds counts.
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/file_system.h"
#include "record/restore_file.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::Seconds;

// Processor seconds (user and system) of the last child TimedRun waited for.
double g_child_cpu = 0;

// Runs the program with `arguments`, output discarded; the seconds from fork to its exit.
double TimedRun(const std::vector<std::string>& arguments, int& status) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const auto started = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int wait_status = 0;
  rusage usage{};
  wait4(child, &wait_status, 0, &usage);
  const double seconds = Seconds(started);
  g_child_cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return seconds;
}

// Processor seconds of the last bare loop.
double g_bare_cpu = 0;

double BareLoop(const std::vector<std::string>& from, const std::vector<std::string>& to,
                int& failures) {
  const double cpu = zefa::bench::CpuSeconds();
  const auto started = Clock::now();
  for (std::size_t i = 0; i < from.size(); ++i) {
    failures +=
        renameat2(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str(), RENAME_NOREPLACE) != 0;
  }
  g_bare_cpu = zefa::bench::CpuSeconds() - cpu;
  return Seconds(started);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string root = zefa::bench::MakeBenchFolder(argc > 2 ? argv[2] : "", "cli");
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
  const std::string program = ZEFA_ORU_PROGRAM_PATH;
  const std::string files = root + "/files";
  std::filesystem::create_directories(files);
  std::filesystem::create_directories(root + "/program");
  setenv("ZEFA_ORU_DIR", (root + "/program").c_str(), 1);
  // No display and no session, as cron has it.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("XDG_RUNTIME_DIR");
  for (int i = 0; i < rows; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/f%07d.jpg", i);
    zefa::bench::CreateEmptyFile(files + name);
  }
  std::printf("%d files in %s, %d rounds, the best of each counted\n", rows, files.c_str(), rounds);

  double best_run = 1e9, best_undo = 1e9, best_forward = 1e9, best_back = 1e9;
  // Processor time, which the other programs of a busy machine do not inflate.
  double cpu_run = 1e9, cpu_undo = 1e9, cpu_forward = 1e9, cpu_back = 1e9;
  int failures = 0;
  zefa::NativeFileSystem file_system;
  for (int round = 0; round < rounds; ++round) {
    int status = 0;
    const double run = TimedRun({program, "rename", "--name", "x", files}, status);
    cpu_run = std::min(cpu_run, g_child_cpu);
    if (status != 0) std::printf("rename exited with %d\n", status);
    // The run's own record gives the pairs of paths for the bare loop.
    std::string newest;
    for (const auto& entry : std::filesystem::directory_iterator(root + "/program/restore")) {
      if (newest.empty() ||
          std::filesystem::last_write_time(entry) > std::filesystem::last_write_time(newest)) {
        newest = entry.path().string();
      }
    }
    const zefa::RestoreRecord record = zefa::RestoreRecord::Read(file_system, newest);
    std::vector<std::string> old_paths, new_paths;
    for (std::size_t i = 0; i < record.size(); ++i) {
      old_paths.emplace_back(record.Row(i).before);
      new_paths.emplace_back(record.Row(i).after);
    }
    const double back = BareLoop(new_paths, old_paths, failures);
    cpu_back = std::min(cpu_back, g_bare_cpu);
    const double forward = BareLoop(old_paths, new_paths, failures);
    cpu_forward = std::min(cpu_forward, g_bare_cpu);
    const double undo = TimedRun({program, "undo", "--last"}, status);
    cpu_undo = std::min(cpu_undo, g_child_cpu);
    if (status != 0) std::printf("undo exited with %d\n", status);
    std::printf("round %d: rename %.3f s, bare forward %.3f s; undo %.3f s, bare back %.3f s\n",
                round + 1, run, forward, undo, back);
    std::fflush(stdout);
    best_run = std::min(best_run, run);
    best_undo = std::min(best_undo, undo);
    best_forward = std::min(best_forward, forward);
    best_back = std::min(best_back, back);
  }
  std::printf("process rename/bare = %.3f  undo/bare = %.3f (target <= 1.10; %d bare failures)\n",
              best_run / best_forward, best_undo / best_back, failures);
  std::printf(
      "processor time: rename %.3f s / bare %.3f s = %.3f, undo %.3f s / bare %.3f s = %.3f\n",
      cpu_run, cpu_forward, cpu_run / cpu_forward, cpu_undo, cpu_back, cpu_undo / cpu_back);

  // Ten files, from exec to exit, with a restore file.
  const std::string ten = root + "/ten";
  std::filesystem::create_directories(ten);
  for (int i = 0; i < 10; ++i) zefa::bench::CreateEmptyFile(ten + "/t" + std::to_string(i));
  std::vector<double> starts, nothing;
  for (int round = 0; round < 21; ++round) {
    int status = 0;
    starts.push_back(
        TimedRun({program, "rename", "--name", "r" + std::to_string(round), ten}, status));
    nothing.push_back(TimedRun({"/bin/true"}, status));
  }
  std::printf(
      "10 files renamed: median %.1f ms, best %.1f ms (target <= 50 ms); "
      "a process that does nothing: median %.1f ms\n",
      Median(starts) * 1e3, *std::min_element(starts.begin(), starts.end()) * 1e3,
      Median(nothing) * 1e3);
  std::fflush(stdout);
  std::filesystem::remove_all(root);
  return 0;
}
