// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "commands/context.h"
#include "commands/main_state.h"
#include "fixed_dialog.h"
#include "names/name_replace.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;
class ScanThread;
struct ScanView;

/**
 * The find-and-replace window: a search, a replacement and conversions for every row's
 * unique name or extension. It looks at the list as the rule changes, the first slice at
 * once and the rest on a thread of its own, shows how many rows change and the first of them, and
 * writes them into the main window's state on OK; the owner renders the state again after it
 * closes.
 */
class TForm6 : public FixedDialog {
  Q_OBJECT

 public:
  TForm6(zefa::MainState& state, const zefa::TextRules& rules, QWidget* owner = nullptr);
  ~TForm6() override;

  /** What the replacement's tokens are filled from; the list is looked at again. */
  void SetTokenSources(zefa::TokenSources sources) {
    sources_ = std::move(sources);
    RuleChanged();
  }
  /** Whether the window closed by 置換後の名前でリネーム: the owner runs the names alone. */
  bool rename_asked() const { return rename_asked_; }

  /** Sets every field and option to `rule`, as a user would. */
  void ShowRule(const zefa::ReplaceRule& rule);
  /** The rule the fields and options hold. */
  zefa::ReplaceRule ReadRule() const;

 private:
  void RuleChanged();
  void PollScan();
  void ShowScan(const ScanView& view);
  void Button1Click();
  void Button3Click();

  zefa::MainState& state_;
  zefa::TextRules rules_;
  std::unique_ptr<zefa::ReplaceScan> scan_;
  std::unique_ptr<ScanThread> scan_thread_;  // after scan_: ends before it
  QTimer* timer_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QLabel* search_error_;
  QLabel* replacement_error_;
  QCheckBox* regex_;
  QCheckBox* match_case_;
  QRadioButton* unique_target_;
  QCheckBox* half_width_;
  QCheckBox* full_width_kana_;
  QCheckBox* upper_;
  QCheckBox* lower_;
  QCheckBox* compose_;
  QLabel* count_;
  QListWidget* before_;
  QListWidget* after_;
  QPushButton* button1_;
  QCheckBox* pad_;
  QSpinBox* pad_digits_;
  QSpinBox* number_shift_;
  zefa::TokenSources sources_;
  QPushButton* button3_;
  bool rename_asked_ = false;
};

/**
 * The 置換 item of the main window: a new window owned by `owner`, shown modally, released.
 * True when it closed by 置換後の名前でリネーム, with the replacement written into `state`.
 */
bool OpenFindReplace(QWidget* owner, zefa::MainState& state, const zefa::Context& context);
