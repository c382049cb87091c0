// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/name_replace.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/regex.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <optional>

#include "names/check_name_chars.h"
#include "platform/media_dates.h"
#include "text/code_page_convert.h"
#include "text/name_code_points.h"

namespace zefa {
namespace {

// Steps of the matching engine one name may take (each some ten thousand backtracking
// moves), 15 to 35 milliseconds: no sound pattern comes near it on a file name, a pattern
// that backtracks without end is stopped after it, and a window that looks at one name
// between its events still answers within 50 ms.
constexpr int32_t kRowTimeLimit = 60;
// Steps the pattern may take over the whole list. A name that takes whole steps is already
// a pattern that backtracks without end; many of them just under the limit of one name
// would hold a window for many minutes, so the scan ends after a few seconds' worth.
constexpr std::int64_t kScanStepLimit = 2000;

// Full-width ASCII (！ to ～) and the ideographic space; full-width katakana stay.
constexpr const char* kHalfWidthId = "[\\uFF01-\\uFF5E\\u3000] Fullwidth-Halfwidth";
// Half-width katakana and their punctuation; ｶﾞ becomes ガ, one character.
constexpr const char* kFullWidthKanaId = "[\\uFF61-\\uFF9F] Halfwidth-Fullwidth";

icu::UnicodeString FromUtf8(const std::string& text) {
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string RegexErrorText(UErrorCode code) {
  switch (code) {
    case U_REGEX_MISMATCHED_PAREN:
      return "括弧の対応がとれていません";
    case U_REGEX_MISSING_CLOSE_BRACKET:
      return "[ が閉じていません";
    case U_REGEX_BAD_ESCAPE_SEQUENCE:
      return "\\ の後の文字が正しくありません";
    case U_REGEX_RULE_SYNTAX:
      return "繰り返しの記号の前に文字がありません";
    case U_REGEX_BAD_INTERVAL:
    case U_REGEX_MAX_LT_MIN:
    case U_REGEX_NUMBER_TOO_BIG:
      return "{ } の回数指定が正しくありません";
    case U_REGEX_INVALID_RANGE:
      return "文字の範囲が正しくありません";
    case U_REGEX_LOOK_BEHIND_LIMIT:
      return "後読みの長さが決まっていません";
    case U_REGEX_PROPERTY_SYNTAX:
      return "文字の種類の指定が正しくありません";
    case U_REGEX_INVALID_CAPTURE_GROUP_NAME:
      return "グループの名前が正しくありません";
    default:
      break;
  }
  return std::string("正しくありません（") + u_errorName(code) + "）";
}

bool HasAnyIn(const icu::UnicodeString& text, UChar first, UChar last, UChar also = 0) {
  const UChar* units = text.getBuffer();
  for (int32_t i = 0; i < text.length(); ++i) {
    if ((units[i] >= first && units[i] <= last) || (also != 0 && units[i] == also)) return true;
  }
  return false;
}

// Most names are ASCII, whose case changes without the full mapping's tables.
void ChangeCase(icu::UnicodeString& text, CaseChange change) {
  const UChar* units = text.getBuffer();
  const int32_t length = text.length();
  const bool ascii = std::all_of(units, units + length, [](UChar c) { return c < 0x80; });
  if (!ascii) {
    if (change == CaseChange::kUpper) text.toUpper(icu::Locale::getRoot());
    if (change == CaseChange::kLower) text.toLower(icu::Locale::getRoot());
    return;
  }
  const UChar from = change == CaseChange::kUpper ? u'a' : u'A';
  for (int32_t i = 0; i < length; ++i) {
    const UChar c = text.charAt(i);
    if (c >= from && c < from + 26) text.setCharAt(i, static_cast<UChar>(c ^ 0x20));
  }
}

// The groups the replacement names, as ICU reads them: "$" and up to as many digits as
// the largest group number has, or "${name}"; "\" takes the next character as it is.
std::string CheckReplacement(const icu::UnicodeString& replacement,
                             const icu::RegexPattern& pattern) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(pattern.matcher(status));
  if (U_FAILURE(status)) return RegexErrorText(status);
  const int32_t groups = matcher->groupCount();
  const int32_t max_digits = groups >= 10 ? (groups >= 100 ? 3 : 2) : 1;
  const int32_t length = replacement.length();
  for (int32_t i = 0; i < length; ++i) {
    const UChar c = replacement.charAt(i);
    if (c == u'\\') {
      ++i;
      continue;
    }
    if (c != u'$') continue;
    if (i + 1 < length && replacement.charAt(i + 1) == u'{') {
      const int32_t close = replacement.indexOf(u'}', i + 2);
      if (close < 0) return "「${」が閉じていません";
      icu::UnicodeString name = replacement.tempSubStringBetween(i + 2, close);
      UErrorCode name_status = U_ZERO_ERROR;
      pattern.groupNumberFromName(name, name_status);
      std::string utf8;
      if (U_FAILURE(name_status))
        return "「${" + name.toUTF8String(utf8) + "}」というグループがありません";
      i = close;
      continue;
    }
    int32_t number = 0;
    int32_t digits = 0;
    while (digits < max_digits && i + 1 < length && u_isdigit(replacement.charAt(i + 1))) {
      number = number * 10 + u_charDigitValue(replacement.charAt(i + 1));
      ++digits;
      ++i;
    }
    if (digits == 0) return "「$」の後には番号か {名前} を書いてください（$ そのものは \\$）";
    if (number > groups) return "「$" + std::to_string(number) + "」に当たるグループがありません";
  }
  return {};
}

// In a plain search the replacement is plain text too.
icu::UnicodeString QuotedReplacement(const icu::UnicodeString& text) {
  icu::UnicodeString quoted;
  for (int32_t i = 0; i < text.length(); ++i) {
    const UChar c = text.charAt(i);
    if (c == u'\\' || c == u'$') quoted.append(u'\\');
    quoted.append(c);
  }
  return quoted;
}

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsWideDigit(char16_t c) { return c >= 0xFF10 && c <= 0xFF19; }

// Every run of digits (full-width too) written as its number plus `shift`, with at least
// `digits` digits; a run that is no number we can count, or would fall below 0, stays.
void PadNumbers(icu::UnicodeString& text, int digits, long long shift) {
  // The longest run of digits that is still read as a number; a longer one stays as it is.
  constexpr int32_t kLongestNumber = 17;
  icu::UnicodeString out;
  const int32_t length = text.length();
  bool changed = false;
  int32_t i = 0;
  while (i < length) {
    const char16_t c = text.charAt(i);
    if (!IsAsciiDigit(c) && !IsWideDigit(c)) {
      out.append(c);
      ++i;
      continue;
    }
    const int32_t start = i;
    long long value = 0;
    while (i < length && (IsAsciiDigit(text.charAt(i)) || IsWideDigit(text.charAt(i)))) {
      const char16_t d = text.charAt(i);
      if (i - start < kLongestNumber) value = value * 10 + (IsWideDigit(d) ? d - 0xFF10 : d - u'0');
      ++i;
    }
    const long long shifted = value + shift;
    if (i - start > kLongestNumber || shifted < 0) {
      out.append(text, start, i - start);
      continue;
    }
    std::string number = std::to_string(shifted);
    if (static_cast<int>(number.size()) < digits) number.insert(0, digits - number.size(), '0');
    // A number written in full-width digits keeps them.
    const char16_t zero = IsWideDigit(c) ? char16_t{0xFF10} : u'0';
    for (const char n : number) out.append(static_cast<char16_t>(zero + (n - '0')));
    changed = true;
  }
  if (changed) text = out;
}

}  // namespace

struct NameReplacer::Engine {
  std::unique_ptr<icu::RegexPattern> pattern;
  std::unique_ptr<icu::RegexMatcher> matcher;
  icu::UnicodeString replacement;
  std::unique_ptr<icu::Transliterator> half_width;
  std::unique_ptr<icu::Transliterator> full_width_kana;
  CaseChange case_change = CaseChange::kNone;
  const icu::Normalizer2* nfc = nullptr;
  bool regex = false;
  int pad_digits = 0;  // 0: the numbers in the names stay as they are
  long long number_shift = 0;
  std::int64_t steps_spent = 0;
  const std::atomic<bool>* stop = nullptr;

