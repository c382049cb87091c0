// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// Run with LANG=ja_JP.UTF-8, as a Japanese user runs the program.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include "modal.h"
#include "qt_prompter.h"
#include "qt_translations.h"

using namespace zefa::gui_testing;

class JapaneseLocaleTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QCOMPARE(QLocale().language(), QLocale::Japanese);
    QVERIFY2(InstallQtTranslations(*qApp), "no Qt translation for ja_JP");
  }

  void cleanup() { QCOMPARE(CancelPendingModals(), 0); }

  // The open dialog of 元に戻す and 追加 speaks the user's language.
  void OpenDialogButtonsAreJapanese() {
    QTemporaryDir dir;
    QtPrompter prompter(nullptr);
    QStringList buttons;
    auto dialog = ExpectModal([&](QWidget* modal, ModalAnswer&) {
      for (const auto* button : modal->findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty()) buttons << button->text();
      }
      static_cast<QDialog*>(modal)->reject();
    });
    prompter.ChooseFile({dir.path().toStdString(), "ZeFaファイル(*.zefa)|*.zefa", true});
    WAIT_FOR_MODAL(dialog);
    QCOMPARE(dialog->seen.class_name, QStringLiteral("QFileDialog"));
    QVERIFY2(buttons.contains(QStringLiteral("開く(&O)")),
             qPrintable(buttons.join(QLatin1Char('|'))));
    QVERIFY2(buttons.contains(QStringLiteral("キャンセル")),
             qPrintable(buttons.join(QLatin1Char('|'))));
  }

  // The program's own boxes keep their own texts, whatever Qt's translation says.
  void OwnBoxesKeepTheirTexts() {
    QtPrompter prompter(nullptr);
    auto box = ExpectModal(ClickButton(QStringLiteral("いいえ(&N)")));
    QVERIFY(!prompter.Confirm("本当に実行しますか？"));
    WAIT_FOR_MODAL(box);
    QCOMPARE(box->seen.title, QStringLiteral("確認"));
    QCOMPARE(box->seen.buttons,
             (QStringList{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)")}));
  }
};

QTEST_MAIN(JapaneseLocaleTest)
#include "japanese_locale_test.moc"
