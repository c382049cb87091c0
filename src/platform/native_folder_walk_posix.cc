// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

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

using native::Descriptor;
using native::KeyOf;

WalkGap GapOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return WalkGap::kNoPermission;
    case ENAMETOOLONG:
      return WalkGap::kPathTooLong;
    case ENOENT:
    case ENOTDIR:
    case ELOOP:  // a link stands where the folder was
      return WalkGap::kGone;
    default:
      return WalkGap::kUnreadable;
  }
}

void Tell(const WalkGapFound& gap, const std::string& path, WalkGap why) {
  if (gap) gap(path, why);
}

// Reads the folder open at `fd`, whose own stat() is `folder`, into `listing`: its files
// with their keys and its real folders. Where the listing carries inode numbers a plain
// file's key is its folder's device and its inode, with no system call of its own; an
// fstatat inside the folder gives the key elsewhere, and finds out the kind of an entry
// that the listing does not tell and what a link names. Returns the error that kept part
// of the folder unread, 0 when none did.
int ReadEntries(int fd, const struct stat& folder, native::ListingBuffer& buffer,
                FolderListing& listing) {
  const bool inodes_listed = native::ListingsCarryInodes(fd);
  struct stat info {};
  int refused = 0;
  const int error = native::ForEachEntry(fd, buffer, [&](const dirent64& entry) {
    const char* name = entry.d_name;
    unsigned char type = entry.d_type;
    if (type == DT_REG && inodes_listed) {
      info = folder;
      info.st_ino = entry.d_ino;
    } else if (type == DT_UNKNOWN || type == DT_REG) {
      if (::fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        // A file deleted meanwhile is no loss; one that may not be looked at is.
        if (errno != ENOENT) refused = errno;
        return true;
      }
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
    return true;
  });
  return error != 0 ? error : refused;
}

// Lists the folder open at `fd` for `visit` and walks the subfolders it names; false once
// `visit` has ended the walk.
bool Walk(int fd, std::string path, int depth, native::ListingBuffer& buffer,
          const FolderVisit& visit, const WalkGapFound& gap) {
  struct stat info {};
  if (path.empty() || path.back() != '/') path += '/';
  if (::fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode)) {
    Tell(gap, path, WalkGap::kGone);
    return true;
  }
  FolderListing listing;
  listing.key = KeyOf(info);
  if (const int error = ReadEntries(fd, info, buffer, listing)) Tell(gap, path, GapOf(error));
  listing.path = path;
  // A file the system cannot name by its path could be listed but never renamed.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < listing.files.size(); ++i) {
    if (path.size() + listing.files[i].size() >= PATH_MAX) {
      listing.too_long_files.push_back(std::move(listing.files[i]));
      continue;
    }
    if (kept != i) {
      listing.files[kept] = std::move(listing.files[i]);
      listing.file_keys[kept] = std::move(listing.file_keys[i]);
    }
    ++kept;
  }
  listing.files.resize(kept);
  listing.file_keys.resize(kept);
  std::optional<std::vector<std::string>> next = visit(listing);
  if (!next) return false;
  listing = FolderListing{};  // the subfolders' listings need the room
  for (const std::string& name : *next) {
    if (name.empty() || name.find('/') != std::string::npos) continue;
    const std::string child_path = path + name;
    // Its files' paths would be longer still: none of them could be renamed.
    if (child_path.size() + 1 >= PATH_MAX) {
      Tell(gap, child_path + "/", WalkGap::kPathTooLong);
      continue;
    }
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const Descriptor child(depth < kDeepestHeldFolder ? ::openat(fd, name.c_str(), kFlags)
                                                      : ::open(child_path.c_str(), kFlags));
    if (child.get() < 0) {
      Tell(gap, child_path + "/", GapOf(errno));
      continue;
    }
    if (!Walk(child.get(), child_path, depth + 1, buffer, visit, gap)) return false;
  }
  return true;
}

}  // namespace

bool NativeFileSystem::WalkFolder(const std::string& folder, const FolderVisit& visit,
                                  const WalkGapFound& gap) {
  if (folder.empty() || folder.find('\0') != std::string::npos) return false;
  // The folder given is taken as it is named, through a link too; only below it are links
  // to folders left alone.
  const Descriptor root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (root.get() < 0) {
    // Nothing there, or no folder, is no gap: the caller says that one.
    if (errno != ENOENT && errno != ENOTDIR) {
      Tell(gap, folder.back() == '/' ? folder : folder + "/", GapOf(errno));
    }
    return false;
  }
  native::ListingBuffer buffer;
  Walk(root.get(), folder, 0, buffer, visit, gap);
  return true;
}

}  // namespace zefa
