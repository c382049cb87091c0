// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "run/preview.h"

#include "list/date_order.h"
#include "run/run_checks.h"

namespace zefa {

Preview::Preview(ChangePlan plan, TextRules rules, int digits)
    : plan_(std::move(plan)), rules_(rules) {
  for (const RowChange& change : plan_.changes) {
    if (change.status != ChangeStatus::kRefused) continue;
    refused_ = true;
    file_gone_ = file_gone_ || IsFileGone(change.reason);
  }
  if (digits > 0) {
    if (const std::optional<int> widest = NumberWiderThanDigits(plan_.changes, digits)) {
      too_wide_ = true;
      widest_number_ = *widest;
    }
  }
}

std::string_view Preview::Before(int row, bool full_path) const {
  const std::string_view path = Change(row).old_path();
  return full_path ? path : FileNamePart(path, rules_);
}

std::string_view Preview::After(int row) const {
  return FileNamePart(Change(row).new_path(), rules_);
}

bool Preview::WillFail(int row) const { return Change(row).Fails(); }

std::string Preview::FailureReasonText(int row) const { return ReasonText(Change(row)); }

std::string Preview::FailureCountText() const {
  if (plan_.failing == 0) return {};
  std::string text = "リネームできないファイル: " + std::to_string(plan_.failing) + " 個";
  if (file_gone_) {
    text += "\n\r見つからないファイルがあるため、リネームを開始できません";
  } else if (refused_) {
    text += "\n\r使えない名前があるため、リネームを開始できません";
  }
  return text;
}

std::string Preview::DigitsText() const {
  if (!too_wide_) return {};
  return "連番が桁数を超えます\n\r（" + std::to_string(widest_number_) + " は " +
         std::to_string(DecimalWidth(widest_number_)) + " 桁）";
}

void Preview::SetDates(std::vector<std::int64_t> dates, DateKind kind) {
  dates_ = std::move(dates);
  date_kind_ = kind;
}

std::string Preview::DateText(int row) const {
  const auto at = static_cast<std::size_t>(row);
  return at < dates_.size() ? DateLine(dates_[at], date_kind_) : std::string();
}

}  // namespace zefa
