// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "change/row_change.h"

namespace zefa {

enum class WriteMode {
  kReplace,    // put the new bytes in place of the file, atomically
  kCreateNew,  // fail when a file already stands at the path; never replace one
};

/** One rename of a batch; the bytes of both paths outlive the call. */
struct RenamePair {
  std::string_view from;
  std::string_view to;
};

/** What stands at a path, against the file whose FileKey was taken there earlier. */
enum class FileMatch : std::uint8_t {
  kNothing,   // nothing at the path
  kSameFile,  // that file, a regular file (or a link to one)
  // that file, known by its size, modification time and birth time alone: its disk came
  // back under another device, or with other inode numbers
  kSameFileByTimes,
  kOtherFile,  // another file
  kNoFile,     // a folder or anything else that is no regular file
};

/** A path and the FileKey recorded for it; the bytes of both outlive the call. */
struct KeyedPath {
  std::string_view path;
  std::string_view key;
};

/** Takes the next piece of a file's bytes; false when the write failed and should stop. */
using PieceSink = std::function<bool(std::string_view piece)>;
/** Pushes a file's bytes into the sink, piece by piece; false when the sink refused one. */
using PieceWriter = std::function<bool(const PieceSink& sink)>;

/** Takes a file's bytes as they are read: first its size, then its pieces in order. */
struct PieceReader {
  std::function<void(std::size_t bytes)> sized;  // how large the file is, before any piece
  PieceSink piece;                               // false stops the reading there
};

/** Why a file's bytes could not be read. */
enum class ReadFailure : std::uint8_t {
  kNothingThere,  // nothing at the path
  kNotReadable,   // there, but the system refused to read it
  kTooLarge,      // larger than the reader takes
  kNotAFile,      // a folder, a pipe, a device: no regular file
};

/** The whole of a file that was read, or why it could not be. */
class FileRead {
 public:
  FileRead(std::string bytes) : bytes_(std::move(bytes)) {}  // NOLINT: a read is its bytes
  FileRead(ReadFailure failure) : failure_(failure) {}       // NOLINT: or its failure

  bool has_value() const { return !failure_; }
  explicit operator bool() const { return has_value(); }
  std::string& operator*() { return bytes_; }
  const std::string& operator*() const { return bytes_; }
  std::string* operator->() { return &bytes_; }
  const std::string* operator->() const { return &bytes_; }
  /** The bytes, or `fallback` when the file could not be read. */
  std::string value_or(std::string fallback) const& { return failure_ ? fallback : bytes_; }
  /** Why the file could not be read; nullopt when it was. */
  std::optional<ReadFailure> failure() const { return failure_; }

