// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "names/name_replace.h"
#include "platform/file_system.h"
#include "platform/program_paths.h"
#include "settings/options.h"
#include "settings/settings_file.h"

namespace zefa {

/** A preset: the naming settings, the common name and a find-and-replace rule, kept by name. */
struct Preset {
  Options naming;  // only those a preset keeps are saved and applied; the others are defaults
  std::string common_name;
  ReplaceRule rule;
};

/** The find-and-replace window's last rule; an empty rule when the file holds none. */
ReplaceRule ReadLastRule(const SettingsFile& settings);
void WriteLastRule(const ReplaceRule& rule, const SetOption& set);
/** Writes the rule into the settings file, key by key after the keys before them. */
void SaveLastRule(SettingsFile& settings, const ReplaceRule& rule);

/** The folder of the presets: "presets" beside the settings file. */
std::string PresetFolder(const ProgramPaths& paths, const TextRules& rules);

/**
 * The file name of a preset: its name with every byte that a file name cannot hold, or
 * that would make it hidden or another name's ("/", "\", ":", "*", "?", '"', "<", ">",
 * "|", "%", control bytes, a leading "."), written as %XX, then ".ini". nullopt for an
 * empty name and one too long for a file name.
 */
std::optional<std::string> PresetFileName(std::string_view name);

/** The names of the presets in the folder, in byte order. */
std::vector<std::string> ListPresets(FileSystem& file_system, const ProgramPaths& paths,
                                     const TextRules& rules);

/** The preset of that name; nullopt when there is none. For the window and the command line. */
std::optional<Preset> LoadPreset(FileSystem& file_system, const ProgramPaths& paths,
                                 std::string_view name, const TextRules& rules = NativeTextRules());

/**
 * Writes the preset in the settings file's format, flushed to the disk, in place of one of
 * the same name. Throws CommandError "<path> に書き込めません" when refused.
 */
void SavePreset(FileSystem& file_system, const ProgramPaths& paths, std::string_view name,
                const Preset& preset, const TextRules& rules = NativeTextRules());

}  // namespace zefa
