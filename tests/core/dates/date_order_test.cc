// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "list/date_order.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <exiv2/exiv2.hpp>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

#include "../renamelist/list_fixture.h"
#include "commands/date_commands.h"
#include "minimal_jpeg.h"
#include "platform/media_dates.h"

namespace zefa {
namespace {

using test::MinimalJpeg;

struct ParseCase {
  const char* text;
  const char* subsec;
  bool real;
  CivilTime civil;  // when real
};

class ParseRecorded : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseRecorded, TakesRealDatesOnly) {
  const ParseCase& c = GetParam();
  const std::optional<std::int64_t> date = ParseRecordedDate(c.text, c.subsec);
  ASSERT_EQ(date.has_value(), c.real) << c.text;
  if (!c.real) return;
  const CivilTime got = CivilOfTaken(*date);
  const CivilTime& want = c.civil;
  EXPECT_EQ(std::vector<int>(
                {got.year, got.month, got.day, got.hour, got.minute, got.second, got.microsecond}),
            std::vector<int>({want.year, want.month, want.day, want.hour, want.minute, want.second,
                              want.microsecond}))
      << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseRecorded,
    ::testing::Values(
        ParseCase{"2026:12:08 15:30:12", "", true, {2026, 12, 8, 15, 30, 12, 0}},
        ParseCase{" 2026:12:08 15:30:12 ", " 5 ", true, {2026, 12, 8, 15, 30, 12, 500000}},
        ParseCase{"2024:02:29 23:59:59", "0451234", true, {2024, 2, 29, 23, 59, 59, 45123}},
        ParseCase{"1969:12:31 23:59:59", "9", true, {1969, 12, 31, 23, 59, 59, 900000}},
        ParseCase{"2026-12-08T15:30:12.25+09:00", "", true, {2026, 12, 8, 15, 30, 12, 250000}},
        ParseCase{"2026-12-08T15:30Z", "", true, {2026, 12, 8, 15, 30, 0, 0}},
        ParseCase{"2026-12-08", "", true, {2026, 12, 8, 0, 0, 0, 0}},
        ParseCase{"2026:12:08 15:30:92", "", false, {}},
        ParseCase{"2026:13:08 15:30:12", "", false, {}},
        ParseCase{"0000:00:00 00:00:00", "", false, {}},
        ParseCase{"2023:02:29 12:00:00", "", false, {}},
        ParseCase{"2026:12:08 24:00:00", "", false, {}},
        ParseCase{"2026:12:08 15:30:12 x", "", false, {}},
        ParseCase{"    :  :     :  :  ", "", false, {}}, ParseCase{"", "", false, {}}));

TEST(DateTaken, TrustsTheOriginalThenTheDigitizedThenTheFormatsOwn) {
  const auto taken = [](RecordedDates dates) {
    const std::int64_t date = DateTakenOf(dates);
    return date == kNoDate ? -1 : CivilOfTaken(date).hour;
  };
  EXPECT_EQ(taken({"2026:12:08 01:00:00", "", "2026:12:08 02:00:00", "", {}}), 1);
  EXPECT_EQ(taken({"2026:12:08 01:00:92", "", "2026:12:08 02:00:00", "", {}}), 2);
  EXPECT_EQ(taken({"", "", "2026:00:08 02:00:00", "", {"bad", "2026-12-08T03:00:00"}}), 3);
  EXPECT_EQ(taken({"0000:00:00 00:00:00", "", "", "", {"2026-13-01"}}), -1);
}

TEST(DateFormat, WritesEveryFieldAndKeepsOtherBytes) {
  const CivilTime time{2026, 12, 8, 5, 3, 2, 45000};
  EXPECT_EQ(FormatDate(time, "%Y-%m-%d %H.%M.%S"), "2026-12-08 05.03.02");
  EXPECT_EQ(FormatDate(time, "撮影%y%m%d_%f 100%% %q%"), "撮影261208_045 100% %q%");
}

TEST(ForEachOnThreads, StopsStartingWorkOnceAskedTo) {
  std::atomic<std::size_t> done{0};
  const bool complete = ForEachOnThreads(
      2000, 2,
      [&](std::size_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ++done;
      },
      [](std::size_t) { return false; });
  EXPECT_FALSE(complete);
  EXPECT_LT(done.load(), 2000u);
  std::vector<int> seen(5000, 0);
  EXPECT_TRUE(ForEachOnThreads(seen.size(), 3, [&](std::size_t i) { ++seen[i]; }, {}));
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 5000);
}

// An MP4 whose movie header says it was made at `seconds` after 1904 (UTC).
std::string MinimalMp4(std::uint32_t seconds) {
  const auto be32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
  };
  const auto box = [&](const char* type, const std::string& payload) {
    return be32(static_cast<std::uint32_t>(8 + payload.size())) + type + payload;
  };
  std::string mvhd = be32(0) + be32(seconds) + be32(seconds) + be32(1000) + be32(0) +
                     be32(0x10000) + std::string("\x01\x00", 2) + std::string(10, '\0');
  for (std::uint32_t m : {0x10000u, 0u, 0u, 0u, 0x10000u, 0u, 0u, 0u, 0x40000000u}) mvhd += be32(m);
  mvhd += std::string(24, '\0') + be32(2);
  return box("ftyp", "isom" + be32(512) + "isomiso2mp41") + box("moov", box("mvhd", mvhd));
}

