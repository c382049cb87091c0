// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include "commands/context.h"
#include "commands/main_state.h"
#include "fixed_dialog.h"
#include "text/text_rules.h"

class QLineEdit;
class QRadioButton;

/**
 * The batch replace dialog: one text for every row's extension or unique name. It writes
 * into the main window's state; the owner renders the state again after it closes.
 */
class TForm5 : public FixedDialog {
  Q_OBJECT

 public:
  TForm5(zefa::MainState& state, zefa::Prompter& prompter, zefa::CodePage code_page,
         QWidget* owner = nullptr);
  ~TForm5() override;

 private:
  void Button1Click();

  zefa::MainState& state_;
  zefa::Prompter& prompter_;
  zefa::CodePage code_page_;
  QRadioButton* radio_button1_;
  QLineEdit* edit1_;
};

/** Button15Click of the main window: a new dialog owned by `owner`, shown modally, released. */
void OpenBatchReplace(QWidget* owner, zefa::MainState& state, const zefa::Context& context);