  // ICU calls this at each step of a match; the count runs on over every name.
  static UBool CountStep(const void* context, int32_t /*steps*/) {
    auto* engine = static_cast<Engine*>(const_cast<void*>(context));
    if (engine->stop != nullptr && engine->stop->load(std::memory_order_relaxed)) return false;
    return ++engine->steps_spent < kScanStepLimit;
  }
};

NameReplacer::NameReplacer(const ReplaceRule& rule, CodePage code_page)
    : engine_(std::make_unique<Engine>()), code_page_(code_page) {
  Engine& engine = *engine_;
  engine.regex = rule.regex;
  // Only names carry numbers to put in line; an extension's digits are part of its type.
  if (rule.target == ReplaceTarget::kUniqueName && rule.pad_digits > 0) {
    engine.pad_digits = std::min(rule.pad_digits, kMaxPadDigits);
    engine.number_shift = rule.number_shift;
  }
  if (!rule.search.empty()) {
    uint32_t flags = rule.regex ? 0 : UREGEX_LITERAL;
    if (!rule.match_case) flags |= UREGEX_CASE_INSENSITIVE;
    UParseError where{};
    UErrorCode status = U_ZERO_ERROR;
    engine.pattern.reset(icu::RegexPattern::compile(FromUtf8(rule.search), flags, where, status));
    if (U_FAILURE(status)) {
      error_field_ = RuleField::kSearch;
      error_ = "正規表現の誤り";
      if (where.offset >= 0) error_ += "（" + std::to_string(where.offset + 1) + " 文字目）";
      error_ += "：" + RegexErrorText(status);
      return;
    }
    const icu::UnicodeString replacement = FromUtf8(rule.replacement);
    if (rule.regex) {
      error_ = CheckReplacement(replacement, *engine.pattern);
      if (!error_.empty()) {
        error_field_ = RuleField::kReplacement;
        return;
      }
      engine.replacement = replacement;
    } else {
      engine.replacement = QuotedReplacement(replacement);
    }
    engine.matcher.reset(engine.pattern->matcher(status));
    if (U_SUCCESS(status)) engine.matcher->setTimeLimit(kRowTimeLimit, status);
    if (U_SUCCESS(status)) engine.matcher->setMatchCallback(&Engine::CountStep, &engine, status);
    if (U_FAILURE(status)) {
      error_field_ = RuleField::kSearch;
      error_ = RegexErrorText(status);
      return;
    }
  }
  const auto transliterator = [&](const char* id) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(
        icu::UnicodeString(id, -1, US_INV), UTRANS_FORWARD, status));
    if (U_FAILURE(status)) {
      error_field_ = RuleField::kSearch;
      error_ = std::string("変換を用意できません（") + u_errorName(status) + "）";
      return std::unique_ptr<icu::Transliterator>();
    }
    return made;
  };
  if (rule.to_half_width) engine.half_width = transliterator(kHalfWidthId);
  if (rule.to_full_width_kana) engine.full_width_kana = transliterator(kFullWidthKanaId);
  engine.case_change = rule.case_change;
  if (rule.compose) {
    UErrorCode status = U_ZERO_ERROR;
    engine.nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) engine.nfc = nullptr;
  }
}

