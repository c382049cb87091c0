// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

namespace zefa::keys {

// Every option lives in this one section; each key is spelt exactly so, mixed case included.
// The settings dialog's keys are in kOptionKeys (options.h); these are the windows' own.
inline constexpr const char* kSection = "Option";

// Written by the windows themselves as they close: the main window's place and size, whether it was
// maximised, and its columns' widths.
inline constexpr const char* kWindowGeometry = "Window_geometry";
inline constexpr const char* kWindowMaximized = "Window_maximized";
inline constexpr const char* kColumnWidths = "Column_widths";
// Whether the main window shows the column of new names.
inline constexpr const char* kShowNewNames = "Show_new_names";
// The preview window's size, "width,height".
inline constexpr const char* kPreviewSize = "Preview_size";
// The find-and-replace window's last rule, written after the keys above by that window;
// a file without them opens the window empty, as before they existed.
inline constexpr const char* kReplaceSearch = "Replace_search";
inline constexpr const char* kReplaceWith = "Replace_with";
inline constexpr const char* kReplaceRegex = "Replace_regex";
inline constexpr const char* kReplaceMatchCase = "Replace_match_case";
inline constexpr const char* kReplaceTarget = "Replace_target";  // 0 unique name, 1 extension
inline constexpr const char* kReplaceHalfWidth = "Replace_half_width";
inline constexpr const char* kReplaceFullWidthKana = "Replace_full_width_kana";
inline constexpr const char* kReplaceLetterCase = "Replace_letter_case";  // 0, 1 upper, 2 lower
inline constexpr const char* kReplaceCompose = "Replace_compose";
// Only in a preset: the common name it gives the main window.
inline constexpr const char* kCommonName = "Common_name";

inline constexpr bool kDefaultShowNewNames = false;

}  // namespace zefa::keys
