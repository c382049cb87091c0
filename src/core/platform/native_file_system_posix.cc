// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/file_system.h"

namespace zefa {
namespace {

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A temporary file beside `path` that holds `bytes`, flushed to the disk; its name, or
// empty on failure.
std::string WriteTemporary(const std::string& path, std::string_view bytes) {
  std::string name = path + ".tmp-XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return {};
  const bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !ok) {
    ::unlink(name.c_str());
    return {};
  }
  return name;
}

}  // namespace

bool NativeFileSystem::FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool NativeFileSystem::FolderExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool NativeFileSystem::CreateFolders(const std::string& path) {
  if (path.empty() || FolderExists(path)) return !path.empty();
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const std::string parent = ParentOf(trimmed);
  if (parent != trimmed && !FolderExists(parent) && !CreateFolders(parent)) return false;
  if (::mkdir(trimmed.c_str(), 0777) != 0 && errno != EEXIST) return false;
  return FolderExists(trimmed);
}

std::optional<std::string> NativeFileSystem::FileKey(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino);
}

// One stat instead of FileExists and FileKey: adding many files costs a system call each.
std::optional<std::string> NativeFileSystem::ExistingFileKey(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
    return std::nullopt;
  }
  return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino);
}

RenameOutcome NativeFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return RenameOutcome::kDone;
  }
  int error = errno;
  if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) {
    // The file system does not know the flag: a hard link cannot replace a file either.
    struct stat info {};
    if (::lstat(from.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return RenameOutcome::kFailed;
    if (::link(from.c_str(), to.c_str()) == 0) {
      if (::unlink(from.c_str()) == 0) return RenameOutcome::kDone;
      ::unlink(to.c_str());
      return RenameOutcome::kFailed;
    }
    error = errno;
  }
  if (error == EEXIST || error == ENOTEMPTY) return RenameOutcome::kTargetExists;
  if (error == ENOENT) {
    struct stat info {};
    return ::lstat(from.c_str(), &info) != 0 ? RenameOutcome::kSourceMissing
                                              : RenameOutcome::kFailed;
  }
  return RenameOutcome::kFailed;
}

std::optional<std::string> NativeFileSystem::ReadFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

bool NativeFileSystem::WriteFile(const std::string& path, std::string_view bytes,
                                 WriteMode mode) {
  struct stat info {};
  const bool exists = ::lstat(path.c_str(), &info) == 0;
  if (exists && (mode == WriteMode::kCreateNew || S_ISDIR(info.st_mode) ||
                 ::access(path.c_str(), W_OK) != 0)) {
    return false;
  }
  const std::string temporary = WriteTemporary(path, bytes);
  if (temporary.empty()) return false;
  bool placed = false;
  if (mode == WriteMode::kReplace) {
    placed = ::rename(temporary.c_str(), path.c_str()) == 0;
  } else {
    // link() fails with EEXIST instead of replacing a file that appeared meanwhile.
    placed = ::link(temporary.c_str(), path.c_str()) == 0 ||
             (errno != EEXIST && ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD,
                                             path.c_str(), RENAME_NOREPLACE) == 0);
  }
  ::unlink(temporary.c_str());
  if (placed) SyncFolder(ParentOf(path));
  return placed;
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
