// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_rename_posix.h"
#include "text/flat_index.h"

namespace zefa {
namespace {

std::string ParentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

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

bool HasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

// Device and inode: what makes two paths the same file.
std::string KeyOf(const struct stat& info) {
  return std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino);
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

// Where a path's file name starts inside its folder, when the path names a file in a
// folder ("/a/b" but not "b", "/a/" or a path with a NUL byte); npos otherwise.
std::size_t NameInFolder(const std::string& path) {
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
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool NativeFileSystem::FolderExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

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

// Whether the folder's file system gives each entry of a listing the inode number that
// stat() gives its file: so on these, whose regular files are never mount points of
// another file system.
bool ListsInodes(const std::string& folder) {
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
        (!ListsInodes(folder_path) || ::stat(folder_path.c_str(), &folder_info) != 0 ||
         !S_ISDIR(folder_info.st_mode))) {
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
  return KeyOf(info);
}

std::vector<std::string> NativeFileSystem::FileKeys(const std::vector<std::string_view>& paths,
                                                    const KeepGoing& keep_going) {
  // Many files of one folder take their inode numbers from its listing; the rest, and a
  // name that a listing could not answer for, are asked one by one inside their folder.
  std::vector<std::string> keys(paths.size());
  std::vector<bool> known(paths.size(), false);
  FoundInListings(paths, false, [&](std::size_t row, const struct stat& folder, ino_t inode) {
    struct stat info = folder;
    info.st_ino = inode;
    keys[row] = KeyOf(info);
    known[row] = true;
  });
  OpenFolder folder;
  std::string path;  // the row's path, ended by a NUL for the system
  for (std::size_t row = 0; row < paths.size(); ++row) {
    // On slow storage the one-by-one look-ups are what takes long: a stop is heard here.
    if (keep_going && row > 0 && !keep_going(row)) {
      keys.resize(row);
      break;
    }
    if (known[row]) continue;
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

// One stat instead of FileExists and FileKey: adding many files costs a system call each.
std::optional<std::string> NativeFileSystem::ExistingFileKey(const std::string& path) {
  struct stat info {};
  // Only a regular file is a file: a folder, a pipe or a device is refused.
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  return KeyOf(info);
}

RenameOutcome NativeFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  // A NUL byte would end the name early: the file would get a name nobody asked for.
  if (HasNul(from) || HasNul(to)) return RenameOutcome::kFailed;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return RenameOutcome::kDone;
  }
  const int error = errno;
  // Only a file system that does not know the flag goes on to the fallbacks.
  if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP)
    return posix::RenameByLink(from, to);
  return OutcomeOfError(error, from);
}

std::vector<RenameOutcome> NativeFileSystem::RenameEachNoReplace(
    const std::vector<RenamePair>& pairs, const KeepGoing& keep_going) {
  std::vector<RenameOutcome> outcomes;
  outcomes.reserve(pairs.size());
  OpenFolder folder;
  // Each pair's paths, ended by a NUL for the system.
  std::string from;
  std::string to;
  for (const RenamePair& pair : pairs) {
    from.assign(pair.from);
    to.assign(pair.to);
    if (HasNul(from) || HasNul(to)) {
      outcomes.push_back(RenameOutcome::kFailed);
      continue;
    }
    // A pair that stays in one folder names both files inside it.
    const std::size_t name = NameInFolder(from);
    const bool same_folder = name != std::string::npos && to.size() > name &&
                             to.compare(0, name, from, 0, name) == 0 &&
                             to.find('/', name) == std::string::npos;
    if (keep_going && !outcomes.empty() && !keep_going(outcomes.size())) break;
    const int folder_fd = same_folder ? folder.For({from.data(), name}) : -1;
    if (folder_fd < 0) {
      outcomes.push_back(RenameNoReplace(from, to));
      continue;
    }
    if (::renameat2(folder_fd, from.c_str() + name, folder_fd, to.c_str() + name,
                    RENAME_NOREPLACE) == 0) {
      outcomes.push_back(RenameOutcome::kDone);
      continue;
    }
    const int error = errno;
    if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP) {
      outcomes.push_back(posix::RenameByLink(from, to));
    } else {
      outcomes.push_back(OutcomeOfError(error, from));
    }
  }
  if (keep_going && !outcomes.empty()) keep_going(outcomes.size());
  return outcomes;
}

std::optional<std::string> NativeFileSystem::ReadFile(const std::string& path,
                                                      std::size_t max_bytes) {
  // The type is looked at before the open, so that no device is ever opened, and again on
  // the open file, which O_NONBLOCK keeps from waiting for the writer of a pipe that took
  // the name meanwhile.
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::uintmax_t>(info.st_size) <= max_bytes) {
    bytes.emplace();
    bytes->reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    // One byte more than allowed tells a file that grew past the limit.
    while (bytes) {
      const std::size_t room = max_bytes - bytes->size() + 1;
      const ssize_t got = ::read(fd, chunk, room < sizeof chunk ? room : sizeof chunk);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 || bytes->size() + static_cast<std::size_t>(got) > max_bytes) {
        bytes.reset();
      } else if (got == 0) {
        break;
      } else {
        bytes->append(chunk, static_cast<std::size_t>(got));
      }
    }
  }
  ::close(fd);
  return bytes;
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

bool NativeFileSystem::WriteFileInPieces(const std::string& path, const PieceSource& next,
                                         WriteMode mode) {
  return WriteFileWith(
      path,
      [&](int fd) {
        std::string piece;
        while (next(piece)) {
          if (!WriteAll(fd, piece)) return false;
        }
        return true;
      },
      mode);
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
