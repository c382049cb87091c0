// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "commands/context.h"
#include "commands/main_state.h"
#include "platform/file_system.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

namespace zefa::test {

/** The real file system with the clock stopped at 2026-03-07 09:05:03. */
class FixedClockFileSystem : public NativeFileSystem {
 public:
  LocalTime Now() override { return time; }
  LocalTime time{2026, 3, 7, 9, 5, 3};
};

inline constexpr const char* kRestoreName = "2026年3月7日09時05分03秒.zefa";

/** A program folder with its settings file, restore folder and the files of a list. */
class RenameFixture : public ::testing::Test {
 protected:
  TempDir dir;
  ScriptedPrompter prompter;
  FixedClockFileSystem file_system;
  MainState state;

  Context MakeContext() { return Context{prompter, file_system, Paths(), TextRules{}}; }

  ProgramPaths Paths() const { return ProgramPathsIn(dir); }

  /** The [Option] section of the settings file, e.g. "pattern=7\nspace=0\n". */
  void Settings(const std::string& keys) { dir.Touch("ZeFa_oru.ini", "[Option]\n" + keys); }

  /** Creates files/<name> holding its own name and lists it; returns its path. */
  std::string Add(const std::string& name, const std::string& unique,
                  const std::string& extension) {
    const std::string path = dir.Touch("files/" + name, name);
    state.list.AppendRow(path, unique, extension, "");
    return path;
  }

  std::string Files() const { return dir.Listing("files"); }
  std::string RestorePath() const { return dir / (std::string("restore/") + kRestoreName); }
};

/** Mount points of FUSE file systems, let go of however the test ends. */
struct FuseMounts {
  std::vector<std::string> points;
  ~FuseMounts() {
    for (const std::string& point : points) {
      std::system(("fusermount3 -u -z '" + point + "' >/dev/null 2>&1").c_str());
    }
  }
};

/** The lines of the log from `from` on. */
inline std::vector<std::string> LogFrom(const ScriptedPrompter& prompter, std::size_t from) {
  if (from >= prompter.log.size()) return {};
  return {prompter.log.begin() + static_cast<std::ptrdiff_t>(from), prompter.log.end()};
}

}  // namespace zefa::test
