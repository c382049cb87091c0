// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "commands/add_file_command.h"
#include "commands/command_line.h"
#include "main_window.h"
#include "platform/current_folder.h"
#include "program_places.h"
#include "qt_prompter.h"
#include "qt_translations.h"
#include "single_instance.h"
#include "version.h"

int main(int argc, char** argv) {
  // The arguments are taken as the bytes they are; a QString would change a name that is
  // not UTF-8. Qt gets none of them, so that every word is an option of ours or a path.
  const zefa::CommandLine line =
      zefa::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  const bool japanese = zefa::JapaneseLocale();
  switch (line.action) {
    case zefa::CommandLine::Action::kHelp:
      std::fputs(zefa::UsageText(japanese).c_str(), stdout);
      return 0;
    case zefa::CommandLine::Action::kVersion:
      std::printf("ZeFa Oru %s\n", zefa::kProgramVersion);
      return 0;
    case zefa::CommandLine::Action::kBadOption:
      std::fprintf(stderr, japanese ? "zefa-oru: 不明なオプションです: %s\n" : "zefa-oru: unknown option: %s\n",
                   line.bad_option.c_str());
      std::fputs(zefa::UsageText(japanese).c_str(), stderr);
      return 2;
    case zefa::CommandLine::Action::kRun:
      break;
  }
  int qt_argc = 1;
  QApplication app(qt_argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZeFa Oru"));
  QGuiApplication::setDesktopFileName(QStringLiteral("zefa-oru"));
  const std::vector<std::string> paths = zefa::ArgumentPaths(line.paths, zefa::CurrentFolder());

  // A window already open for this user and display takes the files, and this start ends.
  InstanceServer server;
  const InstanceClaim claim = ClaimWindowOrHandOver(InstanceSocketPath(), paths, server);
  if (claim == InstanceClaim::kHandedOver) return 0;
  InstallQtTranslations(app);
  if (claim == InstanceClaim::kTooLarge) {
    const std::string text = TooManyPathsText(paths);
    std::fprintf(stderr, "zefa-oru: %s\n", text.c_str());
    QtPrompter(nullptr).Error(text);
    return 1;
  }
  zefa::NativeFileSystem file_system;
  QtPrompter prompter(nullptr);
  TForm1 form(prompter, file_system, CurrentProgramPaths(file_system));
  prompter.SetParent(&form);
  if (form.quit_requested()) return 0;
  form.show();
  // Files handed over by the desktop (dropped on the program's icon) are added as if they
  // had been dropped on the window.
  if (!paths.empty()) form.DropPaths(paths);
  ConnectToWindow(server, form);
  return QApplication::exec();
}
