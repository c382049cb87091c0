// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "qt_translations.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallQtTranslations(QCoreApplication& app) {
  // Owned by the application, so that it lives as long as the texts are shown.
  auto* qt_texts = new QTranslator(&app);
  if (!qt_texts->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete qt_texts;
    return false;
  }
  return QCoreApplication::installTranslator(qt_texts);
}
