// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zefa {

class FileSystem;

/**
 * Access to the settings file at one path. Nothing is cached: every read goes to the
 * file, every write reaches the disk before it returns, so the next command sees a change
 * at once. A missing file or key reads as the default.
 */
class SettingsFile {
 public:
  /** Values longer than this are cut, as by the profile reader's 2048-byte buffer. */
  static constexpr std::size_t kMaxStringBytes = 2047;
  /** A larger file, or anything but a regular file, reads as missing: no real one is near it. */
  static constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

  SettingsFile(FileSystem& file_system, std::string path);

  const std::string& path() const { return path_; }

  int ReadInteger(std::string_view section, std::string_view key, int default_value) const;
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;

  /**
   * Each throws CommandError "<path> に書き込めません" when the write is refused: by the
   * platform, because the file is there but cannot be read, or because the value cannot be
   * stored as one line. The file is then left as it was.
   */
  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  /**
   * Creates the file's folder with every missing parent (a per-user folder before the
   * first save); a folder that cannot be made shows up as the refused write that follows.
   */
  void CreateFolder();

 private:
  /** The stored value cut to kMaxStringBytes; nullopt when the file or the key is missing. */
  std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;

  FileSystem& file_system_;
  std::string path_;
};

}  // namespace zefa