NameReplacer::~NameReplacer() = default;

std::int64_t NameReplacer::steps_spent() const { return engine_->steps_spent; }

void NameReplacer::StopOn(const std::atomic<bool>* stop) { engine_->stop = stop; }

NameReplacer::Outcome NameReplacer::Apply(std::string_view name, std::string& out) {
  if (error_field_ != RuleField::kNone) return Outcome::kFailed;
  Engine& engine = *engine_;
  const std::u16string code_units = DecodeName(name, code_page_);
  // Views of the decoded name: a copy is made only by a step that changes it.
  const icu::UnicodeString original(false, code_units.data(),
                                    static_cast<int32_t>(code_units.size()));
  icu::UnicodeString text;
  text.fastCopyFrom(original);
  if (engine.matcher) {
    UErrorCode status = U_ZERO_ERROR;
    engine.matcher->reset(original);
    icu::UnicodeString replaced;
    bool found = false;
    // find() one match at a time, not replaceAll(): replaceAll ends quietly at the time
    // limit and would hand back half a name as if it were the whole.
    while (engine.matcher->find(status)) {
      found = true;
      engine.matcher->appendReplacement(replaced, engine.replacement, status);
      if (U_FAILURE(status)) break;
    }
    if (status == U_REGEX_STOPPED_BY_CALLER) return Outcome::kTooCostly;
    if (status == U_REGEX_TIME_OUT || status == U_REGEX_STACK_OVERFLOW) return Outcome::kTimedOut;
    if (U_FAILURE(status)) return Outcome::kFailed;
    if (found) {
      engine.matcher->appendTail(replaced);
      text = replaced;
    }
  }
  if (engine.half_width && HasAnyIn(text, 0xFF01, 0xFF5E, 0x3000)) {
    engine.half_width->transliterate(text);
  }
  if (engine.full_width_kana && HasAnyIn(text, 0xFF61, 0xFF9F)) {
    engine.full_width_kana->transliterate(text);
  }
  if (engine.case_change != CaseChange::kNone) ChangeCase(text, engine.case_change);
  if (engine.nfc != nullptr) {
    UErrorCode status = U_ZERO_ERROR;
    if (!engine.nfc->isNormalized(text, status) && U_SUCCESS(status)) {
      text = engine.nfc->normalize(text, status);
      if (U_FAILURE(status)) return Outcome::kFailed;
    }
  }
  if (engine.pad_digits > 0) PadNumbers(text, engine.pad_digits, engine.number_shift);
  if (text == original) return Outcome::kUnchanged;
  std::optional<std::string> bytes = EncodeName(
      std::u16string_view(text.getBuffer(), static_cast<std::size_t>(text.length())), code_page_);
  if (!bytes) return Outcome::kUnwritable;
  if (*bytes == name) return Outcome::kUnchanged;
  out = std::move(*bytes);
  return Outcome::kChanged;
}

