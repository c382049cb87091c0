// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Renames that never replace a file at the new name, with fallbacks for file systems
// that do not know renameat2(RENAME_NOREPLACE).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/native_posix_internal.h"
#include "platform/native_rename_posix.h"

namespace zefa {
namespace {

using native::HasNul;
using native::NameInFolder;
using native::OpenFolder;

ChangeReason OutcomeOfError(int error, const std::string& from) {
  if (error == EEXIST || error == ENOTEMPTY) return ChangeReason::kTargetExists;
  if (error == ENOENT) {
    struct stat info {};
    return ::lstat(from.c_str(), &info) != 0 ? ChangeReason::kSourceMissing
                                             : ChangeReason::kRenameRefused;
  }
  return ChangeReason::kRenameRefused;
}

// Whether `from` and `to` are two names of one file, each an entry of its own: what a
// rename by link leaves behind when it is killed between its link and its unlink. Where
// names ignore case two spellings find one entry, so both must be listed as they are.
bool AreTwoNamesOfOneFile(const std::string& from, const std::string& to) {
  struct stat from_info {};
  struct stat to_info {};
  if (::lstat(from.c_str(), &from_info) != 0 || ::lstat(to.c_str(), &to_info) != 0 ||
      !S_ISREG(from_info.st_mode) || from_info.st_dev != to_info.st_dev ||
      from_info.st_ino != to_info.st_ino ||
      (from_info.st_nlink < 2 && to_info.st_nlink < 2)) {  // FUSE may show one stale
    return false;
  }
  const std::size_t from_name = NameInFolder(from);
  const std::size_t to_name = NameInFolder(to);
  if (from_name == std::string::npos || to_name == std::string::npos) return false;
  const std::string folder = from.substr(0, from_name);
  if (to.compare(0, to_name, folder) != 0 || to_name != from_name) return true;
  const native::Descriptor listing(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (listing.get() < 0) return false;
  bool from_listed = false;
  bool to_listed = false;
  native::ListingBuffer buffer;
  const int error = native::ForEachEntry(listing.get(), buffer, [&](const dirent64& entry) {
    from_listed = from_listed || from.compare(from_name, std::string::npos, entry.d_name) == 0;
    to_listed = to_listed || to.compare(to_name, std::string::npos, entry.d_name) == 0;
    return !(from_listed && to_listed);
  });
  if (error != 0) return false;
  return from_listed && to_listed;
}

}  // namespace

bool NativeFileSystem::RemoveSecondName(const std::string& name, const std::string& kept) {
  return !HasNul(name) && !HasNul(kept) && AreTwoNamesOfOneFile(name, kept) &&
         ::unlink(name.c_str()) == 0;
}

namespace posix {

ChangeReason RenameByLink(const std::string& from, const std::string& to) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return OutcomeOfError(errno, from);
  if (S_ISDIR(info.st_mode)) return ChangeReason::kRenameRefused;
  // link() fails with EEXIST rather than replace a file, whenever the target appeared.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return ChangeReason::kNone;
    ::unlink(to.c_str());
    return ChangeReason::kRenameRefused;
  }
  const int error = errno;
  if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK) {
    return RenameByReservation(from, to);
  }
  return OutcomeOfError(error, from);
}

ChangeReason RenameByReservation(const std::string& from, const std::string& to) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0) return OutcomeOfError(errno, from);
  if (S_ISDIR(info.st_mode)) return ChangeReason::kRenameRefused;
  // O_EXCL claims the name atomically; the plain rename then replaces only our own
  // empty placeholder, never a file of someone else's.
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return OutcomeOfError(errno, from);
  struct stat placeholder {};
  const bool known = ::fstat(fd, &placeholder) == 0;
  ::close(fd);
  if (::rename(from.c_str(), to.c_str()) == 0) return ChangeReason::kNone;
  const int error = errno;
  struct stat now {};
  if (known && ::lstat(to.c_str(), &now) == 0 && now.st_dev == placeholder.st_dev &&
      now.st_ino == placeholder.st_ino) {
    ::unlink(to.c_str());
  }
  return OutcomeOfError(error == EEXIST ? EIO : error, from);
}

}  // namespace posix

ChangeReason NativeFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  // A NUL byte would end the name early: the file would get a name nobody asked for.
  if (HasNul(from) || HasNul(to)) return ChangeReason::kRenameRefused;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return ChangeReason::kNone;
  }
  const int error = errno;
  // Only a file system that does not know the flag goes on to the fallbacks.
  if (error == EINVAL || error == ENOSYS || error == EOPNOTSUPP)
    return posix::RenameByLink(from, to);
  return OutcomeOfError(error, from);
}

std::vector<ChangeReason> NativeFileSystem::RenameEachNoReplace(
    const std::vector<RenamePair>& pairs, const KeepGoing& keep_going) {
  std::vector<ChangeReason> outcomes;
  outcomes.reserve(pairs.size());
  OpenFolder folder;
  // Each pair's paths, ended by a NUL for the system.
  std::string from;
  std::string to;
  for (const RenamePair& pair : pairs) {
    from.assign(pair.from);
    to.assign(pair.to);
    if (HasNul(from) || HasNul(to)) {
      outcomes.push_back(ChangeReason::kRenameRefused);
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
      outcomes.push_back(ChangeReason::kNone);
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

}  // namespace zefa
