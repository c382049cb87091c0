// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Reads the date taken of generated JPEGs, each with its EXIF written by exiv2, the way
// "撮影日時順" does (ReadDates on the native reader, every core), against the exiv2 tool
// reading the same tag from the same files in one process; then the cost per file of
// 10,000 and of 100,000 smaller files.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "list/date_order.h"
#include "minimal_jpeg.h"
#include "platform/media_dates.h"

namespace {

using zefa::bench::Clock;
using zefa::bench::Seconds;
using zefa::test::MinimalJpeg;

double CpuSeconds(const rusage& usage) {
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double SelfCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return CpuSeconds(usage);
}

// The processor time of the last run of each side, beside the wall time that counts.
double tool_cpu = 0;
double program_cpu = 0;

// The head of a camera's JPEG up to its scan data: EXIF as a camera writes it (with a
// thumbnail of some kilobytes), written by exiv2.
std::string CameraHead(std::size_t index) {
  const std::string plain = MinimalJpeg(1);
  Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
      reinterpret_cast<const Exiv2::byte*>(plain.data()), static_cast<long>(plain.size()));
  image->readMetadata();
  Exiv2::ExifData& exif = image->exifData();
  char date[32];
  std::snprintf(date, sizeof date, "2026:%02zu:%02zu %02zu:%02zu:%02zu", 1 + index % 12,
                1 + index % 28, index / 3600 % 24, index / 60 % 60, index % 60);
  exif["Exif.Image.Make"] = "ZeFa Camera Works";
  exif["Exif.Image.Model"] = "Z-1000";
  exif["Exif.Image.Software"] = "Firmware 1.02";
  exif["Exif.Image.DateTime"] = date;
  exif["Exif.Photo.DateTimeOriginal"] = date;
  exif["Exif.Photo.DateTimeDigitized"] = date;
  exif["Exif.Photo.SubSecTimeOriginal"] = std::to_string(index % 100);
  exif["Exif.Photo.ExposureTime"] = Exiv2::Rational(1, 250);
  exif["Exif.Photo.FNumber"] = Exiv2::Rational(28, 10);
  exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
  exif["Exif.Photo.FocalLength"] = Exiv2::Rational(50, 1);
  exif["Exif.Photo.PixelXDimension"] = uint32_t(6000);
  exif["Exif.Photo.PixelYDimension"] = uint32_t(4000);
  exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
  exif["Exif.GPSInfo.GPSLatitude"] = "35/1 41/1 2230/100";
  exif["Exif.Photo.MakerNote"] = std::string(2000, 'm');
  const std::string thumbnail = MinimalJpeg(6000);
  Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumbnail.data()),
                                          static_cast<long>(thumbnail.size()));
  image->writeMetadata();
  Exiv2::BasicIo& io = image->io();
  io.seek(0, Exiv2::BasicIo::beg);
  const Exiv2::DataBuf bytes = io.read(static_cast<long>(io.size()));
  // Without the scan's byte and the end mark, so that the payload can follow.
  return std::string(reinterpret_cast<const char*>(bytes.pData_),
                     static_cast<std::size_t>(bytes.size_) - 3);
}

// `count` photos of `payload` bytes of scan data each in a new folder.
std::vector<std::string> MakePhotos(const std::string& folder, std::size_t count,
                                    const std::string& payload) {
  std::vector<std::string> paths;
  paths.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string path = folder + "/DSC_" + std::to_string(100000 + i) + ".JPG";
    const std::string head = CameraHead(i);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const auto put = [&](const char* data, std::size_t size) {
      if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size)) {
        std::perror(path.c_str());
        std::exit(1);
      }
    };
    put(head.data(), head.size());
    put(payload.data(), payload.size());
    put("\xFF\xD9", 2);
    close(fd);
    paths.push_back(path);
  }
  return paths;
}

std::string Payload(std::size_t bytes) {
  std::mt19937 random(42);
  std::string payload(bytes, '\0');
  // Entropy-coded data: any byte but 0xFF, which would start a marker.
  for (char& c : payload) c = static_cast<char>(random() % 0xFF);
  return payload;
}

