// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

#include "commands/main_state.h"
#include "commands/run_command.h"
#include "platform/command_error.h"
#include "platform/prompter.h"
#include "qt_text.h"
#include "text/padding.h"
#include "window_style.h"

/**
 * SpinEdit1: any number may be typed, and the example reads it as it stands; when the
 * box loses the focus the value is brought to the nearer bound of 1 to 3.
 */
class DigitSpinBox : public QSpinBox {
 public:
  explicit DigitSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(1, zefa::kMaxDigits);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  }

  QLineEdit* editor() const { return lineEdit(); }

 protected:
  QValidator::State validate(QString& text, int& pos) const override {
    const QValidator::State state = QSpinBox::validate(text, pos);
    if (state != QValidator::Invalid) return state;
    static const QRegularExpression kNumberBeingTyped(QStringLiteral("^[+-]?[0-9]{0,9}$"));
    return kNumberBeingTyped.match(text).hasMatch() ? QValidator::Intermediate
                                                    : QValidator::Invalid;
  }

  void fixup(QString& text) const override {
    text = QString::number(zefa::ClampDigits(zefa::SpinValueOfText(FromQt(text))));
  }
};

namespace {

// The controls open empty: FormCreate shows the options in them as the file holds them.
QCheckBox* PlaceCheckBox(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry) {
  return Place(new QCheckBox(caption, parent), name, geometry);
}

QLineEdit* PlaceEdit(QWidget* parent, const char* name, const QRect& geometry, bool enabled) {
  auto* edit = Place(new QLineEdit(parent), name, geometry);
  edit->setEnabled(enabled);
  return edit;
}

/**
 * A group box whose title sits in the frame's top line, as on the original form, so that
 * the first row of controls at 16 pixels stands clear inside the frame.
 */
class FormGroupBox : public QGroupBox {
 public:
  FormGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height() / 2;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(QRect(0, line, width() - 1, height() - line - 1));
    const QRect text_rect(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(text_rect, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(text_rect, Qt::AlignCenter, title());
  }
};

// The option each check box and text box shows, by the control's name.
const std::pair<const char*, bool zefa::Options::*> kCheckBoxOptions[] = {
    {"CheckBox1", &zefa::Options::space_between},
    {"CheckBox2", &zefa::Options::strip_common_name},
    {"CheckBox3", &zefa::Options::number_brackets},
    {"CheckBox4", &zefa::Options::unique_brackets},
    {"CheckBox5", &zefa::Options::update_check},
    {"CheckBox6", &zefa::Options::arrows_move_unique},
    {"CheckBox7", &zefa::Options::folder_numbers},
    {"CheckBox8", &zefa::Options::restore_always},
};
const std::pair<const char*, std::string zefa::Options::*> kEditOptions[] = {
    {"Edit1", &zefa::Options::number_open}, {"Edit2", &zefa::Options::number_close},
    {"Edit3", &zefa::Options::unique_open}, {"Edit4", &zefa::Options::unique_close},
    {"Edit5", &zefa::Options::date_format},
};

struct PatternChoice {
  const char* caption;
  int width;
};

constexpr PatternChoice kPatternChoices[8] = {
    {"共有ファイル名 + 数字 + 固有ファイル名", 233},
    {"共有ファイル名 + 固有ファイル名 + 数字", 233},
    {"数字 + 共有ファイル名 + 固有ファイル名", 233},
    {"数字 + 固有ファイル名 + 共有ファイル名", 241},
    {"固有ファイル名 + 数字 + 共有ファイル名", 225},
    {"固有ファイル名 + 共有ファイル名 + 数字", 225},
    {"固有ファイル名 + 共有ファイル名", 193},
    {"共有ファイル名 + 固有ファイル名", 193},
};

}  // namespace

TForm2::TForm2(const zefa::Context& context, std::function<void(int)> after_save, QWidget* owner)
    : FixedDialog(owner, QStringLiteral("設定"), 563, 463),
      context_(context),
      after_save_(std::move(after_save)) {
  check_box5_ = PlaceCheckBox(this, "CheckBox5",
                              QStringLiteral("起動時に最新バージョンがあるかをチェックする"),
                              {16, 16, 265, 17});
  check_box6_ = PlaceCheckBox(
      this, "CheckBox6", QStringLiteral("↑↓ボタンで固有ファイル名も連動させる"), {16, 48, 233, 17});

  auto* group_box2 = Place(new FormGroupBox(QStringLiteral("ファイル追加時の固有ファイル名"), this),
                           "GroupBox2", {16, 80, 265, 97});
  check_box2_ =
      PlaceCheckBox(group_box2, "CheckBox2",
                    QStringLiteral("ファイル名から共有名を抜いた文字列を表示"), {8, 16, 249, 17});
  check_box4_ =
      PlaceCheckBox(group_box2, "CheckBox4", QStringLiteral("次の文字列で囲まれた文字列を表示する"),
                    {8, 40, 233, 17});
  PlaceLabel(group_box2, "Label7", QStringLiteral("開："), 40, 70);
  edit3_ = PlaceEdit(group_box2, "Edit3", {64, 64, 33, 20}, false);
  PlaceLabel(group_box2, "Label8", QStringLiteral("閉："), 136, 70);
  edit4_ = PlaceEdit(group_box2, "Edit4", {160, 64, 33, 20}, false);

  PlaceLabel(this, "Label1", QStringLiteral("数字を"), 24, 200);
  spin_edit1_ = Place(new DigitSpinBox(this), "SpinEdit1", {64, 192, 33, 21});
  label2_ =
      PlaceLabel(this, "Label2", QStringLiteral("桁にする\u3000例： 1→001  20→020"), 104, 200);
  check_box1_ =
      PlaceCheckBox(this, "CheckBox1", QStringLiteral("それぞれの要素の間に半角スペースを入れる"),
                    {24, 240, 249, 17});
  check_box3_ = PlaceCheckBox(this, "CheckBox3", QStringLiteral("数字を次の文字列で囲む"),
                              {24, 286, 153, 17});
  panel1_ = Place(new QLabel(this), "Panel1", {40, 304, 137, 17});
  panel1_->setTextFormat(Qt::PlainText);
  panel1_->setAlignment(Qt::AlignCenter);
  panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel1_->setEnabled(false);
  PlaceLabel(this, "Label4", QStringLiteral("開："), 208, 292);
  edit1_ = PlaceEdit(this, "Edit1", {232, 286, 33, 20}, false);
  PlaceLabel(this, "Label5", QStringLiteral("閉："), 208, 310);
  edit2_ = PlaceEdit(this, "Edit2", {232, 304, 33, 20}, false);

  auto* group_box1 =
      Place(new FormGroupBox(QStringLiteral("パターン"), this), "GroupBox1", {296, 16, 257, 265});
  for (int i = 0; i < 8; ++i) {
    const std::string name = "RadioButton" + std::to_string(i + 1);
    radio_buttons_[static_cast<std::size_t>(i)] =
        Place(new QRadioButton(QString::fromUtf8(kPatternChoices[i].caption), group_box1),
              name.c_str(), {8, 24 + 24 * i, kPatternChoices[i].width, 17});
  }
  // The specified captions say 共有ファイル名 / 共有名: their tips name the main window's word.
  const QString common_name_tip =
      QStringLiteral("共有ファイル名・共有名は、メイン画面の「共通ファイル名」のことです");
  group_box1->setToolTip(common_name_tip);
  check_box2_->setToolTip(common_name_tip);
  PlaceLabel(group_box1, "Label3", QStringLiteral("固有ファイル名、共有ファイル名が不必要な"), 24,
             224);
  PlaceLabel(group_box1, "Label6", QStringLiteral("場合は各欄を空欄にしてください。"), 24, 240);

  // A row of its own below the dialog's first controls: unique names from the date taken.
  PlaceLabel(this, "Label9", QStringLiteral("撮影日時の固有ファイル名 ："), 16, 379);
  edit5_ = PlaceEdit(this, "Edit5", {168, 373, 153, 20}, true);
  PlaceLabel(this, "Label10", QStringLiteral("%Y年 %m月 %d日 %H時 %M分 %S秒"), 336, 379);

  auto* button1 = PlaceButton(this, "Button1", QStringLiteral("OK"), {376, 312, 83, 25});
  auto* button2 = PlaceButton(this, "Button2", QStringLiteral("キャンセル"), {472, 312, 83, 25});
  // The program's own options stand in rows below the dialog's original controls.
  check_box7_ = PlaceCheckBox(this, "CheckBox7", QStringLiteral("フォルダごとに連番を振り直す"),
                              {16, 348, 265, 17});
  check_box8_ = PlaceCheckBox(this, "CheckBox8",
                              QStringLiteral("リストアファイルを毎回作成する（確認しない）"),
                              {16, 438, 305, 17});

  // Named settings, in a row of their own below the others.
  PlaceLabel(this, "Label11", QStringLiteral("プリセット"), 16, 411);
  preset_box_ = Place(new QComboBox(this), "PresetBox", {88, 405, 233, 22});
  auto* preset_save = PlaceButton(this, "PresetSave", QStringLiteral("保存…"), {376, 404, 83, 25});
  auto* preset_delete =
      PlaceButton(this, "PresetDelete", QStringLiteral("削除"), {472, 404, 83, 25});

  std::vector<QWidget*> tab_order{check_box5_, check_box6_, check_box2_, check_box4_,
                                  edit3_,      edit4_,      spin_edit1_, check_box1_,
                                  check_box3_, edit1_,      edit2_};
  tab_order.insert(tab_order.end(), radio_buttons_.begin(), radio_buttons_.end());
  tab_order.insert(tab_order.end(), {button1, button2, check_box7_, edit5_, preset_box_,
                                     preset_save, preset_delete, check_box8_});
  SetTabOrder(tab_order);

  connect(button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(preset_box_, &QComboBox::activated, this, &TForm2::PresetBoxChange);
  connect(preset_save, &QPushButton::clicked, this, &TForm2::PresetSaveClick);
  connect(preset_delete, &QPushButton::clicked, this, &TForm2::PresetDeleteClick);
  connect(button2, &QPushButton::clicked, this, &TForm2::reject);  // Button2Click
  connect(check_box3_, &QCheckBox::toggled, this, &TForm2::CheckBox3Click);
  connect(check_box4_, &QCheckBox::toggled, this, &TForm2::CheckBox4Click);
  connect(edit1_, &QLineEdit::textChanged, this, &TForm2::Edit1Change);
  connect(edit2_, &QLineEdit::textChanged, this, &TForm2::Edit1Change);
  // The spin box updates its editor with signals blocked, so its value and focus loss count too.
  connect(spin_edit1_->editor(), &QLineEdit::textChanged, this, &TForm2::Edit1Change);
  connect(spin_edit1_, &QSpinBox::valueChanged, this, &TForm2::Edit1Change);
  connect(spin_edit1_, &QSpinBox::editingFinished, this, &TForm2::Edit1Change);

  FormCreate();
  FillPresets({});
}

TForm2::~TForm2() { DisconnectChildren(this); }

void TForm2::FormCreate() {
  zefa::SettingsDialogValues values;
  values.Load(context_.Settings());
  Show(values);
}

void TForm2::Show(const zefa::SettingsDialogValues& values) {
  // Each change fires its handler as a user's change would.
  spin_edit1_->setValue(values.digits);
  for (const auto& [name, option] : kCheckBoxOptions) {
    findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(values.*option);
  }
  for (const auto& [name, option] : kEditOptions) {
    findChild<QLineEdit*>(QString::fromLatin1(name))->setText(ToQt(values.*option));
  }
  edit5_->setCursorPosition(0);
  radio_buttons_[static_cast<std::size_t>(values.pattern - 1)]->setChecked(true);
  ShowDigitsExample();
}

zefa::SettingsDialogValues TForm2::Values() const {
  zefa::SettingsDialogValues values;
  // Whatever is typed, as the example reads it; OK brings it into the range.
  values.digits = zefa::SpinValueOfText(FromQt(spin_edit1_->text()));
  for (const auto& [name, option] : kCheckBoxOptions) {
    values.*option = findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked();
  }
  for (const auto& [name, option] : kEditOptions) {
    values.*option = FromQt(findChild<QLineEdit*>(QString::fromLatin1(name))->text());
  }
  for (int n = 8; n >= 1; --n) {
    if (radio_buttons_[static_cast<std::size_t>(n - 1)]->isChecked()) values.pattern = n;
  }
  return values;
}

void TForm2::Button1Click() {
  // A click moves the focus and so corrects the digits; a key press on OK does not.
  spin_edit1_->interpretText();
  const zefa::SettingsDialogValues values = Values();
  const bool saved = zefa::RunCommand(context_.prompter, [&] {
    zefa::SettingsFile settings = context_.Settings();
    values.Save(settings);
    if (chosen_) zefa::SaveLastRule(settings, chosen_->rule);
  });
  if (!saved) return;
  if (chosen_ && apply_common_name_) apply_common_name_(chosen_->common_name);
  if (after_save_) after_save_(values.pattern);
  accept();
}

void TForm2::CheckBox3Click() {
  const bool checked = check_box3_->isChecked();
  edit1_->setEnabled(checked);
  edit2_->setEnabled(checked);
  panel1_->setEnabled(checked);
  if (checked) {
    Edit1Change();
  } else {
    panel1_->clear();
  }
}

void TForm2::CheckBox4Click() {
  const bool checked = check_box4_->isChecked();
  edit3_->setEnabled(checked);
  edit4_->setEnabled(checked);
}

void TForm2::ShowDigitsExample() {
  // The caption's example is that of 3 digits; its tip, and the spin box's, follow 桁数.
  const QString digits = ToQt(Values().DigitsExample());
  label2_->setToolTip(digits);
  spin_edit1_->setToolTip(digits);
}

void TForm2::Edit1Change() {
  ShowDigitsExample();
  if (!check_box3_->isChecked()) return;
  panel1_->setText(ToQt(Values().Example()));
}

void TForm2::SetCommonName(std::string current, std::function<void(const std::string&)> apply) {
  common_name_ = std::move(current);
  apply_common_name_ = std::move(apply);
}

std::string TForm2::PresetPath(const std::string& name) const {
  return zefa::WithTrailingSeparator(zefa::PresetFolder(context_.paths, context_.rules),
                                     context_.rules) +
         zefa::PresetFileName(name).value_or(std::string());
}

void TForm2::FillPresets(const std::string& selected) {
  preset_box_->clear();
  // The first line chooses nothing: the controls stay as they are.
  preset_box_->addItem(QString());
  for (const std::string& name :
       zefa::ListPresets(context_.file_system, context_.paths, context_.rules)) {
    preset_box_->addItem(ToQt(name));
    if (name == selected) preset_box_->setCurrentIndex(preset_box_->count() - 1);
  }
}

void TForm2::PresetBoxChange(int index) {
  if (index <= 0) return;
  const std::string name = FromQt(preset_box_->itemText(index));
  std::optional<zefa::Preset> preset =
      zefa::LoadPreset(context_.file_system, context_.paths, name, context_.rules);
  if (!preset) {
    context_.prompter.Beep(zefa::BeepKind::kError);
    context_.prompter.Error("プリセット「" + name + "」が見つかりません");
    FillPresets({});
    return;
  }
  zefa::SettingsDialogValues values = Values();
  values.ApplyPreset(preset->naming);
  Show(values);
  chosen_ = std::move(preset);
}

void TForm2::PresetSaveClick() {
  zefa::Prompter& prompter = context_.prompter;
  const std::optional<std::string> name =
      prompter.AskText("プリセットの保存", "プリセットの名前：");
  if (!name || name->empty()) return;
  if (!zefa::PresetFileName(*name)) {
    prompter.Beep(zefa::BeepKind::kError);
    prompter.Error("プリセットの名前が長すぎます");
    return;
  }
  if (context_.file_system.FileExists(PresetPath(*name))) {
    prompter.Beep(zefa::BeepKind::kWarning);
    if (!prompter.Confirm("プリセット「" + *name + "」はすでにあります。上書きしますか？")) return;
  }
  spin_edit1_->interpretText();
  zefa::Preset preset;
  preset.naming = Values().Saved();
  preset.common_name = chosen_ ? chosen_->common_name : common_name_;
  const bool saved = zefa::RunCommand(prompter, [&] {
    preset.rule = chosen_ ? chosen_->rule : zefa::ReadLastRule(context_.Settings());
    zefa::SavePreset(context_.file_system, context_.paths, *name, preset, context_.rules);
  });
  if (saved) FillPresets(*name);
}

void TForm2::PresetDeleteClick() {
  if (preset_box_->currentIndex() <= 0) return;
  const std::string name = FromQt(preset_box_->currentText());
  zefa::Prompter& prompter = context_.prompter;
  prompter.Beep(zefa::BeepKind::kWarning);
  if (!prompter.Confirm("プリセット「" + name + "」を削除しますか？")) return;
  if (!QFile::remove(PathToQt(PresetPath(name)))) {
    prompter.Beep(zefa::BeepKind::kError);
    prompter.Error("プリセット「" + name + "」を削除できません");
  }
  FillPresets({});
}

void OpenSettingsDialog(QWidget* owner, const zefa::Context& context,
                        std::function<void(int pattern)> after_save, std::string common_name,
                        std::function<void(const std::string&)> apply_common_name) {
  TForm2 dialog(context, std::move(after_save), owner);
  dialog.SetCommonName(std::move(common_name), std::move(apply_common_name));
  dialog.exec();
}