void NameReplacer::SetReplacement(std::string_view replacement) {
  Engine& engine = *engine_;
  if (!engine.matcher) return;
  const icu::UnicodeString text = FromUtf8(std::string(replacement));
  engine.replacement = engine.regex ? text : QuotedReplacement(text);
}

ReplaceScan::ReplaceScan(const RenameList& list, const ReplaceRule& rule, const TextRules& rules,
                         TokenSources sources)
    : list_(list),
      rule_(rule),
      rules_(rules),
      replacer_(rule, rules.code_page),
      sources_(std::move(sources)) {
  if (!rule.search.empty() && rule.replacement.find('{') != std::string::npos) {
    NameTemplate replacement = ParseNameTemplate(rule.replacement, CodePage::kUtf8);
    if (replacement.HasTokens()) replacement_ = std::move(replacement);
  }
}

std::string ReplaceScan::ReplacementOf(int row) const {
  const std::string& path = list_.path.entries[static_cast<std::size_t>(row)];
  const unsigned kinds = sources_.media != nullptr ? replacement_->FactKinds() : 0;
  const FileFacts facts = kinds != 0 ? sources_.media->ReadFacts(path, kinds) : FileFacts{};
  std::string text;
  for (const NameTemplate::Piece& piece : replacement_->pieces) {
    if (!piece.is_token) {
      text += piece.text;
      continue;
    }
    NameTemplate one;
    one.pieces.push_back(piece);
    const std::string value = ExpandTemplate(one, path, facts, sources_, rules_);
    // The replacement is UTF-8, as typed; a value from a file is plain text in it.
    const std::string utf8 =
        rules_.code_page == CodePage::kShiftJis ? ShiftJisToUtf8(value) : value;
    for (const char c : utf8) {
      if (rule_.regex && (c == '$' || c == '\\')) text += '\\';
      text += c;
    }
  }
  return text;
}

