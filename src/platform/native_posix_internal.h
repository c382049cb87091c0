// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/** Path pieces and descriptors that the native writes, renames and look-ups share. */
namespace zefa::native {

/** The folder of `path`: "." for a bare name, "/" for a file at the root. */
inline std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

inline bool HasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

// Device and inode: what makes two paths the same file.
inline std::string KeyOf(const struct stat& info) {
  return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino);
}

// Where a path's file name starts inside its folder, when the path names a file in a
// folder ("/a/b" but not "b", "/a/" or a path with a NUL byte); npos otherwise.
inline std::size_t NameInFolder(const std::string& path) {
  if (HasNul(path)) return std::string::npos;
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash + 1 >= path.size()) return std::string::npos;
  return slash + 1;
}

// The folder of a stretch of paths that stay in one folder, opened once, so that each
// system call names the file inside it: no walk along the whole path for every file.
class OpenFolder {
 public:
  OpenFolder() = default;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  ~OpenFolder() { Close(); }

  /** A descriptor of `folder` (ending in '/'); -1 when it cannot be opened. */
  int For(std::string_view folder) {
    if (fd_ >= 0 && folder == folder_) return fd_;
    Close();
    folder_.assign(folder);
    fd_ = ::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd_;
  }

 private:
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd_ = -1;
  std::string folder_;
};

// A descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// The room that folder listings are read into, kept for the many folders of one caller.
using ListingBuffer = std::vector<std::uint64_t>;

// Hands each entry of the folder open at `fd` but "." and ".." to `entry` (a dirent64 with
// its name, its kind where the file system tells it, and its inode number), until the end
// or until `entry` answers false. This is the one way a folder is listed: large pieces
// straight from the system, for the walk of a tree and for the many paths of one folder
// alike. Returns the error that kept the rest unread, 0 when none did.
template <typename Entry>
int ForEachEntry(int fd, ListingBuffer& buffer, const Entry& entry) {
  if (buffer.empty()) buffer.resize(8 * 1024);
  char* const bytes = reinterpret_cast<char*>(buffer.data());
  for (;;) {
    const ssize_t got = ::getdents64(fd, bytes, buffer.size() * sizeof(std::uint64_t));
    if (got < 0) return errno;
    if (got == 0) return 0;
    for (ssize_t at = 0; at < got;) {
      const auto* found = reinterpret_cast<const struct dirent64*>(bytes + at);
      at += found->d_reclen;
      const char* name = found->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      if (!entry(*found)) return 0;
    }
  }
}

// Whether the listings of the folder open at `fd` give each entry the inode number that
// stat() gives its file: so on these file systems, whose regular files are never mount
// points of another file system.
bool ListingsCarryInodes(int fd);

}  // namespace zefa::native
