// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/prompter.h"

// What the file benchmarks share: a clock, a fresh folder to work in, empty files.
namespace zefa::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// CPU time of this process: other programs on the machine do not inflate it.
inline double CpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Answers Yes to every question and counts every other box.
class SilentPrompter : public zefa::Prompter {
 public:
  int boxes = 0;
  void Beep(zefa::BeepKind) override {}
  bool Confirm(const std::string&) override { return true; }
  bool Warn(const std::string&) override { return true; }
  void Error(const std::string&) override { ++boxes; }
  void Inform(const std::string&) override { ++boxes; }
  bool Ask(const std::string&) override { return true; }
  void ApplicationError(const std::string&) override { ++boxes; }
  std::optional<std::string> ChooseFile(const zefa::FileChoice&) override { return std::nullopt; }
};

/**
 * A new folder named after `name` under `base`, else $ZEFA_BENCH_DIR, else the system's
 * temporary folder; the program ends when it cannot be made.
 */
inline std::string MakeBenchFolder(std::string base, const std::string& name) {
  if (base.empty() && std::getenv("ZEFA_BENCH_DIR") != nullptr)
    base = std::getenv("ZEFA_BENCH_DIR");
  if (base.empty()) base = std::filesystem::temp_directory_path().string();
  std::string root = base + "/zefa-" + name + "-bench-XXXXXX";
  if (mkdtemp(root.data()) == nullptr) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  return root;
}

/** An empty file at `path`, which must not exist; the program ends when it cannot be made. */
inline void CreateEmptyFile(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  close(fd);
}

}  // namespace zefa::bench
