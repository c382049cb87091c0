// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <string_view>

#include "controls.h"

/**
 * The main window's controls in its client area of 387 × 454, as it opens, in the order they are
 * made and, labels left out, the order Tab moves through them. The window places each from here,
 * and its test checks the window's widgets against it. A number label's caption is what it shows on
 * opening; it takes the width its number needs.
 */
inline constexpr FormControl kMainWindowControls[] = {
    {"Label1", {8, 8, 12, 12}, "数"},
    {"Label2", {48, 8, 65, 12}, "対象ファイル"},
    {"Label3", {176, 8, 77, 12}, "固有ファイル名"},
    {"Label4", {312, 8, 36, 12}, "拡張子"},
    {"ListBox1", {8, 24, 41, 177}, nullptr},
    {"ListBox2", {48, 24, 129, 177}, nullptr},
    {"ListBox3", {176, 24, 137, 177}, nullptr},
    {"ListBox4", {312, 24, 65, 177}, nullptr},
    {"Button6", {60, 208, 25, 25}, "↑"},
    {"Button7", {86, 208, 25, 25}, "↓"},
    {"Button4", {112, 208, 33, 25}, "追加"},
    {"Button5", {146, 208, 33, 25}, "除外"},
    {"Button8", {262, 208, 25, 25}, "↑"},
    {"Button9", {288, 208, 25, 25}, "↓"},
    {"Button10", {336, 208, 43, 25}, "クリア"},
    {"Label5", {20, 248, 6, 12}, "0"},
    {"Label6", {32, 248, 123, 12}, "番のファイルの固有名 ："},
    {"Edit1", {176, 240, 129, 20}, ""},
    {"Label7", {312, 248, 11, 12}, "に"},
    {"Button1", {336, 240, 43, 20}, "変更"},
    {"Label15", {20, 280, 6, 12}, "0"},
    {"Label14", {32, 280, 123, 12}, "番のファイルの拡張子 ："},
    {"Edit3", {176, 272, 129, 20}, ""},
    {"Label9", {312, 280, 11, 12}, "に"},
    {"Button14", {336, 272, 43, 20}, "変更"},
    {"Label8", {68, 312, 87, 12}, "共通ファイル名 ："},
    {"Edit2", {176, 304, 129, 20}, ""},
    {"Label13", {120, 344, 34, 12}, "連番 ："},
    {"SpinEdit1", {176, 336, 41, 21}, "1"},
    {"Label12", {224, 344, 22, 12}, "から"},
    {"Label10", {268, 344, 6, 12}, "0"},
    {"Label11", {280, 344, 22, 12}, "まで"},
    {"Button3", {104, 376, 81, 25}, "設定"},
    {"Button11", {200, 376, 81, 25}, "ソート"},
    {"Button12", {296, 376, 81, 25}, "プレビュー"},
    {"Button15", {200, 416, 81, 25}, "一括置換"},
    {"Button2", {296, 416, 81, 25}, "リネーム開始"},
};

/** The main window's control of that name; a name not in the table does not compile. */
consteval const FormControl& MainWindowControl(std::string_view name) {
  for (const FormControl& control : kMainWindowControls) {
    if (name == control.name) return control;
  }
  throw "no control of that name";
}
