// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <exiv2/exiv2.hpp>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/media_dates.h"

// The QuickTime reader is marked deprecated in exiv2 0.27, yet it is the one that reads a
// video's header.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/quicktimevideo.hpp>

namespace zefa {
namespace {

// exiv2's XMP toolkit is safe on several threads only with a lock it is given before the
// first read.
std::recursive_mutex xmp_mutex;

// What one read of a file's head takes: the metadata of a camera's JPEG, thumbnail included.
constexpr std::size_t kHeadBytes = 64 * 1024;
// The header of a video (its "moov" box) is small beside its media data; one of hours of
// footage holds a few megabytes of tables. A larger one is not read.
constexpr std::uint64_t kMaxVideoHeaderBytes = 64 << 20;
constexpr int kMaxTopLevelBoxes = 4096;

void LockXmp(void* data, bool lock) {
  auto* mutex = static_cast<std::recursive_mutex*>(data);
  if (lock) {
    mutex->lock();
  } else {
    mutex->unlock();
  }
}

void InitialiseExiv2() {
  static std::once_flag once;
  std::call_once(once, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize(LockXmp, &xmp_mutex);
    Exiv2::enableBMFF(true);
  });
}

struct Keys {
  Exiv2::XmpKey xmp_created{"Xmp.xmp.CreateDate"};
  Exiv2::XmpKey photoshop_created{"Xmp.photoshop.DateCreated"};
  Exiv2::XmpKey video_created{"Xmp.video.DateUTC"};
};

const Keys& KeysOnce() {
  static const Keys keys;
  return keys;
}

template <typename Data, typename Key>
std::string TextOf(const Data& data, const Key& key) {
  const auto found = data.findKey(key);
  return found == data.end() ? std::string() : found->toString();
}

// A video header counts seconds from 1904 in UTC; shown as the local time it was.
std::string VideoCreated(const std::string& seconds_text) {
  constexpr long long kFrom1904To1970 = 2082844800LL;
  long long seconds = 0;
  if (std::sscanf(seconds_text.c_str(), "%lld", &seconds) != 1 || seconds <= kFrom1904To1970) {
    return {};
  }
  const std::time_t unix_time = static_cast<std::time_t>(seconds - kFrom1904To1970);
  std::tm local{};
  if (localtime_r(&unix_time, &local) == nullptr) return {};
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return text;
}

void TakeXmp(const Exiv2::XmpData& xmp, RecordedDates& dates) {
  if (xmp.empty()) return;
  const Keys& keys = KeysOnce();
  for (const Exiv2::XmpKey* key : {&keys.xmp_created, &keys.photoshop_created}) {
    if (std::string text = TextOf(xmp, *key); !text.empty()) dates.created.push_back(text);
  }
  if (std::string video = VideoCreated(TextOf(xmp, keys.video_created)); !video.empty()) {
    dates.created.push_back(video);
  }
}

std::uint64_t BigEndian(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
  return value;
}

/**
 * A video in the ISO media format (MP4, MOV, 3GP) keeps its media data in one box, often
 * gigabytes and often before the header. Its top-level boxes are walked by their headers
 * alone, and the ones that can hold a date (the file type, the header, XMP's "uuid") are
 * read and handed back one after another, as a small file of their own. Nothing for any
 * other file, and for a still image in that format (HEIF, AVIF, a Canon CR3), whose
 * metadata points into its media data by offset, or whose header is too large.
 */
std::optional<std::string> VideoHeaderBoxes(int fd, std::uint64_t file_size) {
  struct Box {
    std::uint64_t at;
    std::uint64_t size;
  };
  std::vector<Box> kept;
  bool media_data = false;
  std::uint64_t kept_bytes = 0;
  std::uint64_t at = 0;
  for (int count = 0; at + 8 <= file_size && count < kMaxTopLevelBoxes; ++count) {
    unsigned char header[16];
    const ssize_t got = pread(fd, header, sizeof header, static_cast<off_t>(at));
    if (got < 8) return std::nullopt;
    std::uint64_t size = BigEndian(header, 4);
    const std::string_view type(reinterpret_cast<const char*>(header + 4), 4);
    if (size == 1) {
      if (got < 16) return std::nullopt;
      size = BigEndian(header + 8, 8);
    } else if (size == 0) {
      size = file_size - at;  // the last box runs to the end of the file
    }
    if (size < 8 || size > file_size - at) break;  // a cut-off file: what came before counts
    if (count == 0) {
      if (type != "ftyp" && type != "moov" && type != "mdat" && type != "wide" && type != "free" &&
          type != "skip") {
        return std::nullopt;
      }
      if (type == "ftyp" && got >= 12) {
        const std::string_view brand(reinterpret_cast<const char*>(header + 8), 4);
        if (brand == "heic" || brand == "heix" || brand == "mif1" || brand == "msf1" ||
            brand == "avif" || brand == "crx ") {
          return std::nullopt;
        }
      }
    }
    if (type == "meta") return std::nullopt;  // a still image's items, by file offset
    if (type == "mdat") media_data = true;
    if (type == "ftyp" || type == "moov" || type == "uuid") {
      kept_bytes += size;
      if (kept_bytes > kMaxVideoHeaderBytes) return std::nullopt;
      kept.push_back({at, size});
    }
    at += size;
  }
  // A small file, or one without media data, is read as it is.
  if (!media_data || file_size <= kHeadBytes) return std::nullopt;
  std::string boxes(static_cast<std::size_t>(kept_bytes), '\0');
  std::size_t filled = 0;
  for (const Box& box : kept) {
    const ssize_t got = pread(fd, boxes.data() + filled, static_cast<std::size_t>(box.size),
                              static_cast<off_t>(box.at));
    if (got != static_cast<ssize_t>(box.size)) return std::nullopt;
    filled += static_cast<std::size_t>(box.size);
  }
  return boxes;
}

// Of the texts a camera writes, the blanks it pads them with are dropped.
std::string Trimmed(std::string text) {
  const std::size_t end = text.find_last_not_of(" \t");
  text.erase(end == std::string::npos ? 0 : end + 1);
  text.erase(0, std::min(text.size(), text.find_first_not_of(" \t")));
  return text;
}

void TakeCamera(const Exiv2::Exifdatum& datum, FileFacts& camera) {
  switch (datum.tag()) {
    case 0x010F:
      if (datum.groupName() == "Image") camera.make = Trimmed(datum.toString());
      break;
    case 0x0110:
      if (datum.groupName() == "Image") camera.model = Trimmed(datum.toString());
      break;
    case 0xA002:
      if (camera.width == 0 && datum.groupName() == "Photo")
        camera.width = static_cast<int>(datum.toLong());
      break;
    case 0xA003:
      if (camera.height == 0 && datum.groupName() == "Photo")
        camera.height = static_cast<int>(datum.toLong());
      break;
    default:
      break;
  }
}

// Reads the image that `open` gives into `dates` and, when `camera` is given, the camera
// and the image's size into it; false when exiv2 could not read it. `video_io` gives the same
// bytes again for the QuickTime reader.
template <typename Open>
bool ReadImage(const Open& open_image, const std::function<Exiv2::BasicIo::AutoPtr()>& video_io,
               RecordedDates& dates, FileFacts* camera = nullptr) {
  try {
    Exiv2::Image::AutoPtr image = open_image();
    if (image.get() == nullptr) return false;
    image->readMetadata();
    // One pass over the tags by number: a look-up by key builds every tag's key text.
    for (const Exiv2::Exifdatum& datum : image->exifData()) {
      const std::uint16_t tag = datum.tag();
      if (camera != nullptr) TakeCamera(datum, *camera);
      if ((tag & 0xFFF0) != 0x9000 && (tag & 0xFFF0) != 0x9290) continue;
      if (datum.groupName() != "Photo") continue;
      switch (tag) {
        case 0x9003:
          dates.original = datum.toString();
          break;
        case 0x9291:
          dates.original_subsec = datum.toString();
          break;
        case 0x9004:
          dates.digitized = datum.toString();
          break;
        case 0x9292:
          dates.digitized_subsec = datum.toString();
          break;
        default:
          break;
      }
    }
    // The size the image's own header gives goes before the one EXIF records.
    if (camera != nullptr && image->pixelWidth() > 0 && image->pixelHeight() > 0) {
      camera->width = image->pixelWidth();
      camera->height = image->pixelHeight();
    }
    TakeXmp(image->xmpData(), dates);
    // A video in the ISO media format opens as such a file, whose reader takes no header
    // dates; the QuickTime reader does.
    if (dates.original.empty() && dates.digitized.empty() && dates.created.empty() &&
        image->imageType() == Exiv2::ImageType::bmff) {
      image.reset();
      Exiv2::QuickTimeVideo video(video_io());
      video.readMetadata();
      TakeXmp(video.xmpData(), dates);
    }
    return true;
  } catch (const Exiv2::AnyError&) {
    // A file exiv2 cannot read has no date.
  } catch (const std::exception&) {
  }
  return false;
}

std::string TagText(const TagLib::String& text) { return Trimmed(text.to8Bit(true)); }

void ReadMusic(const std::string& path, FileFacts& facts) {
  // TagLib opens what it is given: a pipe standing at a listed path would hold it for ever.
  struct stat status {};
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return;
  try {
    // The tags only: the audio's properties would read far into the file.
    const TagLib::FileRef file(path.c_str(), false);
    const TagLib::Tag* tag = file.isNull() ? nullptr : file.tag();
    if (tag == nullptr) return;
    facts.artist = TagText(tag->artist());
    facts.album = TagText(tag->album());
    facts.title = TagText(tag->title());
    facts.track = tag->track();
  } catch (const std::exception&) {
    // A file TagLib cannot read has no tags.
  }
}

}  // namespace