class DateCommands : public ListFixture {
 protected:
  DateCommands() {
    setenv("TZ", "UTC", 1);
    tzset();
  }

  // A JPEG with these tags written by exiv2 (Exif.* or Xmp.*); listed in the state.
  std::string Photo(const std::string& name, std::vector<std::pair<std::string, std::string>> tags,
                    const std::string& jpeg = MinimalJpeg()) {
    const std::string path = dir.Touch(name, jpeg);
    if (!tags.empty()) {
      Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
      image->readMetadata();
      for (const auto& [key, value] : tags) {
        if (key.rfind("Xmp.", 0) == 0) {
          image->xmpData()[key] = value;
        } else {
          image->exifData()[key] = value;
        }
      }
      image->writeMetadata();
    }
    List(path);
    return path;
  }
  void List(const std::string& path) { state.list.AppendRow(path, "x", ".x", path); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const std::string& path : state.list.path.entries)
      names.push_back(path.substr(dir.path().size()));
    return names;
  }

  NativeMediaDates media;
};

TEST_F(DateCommands, OrdersRealFilesByTheDateTakenWithUndatedOnesLastInNameOrder) {
  const std::string second = "2026:12:08 15:30:12";
  Photo("h_text.jpg", {});
  dir.Touch("h_text.jpg", "no image at all");
  Photo("a_plain.jpg", {});
  Photo("b_burst.jpg",
        {{"Exif.Photo.DateTimeOriginal", second}, {"Exif.Photo.SubSecTimeOriginal", "5"}});
  Photo("c_burst.jpg",
        {{"Exif.Photo.DateTimeOriginal", second}, {"Exif.Photo.SubSecTimeOriginal", "20"}});
  Photo("IMG_10.jpg", {{"Exif.Photo.DateTimeOriginal", "2026:12:08 12:00:00"}});
  Photo("IMG_2.jpg", {{"Exif.Photo.DateTimeOriginal", "2026:12:08 12:00:00"}});
  Photo("e_invalid.jpg", {{"Exif.Photo.DateTimeOriginal", "2026:13:08 15:30:92"}});
  Photo("f_digitized.jpg", {{"Exif.Photo.DateTimeDigitized", "2026:12:08 10:00:00"}});
  Photo("g_xmp.jpg", {{"Xmp.xmp.CreateDate", "2026-12-08T11:00:00+09:00"}});
  Photo("d_early.jpg", {{"Exif.Photo.DateTimeOriginal", "2026:12:08 09:00:00"}});
  // 2026-12-08 13:00:00 UTC, in seconds from 1904.
  List(dir.Touch("i_clip.mp4", MinimalMp4(3879579600u)));
  state.common_name = "";
  prompter.Yes();

  SortByDateClick(state, MakeContext(), media, DateKind::kTaken);

  // Nothing the reader could not open shows a box of its own.
  EXPECT_EQ(prompter.log,
            (std::vector<std::string>{"beep warning", std::string("warn ") + kTakenOrderQuestion}));
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"d_early.jpg", "f_digitized.jpg", "g_xmp.jpg", "IMG_2.jpg",
                                      "IMG_10.jpg", "i_clip.mp4", "c_burst.jpg", "b_burst.jpg",
                                      "a_plain.jpg", "e_invalid.jpg", "h_text.jpg"}));
  // The unique names are derived anew, as the sort by name does.
  EXPECT_EQ(state.list.unique.entries[0], "d_early");
  EXPECT_EQ(DateLine(state.list.RowDate(6), state.list.row_date_kind()),
            "撮影日時：2026-12-08 15:30:12.2");
  EXPECT_EQ(DateLine(state.list.RowDate(5), state.list.row_date_kind()),
            "撮影日時：2026-12-08 13:00:00");
  EXPECT_EQ(DateLine(state.list.RowDate(9), state.list.row_date_kind()),
            "日時：なし（撮影日時が記録されていません）");

  // The dates follow their paths; a row added later has none read.
  state.list.ErasePath(0);
  state.list.unique.entries.erase(state.list.unique.entries.begin());
  state.list.extension.entries.erase(state.list.extension.entries.begin());
  state.list.DropLastNumber();
  EXPECT_EQ(CivilOfTaken(state.list.RowDate(0)).hour, 10);
  List(dir.Touch("later.jpg", MinimalJpeg()));
  EXPECT_EQ(DateLine(state.list.RowDate(state.list.size() - 1), DateKind::kTaken), "");

  // Unique names from the date taken, in the default format; undated rows keep theirs.
  NameByDateClick(state, MakeContext(), media);
  EXPECT_EQ(state.list.unique.entries[5], "2026-12-08 15.30.12");
  EXPECT_EQ(state.list.unique.entries[7], "a_plain");
  WriteSettings("Date_format=%Y%m%d_%H%M%S_%f\n");
  NameByDateClick(state, MakeContext(), media);
  EXPECT_EQ(state.list.unique.entries[6], "20261208_153012_500");
}

