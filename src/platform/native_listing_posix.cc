// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Many paths of one folder answered from its listing instead of a system call each.
#include "platform/native_listing_posix.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_posix_internal.h"
#include "tables/flat_index.h"

namespace zefa {
namespace {

using native::Descriptor;
using native::KeyOf;
using native::NameInFolder;
using native::OpenFolder;

}  // namespace

bool native::ListingsCarryInodes(int fd) {
  struct statfs info {};
  if (::fstatfs(fd, &info) != 0) return false;
  switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC:  // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
      return true;
    default:
      return false;
  }
}

namespace posix {

bool ListingsCarryInodes(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool carried = native::ListingsCarryInodes(fd);
  ::close(fd);
  return carried;
}

}  // namespace posix

namespace {

// What a folder's listing says of a path.
enum class Listed : unsigned char {
  kUnknown,  // the folder was not read (few paths in it), or not to its end
  kFound,    // an entry of the wanted kind has the name
  kAbsent,   // no entry has the name, in a whole listing of a folder that tells case apart
};

bool HasAsciiLetter(const char* name) {
  for (; *name != '\0'; ++name) {
    if ((*name >= 'a' && *name <= 'z') || (*name >= 'A' && *name <= 'Z')) return true;
  }
  return false;
}

// Whether the folder being listed tells names apart by case: the name of one of its
// entries, its ASCII letters' case swapped, names nothing. A folder that ignores case
// (FAT, exFAT, a casefolded ext4 folder, most SMB shares) finds the entry that way.
bool TellsCaseApart(int folder_fd, std::string name) {
  bool swapped = false;
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
      swapped = true;
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
      swapped = true;
    }
  }
  if (!swapped) return false;
  struct stat info {};
  return ::fstatat(folder_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT;
}

// Hears a regular file found in a listing: its row, the stat() of its folder, its inode.
using InodeFound = std::function<void(std::size_t row, const struct stat& folder, ino_t inode)>;

// What the listings say of the paths: only plain regular files count as found, or entries
// of any kind. Folders with few paths are not read; their paths stay unknown. With
// `inode_found`, only folders whose listings carry inode numbers are read, and each
// regular file found is told to it.
template <typename Path>
std::vector<Listed> FoundInListings(const std::vector<Path>& paths, bool any_kind,
                                    const InodeFound& inode_found = {}) {
  // Below this many files in one folder a stat each is cheaper than reading the folder.
  constexpr std::size_t kListingFrom = 64;
  struct Folder {
    std::string_view path;            // with its trailing "/"
    std::vector<std::uint32_t> rows;  // a list longer than 32 bits count is not read
  };
  std::vector<Folder> folders;
  std::unordered_map<std::string_view, std::size_t> folder_index;
  if (paths.size() >= UINT32_MAX) return std::vector<Listed>(paths.size(), Listed::kUnknown);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string_view path = paths[i];
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos || slash + 1 == path.size()) continue;
    const std::string_view folder = path.substr(0, slash + 1);
    std::size_t index = folders.size() - 1;
    // Rows of one folder usually follow each other: no look-up for them.
    if (folders.empty() || folders[index].path != folder) {
      const auto [at, added] = folder_index.emplace(folder, folders.size());
      if (added) folders.push_back({folder, {}});
      index = at->second;
    }
    folders[index].rows.push_back(static_cast<std::uint32_t>(i));
  }

  std::vector<Listed> listed(paths.size(), Listed::kUnknown);
  native::ListingBuffer buffer;
  for (const Folder& folder : folders) {
    if (folder.rows.size() < kListingFrom) continue;
    const std::string folder_path(folder.path);
    // stat() needs the right to search the folder; a listing alone would not show that.
    if (::access(folder_path.c_str(), X_OK) != 0) continue;
    const Descriptor listing(::open(folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listing.get() < 0) continue;
    struct stat folder_info {};
    if (inode_found && (!native::ListingsCarryInodes(listing.get()) ||
                        ::fstat(listing.get(), &folder_info) != 0)) {
      continue;
    }
    // The rows by their names after the folder; the first row of a name given twice is kept.
    const std::size_t name_start = folder.path.size();
    FlatIndex wanted(folder.rows.size(), [&paths, name_start](std::size_t row) {
      return std::string_view(paths[row]).substr(name_start);
    });
    for (const std::uint32_t row : folder.rows) wanted.Insert(row);
    // A huge folder with few listed files is left to stat().
    std::size_t budget = 16 * folder.rows.size() + 1024;
    bool whole = true;
    std::string lettered;  // a name with an ASCII letter, for the case probe
    const int error = native::ForEachEntry(listing.get(), buffer, [&](const dirent64& entry) {
      if (budget-- == 0) return whole = false;
      if (lettered.empty() && HasAsciiLetter(entry.d_name)) lettered = entry.d_name;
      // Only a plain regular file is taken from the listing; links and the rest are stat()ed.
      if (!any_kind && entry.d_type != DT_REG) return true;
      const std::size_t row = wanted.Find(entry.d_name);
      if (row == decltype(wanted)::kNone) return true;
      listed[row] = Listed::kFound;
      if (inode_found && entry.d_type == DT_REG) inode_found(row, folder_info, entry.d_ino);
      return true;
    });
    if (error == 0 && whole && !lettered.empty() && TellsCaseApart(listing.get(), lettered)) {
      // A row that repeats an earlier row's name, or holds a NUL byte, is left to lstat().
      for (const std::uint32_t row : folder.rows) {
        const std::string_view name = std::string_view(paths[row]).substr(folder.path.size());
        if (listed[row] == Listed::kUnknown && name.find('\0') == std::string_view::npos &&
            wanted.Find(name) == row) {
          listed[row] = Listed::kAbsent;
        }
      }
    }
  }
  return listed;
}

}  // namespace

