// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "temp_dir.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zefa::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zefa-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Touch(std::string_view name, std::string_view content) const {
  const std::filesystem::path file = path_ / std::string(name);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
  return file.string();
}

std::string TempDir::Read(std::string_view name) const {
  std::ifstream in(path_ / std::string(name), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool TempDir::Exists(std::string_view name) const {
  return std::filesystem::exists(path_ / std::string(name));
}

std::string TempDir::Listing(std::string_view subfolder) const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_ / std::string(subfolder))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

ProgramPaths ProgramPathsIn(const TempDir& dir, std::string executable_path) {
  ProgramPaths paths;
  paths.executable_path = executable_path.empty() ? dir / "zefa-oru" : std::move(executable_path);
  paths.executable_folder = dir.path();
  paths.settings_path = dir / kSettingsFileName;
  paths.restore_folder = dir / kRestoreFolderName;
  return paths;
}

}  // namespace zefa::test
