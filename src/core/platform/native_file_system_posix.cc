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
#include "platform/native_rename_posix.h"

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

// Makes `path` (which must not exist) the name of the open unnamed file `fd`.
bool LinkUnnamed(int fd, const std::string& path) {
  if (::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno == EEXIST) return false;
  // Without the capability AT_EMPTY_PATH needs, the descriptor's /proc entry does the same.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// A new file at `path` with `bytes`, flushed before it gets its name, so that a crash
// leaves either no file or the whole file, and no temporary one beside it. nullopt when
// the file system has no unnamed files.
std::optional<bool> CreateFromUnnamed(const std::string& path, std::string_view bytes) {
  const int fd = ::open(ParentOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return std::nullopt;
    return false;
  }
  const bool placed = WriteAll(fd, bytes) && ::fsync(fd) == 0 && LinkUnnamed(fd, path);
  ::close(fd);
  return placed;
}

RenameOutcome OutcomeOfError(int error, const std::string& from) {
  if (error == EEXIST || error == ENOTEMPTY) return RenameOutcome::kTargetExists;
  if (error == ENOENT) {
    struct stat info {};
    return ::lstat(from.c_str(), &info) != 0 ? RenameOutcome::kSourceMissing
                                              : RenameOutcome::kFailed;
  }
  return RenameOutcome::kFailed;
}

}  // namespace

namespace posix {

RenameOutcome RenameByLink(const std::string& from, const std::string& to) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return OutcomeOfError(errno, from);
  if (S_ISDIR(info.st_mode)) return RenameOutcome::kFailed;
  // link() fails with EEXIST rather than replace a file, whenever the target appeared.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return RenameOutcome::kDone;
    ::unlink(to.c_str());
    return RenameOutcome::kFailed;
  }
  const int error = errno;
  if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK) {
    return RenameByReservation(from, to);
  }
  return OutcomeOfError(error, from);
}

RenameOutcome RenameByReservation(const std::string& from, const std::string& to) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return OutcomeOfError(errno, from);
  if (S_ISDIR(info.st_mode)) return RenameOutcome::kFailed;
  // O_EXCL claims the name atomically; the plain rename then replaces only our own
  // empty placeholder, never a file of someone else's.
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return OutcomeOfError(errno, from);
  struct stat placeholder {};
  const bool known = ::fstat(fd, &placeholder) == 0;
  ::close(fd);
  if (::rename(from.c_str(), to.c_str()) == 0) return RenameOutcome::kDone;
  const int error = errno;
  struct stat now {};
  if (known && ::lstat(to.c_str(), &now) == 0 && now.st_dev == placeholder.st_dev &&
      now.st_ino == placeholder.st_ino) {
    ::unlink(to.c_str());
  }
  return OutcomeOfError(error == EEXIST ? EIO : error, from);
}

}  // namespace posix

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
  if (::mkdir(trimmed.c_str(), 0777) != 0) {
    if (errno != EEXIST) return false;
  } else {
    SyncFolder(parent);  // the new folder's entry survives a power cut too
  }
  return FolderExists(trimmed);
}

std::optional<std::string> NativeFileSystem::FileKey(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino);
}

RenameOutcome NativeFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return RenameOutcome::kDone;
  }
  const int error = errno;
  // Only a file system that does not know the flag goes on to the fallbacks.
  if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) return posix::RenameByLink(from, to);
  return OutcomeOfError(error, from);
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
  if (mode == WriteMode::kCreateNew) {
    if (const auto placed = CreateFromUnnamed(path, bytes)) {
      if (*placed) SyncFolder(ParentOf(path));
      return *placed;
    }
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
