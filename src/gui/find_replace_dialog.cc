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
#include <QSpinBox>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "change_marks.h"
#include "commands/find_replace_command.h"
#include "names/presets.h"
#include "platform/command_error.h"
#include "qt_text.h"
#include "settings/options.h"

namespace {

// Time the scan takes between two turns of the event loop. One row more may follow the
// slice, and one row is stopped at its own limit, a few tens of milliseconds at most: the
// window answers within 50 ms whatever the pattern.
constexpr std::chrono::milliseconds kScanSlice{5};

std::chrono::steady_clock::time_point SliceEnd() {
  return std::chrono::steady_clock::now() + kScanSlice;
}
// How often the window looks at what a scan on its thread has found.
constexpr int kPollMs = 15;

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

/** What the window shows of a scan, taken from it by the thread that runs it. */
struct ScanView {
  std::string error;
  zefa::RuleField error_field = zefa::RuleField::kNone;
  std::string count;
  std::vector<std::pair<std::string, std::string>> samples;  // the first rows that change
  bool finished = false;
  bool can_apply = false;

  ScanView() = default;
  ScanView(const zefa::ReplaceScan& scan, int rows)
      : error(scan.error()),
        error_field(scan.error_field()),
        count(zefa::ReplaceCountText(scan, rows)),
        finished(scan.finished()),
        can_apply(scan.CanApply()) {
    const std::vector<int>& changed = scan.changed_rows();
    const std::size_t shown =
        std::min(changed.size(), static_cast<std::size_t>(zefa::kReplaceSampleRows));
    for (std::size_t i = 0; i < shown; ++i) {
      samples.emplace_back(scan.OldText(changed[i]), scan.new_texts()[i]);
    }
  }
};

/**
 * The rest of a scan that its first slice did not finish, on a thread of its own, so that
 * no name, however slow, holds the window. Until it has ended the window touches the scan
 * only through the views it publishes after each slice.
 */
class ScanThread {
 public:
  ScanThread(zefa::ReplaceScan& scan, int rows) : scan_(scan), rows_(rows) {
    scan_.StopOn(&stop_);
    thread_ = std::thread([this] { Run(); });
  }
  ~ScanThread() {
    stop_ = true;  // a name being matched ends at the engine's next step
    thread_.join();
    scan_.StopOn(nullptr);
  }
  ScanThread(const ScanThread&) = delete;
  ScanThread& operator=(const ScanThread&) = delete;

  /** The view published since the last call, if any. */
  bool Take(ScanView& view) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!fresh_) return false;
    view = std::move(view_);
    fresh_ = false;
    return true;
  }

 private:
  void Run() {
    while (!stop_) {
      const bool more = scan_.StepUntil(SliceEnd());
      ScanView view(scan_, rows_);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        view_ = std::move(view);
        fresh_ = true;
      }
      if (!more) return;
    }
  }

  zefa::ReplaceScan& scan_;
  const int rows_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  ScanView view_;
  bool fresh_ = false;
  std::thread thread_;
};

TForm6::TForm6(zefa::MainState& state, const zefa::TextRules& rules, QWidget* owner)
    : FixedDialog(owner, QStringLiteral("置換"), 417, 428),
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
  for (QListWidget* list : {before_, after_}) {
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setItemDelegate(new ChangeMarkDelegate(list));
  }
  button1_ = PlaceButton(this, "Button1", QStringLiteral("OK"), {248, 367, 75, 25});
  auto* button2 = PlaceButton(this, "Button2", QStringLiteral("キャンセル"), {334, 367, 75, 25});
  // Left of OK, where no control stands: the replacement, then a run of the names alone.
  button3_ =
      PlaceButton(this, "Button3", QStringLiteral("置換後の名前でリネーム(&R)"), {8, 367, 201, 25});

  // The numbers inside the unique names, in a row of their own below the window's own.
  pad_ = PlaceCheckBox(this, "CheckBox8", QStringLiteral("名前の中の数字を桁数に揃える"),
                       {8, 402, 196, 17});
  PlaceLabel(this, "Label8", QStringLiteral("桁数"), 208, 404);
  pad_digits_ = Place(new QSpinBox(this), "SpinEdit1", {236, 400, 41, 21});
  pad_digits_->setRange(1, zefa::kMaxPadDigits);
  pad_digits_->setValue(3);
  PlaceLabel(this, "Label9", QStringLiteral("数字に足す"), 286, 404);
  number_shift_ = Place(new QSpinBox(this), "SpinEdit2", {348, 400, 61, 21});
  number_shift_->setRange(-99999, 99999);
  for (QSpinBox* spin : {pad_digits_, number_shift_}) {
    connect(spin, &QSpinBox::valueChanged, this, &TForm6::RuleChanged);
  }

  SetTabOrder({edit1_, edit2_, regex_, match_case_, unique_target_, extension_target, half_width_,
               full_width_kana_, upper_, lower_, compose_, button1_, button2, button3_, pad_,
               pad_digits_, number_shift_});

  for (QLineEdit* edit : {edit1_, edit2_}) {
    connect(edit, &QLineEdit::textChanged, this, &TForm6::RuleChanged);
  }
  for (QAbstractButton* box :
       std::initializer_list<QAbstractButton*>{regex_, match_case_, unique_target_, half_width_,
                                               full_width_kana_, upper_, lower_, compose_, pad_}) {
    connect(box, &QAbstractButton::toggled, this, &TForm6::RuleChanged);
  }
  // Upper and lower case exclude each other; either may be left unticked.
  connect(upper_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) lower_->setChecked(false);
  });
  connect(lower_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) upper_->setChecked(false);
  });
  timer_->setInterval(kPollMs);
  connect(timer_, &QTimer::timeout, this, &TForm6::PollScan);
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
  if (pad_->isChecked()) {
    rule.pad_digits = pad_digits_->value();
    rule.number_shift = number_shift_->value();
  }
  return rule;
}

