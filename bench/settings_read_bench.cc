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
#include "settings/options.h"
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
  zefa::Options options;
  options.digits = 3;
  options.pattern = 2;
  options.strip_common_name = true;
  options.update_check = false;
  options.unique_brackets = true;
  zefa::WriteOptions(options, [&](std::string_view key, std::string_view value) {
    settings.WriteString(zefa::keys::kSection, key, value);
  });

  std::size_t sink = 0;
  const double bytes_only = Seconds(
      [&] { sink += file_system.ReadFile(path, zefa::SettingsFile::kMaxFileBytes)->size(); });
  const double one_key =
      Seconds([&] { sink += zefa::ReadOption(settings, &zefa::Options::strip_common_name); });
  const double one_string =
      Seconds([&] { sink += zefa::ReadOption(settings, &zefa::Options::unique_close).size(); });
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
