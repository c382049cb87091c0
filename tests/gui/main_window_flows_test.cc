// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// The main window driven as a person drives it: real buttons, real message boxes.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "batch_replace_dialog.h"
#include "gui_test_base.h"
#include "main_window.h"
#include "modal.h"
#include "platform/file_system.h"
#include "preview_dialog.h"
#include "qt_prompter.h"
#include "settings_dialog.h"
#include "temp_dir.h"

using zefa::gui_testing::ClickButton;
using zefa::gui_testing::CloseWindow;
using zefa::gui_testing::ExpectModal;
using zefa::gui_testing::ModalAnswer;

// Storage as slow as a network share: each rename takes 10 ms.
class SlowFileSystem : public zefa::NativeFileSystem {
 public:
  std::vector<zefa::ChangeReason> RenameEachNoReplace(const std::vector<zefa::RenamePair>& pairs,
                                                      const zefa::KeepGoing& keep_going) override {
    std::vector<zefa::ChangeReason> outcomes;
    for (const zefa::RenamePair& pair : pairs) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      outcomes.push_back(NativeFileSystem::RenameEachNoReplace({pair})[0]);
      if (keep_going && !keep_going(outcomes.size())) break;
    }
    return outcomes;
  }
};

class MainWindowFlowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<zefa::test::TempDir> dir_;
  zefa::NativeFileSystem file_system_;
  std::unique_ptr<QtPrompter> prompter_;
  std::unique_ptr<TForm1> form_;

  template <typename T>
  T* Find(const char* name) {
    return zefa::test::Find<T>(form_.get(), name);
  }

  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

  std::vector<std::string> Column(zefa::ColumnId id) {
    return form_->state().list.column(id).Texts();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<zefa::test::TempDir>();
    dir_->Touch("ZeFa_oru.ini", "[Option]\nUpdateCheck=0\n");
    prompter_ = std::make_unique<QtPrompter>(nullptr, [](zefa::BeepKind) {});
    form_ = std::make_unique<TForm1>(*prompter_, file_system_, zefa::test::ProgramPathsIn(*dir_),
                                     [](const QUrl&) { return true; });
    prompter_->SetParent(form_.get());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }

  void cleanup() {
    form_.reset();
    prompter_.reset();
  }

  // 300 renames of 10 ms: the progress window shows once the run looks like taking over a
  // second, and its 中止 stops the run after the current rename; the rest keep their names.
  void SlowRunIsStoppedFromTheProgressWindow() {
    SlowFileSystem slow;
    form_ = std::make_unique<TForm1>(*prompter_, slow, zefa::test::ProgramPathsIn(*dir_),
                                     [](const QUrl&) { return true; });
    prompter_->SetParent(form_.get());
    form_->show();
    constexpr int kRows = 300;
    std::vector<std::string> paths;
    for (int i = 0; i < kRows; ++i) paths.push_back(dir_->Touch("files/f" + std::to_string(i)));
    form_->DropPaths(paths);
    Find<QLineEdit>("Edit2")->setText(QStringLiteral("x"));

    ExpectModal(ClickButton(QStringLiteral("はい(&Y)")));  // 本当に実行しますか？
    ExpectModal(ClickButton(QStringLiteral("はい(&Y)")));  // with a restore file
    ExpectModal(ClickButton(QStringLiteral("OK")));        // how to undo it
    QString label;
    auto progress = ExpectModal([&](QWidget* modal, ModalAnswer& answer) {
      auto* dialog = qobject_cast<QProgressDialog*>(modal);
      if (dialog == nullptr) {
        answer.error = QStringLiteral("no progress window but ") + modal->windowTitle();
        return;
      }
      label = dialog->labelText();
      ClickButton(QStringLiteral("中止"))(modal, answer);
    });
    auto done = ExpectModal(ClickButton(QStringLiteral("OK")));
    Click("Button2");
    WAIT_FOR_MODAL(progress);
    WAIT_FOR_MODAL(done);
    QVERIFY2(label.startsWith(QStringLiteral("リネームしています（")), qPrintable(label));
    QVERIFY2(label.endsWith(QStringLiteral(" / 300）")), qPrintable(label));

    const std::string listing = dir_->Listing("files");
    const auto renamed = std::count(listing.begin(), listing.end(), 'x');
    QVERIFY2(renamed > 0 && renamed < kRows, qPrintable(QString::number(renamed)));
    // The last box says that the run was stopped, and how far it came.
    QCOMPARE(done->seen.text, QStringLiteral("リネームを中止しました。\n300 個のファイルのうち %1 "
                                             "個をリネームしました。")
                                  .arg(renamed));
    QVERIFY(dir_->Exists("files/f" + std::to_string(kRows - 1)));
    form_.reset();
  }

  void SortAsksThroughTheWarningBox_data() {
    QTest::addColumn<bool>("answer_yes");
    QTest::newRow("yes") << true;
    QTest::newRow("closed") << false;
  }

  void SortAsksThroughTheWarningBox() {
    QFETCH(bool, answer_yes);
    const std::string img10 = dir_->Touch("IMG_10.jpg");
    const std::string img2 = dir_->Touch("img_2.jpg");
    const std::string img1 = dir_->Touch("IMG_1.png");
    form_->DropPaths({img10, img2, img1});
    auto box = ExpectModal(answer_yes ? ClickButton(QStringLiteral("はい(&Y)")) : CloseWindow());
    Click("Button11");
    WAIT_FOR_MODAL(box);
    QCOMPARE(box->seen.title, QStringLiteral("警告"));
    QCOMPARE(box->seen.icon, QMessageBox::Warning);
    QCOMPARE(
        box->seen.text,
        QStringLiteral(
            "本当にソートしますか？\n※名前順に並べ替えます。固有ファイル名も初期化されます。"));
    QCOMPARE(box->seen.default_button, QStringLiteral("はい(&Y)"));
    const std::vector<std::string> sorted = {img1, img2, img10};
    const std::vector<std::string> unsorted = {img10, img2, img1};
    QCOMPARE(Column(zefa::ColumnId::kPath), answer_yes ? sorted : unsorted);
    if (answer_yes) {
      QCOMPARE(Column(zefa::ColumnId::kUnique),
               (std::vector<std::string>{"IMG_1", "img_2", "IMG_10"}));
      QCOMPARE(Column(zefa::ColumnId::kExtension),
               (std::vector<std::string>{".png", ".jpg", ".jpg"}));
    }
    QCOMPARE(Column(zefa::ColumnId::kNumber), (std::vector<std::string>{"1", "2", "3"}));
    QCOMPARE(Find<QListView>("ListBox2")->model()->index(0, 0).data().toString(),
             QString::fromStdString(answer_yes ? img1 : img10));
  }

  void RenameWithRestoreFileThenUndo() {
    form_->DropPaths({dir_->Touch("pics/b.jpg"), dir_->Touch("pics/a.png"), dir_->Touch("pics/c")});
    Find<QLineEdit>("Edit2")->setText(QStringLiteral("旅行"));
    std::vector<std::shared_ptr<ModalAnswer>> boxes;
    for (const char* button : {"はい(&Y)", "はい(&Y)", "OK", "OK"}) {
      boxes.push_back(ExpectModal(ClickButton(QString::fromUtf8(button))));
    }
    Click("Button2");
    for (const auto& box : boxes) WAIT_FOR_MODAL(box);
    QCOMPARE(boxes[0]->seen.title, QStringLiteral("確認"));
    QCOMPARE(boxes[0]->seen.text, QStringLiteral("本当に実行しますか？"));
    QCOMPARE(boxes[1]->seen.title, QStringLiteral("警告"));
    QVERIFY(boxes[1]->seen.text.startsWith(QStringLiteral("リストアファイルを作成しますか？\n")));
    QCOMPARE(boxes[2]->seen.title, QStringLiteral("ZeFa Oru"));
    QCOMPARE(boxes[2]->seen.text,
             QStringLiteral("元に戻すには、[ファイル]メニューから[元に戻す]を選択してください。"));
    QCOMPARE(boxes[3]->seen.text, QStringLiteral("完了しました。"));
    QCOMPARE(QString::fromStdString(dir_->Listing("pics")),
             QStringLiteral("旅行 1 b.jpg 旅行 2 a.png 旅行 3 c"));
    // The rows follow their files.
    QCOMPARE(form_->state().list.path.entries[0], *dir_ / "pics/旅行 1 b.jpg");
    const std::string restore = dir_->Listing("restore");
    QVERIFY(QString::fromStdString(restore).endsWith(QStringLiteral("秒.zefa")));

    boxes.clear();
    auto chooser = ExpectModal(
        zefa::gui_testing::ChooseFile(QString::fromStdString(*dir_ / ("restore/" + restore))));
    boxes.push_back(ExpectModal(ClickButton(QStringLiteral("はい(&Y)"))));
    boxes.push_back(ExpectModal(ClickButton(QStringLiteral("OK"))));
    form_->findChild<QAction*>(QStringLiteral("Undo1"))->trigger();
    WAIT_FOR_MODAL(chooser);
    for (const auto& box : boxes) WAIT_FOR_MODAL(box);
    QCOMPARE(chooser->seen.name_filters, QStringList{QStringLiteral("ZeFaファイル(*.zefa)")});
    QCOMPARE(chooser->seen.directory, QString::fromStdString(*dir_ / "restore"));
    QCOMPARE(boxes[0]->seen.text,
             QStringLiteral("元に戻しますか？\nこのファイルには以下のファイルが含まれます。\n") +
                 QString::fromStdString(*dir_ / "pics/旅行 1 b.jpg") +
                 QStringLiteral("\n（全 3 個のファイル）"));
    QCOMPARE(boxes[1]->seen.text, QStringLiteral("完了しました"));
    QCOMPARE(QString::fromStdString(dir_->Listing("pics")), QStringLiteral("a.png b.jpg c"));
    // And back with them after the undo.
    QCOMPARE(form_->state().list.path.entries[0], *dir_ / "pics/b.jpg");
  }

  // The three dialogs, each opened from the main window's own control and driven once.
  void PreviewShowsFullPathsAndStartsTheRun() {
    const std::string a = dir_->Touch("pics/a.jpg");
    form_->DropPaths({a});
    QStringList before;
    QStringList after;
    QString caption;
    auto preview = ExpectModal([&](QWidget* modal, ModalAnswer& answer) {
      auto* dialog = qobject_cast<TForm4*>(modal);
      if (dialog == nullptr) {
        answer.error = QStringLiteral("not the preview");
        return;
      }
      auto* button3 = dialog->findChild<QPushButton*>(QStringLiteral("Button3"));
      button3->click();
      caption = button3->text();
      auto* left = dialog->findChild<QListView*>(QStringLiteral("ListBox1"));
      auto* right = dialog->findChild<QListView*>(QStringLiteral("ListBox2"));
      before << left->model()->index(0, 0).data().toString();
      after << right->model()->index(0, 0).data().toString();
      dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    auto confirm = ExpectModal(ClickButton(QStringLiteral("いいえ(&N)")));
    Click("Button12");
    WAIT_FOR_MODAL(preview);
    WAIT_FOR_MODAL(confirm);
    QCOMPARE(preview->seen.title, QStringLiteral("プレビュー"));
    QCOMPARE(caption, QStringLiteral("ファイル名を表示"));
    QCOMPARE(before, QStringList{QString::fromStdString(a)});
    QCOMPARE(after, QStringList{QStringLiteral("1 a.jpg")});
    QCOMPARE(confirm->seen.text, QStringLiteral("本当に実行しますか？"));
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(form_->findChild<TForm4*>() == nullptr);
    QCOMPARE(QString::fromStdString(dir_->Listing("pics")), QStringLiteral("a.jpg"));
  }

  // A file deleted after it was listed: the preview names the row's reason and says that the
  // run will not start. A list whose files a run has renamed follows them: nothing is gone.
  void PreviewSaysWhichFilesAreGone() {
    const std::string a = dir_->Touch("pics/a.jpg");
    const std::string b = dir_->Touch("pics/b.jpg");
    form_->DropPaths({a, b});
    Find<QLineEdit>("Edit2")->setText(QStringLiteral("x"));
    const auto look = [&](QStringList& reasons, QString& count) {
      return ExpectModal([&](QWidget* modal, ModalAnswer& answer) {
        auto* right = modal->findChild<QListView*>(QStringLiteral("ListBox2"));
        for (int row = 0; right != nullptr && row < right->model()->rowCount(); ++row) {
          reasons << right->model()->index(row, 0).data(Qt::ToolTipRole).toString();
        }
        count = modal->findChild<QLabel*>(QStringLiteral("Label4"))->text();
        ClickButton(QStringLiteral("閉じる"))(modal, answer);
      });
    };
    const QString gone = QStringLiteral("ファイルが見つかりません");
    const QString wont_start =
        QStringLiteral("見つからないファイルがあるため、リネームを開始できません");
    std::remove(b.c_str());
    QStringList reasons;
    QString count;
    auto first = look(reasons, count);
    Click("Button12");
    WAIT_FOR_MODAL(first);
    QCOMPARE(reasons, (QStringList{QString(), gone}));
    QCOMPARE(count, QStringLiteral("リネームできないファイル: 1 個\n") + wont_start);

    dir_->Touch("pics/b.jpg");
    ExpectModal(ClickButton(QStringLiteral("はい(&Y)")));
    ExpectModal(ClickButton(QStringLiteral("いいえ(&N)")));
    auto done = ExpectModal(ClickButton(QStringLiteral("OK")));
    Click("Button2");
    WAIT_FOR_MODAL(done);
    QCOMPARE(QString::fromStdString(dir_->Listing("pics")), QStringLiteral("x 1 a.jpg x 2 b.jpg"));
    reasons.clear();
    auto second = look(reasons, count);
    Click("Button12");
    WAIT_FOR_MODAL(second);
    QCOMPARE(reasons, (QStringList{QString(), QString()}));
    QCOMPARE(count, QString());
  }

  void BatchReplaceSetsEveryExtension() {
    form_->DropPaths({dir_->Touch("a.png"), dir_->Touch("b"), dir_->Touch("c.tar.gz")});
    auto dialog = ExpectModal([](QWidget* modal, ModalAnswer& answer) {
      if (qobject_cast<TForm5*>(modal) == nullptr) {
        answer.error = QStringLiteral("not the batch replace");
        return;
      }
      modal->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("jpg"));
      // "実行" asks first; the next expected box answers it.
      QTimer::singleShot(0, modal->findChild<QPushButton*>(QStringLiteral("Button1")),
                         &QPushButton::click);
    });
    auto warning = ExpectModal(ClickButton(QStringLiteral("はい(&Y)")));
    Click("Button15");
    WAIT_FOR_MODAL(dialog);
    WAIT_FOR_MODAL(warning);
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(dialog->seen.title, QStringLiteral("一括置換"));
    QCOMPARE(warning->seen.text, QStringLiteral("本当に一括置換を行いますか？"));
    QCOMPARE(Column(zefa::ColumnId::kExtension),
             (std::vector<std::string>{".jpg", ".jpg", ".jpg"}));
    QCOMPARE(Find<QListView>("ListBox4")->model()->index(1, 0).data().toString(),
             QStringLiteral(".jpg"));
  }

  void SettingsSavedApplyToTheMainWindowAtOnce() {
    QVERIFY(Find<QSpinBox>("SpinEdit1")->isEnabled());
    auto dialog = ExpectModal([](QWidget* modal, ModalAnswer& answer) {
      if (qobject_cast<TForm2*>(modal) == nullptr) {
        answer.error = QStringLiteral("not the settings");
        return;
      }
      modal->findChild<QRadioButton*>(QStringLiteral("RadioButton7"))->setChecked(true);
      modal->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    Click("Button3");
    WAIT_FOR_MODAL(dialog);
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(dialog->seen.title, QStringLiteral("設定"));
    QVERIFY(!Find<QSpinBox>("SpinEdit1")->isEnabled());
    QVERIFY(!Find<QLabel>("Label10")->isEnabled());
    QVERIFY(
        QString::fromStdString(dir_->Read("ZeFa_oru.ini")).contains(QStringLiteral("pattern=7")));
    // The menu item opens the same dialog; with the link off the file arrows appear.
    auto again = ExpectModal([](QWidget* modal, ModalAnswer&) {
      modal->findChild<QCheckBox*>(QStringLiteral("CheckBox6"))->setChecked(false);
      modal->findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->setChecked(true);
      modal->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    });
    form_->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    WAIT_FOR_MODAL(again);
    QVERIFY(Find<QSpinBox>("SpinEdit1")->isEnabled());
    QVERIFY(!Find<QPushButton>("Button6")->isHidden());
    QVERIFY(Find<QPushButton>("Button7")->isEnabled());
  }
};

QTEST_MAIN(MainWindowFlowsTest)
#include "main_window_flows_test.moc"