void TForm6::RuleChanged() {
  // The scan of the rule before gives way: its thread ends within a step of the engine.
  timer_->stop();
  scan_thread_.reset();
  scan_ = std::make_unique<zefa::ReplaceScan>(state_.list, ReadRule(), rules_, sources_);
  before_->clear();
  after_->clear();
  // The first rows are looked at at once, so the lists follow the typing without a blink;
  // the rest on the scan's own thread.
  scan_->StepUntil(SliceEnd());
  const int rows = zefa::RowCount(state_.list);
  if (!scan_->finished()) {
    ShowScan(ScanView(*scan_, rows));
    scan_thread_ = std::make_unique<ScanThread>(*scan_, rows);
    timer_->start();
    return;
  }
  ShowScan(ScanView(*scan_, rows));
}

void TForm6::PollScan() {
  ScanView view;
  if (!scan_thread_ || !scan_thread_->Take(view)) return;
  if (view.finished) {
    timer_->stop();
    scan_thread_.reset();
  }
  ShowScan(view);
}

void TForm6::ShowScan(const ScanView& view) {
  search_error_->setText(view.error_field == zefa::RuleField::kSearch ? ToQt(view.error)
                                                                      : QString());
  // A name in braces that is no token is said under the replacement, as under the common name.
  replacement_error_->setText(
      view.error_field == zefa::RuleField::kReplacement
          ? ToQt(view.error)
          : ToQt(zefa::UnknownTokensText(FromQt(edit2_->text()), zefa::CodePage::kUtf8)));
  count_->setText(ToQt(view.count));
  // The first rows that change stay the first as the scan goes on: only new ones are added.
  for (std::size_t i = static_cast<std::size_t>(before_->count()); i < view.samples.size(); ++i) {
    const QString old_text = PathToQt(view.samples[i].first);
    const QString new_text = PathToQt(view.samples[i].second);
    // Each row marks the characters that change against its partner.
    auto* before = new QListWidgetItem(old_text, before_);
    before->setData(ChangeMarkDelegate::kChangeOtherRole, new_text);
    before->setData(ChangeMarkDelegate::kChangeSideRole, false);
    auto* after = new QListWidgetItem(new_text, after_);
    after->setData(ChangeMarkDelegate::kChangeOtherRole, old_text);
    after->setData(ChangeMarkDelegate::kChangeSideRole, true);
  }
  button1_->setEnabled(view.can_apply);
  button3_->setEnabled(view.can_apply);
  // Return in any field presses OK once there is something to apply.
  button1_->setDefault(button1_->isEnabled());
}

void TForm6::Button1Click() {
  // OK is on only once the scan has ended; its thread, if any, is gone by then.
  if (scan_thread_) return;
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
  pad_->setChecked(rule.pad_digits > 0);
  if (rule.pad_digits > 0) {
    pad_digits_->setValue(rule.pad_digits);
    number_shift_->setValue(rule.number_shift);
  }
  edit1_->selectAll();
}

bool OpenFindReplace(QWidget* owner, zefa::MainState& state, const zefa::Context& context) {
  TForm6 dialog(state, context.rules, owner);
  zefa::TokenSources sources;
  sources.media = context.media;
  sources.date_format = zefa::ReadOption(context.Settings(), &zefa::Options::date_format);
  dialog.SetTokenSources(std::move(sources));
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
