// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

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

}  // namespace zefa::native
