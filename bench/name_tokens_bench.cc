// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The tokens of a common name filled from 10,000 photos ("{撮影日時:…}_{メーカー}_{機種}_{幅}x
// {高さ}", every core) against reading the same photos' dates taken as "撮影日時順" does,
// in the same run; then the numbers inside 100,000 and 1,000,000 unique names put to three
// digits, per name, against each other and against a plain find and replace of the same names.
// Usage: name_tokens_bench [photos] [names].
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "list/date_order.h"
#include "minimal_jpeg.h"
#include "names/name_replace.h"
#include "names/name_tokens.h"
#include "platform/media_dates.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::Seconds;

// A camera's JPEG: EXIF with a thumbnail and a maker note, written by exiv2, then scan data.
std::string CameraPhoto(std::size_t index, std::size_t scan_bytes) {
  const std::string plain = zefa::test::MinimalJpeg(1);
  Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
      reinterpret_cast<const Exiv2::byte*>(plain.data()), static_cast<long>(plain.size()));
  image->readMetadata();
  Exiv2::ExifData& exif = image->exifData();
  char date[32];
  std::snprintf(date, sizeof date, "2026:%02zu:%02zu %02zu:%02zu:%02zu", 1 + index % 12,
                1 + index % 28, index / 3600 % 24, index / 60 % 60, index % 60);
  exif["Exif.Image.Make"] = "ZeFa Camera Works";
  exif["Exif.Image.Model"] = "Z-1000";
  exif["Exif.Image.DateTime"] = date;
  exif["Exif.Photo.DateTimeOriginal"] = date;
  exif["Exif.Photo.PixelXDimension"] = uint32_t(6000);
  exif["Exif.Photo.PixelYDimension"] = uint32_t(4000);
  exif["Exif.Photo.MakerNote"] = std::string(2000, 'm');
  const std::string thumbnail = zefa::test::MinimalJpeg(6000);
  Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumbnail.data()),
                                          static_cast<long>(thumbnail.size()));
  image->writeMetadata();
  Exiv2::BasicIo& io = image->io();
  io.seek(0, Exiv2::BasicIo::beg);
  const Exiv2::DataBuf bytes = io.read(static_cast<long>(io.size()));
  std::string photo(reinterpret_cast<const char*>(bytes.pData_),
                    static_cast<std::size_t>(bytes.size_) - 3);
  photo.append(scan_bytes, '\x3F');
  return photo + "\xFF\xD9";
}

// The processor time of each side's quickest round: other programs on the machine do not
// inflate it.
double dates_cpu = 1e9;
double tokens_cpu = 1e9;

double ReadDatesOnce(const std::vector<std::string>& paths, zefa::MediaDates& media) {
  const double cpu = zefa::bench::CpuSeconds();
  const Clock::time_point start = Clock::now();
  const auto dates = zefa::ReadDates(paths, zefa::DateKind::kTaken, media, {});
  dates_cpu = std::min(dates_cpu, zefa::bench::CpuSeconds() - cpu);
  return Seconds(start);
}

double ExpandOnce(const zefa::RenameList& list, zefa::MediaDates& media, std::string& first) {
  zefa::TokenSources sources;
  sources.media = &media;
  const double cpu = zefa::bench::CpuSeconds();
  const Clock::time_point start = Clock::now();
  const auto names = zefa::ExpandCommonNames(
      list, "{撮影日時:%Y%m%d_%H%M%S}_{メーカー}_{機種}_{幅}x{高さ}", sources, zefa::TextRules{});
  const double seconds = Seconds(start);
  tokens_cpu = std::min(tokens_cpu, zefa::bench::CpuSeconds() - cpu);
  first = std::string(names->Of(0));
  return seconds;
}

zefa::RenameList Names(std::size_t count) {
  zefa::RenameList list;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string unique = "第" + std::to_string(1 + i % 40) + "巻 vol" + std::to_string(i % 7);
    list.AppendRow("/c/" + std::to_string(i), unique, ".zip", "");
  }
  return list;
}

