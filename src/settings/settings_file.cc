// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings/settings_file.h"

#include "platform/command_error.h"
#include "platform/file_system.h"
#include "settings/profile.h"
#include "text/text_rules.h"

namespace zefa {
namespace {

// Cuts at a character boundary so that a cut never leaves half a character.
std::string CutToLimit(std::string_view value, std::size_t limit) {
  if (value.size() <= limit) return std::string(value);
  std::size_t end = 0;
  while (end < value.size()) {
    const std::size_t next = end + CharLength(value, end, CodePage::kUtf8);
    if (next > limit) break;
    end = next;
  }
  return std::string(value.substr(0, end));
}

}  // namespace

SettingsFile::SettingsFile(FileSystem& file_system, std::string path)
    : file_system_(file_system), path_(std::move(path)) {}

std::optional<std::string> SettingsFile::ReadValue(std::string_view section,
                                                   std::string_view key) const {
  const auto bytes = file_system_.ReadFile(path_, kMaxFileBytes);
  if (!bytes) return std::nullopt;
  const Profile profile = Profile::Parse(*bytes);
  const auto value = profile.Find(section, key);
  if (!value) return std::nullopt;
  // A value ends at its first NUL byte, as the profile functions of the platform read it,
  // so that no name built from it is cut short by a system call.
  return CutToLimit(value->substr(0, value->find('\0')), kMaxStringBytes);
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view default_value) const {
  return ReadValue(section, key).value_or(std::string(default_value));
}

int SettingsFile::ReadInteger(std::string_view section, std::string_view key,
                              int default_value) const {
  const auto value = ReadValue(section, key);
  if (!value) return default_value;
  return ParseProfileInteger(*value).value_or(default_value);
}

bool SettingsFile::ReadBool(std::string_view section, std::string_view key,
                            bool default_value) const {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void SettingsFile::CreateFolder() {
  const std::string_view folder = FolderPart(path_, NativeTextRules());
  if (!folder.empty()) file_system_.CreateFolders(std::string(folder));
}

void SettingsFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void SettingsFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  const auto bytes = file_system_.ReadFile(path_, kMaxFileBytes);
  // Something there that cannot be read must not be replaced by a file of one key.
  if (!bytes && (file_system_.FileExists(path_) || file_system_.FolderExists(path_))) {
    throw WriteRefused(path_);
  }
  Profile profile = Profile::Parse(bytes.value_or(std::string{}));
  if (!profile.Set(section, key, value) ||
      !file_system_.WriteFile(path_, profile.Serialize(), WriteMode::kReplace)) {
    throw WriteRefused(path_);
  }
}

}  // namespace zefa
