// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "list/rename_list.h"
#include "names/serial_numbers.h"

namespace zefa {

/** What one list box shows of its column: its selected row and its first visible row. */
struct ColumnView {
  int selected = -1;  // -1: no row selected
  int top = 0;
};

/**
 * What the four list boxes show of the list. Each column keeps its own selection, and
 * they can differ: the unique-name arrows with the link off move only the unique-name
 * selection, and a sort leaves the unique-name and extension columns without one.
 */
struct ListView {
  ColumnView number;
  ColumnView path;
  ColumnView unique;
  ColumnView extension;
  /**
   * The rows selected together (with Shift or Ctrl), ascending, when there are two or
   * more; empty otherwise, when each column's own selected row is the selection. A
   * reorder or removal of paths, and clearing, let it go.
   */
  std::vector<int> selected_rows;

  ColumnView& column(ColumnId id);
  const ColumnView& column(ColumnId id) const;
  /** Selects `row` (or none with -1) in all four columns. */
  void SelectAll(int row);
  /**
   * Selects `rows` (ascending, each below the list's size) in every column, `focused`
   * being the row each column calls selected; one row or none is a plain selection.
   */
  void SelectRows(std::vector<int> rows, int focused);
  /** No column has a selected row; the rows selected together are let go. */
  void SelectNone();
};

/** The selected row of `view` when it is a row of `column`; -1 otherwise. */
inline int SelectedRow(const ColumnView& view, const ListColumn& column) {
  return view.selected >= 0 && view.selected < column.size() ? view.selected : -1;
}

/** What the main window shows and the commands change; the window only renders it. */
struct MainState {
  RenameList list;
  ListView view;                  // the list boxes' selections and first visible rows
  std::string typed_unique_name;  // Edit1: a unique name, with "変更" (Button1)
  std::string common_name;        // Edit2
  std::string typed_extension;    // Edit3: an extension, with "変更" (Button14)
  // Whether the user typed in Edit1 / Edit3 since the program last put a text there: typed
  // text stays when another row is selected, text the program put follows the row.
  bool unique_name_typed = false;
  bool extension_typed = false;
  int start_number = 1;               // SpinEdit1; a text that is no integer counts as 1
  std::string unique_name_row = "0";  // Label5: row last selected, before Edit1
  std::string extension_row = "0";    // Label15: the same, before Edit3
  bool file_arrows_shown = false;     // Button6 and Button7 visible and enabled
  bool serial_enabled = true;         // SpinEdit1 and Label10 enabled
  int path_scroll_factor = 6;         // ListBox2's scrolling width in client widths
  bool folder_numbers = false;        // `Folder_rendo`: the numbers start again in each folder
  std::string add_folder;  // where 追加 and フォルダを追加 open: files last came from here
};

/** The last serial number: start number plus rows minus 1. */
std::string Label10Text(const MainState& state);
/** The same counted as `numbers` count: per folder, the largest folder's rows. */
std::string Label10Text(const MainState& state, const SerialNumbers& numbers);

/** A spin box's value for its text: the integer it holds, or 1. */
int SpinValueOfText(const std::string& text);

}  // namespace zefa
