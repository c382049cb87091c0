// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// 固有ファイル名をテキストで編集 opened on `rows` rows (1,000,000 by default), until it is
// shown and painted, against a bare QPlainTextEdit given the same lines in the same run (the
// plain editor the dialog does not use: a text document of a million lines takes seconds).
// Usage: names_text_gui_bench [rows]; run offscreen or under Xvfb.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <string>

#include "names_text_dialog.h"
#include "platform/file_system.h"
#include "qt_prompter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::size_t rows = argc > 1 ? std::stoul(argv[1]) : 1000000;
  zefa::RenameList list;
  std::string text;
  for (std::size_t i = 0; i < rows; ++i) {
    const std::string name = "写真 " + std::to_string(100000 + i);
    list.AppendRow("/pictures/2026/DSC_" + std::to_string(100000 + i) + ".JPG", name, ".JPG", "");
    if (i > 0) text += '\n';
    text += name;
  }
  double bare = 1e9;
  double dialog_seconds = 1e9;
  for (int round = 0; round < 2; ++round) {
    {
      const Clock::time_point start = Clock::now();
      QPlainTextEdit editor;
      editor.setLineWrapMode(QPlainTextEdit::NoWrap);
      editor.setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
      editor.resize(640, 480);
      editor.show();
      (void)QTest::qWaitForWindowExposed(&editor);
      QApplication::processEvents();
      bare = std::min(bare, Seconds(start));
    }
    {
      zefa::NativeFileSystem file_system;
      QtPrompter prompter(nullptr);
      const Clock::time_point start = Clock::now();
      TForm7 dialog(list, prompter, file_system);
      dialog.show();
      (void)QTest::qWaitForWindowExposed(&dialog);
      QApplication::processEvents();
      dialog_seconds = std::min(dialog_seconds, Seconds(start));
    }
  }
  std::printf("(a) bare editor given %zu lines, shown: %.3f s\n", rows, bare);
  std::printf("(b) the names dialog on %zu rows, shown: %.3f s (target <= 2 s)\n", rows,
              dialog_seconds);
  std::printf("(b)/(a) = %.3f\n", dialog_seconds / bare);
  return 0;
}
