// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The profile reader and writer on arbitrary bytes: nothing may crash, and a value that
// was set reads back byte for byte after the text is written and read again, with every
// other key as it was, and lines nobody changed keep their bytes.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "platform/command_error.h"
#include "fuzz_check.h"
#include "platform/file_system.h"
#include "settings/profile.h"
#include "settings/settings_file.h"
#include "text/code_page_convert.h"
#include "text/text_rules.h"

namespace {

using zefa::Profile;

constexpr std::array<const char*, 6> kSections = {"Option", "option", "OPTION",
                                                  "Other",  "",       " Option "};
constexpr std::array<const char*, 10> kKeys = {
    "keta", "pattern", "Num_aki", "NUM_AKI", "koyu_toji", "x", "UpdateCheck", "a b", "[k", "k=v"};

using zefa::fuzz::Check;

// One settings file held in memory, so that SettingsFile runs its real code paths.
class MemoryFileSystem : public zefa::FileSystem {
 public:
  std::optional<std::string> file;
  bool refuse_writes = false;

  bool FileExists(const std::string&) override { return file.has_value(); }
  bool FolderExists(const std::string&) override { return false; }
  bool CreateFolders(const std::string&) override { return false; }
  std::optional<std::string> FileKey(const std::string&) override { return std::nullopt; }
  zefa::ChangeReason RenameNoReplace(const std::string&, const std::string&) override {
    return zefa::ChangeReason::kRenameRefused;
  }
  std::optional<std::string> ReadFile(const std::string&, std::size_t) override { return file; }
  bool WriteFile(const std::string&, std::string_view bytes, zefa::WriteMode) override {
    if (refuse_writes) return false;
    file = std::string(bytes);
    return true;
  }
  std::string ExecutablePath() override { return "/fuzz/zefa-oru"; }
  zefa::LocalTime Now() override { return {}; }
};

std::map<std::string, std::optional<std::string>> Snapshot(const Profile& profile) {
  std::map<std::string, std::optional<std::string>> values;
  for (const char* section : kSections) {
    for (const char* key : kKeys) {
      const auto value = profile.Find(section, key);
      values[std::string(section) + '\x01' + key] =
          value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
    }
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The whole input is the file, so plain .ini files make good seeds; the same bytes also
  // pick the section, the key and the value to set.
  const std::string text(reinterpret_cast<const char*>(data), size);
  zefa::fuzz::FuzzInput input(data, size);
  const char* section = kSections[input.IntegerInRange<std::size_t>(0, kSections.size() - 1)];
  const char* key = kKeys[input.IntegerInRange<std::size_t>(0, kKeys.size() - 1)];
  std::string value = input.String(64);
  // Values come from the window as UTF-8; anything else is first read as Shift-JIS.
  if (!zefa::IsValidUtf8(value)) value = zefa::ShiftJisToUtf8(value);

  Profile profile = Profile::Parse(text);
  // Text that is already UTF-8 is written back byte for byte when nothing changed.
  if (zefa::IsValidUtf8(text)) Check(profile.Serialize() == text, "untouched text is kept");
  const auto before = Snapshot(profile);
  for (const auto& [name, found] : before) {
    if (!found) continue;
    if (const auto number = zefa::ParseProfileInteger(*found)) {
      Check(zefa::ParseProfileInteger(std::to_string(*number)) == number, "integer round trip");
    }
  }

  const bool set = profile.Set(section, key, value);
  const std::string written = profile.Serialize();
  const Profile reread = Profile::Parse(written);
  Check(reread.Serialize() == written, "serialized text is stable");
  if (set) {
    const auto found = reread.Find(section, key);
    Check(found.has_value() && *found == value, "the value set reads back");
  }
  // Every other key reads as before; the key set reads as set (or as before when refused).
  auto after = Snapshot(reread);
  for (const auto& [name, found] : before) {
    const std::string_view entry(name);
    const std::size_t split = entry.find('\x01');
    const bool same_key = zefa::SameProfileName(entry.substr(0, split), section) &&
                          zefa::SameProfileName(entry.substr(split + 1), key);
    if (set && same_key) continue;
    Check(after[name] == found, "other keys keep their values");
  }

  // The same through the settings file: reads never fail, a write either lands or throws.
  MemoryFileSystem file_system;
  file_system.file = text;
  file_system.refuse_writes = value.size() % 7 == 3;
  zefa::SettingsFile settings(file_system, "/fuzz/ZeFa_oru.ini");
  for (const char* any_key : kKeys) {
    const std::string read = settings.ReadString(section, any_key, "[");
    Check(read.size() <= zefa::SettingsFile::kMaxStringBytes, "string reads are cut");
    Check(zefa::IsValidUtf8(read), "string reads are UTF-8");
    settings.ReadInteger(section, any_key, 1);
  }
  try {
    settings.WriteString(section, key, value);
    Check(!file_system.refuse_writes, "a refused write throws");
    Check(settings.ReadString(section, key, "") ==
                  value.substr(0, zefa::SettingsFile::kMaxStringBytes) ||
              value.size() > zefa::SettingsFile::kMaxStringBytes,
          "the settings file reads the value back");
  } catch (const zefa::CommandError& error) {
    Check(file_system.refuse_writes || !set, "only a refused or unrecordable write throws");
    Check(file_system.file == text, "a failed write leaves the file as it was");
  }
  return 0;
}
