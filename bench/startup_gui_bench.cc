// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Start-up to a shown main window, with the update check off, against a bare Qt window
// shown in the same process. Run offscreen or under Xvfb.
#include <stdlib.h>

#include <QApplication>
#include <QWidget>
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

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const auto process_start = std::chrono::steady_clock::now();
  std::string folder = (std::filesystem::temp_directory_path() / "zefa-startup-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  std::ofstream(folder + "/ZeFa_oru.ini") << "[Option]\nUpdateCheck=0\n";
  ::setenv("ZEFA_ORU_DIR", folder.c_str(), 1);

  QApplication app(argc, argv);
  const auto app_ready = std::chrono::steady_clock::now();

  constexpr int kRounds = 20;
  double bare_best = 1e9;
  double form_best = 1e9;
  double first_form = 0;
  zefa::NativeFileSystem file_system;
  for (int round = 0; round < kRounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    {
      QWidget bare;
      bare.resize(387, 454);
      bare.show();
      QApplication::processEvents();
    }
    bare_best = std::min(bare_best, Milliseconds(std::chrono::steady_clock::now() - start));

    start = std::chrono::steady_clock::now();
    {
      QtPrompter prompter(nullptr);
      TForm1 form(prompter, file_system, zefa::CurrentProgramPaths(file_system));
      form.show();
      QApplication::processEvents();
    }
    const double took = Milliseconds(std::chrono::steady_clock::now() - start);
    if (round == 0) first_form = took;
    form_best = std::min(form_best, took);
  }
  std::printf("QApplication ready after %.1f ms\n", Milliseconds(app_ready - process_start));
  std::printf("main window shown: first %.1f ms, best %.1f ms (target under 300 ms)\n", first_form,
              form_best);
  std::printf("bare Qt window shown: best %.1f ms; main window / bare window: %.2f\n", bare_best,
              form_best / bare_best);
  std::printf("process start to first main window: %.1f ms\n",
              Milliseconds(app_ready - process_start) + first_form);
  std::filesystem::remove_all(folder);
  return 0;
}
