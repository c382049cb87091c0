// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zefa {

/** The subcommands, each the first argument of its command line. */
enum class CliCommand { kPreview, kRename, kUndo, kHistory };

/** The subcommand named `word`; nullopt for any other word (a path, an option). */
std::optional<CliCommand> CliCommandOf(std::string_view word);

/** How the rows are ordered before they are numbered. */
enum class CliOrder { kList, kName, kTaken, kModified };

/** One command line, read; every value not given is left for the settings file. */
struct CliOptions {
  CliCommand command = CliCommand::kRename;
  bool help = false;
  bool json = false;
  std::string usage_error;  // not empty: the line cannot be used (exit status 2)

  // preview and rename
  std::vector<std::string> paths;     // as given, relative ones not yet resolved
  bool null_input = false;            // -0: NUL-separated paths on standard input too
  std::optional<std::string> name;    // the common name
  std::optional<std::string> preset;  // the naming settings, common name and rule of a preset
  int start = 1;
  CliOrder order = CliOrder::kList;
  std::optional<int> digits;
  std::optional<int> pattern;
  std::optional<bool> space;
  std::optional<std::string> open_bracket;
  std::optional<std::string> close_bracket;
  bool no_brackets = false;
  std::optional<bool> per_folder;
  std::optional<std::string> unique_from_date;  // "": the settings' date format
  bool no_restore = false;

  // find and replace over the unique names (or the extensions)
  std::optional<std::string> find;
  std::string replace;
  bool regex = false;
  bool ignore_case = false;
  bool target_extension = false;
  bool half_width = false;
  bool full_kana = false;
  bool upper = false;
  bool lower = false;
  bool nfc = false;

  // undo
  bool last = false;
  std::string restore_file;

  /** Whether any find, replace or conversion was asked for. */
  bool Replaces() const { return find || half_width || full_kana || upper || lower || nfc; }
};

/**
 * Reads the arguments after the subcommand. Options take their value as the next
 * argument or after "=" ("--name=x"); "--unique-from-date" takes a format only after
 * "="; "--" ends the options; a usage error is described in `usage_error`, in Japanese or
 * English.
 */
CliOptions ParseCliOptions(CliCommand command, const std::vector<std::string>& arguments,
                           bool japanese);

/** The usage of one subcommand, ending in a line break. */
std::string CliUsageText(CliCommand command, bool japanese);

}  // namespace zefa
