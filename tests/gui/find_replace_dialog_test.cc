// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "find_replace_dialog.h"

#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "change_marks.h"
#include "gui_test_base.h"
#include "main_window.h"
#include "modal.h"

namespace {

using zefa::test::Find;
using Entries = std::vector<std::string>;

// The pixels of a list drawn in the colour that marks a change.
int Marked(QWidget* list) {
  const QImage image = list->grab().toImage();
  int marked = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      marked += image.pixelColor(x, y) == ChangeMarkDelegate::MarkColor();
  }
  return marked;
}

QStringList Items(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

}  // namespace

class FindReplaceDialogTest : public QObject {
  Q_OBJECT

 private:
  zefa::MainState state_;

  static void Type(TForm6& dialog, const char* edit, const QString& text) {
    Find<QLineEdit>(&dialog, edit)->insert(text);
  }
  static void Tick(TForm6& dialog, const char* box) {
    QTest::mouseClick(Find<QAbstractButton>(&dialog, box), Qt::LeftButton, {}, QPoint(4, 8));
  }

 private slots:
  void init() {
    state_ = {};
    state_.list.AppendRow("/pic/a.JPG", "IMG_0001_scan", ".JPG", "1");
    state_.list.AppendRow("/pic/b.JPG", "ﾊﾟｿｺﾝ", ".JPG", "2");
    state_.list.AppendRow("/pic/c.png", "写真_scan", ".png", "3");
    state_.view.unique.selected = 1;
  }

