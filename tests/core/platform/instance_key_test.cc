// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/instance_key.h"

#include <gtest/gtest.h>

namespace zefa {
namespace {

TEST(InstanceKey, OneKeyForEverySpellingOfOneDisplay) {
  const struct {
    const char* platform;
    const char* display;
    const char* wayland;
    const char* runtime;
  } same[][4] = {
      {{"xcb", ":0", "", ""},
       {"xcb", ":0.0", "", ""},
       {"xcb", "unix:0.1", "", ""},
       {"xcb", "localhost:00.0", "", ""}},
      {{"wayland", "", "wayland-1", "/run/user/1000"},
       {"wayland", "", "/run/user/1000/wayland-1", "/run/user/1000/"},
       {"wayland-egl", ":5", "wayland-1", "/run/user/1000//"},
       {"wayland", "", "/run/user/1000/wayland-1", ""}},
  };
  for (const auto& group : same) {
    const std::string key =
        InstanceKey(group[0].platform, group[0].display, group[0].wayland, group[0].runtime);
    for (const auto& c : group) {
      EXPECT_EQ(InstanceKey(c.platform, c.display, c.wayland, c.runtime), key)
          << c.display << c.wayland;
    }
  }
  // Other servers keep their own window.
  const std::string keys[] = {
      InstanceKey("xcb", ":0", "", ""),
      InstanceKey("xcb", ":1", "", ""),
      InstanceKey("xcb", "otherhost:0", "", ""),
      InstanceKey("xcb", ":10", "", ""),
      InstanceKey("wayland", "", "", "/run/user/1000"),
      InstanceKey("wayland", "", "wayland-1", "/run/user/1000"),
      InstanceKey("offscreen", ":0", "", ""),
  };
  for (std::size_t i = 0; i < std::size(keys); ++i) {
    EXPECT_EQ(keys[i].find('/'), std::string::npos) << keys[i];
    for (std::size_t j = i + 1; j < std::size(keys); ++j) EXPECT_NE(keys[i], keys[j]) << keys[i];
  }
}

}  // namespace
}  // namespace zefa