 private:
  std::string bytes_;
  std::optional<ReadFailure> failure_;
};

/** Hears how many steps of a long task are done; false asks the task to stop there. */
using KeepGoing = std::function<bool(std::size_t done)>;

/**
 * One folder of a walk as its listing has it. Names are the entries' own bytes; hidden
 * entries are listed too (what to skip is the caller's choice).
 */
struct FolderListing {
  std::string path;                    // the folder, ending in "/"
  std::string key;                     // the folder's FileKey
  std::vector<std::string> files;      // regular files, and links to regular files
  std::vector<std::string> file_keys;  // FileKey of each of `files`, in step
  std::vector<std::string> folders;    // real folders; a link to a folder is not among them
  /** Files whose whole path is too long for the system to name (left out of `files`). */
  std::vector<std::string> too_long_files;
};

/** Why a part of a tree could not be walked. */
enum class WalkGap {
  kNoPermission,  // the folder may not be read or entered
  kPathTooLong,   // its path is longer than the system can name
  kGone,          // moved, renamed or deleted between its listing and its turn
  kUnreadable,    // any other refusal of the system
};

/** Hears a folder (its path ending in "/") or a file below the walked folder that was left out. */
using WalkGapFound = std::function<void(const std::string& path, WalkGap why)>;

/**
 * Hears one folder of a walk and answers the names of its subfolders to walk next, in
 * that order (each with everything below it); nullopt ends the whole walk there.
 */
using FolderVisit = std::function<std::optional<std::vector<std::string>>(FolderListing& folder)>;

/** The first bytes of a file, and whether they are all of it. */
struct FileStart {
  std::string bytes;
  bool whole = false;
};

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

/** The file system as the core sees it; paths are byte strings of the platform. */
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /** A regular file (or a link to one) exists there; a folder is no file. */
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  /** FileExists of every path, in order; a file system may answer many from one folder listing. */
  virtual std::vector<bool> FilesExist(const std::vector<std::string>& paths) {
    std::vector<bool> exist;
    exist.reserve(paths.size());
    for (const std::string& path : paths) exist.push_back(FileExists(path));
    return exist;
  }
  /**
   * Whether anything stands at each path (a file, a folder, a link even to nothing), so
   * that a rename to it is refused; a file system may answer many from one folder listing.
   */
  virtual std::vector<bool> PathsTaken(const std::vector<std::string_view>& paths) {
    std::vector<bool> taken;
    taken.reserve(paths.size());
    for (const std::string_view path : paths) {
      const std::string copy(path);
      taken.push_back(FileExists(copy) || FolderExists(copy));
    }
    return taken;
  }
  /** The longest file name, in bytes, that the folder takes. */
  virtual std::size_t LongestName(const std::string& /*folder*/) { return 255; }
  /** Creates the folder with every missing parent; true when it exists afterwards. */
  virtual bool CreateFolders(const std::string& path) = 0;
  /**
   * What makes two paths the same file: device and inode on POSIX, the path without
   * regard to case on Windows. nullopt when nothing is there.
   */
  virtual std::optional<std::string> FileKey(const std::string& path) = 0;
  /**
   * FileKey of each path, in order, "" where nothing is there; a file system may look a
   * folder shared by neighbouring paths up once for all of them. `keep_going` (when given)
   * hears how many are done as it goes; when it answers false the look-ups end there, and
   * fewer keys come back.
   */
  virtual std::vector<std::string> FileKeys(const std::vector<std::string_view>& paths,
                                            const KeepGoing& keep_going = {}) {
    std::vector<std::string> keys;
    keys.reserve(paths.size());
    for (const std::string_view path : paths) {
      if (keep_going && !keys.empty() && !keep_going(keys.size())) break;
      keys.push_back(FileKey(std::string(path)).value_or(std::string()));
    }
    return keys;
  }
  /**
   * What a restore file keeps of each file, so that MatchFiles tells it later from any
   * other: on POSIX its FileKey, then the id of its file system that survives a re-mount
   * and its birth time, each where the platform gives it; "" where nothing is there.
   */
  virtual std::vector<std::string> FileIdentities(const std::vector<std::string_view>& paths) {
    return FileKeys(paths);
  }
  /**
   * Whether FileIdentities may be asked from a second thread while this one goes on with
   * other calls, so that a run's identities are read while it is planned and checked.
   */
  virtual bool AnswersFromAnyThread() const { return false; }
  /**
   * Whether the file at each path is the one whose FileIdentities (or, in older records,
   * FileKey) was recorded, in order. `keep_going` as for FileKeys: fewer answers come
   * back when it stops the look-ups.
   */
  virtual std::vector<FileMatch> MatchFiles(const std::vector<KeyedPath>& wanted,
                                            const KeepGoing& keep_going = {}) {
    std::vector<std::string_view> paths;
    paths.reserve(wanted.size());
    for (const KeyedPath& one : wanted) paths.push_back(one.path);
    const std::vector<std::string> keys = FileKeys(paths, keep_going);
    std::vector<FileMatch> matches;
    matches.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
      matches.push_back(keys[i].empty()            ? FileMatch::kNothing
                        : keys[i] == wanted[i].key ? FileMatch::kSameFile
                                                   : FileMatch::kOtherFile);
    }
    return matches;
  }
  /** FileKey of a regular file (or a link to one); nullopt for anything else or nothing. */
  virtual std::optional<std::string> ExistingFileKey(const std::string& path) {
    return FileExists(path) ? FileKey(path) : std::nullopt;
  }
  /**
   * Renames without ever overwriting, atomically: kNone when done, else kTargetExists,
   * kSourceMissing or kRenameRefused.
   */
  virtual ChangeReason RenameNoReplace(const std::string& from, const std::string& to) = 0;
  /**
   * RenameNoReplace of every pair, one after the other in order; a file system may look
   * a folder shared by neighbouring pairs up once for all of them. After each rename
   * `keep_going` (when given) hears how many are done; when it answers false the batch
   * ends there, and the outcomes are those of the pairs done.
   */
  virtual std::vector<ChangeReason> RenameEachNoReplace(const std::vector<RenamePair>& pairs,
                                                        const KeepGoing& keep_going = {}) {
    std::vector<ChangeReason> outcomes;
    outcomes.reserve(pairs.size());
    for (const RenamePair& pair : pairs) {
      outcomes.push_back(RenameNoReplace(std::string(pair.from), std::string(pair.to)));
      if (keep_going && !keep_going(outcomes.size())) break;
    }
    return outcomes;
  }
  /**
   * Removes the name `name` of a regular file that is also, as an entry of its own, at
   * `kept`: what a rename by link (on file systems that refuse RENAME_NOREPLACE, as FUSE
   * ones do) leaves when it is killed between its link and its unlink. False, and nothing
   * removed, for anything else.
   */
  virtual bool RemoveSecondName(const std::string& /*name*/, const std::string& /*kept*/) {
    return false;
  }
  /**
   * The whole of a regular file (or a link to one) of at most `max_bytes`; for anything
   * else why not: nothing there (kNothingThere), a folder, a pipe or a device, never waited
   * on (kNotAFile), a larger file (kTooLarge), a file the system refuses to read
   * (kNotReadable).
   */
  virtual FileRead ReadFile(const std::string& path, std::size_t max_bytes) = 0;
  /**
   * Hands the bytes of a file that ReadFile would read to `reader` a piece at a time, so
   * that no copy of the whole is made; nullopt once every piece was handed over or the
   * reader stopped, else why the file could not be read (as for ReadFile). A failure after
   * the first piece leaves the pieces handed over incomplete.
   */
  virtual std::optional<ReadFailure> ReadFileInPieces(const std::string& path,
                                                      std::size_t max_bytes,
                                                      const PieceReader& reader) {
    FileRead bytes = ReadFile(path, max_bytes);
    if (!bytes) return bytes.failure();
    reader.sized(bytes->size());
    reader.piece(*bytes);
    return std::nullopt;
  }
  /**
   * The first `max_bytes` of a regular file (or a link to one), with whether that is the
   * whole file; nullopt as for ReadFile. Reads no more of the file than it hands back.
   */
  virtual std::optional<FileStart> ReadFileStart(const std::string& path, std::size_t max_bytes) {
    FileRead bytes = ReadFile(path, std::size_t{1} << 30);
    if (!bytes) return std::nullopt;
    const bool whole = bytes->size() <= max_bytes;
    if (!whole) bytes->resize(max_bytes);
    return FileStart{std::move(*bytes), whole};
  }
  /**
   * Adds `bytes` at the end of an existing file and flushes it to the disk before it
   * returns; false when the platform refuses (and for a file system that cannot append).
   */
  virtual bool AppendFile(const std::string& /*path*/, std::string_view /*bytes*/) { return false; }
  /**
   * Writes the whole file and flushes it to the disk before it returns. A replaced file
   * keeps its mode, and a symbolic link there stays: its target is replaced.
   */
  virtual bool WriteFile(const std::string& path, std::string_view bytes, WriteMode mode) = 0;
  /**
   * WriteFile of the bytes that `write` pushes into the sink it is given, piece by piece.
   * A file system that can write as it goes never holds the whole file.
   */
  virtual bool WriteFileInPieces(const std::string& path, const PieceWriter& write,
                                 WriteMode mode) {
    std::string bytes;
    if (!write([&](std::string_view piece) {
          bytes += piece;
          return true;
        })) {
      return false;
    }
    return WriteFile(path, bytes, mode);
  }
  /**
   * Lists `folder` for `visit`, then the subfolders it names, depth first. No link is
   * followed into a folder. A subfolder that cannot be listed, or is gone or no folder any
   * more when its turn comes, goes to `gap` with the reason, as does `folder` itself. False
   * when `folder` is no folder that can be read (a file system that cannot list walks none).
   */
  virtual bool WalkFolder(const std::string& /*folder*/, const FolderVisit& /*visit*/,
                          const WalkGapFound& /*gap*/ = {}) {
    return false;
  }
  /** Full path of the running executable. */
  virtual std::string ExecutablePath() = 0;
  virtual LocalTime Now() = 0;
};

