// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "batch_replace_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "commands/batch_replace_command.h"
#include "qt_text.h"
#include "window_style.h"

TForm5::TForm5(zefa::MainState& state, zefa::Prompter& prompter, zefa::CodePage code_page,
               QWidget* owner)
    : FixedDialog(owner, QStringLiteral("一括置換"), 299, 117),
      state_(state),
      prompter_(prompter),
      code_page_(code_page) {
  radio_button1_ =
      Place(new QRadioButton(QStringLiteral("拡張子"), this), "RadioButton1", {8, 16, 57, 17});
  radio_button1_->setChecked(true);
  auto* radio_button2 =
      Place(new QRadioButton(QStringLiteral("固有名"), this), "RadioButton2", {8, 40, 57, 17});
  PlaceLabel(this, "Label1", QStringLiteral("を全て次に置き換える"), 72, 44);
  edit1_ = Place(new QLineEdit(this), "Edit1", {192, 40, 97, 20});
  auto* button1 = PlaceButton(this, "Button1", QStringLiteral("実行"), {144, 80, 67, 25});
  auto* button2 = PlaceButton(this, "Button2", QStringLiteral("キャンセル"), {224, 80, 67, 25});

  SetTabOrder({radio_button1_, radio_button2, edit1_, button1, button2});

  connect(button1, &QPushButton::clicked, this, &TForm5::Button1Click);
  connect(button2, &QPushButton::clicked, this, &TForm5::reject);  // Button2Click
}

TForm5::~TForm5() { DisconnectChildren(this); }

void TForm5::Button1Click() {
  const std::string typed = FromQt(edit1_->text());
  std::string text = typed;
  const zefa::BatchTarget target =
      radio_button1_->isChecked() ? zefa::BatchTarget::kExtension : zefa::BatchTarget::kUniqueName;
  const bool done = zefa::BatchReplace(state_, prompter_, code_page_, target, text);
  if (text != typed) edit1_->setText(ToQt(text));
  if (done) accept();
}

void OpenBatchReplace(QWidget* owner, zefa::MainState& state, const zefa::Context& context) {
  TForm5 dialog(state, context.prompter, context.rules.code_page, owner);
  dialog.exec();
}