TEST_F(DateCommands, OrdersByModificationTimeToTheNanosecondWithTiesByName) {
  const std::pair<const char*, long> files[] = {{"m1", 2}, {"m2", 0}, {"M3", 0}, {"m4", 1}};
  for (const auto& [name, nanos] : files) {
    const std::string path = dir.Touch(name);
    const timespec times[2] = {{1'700'000'000, nanos}, {1'700'000'000, nanos}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    List(path);
  }
  prompter.No().Yes();
  SortByDateClick(state, MakeContext(), media, DateKind::kModified);
  EXPECT_EQ(Names(), (std::vector<std::string>{"m1", "m2", "M3", "m4"}));

  SortByDateClick(state, MakeContext(), media, DateKind::kModified);
  EXPECT_EQ(prompter.log.back(), std::string("warn ") + kModifiedOrderQuestion);
  EXPECT_EQ(Names(), (std::vector<std::string>{"m2", "M3", "m4", "m1"}));
  EXPECT_EQ(DateLine(state.list.RowDate(3), state.list.row_date_kind()),
            "更新日時：2023-11-14 22:13:20.000000002");
}

TEST_F(DateCommands, ReadsTheDateTakenOfAHeicFromLibheifsEncoder) {
  if (std::system("command -v heif-enc > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "heif-enc (libheif-examples) is not installed";
  }
  const std::string jpeg = Photo(
      "source.jpg", {{"Exif.Photo.DateTimeOriginal", "2026:12:08 14:00:00"}}, MinimalJpeg(0, true));
  const std::string heic = dir / "phone.heic";
  ASSERT_EQ(
      std::system(("heif-enc -q 50 '" + jpeg + "' -o '" + heic + "' > /dev/null 2>&1").c_str()), 0);
  EXPECT_EQ(DateLine(DateTakenOf(media.ReadRecorded(heic)), DateKind::kTaken),
            "撮影日時：2026-12-08 14:00:00");
}

// Dates from a table, read one by one as the progress window hears them.
class TableDates : public MediaDates {
 public:
  RecordedDates ReadRecorded(const std::string& path) override {
    ++reads;
    return {path.substr(path.size() - 19), "", "", "", {}};
  }
  std::optional<std::int64_t> ModifiedTime(const std::string&) override { return std::nullopt; }
  int reads = 0;
};

// The bytes this process has read through the system so far.
std::uint64_t BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}

TEST_F(DateCommands, ReadsOnlyTheHeaderOfAVideoWhoseMediaDataComesFirst) {
  // 4 GB of media data (a hole on the disk), then the header: as a camera writes a long clip.
  const std::string small = MinimalMp4(3879579600u);
  const std::size_t ftyp = static_cast<unsigned char>(small[3]);  // the first box's size
  const std::uint64_t media_bytes = std::uint64_t{4} << 30;
  std::string mdat = std::string("\0\0\0\1mdat", 8);
  for (int shift = 56; shift >= 0; shift -= 8)
    mdat += static_cast<char>((media_bytes + 16) >> shift);
  const std::string path = dir.Touch("long.mp4", small.substr(0, ftyp) + mdat);
  const int fd = open(path.c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  const std::string moov = small.substr(ftyp);
  const bool written =
      pwrite(fd, moov.data(), moov.size(), static_cast<off_t>(ftyp + 16 + media_bytes)) ==
      static_cast<ssize_t>(moov.size());
  close(fd);
  ASSERT_TRUE(written);

  const std::uint64_t before = BytesRead();
  const RecordedDates dates = media.ReadRecorded(path);
  EXPECT_LT(BytesRead() - before, std::uint64_t{1} << 20);
  EXPECT_EQ(DateLine(DateTakenOf(dates), DateKind::kTaken), "撮影日時：2026-12-08 13:00:00");
}

TEST_F(DateCommands, AStoppedReadingLeavesTheListAsItWas) {
  for (const char* path :
       {"/b 2026:12:08 10:00:00", "/a 2026:12:08 09:00:00", "/c 2026:12:08 08:00:00"}) {
    state.list.AppendRow(path, "keep", ".x", path);
  }
  TableDates table;
  prompter.Yes().StopProgressAt(1);
  SortByDateClick(state, MakeContext(), table, DateKind::kTaken);
  EXPECT_LT(table.reads, 3);
  EXPECT_EQ(state.list.path.entries.front(), "/b 2026:12:08 10:00:00");
  EXPECT_EQ(state.list.unique.entries, (std::vector<std::string>{"keep", "keep", "keep"}));
  EXPECT_EQ(state.list.row_date_kind(), DateKind::kNone);
  EXPECT_EQ(prompter.progress, (std::vector<std::string>{std::string(kTakenProgressText) + " 3"}));

  prompter.Yes();
  SortByDateClick(state, MakeContext(), table, DateKind::kTaken);
  EXPECT_EQ(state.list.path.entries.front(), "/c 2026:12:08 08:00:00");
}

}  // namespace
}  // namespace zefa
