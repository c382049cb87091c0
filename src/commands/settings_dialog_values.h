// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "names/presets.h"
#include "settings/settings_keys.h"

namespace zefa {

class SettingsFile;

/**
 * The values of the settings dialog's controls (TForm2), named after them. The window
 * renders these and reads them back; loading, the number example and saving live here.
 * A fresh object holds the dialog's initial state, which matches the file's defaults.
 */
struct SettingsDialogValues {
  std::string spin_edit1 = "1";                   // SpinEdit1's text: `keta`
  bool check_box1 = true;                         // `space`
  bool check_box2 = false;                        // `when_add`
  bool check_box3 = false;                        // `Num_kakko`
  bool check_box4 = false;                        // `Koyu_kakko`
  bool check_box5 = true;                         // `UpdateCheck`
  bool check_box6 = true;                         // `UpDownButton_rendo`
  int radio_button = 1;                           // the checked RadioButton n: `pattern`
  std::string edit1 = "[";                        // `Num_aki`
  std::string edit2 = "]";                        // `Num_toji`
  std::string edit3 = "「";                       // `koyu_aki`
  std::string edit4 = "」";                       // `koyu_toji`
  bool check_box7 = false;                        // `Folder_rendo`
  std::string edit5 = keys::kDefaultDateFormat;   // `Date_format`, below the specified controls
  bool check_box8 = keys::kDefaultRestoreAlways;  // `Restore_always`, the last row

  /**
   * FormCreate's reads, in its order: `keta` brought to the nearer bound of 1 to 6, and a
   * `pattern` that has no radio button shown as RadioButton1.
   */
  void Load(const SettingsFile& settings);

  /**
   * Button1Click: the twelve keys in the file's key order, then `Folder_rendo`, `Date_format` and
   * `Restore_always`. A refused write throws
   * CommandError and leaves the keys after it as they were.
   */
  void Save(SettingsFile& settings) const;

  /** The naming settings the controls hold, as a preset keeps them. */
  NamingValues Naming() const;
  /** Sets the controls of a preset's naming settings; the other two check boxes stay. */
  void ApplyNaming(const NamingValues& naming);
  /** Panel1's text while CheckBox3 is checked: Edit1, the padded 1, Edit2 ("[001]"). */
  std::string Example() const;

  /**
   * The example of the digit count as it stands ("1→01  20→20" for 2), for the tip of
   * its caption, whose own text is the example of 3 digits.
   */
  std::string DigitsExample() const;

  /** SpinEdit1's value as the example reads it: its text as an integer, else 1. */
  int SpinValue() const;

  /** SpinEdit1's value once it has lost the focus, as it is saved: 1 to 6. */
  int Digits() const;
};

/** A digit count brought to the nearer bound of the spin box's range 1 to 6. */
int ClampDigits(int value);

}  // namespace zefa
