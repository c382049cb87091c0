// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/file_system.h"
#include "temp_dir.h"

namespace zefa {
namespace {

// A read says why it found no bytes, so that a message can name the cause.
TEST(ReadFile, GivesTheBytesOrWhyNot) {
  test::TempDir dir;
  dir.Touch("small", "abc");
  dir.Touch("large", std::string(11, 'x'));
  ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0700), 0);
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir / "device").c_str()), 0);
  NativeFileSystem file_system;
  const struct {
    const char* name;
    std::optional<ReadFailure> failure;
  } cases[] = {
      {"small", std::nullopt},
      {"large", ReadFailure::kTooLarge},
      {"missing", ReadFailure::kNothingThere},
      {"folder", ReadFailure::kNotAFile},
      {"pipe", ReadFailure::kNotAFile},
      {"device", ReadFailure::kNotAFile},
  };
  for (const auto& c : cases) {
    const FileRead read = file_system.ReadFile(dir / c.name, 10);
    EXPECT_EQ(read.failure(), c.failure) << c.name;
    EXPECT_EQ(read.has_value(), !c.failure) << c.name;
  }
  EXPECT_EQ(*file_system.ReadFile(dir / "small", 10), "abc");
  EXPECT_EQ(file_system.ReadFile("", 10).failure(), ReadFailure::kNothingThere);
}

}  // namespace
}  // namespace zefa
