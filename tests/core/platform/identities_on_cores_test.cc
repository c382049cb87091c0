// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "temp_dir.h"

namespace zefa {
namespace {

// Enough rows for the look-ups to run on several threads: each row must still get its own.
TEST(IdentitiesOnCoresTest, EveryRowGetsItsOwnFilesIdentity) {
  test::TempDir dir;
  NativeFileSystem file_system;
  std::vector<std::string> paths;
  for (int i = 0; i < 5000; ++i) {
    // Two folders, and a gap where nothing is, so that stretches cross folders.
    const std::string name = (i % 3 == 0 ? "a/" : "b/") + std::to_string(i);
    paths.push_back(i == 2500 ? dir / "missing" : dir.Touch(name));
  }
  const std::vector<std::string_view> views(paths.begin(), paths.end());
  const std::vector<std::string> identities = file_system.FileIdentities(views);
  ASSERT_EQ(identities.size(), paths.size());
  for (std::size_t i = 0; i < paths.size(); i += 499) {
    EXPECT_EQ(identities[i], file_system.FileIdentities({views[i]}).front()) << i;
  }
  EXPECT_EQ(identities[2500], "");

  std::vector<KeyedPath> same, shifted;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    same.push_back({paths[i], identities[i]});
    shifted.push_back({paths[i], identities[(i + 1) % paths.size()]});
  }
  const std::vector<FileMatch> matches = file_system.MatchFiles(same);
  const std::vector<FileMatch> others = file_system.MatchFiles(shifted);
  ASSERT_EQ(matches.size(), paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(matches[i], i == 2500 ? FileMatch::kNothing : FileMatch::kSameFile) << i;
    EXPECT_EQ(others[i], i == 2500 ? FileMatch::kNothing : FileMatch::kOtherFile) << i;
  }
  // A stop between two blocks leaves the rows looked at so far.
  const std::vector<FileMatch> stopped =
      file_system.MatchFiles(same, [](std::size_t done) { return done == 0; });
  EXPECT_EQ(stopped.size(), 2048u);
}

}  // namespace
}  // namespace zefa
