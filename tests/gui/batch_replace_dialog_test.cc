// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "batch_replace_dialog.h"

#include <QPushButton>
#include <QRadioButton>

#include "gui_test_base.h"

namespace {

using zefa::test::ControlPlace;
using zefa::test::Find;
using Entries = std::vector<std::string>;

const ControlPlace kControls[] = {
    {"RadioButton1", {8, 16, 57, 17}, "拡張子"},
    {"RadioButton2", {8, 40, 57, 17}, "固有名"},
    {"Label1", {72, 44, 0, 0}, "を全て次に置き換える"},
    {"Edit1", {192, 40, 97, 20}, ""},
    {"Button1", {144, 80, 67, 25}, "実行"},
    {"Button2", {224, 80, 67, 25}, "キャンセル"},
};

}  // namespace

class BatchReplaceDialogTest : public QObject {
  Q_OBJECT

 private:
  zefa::test::ScriptedPrompter prompter_;
  zefa::MainState state_;

  void Run(TForm5& dialog, const QString& text) {
    Find<QLineEdit>(&dialog, "Edit1")->insert(text);  // as typed
    QTest::mouseClick(Find<QPushButton>(&dialog, "Button1"), Qt::LeftButton);
  }

 private slots:
  void init() {
    prompter_ = {};
    state_ = {};
    state_.list.AppendRow("/pic/a.png", "a", ".png", "1");
    state_.list.AppendRow("/pic/b", "b", "", "2");
    state_.view.extension.selected = 1;
  }

  void ControlsStandWhereTheyShould() {
    TForm5 dialog(state_, prompter_, zefa::CodePage::kUtf8);
    zefa::test::CheckDialogFrame(&dialog, "一括置換", {299, 117});
    zefa::test::CheckControls(&dialog, kControls);
    zefa::test::CheckTabOrder(&dialog,
                              {"RadioButton1", "RadioButton2", "Edit1", "Button1", "Button2"});
    QVERIFY(Find<QRadioButton>(&dialog, "RadioButton1")->isChecked());
    QVERIFY(!Find<QRadioButton>(&dialog, "RadioButton2")->isChecked());
  }

  void ExtensionGetsItsDotInTheField() {
    TForm5 dialog(state_, prompter_, zefa::CodePage::kUtf8);
    dialog.show();
    prompter_.Yes();
    Run(dialog, QStringLiteral("jpg"));
    QCOMPARE(state_.list.extension.entries, (Entries{".jpg", ".jpg"}));
    QCOMPARE(state_.list.unique.entries, (Entries{"a", "b"}));
    QCOMPARE(state_.view.extension.selected, 1);
    QCOMPARE(Find<QLineEdit>(&dialog, "Edit1")->text(), QStringLiteral(".jpg"));
    QCOMPARE(prompter_.log, Entries{"warn 本当に一括置換を行いますか？"});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void UniqueNamesTakeTheTextAsTyped() {
    TForm5 dialog(state_, prompter_, zefa::CodePage::kUtf8);
    dialog.show();
    QTest::mouseClick(Find<QRadioButton>(&dialog, "RadioButton2"), Qt::LeftButton);
    prompter_.Yes();
    Run(dialog, QStringLiteral("海 jpg"));
    QCOMPARE(state_.list.unique.entries, (Entries{"海 jpg", "海 jpg"}));
    QCOMPARE(state_.list.extension.entries, (Entries{".png", ""}));
    QVERIFY(!dialog.isVisible());
  }

  void RefusedTextStaysOpenAndCancelChangesNothing() {
    TForm5 dialog(state_, prompter_, zefa::CodePage::kUtf8);
    dialog.show();
    prompter_.Yes();
    Run(dialog, QStringLiteral("a:b"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(Find<QLineEdit>(&dialog, "Edit1")->text(), QStringLiteral("a:b"));
    QTest::mouseClick(Find<QPushButton>(&dialog, "Button2"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(state_.list.extension.entries, (Entries{".png", ""}));
    QCOMPARE(prompter_.log, (Entries{"warn 本当に一括置換を行いますか？", "beep error",
                                     "error 使えない文字\":\"が含まれています"}));
  }
};

QTEST_MAIN(BatchReplaceDialogTest)
#include "batch_replace_dialog_test.moc"
