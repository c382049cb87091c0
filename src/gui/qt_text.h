// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <string>
#include <string_view>

/**
 * The one edge where the core's byte strings meet Qt's text. Texts are UTF-8; paths are
 * the platform's bytes (QFile::encodeName), which is UTF-8 on every desktop we run on but
 * keeps a name that is not valid UTF-8 renameable.
 */
QString ToQt(std::string_view utf8);
std::string FromQt(const QString& text);

QString PathToQt(std::string_view path);
std::string PathFromQt(const QString& path);

/** A message of the core for display: each "\n\r" line break becomes one "\n". */
QString MessageToQt(std::string_view utf8);
