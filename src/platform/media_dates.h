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

#include "platform/file_system.h"

namespace zefa {

/**
 * The dates a file's metadata records, as recorded, in the order they are trusted; each is
 * empty where the file records none. Whether a text is a real date is the caller's to say.
 */
struct RecordedDates {
  std::string original;         // "2026:12:08 15:30:12", when the shutter opened
  std::string original_subsec;  // its fraction's digits, "045"
  std::string digitized;
  std::string digitized_subsec;
  /** The creation dates the format itself records (XMP, a video's header), ISO 8601 text. */
  std::vector<std::string> created;
};

/** Which of a file's facts a name asks for: each kind is read only when it is asked for. */
enum FactKind : unsigned {
  kFactTaken = 1u << 0,     // the recorded dates
  kFactModified = 1u << 1,  // the modification time
  kFactCamera = 1u << 2,    // the camera's maker and model, the image's size
  kFactMusic = 1u << 3,     // a music file's tags
};

/** What a name can take from a file; texts are UTF-8, empty (or 0) where the file has none. */
struct FileFacts {
  RecordedDates recorded;
  std::optional<std::int64_t> modified;
  std::string make;
  std::string model;
  int width = 0;
  int height = 0;
  std::string artist;
  std::string album;
  std::string title;
  unsigned track = 0;
};

/** What a file says about its dates: its metadata and its modification time. */
class MediaDates {
 public:
  virtual ~MediaDates() = default;

  /** Reads one file's metadata; nothing when the file is no image the reader knows. May run on any
   * thread. */
  virtual RecordedDates ReadRecorded(const std::string& path) = 0;
  /** Nanoseconds since 1970 (UTC) of the file's last change; nullopt when nothing is there. */
  virtual std::optional<std::int64_t> ModifiedTime(const std::string& path) = 0;

  /**
   * The facts of `kinds` (FactKind bits) of one file, each read once. This one asks
   * ReadRecorded and ModifiedTime and knows no camera or music. May run on any thread.
   */
  virtual FileFacts ReadFacts(const std::string& path, unsigned kinds);

  /**
   * Runs `work(i)` once for every i below `count`, on as many threads as the reader finds
   * worth it. `keep_going` hears on the calling thread, now and then, how many are done;
   * once it answers false no further work starts and the call returns after the running
   * ones. Returns whether every i was done. This one runs them in order on the calling thread.
   */
  virtual bool ForEach(std::size_t count, const std::function<void(std::size_t)>& work,
                       const KeepGoing& keep_going);
};

/** Runs `work` as MediaDates::ForEach does, on `threads` threads beside the calling one's checks.
 */
bool ForEachOnThreads(std::size_t count, unsigned threads,
                      const std::function<void(std::size_t)>& work, const KeepGoing& keep_going);

/** The dates and facts as exiv2 and TagLib read them, on every core. */
class NativeMediaDates : public MediaDates {
 public:
  NativeMediaDates();
  RecordedDates ReadRecorded(const std::string& path) override;
  std::optional<std::int64_t> ModifiedTime(const std::string& path) override;
  /** One exiv2 read for the dates and the camera, TagLib for the music tags. */
  FileFacts ReadFacts(const std::string& path, unsigned kinds) override;
  bool ForEach(std::size_t count, const std::function<void(std::size_t)>& work,
               const KeepGoing& keep_going) override;
};

}  // namespace zefa