std::vector<bool> NativeFileSystem::FilesExist(const std::vector<std::string>& paths) {
  const std::vector<Listed> listed = FoundInListings(paths, false);
  // A name seen in the listing is a file; anything else (a duplicate row, another case of
  // the name, a link) gets the same answer as FileExists.
  std::vector<bool> exist(paths.size(), false);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    exist[i] = listed[i] == Listed::kFound || FileExists(paths[i]);
  }
  return exist;
}

std::vector<bool> NativeFileSystem::PathsTaken(const std::vector<std::string_view>& paths) {
  const std::vector<Listed> listed = FoundInListings(paths, true);
  // A name missing from the listing of a folder that ignores case may still be taken under
  // another case of it: lstat() answers for it, and sees a link to nothing too.
  std::vector<bool> taken(paths.size(), false);
  std::string path;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (listed[i] != Listed::kUnknown) {
      taken[i] = listed[i] == Listed::kFound;
      continue;
    }
    path.assign(paths[i]);
    struct stat info {};
    taken[i] = !path.empty() && ::lstat(path.c_str(), &info) == 0;
  }
  return taken;
}

namespace posix {

std::vector<std::string> KeysFromListings(const std::vector<std::string_view>& paths) {
  std::vector<std::string> keys(paths.size());
  FoundInListings(paths, false, [&](std::size_t row, const struct stat& folder, ino_t inode) {
    struct stat info = folder;
    info.st_ino = inode;
    keys[row] = KeyOf(info);
  });
  return keys;
}

}  // namespace posix

std::vector<std::string> NativeFileSystem::FileKeys(const std::vector<std::string_view>& paths,
                                                    const KeepGoing& keep_going) {
  // Many files of one folder take their inode numbers from its listing; the rest, and a
  // name that a listing could not answer for, are asked one by one inside their folder.
  std::vector<std::string> keys = posix::KeysFromListings(paths);
  OpenFolder folder;
  std::string path;  // the row's path, ended by a NUL for the system
  for (std::size_t row = 0; row < paths.size(); ++row) {
    // On slow storage the one-by-one look-ups are what takes long: a stop is heard here.
    if (keep_going && row > 0 && !keep_going(row)) {
      keys.resize(row);
      break;
    }
    if (!keys[row].empty()) continue;  // a key is never empty
    path.assign(paths[row]);
    std::string& key = keys[row];
    const std::size_t name = NameInFolder(path);
    const int folder_fd = name == std::string::npos ? -1 : folder.For({path.data(), name});
    struct stat info {};
    if (folder_fd < 0) {
      key = FileKey(path).value_or(std::string());
    } else if (::fstatat(folder_fd, path.c_str() + name, &info, 0) == 0) {
      key = KeyOf(info);
    }
  }
  return keys;
}

}  // namespace zefa
