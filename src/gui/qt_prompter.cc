// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QStringList>

#include "qt_text.h"

namespace {

// A box with the caption, icon and plain text; buttons are added by the caller.
void SetUpBox(QMessageBox& box, QMessageBox::Icon icon, const QString& title,
              const std::string& text) {
  box.setIcon(icon);
  box.setWindowTitle(title);
  box.setTextFormat(Qt::PlainText);
  box.setText(MessageToQt(text));
}

}  // namespace

QtPrompter::QtPrompter(QWidget* parent, SoundSink sound)
    : parent_(parent), sound_(std::move(sound)) {}

void QtPrompter::Beep(zefa::BeepKind kind) {
  if (sound_) {
    sound_(kind);
    return;
  }
  // Qt knows one system sound; the kinds differ only on the platforms that have them.
  QApplication::beep();
}

bool QtPrompter::AskYesNo(QMessageBox::Icon icon, const QString& title, const std::string& text) {
  QMessageBox box(parent_);
  SetUpBox(box, icon, title, text);
  QPushButton* yes = box.addButton(kYesText, QMessageBox::YesRole);
  QPushButton* no = box.addButton(kNoText, QMessageBox::NoRole);
  box.setDefaultButton(yes);
  // Closing the box or pressing Escape answers No.
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

void QtPrompter::Tell(QMessageBox::Icon icon, const QString& title, const QString& button,
                      const std::string& text) {
  QMessageBox box(parent_);
  SetUpBox(box, icon, title, text);
  QPushButton* only = box.addButton(button, QMessageBox::AcceptRole);
  box.setDefaultButton(only);
  box.setEscapeButton(only);
  box.exec();
}

bool QtPrompter::Confirm(const std::string& text) {
  return AskYesNo(QMessageBox::Question, kConfirmTitle, text);
}

bool QtPrompter::Warn(const std::string& text) {
  return AskYesNo(QMessageBox::Warning, kWarningTitle, text);
}

void QtPrompter::Error(const std::string& text) {
  Tell(QMessageBox::Critical, kErrorTitle, kAbortText, text);
}

void QtPrompter::Inform(const std::string& text) {
  Tell(QMessageBox::NoIcon, kApplicationTitle, kOkText, text);
}

bool QtPrompter::Ask(const std::string& text) {
  return AskYesNo(QMessageBox::NoIcon, kApplicationTitle, text);
}

void QtPrompter::ApplicationError(const std::string& text) {
  Tell(QMessageBox::Critical, kApplicationTitle, kOkText, text);
}

QString QtPrompter::ToQtFilter(std::string_view filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt takes the patterns from the parentheses that end the name; add them when the
    // name does not already end with exactly these.
    if (name.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
      filters << name;
    } else {
      filters << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
  }
  return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtPrompter::ChooseFile(const zefa::FileChoice& choice) {
  QFileDialog dialog(parent_, QString(), PathToQt(choice.initial_folder),
                     ToQtFilter(choice.filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  // The dialog lists only names that are text, so UTF-8 gives back the file's own bytes.
  return FromQt(files.front());
}
