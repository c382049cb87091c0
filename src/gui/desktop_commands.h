// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDesktopServices>
#include <QUrl>
#include <functional>
#include <string>

#include "commands/help_command.h"

namespace zefa {
class Prompter;
}
class QWidget;

/** Hands an address to the desktop: a folder, a web page, a document. */
using UrlOpener = std::function<bool(const QUrl&)>;

/**
 * Where the help is looked for: beside the executable, in the data folder of an installed
 * copy (relative to the executable, then the one built in), then in the current folder.
 * The desktop opens its copy from the user's cache folder.
 */
zefa::HelpPlaces DefaultHelpPlaces();

/** N1Click: shows the help file with the desktop, or says that there is none. */
void OpenHelp(zefa::Prompter& prompter, const zefa::HelpPlaces& places = DefaultHelpPlaces(),
              const UrlOpener& open = &QDesktopServices::openUrl);

/**
 * The update check of FormCreate: the version from a TAboutBox made over `owner` and
 * released, the site from UpdateBaseUrl(). True when the user chose to download.
 */
bool RunStartUpUpdateCheck(zefa::Prompter& prompter, QWidget* owner);

/** After the download was chosen: the program folder, then the update site. */
void OpenFolderAndSite(const std::string& program_folder,
                       const UrlOpener& open = &QDesktopServices::openUrl);
