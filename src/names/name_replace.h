// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "list/rename_list.h"
#include "text/text_rules.h"

namespace zefa {

enum class ReplaceTarget { kUniqueName, kExtension };
enum class CaseChange { kNone, kUpper, kLower };

/** What the find-and-replace window asks for; the texts are UTF-8 as typed. */
struct ReplaceRule {
  std::string search;
  std::string replacement;
  bool regex = false;       // ICU regular expression; the replacement may name groups ($1)
  bool match_case = false;  // 大文字と小文字を区別する
  ReplaceTarget target = ReplaceTarget::kUniqueName;
  bool to_half_width = false;       // full-width letters, digits and symbols to ASCII
  bool to_full_width_kana = false;  // half-width katakana to full width, voiced marks joined
  CaseChange case_change = CaseChange::kNone;
  bool compose = false;  // NFC: a voiced mark written apart joins its kana

  friend bool operator==(const ReplaceRule&, const ReplaceRule&) = default;
};

/** Which field a rule that cannot be used is wrong in. */
enum class RuleField { kNone, kSearch, kReplacement };

/**
 * A rule made ready for many names: its pattern compiled once. The search runs first,
 * then the conversions in the order of the window: width, kana, case, composition.
 */
class NameReplacer {
 public:
  /** Why a name did not get a new text. */
  enum class Outcome {
    kUnchanged,
    kChanged,
    kTimedOut,    // the pattern ran past its time limit on this name
    kUnwritable,  // the result holds a character that the code page has no bytes for
    kFailed,      // any other refusal of the regular-expression engine
  };

  NameReplacer(const ReplaceRule& rule, CodePage code_page);
  ~NameReplacer();
  NameReplacer(const NameReplacer&) = delete;
  NameReplacer& operator=(const NameReplacer&) = delete;

  /** Where the rule is wrong (kNone when it can be used) and why, in words for the user. */
  RuleField error_field() const { return error_field_; }
  const std::string& error() const { return error_; }

  /** `name` with the rule applied, in `out`; `out` is left alone unless kChanged. */
  Outcome Apply(std::string_view name, std::string& out);

 private:
  struct Engine;
  std::unique_ptr<Engine> engine_;
  CodePage code_page_;
  RuleField error_field_ = RuleField::kNone;
  std::string error_;
};

/**
 * A rule run over a list's column a piece at a time, so that a window stays responsive
 * over a million rows. The first row that cannot be given its new text ends the scan
 * and is named in `refusal()`.
 */
class ReplaceScan {
 public:
  ReplaceScan(const RenameList& list, const ReplaceRule& rule, const TextRules& rules);

  /** Looks at up to `rows` more rows; false once the scan has ended. */
  bool Step(int rows);
  /** Looks at every row left. */
  void Finish() {
    while (Step(1 << 16)) {
    }
  }
  bool finished() const { return next_ >= RowCount(list_) || !refusal_.empty() || Broken(); }
  /** The rule itself cannot be used (see NameReplacer). */
  bool Broken() const { return replacer_.error_field() != RuleField::kNone; }
  RuleField error_field() const;
  /** The rule's error, or the row that stopped the scan; "" while all is well. */
  std::string error() const;

  int rows_looked_at() const { return next_; }
  /** The rows whose text changes so far, rising, and their new texts. */
  const std::vector<int>& changed_rows() const { return changed_rows_; }
  const std::vector<std::string>& new_texts() const { return new_texts_; }
  /** The text of `row` in the column the rule works on. */
  const std::string& OldText(int row) const;

  /** Whether the whole list was looked at and nothing stopped the scan. */
  bool CanApply() const { return finished() && error().empty(); }
  /** Writes the new texts into the column (only when CanApply). */
  void ApplyTo(RenameList& list) const;

 private:
  const ListColumn& Column() const;

  const RenameList& list_;
  ReplaceRule rule_;
  TextRules rules_;
  NameReplacer replacer_;
  int next_ = 0;
  std::vector<int> changed_rows_;
  std::vector<std::string> new_texts_;
  RuleField refusal_field_ = RuleField::kNone;
  std::string refusal_;
};

}  // namespace zefa
