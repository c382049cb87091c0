// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/program_paths.h"

namespace zefa::test {

/** A fresh folder under the system's temporary folder, removed with everything in it. */
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /** The folder with a trailing "/". */
  std::string path() const { return path_.string() + "/"; }
  /** The full path of `name` inside the folder. */
  std::string operator/(std::string_view name) const { return path() + std::string(name); }

  /** Creates a file (and its missing parent folders) holding `content`; returns its path. */
  std::string Touch(std::string_view name, std::string_view content = "x") const;
  std::string Read(std::string_view name) const;
  bool Exists(std::string_view name) const;
  /** The names of the entries of the folder (or a subfolder), sorted. */
  std::string Listing(std::string_view subfolder = {}) const;

 private:
  std::filesystem::path path_;
};

/**
 * A program folder inside `dir`: the settings file and the restore folder there, and the
 * executable `executable_path` (dir/zefa-oru when empty) beside them.
 */
ProgramPaths ProgramPathsIn(const TempDir& dir, std::string executable_path = {});

}  // namespace zefa::test
