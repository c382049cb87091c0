// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "program_places.h"

#include <QFile>
#include <QStandardPaths>

namespace {

std::string UserFolder(QStandardPaths::StandardLocation location) {
  // Our own folder name, whatever the executable is called.
  return QFile::encodeName(QStandardPaths::writableLocation(location) + QStringLiteral("/ZeFa_oru"))
      .toStdString();
}

}  // namespace

zefa::ProgramPaths CurrentProgramPaths(zefa::FileSystem& file_system) {
  const zefa::TextRules rules = zefa::NativeTextRules();
  const zefa::ProgramPlaces places = zefa::ProbeProgramPlaces(
      file_system.ExecutablePath(), rules, UserFolder(QStandardPaths::GenericConfigLocation),
      UserFolder(QStandardPaths::GenericDataLocation));
  return zefa::ResolveProgramPaths(places, rules);
}
