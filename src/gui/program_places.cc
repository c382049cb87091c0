// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "program_places.h"

#include <unistd.h>

#include <QFile>
#include <QStandardPaths>

namespace {

std::string UserFolder(QStandardPaths::StandardLocation location) {
  // Both locations name the application folder when the application name is set; use our
  // own name for it so that it does not depend on the executable's name.
  const QString base = QStandardPaths::writableLocation(location == QStandardPaths::AppConfigLocation
                                                            ? QStandardPaths::GenericConfigLocation
                                                            : QStandardPaths::GenericDataLocation);
  return QFile::encodeName(base + QStringLiteral("/ZeFa_oru")).toStdString();
}

}  // namespace

zefa::ProgramPaths CurrentProgramPaths(zefa::FileSystem& file_system) {
  const zefa::TextRules rules = zefa::NativeTextRules();
  zefa::ProgramPlaces places;
  places.executable_path = file_system.ExecutablePath();
  if (const QByteArray dir = qgetenv("ZEFA_ORU_DIR"); !dir.isEmpty()) {
    places.zefa_oru_dir = dir.toStdString();
  }
  const std::string folder(zefa::FolderPart(places.executable_path, rules));
  // A copy installed for the whole system keeps its files per user, even when run by root.
  const bool system_folder = folder.rfind("/usr/", 0) == 0 || folder == "/bin/" || folder == "/sbin/";
  places.executable_folder_writable =
      !folder.empty() && !system_folder && ::access(folder.c_str(), W_OK) == 0;
  places.user_config_folder = UserFolder(QStandardPaths::AppConfigLocation);
  places.user_data_folder = UserFolder(QStandardPaths::AppDataLocation);
  return zefa::ResolveProgramPaths(places, rules);
}
