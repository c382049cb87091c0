// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/command_line.h"

#include <cstdlib>

#include "text/uri_list.h"

namespace zefa {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool options_ended = false;
  for (const std::string& argument : arguments) {
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      line.paths.push_back(argument);  // a lone "-" is a file of that name
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    line.paths.clear();
    if (argument == "--help" || argument == "-h") {
      line.action = CommandLine::Action::kHelp;
    } else if (argument == "--version") {
      line.action = CommandLine::Action::kVersion;
    } else {
      line.action = CommandLine::Action::kBadOption;
      line.bad_option = argument;
    }
    return line;
  }
  return line;
}

namespace {

constexpr char kFolderMark = '\x01';

}  // namespace

std::string HandOverMessage(const std::vector<std::string>& paths,
                            std::string_view working_folder) {
  std::string message;
  if (paths.empty()) return message;  // a start that only brings the window to the front
  message += kFolderMark;
  message += working_folder;
  message += '\0';
  for (const std::string& path : paths) {
    message += path;
    message += '\0';
  }
  return message;
}

std::vector<std::string> HandedOverPaths(std::string_view message) {
  std::vector<std::string> paths;
  std::string_view folder;
  bool first = true;
  for (std::size_t start = 0, end = message.find('\0'); end != std::string_view::npos;
       start = end + 1, end = message.find('\0', start)) {
    const std::string_view entry = message.substr(start, end - start);
    if (first && entry.starts_with(kFolderMark)) {
      folder = entry.substr(1);
    } else if (!entry.empty()) {
      paths.push_back(AbsoluteArgumentPath(entry, folder));
    }
    first = false;
  }
  return paths;
}

std::string UsageText(bool japanese) {
  if (japanese) {
    return "使い方: zefa-oru [オプション] [--] [ファイル...]\n"
           "指定したファイルとフォルダをリネームのリストに追加して開きます。\n"
           "すでに開いているときは、そのウィンドウのリストに追加します。\n"
           "\n"
           "  -h, --help     この使い方を表示して終了します\n"
           "      --version  バージョンを表示して終了します\n"
           "      --         これより後はすべてファイル名として扱います\n"
           "\n"
           "ウィンドウを開かずに使うときは、最初の引数にコマンドを指定します:\n"
           "  zefa-oru preview [オプション] パス...   新しい名前を表示します\n"
           "  zefa-oru rename [オプション] パス...    リネームします\n"
           "  zefa-oru undo (リストアファイル | --last) 元に戻します\n"
           "  zefa-oru history                        リストアファイルの一覧\n"
           "それぞれ --help で詳しい使い方を表示します。この名前のファイルは ./rename\n"
           "のように、または -- の後に指定します。\n";
  }
  return "Usage: zefa-oru [OPTION] [--] [FILE...]\n"
         "Opens the renamer with the given files and folders in its list.\n"
         "When it is already open, they are added to that window's list.\n"
         "\n"
         "  -h, --help     show this usage and exit\n"
         "      --version  show the version and exit\n"
         "      --         take every later argument as a file name\n"
         "\n"
         "Without a window, name a command as the first argument:\n"
         "  zefa-oru preview [OPTION]... PATH...   show the new names\n"
         "  zefa-oru rename [OPTION]... PATH...    rename the files\n"
         "  zefa-oru undo (RESTORE-FILE | --last)  give a run's files their old names\n"
         "  zefa-oru history                       list the restore files\n"
         "Each shows its own usage with --help. A file of such a name is written\n"
         "./rename or after --.\n";
}

bool JapaneseLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return std::string_view(value).starts_with("ja");
  }
  return false;
}

}  // namespace zefa
