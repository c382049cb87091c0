// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/rename_list.h"
#include "platform/file_system.h"
#include "settings/options.h"
#include "text/text_rules.h"

namespace zefa {

class MediaDates;
struct FileFacts;

/** What a token in a name stands for, taken from each row's own file. */
enum class TokenKind : std::uint8_t {
  kFolder,        // {フォルダ名}: the folder the file is in
  kParentFolder,  // {親フォルダ名}: the folder above that
  kTaken,         // {撮影日時:FORMAT}
  kModified,      // {更新日時:FORMAT}
  kModel,         // {機種}
  kMake,          // {メーカー}
  kWidth,         // {幅}
  kHeight,        // {高さ}
  kArtist,        // {アルバム} ...
  kAlbum,
  kTitle,
  kTrack,
};
inline constexpr std::size_t kTokenKinds = 12;

/**
 * A name as typed, cut into literal texts and tokens: "{名前}" or "{名前:書式}" is a token,
 * "{{" and "}}" stand for a brace, and a brace that opens nothing stays as it is. A name in
 * braces that is no token stays as typed and is listed in `unknown`.
 */
struct NameTemplate {
  struct Piece {
    std::string text;  // the literal text, or the token as typed ("{機種}")
    bool is_token = false;
    TokenKind kind = TokenKind::kFolder;
    std::string format;  // what follows the ":" of a token
  };
  std::vector<Piece> pieces;
  std::vector<std::string> unknown;  // "{名}" as typed, in order, each once

  bool HasTokens() const;
  /** The FactKind bits the tokens need read from each file (0 when none). */
  unsigned FactKinds() const;
  /** The literal texts alone, joined: what the name holds whatever the files say. */
  std::string LiteralText() const;
};

NameTemplate ParseNameTemplate(std::string_view text, CodePage code_page);

/** The line under the common name that names the tokens no file can fill; "" when none. */
std::string UnknownTokensText(std::string_view common_name, CodePage code_page);

/** What the tokens are filled from beyond the paths. */
struct TokenSources {
  MediaDates* media = nullptr;  // none: the tokens read from files give empty texts
  std::string date_format = Options().date_format;  // a date token without a format of its own
};

/**
 * The common name of every row, its tokens filled from the row's file. A name without
 * tokens is held once for every row, so a plain common name costs nothing per row.
 */
class CommonNames {
 public:
  /** `text` for every row. */
  explicit CommonNames(std::string text = {}) : uniform_(std::move(text)) {}

  /** Row `row`'s common name. */
  std::string_view Of(int row) const {
    return per_row_ ? std::string_view(rows_[static_cast<std::size_t>(row)])
                    : std::string_view(uniform_);
  }
  bool per_row() const { return per_row_; }
  /** The line that says which tokens row `row`'s file had nothing for; "" when none. */
  std::string LackingText(int row) const;

 private:
  friend std::optional<CommonNames> ExpandCommonNames(const RenameList&, std::string_view,
                                                      const TokenSources&, const TextRules&,
                                                      const KeepGoing&);
  std::string uniform_;
  bool per_row_ = false;
  std::vector<std::string> rows_;
  std::vector<std::uint16_t> lacking_;  // per row, a bit for each TokenKind it had nothing for
  std::array<std::string, kTokenKinds> typed_;  // each kind's token as typed, for LackingText
  std::vector<TokenKind> typed_order_;          // the kinds in the order they were typed
};

/**
 * The one token step of every command that names rows: `common_name` with its tokens
 * filled for each row, the files' facts read once each on the reader's threads. nullopt
 * when `keep_going` stopped the reading.
 */
std::optional<CommonNames> ExpandCommonNames(const RenameList& list, std::string_view common_name,
                                             const TokenSources& sources, const TextRules& rules,
                                             const KeepGoing& keep_going = {});

/** Fills the tokens of `name` for one file; `lacking` gets a bit for each it had nothing for. */
std::string ExpandTemplate(const NameTemplate& name, std::string_view path, const FileFacts& facts,
                           const TokenSources& sources, const TextRules& rules,
                           std::uint16_t* lacking = nullptr);

}  // namespace zefa
