// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Files named the way old Windows archives, Latin-1 tools and macOS leave them: taken in
// from a drop's raw text/uri-list or from command-line bytes, shown readably, given UTF-8
// unique names, renamed, recorded and undone, every byte of every name kept.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "commands/add_file_command.h"
#include "commands/preview_command.h"
#include "commands/rename_command.h"
#include "commands/undo_command.h"
#include "record/restore_file.h"
#include "rename_test_support.h"
#include "text/name_text.h"

namespace zefa {
namespace {

struct ArchiveName {
  std::string bytes;     // the name on the disk
  std::string display;   // what the list shows
  std::string unique;    // the unique name derived from it
  std::string new_name;  // after the run with the common name 旅行
};

const std::vector<ArchiveName> kNames = {
    // Shift-JIS ソ: its trail byte is the ASCII backslash.
    {"\x83\x5c.txt", "ソ.txt", "ソ", "旅行 1 ソ.txt"},
    // Latin-1 é, neither UTF-8 nor Shift-JIS: shown escaped, its bytes kept.
    {"caf\xe9.jpg", "caf\\xE9.jpg", "caf\xe9", "旅行 2 caf\xe9.jpg"},
    // が as か + U+3099: shown as it is, composed in the new name.
    {"か\xe3\x82\x99.jpg", "か\xe3\x82\x99.jpg", "が", "旅行 3 が.jpg"},
    {"写真 001.jpg", "写真 001.jpg", "写真 001", "旅行 4 写真 001.jpg"},
};

std::string PercentEncoded(const std::string& path) {
  std::string uri;
  for (const unsigned char c : path) {
    if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_') {
      uri += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    }
  }
  return uri;
}

enum class Intake { kUriList, kArguments };

class ArchiveNamesTest : public test::RenameFixture, public ::testing::WithParamInterface<Intake> {
 protected:
  void TakeIn() {
    if (GetParam() == Intake::kUriList) {
      // As file managers send it: CRLF lines, a comment, one host named localhost.
      std::string uri_list = "# dropped\r\n";
      for (std::size_t i = 0; i < kNames.size(); ++i) {
        uri_list += (i == 1 ? "file://localhost" : "file://") +
                    PercentEncoded(dir / ("files/" + kNames[i].bytes)) + "\r\n";
      }
      DropUriList(state, MakeContext(), uri_list);
    } else {
      std::vector<std::string> arguments;
      for (const ArchiveName& name : kNames) arguments.push_back(name.bytes);
      DropFiles(state, MakeContext(), ArgumentPaths(arguments, dir / "files/"));
    }
  }
};

TEST_P(ArchiveNamesTest, AddedShownRenamedRecordedAndUndoneByteForByte) {
  for (const ArchiveName& name : kNames) dir.Touch("files/" + name.bytes, name.bytes);
  const std::string before = Files();
  TakeIn();
  ASSERT_EQ(state.list.size(), static_cast<int>(kNames.size()));
  EXPECT_TRUE(prompter.log.empty()) << prompter.log.front();
  for (int row = 0; row < state.list.size(); ++row) {
    const ArchiveName& name = kNames[static_cast<std::size_t>(row)];
    SCOPED_TRACE(name.display);
    EXPECT_EQ(state.list.path.Text(row), dir / ("files/" + name.bytes));
    EXPECT_EQ(DisplayPath(state.list.path.Text(row)), dir / ("files/" + name.display));
    EXPECT_EQ(state.list.unique.Text(row), name.unique);
  }

  state.common_name = "旅行";
  const std::optional<Preview> preview = BuildPreview(state, MakeContext());
  ASSERT_TRUE(preview);
  for (int row = 0; row < preview->size(); ++row) {
    EXPECT_EQ(preview->Before(row, false), kNames[static_cast<std::size_t>(row)].bytes);
    EXPECT_EQ(preview->After(row), kNames[static_cast<std::size_t>(row)].new_name);
    EXPECT_FALSE(preview->WillFail(row));
  }

  prompter.Yes().Yes();
  Button2Click(state, MakeContext());
  EXPECT_EQ(prompter.log.back(), "inform 完了しました。");
  for (const ArchiveName& name : kNames) {
    EXPECT_EQ(dir.Read("files/" + name.new_name), name.bytes) << name.display;
  }
  const RestoreRecord record = RestoreRecord::Read(file_system, RestorePath());
  ASSERT_EQ(record.Count(), static_cast<int>(kNames.size()));
  for (int row = 0; row < record.Count(); ++row) {
    EXPECT_EQ(record.Row(static_cast<std::size_t>(row)).before,
              dir / ("files/" + kNames[static_cast<std::size_t>(row)].bytes));
  }

  prompter.File(RestorePath()).Yes();
  Undo1Click(state, MakeContext());
  EXPECT_EQ(prompter.log.back(), "inform 完了しました");
  EXPECT_EQ(Files(), before);
  for (const ArchiveName& name : kNames) EXPECT_EQ(dir.Read("files/" + name.bytes), name.bytes);
}

INSTANTIATE_TEST_SUITE_P(FromDropAndCommandLine, ArchiveNamesTest,
                         ::testing::Values(Intake::kUriList, Intake::kArguments),
                         [](const auto& intake) {
                           return intake.param == Intake::kUriList ? "UriList" : "Arguments";
                         });

}  // namespace
}  // namespace zefa
