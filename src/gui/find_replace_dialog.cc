// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "find_replace_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "commands/find_replace_command.h"
#include "names/presets.h"
#include "platform/command_error.h"
#include "qt_text.h"

namespace {

// Rows looked at between two turns of the event loop: a few milliseconds of work.
constexpr int kRowsPerStep = 20000;

QCheckBox* PlaceCheckBox(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry) {
  return Place(new QCheckBox(caption, parent), name, geometry);
}

QLabel* PlaceErrorLabel(QWidget* parent, const char* name, const QRect& geometry) {
  QLabel* label = PlaceLabel(parent, name, QString(), geometry);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label->setPalette(palette);
  return label;
}

}  // namespace

TForm6::TForm6(zefa::MainState& state, const zefa::TextRules& rules, QWidget* owner)
    : FixedDialog(owner, QStringLiteral("置換"), 417, 400),
      state_(state),
      rules_(rules),
      timer_(new QTimer(this)) {
  PlaceLabel(this, "Label1", QStringLiteral("検索する文字列"), 8, 12);
  edit1_ = Place(new QLineEdit(this), "Edit1", {128, 8, 281, 20});
  search_error_ = PlaceErrorLabel(this, "Label2", {128, 30, 281, 16});
  PlaceLabel(this, "Label3", QStringLiteral("置換後の文字列"), 8, 52);
  edit2_ = Place(new QLineEdit(this), "Edit2", {128, 48, 281, 20});
  replacement_error_ = PlaceErrorLabel(this, "Label4", {128, 70, 281, 16});
  regex_ = PlaceCheckBox(this, "CheckBox1", QStringLiteral("正規表現を使う"), {8, 90, 137, 17});
  match_case_ = PlaceCheckBox(this, "CheckBox2", QStringLiteral("大文字と小文字を区別する"),
                              {152, 90, 201, 17});

  auto* target = Place(new QGroupBox(QStringLiteral("対象"), this), "GroupBox1", {8, 112, 401, 44});
  unique_target_ = Place(new QRadioButton(QStringLiteral("固有ファイル名"), target), "RadioButton1",
                         {12, 20, 121, 17});
  unique_target_->setChecked(true);
  auto* extension_target =
      Place(new QRadioButton(QStringLiteral("拡張子"), target), "RadioButton2", {140, 20, 81, 17});

  auto* conversions =
      Place(new QGroupBox(QStringLiteral("変換"), this), "GroupBox2", {8, 162, 401, 68});
  half_width_ = PlaceCheckBox(conversions, "CheckBox3", QStringLiteral("全角英数字・記号を半角に"),
                              {12, 20, 180, 17});
  full_width_kana_ = PlaceCheckBox(conversions, "CheckBox4", QStringLiteral("半角カタカナを全角に"),
                                   {196, 20, 200, 17});
  upper_ = PlaceCheckBox(conversions, "CheckBox5", QStringLiteral("大文字に"), {12, 44, 81, 17});
  lower_ = PlaceCheckBox(conversions, "CheckBox6", QStringLiteral("小文字に"), {100, 44, 81, 17});
  compose_ = PlaceCheckBox(conversions, "CheckBox7",
                           QStringLiteral("濁点の分かれた文字を合成 (NFC)"), {196, 44, 200, 17});

  count_ = PlaceLabel(this, "Label5", QString(), {8, 236, 401, 16});
  PlaceLabel(this, "Label6", QStringLiteral("BEFORE"), 8, 256);
  PlaceLabel(this, "Label7", QStringLiteral("AFTER"), 216, 256);
  before_ = Place(new QListWidget(this), "ListBox1", {8, 272, 193, 87});
  after_ = Place(new QListWidget(this), "ListBox2", {216, 272, 193, 87});
  for (QListWidget* list : {before_, after_})
    list->setSelectionMode(QAbstractItemView::NoSelection);
  button1_ = PlaceButton(this, "Button1", QStringLiteral("OK"), {248, 367, 75, 25});
  auto* button2 = PlaceButton(this, "Button2", QStringLiteral("キャンセル"), {334, 367, 75, 25});
  // Left of OK, where no control stands: the replacement, then a run of the names alone.
  button3_ =
      PlaceButton(this, "Button3", QStringLiteral("置換後の名前でリネーム(&R)"), {8, 367, 201, 25});

  SetTabOrder({edit1_, edit2_, regex_, match_case_, unique_target_, extension_target, half_width_,
               full_width_kana_, upper_, lower_, compose_, button1_, button2, button3_});

  for (QLineEdit* edit : {edit1_, edit2_}) {
    connect(edit, &QLineEdit::textChanged, this, &TForm6::RuleChanged);
  }
  for (QAbstractButton* box :
       std::initializer_list<QAbstractButton*>{regex_, match_case_, unique_target_, half_width_,
                                               full_width_kana_, upper_, lower_, compose_}) {
    connect(box, &QAbstractButton::toggled, this, &TForm6::RuleChanged);
  }
  // Upper and lower case exclude each other; either may be left unticked.
  connect(upper_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) lower_->setChecked(false);
  });
  connect(lower_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) upper_->setChecked(false);
  });
  connect(timer_, &QTimer::timeout, this, &TForm6::StepScan);
  connect(button1_, &QPushButton::clicked, this, &TForm6::Button1Click);
  connect(button2, &QPushButton::clicked, this, &TForm6::reject);  // Button2Click
  connect(button3_, &QPushButton::clicked, this, &TForm6::Button3Click);
  RuleChanged();
}

