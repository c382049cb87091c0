// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "change/row_change.h"

#include <algorithm>
#include <cstring>

namespace zefa {

std::string_view PathStore::Keep(std::string_view text) {
  if (text.empty()) return {};
  if (kBlockBytes - used_ < text.size()) {
    // A text longer than a block (no path is) gets a block of its own.
    blocks_.push_back(std::make_unique<char[]>(std::max(kBlockBytes, text.size())));
    used_ = 0;
  }
  char* at = blocks_.back().get() + used_;
  std::memcpy(at, text.data(), text.size());
  used_ += text.size();
  return {at, text.size()};
}

std::string UnusableCharText(std::string_view where, char found) {
  return std::string(where) + "に使えない文字\"" + found + "\"が含まれています";
}

std::string ReasonText(const RowChange& change) {
  const bool back = change.step == ChangeStep::kBack;
  const std::string other = std::to_string(change.other_row + 1);
  switch (change.reason) {
    case ChangeReason::kNone:
      break;
    case ChangeReason::kFileMissing:
      return "ファイルが見つかりません";
    case ChangeReason::kNotAFile:
      return "ファイルではないものに変わっています";
    case ChangeReason::kNoUniqueName:
      return "固有ファイル名がありません";
    case ChangeReason::kSeparatorInBracket:
      return UnusableCharText("数字を囲む文字列", change.found);
    case ChangeReason::kSeparatorInUnique:
      return UnusableCharText("固有ファイル名", change.found);
    case ChangeReason::kSeparatorInExtension:
      return UnusableCharText("拡張子", change.found);
    case ChangeReason::kNameTaken:
      return "同名のファイルがあります";
    case ChangeReason::kHeldByListedFile:
      return other + " 行目のファイルがまだこの名前を使っています";
    case ChangeReason::kSameNewPath:
      return other + " 行目と同じ名前になります";
    case ChangeReason::kNameTooLong:
      return "名前が長すぎます";
    case ChangeReason::kNameRefused:
      return "この名前は付けられません";
    case ChangeReason::kSourceGone:
      return "このファイルは " + other + " 行目ですでにリネームされます";
    case ChangeReason::kTargetExists:
      return back ? "元の名前のファイルがあります" : "同名のファイルがあります";
    case ChangeReason::kSourceMissing:
      return back ? "見つかりません" : "ファイルが見つかりません";
    case ChangeReason::kRenameRefused:
      return "名前を変更できません";
    case ChangeReason::kReplaced:
      return "別のファイルに置き換えられています";
    case ChangeReason::kNoFile:
      return "ファイルではありません";
    case ChangeReason::kNoIdentity:
      return "識別情報が記録されていません";
  }
  return {};
}

std::string FailureList(std::string_view head, const std::vector<std::string>& lines,
                        std::size_t total) {
  if (total == 0) return {};
  std::string report(head);
  const std::size_t named = std::min({lines.size(), total, kReportedFailures});
  for (std::size_t i = 0; i < named; ++i) {
    report += kLineBreak;
    report += lines[i];
  }
  if (total > named) {
    report += kLineBreak;
    report += "他" + std::to_string(total - named) + "個";
  }
  return report;
}

}  // namespace zefa
