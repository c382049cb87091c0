// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "qt_prompter.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#include "modal.h"
#include "qt_text.h"

using namespace zefa::gui_testing;

namespace {

enum class Form { kConfirm, kWarn, kError, kInform, kAsk, kApplicationError };

// Opens the box of one form; the answer is false for the boxes that ask nothing.
bool Show(QtPrompter& prompter, Form form, const std::string& text) {
  switch (form) {
    case Form::kConfirm:
      return prompter.Confirm(text);
    case Form::kWarn:
      return prompter.Warn(text);
    case Form::kError:
      prompter.Error(text);
      return false;
    case Form::kInform:
      prompter.Inform(text);
      return false;
    case Form::kAsk:
      return prompter.Ask(text);
    case Form::kApplicationError:
      prompter.ApplicationError(text);
      return false;
  }
  return false;
}

enum class Act { kClickYes, kClickNo, kClickOnly, kClose, kEscape, kReturn };

ModalAction ActionFor(Act act, const QStringList& buttons) {
  switch (act) {
    case Act::kClickYes:
      return ClickButton(QtPrompter::kYesText);
    case Act::kClickNo:
      return ClickButton(QtPrompter::kNoText);
    case Act::kClickOnly:
      return ClickButton(buttons.value(0));
    case Act::kClose:
      return CloseWindow();
    case Act::kEscape:
      return PressKey(Qt::Key_Escape);
    case Act::kReturn:
      return PressKey(Qt::Key_Return);
  }
  return CloseWindow();
}

const QStringList kYesNo = {QtPrompter::kYesText, QtPrompter::kNoText};

}  // namespace

Q_DECLARE_METATYPE(Form)
Q_DECLARE_METATYPE(Act)

class QtPrompterTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QCOMPARE(CancelPendingModals(), 0); }

  void BoxShowsItsFormAndMapsTheAnswer_data() {
    QTest::addColumn<Form>("form");
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<bool>("answer");

    const QString confirm = QStringLiteral("確認");
    const QString warning = QStringLiteral("警告");
    const QString error = QStringLiteral("エラー");
    const QString app = QStringLiteral("ZeFa Oru");
    const QStringList abort = {QStringLiteral("中止(&A)")};
    const QStringList ok = {QStringLiteral("OK")};
    const int question = QMessageBox::Question;
    const int warn = QMessageBox::Warning;
    const int critical = QMessageBox::Critical;
    const int none = QMessageBox::NoIcon;

    QTest::newRow("confirm yes") << Form::kConfirm << Act::kClickYes << confirm << question
                                 << kYesNo << true;
    QTest::newRow("confirm no") << Form::kConfirm << Act::kClickNo << confirm << question << kYesNo
                                << false;
    QTest::newRow("confirm closed")
        << Form::kConfirm << Act::kClose << confirm << question << kYesNo << false;
    QTest::newRow("confirm escape")
        << Form::kConfirm << Act::kEscape << confirm << question << kYesNo << false;
    QTest::newRow("confirm return is yes")
        << Form::kConfirm << Act::kReturn << confirm << question << kYesNo << true;
    QTest::newRow("warn yes") << Form::kWarn << Act::kClickYes << warning << warn << kYesNo << true;
    QTest::newRow("warn no") << Form::kWarn << Act::kClickNo << warning << warn << kYesNo << false;
    QTest::newRow("warn closed") << Form::kWarn << Act::kClose << warning << warn << kYesNo
                                 << false;
    QTest::newRow("warn return is yes")
        << Form::kWarn << Act::kReturn << warning << warn << kYesNo << true;
    QTest::newRow("ask yes") << Form::kAsk << Act::kClickYes << app << none << kYesNo << true;
    QTest::newRow("ask no") << Form::kAsk << Act::kClickNo << app << none << kYesNo << false;
    QTest::newRow("ask closed") << Form::kAsk << Act::kClose << app << none << kYesNo << false;
    QTest::newRow("error abort") << Form::kError << Act::kClickOnly << error << critical << abort
                                 << false;
    QTest::newRow("error closed") << Form::kError << Act::kClose << error << critical << abort
                                  << false;
    QTest::newRow("inform ok") << Form::kInform << Act::kClickOnly << app << none << ok << false;
    QTest::newRow("inform closed") << Form::kInform << Act::kClose << app << none << ok << false;
    QTest::newRow("inform return") << Form::kInform << Act::kReturn << app << none << ok << false;
    QTest::newRow("application error ok")
        << Form::kApplicationError << Act::kClickOnly << app << critical << ok << false;
    QTest::newRow("application error closed")
        << Form::kApplicationError << Act::kClose << app << critical << ok << false;
  }

  void BoxShowsItsFormAndMapsTheAnswer() {
    QFETCH(Form, form);
    QFETCH(Act, act);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(bool, answer);

    QWidget owner;
    QtPrompter prompter(&owner);
    QWidget* parent_seen = nullptr;
    int width_seen = 0;
    const ModalAction action = ActionFor(act, buttons);
    auto box = ExpectModal([&](QWidget* modal, ModalAnswer& result) {
      parent_seen = modal->parentWidget();
      width_seen = modal->width();
      action(modal, result);
    });
    const bool got = Show(prompter, form, "text");
    WAIT_FOR_MODAL(box);

    QCOMPARE(got, answer);
    QCOMPARE(box->seen.class_name, QStringLiteral("QMessageBox"));
    QCOMPARE(box->seen.title, title);
    QCOMPARE(static_cast<int>(box->seen.icon), icon);
    QCOMPARE(box->seen.buttons, buttons);
    // Yes is the default of a Yes/No box; a box with one button has it as default.
    QCOMPARE(box->seen.default_button, buttons.first());
    QCOMPARE(box->seen.escape_button, buttons.last());
    QCOMPARE(box->seen.text, QStringLiteral("text"));
    QCOMPARE(box->seen.text_format, Qt::PlainText);
    QCOMPARE(parent_seen, &owner);
    // However short its text, the box is wide enough that its title is not cut to "Z…".
    QVERIFY(width_seen >= QFontMetrics(QApplication::font()).horizontalAdvance(title) + 160);
  }

  void TextIsPlainNeverRich_data() {
    QTest::addColumn<Form>("form");
    QTest::newRow("confirm") << Form::kConfirm;
    QTest::newRow("warn") << Form::kWarn;
    QTest::newRow("error") << Form::kError;
    QTest::newRow("inform") << Form::kInform;
    QTest::newRow("ask") << Form::kAsk;
    QTest::newRow("application error") << Form::kApplicationError;
  }

  void TextIsPlainNeverRich() {
    QFETCH(Form, form);
    QtPrompter prompter(nullptr);
    auto box = ExpectModal(CloseWindow());
    Show(prompter, form, "/home/a/<b>x</b>.txt を追加できません");
    WAIT_FOR_MODAL(box);
    QCOMPARE(box->seen.text, QStringLiteral("/home/a/<b>x</b>.txt を追加できません"));
    QCOMPARE(box->seen.text_format, Qt::PlainText);
  }

  void CoreLineBreakIsOneLineBreak() {
    QtPrompter prompter(nullptr);
    auto box = ExpectModal(ClickButton(QtPrompter::kOkText));
    prompter.Inform("1行目\n\r2行目\n\r\n\r4行目");
    WAIT_FOR_MODAL(box);
    QCOMPARE(box->seen.text, QStringLiteral("1行目\n2行目\n\n4行目"));
    QVERIFY(!box->seen.text.contains(QLatin1Char('\r')));
  }

  void TwoBoxesInARowAreAnsweredInOrder() {
    QtPrompter prompter(nullptr);
    auto first = ExpectModal(ClickButton(QtPrompter::kNoText));
    auto second = ExpectModal(ClickButton(QtPrompter::kYesText));
    QVERIFY(!prompter.Confirm("one"));
    QVERIFY(prompter.Warn("two"));
    WAIT_FOR_MODAL(first);
    WAIT_FOR_MODAL(second);
    QCOMPARE(first->seen.text, QStringLiteral("one"));
    QCOMPARE(second->seen.text, QStringLiteral("two"));
  }

  // A task's window never comes up over a box nor takes its keys: it shows only from the
  // task's own steps once the task has run a second, and steps aside for every box.
  void ProgressWindowStepsAsideForBoxes() {
    QtPrompter prompter(nullptr);
    const auto progress_shown = [] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QProgressDialog*>(window) != nullptr && window->isVisible()) return true;
      }
      return false;
    };
    const std::unique_ptr<zefa::Progress> progress = prompter.StartProgress("作業中", 10);
    bool over_box = true;
    auto box = ExpectModal([&](QWidget* modal, ModalAnswer& answer) {
      QTest::qWait(1300);
      over_box = progress_shown() || QApplication::activeModalWidget() != modal;
      PressKey(Qt::Key_Return)(modal, answer);
    });
    prompter.Error("このファイルは無効です");
    WAIT_FOR_MODAL(box);
    QVERIFY(!over_box);
    QVERIFY(!progress_shown());
    QVERIFY(progress->Advance(1));  // the task has run over a second: its window shows
    QVERIFY(progress_shown());
    auto second = ExpectModal([&](QWidget* modal, ModalAnswer& answer) {
      over_box = progress_shown();
      ClickButton(QtPrompter::kOkText)(modal, answer);
    });
    prompter.Inform("x");
    WAIT_FOR_MODAL(second);
    QVERIFY(!over_box);
  }

  void OwnerMayGoFirst() {
    auto* owner = new QWidget;
    QtPrompter prompter(owner);
    delete owner;
    auto box = ExpectModal(ClickButton(QtPrompter::kOkText));
    prompter.ApplicationError("x");
    WAIT_FOR_MODAL(box);
  }

  void BeepsGoToTheSoundSink() {
    std::vector<zefa::BeepKind> beeps;
    QtPrompter prompter(nullptr, [&](zefa::BeepKind kind) { beeps.push_back(kind); });
    prompter.Beep(zefa::BeepKind::kWarning);
    prompter.Beep(zefa::BeepKind::kError);
    prompter.Beep(zefa::BeepKind::kInformation);
    QtPrompter(nullptr).Beep(zefa::BeepKind::kWarning);  // another prompter: the system sound
    QCOMPARE(beeps, (std::vector<zefa::BeepKind>{zefa::BeepKind::kWarning, zefa::BeepKind::kError,
                                                 zefa::BeepKind::kInformation}));
  }

  void FilterBecomesQtFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("restore files")
        << QStringLiteral("ZeFaファイル(*.zefa)|*.zefa") << QStringLiteral("ZeFaファイル(*.zefa)");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("name without patterns")
        << QStringLiteral("Text|*.txt") << QStringLiteral("Text (*.txt)");
    QTest::newRow("two entries, several patterns")
        << QStringLiteral("Images|*.png;*.jpg|All(*.*)|*.*")
        << QStringLiteral("Images (*.png *.jpg);;All(*.*)");
    QTest::newRow("name alone") << QStringLiteral("Odd") << QString();
  }

  void FilterBecomesQtFilter() {
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(QtPrompter::ToQtFilter(FromQt(filter)), qt);
  }

  void ChooseFileOffersTheFilterAndFolder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/restore");
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/2024年1月2日.zefa");
    QFile(file).open(QIODevice::WriteOnly);

    QtPrompter prompter(nullptr);
    auto dialog = ExpectModal(zefa::gui_testing::ChooseFile(file));
    const auto chosen = prompter.ChooseFile({FromQt(folder), "ZeFaファイル(*.zefa)|*.zefa"});
    WAIT_FOR_MODAL(dialog);
    QCOMPARE(dialog->seen.class_name, QStringLiteral("QFileDialog"));
    QCOMPARE(dialog->seen.name_filters, QStringList{QStringLiteral("ZeFaファイル(*.zefa)")});
    QCOMPARE(dialog->seen.directory, folder);
    QCOMPARE(dialog->seen.file_mode, QFileDialog::ExistingFile);
    QVERIFY(chosen.has_value());
    QCOMPARE(*chosen, FromQt(file));
  }

  void FileDialogsOpenWhereAskedNotWhereTheLastOneWasLeft() {
    QTemporaryDir dir;
    const QString restore = dir.path() + QStringLiteral("/restore");
    const QString photos = dir.path() + QStringLiteral("/photos");
    QVERIFY(QDir().mkpath(restore) && QDir().mkpath(photos));
    const QString file = restore + QStringLiteral("/2024年1月2日.zefa");
    QFile(file).open(QIODevice::WriteOnly);
    QtPrompter prompter(nullptr);
    auto undo = ExpectModal(zefa::gui_testing::ChooseFile(file));
    QVERIFY(prompter.ChooseFile({FromQt(restore), "ZeFaファイル(*.zefa)|*.zefa"}).has_value());
    WAIT_FOR_MODAL(undo);
    // Nothing added yet: the home folder, not the restore folder the undo was left in.
    auto add = ExpectModal(PressKey(Qt::Key_Escape));
    QVERIFY(prompter.ChooseFiles({}).empty());
    WAIT_FOR_MODAL(add);
    QCOMPARE(add->seen.directory, QDir::homePath());
    auto folder = ExpectModal(PressKey(Qt::Key_Escape));
    QCOMPARE(prompter.ChooseFolder(FromQt(photos)), std::nullopt);
    WAIT_FOR_MODAL(folder);
    QCOMPARE(folder->seen.directory, photos);
  }

  void ChooseFileOffersTheNewestRestoreFile() {
    QTemporaryDir dir;
    // Name order is not time order: 10日 sorts before 8日, and the 8日 file is the newer.
    const QString older = dir.filePath(QStringLiteral("2026年12月10日09時00分00秒.zefa"));
    const QString newer = dir.filePath(QStringLiteral("2026年12月8日09時00分00秒.zefa"));
    const QString other = dir.filePath(QStringLiteral("newest but no restore file.txt"));
    int age = 3;
    for (const QString& name : {older, newer, other}) {
      QFile file(name);
      QVERIFY(file.open(QIODevice::WriteOnly));
      QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-age--),
                               QFileDevice::FileModificationTime));
    }
    QtPrompter prompter(nullptr);
    QStringList selected;
    auto dialog = ExpectModal([&](QWidget* modal, zefa::gui_testing::ModalAnswer&) {
      auto* chooser = qobject_cast<QFileDialog*>(modal);
      selected = chooser->selectedFiles();
      static_cast<QDialog*>(chooser)->accept();
    });
    const auto chosen =
        prompter.ChooseFile({FromQt(dir.path()), "ZeFaファイル(*.zefa)|*.zefa", true});
    WAIT_FOR_MODAL(dialog);
    QCOMPARE(selected, QStringList{newer});
    QCOMPARE(chosen, std::optional<std::string>(FromQt(newer)));

    // A record named to come selected (the newest not undone) wins over the newest.
    auto named = ExpectModal([&](QWidget* modal, zefa::gui_testing::ModalAnswer&) {
      selected = qobject_cast<QFileDialog*>(modal)->selectedFiles();
      static_cast<QDialog*>(modal)->reject();
    });
    prompter.ChooseFile({FromQt(dir.path()), "ZeFaファイル(*.zefa)|*.zefa", true, FromQt(older)});
    WAIT_FOR_MODAL(named);
    QCOMPARE(selected, QStringList{older});
  }

  void ChooseFileWithoutFilterTakesAnyFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("photo.jpg"));
    QFile(file).open(QIODevice::WriteOnly);
    QtPrompter prompter(nullptr);
    auto dialog = ExpectModal(zefa::gui_testing::ChooseFile(file));
    const auto chosen = prompter.ChooseFile({});
    WAIT_FOR_MODAL(dialog);
    QCOMPARE(chosen, std::optional<std::string>(FromQt(file)));
  }

  void ChooseFileCancelledIsNothing() {
    QTemporaryDir dir;
    QtPrompter prompter(nullptr);
    auto dialog = ExpectModal(PressKey(Qt::Key_Escape));
    QCOMPARE(prompter.ChooseFile({FromQt(dir.path()), ""}), std::nullopt);
    WAIT_FOR_MODAL(dialog);
  }

  void ChooseFileRefusesAMissingFile() {
    QTemporaryDir dir;
    QtPrompter prompter(nullptr);
    // The dialog says the file is not there and stays open; the helper then cancels it.
    auto dialog =
        ExpectModal(zefa::gui_testing::ChooseFile(dir.filePath(QStringLiteral("gone.zefa"))));
    auto not_found = ExpectModal(PressKey(Qt::Key_Return));
    QCOMPARE(prompter.ChooseFile({FromQt(dir.path()), ""}), std::nullopt);
    WAIT_FOR_MODAL(not_found);
    QCOMPARE(not_found->seen.class_name, QStringLiteral("QMessageBox"));
    QTRY_VERIFY(dialog->done);
    QVERIFY2(dialog->error.contains(QStringLiteral("stayed open")), qPrintable(dialog->error));
  }

  void ModalHelperFailsInsteadOfHanging() {
    auto never = ExpectModal(CloseWindow(), 50);
    QTRY_VERIFY(never->done);
    QVERIFY(never->error.contains(QStringLiteral("no modal window")));

    QtPrompter prompter(nullptr);
    auto wrong = ExpectModal(ClickButton(QStringLiteral("Cancel")));
    QVERIFY(!prompter.Confirm("x"));  // the helper rejects the box it could not answer
    QTRY_VERIFY(wrong->done);
    QVERIFY(wrong->error.contains(QStringLiteral("no button \"Cancel\"")));

    auto pending = ExpectModal(CloseWindow());
    QCOMPARE(CancelPendingModals(), 1);
    QVERIFY(pending->done && !pending->error.isEmpty());
  }

  void TextHelpersKeepTheBytes() {
    const std::string utf8 = "ソ\\「x」 <b>";
    QCOMPARE(FromQt(ToQt(utf8)), utf8);
    QCOMPARE(ToQt(std::string("a\0b", 3)).size(), 3);
    // Paths only go to the screen, readable: no round trip through a QString.
    QCOMPARE(PathToQt("/tmp/写真.jpg"), QStringLiteral("/tmp/写真.jpg"));
    QCOMPARE(PathToQt("/tmp/\x83\x5c.txt"), QStringLiteral("/tmp/ソ.txt"));
    QCOMPARE(PathToQt("/tmp/caf\xe9.txt"), QStringLiteral("/tmp/caf\\xE9.txt"));
    QCOMPARE(MessageToQt("a\n\rb"), QStringLiteral("a\nb"));
  }
};

QTEST_MAIN(QtPrompterTest)
#include "qt_prompter_test.moc"
