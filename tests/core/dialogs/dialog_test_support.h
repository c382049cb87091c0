// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "commands/context.h"
#include "commands/main_state.h"
#include "platform/file_system.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

namespace zefa::test {

/** The real file system, refusing every write from the `refuse_from`-th one on (1-based). */
class RefusingFileSystem : public NativeFileSystem {
 public:
  int refuse_from = 0;  // 0: never refuse
  int writes = 0;

  bool WriteFile(const std::string& path, std::string_view bytes, WriteMode mode) override {
    ++writes;
    if (refuse_from > 0 && writes >= refuse_from) return false;
    return NativeFileSystem::WriteFile(path, bytes, mode);
  }
};

/** A temporary program folder with its settings file path, a prompter and the file system. */
struct DialogWorld {
  TempDir dir;
  ScriptedPrompter prompter;
  RefusingFileSystem file_system;
  Context context{prompter, file_system, ProgramPathsIn(dir, dir / "zefa"), TextRules{}};

  std::string Ini() const { return dir.Read("ZeFa_oru.ini"); }
  void WriteIni(std::string_view text) const { dir.Touch("ZeFa_oru.ini", text); }
};

}  // namespace zefa::test
