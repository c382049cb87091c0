// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The reading of a record finds what the profile reader finds, whatever the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "record/restore_file.h"
#include "record/restore_sections.h"
#include "settings/profile.h"

namespace zefa {
namespace {

// A file of `bytes` handed over `piece` bytes at a time.
class FileInPieces : public NativeFileSystem {
 public:
  FileInPieces(std::string bytes, std::size_t piece) : bytes_(std::move(bytes)), piece_(piece) {}

  FileRead ReadFile(const std::string&, std::size_t) override { return bytes_; }
  std::optional<ReadFailure> ReadFileInPieces(const std::string&, std::size_t,
                                              const PieceReader& reader) override {
    reader.sized(bytes_.size());
    for (std::size_t at = 0; at < bytes_.size(); at += piece_) {
      if (!reader.piece(std::string_view(bytes_).substr(at, piece_))) break;
    }
    return std::nullopt;
  }

 private:
  std::string bytes_;
  std::size_t piece_;
};

// Whether two records hold the same rows, read the same way.
void ExpectSameRecord(const RestoreRecord& read, const RestoreRecord& parsed) {
  EXPECT_EQ(read.Count(), parsed.Count());
  EXPECT_EQ(read.size(), parsed.size());
  EXPECT_EQ(read.HasIdentities(), parsed.HasIdentities());
  EXPECT_EQ(read.FirstNewPath(), parsed.FirstNewPath());
  for (std::size_t row = 0; row < std::min(read.size(), parsed.size()); ++row) {
    EXPECT_EQ(read.Row(row).before, parsed.Row(row).before) << row;
    EXPECT_EQ(read.Row(row).after, parsed.Row(row).after) << row;
    EXPECT_EQ(read.Row(row).identity, parsed.Row(row).identity) << row;
    EXPECT_EQ(read.Row(row).not_renamed, parsed.Row(row).not_renamed) << row;
  }
}

TEST(RestoreRecordRead, FindsWhatTheProfileReaderFinds) {
  const std::string writers =
      "[Count]\ncount=3\n[before]\n0=/p/a\n1=/p/b\n2=file:///p/%83\\\n[after]\n0=/p/x 1\n"
      "1=/p/x 2\n2=/p/x 3\n[identity]\n0=1:2\n1=1:3\n2=1:4\n[notrenamed]\n1=failed\nend=1\n";
  const std::string records[] = {
      writers,
      "[Count]\r\ncount=2\r\n[before]\r\n0=/p/a\r\n1=/p/b\r\n[after]\r\n0=/p/c\r\n1=/p/d\r\n",
      "\xEF\xBB\xBF[Count]\ncount=1\n[before]\n0=/p/a\n[after]\n0=/p/c\n",
      // Names in other cases, blanks, quotes, a second section of a name, repeated keys.
      "[COUNT]\n Count = 2 \n[Before]\n0 = \" /p/a \"\n0=/p/other\n1='/p/b'\n[AFTER]\n0=/p/c\n"
      "1=/p/d\n[before]\n0=/p/never\n[Identity]\n0=1:2\n[NotRenamed]\n0=failed\nEND=1\n",
      // A gap, rows out of order, keys no row has, lines outside any section.
      "stray=1\n[Count]\ncount=3\n[before]\n0=/p/a\n2=/p/c\n1=/p/b\n[after]\n00=/p/z\n0=/p/x\n"
      "x=/p/y\n1=/p/y\n2=/p/w\n[notrenamed]\n2=failed\n0=notreached\nend=1\n",
      "[Count]\ncount=2\n[before]\n0=\x83\x5c\n[after]\n0=/p/\x83\x5c\n",  // Shift-JIS
      "[Count]\ncount=1\n[before]\n0=/p/a\n[after]\n0=/p/b\n[notrenamed]\n0=failed\n",
      "[Count]\ncount=15",
      // Escaped paths are decoded once, read as rows or not.
      "[Count]\ncount=1\n[before]\n0=/p/a\n[after]\n0=file://file:///p/%41\n",
      "[Count]\ncount=0\n[after]\n0=file://file:///p/%41\n",
      "[Count]\ncount=2\n[before]\n0=/p/a\n1=/p/b\n[after]\n0=/p/x\n1=file://\n",
      "",
      "garbage\n[[]]\n=\n[before\n0=/p/a\n",
      // Shift-JIS text after many lines of plain text, as a Windows copy may hold it.
      "[Count]\ncount=2\n[before]\n0=/p/a\n1=/p/b\n[after]\n0=/p/x\n1=/p/\x83\x5c\n",
  };
  for (const std::string& bytes : records) {
    SCOPED_TRACE(bytes.substr(0, 200));
    const RestoreRecord record = RestoreRecord::Parse(bytes);
    // Read from a file in pieces cut anywhere, the record is the same.
    for (const std::size_t piece : {1, 2, 5, 64}) {
      FileInPieces file(bytes, piece);
      ExpectSameRecord(RestoreRecord::Read(file, "/p/record.zefa"), record);
    }
    const Profile profile = Profile::Parse(bytes);
    const auto found = [&](const char* section, std::size_t row) {
      return std::string(profile.Find(section, std::to_string(row)).value_or(""));
    };
    const int count = ParseProfileInteger(profile.Find("Count", "count").value_or("")).value_or(0);
    EXPECT_EQ(record.Count(), count);
    EXPECT_EQ(record.HasIdentities(), profile.Find("identity", "0").has_value());
    EXPECT_EQ(record.FirstNewPath(), DecodeRecordedPath(found("after", 0)));
    // The rows read are those from row 0 that have a new path, up to the count.
    std::size_t rows = 0;
    while (static_cast<int>(rows) < count && !DecodeRecordedPath(found("after", rows)).empty()) {
      ++rows;
    }
    EXPECT_EQ(record.size(), rows);
    EXPECT_EQ(record.Complete(), count > 0 && static_cast<int>(rows) == count);
    const bool outcome_complete = profile.Find("notrenamed", "end") == "1";
    for (std::size_t row = 0; row < record.size(); ++row) {
      SCOPED_TRACE(row);
      const RestoreRow read = record.Row(row);
      EXPECT_EQ(read.before, DecodeRecordedPath(found("before", row)));
      EXPECT_EQ(read.after, DecodeRecordedPath(found("after", row)));
      EXPECT_EQ(read.identity, found("identity", row));
      const std::string outcome = found("notrenamed", row);
      EXPECT_EQ(read.not_renamed,
                outcome_complete && (outcome == "failed" || outcome == "notreached"));
    }
  }
}

TEST(RestoreRecordRead, ALineLongerThanAnyRunWritesMakesNoRecordWhereverItStands) {
  const std::string rows = "[Count]\ncount=1\n[before]\n0=/p/a\n[after]\n0=/p/b\n";
  const std::string overlong = "y=" + std::string(restore_sections::kMaxLineBytes, 'z');
  for (const std::string& bytes :
       {overlong + "\n" + rows, rows + overlong, rows + overlong + "\n"}) {
    EXPECT_EQ(RestoreRecord::Parse(bytes).size(), 0u);
    for (const std::size_t piece : {3, 4096}) {
      FileInPieces file(bytes, piece);
      const RestoreRecord read = RestoreRecord::Read(file, "/p/record.zefa");
      EXPECT_EQ(read.size(), 0u);
      EXPECT_EQ(read.Count(), 0);
    }
  }
}

TEST(RestoreRecordRead, ForgetsItsIdentitiesButNotThatItHadThem) {
  RestoreRecord record = RestoreRecord::Parse(
      "[Count]\ncount=1\n[before]\n0=/p/a\n[after]\n0=/p/b\n[identity]\n0=1:2\n");
  ASSERT_EQ(record.Row(0).identity, "1:2");
  record.ForgetIdentities();
  EXPECT_EQ(record.Row(0).identity, "");
  EXPECT_TRUE(record.HasIdentities());
  EXPECT_EQ(record.Row(0).after, "/p/b");
}

}  // namespace
}  // namespace zefa
