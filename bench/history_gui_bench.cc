// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The history window over a restore folder of `records` records (10,000 by default, ten
// rows each), against a bare loop that opens, reads and closes every record once; and the
// rows of a record of `rows` rows (100,000 by default) shown on selecting it, against
// reading that record's bytes. Usage: history_gui_bench [records [rows]]; run offscreen.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_support.h"
#include "history_dialog.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void WriteRecord(const std::string& path, const std::string& folder, int rows, int serial) {
  std::string text = "[Count]\ncount=" + std::to_string(rows) + "\n[before]\n";
  for (int i = 0; i < rows; ++i) {
    text +=
        std::to_string(i) + "=" + folder + "/DSC_" + std::to_string(serial * rows + i) + ".jpg\n";
  }
  text += "[after]\n";
  for (int i = 0; i < rows; ++i) {
    text += std::to_string(i) + "=" + folder + "/旅行 " + std::to_string(i + 1) + ".jpg\n";
  }
  text += "[identity]\n";
  for (int i = 0; i < rows; ++i) text += std::to_string(i) + "=2049:" + std::to_string(i) + "\n";
  std::ofstream(path, std::ios::binary) << text;
}

// The baseline: every record opened, read whole and closed, nothing more.
double ReadEveryRecord(const std::filesystem::path& folder) {
  const auto started = Clock::now();
  std::size_t bytes = 0;
  char buffer[65536];
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
      bytes += static_cast<std::size_t>(got);
    }
    ::close(fd);
  }
  if (bytes == 0) std::puts("nothing read");
  return Milliseconds(started);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int records = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int rows = argc > 2 ? std::atoi(argv[2]) : 100000;
  char base[] = "/tmp/zefa-history-bench-XXXXXX";
  if (::mkdtemp(base) == nullptr) return 1;
  const std::filesystem::path root = base;
  std::filesystem::create_directories(root / "restore");
  for (int i = 0; i < records; ++i) {
    char name[96];
    std::snprintf(name, sizeof name, "2026年%d月%d日%02d時%02d分%02d秒.zefa", 1 + i % 12,
                  1 + i / 12 % 28, i / 336 % 24, i / 60 % 60, i % 60);
    WriteRecord((root / "restore" / name).string(), "/home/user/写真/旅行" + std::to_string(i), 10,
                i);
  }

  zefa::NativeFileSystem file_system;
  zefa::bench::SilentPrompter prompter;
  zefa::ProgramPaths paths;
  paths.settings_path = (root / "ZeFa_oru.ini").string();
  paths.restore_folder = (root / "restore").string();
  const zefa::Context context{prompter, file_system, paths, zefa::NativeTextRules()};

  const double baseline = ReadEveryRecord(root / "restore");
  auto started = Clock::now();
  auto dialog = std::make_unique<THistoryForm>(context);
  dialog->show();
  QApplication::processEvents();
  const double shown = Milliseconds(started);
  while (!dialog->StatesKnown()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  const double states = Milliseconds(started);
  std::printf(
      "history of %d records: lines shown %.0f ms, every state %.0f ms; reading every "
      "record once %.0f ms; ratio %.2f\n",
      records, shown, states, baseline, shown / baseline);
  dialog.reset();

  // One record of many rows, the newest, selected from the second line.
  std::filesystem::remove_all(root / "restore");
  std::filesystem::create_directories(root / "restore");
  WriteRecord((root / "restore" / "2026年12月1日00時00分00秒.zefa").string(), "/home/user/写真",
              rows, 0);
  WriteRecord((root / "restore" / "2026年12月2日00時00分00秒.zefa").string(), "/home/user/写真", 10,
              1);
  dialog = std::make_unique<THistoryForm>(context);
  dialog->show();
  QApplication::processEvents();
  auto* runs = dialog->findChild<QTreeView*>(QStringLiteral("HistoryList"));
  auto* row_view = dialog->findChild<QTreeView*>(QStringLiteral("RowList"));
  const auto big = root / "restore" / "2026年12月1日00時00分00秒.zefa";
  started = Clock::now();
  {
    // The baseline: the record's bytes read into memory, as the window first does.
    std::string bytes(static_cast<std::size_t>(std::filesystem::file_size(big)), '\0');
    const int fd = ::open(big.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t got_all = 0;
    for (ssize_t got; (got = ::read(fd, bytes.data() + got_all, bytes.size() - got_all)) > 0;) {
      got_all += static_cast<std::size_t>(got);
    }
    ::close(fd);
    if (got_all != bytes.size()) std::puts("record cut short");
  }
  const double read_big = Milliseconds(started);
  // Selected while the worker still looks the record's files up, then again once it is done.
  const auto select = [&] {
    runs->setCurrentIndex(runs->model()->index(0, 0));
    QApplication::processEvents();
    const auto at = Clock::now();
    runs->setCurrentIndex(runs->model()->index(1, 0));
    row_view->repaint();
    QApplication::processEvents();
    return Milliseconds(at);
  };
  const double while_busy = select();
  while (!dialog->StatesKnown()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  const double selected = select();
  std::printf(
      "record of %d rows: shown on selecting it %.0f ms (%.0f ms while the states are "
      "looked up; %d rows in the view); reading its bytes %.0f ms; ratio %.2f\n",
      rows, selected, while_busy, row_view->model()->rowCount(), read_big, selected / read_big);
  dialog.reset();
  std::filesystem::remove_all(root);
  return 0;
}
