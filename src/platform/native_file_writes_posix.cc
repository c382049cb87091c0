// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Files' contents read and written so that a crash leaves the old file or the whole new
// one, and folders made so that they survive a power cut.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/native_posix_internal.h"

namespace zefa {
namespace {

using native::ParentOf;

// Writes a file's bytes to the descriptor; false when a write fails.
using BodyWriter = std::function<bool(int fd)>;

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

// The mode open(..., 0666) gives a new file: what the user's umask allows.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Where a write to `path` lands: the last target of a chain of symbolic links (which
// need not exist yet), so that replacing the file keeps the links.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return path;
    target.resize(static_cast<std::size_t>(length));
    path = target.front() == '/' ? target : ParentOf(path) + '/' + target;
  }
  return path;
}

// A temporary file beside `path` with `mode` that holds what `body` writes, flushed to the
// disk; its name, or empty on failure.
std::string WriteTemporary(const std::string& path, const BodyWriter& body, mode_t mode) {
  std::string name = path + ".tmp-XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return {};
  const bool ok = ::fchmod(fd, mode) == 0 && body(fd) && ::fsync(fd) == 0;
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
std::optional<bool> CreateFromUnnamed(const std::string& path, const BodyWriter& body) {
  const int fd = ::open(ParentOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return std::nullopt;
    return false;
  }
  const bool placed = body(fd) && ::fsync(fd) == 0 && LinkUnnamed(fd, path);
  ::close(fd);
  return placed;
}

// What WriteFile does, with the bytes that `body` writes.
bool WriteFileWith(const std::string& given_path, const BodyWriter& body, WriteMode mode) {
  // A replaced file keeps its mode, and a link to it stays a link.
  const std::string path = mode == WriteMode::kReplace ? FollowLinks(given_path) : given_path;
  struct stat info {};
  const bool exists = ::lstat(path.c_str(), &info) == 0;
  if (exists && (mode == WriteMode::kCreateNew || S_ISDIR(info.st_mode) ||
                 ::access(path.c_str(), W_OK) != 0)) {
    return false;
  }
  if (mode == WriteMode::kCreateNew) {
    if (const auto placed = CreateFromUnnamed(path, body)) {
      if (*placed) SyncFolder(ParentOf(path));
      return *placed;
    }
  }
  const std::string temporary =
      WriteTemporary(path, body, exists ? info.st_mode & 07777 : NewFileMode());
  if (temporary.empty()) return false;
  bool placed = false;
  if (mode == WriteMode::kReplace) {
    placed = ::rename(temporary.c_str(), path.c_str()) == 0;
  } else {
    // link() fails with EEXIST instead of replacing a file that appeared meanwhile.
    placed = ::link(temporary.c_str(), path.c_str()) == 0 ||
             (errno != EEXIST && ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(),
                                             RENAME_NOREPLACE) == 0);
  }
  ::unlink(temporary.c_str());
  if (placed) SyncFolder(ParentOf(path));
  return placed;
}

}  // namespace

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

std::optional<ReadFailure> NativeFileSystem::ReadFileInPieces(const std::string& path,
                                                              std::size_t max_bytes,
                                                              const PieceReader& reader) {
  // The type is looked at before the open, so that no device is ever opened, and again on
  // the open file, which O_NONBLOCK keeps from waiting for the writer of a pipe that took
  // the name meanwhile.
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) {
    return errno == EACCES ? ReadFailure::kNotReadable : ReadFailure::kNothingThere;
  }
  if (!S_ISREG(info.st_mode)) return ReadFailure::kNotAFile;
  if (static_cast<std::uintmax_t>(info.st_size) > max_bytes) return ReadFailure::kTooLarge;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? ReadFailure::kNothingThere : ReadFailure::kNotReadable;
  std::optional<ReadFailure> failure;
  if (::fstat(fd, &info) != 0) {
    failure = ReadFailure::kNotReadable;
  } else if (!S_ISREG(info.st_mode)) {
    failure = ReadFailure::kNotAFile;
  } else if (static_cast<std::uintmax_t>(info.st_size) > max_bytes) {
    failure = ReadFailure::kTooLarge;
  } else {
    reader.sized(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    std::size_t read_all = 0;
    // One byte more than allowed tells a file that grew past the limit.
    while (!failure) {
      const std::size_t room = max_bytes - read_all + 1;
      const ssize_t got = ::read(fd, chunk, room < sizeof chunk ? room : sizeof chunk);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        failure = ReadFailure::kNotReadable;
      } else if (read_all + static_cast<std::size_t>(got) > max_bytes) {
        failure = ReadFailure::kTooLarge;
      } else if (got == 0 || !reader.piece({chunk, static_cast<std::size_t>(got)})) {
        break;
      } else {
        read_all += static_cast<std::size_t>(got);
      }
    }
  }
  ::close(fd);
  return failure;
}

FileRead NativeFileSystem::ReadFile(const std::string& path, std::size_t max_bytes) {
  std::string bytes;
  const std::optional<ReadFailure> failure =
      ReadFileInPieces(path, max_bytes,
                       {[&](std::size_t size) { bytes.reserve(size); },
                        [&](std::string_view piece) {
                          bytes.append(piece);
                          return true;
                        }});
  if (failure) return *failure;
  return bytes;
}

std::optional<FileStart> NativeFileSystem::ReadFileStart(const std::string& path,
                                                         std::size_t max_bytes) {
  // As ReadFile: the type is looked at before the open and again on the open file.
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<FileStart> start;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    start.emplace();
    // One byte more than asked for tells a file that goes on.
    const std::size_t wanted = max_bytes + 1;
    start->bytes.resize(wanted);
    std::size_t got_all = 0;
    while (got_all < start->bytes.size()) {
      const ssize_t got = ::read(fd, start->bytes.data() + got_all, start->bytes.size() - got_all);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        start.reset();
        break;
      }
      if (got == 0) break;
      got_all += static_cast<std::size_t>(got);
    }
    if (start) {
      start->whole = got_all <= max_bytes;
      start->bytes.resize(std::min(got_all, max_bytes));
    }
  }
  ::close(fd);
  return start;
}

bool NativeFileSystem::AppendFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool ok =
      ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

bool NativeFileSystem::WriteFile(const std::string& path, std::string_view bytes, WriteMode mode) {
  return WriteFileWith(
      path, [&](int fd) { return WriteAll(fd, bytes); }, mode);
}

bool NativeFileSystem::WriteFileInPieces(const std::string& path, const PieceWriter& write,
                                         WriteMode mode) {
  return WriteFileWith(
      path,
      [&](int fd) { return write([&](std::string_view piece) { return WriteAll(fd, piece); }); },
      mode);
}

}  // namespace zefa
