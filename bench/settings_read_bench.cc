// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Sorting derives every row's unique name again and opens the settings file for each row,
// reading two to four keys. This prints what one key read costs against reading the
// file's bytes alone, measured in the same run.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace {

constexpr int kRows = 100000;

template <typename Work>
double Seconds(Work work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRows; ++i) work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  std::string folder = "/tmp/zefa-bench-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  const std::string path = folder + "/ZeFa_oru.ini";
  zefa::NativeFileSystem file_system;
  zefa::SettingsFile settings(file_system, path);
  using namespace zefa::keys;
  settings.WriteInteger(kSection, kKeta, 3);
  settings.WriteInteger(kSection, kPattern, 2);
  settings.WriteBool(kSection, kSpace, true);
  settings.WriteBool(kSection, kWhenAdd, true);
  settings.WriteBool(kSection, kNumKakko, false);
  settings.WriteBool(kSection, kUpdateCheck, false);
  settings.WriteBool(kSection, kUpDownButtonRendo, true);
  settings.WriteString(kSection, kNumAki, kDefaultNumAki);
  settings.WriteString(kSection, kNumToji, kDefaultNumToji);
  settings.WriteBool(kSection, kKoyuKakko, true);
  settings.WriteString(kSection, kKoyuAki, kDefaultKoyuAki);
  settings.WriteString(kSection, kKoyuToji, kDefaultKoyuToji);

  std::size_t sink = 0;
  const double bytes_only = Seconds(
      [&] { sink += file_system.ReadFile(path, zefa::SettingsFile::kMaxFileBytes)->size(); });
  const double one_key = Seconds([&] { sink += settings.ReadBool(kSection, kWhenAdd, false); });
  const double one_string =
      Seconds([&] { sink += settings.ReadString(kSection, kKoyuToji, "").size(); });
  ::unlink(path.c_str());
  ::rmdir(folder.c_str());

  std::printf("settings file reads, %d each (checksum %zu)\n", kRows, sink);
  std::printf("  file bytes only   %7.3f s  %6.2f us  1.00 (baseline)\n", bytes_only,
              bytes_only * 1e6 / kRows);
  std::printf("  one boolean key   %7.3f s  %6.2f us  %.2f x baseline\n", one_key,
              one_key * 1e6 / kRows, one_key / bytes_only);
  std::printf("  one string key    %7.3f s  %6.2f us  %.2f x baseline\n", one_string,
              one_string * 1e6 / kRows, one_string / bytes_only);
  std::printf("  a sorted row reads 2 to 4 keys: %.0f to %.0f us\n", 2 * one_key * 1e6 / kRows,
              4 * one_key * 1e6 / kRows);
  return 0;
}