TForm6::~TForm6() { DisconnectChildren(this); }

zefa::ReplaceRule TForm6::ReadRule() const {
  zefa::ReplaceRule rule;
  rule.search = FromQt(edit1_->text());
  rule.replacement = FromQt(edit2_->text());
  rule.regex = regex_->isChecked();
  rule.match_case = match_case_->isChecked();
  rule.target = unique_target_->isChecked() ? zefa::ReplaceTarget::kUniqueName
                                            : zefa::ReplaceTarget::kExtension;
  rule.to_half_width = half_width_->isChecked();
  rule.to_full_width_kana = full_width_kana_->isChecked();
  rule.case_change = upper_->isChecked()   ? zefa::CaseChange::kUpper
                     : lower_->isChecked() ? zefa::CaseChange::kLower
                                           : zefa::CaseChange::kNone;
  rule.compose = compose_->isChecked();
  return rule;
}

void TForm6::RuleChanged() {
  scan_ = std::make_unique<zefa::ReplaceScan>(state_.list, ReadRule(), rules_);
  before_->clear();
  after_->clear();
  // The first rows are looked at at once, so the lists follow the typing without a blink.
  scan_->Step(kRowsPerStep);
  if (scan_->finished()) {
    timer_->stop();
  } else {
    timer_->start(0);
  }
  ShowScan();
}

void TForm6::StepScan() {
  if (!scan_->Step(kRowsPerStep)) timer_->stop();
  ShowScan();
}

void TForm6::ShowScan() {
  const std::string error = scan_->error();
  const zefa::RuleField field = scan_->error_field();
  search_error_->setText(field == zefa::RuleField::kSearch ? ToQt(error) : QString());
  replacement_error_->setText(field == zefa::RuleField::kReplacement ? ToQt(error) : QString());
  count_->setText(ToQt(zefa::ReplaceCountText(*scan_, zefa::RowCount(state_.list))));
  // The first rows that change stay the first as the scan goes on: only new ones are added.
  const std::vector<int>& rows = scan_->changed_rows();
  const int shown = std::min<int>(static_cast<int>(rows.size()), zefa::kReplaceSampleRows);
  for (int i = before_->count(); i < shown; ++i) {
    const auto at = static_cast<std::size_t>(i);
    before_->addItem(PathToQt(scan_->OldText(rows[at])));
    after_->addItem(PathToQt(scan_->new_texts()[at]));
  }
  button1_->setEnabled(scan_->CanApply());
  button3_->setEnabled(scan_->CanApply());
}

void TForm6::Button1Click() {
  if (zefa::ApplyFindReplace(state_, *scan_)) accept();
}

void TForm6::Button3Click() {
  if (!zefa::ApplyFindReplace(state_, *scan_)) return;
  rename_asked_ = true;
  accept();
}

void TForm6::ShowRule(const zefa::ReplaceRule& rule) {
  edit1_->setText(ToQt(rule.search));
  edit2_->setText(ToQt(rule.replacement));
  regex_->setChecked(rule.regex);
  match_case_->setChecked(rule.match_case);
  if (rule.target == zefa::ReplaceTarget::kUniqueName) {
    unique_target_->setChecked(true);
  } else {
    findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->setChecked(true);
  }
  half_width_->setChecked(rule.to_half_width);
  full_width_kana_->setChecked(rule.to_full_width_kana);
  upper_->setChecked(rule.case_change == zefa::CaseChange::kUpper);
  lower_->setChecked(rule.case_change == zefa::CaseChange::kLower);
  compose_->setChecked(rule.compose);
  edit1_->selectAll();
}

bool OpenFindReplace(QWidget* owner, zefa::MainState& state, const zefa::Context& context) {
  TForm6 dialog(state, context.rules, owner);
  const zefa::ReplaceRule last = zefa::ReadLastRule(context.Settings());
  dialog.ShowRule(last);
  dialog.exec();
  // The rule is kept however the window closed, so that the next opening starts from it;
  // a settings file that refuses it costs the memory, never the replace.
  const zefa::ReplaceRule rule = dialog.ReadRule();
  if (rule == last) return dialog.rename_asked();
  try {
    zefa::SettingsFile settings = context.Settings();
    zefa::SaveLastRule(settings, rule);
  } catch (const zefa::CommandError&) {
  }
  return dialog.rename_asked();
}
