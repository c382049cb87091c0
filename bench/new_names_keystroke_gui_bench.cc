// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// A keystroke in the common name with the column of new names shown, drawn: at 1,000 rows
// and at `rows` rows (1,000,000 by default), against the same keystroke with the column
// hidden in the same run. The target is at most 16 ms a keystroke at a million rows.
// Usage: new_names_keystroke_gui_bench [rows]; run offscreen or under Xvfb.
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "main_window.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"
#include "qt_prompter.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  double hidden = 0;  // ms a keystroke, drawn, with the four specified columns
  double shown = 0;   // the same with the new names beside them
  double worst = 0;   // the slowest keystroke with the new names
  std::string seen;   // the first row's new name at the end, to check the keys took effect
};

// Types `keys` into the common name, each key followed by drawing what it changed: the
// field and, when shown, the column of new names.
void TypeAndDraw(TForm1& form, const QString& keys, double& average, double& worst) {
  auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Edit2"));
  edit->setFocus();
  edit->clear();
  QApplication::processEvents();
  double total = 0;
  for (const QChar key : keys) {
    const auto started = Clock::now();
    QTest::keyClicks(edit, QString(key));
    edit->repaint();
    auto* names = form.findChild<QListView*>(QStringLiteral("ListBox5"));
    if (names->isVisible()) names->viewport()->repaint();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    total += ms;
    worst = std::max(worst, ms);
  }
  average = total / keys.size();
}

Figures Measure(int rows, zefa::FileSystem& file_system) {
  QtPrompter prompter(nullptr);
  TForm1 form(prompter, file_system, CurrentProgramPaths(file_system));
  form.resize(1280, 900);
  form.show();
  form.state().list.Reserve(static_cast<std::size_t>(rows));
  for (int i = 1; i <= rows; ++i) {
    char stem[32];
    std::snprintf(stem, sizeof stem, "DSC_%07d", i);
    form.state().list.AppendRow(std::string("/home/user/写真/2026年旅行/") + stem + ".jpg", stem,
                                ".jpg", std::to_string(i));
  }
  form.Refresh();
  QApplication::processEvents();
  const QString keys = QStringLiteral("hokkaido-summer-trip");
  Figures figures;
  double unused = 0;
  TypeAndDraw(form, keys, figures.hidden, unused);
  form.findChild<QAction*>(QStringLiteral("ShowNewNames1"))->trigger();
  QApplication::processEvents();
  TypeAndDraw(form, keys, figures.shown, figures.worst);
  auto* names = form.findChild<QListView*>(QStringLiteral("ListBox5"));
  figures.seen = names->model()->index(0, 0).data().toString().toStdString();
  // Hidden again, so that the next start opens with the four columns.
  form.findChild<QAction*>(QStringLiteral("ShowNewNames1"))->trigger();
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
  std::string folder = (std::filesystem::temp_directory_path() / "zefa-keys-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  std::ofstream(folder + "/ZeFa_oru.ini") << "[Option]\nUpdateCheck=0\n";
  ::setenv("ZEFA_ORU_DIR", folder.c_str(), 1);
  QApplication app(argc, argv);
  zefa::NativeFileSystem file_system;

  const Figures few = Measure(1000, file_system);
  const Figures many = Measure(rows, file_system);
  std::printf("%-44s %12s %12s %8s\n", "ms a keystroke in the common name, drawn", "1000 rows",
              (std::to_string(rows) + " rows").c_str(), "ratio");
  const auto line = [](const char* what, double a, double b) {
    std::printf("%-44s %12.3f %12.3f %8.2f\n", what, a, b, b / a);
  };
  line("four columns (baseline)", few.hidden, many.hidden);
  line("with the new names", few.shown, many.shown);
  line("with the new names, slowest key", few.worst, many.worst);
  std::printf("with the new names / four columns at %d rows: %.2f\n", rows,
              many.shown / many.hidden);
  std::printf("slowest key / one frame (16 ms) at %d rows: %.2f\n", rows, many.worst / 16.0);
  std::printf("first new name: 1000 rows \"%s\", %d rows \"%s\"\n", few.seen.c_str(), rows,
              many.seen.c_str());
  std::filesystem::remove_all(folder);
  return 0;
}
