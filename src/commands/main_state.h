// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "list/rename_list.h"
#include "names/serial_numbers.h"

namespace zefa {

/** What the main window shows and the commands change; the window only renders it. */
struct MainState {
  RenameList list;
  std::string edit1;  // a unique name, with "変更" (Button1)
  std::string edit2;  // the common name
  std::string edit3;  // an extension, with "変更" (Button14)
  // Whether the user typed in Edit1 / Edit3 since the program last put a text there: typed
  // text stays when another row is selected, text the program put follows the row.
  bool edit1_typed = false;
  bool edit3_typed = false;
  int start_number = 1;            // SpinEdit1; a text that is no integer counts as 1
  std::string label5 = "0";        // row last selected, before the unique-name field
  std::string label15 = "0";       // the same, before the extension field
  bool file_arrows_shown = false;  // Button6 and Button7 visible and enabled
  bool serial_enabled = true;      // SpinEdit1 and Label10 enabled
  int path_scroll_factor = 6;      // ListBox2's scrolling width in client widths
  bool folder_numbers = false;     // `Folder_rendo`: the numbers start again in each folder
};

/** The last serial number: start number plus rows minus 1. */
std::string Label10Text(const MainState& state);
/** The same counted as `numbers` count: per folder, the largest folder's rows. */
std::string Label10Text(const MainState& state, const SerialNumbers& numbers);

/** A spin box's value for its text: the integer it holds, or 1. */
int SpinValueOfText(const std::string& text);

}  // namespace zefa
