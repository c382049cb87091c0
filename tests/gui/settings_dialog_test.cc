// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include "gui_test_base.h"

namespace {

using zefa::test::ControlPlace;
using zefa::test::Find;

const ControlPlace kControls[] = {
    {"CheckBox5", {16, 16, 265, 17}, "起動時に最新バージョンがあるかをチェックする"},
    {"CheckBox6", {16, 48, 233, 17}, "↑↓ボタンで固有ファイル名も連動させる"},
    {"GroupBox2", {16, 80, 265, 97}, "ファイル追加時の固有ファイル名"},
    {"CheckBox2", {8, 16, 249, 17}, "ファイル名から共有名を抜いた文字列を表示", "GroupBox2"},
    {"CheckBox4", {8, 40, 233, 17}, "次の文字列で囲まれた文字列を表示する", "GroupBox2"},
    {"Label7", {40, 70, 0, 0}, "開：", "GroupBox2"},
    {"Edit3", {64, 64, 33, 20}, "「", "GroupBox2"},
    {"Label8", {136, 70, 0, 0}, "閉：", "GroupBox2"},
    {"Edit4", {160, 64, 33, 20}, "」", "GroupBox2"},
    {"Label1", {24, 200, 0, 0}, "数字を"},
    {"SpinEdit1", {64, 192, 33, 21}, "1"},
    {"Label2", {104, 200, 0, 0}, "桁にする\u3000例： 1→001  20→020"},
    {"CheckBox1", {24, 240, 249, 17}, "それぞれの要素の間に半角スペースを入れる"},
    {"CheckBox3", {24, 286, 153, 17}, "数字を次の文字列で囲む"},
    {"CheckBox7", {16, 348, 265, 17}, "フォルダごとに連番を振り直す"},
    {"CheckBox8", {16, 438, 305, 17}, "リストアファイルを毎回作成する（確認しない）"},
    {"Panel1", {40, 304, 137, 17}, ""},
    {"Label4", {208, 292, 0, 0}, "開："},
    {"Edit1", {232, 286, 33, 20}, "["},
    {"Label5", {208, 310, 0, 0}, "閉："},
    {"Edit2", {232, 304, 33, 20}, "]"},
    {"GroupBox1", {296, 16, 257, 265}, "パターン"},
    {"RadioButton1", {8, 24, 233, 17}, "共有ファイル名 + 数字 + 固有ファイル名", "GroupBox1"},
    {"RadioButton2", {8, 48, 233, 17}, "共有ファイル名 + 固有ファイル名 + 数字", "GroupBox1"},
    {"RadioButton3", {8, 72, 233, 17}, "数字 + 共有ファイル名 + 固有ファイル名", "GroupBox1"},
    {"RadioButton4", {8, 96, 241, 17}, "数字 + 固有ファイル名 + 共有ファイル名", "GroupBox1"},
    {"RadioButton5", {8, 120, 225, 17}, "固有ファイル名 + 数字 + 共有ファイル名", "GroupBox1"},
    {"RadioButton6", {8, 144, 225, 17}, "固有ファイル名 + 共有ファイル名 + 数字", "GroupBox1"},
    {"RadioButton7", {8, 168, 193, 17}, "固有ファイル名 + 共有ファイル名", "GroupBox1"},
    {"RadioButton8", {8, 192, 193, 17}, "共有ファイル名 + 固有ファイル名", "GroupBox1"},
    {"Label3", {24, 224, 0, 0}, "固有ファイル名、共有ファイル名が不必要な", "GroupBox1"},
    {"Label6", {24, 240, 0, 0}, "場合は各欄を空欄にしてください。", "GroupBox1"},
    {"Button1", {376, 312, 83, 25}, "OK"},
    {"Button2", {472, 312, 83, 25}, "キャンセル"},
};

constexpr const char* kChanged =
    "[Option]\nketa=2\npattern=4\nspace=0\nwhen_add=1\nNum_kakko=1\nUpdateCheck=0\n"
    "UpDownButton_rendo=0\nNum_aki=\" (\"\nNum_toji=\")\"\nKoyu_kakko=1\nkoyu_aki=<\nkoyu_toji=>\n";

}  // namespace

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<zefa::test::DialogFixture> world_;
  int saved_pattern_ = 0;
  int saves_ = 0;

  std::unique_ptr<TForm2> MakeDialog(const char* settings = nullptr) {
    if (settings != nullptr) world_->dir->Touch("ZeFa_oru.ini", settings);
    return std::make_unique<TForm2>(world_->MakeContext(), [this](int pattern) {
      saved_pattern_ = pattern;
      ++saves_;
    });
  }

  static bool Enabled(TForm2& dialog, const char* name) {
    return Find<QWidget>(&dialog, name)->isEnabled();
  }
  static QString Panel(TForm2& dialog) { return Find<QLabel>(&dialog, "Panel1")->text(); }

 private slots:
  void init() {
    world_ = std::make_unique<zefa::test::DialogFixture>();
    saved_pattern_ = 0;
    saves_ = 0;
  }

  void ControlsStandWhereTheyShould() {
    auto dialog = MakeDialog();
    zefa::test::CheckDialogFrame(dialog.get(), "設定", {563, 463});
    zefa::test::CheckControls(dialog.get(), kControls);
    zefa::test::CheckTabOrder(
        dialog.get(),
        {"CheckBox5",    "CheckBox6",    "CheckBox2",    "CheckBox4",    "Edit3",
         "Edit4",        "SpinEdit1",    "CheckBox1",    "CheckBox3",    "Edit1",
         "Edit2",        "RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4",
         "RadioButton5", "RadioButton6", "RadioButton7", "RadioButton8", "Button1",
         "Button2",      "CheckBox7"});
    // The defaults of a missing file are the initial state.
    for (const char* name : {"CheckBox1", "CheckBox5", "CheckBox6", "RadioButton1"}) {
      QVERIFY2(Find<QAbstractButton>(dialog.get(), name)->isChecked(), name);
    }
    for (const char* name :
         {"CheckBox2", "CheckBox3", "CheckBox4", "RadioButton2", "RadioButton8"}) {
      QVERIFY2(!Find<QAbstractButton>(dialog.get(), name)->isChecked(), name);
    }
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Panel1"}) {
      QVERIFY2(!Enabled(*dialog, name), name);
    }
    auto* spin = Find<QSpinBox>(dialog.get(), "SpinEdit1");
    QCOMPARE(spin->minimum(), 1);
    QCOMPARE(spin->maximum(), 6);
    for (const char* name : {"Button1", "Button2"}) {
      auto* button = Find<QPushButton>(dialog.get(), name);
      QVERIFY2(!button->isDefault() && !button->autoDefault(), name);
    }
    QVERIFY(!world_->dir->Exists("ZeFa_oru.ini"));
  }

  void APresetIsSavedChosenAndAppliedOnOk() {
    std::string common;
    auto dialog = MakeDialog("[Option]\nReplace_search=巻\n");
    dialog->SetCommonName("漫画", [&](const std::string& name) { common = name; });
    Find<QRadioButton>(dialog.get(), "RadioButton5")->setChecked(true);
    world_->prompter.Text("シリーズ/A");
    Find<QPushButton>(dialog.get(), "PresetSave")->click();
    QVERIFY(world_->dir->Read("presets/シリーズ%2FA.ini").find("Replace_search=巻\n") !=
            std::string::npos);
    dialog = MakeDialog();
    dialog->SetCommonName("別", [&](const std::string& name) { common = name; });
    auto* box = Find<QComboBox>(dialog.get(), "PresetBox");
    QCOMPARE(box->count(), 2);
    box->setCurrentIndex(1);
    emit box->activated(1);
    QVERIFY(Find<QRadioButton>(dialog.get(), "RadioButton5")->isChecked());
    QCOMPARE(common, std::string());
    Find<QPushButton>(dialog.get(), "Button1")->click();
    QCOMPARE(saved_pattern_, 5);
    QCOMPARE(common, std::string("漫画"));
  }

  void LoadingFiresTheHandlers() {
    auto dialog = MakeDialog(kChanged);
    QCOMPARE(Panel(*dialog), QStringLiteral(" (01)"));
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Panel1"}) {
      QVERIFY2(Enabled(*dialog, name), name);
    }
    QVERIFY(Find<QRadioButton>(dialog.get(), "RadioButton4")->isChecked());
    QVERIFY(!Find<QRadioButton>(dialog.get(), "RadioButton1")->isChecked());
    QVERIFY(!Find<QCheckBox>(dialog.get(), "CheckBox1")->isChecked());
    QCOMPARE(Find<QLineEdit>(dialog.get(), "Edit2")->text(), QStringLiteral(")"));

    auto unknown = MakeDialog("[Option]\npattern=9\nketa=7\n");
    QVERIFY(Find<QRadioButton>(unknown.get(), "RadioButton1")->isChecked());
    QCOMPARE(Find<QSpinBox>(unknown.get(), "SpinEdit1")->value(), 6);
  }

  void ExampleFollowsEveryChange() {
    auto dialog = MakeDialog();
    auto* check_box3 = Find<QCheckBox>(dialog.get(), "CheckBox3");
    auto* edit1 = Find<QLineEdit>(dialog.get(), "Edit1");
    QTest::mouseClick(check_box3, Qt::LeftButton);
    QCOMPARE(Panel(*dialog), QStringLiteral("[1]"));
    QVERIFY(Enabled(*dialog, "Panel1") && Enabled(*dialog, "Edit1") && Enabled(*dialog, "Edit2"));
    edit1->selectAll();
    QTest::keyClicks(edit1, QStringLiteral("(("));
    QCOMPARE(Panel(*dialog), QStringLiteral("((1]"));
    Find<QSpinBox>(dialog.get(), "SpinEdit1")->setValue(6);
    QCOMPARE(Panel(*dialog), QStringLiteral("((000001]"));
    Find<QSpinBox>(dialog.get(), "SpinEdit1")->setValue(3);
    QCOMPARE(Panel(*dialog), QStringLiteral("((001]"));

    QTest::mouseClick(check_box3, Qt::LeftButton);
    QCOMPARE(Panel(*dialog), QString());
    QVERIFY(!Enabled(*dialog, "Panel1") && !Enabled(*dialog, "Edit1"));
    QTest::keyClicks(edit1, QStringLiteral("x"));  // disabled: nothing reaches it
    QCOMPARE(Panel(*dialog), QString());
    QTest::mouseClick(check_box3, Qt::LeftButton);
    QCOMPARE(Panel(*dialog), QStringLiteral("((001]"));

    auto* check_box4 = Find<QCheckBox>(dialog.get(), "CheckBox4");
    QTest::mouseClick(check_box4, Qt::LeftButton);
    QVERIFY(Enabled(*dialog, "Edit3") && Enabled(*dialog, "Edit4"));
    QTest::mouseClick(check_box4, Qt::LeftButton);
    QVERIFY(!Enabled(*dialog, "Edit3") && !Enabled(*dialog, "Edit4"));
  }

  void DigitsOutOfRangeComeToTheBoundOnLeaving_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::newRow("7") << QStringLiteral("7") << 6;
    QTest::newRow("1000") << QStringLiteral("1000") << 6;
    QTest::newRow("0") << QStringLiteral("0") << 1;
    QTest::newRow("-5") << QStringLiteral("-5") << 1;
    QTest::newRow("empty") << QString() << 1;
  }

  void DigitsOutOfRangeComeToTheBoundOnLeaving() {
    QFETCH(QString, typed);
    QFETCH(int, value);
    auto dialog = MakeDialog("[Option]\nNum_kakko=1\nketa=2\n");
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* spin = Find<QSpinBox>(dialog.get(), "SpinEdit1");
    QCOMPARE(Panel(*dialog), QStringLiteral("[01]"));
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClicks(spin, typed);
    QCOMPARE(spin->text(), typed);
    QCOMPARE(Panel(*dialog), QStringLiteral("[1]"));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(spin, &leave);
    QCOMPARE(spin->value(), value);
    QCOMPARE(spin->text(), QString::number(value));
    QCOMPARE(Panel(*dialog), value == 6 ? QStringLiteral("[000001]") : QStringLiteral("[1]"));
  }

  // A spin box that still holds typed text fixes it as it goes; the dialog's handlers must
  // not run then (the Debug build and the sanitizers catch it).
  void DestroyedWhileTypingInTheSpinBox() {
    auto dialog = MakeDialog("[Option]\nNum_kakko=1\n");
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* spin = Find<QSpinBox>(dialog.get(), "SpinEdit1");
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("7"));
    dialog.reset();
  }

  void OkSavesAndRunsTheMainWindowStartUp() {
    auto dialog = MakeDialog();
    dialog->show();
    QTest::mouseClick(Find<QRadioButton>(dialog.get(), "RadioButton7"), Qt::LeftButton);
    QTest::mouseClick(Find<QCheckBox>(dialog.get(), "CheckBox7"), Qt::LeftButton);
    QTest::mouseClick(Find<QCheckBox>(dialog.get(), "CheckBox8"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(dialog.get(), "Button1"), Qt::LeftButton);
    QCOMPARE(saves_, 1);
    QCOMPARE(saved_pattern_, 7);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(world_->dir->Read("ZeFa_oru.ini"),
             std::string("[Option]\nketa=1\npattern=7\nspace=1\nwhen_add=0\nNum_kakko=0\n"
                         "UpdateCheck=1\nUpDownButton_rendo=1\nNum_aki=[\nNum_toji=]\n"
                         "Koyu_kakko=0\nkoyu_aki=「\nkoyu_toji=」\nFolder_rendo=1\n"
                         "Date_format=%Y-%m-%d %H.%M.%S\nRestore_always=1\n"));
    QVERIFY(world_->prompter.log.empty());
  }

  void CancelCloseEscapeAndEnterWriteNothing() {
    for (int way = 0; way < 4; ++way) {
      init();
      auto dialog = MakeDialog(kChanged);
      dialog->show();
      QTest::mouseClick(Find<QRadioButton>(dialog.get(), "RadioButton8"), Qt::LeftButton);
      QTest::mouseClick(Find<QCheckBox>(dialog.get(), "CheckBox3"), Qt::LeftButton);
      auto* edit3 = Find<QLineEdit>(dialog.get(), "Edit3");
      QTest::keyClicks(edit3, QStringLiteral("zz"));
      switch (way) {
        case 0:
          QTest::mouseClick(Find<QPushButton>(dialog.get(), "Button2"), Qt::LeftButton);
          break;
        case 1:
          dialog->close();  // the title-bar button
          break;
        case 2:
          QTest::keyClick(edit3, Qt::Key_Escape);  // closes as キャンセル does
          QVERIFY(!dialog->isVisible());
          QCOMPARE(dialog->result(), int(QDialog::Rejected));
          break;
        case 3:
          QTest::keyClick(edit3, Qt::Key_Return);
          QVERIFY(dialog->isVisible());
          break;
      }
      QCOMPARE(world_->dir->Read("ZeFa_oru.ini"), std::string(kChanged));
      QCOMPARE(saves_, 0);
    }
  }

  void EnterPressesTheFocusedButton() {
    auto dialog = MakeDialog();
    dialog->show();
    auto* ok = Find<QPushButton>(dialog.get(), "Button1");
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QCOMPARE(saves_, 1);
    QVERIFY(world_->dir->Exists("ZeFa_oru.ini"));
  }

  void RefusedWriteKeepsTheDialogOpen() {
    // A settings path below a file can never be written.
    world_->dir->Touch("blocker");
    const std::string path = *world_->dir / "blocker/ZeFa_oru.ini";
    auto dialog = std::make_unique<TForm2>(world_->MakeContext(path), [this](int) { ++saves_; });
    dialog->show();
    QTest::mouseClick(Find<QRadioButton>(dialog.get(), "RadioButton3"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(dialog.get(), "Button1"), Qt::LeftButton);
    QCOMPARE(world_->prompter.log,
             std::vector<std::string>{"app-error " + path + " に書き込めません."});
    QCOMPARE(saves_, 0);
    QVERIFY(dialog->isVisible());
    QVERIFY(Find<QRadioButton>(dialog.get(), "RadioButton3")->isChecked());
  }
};

QTEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