  void ShowsTheChangesLiveAndWritesThemOnOk() {
    TForm6 dialog(state_, zefa::TextRules{});
    zefa::test::CheckDialogFrame(&dialog, "置換", {417, 428});
    dialog.show();
    Type(dialog, "Edit1", QStringLiteral("_SCAN"));
    Tick(dialog, "CheckBox4");
    QCOMPARE(Find<QLabel>(&dialog, "Label5")->text(),
             QStringLiteral("3 行のうち 3 行が変わります"));
    QCOMPARE(Items(Find<QListWidget>(&dialog, "ListBox2")),
             (QStringList{QStringLiteral("IMG_0001"), QStringLiteral("パソコン"),
                          QStringLiteral("写真")}));
    // Case matters once asked: nothing is "_SCAN" then, and the kana alone change.
    Tick(dialog, "CheckBox2");
    QCOMPARE(Items(Find<QListWidget>(&dialog, "ListBox1")), QStringList{QStringLiteral("ﾊﾟｿｺﾝ")});
    Tick(dialog, "CheckBox2");
    QVERIFY(Find<QPushButton>(&dialog, "Button1")->isEnabled());
    QTest::mouseClick(Find<QPushButton>(&dialog, "Button1"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(state_.list.unique.entries, (Entries{"IMG_0001", "パソコン", "写真"}));
    QCOMPARE(state_.list.extension.entries, (Entries{".JPG", ".JPG", ".png"}));
    QCOMPARE(state_.view.unique.selected, 1);
  }

  void ConvertsExtensionsWithoutASearch() {
    TForm6 dialog(state_, zefa::TextRules{});
    dialog.show();
    Tick(dialog, "RadioButton2");
    Tick(dialog, "CheckBox5");
    Tick(dialog, "CheckBox6");  // lower case unticks upper case
    QVERIFY(!Find<QCheckBox>(&dialog, "CheckBox5")->isChecked());
    QCOMPARE(Find<QLabel>(&dialog, "Label5")->text(),
             QStringLiteral("3 行のうち 2 行が変わります"));
    QTest::mouseClick(Find<QPushButton>(&dialog, "Button1"), Qt::LeftButton);
    QCOMPARE(state_.list.extension.entries, (Entries{".jpg", ".jpg", ".png"}));
  }

  void AFaultyRuleSaysWhyAndCannotBeApplied() {
    TForm6 dialog(state_, zefa::TextRules{});
    dialog.show();
    Tick(dialog, "CheckBox1");
    Type(dialog, "Edit1", QStringLiteral("(scan"));
    QVERIFY(Find<QLabel>(&dialog, "Label2")->text().startsWith(QStringLiteral("正規表現の誤り")));
    QVERIFY(!Find<QPushButton>(&dialog, "Button1")->isEnabled());
    Find<QLineEdit>(&dialog, "Edit1")->setText(QStringLiteral("_(scan)"));
    Type(dialog, "Edit2", QStringLiteral("/$1"));
    QCOMPARE(Find<QLabel>(&dialog, "Label2")->text(), QString());
    QCOMPARE(Find<QLabel>(&dialog, "Label4")->text(),
             QStringLiteral("1 行目：置換後の名前に使えない文字\"/\"が含まれています"));
    QVERIFY(!Find<QPushButton>(&dialog, "Button1")->isEnabled());
    QTest::mouseClick(Find<QPushButton>(&dialog, "Button2"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(state_.list.unique.entries, (Entries{"IMG_0001_scan", "ﾊﾟｿｺﾝ", "写真_scan"}));
  }

  void PadsTheNumbersInTheNamesInTheRowBelow() {
    state_.list.unique.entries = {"第1巻", "vol2", "第１２巻"};
    TForm6 dialog(state_, zefa::TextRules{});
    dialog.show();
    Tick(dialog, "CheckBox8");
    Find<QSpinBox>(&dialog, "SpinEdit2")->setValue(1);
    QCOMPARE(Items(Find<QListWidget>(&dialog, "ListBox2")),
             (QStringList{QStringLiteral("第002巻"), QStringLiteral("vol003"),
                          QStringLiteral("第０１３巻")}));
    Find<QPushButton>(&dialog, "Button1")->click();
    QCOMPARE(state_.list.unique.entries, (Entries{"第002巻", "vol003", "第０１３巻"}));
  }

  void MarksTheCharactersThatChange() {
    state_.list.unique.entries[0] = "ＡＢＣ１２３";
    TForm6 dialog(state_, zefa::TextRules{});
    dialog.show();
    auto* before = Find<QListWidget>(&dialog, "ListBox1");
    auto* after = Find<QListWidget>(&dialog, "ListBox2");
    Type(dialog, "Edit1", QStringLiteral("xyz"));  // nothing changes, nothing is marked
    QCOMPARE(Marked(after), 0);
    Find<QLineEdit>(&dialog, "Edit1")->clear();
    Tick(dialog, "CheckBox3");
    QCOMPARE(Items(after), QStringList{QStringLiteral("ABC123")});
    QVERIFY(Marked(before) > 0);
    QVERIFY(Marked(after) > 0);
  }

  void ReturnPressesOkOnceThereIsSomethingToApply() {
    TForm6 dialog(state_, zefa::TextRules{});
    dialog.show();
    Tick(dialog, "CheckBox1");
    Type(dialog, "Edit1", QStringLiteral("(scan"));
    QTest::keyClick(Find<QLineEdit>(&dialog, "Edit1"), Qt::Key_Return);
    QVERIFY(dialog.isVisible());  // a rule that cannot be used applies nothing
    Find<QLineEdit>(&dialog, "Edit1")->setText(QStringLiteral("_scan"));
    QTest::keyClick(Find<QLineEdit>(&dialog, "Edit1"), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(state_.list.unique.entries, (Entries{"IMG_0001", "ﾊﾟｿｺﾝ", "写真"}));
  }

  void AKeystrokeReplacesARunawayScanAndTheWindowAnswers() {
    const std::string slow = "aaaaaaaaaaaaaaaaab";  // seventeen "a"
    for (int i = 0; i < 20000; ++i) state_.list.AppendRow("/pic/x", slow, ".JPG", "");
    TForm6 dialog(state_, zefa::TextRules{});
    dialog.show();
    Tick(dialog, "CheckBox1");
    Type(dialog, "Edit1", QStringLiteral("(a+)+$"));
    // The keystroke came back long before the list was looked at.
    QVERIFY(Find<QLabel>(&dialog, "Label5")->text().startsWith(QStringLiteral("調べています")));
    Find<QLineEdit>(&dialog, "Edit1")->setText(QStringLiteral("b$"));  // the scan gives way
    QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>(&dialog, "Label5")->text(),
                              QStringLiteral("20003 行のうち 20000 行が変わります"), 60000);
    QCOMPARE(Find<QLabel>(&dialog, "Label2")->text(), QString());
    // A window closed while its scan runs waits no longer than the engine's next step.
    Find<QLineEdit>(&dialog, "Edit1")->setText(QStringLiteral("(a+)+$"));
  }

  // 置換後の名前でリネーム: the replacement goes in, and the window asks its owner for a
  // run of the names alone; it is off with a faulty rule, as OK is.
  void RenameWithTheNamesAloneAppliesTheReplacementFirst() {
    TForm6 dialog(state_, zefa::TextRules{});
    dialog.show();
    auto* rename = Find<QPushButton>(&dialog, "Button3");
    QCOMPARE(rename->text(), QStringLiteral("置換後の名前でリネーム(&R)"));
    QCOMPARE(rename->geometry(), QRect(8, 367, 201, 25));
    Tick(dialog, "CheckBox1");
    Type(dialog, "Edit1", QStringLiteral("(scan"));
    QVERIFY(!rename->isEnabled());
    Find<QLineEdit>(&dialog, "Edit1")->setText(QStringLiteral("_scan"));
    QTRY_VERIFY(rename->isEnabled());
    QVERIFY(!dialog.rename_asked());
    QTest::mouseClick(rename, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.rename_asked());
    QCOMPARE(state_.list.unique.entries, (Entries{"IMG_0001", "ﾊﾟｿｺﾝ", "写真"}));
  }

  void OpensFromTheMenuAndTheListsOwnMenu() {
    zefa::test::TempDir dir;
    dir.Touch("ZeFa_oru.ini", "[Option]\nUpdateCheck=0\n");
    zefa::test::ScriptedPrompter prompter;
    zefa::NativeFileSystem file_system;
    TForm1 form(prompter, file_system, zefa::test::ProgramPathsIn(dir),
                [](const QUrl&) { return true; });
    form.state().list = state_.list;
    form.Refresh();
    auto* action = Find<QAction>(&form, "Replace1");
    QCOMPARE(Find<QListView>(&form, "ListBox3")->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(Find<QMenu>(&form, "ListMenu1")->actions(), QList<QAction*>{action});
    auto answer =
        zefa::gui_testing::ExpectModal([](QWidget* modal, zefa::gui_testing::ModalAnswer&) {
          Find<QLineEdit>(modal, "Edit1")->insert(QStringLiteral("_scan"));
          Find<QPushButton>(modal, "Button1")->click();
        });
    action->trigger();
    WAIT_FOR_MODAL(answer);
    QCOMPARE(answer->seen.class_name, QStringLiteral("TForm6"));
    QCOMPARE(form.state().list.unique.entries[2], "写真");

    // The next opening starts from the rule of the last, kept in the settings file.
    auto again =
        zefa::gui_testing::ExpectModal([](QWidget* modal, zefa::gui_testing::ModalAnswer&) {
          QCOMPARE(Find<QLineEdit>(modal, "Edit1")->text(), QStringLiteral("_scan"));
          Find<QCheckBox>(modal, "CheckBox5")->setChecked(true);
          Find<QPushButton>(modal, "Button2")->click();
        });
    action->trigger();
    WAIT_FOR_MODAL(again);
    const std::string settings = dir.Read("ZeFa_oru.ini");
    QVERIFY(settings.starts_with("[Option]\nUpdateCheck=0\nReplace_search=_scan\n"));
    QVERIFY(settings.find("Replace_letter_case=1\n") != std::string::npos);
  }
};

QTEST_MAIN(FindReplaceDialogTest)
#include "find_replace_dialog_test.moc"
