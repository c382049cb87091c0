// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <string>
#include <vector>

#include "commands/add_file_command.h"
#include "main_window.h"
#include "platform/current_folder.h"
#include "program_places.h"
#include "qt_prompter.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ZeFa Oru"));
  // Qt's own texts (the file dialog's buttons) in the user's language; the program's own
  // texts are Japanese in every locale.
  QTranslator qt_texts;
  if (qt_texts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qt_texts);
  }
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
