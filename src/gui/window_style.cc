// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "window_style.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QFont WindowFont() {
  QFont font;
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
  font.setPixelSize(12);
  return font;
}

void FixClientSize(QWidget* window, int width, int height) { window->setFixedSize(width, height); }

void CentreOver(QWidget* window, const QWidget* owner) {
  QRect area;
  if (owner != nullptr && owner->isVisible()) {
    area = owner->frameGeometry();
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (area.isEmpty()) return;
  const QSize frame = window->frameGeometry().size();
  window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

QIcon ProgramIcon() {
  // The icons are built into this static library; nothing else would pull them in.
  Q_INIT_RESOURCE(zefa_icons);
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/zefa-oru-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}
