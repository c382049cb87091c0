// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

namespace zefa::keys {

// Every option lives in this one section; each key is spelt exactly so, mixed case included.
inline constexpr const char* kSection = "Option";

inline constexpr const char* kKeta = "keta";
inline constexpr const char* kPattern = "pattern";
inline constexpr const char* kSpace = "space";
inline constexpr const char* kWhenAdd = "when_add";
inline constexpr const char* kNumKakko = "Num_kakko";
inline constexpr const char* kUpdateCheck = "UpdateCheck";
inline constexpr const char* kUpDownButtonRendo = "UpDownButton_rendo";
inline constexpr const char* kNumAki = "Num_aki";
inline constexpr const char* kNumToji = "Num_toji";
inline constexpr const char* kKoyuKakko = "Koyu_kakko";
inline constexpr const char* kKoyuAki = "koyu_aki";
inline constexpr const char* kKoyuToji = "koyu_toji";
// Keys of this program's own options follow the twelve, in the order the dialog writes them.
inline constexpr const char* kFolderRendo = "Folder_rendo";
// Written after the twelve keys above; a file without it behaves as before it existed.
inline constexpr const char* kDateFormat = "Date_format";
// A restore file for every run, without its question: the dialog's last row.
inline constexpr const char* kRestoreAlways = "Restore_always";
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

inline constexpr int kDefaultKeta = 1;
inline constexpr int kDefaultPattern = 1;
inline constexpr bool kDefaultSpace = true;
inline constexpr bool kDefaultWhenAdd = false;
inline constexpr bool kDefaultNumKakko = false;
inline constexpr bool kDefaultUpdateCheck = true;
inline constexpr bool kDefaultUpDownButtonRendo = true;
inline constexpr const char* kDefaultNumAki = "[";
inline constexpr const char* kDefaultNumToji = "]";
inline constexpr bool kDefaultKoyuKakko = false;
inline constexpr const char* kDefaultKoyuAki = "「";
inline constexpr const char* kDefaultKoyuToji = "」";
inline constexpr bool kDefaultFolderRendo = false;
// A unique name from a date taken: 2026-12-08 15.30.12 (see FormatDate).
inline constexpr const char* kDefaultDateFormat = "%Y-%m-%d %H.%M.%S";
inline constexpr bool kDefaultRestoreAlways = false;
inline constexpr bool kDefaultShowNewNames = false;

}  // namespace zefa::keys
