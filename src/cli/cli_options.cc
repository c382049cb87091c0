// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "cli/cli_options.h"

#include <charconv>
#include <functional>
#include <limits>
#include <map>

namespace zefa {
namespace {

struct Texts {
  bool japanese;
  std::string Unknown(std::string_view option) const {
    return (japanese ? "不明なオプションです: " : "unknown option: ") + std::string(option);
  }
  std::string NeedsValue(std::string_view option) const {
    return (japanese ? "値がありません: " : "missing value for ") + std::string(option);
  }
  std::string TakesNoValue(std::string_view option) const {
    return (japanese ? "値はとりません: " : "takes no value: ") + std::string(option);
  }
  std::string BadValue(std::string_view option, std::string_view value) const {
    return (japanese ? "使えない値です: " : "bad value for ") + std::string(option) + " " +
           std::string(value);
  }
};

std::optional<int> IntegerIn(std::string_view text, long long low, long long high) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

// What an option does with its value (options without a value are given "").
using Setter = std::function<bool(CliOptions&, const std::string&)>;

struct OptionSpec {
  bool takes_value;
  Setter set;
};

Setter Flag(bool CliOptions::*member) {
  return [member](CliOptions& options, const std::string&) {
    options.*member = true;
    return true;
  };
}

std::map<std::string, OptionSpec, std::less<>> NamingOptions() {
  return {
      {"--preset",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.preset = v;
          return true;
        }}},
      {"--name",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.name = v;
          return true;
        }}},
      {"--start",
       {true,
        [](CliOptions& o, const std::string& v) {
          const std::optional<int> start =
              IntegerIn(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
          if (start) o.start = *start;
          return start.has_value();
        }}},
      {"--order",
       {true,
        [](CliOptions& o, const std::string& v) {
          static const std::map<std::string, CliOrder, std::less<>> kOrders = {
              {"list", CliOrder::kList},
              {"name", CliOrder::kName},
              {"taken", CliOrder::kTaken},
              {"modified", CliOrder::kModified}};
          const auto found = kOrders.find(v);
          if (found != kOrders.end()) o.order = found->second;
          return found != kOrders.end();
        }}},
      {"--digits",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.digits = IntegerIn(v, 1, 6);
          return o.digits.has_value();
        }}},
      {"--pattern",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.pattern = IntegerIn(v, 1, 8);
          return o.pattern.has_value();
        }}},
      {"--space",
       {false,
        [](CliOptions& o, const std::string&) {
          o.space = true;
          return true;
        }}},
      {"--no-space",
       {false,
        [](CliOptions& o, const std::string&) {
          o.space = false;
          return true;
        }}},
      {"--open-bracket",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.open_bracket = v;
          return true;
        }}},
      {"--close-bracket",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.close_bracket = v;
          return true;
        }}},
      {"--no-brackets", {false, Flag(&CliOptions::no_brackets)}},
      {"--per-folder",
       {false,
        [](CliOptions& o, const std::string&) {
          o.per_folder = true;
          return true;
        }}},
      {"--no-per-folder",
       {false,
        [](CliOptions& o, const std::string&) {
          o.per_folder = false;
          return true;
        }}},
      {"--find",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.find = v;
          return true;
        }}},
      {"--replace",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.replace = v;
          return true;
        }}},
      {"--regex", {false, Flag(&CliOptions::regex)}},
      {"--ignore-case", {false, Flag(&CliOptions::ignore_case)}},
      {"--target",
       {true,
        [](CliOptions& o, const std::string& v) {
          o.target_extension = v == "extension";
          return v == "unique" || v == "extension";
        }}},
      {"--half-width", {false, Flag(&CliOptions::half_width)}},
      {"--full-kana", {false, Flag(&CliOptions::full_kana)}},
      {"--upper", {false, Flag(&CliOptions::upper)}},
      {"--lower", {false, Flag(&CliOptions::lower)}},
      {"--nfc", {false, Flag(&CliOptions::nfc)}},
      {"--null", {false, Flag(&CliOptions::null_input)}},
      {"-0", {false, Flag(&CliOptions::null_input)}},
  };
}

