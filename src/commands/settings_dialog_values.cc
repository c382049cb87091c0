// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/settings_dialog_values.h"

#include <algorithm>

#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "text/padding.h"

namespace zefa {

int ClampDigits(int value) { return std::clamp(value, 1, kMaxDigits); }

void SettingsDialogValues::KeepToTheControls() {
  digits = ClampDigits(digits);
  if (pattern < 1 || pattern > 8) pattern = 1;
}

void SettingsDialogValues::Load(const SettingsFile& settings) {
  static_cast<Options&>(*this) = ReadOptions(settings);
  KeepToTheControls();
}

void SettingsDialogValues::Save(SettingsFile& settings) const {
  settings.CreateFolder();
  WriteOptions(Saved(), [&](std::string_view key, std::string_view value) {
    settings.WriteString(keys::kSection, key, value);
  });
}

Options SettingsDialogValues::Saved() const {
  Options options = *this;
  options.digits = Digits();
  return options;
}

void SettingsDialogValues::ApplyPreset(const Options& preset) {
  CopyPresetOptions(preset, *this);
  // A hand-edited preset is shown as a hand-edited settings file is.
  KeepToTheControls();
}

std::string SettingsDialogValues::Example() const {
  return number_open + NumberText(1, digits) + number_close;
}

std::string SettingsDialogValues::DigitsExample() const {
  const int shown = Digits();
  return "いまの桁数（" + std::to_string(shown) + " 桁）では 1→" + NumberText(1, shown) + "  20→" +
         NumberText(20, shown);
}

int SettingsDialogValues::Digits() const { return ClampDigits(digits); }

}  // namespace zefa
