// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QStringList>
#include <string>
#include <vector>

#include "commands/add_file_command.h"
#include "main_window.h"
#include "platform/current_folder.h"
#include "program_places.h"
#include "qt_prompter.h"
#include "qt_translations.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZeFa Oru"));
  InstallQtTranslations(app);
  zefa::NativeFileSystem file_system;
  QtPrompter prompter(nullptr);
  TForm1 form(prompter, file_system, CurrentProgramPaths(file_system));
  prompter.SetParent(&form);
  if (form.quit_requested()) return 0;
  form.show();
  // Files handed over by the desktop (dropped on the program's icon) are added as if they
  // had been dropped on the window. The arguments are taken as the bytes they are (Qt has
  // taken its own options out of argv); a QString would change a name that is not UTF-8.
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!arguments.empty()) form.DropPaths(zefa::ArgumentPaths(arguments, zefa::CurrentFolder()));
  return QApplication::exec();
}
