// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QIcon>

class QWidget;

/**
 * The font of every window: "ＭＳ Ｐゴシック" at 12 pixels, falling back to its
 * metric-compatible twin IPAPGothic, which fontconfig does not map by itself.
 */
QFont WindowFont();

/** A fixed-size window of the given client size, centred over `owner` (or the screen). */
void FixClientSize(QWidget* window, int width, int height);
void CentreOver(QWidget* window, const QWidget* owner);

/** The program's icon, drawn for the sizes a desktop asks for. */
QIcon ProgramIcon();