std::map<std::string, OptionSpec, std::less<>> OptionsOf(CliCommand command) {
  std::map<std::string, OptionSpec, std::less<>> options;
  if (command == CliCommand::kPreview || command == CliCommand::kRename) {
    options = NamingOptions();
  }
  if (command == CliCommand::kRename)
    options.emplace("--no-restore", OptionSpec{false, Flag(&CliOptions::no_restore)});
  if (command == CliCommand::kUndo)
    options.emplace("--last", OptionSpec{false, Flag(&CliOptions::last)});
  options.emplace("--json", OptionSpec{false, Flag(&CliOptions::json)});
  options.emplace("--help", OptionSpec{false, Flag(&CliOptions::help)});
  options.emplace("-h", OptionSpec{false, Flag(&CliOptions::help)});
  return options;
}

}  // namespace

std::optional<CliCommand> CliCommandOf(std::string_view word) {
  if (word == "preview") return CliCommand::kPreview;
  if (word == "rename") return CliCommand::kRename;
  if (word == "undo") return CliCommand::kUndo;
  if (word == "history") return CliCommand::kHistory;
  return std::nullopt;
}

CliOptions ParseCliOptions(CliCommand command, const std::vector<std::string>& arguments,
                           bool japanese) {
  const Texts texts{japanese};
  CliOptions options;
  options.command = command;
  const auto known = OptionsOf(command);
  std::vector<std::string> operands;
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size() && options.usage_error.empty(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      operands.push_back(argument);  // a lone "-" is a file of that name
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    const std::size_t equals = argument.starts_with("--") ? argument.find('=') : std::string::npos;
    const std::string option = argument.substr(0, equals);
    const bool names = command == CliCommand::kPreview || command == CliCommand::kRename;
    if (names && option == "--unique-from-date") {
      options.unique_from_date = equals == std::string::npos ? "" : argument.substr(equals + 1);
      continue;
    }
    const auto entry = known.find(option);
    if (entry == known.end()) {
      options.usage_error = texts.Unknown(option);
      break;
    }
    std::string value;
    if (entry->second.takes_value) {
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        options.usage_error = texts.NeedsValue(option);
        break;
      }
    } else if (equals != std::string::npos) {
      options.usage_error = texts.TakesNoValue(option);
      break;
    }
    if (!entry->second.set(options, value)) options.usage_error = texts.BadValue(option, value);
  }
  if (!options.usage_error.empty() || options.help) return options;

  switch (command) {
    case CliCommand::kPreview:
    case CliCommand::kRename:
      options.paths = std::move(operands);
      if (options.paths.empty() && !options.null_input) {
        options.usage_error =
            japanese ? "ファイルまたはフォルダを指定してください" : "no file or folder given";
      } else if (options.upper && options.lower) {
        options.usage_error = japanese ? "--upper と --lower は同時に指定できません"
                                       : "--upper and --lower exclude each other";
      }
      break;
    case CliCommand::kUndo:
      if (operands.size() + (options.last ? 1 : 0) != 1) {
        options.usage_error = japanese ? "リストアファイルを一つ、または --last を指定してください"
                                       : "give one restore file or --last";
      } else if (!options.last) {
        options.restore_file = operands.front();
      }
      break;
    case CliCommand::kHistory:
      if (!operands.empty()) {
        options.usage_error =
            (japanese ? "余分な引数です: " : "unexpected argument: ") + operands.front();
      }
      break;
  }
  return options;
}