const ListColumn& ReplaceScan::Column() const {
  return rule_.target == ReplaceTarget::kExtension ? list_.extension : list_.unique;
}

const std::string& ReplaceScan::OldText(int row) const {
  return Column().entries[static_cast<std::size_t>(row)];
}

RuleField ReplaceScan::error_field() const {
  return Broken() ? replacer_.error_field() : refusal_field_;
}

std::string ReplaceScan::error() const { return Broken() ? replacer_.error() : refusal_; }

bool ReplaceScan::LookAtNext(std::string& out) {
  const auto refuse = [&](RuleField field, const std::string& why) {
    refusal_field_ = field;
    refusal_ = std::to_string(next_ + 1) + " 行目" + why;
    return false;
  };
  if (replacement_) replacer_.SetReplacement(ReplacementOf(next_));
  switch (replacer_.Apply(OldText(next_), out)) {
    case NameReplacer::Outcome::kUnchanged:
      ++next_;
      return true;
    case NameReplacer::Outcome::kTimedOut:
      return refuse(RuleField::kSearch, "で検索に時間がかかりすぎるため、中止しました");
    case NameReplacer::Outcome::kTooCostly:
      return refuse(RuleField::kSearch,
                    "まで調べたところで、検索にかかる時間が全体の上限を超えたため中止しました");
    case NameReplacer::Outcome::kUnwritable:
      return refuse(RuleField::kReplacement, "：この文字コードで表せない文字になります");
    case NameReplacer::Outcome::kFailed:
      return refuse(RuleField::kReplacement, "：置換できませんでした");
    case NameReplacer::Outcome::kChanged:
      break;
  }
  // The new text must keep the file in its folder and be a name at all.
  if (out.find('\0') != std::string::npos) {
    return refuse(RuleField::kReplacement, "：置換後の名前に NUL 文字が含まれています");
  }
  if (const char separator = FirstSeparatorChar(out, rules_)) {
    return refuse(RuleField::kReplacement,
                  std::string("：置換後の名前に使えない文字\"") + separator + "\"が含まれています");
  }
  changed_rows_.push_back(next_);
  new_texts_.push_back(std::move(out));
  out.clear();
  ++next_;
  return true;
}

bool ReplaceScan::Step(int rows) {
  if (finished()) return false;
  const int end = std::min(RowCount(list_), next_ + std::max(rows, 1));
  std::string out;
  while (next_ < end) {
    if (!LookAtNext(out)) return false;
  }
  return !finished();
}

bool ReplaceScan::StepUntil(std::chrono::steady_clock::time_point deadline) {
  if (finished()) return false;
  const int rows = RowCount(list_);
  std::string out;
  do {
    if (!LookAtNext(out)) return false;
  } while (next_ < rows && std::chrono::steady_clock::now() < deadline);
  return !finished();
}

void ReplaceScan::ApplyTo(RenameList& list) const {
  if (!CanApply()) return;
  ListColumn& column = rule_.target == ReplaceTarget::kExtension ? list.extension : list.unique;
  for (std::size_t i = 0; i < changed_rows_.size(); ++i) {
    column.entries[static_cast<std::size_t>(changed_rows_[i])] = new_texts_[i];
  }
}

}  // namespace zefa
