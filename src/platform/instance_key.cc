// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "platform/instance_key.h"

namespace zefa {
namespace {

// Letters and digits stay; everything else, a separator included, becomes "_".
std::string FileNamePart(std::string_view text) {
  std::string part;
  part.reserve(text.size());
  for (const char c : text) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    part += plain ? c : '_';
  }
  return part;
}

// "host:display.screen" as the server it names: the local host however written, the
// display number without its screen and without leading zeros.
std::string XServer(std::string_view display) {
  const std::size_t colon = display.rfind(':');
  if (colon == std::string_view::npos) return std::string(display);
  std::string_view host = display.substr(0, colon);
  // "host::0" is DECnet; the second colon belongs to the host part.
  if (host.ends_with(':')) host.remove_suffix(1);
  if (host == "unix" || host == "localhost" || host == "127.0.0.1" || host == "::1") host = {};
  std::string_view number = display.substr(colon + 1);
  if (const std::size_t dot = number.find('.'); dot != std::string_view::npos) {
    number = number.substr(0, dot);
  }
  while (number.size() > 1 && number.front() == '0') number.remove_prefix(1);
  return std::string(host) + ":" + std::string(number);
}

}  // namespace

std::string InstanceKey(std::string_view platform, std::string_view x_display,
                        std::string_view wayland_display, std::string_view runtime_folder) {
  std::string display;
  if (platform == "xcb") {
    display = "x" + XServer(x_display);
  } else if (platform.starts_with("wayland")) {
    std::string socket(wayland_display.empty() ? "wayland-0" : wayland_display);
    if (socket.front() != '/') {
      std::string folder(runtime_folder);
      while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
      socket = folder + "/" + socket;
    }
    display = "wayland" + socket;
  } else {
    display = std::string(platform);
  }
  const std::string part = FileNamePart(display);
  return part.empty() ? "default" : part;
}

}  // namespace zefa
