// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "commands/context.h"
#include "commands/main_state.h"
#include "list/rename_list.h"

namespace zefa {

class MediaDates;

inline constexpr const char* kTakenOrderQuestion =
    "本当にソートしますか？\n\r※撮影日時順に並べ替えます。固有ファイル名も初期化されます。";
inline constexpr const char* kModifiedOrderQuestion =
    "本当にソートしますか？\n\r※更新日時順に並べ替えます。固有ファイル名も初期化されます。";
inline constexpr const char* kTakenProgressText = "撮影日時を読み込んでいます";
inline constexpr const char* kModifiedProgressText = "更新日時を読み込んでいます";

/**
 * "撮影日時順" and "更新日時順": after the warning beep and a Yes, reads every file's date
 * of `kind` (with the progress window once it takes a while) and orders the list by it as
 * the sort by name does; a stop of the reading changes nothing.
 */
void SortByDateClick(MainState& state, const Context& context, MediaDates& media, DateKind kind);

/**
 * "固有ファイル名を撮影日時にする": each row whose file records a date taken gets it as its
 * unique name, in the settings' `Date_format`; the others keep theirs.
 */
void NameByDateClick(MainState& state, const Context& context, MediaDates& media);

/** The same in `format` instead of the settings' one. */
void NameByDate(MainState& state, const Context& context, MediaDates& media,
                const std::string& format);

}  // namespace zefa
