// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The window, started by zefa-oru for every command line that names no subcommand.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "commands/add_file_command.h"
#include "main_window.h"
#include "platform/current_folder.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"
#include "qt_prompter.h"
#include "qt_translations.h"
#include "single_instance.h"
#include "startup/command_line.h"

int main(int argc, char** argv) {
  // The arguments are taken as the bytes they are; a QString would change a name that is
  // not UTF-8. Qt gets none of them, so that every word is an option of ours or a path.
  // zefa-oru has answered every option already: what is left are paths.
  const zefa::CommandLine line =
      zefa::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
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
  TForm1 form(prompter, file_system, zefa::CurrentProgramPaths(file_system));
  prompter.SetParent(&form);
  if (form.quit_requested()) return 0;
  form.show();
  // Files handed over by the desktop (dropped on the program's icon) are added as if they
  // had been dropped on the window.
  if (!paths.empty()) form.DropPaths(paths);
  ConnectToWindow(server, form);
  return QApplication::exec();
}
