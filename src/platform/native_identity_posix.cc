// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// What makes a file that file, as a restore file keeps it, and whether the file at a path
// is still the one recorded.
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_posix_internal.h"

namespace zefa {
namespace {

using native::NameInFolder;
using native::OpenFolder;

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

// Sets `text` to the number, keeping its room: one identity is filled in for row after row.
void SetNumber(std::string& text, unsigned long long number) {
  char digits[24];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  text.assign(digits, end);
}

// Sets `text` to the time as "<seconds>.<nanoseconds>", the nanoseconds in nine digits.
void SetTime(std::string& text, const struct statx_timestamp& time) {
  char digits[32];
  char* end = std::to_chars(digits, digits + 21, time.tv_sec).ptr;  // 64 bits and a sign
  *end++ = '.';
  unsigned nanoseconds = time.tv_nsec;
  for (int place = 8; place >= 0; --place, nanoseconds /= 10) {
    end[place] = static_cast<char>('0' + nanoseconds % 10);
  }
  text.assign(digits, end + 9);
}

void FillIdentity(const struct statx& info, const FileSystemOf& file_system, Identity& identity) {
  SetNumber(identity.device, makedev(info.stx_dev_major, info.stx_dev_minor));
  SetNumber(identity.inode, info.stx_ino);
  identity.file_system = file_system.id;
  identity.keeps_inodes = file_system.keeps_inodes;
  identity.birth.clear();
  if ((info.stx_mask & STATX_BTIME) != 0) SetTime(identity.birth, info.stx_btime);
  identity.size.clear();
  if ((info.stx_mask & STATX_SIZE) != 0) SetNumber(identity.size, info.stx_size);
  identity.modified.clear();
  if ((info.stx_mask & STATX_MTIME) != 0) SetTime(identity.modified, info.stx_mtime);
  identity.regular = S_ISREG(info.stx_mode);
}

std::string IdentityText(const Identity& identity) {
  std::string text;
  text.reserve(identity.device.size() + identity.inode.size() + identity.file_system.size() +
               identity.birth.size() + identity.size.size() + identity.modified.size() + 5);
  text += identity.device;
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

}  // namespace zefa