// The exiv2 tool over every file in one process; returns its seconds and the dates it printed.
double RunTool(const std::vector<std::string>& paths, std::size_t& printed) {
  const std::string out = std::filesystem::temp_directory_path().string() + "/zefa-date-bench-out";
  std::vector<char*> argv;
  const char* head[] = {"exiv2", "-q", "-g", "Exif.Photo.DateTimeOriginal", "-Pv"};
  for (const char* word : head) argv.push_back(const_cast<char*>(word));
  for (const std::string& path : paths) argv.push_back(const_cast<char*>(path.c_str()));
  argv.push_back(nullptr);
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    execvp("exiv2", argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  tool_cpu = CpuSeconds(usage);
  const double seconds = Seconds(start);
  printed = 0;
  if (FILE* file = std::fopen(out.c_str(), "r")) {
    for (int c; (c = std::fgetc(file)) != EOF;) printed += c == '\n' ? 1 : 0;
    std::fclose(file);
  }
  std::filesystem::remove(out);
  if (!WIFEXITED(status) || WEXITSTATUS(status) == 127) {
    std::fprintf(stderr, "the exiv2 tool did not run\n");
    std::exit(1);
  }
  return seconds;
}

double RunProgram(const std::vector<std::string>& paths, zefa::MediaDates& media,
                  std::size_t& dated) {
  const double cpu = SelfCpuSeconds();
  const Clock::time_point start = Clock::now();
  const auto dates = zefa::ReadDates(paths, zefa::DateKind::kTaken, media, {});
  const double seconds = Seconds(start);
  program_cpu = SelfCpuSeconds() - cpu;
  dated = static_cast<std::size_t>(std::count_if(
      dates->begin(), dates->end(), [](std::int64_t d) { return d != zefa::kNoDate; }));
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t files = argc > 1 ? std::stoul(argv[1]) : 10000;
  const std::size_t many = argc > 2 ? std::stoul(argv[2]) : 100000;
  const std::size_t payload_bytes = argc > 3 ? std::stoul(argv[3]) : 3u << 20;
  const std::size_t small_payload = argc > 4 ? std::stoul(argv[4]) : 16u << 10;
  const std::string root = zefa::bench::MakeBenchFolder({}, "date-read");
  zefa::NativeMediaDates media;  // before the first photo is made: exiv2's XMP lock is set
  std::printf("threads: %u\n", std::max(1u, std::thread::hardware_concurrency()));

  const Clock::time_point made = Clock::now();
  std::filesystem::create_directory(root + "/large");
  const std::vector<std::string> photos =
      MakePhotos(root + "/large", files, Payload(payload_bytes));
  std::printf("made %zu photos of %.1f MB each in %.0f s\n", files,
              static_cast<double>(payload_bytes) / (1 << 20), Seconds(made));

  // Both sides read the heads once before they are timed; then they take turns, and each
  // side's quickest round counts.
  std::size_t printed = 0;
  std::size_t dated = 0;
  RunProgram(photos, media, dated);
  double tool = 1e9;
  double program = 1e9;
  for (int round = 0; round < 3; ++round) {
    tool = std::min(tool, RunTool(photos, printed));
    program = std::min(program, RunProgram(photos, media, dated));
  }
  std::printf("(a) program's read of %zu photos: %.3f s (%zu dated)\n", files, program, dated);
  std::printf("(b) exiv2 -q -g Exif.Photo.DateTimeOriginal -Pv: %.3f s (%zu printed)\n", tool,
              printed);
  std::printf("(a)/(b) = %.3f (target <= 0.5); processor time of the last round: %.3f s / %.3f s\n",
              program / tool, program_cpu, tool_cpu);
  std::filesystem::remove_all(root + "/large");

  // The growth: the same smaller photos, 10,000 and then 100,000 of them.
  const std::string small = Payload(small_payload);
  std::filesystem::create_directory(root + "/few");
  std::filesystem::create_directory(root + "/many");
  const std::vector<std::string> few = MakePhotos(root + "/few", files, small);
  const std::vector<std::string> lots = MakePhotos(root + "/many", many, small);
  RunProgram(few, media, dated);
  RunProgram(lots, media, dated);
  double few_seconds = 1e9;
  double many_seconds = 1e9;
  for (int round = 0; round < 2; ++round) {
    few_seconds = std::min(few_seconds, RunProgram(few, media, dated));
    many_seconds = std::min(many_seconds, RunProgram(lots, media, dated));
  }
  const double per_few = few_seconds / static_cast<double>(files);
  const double per_many = many_seconds / static_cast<double>(many);
  std::printf("(c) %zu photos of %zu KB: %.3f s, %.1f us a file\n", files, small_payload >> 10,
              few_seconds, per_few * 1e6);
  std::printf("(d) %zu photos of %zu KB: %.3f s, %.1f us a file (%zu dated)\n", many,
              small_payload >> 10, many_seconds, per_many * 1e6, dated);
  std::printf("(d)/(c) per file = %.3f (target <= 1.3)\n", per_many / per_few);
  std::filesystem::remove_all(root);
  return 0;
}
