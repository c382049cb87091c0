// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "desktop_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "about_box.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"
#include "platform/prompter.h"
#include "text/name_text.h"
#include "renaming/update_check.h"

namespace {

// A folder as the core's byte string, ending in "/".
std::string FolderBytes(const QString& folder) {
  if (folder.isEmpty()) return {};
  return QFile::encodeName(QDir::cleanPath(folder) + QLatin1Char('/')).toStdString();
}

QUrl LocalUrl(const std::string& path) {
  return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
}

}  // namespace

zefa::HelpPlaces DefaultHelpPlaces() {
  const QString program = QCoreApplication::applicationDirPath();
  zefa::HelpPlaces places;
  places.folders = {
      FolderBytes(program),
      FolderBytes(program + QStringLiteral("/../share/zefa-oru")),
      FolderBytes(QStringLiteral(ZEFA_DATA_DIR)),
      FolderBytes(QDir::currentPath()),
  };
  places.view_folder = FolderBytes(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
  return places;
}

void OpenHelp(zefa::Prompter& prompter, const zefa::HelpPlaces& places, const UrlOpener& open) {
  zefa::NativeFileSystem file_system;
  if (const std::optional<std::string> help = zefa::PrepareHelp(prompter, file_system, places)) {
    if (!open(LocalUrl(*help))) prompter.Inform(HelpNotShownText(*help));
  }
}

std::string HelpNotShownText(const std::string& help_path) {
  return "ヘルプを表示するプログラムを起動できませんでした。\n\r"
         "ヘルプファイルは次の場所にあります。\n\r" +
         zefa::DisplayPath(help_path);
}

bool IsSystemInstall(const std::string& executable_folder) {
  return zefa::IsSystemProgramFolder(executable_folder) ||
         !zefa::IsFolderWritable(executable_folder);
}

bool RunStartUpUpdateCheck(zefa::Prompter& prompter, QWidget* owner) {
  const std::string version = TAboutBox::VersionText(owner).toStdString();
  return zefa::CheckForUpdate(zefa::kUpdateFileName, zefa::UpdateBaseUrl(), version, prompter);
}

void OpenFolderAndSite(const std::string& program_folder, const UrlOpener& open) {
  if (!IsSystemInstall(program_folder)) open(LocalUrl(program_folder));
  open(QUrl(QString::fromStdString(zefa::UpdateBaseUrl())));
}