double ScanOnce(const zefa::RenameList& list, const zefa::ReplaceRule& rule) {
  const Clock::time_point start = Clock::now();
  zefa::ReplaceScan scan(list, rule, zefa::TextRules{});
  scan.Finish();
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t photos = argc > 1 ? std::stoul(argv[1]) : 10000;
  const std::size_t names = argc > 2 ? std::stoul(argv[2]) : 1000000;
  const std::string root = zefa::bench::MakeBenchFolder({}, "name-tokens");
  zefa::NativeMediaDates media;  // before the first photo is made: exiv2's XMP lock is set

  zefa::RenameList list;
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < photos; ++i) {
    const std::string path = root + "/DSC_" + std::to_string(100000 + i) + ".JPG";
    const std::string photo = CameraPhoto(i, 16u << 10);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 || write(fd, photo.data(), photo.size()) != static_cast<ssize_t>(photo.size())) {
      std::perror(path.c_str());
      return 1;
    }
    close(fd);
    paths.push_back(path);
    list.AppendRow(path, "", ".JPG", "");
  }
  // Both read every head once before they are timed; then they take turns, the quickest
  // round of each counting.
  std::string first;
  ReadDatesOnce(paths, media);
  ExpandOnce(list, media, first);
  dates_cpu = tokens_cpu = 1e9;
  double dates = 1e9;
  double tokens = 1e9;
  for (int round = 0; round < 5; ++round) {
    dates = std::min(dates, ReadDatesOnce(paths, media));
    tokens = std::min(tokens, ExpandOnce(list, media, first));
  }
  std::printf("(a) dates taken of %zu photos (ReadDates): %.3f s\n", photos, dates);
  std::printf("(b) tokens of the same photos (ExpandCommonNames): %.3f s, first \"%s\"\n", tokens,
              first.c_str());
  std::printf("(b)/(a) = %.3f (target <= 1.0); in processor time %.3f s / %.3f s = %.3f\n",
              tokens / dates, tokens_cpu, dates_cpu, tokens_cpu / dates_cpu);
  std::filesystem::remove_all(root);

  zefa::ReplaceRule pad;
  pad.pad_digits = 3;
  zefa::ReplaceRule plain;
  plain.search = "vol";
  plain.replacement = "Vol";
  const std::size_t few = names / 10;
  const zefa::RenameList few_names = Names(few);
  const zefa::RenameList many_names = Names(names);
  double few_seconds = 1e9;
  double many_seconds = 1e9;
  double plain_seconds = 1e9;
  double plain_few_seconds = 1e9;
  for (int round = 0; round < 3; ++round) {
    few_seconds = std::min(few_seconds, ScanOnce(few_names, pad));
    many_seconds = std::min(many_seconds, ScanOnce(many_names, pad));
    plain_few_seconds = std::min(plain_few_seconds, ScanOnce(few_names, plain));
    plain_seconds = std::min(plain_seconds, ScanOnce(many_names, plain));
  }
  const double per_few = few_seconds / static_cast<double>(few);
  const double per_many = many_seconds / static_cast<double>(names);
  std::printf("(c) numbers of %zu names to 3 digits: %.3f s, %.2f us a name\n", few, few_seconds,
              per_few * 1e6);
  std::printf("(d) numbers of %zu names to 3 digits: %.3f s, %.2f us a name\n", names, many_seconds,
              per_many * 1e6);
  std::printf("(d)/(c) per name = %.3f (linear: about 1, target <= 1.3)\n", per_many / per_few);
  std::printf("(e) plain find and replace of the %zu names: %.3f s; (d)/(e) = %.3f\n", names,
              plain_seconds, many_seconds / plain_seconds);
  std::printf("(f) plain find and replace of %zu names: %.3f s; its own growth per name = %.3f\n",
              few, plain_few_seconds,
              (plain_seconds / static_cast<double>(names)) /
                  (plain_few_seconds / static_cast<double>(few)));
  return 0;
}
