// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings/options.h"

#include <cstdlib>

#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace zefa {
namespace {

bool DefaultOf(const OptionKey& key, bool Options::*) { return std::get<bool>(key.default_value); }
int DefaultOf(const OptionKey& key, int Options::*) { return std::get<int>(key.default_value); }
std::string DefaultOf(const OptionKey& key, std::string Options::*) {
  return std::get<const char*>(key.default_value);
}

bool Read(const SettingsFile& settings, const OptionKey& key, bool Options::*member) {
  return settings.ReadBool(keys::kSection, key.name, DefaultOf(key, member));
}
int Read(const SettingsFile& settings, const OptionKey& key, int Options::*member) {
  return settings.ReadInteger(keys::kSection, key.name, DefaultOf(key, member));
}
std::string Read(const SettingsFile& settings, const OptionKey& key, std::string Options::*member) {
  return settings.ReadString(keys::kSection, key.name, DefaultOf(key, member));
}

std::string Text(bool value) { return value ? "1" : "0"; }
std::string Text(int value) { return std::to_string(value); }
const std::string& Text(const std::string& value) { return value; }

/** Calls `visit(key, member)` for each key in the table's order, or each a preset keeps. */
template <typename Visit>
void ForEachKey(bool presets_only, Visit visit) {
  for (const OptionKey& key : kOptionKeys) {
    if (presets_only && key.in_presets != Kept::kInPresets) continue;
    std::visit([&](auto member) { visit(key, member); }, key.member);
  }
}

}  // namespace

Options::Options() {
  ForEachKey(false,
             [&](const OptionKey& key, auto member) { this->*member = DefaultOf(key, member); });
}

Options ReadOptions(const SettingsFile& settings) {
  Options options;
  ForEachKey(false, [&](const OptionKey& key, auto member) {
    options.*member = Read(settings, key, member);
  });
  return options;
}

void WriteOptions(const Options& options, const SetOption& set) {
  ForEachKey(false,
             [&](const OptionKey& key, auto member) { set(key.name, Text(options.*member)); });
}

void WritePresetOptions(const Options& options, const SetOption& set) {
  ForEachKey(true,
             [&](const OptionKey& key, auto member) { set(key.name, Text(options.*member)); });
}

void CopyPresetOptions(const Options& from, Options& to) {
  ForEachKey(true, [&](const OptionKey&, auto member) { to.*member = from.*member; });
}

template <typename T>
T ReadOption(const SettingsFile& settings, T Options::*member) {
  for (const OptionKey& key : kOptionKeys) {
    const auto* held = std::get_if<T Options::*>(&key.member);
    if (held != nullptr && *held == member) return Read(settings, key, member);
  }
  std::abort();  // every field of Options has its line in the table
}

template bool ReadOption(const SettingsFile&, bool Options::*);
template int ReadOption(const SettingsFile&, int Options::*);
template std::string ReadOption(const SettingsFile&, std::string Options::*);

}  // namespace zefa
