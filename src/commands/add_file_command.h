// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
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
 * Files dropped on the window: each is added in the order given, each refusal shows its
 * own box and the rest still follow. Paths are taken whole.
 */
void DropFiles(MainState& state, const Context& context, const std::vector<std::string>& paths);

/** "追加": the file-open dialog for one file, no filter; cancelling does nothing. */
void Button4Click(MainState& state, const Context& context);

}  // namespace zefa
