// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The main window while it shows `rows` rows (1,000,000 by default) against the same
// window with 1,000 rows, in the same run: scrolling the target-path column, clicking a
// row, typing into the edit fields and stepping the start number, each timed with the
// repaint it causes. Usage: million_rows_gui_bench [rows]; run offscreen or under Xvfb.
#include <stdlib.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
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

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

struct Figures {
  std::string seen;   // what the window showed at the end, to check the steps took effect
  double show = 0;    // the list shown after the rows came in, ms
  double scroll = 0;  // ms a step
  double click = 0;
  double key = 0;
  double step = 0;
};

template <typename T>
T* Find(TForm1& form, const char* name) {
  return form.findChild<T*>(QString::fromLatin1(name));
}

Figures Measure(int rows, zefa::FileSystem& file_system) {
  QtPrompter prompter(nullptr);
  TForm1 form(prompter, file_system, zefa::CurrentProgramPaths(file_system));
  form.show();
  QApplication::processEvents();
  for (int i = 1; i <= rows; ++i) {
    char stem[32];
    std::snprintf(stem, sizeof stem, "DSC_%07d", i);
    form.state().list.AppendRow(std::string("/home/user/写真/2026年旅行/") + stem + ".jpg", stem,
                                ".jpg", std::to_string(i));
  }
  Figures figures;
  auto started = Clock::now();
  form.Refresh();
  QApplication::processEvents();
  figures.show = Milliseconds(started);

  constexpr int kSteps = 40;
  auto* paths = Find<QListView>(form, "ListBox2");
  QScrollBar* bar = paths->verticalScrollBar();
  started = Clock::now();
  for (int i = 0; i < kSteps; ++i) {
    bar->setValue(
        static_cast<int>(static_cast<long long>(bar->maximum()) * (i * 37 % kSteps) / kSteps));
    paths->viewport()->repaint();
  }
  figures.scroll = Milliseconds(started) / kSteps;

  started = Clock::now();
  for (int i = 0; i < kSteps; ++i) {
    bar->setValue(bar->maximum() / kSteps * i);
    const QModelIndex row = paths->indexAt(QPoint(10, 6 + 12 * (i % 10)));
    QTest::mouseClick(paths->viewport(), Qt::LeftButton, {}, paths->visualRect(row).center());
    QApplication::processEvents();
  }
  figures.click = Milliseconds(started) / kSteps;

  const char* const edits[] = {"Edit1", "Edit2", "Edit3"};
  started = Clock::now();
  for (const char* name : edits) {
    auto* edit = Find<QLineEdit>(form, name);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("abcdefghij"));
    QApplication::processEvents();
  }
  figures.key = Milliseconds(started) / (10 * std::size(edits));

  auto* start = Find<QSpinBox>(form, "SpinEdit1");
  started = Clock::now();
  for (int i = 0; i < kSteps; ++i) {
    start->stepUp();
    QApplication::processEvents();
  }
  figures.step = Milliseconds(started) / kSteps;
  figures.seen = "row " + form.state().label5 + " selected, common name \"" +
                 Find<QLineEdit>(form, "Edit2")->text().toStdString() + "\", start " +
                 std::to_string(form.state().start_number);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
  std::string folder = (std::filesystem::temp_directory_path() / "zefa-rows-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  std::ofstream(folder + "/ZeFa_oru.ini") << "[Option]\nUpdateCheck=0\n";
  ::setenv("ZEFA_ORU_DIR", folder.c_str(), 1);
  QApplication app(argc, argv);
  zefa::NativeFileSystem file_system;

  const Figures few = Measure(1000, file_system);
  const Figures many = Measure(rows, file_system);
  std::printf("%-28s %12s %12s %8s\n", "ms", "1000 rows", (std::to_string(rows) + " rows").c_str(),
              "ratio");
  const auto line = [](const char* what, double a, double b) {
    std::printf("%-28s %12.3f %12.3f %8.2f\n", what, a, b, b / a);
  };
  line("list shown", few.show, many.show);
  line("a scroll step, repainted", few.scroll, many.scroll);
  line("a row clicked", few.click, many.click);
  line("a key typed in an edit", few.key, many.key);
  line("a start-number step", few.step, many.step);
  std::printf("1000 rows: %s\n%d rows: %s\n", few.seen.c_str(), rows, many.seen.c_str());
  std::filesystem::remove_all(folder);
  return 0;
}
