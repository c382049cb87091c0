// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDesktopServices>
#include <QUrl>
#include <functional>
#include <string>

#include "startup/help_command.h"

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

/**
 * N1Click: shows the help file with the desktop, or says that there is none; when the
 * desktop can start no program for it, a box says so and where the help file is.
 */
void OpenHelp(zefa::Prompter& prompter, const zefa::HelpPlaces& places = DefaultHelpPlaces(),
              const UrlOpener& open = &QDesktopServices::openUrl);

/**
 * The update check of FormCreate: the version from a TAboutBox made over `owner` and
 * released, the site from UpdateBaseUrl(). True when the user chose to download.
 */
bool RunStartUpUpdateCheck(zefa::Prompter& prompter, QWidget* owner);

/** The box shown when no program could show the help file at `help_path`. */
std::string HelpNotShownText(const std::string& help_path);

/**
 * Whether the program runs from the system's program folder, where the package manager
 * installs its updates: one under /usr/, or any the user cannot write to.
 */
bool IsSystemInstall(const std::string& executable_folder);

/**
 * After the download was chosen: the program folder, then the update site. A system
 * install opens the site only: the package manager replaces the program, not the user.
 */
void OpenFolderAndSite(const std::string& program_folder,
                       const UrlOpener& open = &QDesktopServices::openUrl);
