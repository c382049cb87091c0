// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "commands/settings_dialog_values.h"

#include <algorithm>

#include "commands/main_state.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "text/padding.h"

namespace zefa {

int ClampDigits(int value) { return std::clamp(value, 1, kMaxDigits); }

void SettingsDialogValues::Load(const SettingsFile& settings) {
  using namespace keys;
  spin_edit1 = std::to_string(ClampDigits(settings.ReadInteger(kSection, kKeta, kDefaultKeta)));
  check_box1 = settings.ReadBool(kSection, kSpace, kDefaultSpace);
  const int pattern = settings.ReadInteger(kSection, kPattern, kDefaultPattern);
  check_box2 = settings.ReadBool(kSection, kWhenAdd, kDefaultWhenAdd);
  check_box3 = settings.ReadBool(kSection, kNumKakko, kDefaultNumKakko);
  check_box4 = settings.ReadBool(kSection, kKoyuKakko, kDefaultKoyuKakko);
  check_box5 = settings.ReadBool(kSection, kUpdateCheck, kDefaultUpdateCheck);
  check_box6 = settings.ReadBool(kSection, kUpDownButtonRendo, kDefaultUpDownButtonRendo);
  edit1 = settings.ReadString(kSection, kNumAki, kDefaultNumAki);
  edit2 = settings.ReadString(kSection, kNumToji, kDefaultNumToji);
  edit3 = settings.ReadString(kSection, kKoyuAki, kDefaultKoyuAki);
  edit4 = settings.ReadString(kSection, kKoyuToji, kDefaultKoyuToji);
  check_box7 = settings.ReadBool(kSection, kFolderRendo, kDefaultFolderRendo);
  edit5 = settings.ReadString(kSection, kDateFormat, kDefaultDateFormat);
  check_box8 = settings.ReadBool(kSection, kRestoreAlways, kDefaultRestoreAlways);
  radio_button = pattern >= 1 && pattern <= 8 ? pattern : 1;
}

void SettingsDialogValues::Save(SettingsFile& settings) const {
  using namespace keys;
  settings.CreateFolder();
  settings.WriteInteger(kSection, kKeta, Digits());
  settings.WriteInteger(kSection, kPattern, radio_button);
  settings.WriteBool(kSection, kSpace, check_box1);
  settings.WriteBool(kSection, kWhenAdd, check_box2);
  settings.WriteBool(kSection, kNumKakko, check_box3);
  settings.WriteBool(kSection, kUpdateCheck, check_box5);
  settings.WriteBool(kSection, kUpDownButtonRendo, check_box6);
  settings.WriteString(kSection, kNumAki, edit1);
  settings.WriteString(kSection, kNumToji, edit2);
  settings.WriteBool(kSection, kKoyuKakko, check_box4);
  settings.WriteString(kSection, kKoyuAki, edit3);
  settings.WriteString(kSection, kKoyuToji, edit4);
  settings.WriteBool(kSection, kFolderRendo, check_box7);
  settings.WriteString(kSection, kDateFormat, edit5);
  settings.WriteBool(kSection, kRestoreAlways, check_box8);
}

NamingValues SettingsDialogValues::Naming() const {
  NamingValues naming;
  naming.keta = Digits();
  naming.pattern = radio_button;
  naming.space = check_box1;
  naming.when_add = check_box2;
  naming.num_kakko = check_box3;
  naming.num_aki = edit1;
  naming.num_toji = edit2;
  naming.koyu_kakko = check_box4;
  naming.koyu_aki = edit3;
  naming.koyu_toji = edit4;
  naming.folder_rendo = check_box7;
  naming.date_format = edit5;
  return naming;
}

void SettingsDialogValues::ApplyNaming(const NamingValues& naming) {
  // A hand-edited preset is shown as a hand-edited settings file is.
  spin_edit1 = std::to_string(ClampDigits(naming.keta));
  radio_button = naming.pattern >= 1 && naming.pattern <= 8 ? naming.pattern : 1;
  check_box1 = naming.space;
  check_box2 = naming.when_add;
  check_box3 = naming.num_kakko;
  edit1 = naming.num_aki;
  edit2 = naming.num_toji;
  check_box4 = naming.koyu_kakko;
  edit3 = naming.koyu_aki;
  edit4 = naming.koyu_toji;
  check_box7 = naming.folder_rendo;
  edit5 = naming.date_format;
}

std::string SettingsDialogValues::Example() const {
  return edit1 + NumberText(1, SpinValue()) + edit2;
}

std::string SettingsDialogValues::DigitsExample() const {
  const int digits = Digits();
  return "いまの桁数（" + std::to_string(digits) + " 桁）では 1→" + NumberText(1, digits) +
         "  20→" + NumberText(20, digits);
}

int SettingsDialogValues::SpinValue() const { return SpinValueOfText(spin_edit1); }

int SettingsDialogValues::Digits() const { return ClampDigits(SpinValue()); }

}  // namespace zefa
