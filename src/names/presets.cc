// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names/presets.h"

#include <algorithm>

#include "platform/command_error.h"
#include "settings/profile.h"
#include "settings/settings_keys.h"

namespace zefa {
namespace {

using namespace keys;

constexpr const char* kPresetFolderName = "presets";
constexpr std::string_view kPresetExtension = ".ini";
constexpr std::size_t kLongestFileName = 255;

std::string Bool(bool value) { return value ? "1" : "0"; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The name a preset's file name stands for; nullopt for a file no preset is written as.
std::optional<std::string> PresetNameOfFile(std::string_view file_name) {
  if (!file_name.ends_with(kPresetExtension)) return std::nullopt;
  file_name.remove_suffix(kPresetExtension.size());
  std::string name;
  for (std::size_t i = 0; i < file_name.size(); ++i) {
    if (file_name[i] != '%') {
      name += file_name[i];
      continue;
    }
    if (i + 2 >= file_name.size() || HexValue(file_name[i + 1]) < 0 ||
        HexValue(file_name[i + 2]) < 0) {
      return std::nullopt;
    }
    name += static_cast<char>(HexValue(file_name[i + 1]) * 16 + HexValue(file_name[i + 2]));
    i += 2;
  }
  if (name.empty() || PresetFileName(name) != std::string(file_name) + ".ini") return std::nullopt;
  return name;
}

}  // namespace

ReplaceRule ReadLastRule(const SettingsFile& settings) {
  ReplaceRule rule;
  rule.search = settings.ReadString(kSection, kReplaceSearch, "");
  rule.replacement = settings.ReadString(kSection, kReplaceWith, "");
  rule.regex = settings.ReadBool(kSection, kReplaceRegex, false);
  rule.match_case = settings.ReadBool(kSection, kReplaceMatchCase, false);
  rule.target = settings.ReadInteger(kSection, kReplaceTarget, 0) == 1 ? ReplaceTarget::kExtension
                                                                       : ReplaceTarget::kUniqueName;
  rule.to_half_width = settings.ReadBool(kSection, kReplaceHalfWidth, false);
  rule.to_full_width_kana = settings.ReadBool(kSection, kReplaceFullWidthKana, false);
  const int letter_case = settings.ReadInteger(kSection, kReplaceLetterCase, 0);
  rule.case_change = letter_case == 1   ? CaseChange::kUpper
                     : letter_case == 2 ? CaseChange::kLower
                                        : CaseChange::kNone;
  rule.compose = settings.ReadBool(kSection, kReplaceCompose, false);
  return rule;
}

void WriteLastRule(const ReplaceRule& rule, const SetOption& set) {
  set(kReplaceSearch, rule.search);
  set(kReplaceWith, rule.replacement);
  set(kReplaceRegex, Bool(rule.regex));
  set(kReplaceMatchCase, Bool(rule.match_case));
  set(kReplaceTarget, rule.target == ReplaceTarget::kExtension ? "1" : "0");
  set(kReplaceHalfWidth, Bool(rule.to_half_width));
  set(kReplaceFullWidthKana, Bool(rule.to_full_width_kana));
  set(kReplaceLetterCase, rule.case_change == CaseChange::kUpper   ? "1"
                          : rule.case_change == CaseChange::kLower ? "2"
                                                                   : "0");
  set(kReplaceCompose, Bool(rule.compose));
}

void SaveLastRule(SettingsFile& settings, const ReplaceRule& rule) {
  settings.CreateFolder();
  WriteLastRule(rule, [&](std::string_view key, std::string_view value) {
    settings.WriteString(kSection, key, value);
  });
}

std::string PresetFolder(const ProgramPaths& paths, const TextRules& rules) {
  return std::string(FolderPart(paths.settings_path, rules)) + kPresetFolderName;
}

std::optional<std::string> PresetFileName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  static constexpr char kHex[] = "0123456789ABCDEF";
  static constexpr std::string_view kRefused = "/\\:*?\"<>|%";
  std::string file_name;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte < 0x20 || byte == 0x7F || kRefused.find(name[i]) != std::string_view::npos ||
        (i == 0 && name[i] == '.')) {
      file_name += '%';
      file_name += kHex[byte >> 4];
      file_name += kHex[byte & 0x0F];
    } else {
      file_name += name[i];
    }
  }
  file_name += kPresetExtension;
  if (file_name.size() > kLongestFileName) return std::nullopt;
  return file_name;
}

std::vector<std::string> ListPresets(FileSystem& file_system, const ProgramPaths& paths,
                                     const TextRules& rules) {
  std::vector<std::string> names;
  file_system.WalkFolder(PresetFolder(paths, rules), [&](FolderListing& listing) {
    for (const std::string& file : listing.files) {
      if (std::optional<std::string> name = PresetNameOfFile(file)) names.push_back(*name);
    }
    return std::optional<std::vector<std::string>>(std::vector<std::string>());
  });
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<Preset> LoadPreset(FileSystem& file_system, const ProgramPaths& paths,
                                 std::string_view name, const TextRules& rules) {
  const std::optional<std::string> file_name = PresetFileName(name);
  if (!file_name) return std::nullopt;
  const std::string path = WithTrailingSeparator(PresetFolder(paths, rules), rules) + *file_name;
  if (!file_system.FileExists(path)) return std::nullopt;
  const SettingsFile file(file_system, path);
  Preset preset;
  preset.naming = ReadOptions(file);
  preset.common_name = file.ReadString(kSection, kCommonName, "");
  preset.rule = ReadLastRule(file);
  return preset;
}

void SavePreset(FileSystem& file_system, const ProgramPaths& paths, std::string_view name,
                const Preset& preset, const TextRules& rules) {
  const std::string folder = PresetFolder(paths, rules);
  const std::optional<std::string> file_name = PresetFileName(name);
  const std::string path = WithTrailingSeparator(folder, rules) + file_name.value_or("");
  if (!file_name) throw WriteRefused(path);
  // The whole preset in one write: a preset is never left half written.
  Profile profile = Profile::Parse("");
  const SetOption set = [&](std::string_view key, std::string_view value) {
    if (!profile.Set(kSection, key, value)) throw WriteRefused(path);
  };
  WritePresetOptions(preset.naming, set);
  set(kCommonName, preset.common_name);
  WriteLastRule(preset.rule, set);
  file_system.CreateFolders(folder);
  if (!file_system.WriteFile(path, profile.Serialize(), WriteMode::kReplace)) {
    throw WriteRefused(path);
  }
}

}  // namespace zefa