NativeMediaDates::NativeMediaDates() {
  InitialiseExiv2();
  KeysOnce();
}

RecordedDates NativeMediaDates::ReadRecorded(const std::string& path) {
  return ReadFacts(path, kFactTaken).recorded;
}

FileFacts NativeMediaDates::ReadFacts(const std::string& path, unsigned kinds) {
  FileFacts facts;
  if ((kinds & (kFactTaken | kFactCamera)) != 0) {
    FileFacts* camera = (kinds & kFactCamera) != 0 ? &facts : nullptr;
    // Most photos keep their metadata in their first kilobytes: one read of the head,
    // handed to exiv2 in memory, answers them. A head that exiv2 cannot read whole, or that
    // holds none of what is asked for, is read again from the file, where exiv2 takes what
    // it needs. A video's header boxes are read alone, over its media data.
    thread_local std::vector<Exiv2::byte> head(kHeadBytes);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    ssize_t got = -1;
    std::optional<std::string> video;
    if (fd >= 0) {
      if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        got = pread(fd, head.data(), head.size(), 0);
        if (got > 0) video = VideoHeaderBoxes(fd, static_cast<std::uint64_t>(status.st_size));
      }
      close(fd);
    }
    if (video) {
      const auto* bytes = reinterpret_cast<const Exiv2::byte*>(video->data());
      const long size = static_cast<long>(video->size());
      ReadImage([&] { return Exiv2::ImageFactory::open(bytes, size); },
                [&] { return Exiv2::BasicIo::AutoPtr(new Exiv2::MemIo(bytes, size)); },
                facts.recorded, camera);
    } else if (got > 0) {
      const auto file_io = [&] { return Exiv2::BasicIo::AutoPtr(new Exiv2::FileIo(path)); };
      const bool whole = got == status.st_size;
      const bool read =
          ReadImage([&] { return Exiv2::ImageFactory::open(head.data(), static_cast<long>(got)); },
                    file_io, facts.recorded, camera);
      const bool dated = !facts.recorded.original.empty() || !facts.recorded.digitized.empty();
      const bool enough = ((kinds & kFactTaken) == 0 || dated) &&
                          (camera == nullptr || facts.width > 0 || !facts.model.empty());
      if (!read || !(whole || enough)) {
        const FileFacts empty;
        facts.recorded = empty.recorded;
        facts.make = facts.model = {};
        facts.width = facts.height = 0;
        ReadImage([&] { return Exiv2::ImageFactory::open(path, false); }, file_io, facts.recorded,
                  camera);
      }
    }
  }
  if ((kinds & kFactModified) != 0) facts.modified = ModifiedTime(path);
  if ((kinds & kFactMusic) != 0) ReadMusic(path, facts);
  return facts;
}

std::optional<std::int64_t> NativeMediaDates::ModifiedTime(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

bool NativeMediaDates::ForEach(std::size_t count, const std::function<void(std::size_t)>& work,
                               const KeepGoing& keep_going) {
  return ForEachOnThreads(count, std::max(1u, std::thread::hardware_concurrency()), work,
                          keep_going);
}

}  // namespace zefa

#pragma GCC diagnostic pop
