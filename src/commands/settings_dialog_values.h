// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "names/presets.h"
#include "settings/options.h"

namespace zefa {

class SettingsFile;

/**
 * The values of the settings dialog's controls (TForm2): its options, `digits` as SpinEdit1
 * reads while it is typed in and `pattern` as the checked RadioButton n. The window renders
 * these and reads them back; loading, the number example and saving live here. A fresh
 * object holds the dialog's initial state, the options' defaults.
 */
struct SettingsDialogValues : Options {
  /**
   * FormCreate's reads: `keta` brought to the nearer bound of 1 to 6, and a `pattern` that
   * has no radio button shown as RadioButton1.
   */
  void Load(const SettingsFile& settings);

  /**
   * Button1Click: every option's key in the file's key order, the digits at the nearer
   * bound. A refused write throws CommandError and leaves the keys after it as they were.
   */
  void Save(SettingsFile& settings) const;

  /** The options the controls hold, as OK saves them and a preset keeps them. */
  Options Saved() const;
  /** Sets the controls of the options a preset keeps; the others stay. */
  void ApplyPreset(const Options& preset);
  /** Panel1's text while CheckBox3 is checked: Edit1, the padded 1, Edit2 ("[001]"). */
  std::string Example() const;

  /**
   * The example of the digit count as it stands ("1→01  20→20" for 2), for the tip of
   * its caption, whose own text is the example of 3 digits.
   */
  std::string DigitsExample() const;

  /** SpinEdit1's value once it has lost the focus, as it is saved: 1 to 6. */
  int Digits() const;

 private:
  /** Shows a hand-edited file or preset as the controls can: see Load. */
  void KeepToTheControls();
};

/** A digit count brought to the nearer bound of the spin box's range 1 to 6. */
int ClampDigits(int value);

}  // namespace zefa