/** The real file system of this platform. */
class NativeFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<bool> FilesExist(const std::vector<std::string>& paths) override;
  std::vector<bool> PathsTaken(const std::vector<std::string_view>& paths) override;
  std::size_t LongestName(const std::string& folder) override;
  bool CreateFolders(const std::string& path) override;
  std::optional<std::string> FileKey(const std::string& path) override;
  std::vector<std::string> FileKeys(const std::vector<std::string_view>& paths,
                                    const KeepGoing& keep_going = {}) override;
  std::optional<std::string> ExistingFileKey(const std::string& path) override;
  std::vector<std::string> FileIdentities(const std::vector<std::string_view>& paths) override;
  bool AnswersFromAnyThread() const override { return true; }
  std::vector<FileMatch> MatchFiles(const std::vector<KeyedPath>& wanted,
                                    const KeepGoing& keep_going = {}) override;
  ChangeReason RenameNoReplace(const std::string& from, const std::string& to) override;
  std::vector<ChangeReason> RenameEachNoReplace(const std::vector<RenamePair>& pairs,
                                                const KeepGoing& keep_going = {}) override;
  bool RemoveSecondName(const std::string& name, const std::string& kept) override;
  FileRead ReadFile(const std::string& path, std::size_t max_bytes) override;
  std::optional<ReadFailure> ReadFileInPieces(const std::string& path, std::size_t max_bytes,
                                              const PieceReader& reader) override;
  std::optional<FileStart> ReadFileStart(const std::string& path, std::size_t max_bytes) override;
  bool AppendFile(const std::string& path, std::string_view bytes) override;
  bool WriteFile(const std::string& path, std::string_view bytes, WriteMode mode) override;
  bool WriteFileInPieces(const std::string& path, const PieceWriter& write,
                         WriteMode mode) override;
  bool WalkFolder(const std::string& folder, const FolderVisit& visit,
                  const WalkGapFound& gap = {}) override;
  std::string ExecutablePath() override;
  LocalTime Now() override;
};

}  // namespace zefa
