// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace zefa {

/**
 * The display a window shows on, as a part of a file name that is the same for every
 * spelling of one display: X's ":0", ":0.0", "unix:0" and "localhost:0" are one server
 * (the screen number names no other server), and Wayland's socket name counts relative to
 * the runtime folder. `platform` is the window system's name ("xcb", "wayland", ...);
 * the other values are those of DISPLAY, WAYLAND_DISPLAY and XDG_RUNTIME_DIR.
 */
std::string InstanceKey(std::string_view platform, std::string_view x_display,
                        std::string_view wayland_display, std::string_view runtime_folder);

}  // namespace zefa