std::string CliUsageText(CliCommand command, bool japanese) {
  const std::string naming =
      japanese
          ? "  --preset NAME           設定のプリセットを使う（名前の設定、共通ファイル名、置換）\n"
            "  --name TEXT             共通ファイル名（既定: 空）\n"
            "  --start N               連番の開始番号（既定: 1）\n"
            "  --order list|name|taken|modified\n"
            "                          並び順: 指定した順、ソート、撮影日時順、更新日時順\n"
            "  --digits 1-6            連番の桁数\n"
            "  --pattern 1-8           ファイル名の並び（設定の 1 から 8）\n"
            "  --space, --no-space     要素の間に空白を入れる、入れない\n"
            "  --open-bracket TEXT     数字の前に付ける文字列（数字を囲む）\n"
            "  --close-bracket TEXT    数字の後に付ける文字列（数字を囲む）\n"
            "  --no-brackets           数字を囲まない\n"
            "  --per-folder, --no-per-folder\n"
            "                          連番をフォルダごとに 1 から始める、始めない\n"
            "  --unique-from-date[=FORMAT]\n"
            "                          固有ファイル名を撮影日時にする（既定は設定の書式）\n"
            "  --find TEXT             固有ファイル名の中で検索する文字列\n"
            "  --replace TEXT          置換後の文字列（既定: 空）\n"
            "  --regex                 正規表現で検索する（$1 などでグループを使える）\n"
            "  --ignore-case           大文字と小文字を区別しない\n"
            "  --target unique|extension\n"
            "                          置換の対象: 固有ファイル名（既定）か拡張子\n"
            "  --half-width            全角の英数字と記号を半角にする\n"
            "  --full-kana             半角カナを全角にする\n"
            "  --upper, --lower        大文字にする、小文字にする\n"
            "  --nfc                   分かれた濁点・半濁点を結合する（NFC）\n"
            "  -0, --null              標準入力から NUL 区切りのパスも読む\n"
          : "  --preset NAME           a preset of the settings dialog: naming, common name, rule\n"
            "  --name TEXT             the common name (default: empty)\n"
            "  --start N               the first serial number (default: 1)\n"
            "  --order list|name|taken|modified\n"
            "                          as given, by name, by date taken, by date modified\n"
            "  --digits 1-6            digits of the serial number\n"
            "  --pattern 1-8           the order of the name's parts (the settings' 1 to 8)\n"
            "  --space, --no-space     a blank between the parts, or none\n"
            "  --open-bracket TEXT     text before the number (brackets on)\n"
            "  --close-bracket TEXT    text after the number (brackets on)\n"
            "  --no-brackets           no text around the number\n"
            "  --per-folder, --no-per-folder\n"
            "                          start the numbers again in each folder, or not\n"
            "  --unique-from-date[=FORMAT]\n"
            "                          unique names from the date taken (the settings' format)\n"
            "  --find TEXT             text to find in the unique names\n"
            "  --replace TEXT          its replacement (default: empty)\n"
            "  --regex                 find a regular expression ($1 names a group)\n"
            "  --ignore-case           ignore letter case when finding\n"
            "  --target unique|extension\n"
            "                          replace in the unique names (default) or extensions\n"
            "  --half-width            full-width letters, digits and symbols to ASCII\n"
            "  --full-kana             half-width katakana to full width\n"
            "  --upper, --lower        to upper case, to lower case\n"
            "  --nfc                   join voiced marks written apart (NFC)\n"
            "  -0, --null              also read NUL-separated paths from standard input\n";
  const std::string common =
      japanese ? "      --json              結果を JSON で標準出力に書く\n"
                 "  -h, --help              この使い方を表示して終了します\n"
               : "      --json              write the outcome as JSON on standard output\n"
                 "  -h, --help              show this usage and exit\n";
  switch (command) {
    case CliCommand::kPreview:
      return (japanese ? "使い方: zefa-oru preview [オプション] [--] パス...\n"
                         "新しい名前と、リネームに失敗する行とその理由を表示します。"
                         "何もリネームしません。\n\n"
                       : "Usage: zefa-oru preview [OPTION]... [--] PATH...\n"
                         "Shows every new name, and every row that would fail with its reason.\n"
                         "Renames nothing.\n\n") +
             naming + common;
    case CliCommand::kRename:
      return (japanese ? "使い方: zefa-oru rename [オプション] [--] パス...\n"
                         "ウィンドウと同じ確認をしてからリネームします。最初のリネームの前に\n"
                         "リストアファイルを書きます。上書きは決してしません。\n\n"
                       : "Usage: zefa-oru rename [OPTION]... [--] PATH...\n"
                         "Renames the files after the window's checks, writing the restore file\n"
                         "before the first rename. Never overwrites a file.\n\n") +
             naming +
             (japanese ? "      --no-restore        リストアファイルを作らない（元に戻せません）\n"
                       : "      --no-restore        write no restore file (no undo)\n") +
             common;
    case CliCommand::kUndo:
      return (japanese ? "使い方: zefa-oru undo [オプション] (リストアファイル | --last)\n"
                         "リストアファイルからリネームを元に戻します。\n\n"
                         "      --last              いちばん新しいリストアファイルを使う\n"
                       : "Usage: zefa-oru undo [OPTION]... (RESTORE-FILE | --last)\n"
                         "Gives the files of a run back their old names.\n\n"
                         "      --last              the newest restore file\n") +
             common;
    case CliCommand::kHistory:
      return (japanese ? "使い方: zefa-oru history [オプション]\n"
                         "リストアファイルを新しい順に表示します: 日時、ファイル数、フォルダ、"
                         "元に戻したか。\n\n"
                       : "Usage: zefa-oru history [OPTION]...\n"
                         "Lists the restore files, newest first: date, files, folder, and\n"
                         "whether the run was undone.\n\n") +
             common;
  }
  return {};
}

}  // namespace zefa
