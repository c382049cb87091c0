// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <concepts>
#include <functional>
#include <string>
#include <string_view>
#include <variant>

namespace zefa {

class SettingsFile;

/** The options of the settings dialog; a fresh object holds their defaults (kOptionKeys). */
struct Options {
  Options();

  int digits{};               // of the serial number; the dialog keeps it to 1 to 6
  int pattern{};              // which of the eight orders of the name's parts
  bool space_between{};       // a half-width space between the parts of a name
  bool strip_common_name{};   // from a unique name when a file is added
  bool number_brackets{};     // the number stands between number_open and number_close
  bool update_check{};        // look for a newer version at start
  bool arrows_move_unique{};  // ↑↓ move the unique names with the files
  std::string number_open;
  std::string number_close;
  bool unique_brackets{};  // a unique name is what the file name holds between these two
  std::string unique_open;
  std::string unique_close;
  bool folder_numbers{};    // the serial numbers start again in each folder
  std::string date_format;  // of a unique name from the date taken
  bool restore_always{};    // a restore file for every run, without its question
};

/** Whether a preset keeps an option: those that decide the names a run gives. */
enum class Kept : bool { kSettingsOnly, kInPresets };

/** One key of section [Option]: its name, the option it holds and its default. */
struct OptionKey {
  template <typename T, typename Default>
  requires std::same_as<T, Default> ||
      (std::same_as<T, std::string>&& std::same_as<Default, const char*>)constexpr OptionKey(
          const char* key_name, T Options::*field, Default default_of_field, Kept kept)
      : name(key_name), member(field), default_value(default_of_field), in_presets(kept) {}

  const char* name;
  std::variant<bool Options::*, int Options::*, std::string Options::*> member;
  std::variant<bool, int, const char*> default_value;  // of the member's own kind
  Kept in_presets;
};

/**
 * Every option's key, in the order the settings dialog writes them: the twelve keys every
 * settings file has, mixed case as they are, then those added since. A file without one of
 * the later keys behaves as before the key existed.
 */
inline constexpr OptionKey kOptionKeys[] = {
    {"keta", &Options::digits, 1, Kept::kInPresets},
    {"pattern", &Options::pattern, 1, Kept::kInPresets},
    {"space", &Options::space_between, true, Kept::kInPresets},
    {"when_add", &Options::strip_common_name, false, Kept::kInPresets},
    {"Num_kakko", &Options::number_brackets, false, Kept::kInPresets},
    {"UpdateCheck", &Options::update_check, true, Kept::kSettingsOnly},
    {"UpDownButton_rendo", &Options::arrows_move_unique, true, Kept::kSettingsOnly},
    {"Num_aki", &Options::number_open, "[", Kept::kInPresets},
    {"Num_toji", &Options::number_close, "]", Kept::kInPresets},
    {"Koyu_kakko", &Options::unique_brackets, false, Kept::kInPresets},
    {"koyu_aki", &Options::unique_open, "「", Kept::kInPresets},
    {"koyu_toji", &Options::unique_close, "」", Kept::kInPresets},
    {"Folder_rendo", &Options::folder_numbers, false, Kept::kInPresets},
    {"Date_format", &Options::date_format, "%Y-%m-%d %H.%M.%S", Kept::kInPresets},
    {"Restore_always", &Options::restore_always, false, Kept::kSettingsOnly},
};

/** Sets one key of section [Option]; throws CommandError when the write is refused. */
using SetOption = std::function<void(std::string_view key, std::string_view value)>;

/** Every option of section [Option]; a missing key reads as its default. */
Options ReadOptions(const SettingsFile& settings);

/**
 * Sets every option's key in the table's order, booleans as 1 and 0. A refused key throws
 * and leaves the keys after it unset.
 */
void WriteOptions(const Options& options, const SetOption& set);
/** The same for the keys a preset keeps. */
void WritePresetOptions(const Options& options, const SetOption& set);

/** Copies the options a preset keeps from `from` to `to`. */
void CopyPresetOptions(const Options& from, Options& to);

/** One option as the file holds it now, or its default: for a command that needs one. */
template <typename T>
T ReadOption(const SettingsFile& settings, T Options::*member);

}  // namespace zefa
