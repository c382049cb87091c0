// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// What is at one path: a file or a folder, its key, and the program's own place and time.
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/native_posix_internal.h"

namespace zefa {

using native::KeyOf;

bool NativeFileSystem::FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool NativeFileSystem::FolderExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::size_t NativeFileSystem::LongestName(const std::string& folder) {
  const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

std::optional<std::string> NativeFileSystem::FileKey(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return KeyOf(info);
}

// One stat instead of FileExists and FileKey: adding many files costs a system call each.
std::optional<std::string> NativeFileSystem::ExistingFileKey(const std::string& path) {
  struct stat info {};
  // Only a regular file is a file: a folder, a pipe or a device is refused.
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return KeyOf(info);
}

std::string NativeFileSystem::ExecutablePath() {
  std::string buffer(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0) return {};
  buffer.resize(static_cast<std::size_t>(length));
  return buffer;
}

LocalTime NativeFileSystem::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace zefa
