// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "qt_text.h"

#include <QByteArray>

#include "text/name_text.h"

namespace {

QByteArray Bytes(std::string_view bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string StdString(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

QString ToQt(std::string_view utf8) { return QString::fromUtf8(Bytes(utf8)); }

std::string FromQt(const QString& text) { return StdString(text.toUtf8()); }

QString PathToQt(std::string_view path) { return ToQt(zefa::DisplayPath(path)); }

QString MessageToQt(std::string_view utf8) {
  QString text = ToQt(utf8);
  text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  return text;
}
