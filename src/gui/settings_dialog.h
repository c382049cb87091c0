// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "commands/context.h"
#include "commands/main_state.h"
#include "commands/settings_dialog_values.h"
#include "fixed_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class DigitSpinBox;

/**
 * The settings dialog: loads the twelve options on creation, shows the number example,
 * and on OK writes them all and hands the saved pattern to `after_save`, which applies
 * it to the main window and runs its FormCreate again, before the dialog disappears.
 */
class TForm2 : public FixedDialog {
  Q_OBJECT

 public:
  TForm2(const zefa::Context& context, std::function<void(int pattern)> after_save,
         QWidget* owner = nullptr);
  ~TForm2() override;

  /** What the controls hold now, as the OK button reads them. */
  zefa::SettingsDialogValues Values() const;
  /**
   * The main window's common name, which a preset saved here keeps, and where a chosen
   * preset's common name goes on OK.
   */
  void SetCommonName(std::string current, std::function<void(const std::string&)> apply);

 private:
  void FormCreate();
  void Button1Click();
  void CheckBox3Click();
  void CheckBox4Click();
  void Edit1Change();
  void ShowDigitsExample();
  /** Sets every control from `values`, each change firing its handler. */
  void Show(const zefa::SettingsDialogValues& values);
  /** The row 「プリセット」: its list, filled again with `selected` chosen. */
  void FillPresets(const std::string& selected);
  void PresetBoxChange(int index);
  void PresetSaveClick();
  void PresetDeleteClick();
  std::string PresetPath(const std::string& name) const;

  zefa::Context context_;
  std::function<void(int)> after_save_;

  QCheckBox* check_box1_;
  QCheckBox* check_box2_;
  QCheckBox* check_box3_;
  QCheckBox* check_box4_;
  QCheckBox* check_box5_;
  QCheckBox* check_box6_;
  QLabel* label2_;
  QCheckBox* check_box7_;  // `Folder_rendo`
  QCheckBox* check_box8_;  // `Restore_always`
  std::array<QRadioButton*, 8> radio_buttons_{};
  DigitSpinBox* spin_edit1_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLineEdit* edit3_;
  QLineEdit* edit4_;
  QLineEdit* edit5_;
  QLabel* panel1_;
  QComboBox* preset_box_;
  std::optional<zefa::Preset> chosen_;  // the preset chosen, applied in full on OK
  std::string common_name_;
  std::function<void(const std::string&)> apply_common_name_;
};

/**
 * Exit1Click and Button3 "設定" of the main window: a new dialog owned by `owner`, shown
 * modally and released when it closes. `after_save` runs only after a completed OK.
 */
void OpenSettingsDialog(QWidget* owner, const zefa::Context& context,
                        std::function<void(int pattern)> after_save, std::string common_name = {},
                        std::function<void(const std::string&)> apply_common_name = {});
