// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_posix_internal.h"

namespace zefa {
namespace {

// Below this depth each folder is opened inside its parent's descriptor, which stays open
// while its subfolders are walked; deeper down by its whole path, so that a deep tree
// never runs out of descriptors.
constexpr int kDeepestHeldFolder = 128;

using native::KeyOf;

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

// The listing buffer of one walk, shared by all its folders.
using EntryBuffer = std::vector<std::uint64_t>;

// Reads the folder open at `fd` into `listing`: its files with their keys and its real
// folders. A file's key comes from an fstatat inside the folder, which also finds out the
// kind of an entry that the listing does not tell and what a link names.
void ReadEntries(int fd, EntryBuffer& entries, FolderListing& listing) {
  char* const buffer = reinterpret_cast<char*>(entries.data());
  struct stat info {};
  for (;;) {
    const ssize_t got = ::getdents64(fd, buffer, entries.size() * sizeof(std::uint64_t));
    if (got <= 0) return;
    for (ssize_t at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
      at += entry->d_reclen;
      const char* name = entry->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      unsigned char type = entry->d_type;
      if (type == DT_UNKNOWN || type == DT_REG) {
        if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        type = S_ISREG(info.st_mode)   ? DT_REG
               : S_ISDIR(info.st_mode) ? DT_DIR
               : S_ISLNK(info.st_mode) ? DT_LNK
                                       : DT_UNKNOWN;
      }
      // A link counts as the file it names; a link to a folder, or to nothing, is passed over.
      if (type == DT_LNK) {
        type = ::fstatat(fd, name, &info, 0) == 0 && S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
      }
      if (type == DT_REG) {
        listing.files.emplace_back(name);
        listing.file_keys.push_back(KeyOf(info));
      } else if (type == DT_DIR) {
        listing.folders.emplace_back(name);
      }
    }
  }
}

// Lists the folder open at `fd` for `visit` and walks the subfolders it names; false once
// `visit` has ended the walk.
bool Walk(int fd, std::string path, int depth, EntryBuffer& entries, const FolderVisit& visit) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode)) return true;
  if (path.empty() || path.back() != '/') path += '/';
  FolderListing listing;
  listing.key = KeyOf(info);
  ReadEntries(fd, entries, listing);
  listing.path = path;
  std::optional<std::vector<std::string>> next = visit(listing);
  if (!next) return false;
  listing = FolderListing{};  // the subfolders' listings need the room
  for (const std::string& name : *next) {
    if (name.empty() || name.find('/') != std::string::npos) continue;
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const Descriptor child(depth < kDeepestHeldFolder ? ::openat(fd, name.c_str(), kFlags)
                                                      : ::open((path + name).c_str(), kFlags));
    if (child.get() < 0) continue;
    if (!Walk(child.get(), path + name, depth + 1, entries, visit)) return false;
  }
  return true;
}

}  // namespace

bool NativeFileSystem::WalkFolder(const std::string& folder, const FolderVisit& visit) {
  if (folder.empty() || folder.find('\0') != std::string::npos) return false;
  // The folder given is taken as it is named, through a link too; only below it are links
  // to folders left alone.
  const Descriptor root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (root.get() < 0) return false;
  EntryBuffer entries(8 * 1024);
  Walk(root.get(), folder, 0, entries, visit);
  return true;
}

}  // namespace zefa
