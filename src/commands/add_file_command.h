// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "commands/context.h"
#include "commands/main_state.h"

namespace zefa {

inline constexpr const char* kOwnProgramMessage = "このソフトを登録することはできません。";
inline constexpr const char* kNotAFileMessage = "フォルダでなくファイルを指定してください";
inline constexpr const char* kAlreadyListedMessage =
    "既に追加されているファイルです。一つのファイルを二重登録することはできません。\n\r";

/**
 * Appends the file at `path` as a new row (FileAdder), or tells the user why not: the
 * program itself, no file there (a folder is no file), or a file already listed.
 */
void AddFile(MainState& state, const Context& context, const std::string& path);

/**
 * Files dropped on the window, or named on the command line: each is added in the order
 * given, paths taken whole as bytes. A folder adds the files in it and below it, folder by
 * folder (ForEachFileInFolder), leaving out the program's restore folder. A single file
 * refused shows AddFile's box; of several, or of a folder, the refused ones are shown in at
 * most one box per reason (the program itself, not a file, already listed), each naming its
 * paths as the run's failure report does. A progress window lets the user stop between
 * two files; the files added until then stay.
 */
void DropFiles(MainState& state, const Context& context, const std::vector<std::string>& paths);

/**
 * A drop as the desktop hands it over: the bytes of a text/uri-list (ParseUriList). An
 * entry that is no file of this machine is refused as not a file.
 */
void DropUriList(MainState& state, const Context& context, std::string_view uri_list);

/** Command-line arguments as paths: bytes as given, relative ones under `current_folder`. */
std::vector<std::string> ArgumentPaths(const std::vector<std::string>& arguments,
                                       std::string_view current_folder);

/**
 * "追加": the file-open dialog, no filter; the files chosen are added in the dialog's order
 * as a drop adds them. Cancelling does nothing.
 */
void Button4Click(MainState& state, const Context& context);

/** "フォルダを追加…": the folder dialog; the folder chosen is added as a dropped one. */
void AddFolder1Click(MainState& state, const Context& context);

}  // namespace zefa
