// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <string>
#include <string_view>

/**
 * The one edge where the core's byte strings meet Qt's text. Texts are UTF-8. Paths are
 * bytes that never pass through a QString on their way to a rename: they are shown in
 * their readable form (zefa::DisplayPath) and never read back from what is shown.
 */
QString ToQt(std::string_view utf8);
std::string FromQt(const QString& text);

/** A path, file name or name column's entry as the user reads it. */
QString PathToQt(std::string_view path);

/** A message of the core for display: each "\n\r" line break becomes one "\n". */
QString MessageToQt(std::string_view utf8);
