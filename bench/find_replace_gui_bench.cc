// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// How long the find-and-replace window leaves its events waiting while it looks at `rows`
// names (100,000 by default) of seventeen "a" and a "b": with the pattern "(a+)+$", which
// backtracks on every one of them, against the sound pattern "b$" over the same names in
// the same run. A timer asks the event loop every millisecond; the longest wait between two
// of its turns (the keystroke itself included) is the time the window did not answer. On a
// shared machine the wall-clock wait holds the time other programs had the processor, so
// the same wait is also given in this thread's own processor time.
// Usage: find_replace_gui_bench [rows]; run offscreen or under Xvfb.
#include <time.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/main_state.h"
#include "find_replace_dialog.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

// This thread's processor time, ms.
double ThreadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Figures {
  double longest_wait = 0;      // ms
  double longest_wait_cpu = 0;  // ms of this thread's processor time
  double whole_scan = 0;        // ms, from the keystroke to the scan's end
  std::string outcome;          // what the window said at the end
};

Figures Measure(zefa::MainState& state, const QString& pattern) {
  TForm6 dialog(state, zefa::TextRules{});
  dialog.show();
  dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(true);
  QApplication::processEvents();
  auto* count = dialog.findChild<QLabel*>(QStringLiteral("Label5"));
  auto* search_error = dialog.findChild<QLabel*>(QStringLiteral("Label2"));

  Figures figures;
  QTimer ticks;
  ticks.setInterval(1);
  Clock::time_point last = Clock::now();
  double last_cpu = ThreadMilliseconds();
  QObject::connect(&ticks, &QTimer::timeout, [&] {
    const Clock::time_point now = Clock::now();
    const double now_cpu = ThreadMilliseconds();
    figures.longest_wait = std::max(figures.longest_wait, Milliseconds(now - last));
    figures.longest_wait_cpu = std::max(figures.longest_wait_cpu, now_cpu - last_cpu);
    last = now;
    last_cpu = now_cpu;
  });
  ticks.start();
  const Clock::time_point started = Clock::now();
  last = started;
  last_cpu = ThreadMilliseconds();
  dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(pattern);  // the keystroke
  while (count->text().startsWith(QStringLiteral("調べています"))) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  figures.whole_scan = Milliseconds(Clock::now() - started);
  // The keystroke's own time, should the scan have ended inside it.
  figures.longest_wait = std::max(figures.longest_wait, Milliseconds(Clock::now() - last));
  figures.longest_wait_cpu = std::max(figures.longest_wait_cpu, ThreadMilliseconds() - last_cpu);
  figures.outcome = (count->text() + QStringLiteral(" ") + search_error->text()).toStdString();
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  zefa::MainState state;
  const std::string name = std::string(17, 'a') + "b";
  for (int i = 0; i < rows; ++i) state.list.AppendRow("/pic/" + name, name, ".jpg", "");

  const Figures sound = Measure(state, QStringLiteral("b$"));
  const Figures runaway = Measure(state, QStringLiteral("(a+)+$"));
  std::printf("rows: %d\n", rows);
  std::printf(
      "sound pattern b$:       longest wait %6.1f ms (%5.1f ms processor), scan %7.1f ms (%s)\n",
      sound.longest_wait, sound.longest_wait_cpu, sound.whole_scan, sound.outcome.c_str());
  std::printf(
      "runaway pattern (a+)+$: longest wait %6.1f ms (%5.1f ms processor), scan %7.1f ms (%s)\n",
      runaway.longest_wait, runaway.longest_wait_cpu, runaway.whole_scan, runaway.outcome.c_str());
  std::printf("longest wait, runaway / sound: %.2f\n", runaway.longest_wait / sound.longest_wait);
  std::printf("longest wait, runaway / 50 ms target: %.2f (processor time: %.2f)\n",
              runaway.longest_wait / 50.0, runaway.longest_wait_cpu / 50.0);
  return 0;
}
