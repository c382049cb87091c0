// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// What is at a path: files and folders, their identities, and many paths of one folder
// answered from its listing instead of a system call each.
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_listing_posix.h"
#include "platform/native_posix_internal.h"
#include "tables/flat_index.h"

namespace zefa {
namespace {

using native::KeyOf;
using native::NameInFolder;
using native::OpenFolder;

}  // namespace

bool NativeFileSystem::FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool NativeFileSystem::FolderExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace posix {

// Whether the folder's file system gives each entry of a listing the inode number that
// stat() gives its file: so on these, whose regular files are never mount points of
// another file system.
bool ListingsCarryInodes(const std::string& folder) {
  struct statfs info {};
  if (::statfs(folder.c_str(), &info) != 0) return false;
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
bool TellsCaseApart(DIR* listing, std::string name) {
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
  return ::fstatat(::dirfd(listing), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 &&
         errno == ENOENT;
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
  for (const Folder& folder : folders) {
    if (folder.rows.size() < kListingFrom) continue;
    const std::string folder_path(folder.path);
    // stat() needs the right to search the folder; a listing alone would not show that.
    if (::access(folder_path.c_str(), X_OK) != 0) continue;
    struct stat folder_info {};
    if (inode_found &&
        (!posix::ListingsCarryInodes(folder_path) ||
         ::stat(folder_path.c_str(), &folder_info) != 0 || !S_ISDIR(folder_info.st_mode))) {
      continue;
    }
    DIR* listing = ::opendir(folder_path.c_str());
    if (listing == nullptr) continue;
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
    while (const dirent* entry = ::readdir(listing)) {
      if (budget-- == 0) {
        whole = false;
        break;
      }
      if (lettered.empty() && HasAsciiLetter(entry->d_name)) lettered = entry->d_name;
      // Only a plain regular file is taken from the listing; links and the rest are stat()ed.
      if (!any_kind && entry->d_type != DT_REG) continue;
      const std::size_t row = wanted.Find(entry->d_name);
      if (row == decltype(wanted)::kNone) continue;
      listed[row] = Listed::kFound;
      if (inode_found && entry->d_type == DT_REG) inode_found(row, folder_info, entry->d_ino);
    }
    if (whole && !lettered.empty() && TellsCaseApart(listing, lettered)) {
      // A row that repeats an earlier row's name, or holds a NUL byte, is left to lstat().
      for (const std::uint32_t row : folder.rows) {
        const std::string_view name = std::string_view(paths[row]).substr(folder.path.size());
        if (listed[row] == Listed::kUnknown && name.find('\0') == std::string_view::npos &&
            wanted.Find(name) == row) {
          listed[row] = Listed::kAbsent;
        }
      }
    }
    ::closedir(listing);
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

std::size_t NativeFileSystem::LongestName(const std::string& folder) {
  const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

std::optional<std::string> NativeFileSystem::FileKey(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  return KeyOf(info);
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

namespace {

// A file's identity as a restore file keeps it:
// "<device>:<inode>:<file system>:<birth>:<size>:<modified>", the first two as FileKey
// gives them; the file system's id (statfs's f_fsid, which ext4 and others derive from the
// file system's UUID, so a card plugged in again is still itself) and the birth time
// ("<seconds>.<nanoseconds>") are empty where not given. The size and the modification
// time ("<seconds>.<nanoseconds>") survive where the device and the inode do not: XFS's id
// follows the block device, FAT, exFAT and NTFS number their inodes anew at each mount,
// and a FUSE mount has no id and a new device at each mount.
struct Identity {
  std::string device, inode, birth, size, modified;
  std::string_view file_system;
  bool keeps_inodes = false;  // the file system keeps a file's inode number across mounts
  bool regular = false;
};

// The file system behind a folder: its id ("" when it has none to give) and whether it
// keeps a file's inode number from one mount to the next.
struct FileSystemOf {
  std::string id;
  bool keeps_inodes = false;
};

bool KeepsInodeNumbers(unsigned long type) {
  switch (type) {
    case EXT4_SUPER_MAGIC:  // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
      return true;
    default:
      return false;
  }
}

constexpr unsigned kIdentityMask = STATX_TYPE | STATX_INO | STATX_BTIME | STATX_SIZE | STATX_MTIME;

// The file system behind `fd` (a folder's) or `path`.
FileSystemOf FileSystemBehind(int fd, const char* path) {
  struct statfs info {};
  if ((fd >= 0 ? ::fstatfs(fd, &info) : ::statfs(path, &info)) != 0) return {};
  FileSystemOf file_system;
  file_system.keeps_inodes = KeepsInodeNumbers(static_cast<unsigned long>(info.f_type));
  unsigned int parts[2] = {};
  static_assert(sizeof parts == sizeof info.f_fsid);
  std::memcpy(parts, &info.f_fsid, sizeof parts);
  if (parts[0] == 0 && parts[1] == 0) return file_system;
  char text[24];
  std::snprintf(text, sizeof text, "%08x%08x", parts[0], parts[1]);
  file_system.id = text;
  return file_system;
}

std::string TimeText(const struct statx_timestamp& time) {
  char text[48];
  std::snprintf(text, sizeof text, "%lld.%09u", static_cast<long long>(time.tv_sec), time.tv_nsec);
  return text;
}

void FillIdentity(const struct statx& info, const FileSystemOf& file_system, Identity& identity) {
  identity.device = std::to_string(makedev(info.stx_dev_major, info.stx_dev_minor));
  identity.inode = std::to_string(info.stx_ino);
  identity.file_system = file_system.id;
  identity.keeps_inodes = file_system.keeps_inodes;
  identity.birth.clear();
  if ((info.stx_mask & STATX_BTIME) != 0) identity.birth = TimeText(info.stx_btime);
  identity.size.clear();
  if ((info.stx_mask & STATX_SIZE) != 0) identity.size = std::to_string(info.stx_size);
  identity.modified.clear();
  if ((info.stx_mask & STATX_MTIME) != 0) identity.modified = TimeText(info.stx_mtime);
  identity.regular = S_ISREG(info.stx_mode);
}

std::string IdentityText(const Identity& identity) {
  std::string text = identity.device;
  ((((text += ':') += identity.inode) += ':') += identity.file_system) += ':';
  (((text += identity.birth) += ':') += identity.size) += ':';
  return text += identity.modified;
}

enum class Sameness { kOther, kSame, kSameByTimes };

// Whether a file whose device or inode changed is still the recorded one, by what
// survives: its size and modification time to the nanosecond, and its birth time where
// both sides have one. Where the file system keeps its inode numbers, another inode is
// another file, and the same inode counts only on a file system that came back under
// another id or device (XFS attached again); elsewhere (FAT, exFAT, NTFS, FUSE) the
// device and the inode tell nothing.
bool SameByTimes(const std::string_view (&fields)[6], const Identity& now) {
  if (fields[4].empty() || fields[5].empty() || fields[4] != now.size ||
      fields[5] != now.modified) {
    return false;
  }
  if (!fields[3].empty() && !now.birth.empty() && fields[3] != now.birth) return false;
  if (!now.keeps_inodes) return true;
  const bool same_file_system = !fields[2].empty() && !now.file_system.empty()
                                    ? fields[2] == now.file_system
                                    : fields[0] == now.device;
  return !same_file_system && fields[1] == now.inode;
}

// Whether `recorded` (IdentityText, an older record's four fields, or an older record's
// FileKey) names the file `now`. Its file system is known by its id where both have one,
// else by the device; its birth time counts where both have one. Six fields add the match
// by times (SameByTimes); the older forms keep their own rules.
Sameness SameFile(std::string_view recorded, const Identity& now) {
  std::string_view fields[6];
  std::size_t count = 0;
  for (std::size_t start = 0;;) {
    if (count == std::size(fields)) return Sameness::kOther;  // more fields than any writer puts
    const std::size_t colon = recorded.find(':', start);
    fields[count++] =
        recorded.substr(start, colon == std::string_view::npos ? colon : colon - start);
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (count == 2) {
    return fields[0] == now.device && fields[1] == now.inode ? Sameness::kSame : Sameness::kOther;
  }
  if (count != 4 && count != 6) return Sameness::kOther;
  const bool same_file_system = !fields[2].empty() && !now.file_system.empty()
                                    ? fields[2] == now.file_system
                                    : fields[0] == now.device;
  if (fields[1] == now.inode && same_file_system &&
      (fields[3].empty() || now.birth.empty() || fields[3] == now.birth)) {
    return Sameness::kSame;
  }
  return count == 6 && SameByTimes(fields, now) ? Sameness::kSameByTimes : Sameness::kOther;
}

// The identities of the paths, one statx() each inside its folder, opened once for a
// stretch of paths in one folder; `found` hears each (null where nothing is there) and
// answers false to stop.
template <typename PathOf, typename Found>
void ForEachIdentity(std::size_t count, const PathOf& path_of, const Found& found) {
  OpenFolder folder;
  std::string path;                // the row's path, ended by a NUL for the system
  std::string file_system_folder;  // the folder whose file system is held
  bool file_system_known = false;
  FileSystemOf file_system;
  Identity identity;
  for (std::size_t row = 0; row < count; ++row) {
    path.assign(path_of(row));
    const std::size_t name = NameInFolder(path);
    const int folder_fd = name == std::string::npos ? -1 : folder.For({path.data(), name});
    struct statx info {};
    const bool there = !path.empty() && !native::HasNul(path) &&
                       ::statx(folder_fd < 0 ? AT_FDCWD : folder_fd,
                               folder_fd < 0 ? path.c_str() : path.c_str() + name,
                               AT_STATX_SYNC_AS_STAT, kIdentityMask, &info) == 0;
    if (there) {
      const std::string_view folder_part(path.data(), folder_fd < 0 ? 0 : name);
      if (folder_fd < 0 || !file_system_known || folder_part != file_system_folder) {
        file_system = FileSystemBehind(folder_fd, path.c_str());
        file_system_folder.assign(folder_part);
        file_system_known = folder_fd >= 0;
      }
      FillIdentity(info, file_system, identity);
    }
    if (!found(row, there ? &identity : nullptr)) return;
  }
}

// Runs `work(begin, end)` over stretches of [0, count), one a core: a look-up of a file's
// metadata costs the processor more than the disk once the folder is in memory, so many
// rows go quicker side by side. Few rows stay on the calling thread.
template <typename Work>
void OnEveryCore(std::size_t count, const Work& work) {
  constexpr std::size_t kRowsPerThread = 1024;
  const std::size_t threads = std::min<std::size_t>(
      std::max(1u, std::thread::hardware_concurrency()), count / kRowsPerThread + 1);
  if (threads <= 1) {
    work(0, count);
    return;
  }
  const std::size_t per_thread = (count + threads - 1) / threads;
  std::vector<std::thread> pool;
  pool.reserve(threads - 1);
  for (std::size_t t = 1; t < threads; ++t) {
    const std::size_t begin = std::min(count, t * per_thread);
    const std::size_t end = std::min(count, begin + per_thread);
    pool.emplace_back([&work, begin, end] { work(begin, end); });
  }
  work(0, std::min(count, per_thread));
  for (std::thread& thread : pool) thread.join();
}

}  // namespace

std::vector<std::string> NativeFileSystem::FileIdentities(
    const std::vector<std::string_view>& paths) {
  std::vector<std::string> identities(paths.size());
  OnEveryCore(paths.size(), [&](std::size_t begin, std::size_t end) {
    ForEachIdentity(
        end - begin, [&](std::size_t row) { return paths[begin + row]; },
        [&](std::size_t row, const Identity* identity) {
          if (identity) identities[begin + row] = IdentityText(*identity);
          return true;
        });
  });
  return identities;
}

std::vector<FileMatch> NativeFileSystem::MatchFiles(const std::vector<KeyedPath>& wanted,
                                                    const KeepGoing& keep_going) {
  std::vector<FileMatch> matches(wanted.size(), FileMatch::kNothing);
  // Many rows go a block at a time on every core, a stop heard between two blocks on this
  // thread; a few go one by one, a stop heard before each.
  const std::size_t block_rows = wanted.size() < 4096 ? 1 : 2048;
  for (std::size_t start = 0; start < wanted.size(); start += block_rows) {
    // On slow storage the look-ups are what takes long: a stop is heard here.
    if (keep_going && start > 0 && !keep_going(start)) {
      matches.resize(start);
      break;
    }
    const std::size_t block = std::min(block_rows, wanted.size() - start);
    OnEveryCore(block, [&](std::size_t begin, std::size_t end) {
      const std::size_t first = start + begin;
      ForEachIdentity(
          end - begin, [&](std::size_t row) { return wanted[first + row].path; },
          [&](std::size_t row, const Identity* identity) {
            FileMatch& match = matches[first + row];
            if (!identity) {
              match = FileMatch::kNothing;
            } else if (const Sameness same = SameFile(wanted[first + row].key, *identity);
                       same == Sameness::kOther) {
              match = FileMatch::kOtherFile;
            } else if (!identity->regular) {
              // The undo renames files only, never a folder that a forged record names.
              match = FileMatch::kNoFile;
            } else {
              match = same == Sameness::kSame ? FileMatch::kSameFile : FileMatch::kSameFileByTimes;
            }
            return true;
          });
    });
  }
  return matches;
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
