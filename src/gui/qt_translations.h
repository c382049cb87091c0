// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>

/**
 * Installs Qt's own texts (the file dialog's buttons and labels) in the language of the
 * user's locale, when the system has them; the program's own texts are Japanese in every
 * locale. Returns whether a translation was installed.
 */
bool InstallQtTranslations(QCoreApplication& app);
