// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/name_tokens.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "list/date_order.h"
#include "platform/media_dates.h"
#include "text/code_page_convert.h"

namespace zefa {
namespace {

struct TokenName {
  std::string_view name;  // UTF-8
  TokenKind kind;
  unsigned facts;  // the FactKind bits it is filled from
};

constexpr TokenName kTokenNames[] = {
    {"フォルダ名", TokenKind::kFolder, 0},
    {"親フォルダ名", TokenKind::kParentFolder, 0},
    {"撮影日時", TokenKind::kTaken, kFactTaken},
    {"更新日時", TokenKind::kModified, kFactModified},
    {"機種", TokenKind::kModel, kFactCamera},
    {"メーカー", TokenKind::kMake, kFactCamera},
    {"幅", TokenKind::kWidth, kFactCamera},
    {"高さ", TokenKind::kHeight, kFactCamera},
    {"アーティスト", TokenKind::kArtist, kFactMusic},
    {"アルバム", TokenKind::kAlbum, kFactMusic},
    {"タイトル", TokenKind::kTitle, kFactMusic},
    {"トラック", TokenKind::kTrack, kFactMusic},
};

const TokenName* FindToken(std::string_view name, CodePage code_page) {
  const std::string utf8 =
      code_page == CodePage::kShiftJis ? ShiftJisToUtf8(name) : std::string(name);
  for (const TokenName& token : kTokenNames) {
    if (token.name == utf8) return &token;
  }
  return nullptr;
}

// The last folder of `folder` ("/a/b/" gives "b"), and in `rest` what stands before it.
std::string_view LastFolder(std::string_view folder, const TextRules& rules,
                            std::string_view* rest = nullptr) {
  if (folder.empty()) return {};
  // The folder part ends in its separator: one byte in either path style.
  const std::string_view bare = folder.substr(0, folder.size() - 1);
  const std::size_t start = FileNameStart(bare, rules);
  if (rest != nullptr) *rest = bare.substr(0, start);
  return bare.substr(start);
}

// A file's text as a name may hold it: in the code page, its control characters (a line
// break in a tag) turned into blanks.
std::string FromFile(std::string_view utf8, CodePage code_page) {
  std::string text(utf8);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return code_page == CodePage::kShiftJis ? Utf8ToShiftJis(text) : text;
}

std::string Padded(unsigned number, std::string_view format) {
  std::string text = std::to_string(number);
  int width = 0;
  for (const char c : format) {
    if (c < '0' || c > '9') return text;
    width = std::min(9, width * 10 + (c - '0'));
  }
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

// The token's text for one file; empty when the file has nothing for it.
std::string TokenText(const NameTemplate::Piece& token, std::string_view path,
                      const FileFacts& facts, const TokenSources& sources, const TextRules& rules) {
  const std::string_view format = token.format.empty() ? sources.date_format : token.format;
  switch (token.kind) {
    case TokenKind::kFolder:
      return std::string(LastFolder(FolderPart(path, rules), rules));
    case TokenKind::kParentFolder: {
      std::string_view rest;
      LastFolder(FolderPart(path, rules), rules, &rest);
      return std::string(LastFolder(rest, rules));
    }
    case TokenKind::kTaken: {
      const std::int64_t date = DateTakenOf(facts.recorded);
      if (date == kNoDate) return {};
      return FromFile(FormatDate(CivilOfTaken(date), format), rules.code_page);
    }
    case TokenKind::kModified:
      if (!facts.modified) return {};
      return FromFile(FormatDate(CivilOfModified(*facts.modified), format), rules.code_page);
    case TokenKind::kModel:
      return FromFile(facts.model, rules.code_page);
    case TokenKind::kMake:
      return FromFile(facts.make, rules.code_page);
    case TokenKind::kWidth:
      return facts.width > 0 ? std::to_string(facts.width) : std::string();
    case TokenKind::kHeight:
      return facts.height > 0 ? std::to_string(facts.height) : std::string();
    case TokenKind::kArtist:
      return FromFile(facts.artist, rules.code_page);
    case TokenKind::kAlbum:
      return FromFile(facts.album, rules.code_page);
    case TokenKind::kTitle:
      return FromFile(facts.title, rules.code_page);
    case TokenKind::kTrack:
      return facts.track > 0 ? Padded(facts.track, token.format) : std::string();
  }
  return {};
}

}  // namespace

bool NameTemplate::HasTokens() const {
  return std::any_of(pieces.begin(), pieces.end(), [](const Piece& p) { return p.is_token; });
}

unsigned NameTemplate::FactKinds() const {
  unsigned kinds = 0;
  for (const Piece& piece : pieces) {
    if (piece.is_token) kinds |= kTokenNames[static_cast<std::size_t>(piece.kind)].facts;
  }
  return kinds;
}

std::string NameTemplate::LiteralText() const {
  std::string text;
  for (const Piece& piece : pieces) {
    if (!piece.is_token) text += piece.text;
  }
  return text;
}

NameTemplate ParseNameTemplate(std::string_view text, CodePage code_page) {
  NameTemplate result;
  std::string literal;
  const auto flush = [&] {
    if (literal.empty()) return;
    result.pieces.push_back({std::move(literal), false, TokenKind::kFolder, {}});
    literal.clear();
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t length = CharLength(text, i, code_page);
    const char c = text[i];
    if (length == 1 && (c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
      literal += c;
      i += 2;
      continue;
    }
    if (length == 1 && c == '{') {
      // The token ends at the first "}" that is a character of its own.
      const std::size_t close = FindText(text, "}", code_page, i + 1);
      if (close != kNotFound) {
        const std::string_view inside = text.substr(i + 1, close - i - 1);
        const std::size_t colon = FindText(inside, ":", code_page);
        const std::string_view name = inside.substr(0, colon);
        const std::string_view typed = text.substr(i, close - i + 1);
        if (const TokenName* token = FindToken(name, code_page)) {
          flush();
          NameTemplate::Piece piece{std::string(typed), true, token->kind, {}};
          if (colon != kNotFound) piece.format = std::string(inside.substr(colon + 1));
          result.pieces.push_back(std::move(piece));
        } else {
          literal += typed;
          if (std::find(result.unknown.begin(), result.unknown.end(), typed) ==
              result.unknown.end()) {
            result.unknown.emplace_back(typed);
          }
        }
        i = close + 1;
        continue;
      }
    }
    literal.append(text.substr(i, length));
    i += length;
  }
  flush();
  return result;
}

std::string UnknownTokensText(std::string_view common_name, CodePage code_page) {
  if (common_name.find('{') == std::string_view::npos) return {};
  const NameTemplate name = ParseNameTemplate(common_name, code_page);
  if (name.unknown.empty()) return {};
  std::string text;
  for (const std::string& typed : name.unknown) {
    text += "「" + (code_page == CodePage::kShiftJis ? ShiftJisToUtf8(typed) : typed) + "」";
  }
  return text + "は使える項目ではありません（そのまま名前になります）";
}

std::string CommonNames::LackingText(int row) const {
  const auto at = static_cast<std::size_t>(row);
  if (at >= lacking_.size() || lacking_[at] == 0) return {};
  std::string text;
  for (const TokenKind kind : typed_order_) {
    const auto bit = static_cast<unsigned>(kind);
    if ((lacking_[at] & (1u << bit)) != 0) text += "「" + typed_[bit] + "」";
  }
  return text + "にあたる情報がないため、空にしました";
}

std::string ExpandTemplate(const NameTemplate& name, std::string_view path, const FileFacts& facts,
                           const TokenSources& sources, const TextRules& rules,
                           std::uint16_t* lacking) {
  std::string text;
  for (const NameTemplate::Piece& piece : name.pieces) {
    if (!piece.is_token) {
      text += piece.text;
      continue;
    }
    const std::string value = TokenText(piece, path, facts, sources, rules);
    if (value.empty() && lacking != nullptr) {
      *lacking = static_cast<std::uint16_t>(*lacking | (1u << static_cast<unsigned>(piece.kind)));
    }
    text += value;
  }
  return text;
}

std::optional<CommonNames> ExpandCommonNames(const RenameList& list, std::string_view common_name,
                                             const TokenSources& sources, const TextRules& rules,
                                             const KeepGoing& keep_going) {
  // A name without a brace is the common name of every row as it stands.
  if (common_name.find_first_of("{}") == std::string_view::npos) {
    return CommonNames(std::string(common_name));
  }
  const NameTemplate name = ParseNameTemplate(common_name, rules.code_page);
  if (!name.HasTokens()) return CommonNames(name.LiteralText());

  CommonNames names;
  names.per_row_ = true;
  for (const NameTemplate::Piece& piece : name.pieces) {
    if (!piece.is_token) continue;
    std::string& typed = names.typed_[static_cast<std::size_t>(piece.kind)];
    if (typed.empty()) {
      typed = rules.code_page == CodePage::kShiftJis ? ShiftJisToUtf8(piece.text) : piece.text;
      names.typed_order_.push_back(piece.kind);
    }
  }
  const std::vector<std::string>& paths = list.path.entries;
  names.rows_.resize(paths.size());
  names.lacking_.assign(paths.size(), 0);
  const unsigned kinds = sources.media != nullptr ? name.FactKinds() : 0;
  // Each row writes its own entries only, so the reader's threads share nothing else.
  const auto expand_row = [&](std::size_t row) {
    const FileFacts facts = kinds != 0 ? sources.media->ReadFacts(paths[row], kinds) : FileFacts{};
    names.rows_[row] =
        ExpandTemplate(name, paths[row], facts, sources, rules, &names.lacking_[row]);
  };
  if (kinds == 0) {
    for (std::size_t row = 0; row < paths.size(); ++row) expand_row(row);
  } else if (!sources.media->ForEach(paths.size(), expand_row, keep_going)) {
    return std::nullopt;
  }
  return names;
}

}  // namespace zefa
