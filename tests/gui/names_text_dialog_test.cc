// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names_text_dialog.h"

#include <QClipboard>
#include <QStatusBar>
#include <QTableView>

#include "gui_test_base.h"
#include "main_window.h"
#include "modal.h"
#include "text/code_page_convert.h"

namespace {

using zefa::test::Find;
using Entries = std::vector<std::string>;

}  // namespace

class NamesTextDialogTest : public QObject {
  Q_OBJECT

 private:
  zefa::test::TempDir dir_;
  zefa::test::ScriptedPrompter prompter_;
  zefa::NativeFileSystem file_system_;
  zefa::RenameList list_;

 private slots:
  void init() {
    list_ = {};
    prompter_.log.clear();
    for (const char* name : {"a", "b", "c"}) {
      list_.AppendRow(std::string("/pic/") + name + ".jpg", name, ".jpg", "");
    }
  }

  void AppliesOneLinePerRowAndSaysWhenTheyDiffer() {
    TForm7 dialog(list_, prompter_, file_system_);
    dialog.show();
    auto* view = Find<QTableView>(&dialog, "Lines1");
    QAbstractItemModel* model = view->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("c.jpg"));
    QCOMPARE(model->index(2, 1).data().toString(), QStringLiteral("c"));
    QVERIFY(model->setData(model->index(1, 1), QStringLiteral("x"), Qt::EditRole));
    QVERIFY(model->index(1, 1).data(Qt::BackgroundRole).isValid());  // marked as changed
    QVERIFY(!model->index(0, 1).data(Qt::BackgroundRole).isValid());
    view->selectRow(2);
    Find<QPushButton>(&dialog, "Button5")->click();
    QCOMPARE(Find<QLabel>(&dialog, "Label1")->text(),
             QStringLiteral("行の数 2 がファイルの数 3 と合いません"));
    Find<QPushButton>(&dialog, "Button1")->click();
    QCOMPARE(prompter_.log, (Entries{"beep error",
                                     "error 行の数 2 がファイルの数 3 と合いません（1 行少ない）。"
                                     "2 行目から固有ファイル名と食い違っています。"}));
    QVERIFY(dialog.isVisible());
    QCOMPARE(list_.unique.entries, (Entries{"a", "b", "c"}));
    // A column pasted from a spreadsheet, from the current line on; its last line break
    // starts no line, and of a row of cells the first is taken.
    QApplication::clipboard()->setText(QStringLiteral("第1巻\t1\n第2巻\n第3巻\n"));
    view->setCurrentIndex(model->index(0, 1));
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Find<QLabel>(&dialog, "Label1")->text(), QString());
    Find<QPushButton>(&dialog, "Button1")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(list_.unique.entries, (Entries{"第1巻", "第2巻", "第3巻"}));
  }

  void ReadsTheFirstFieldsOfAShiftJisCsv() {
    const std::string path =
        dir_.Touch("names.csv", zefa::Utf8ToShiftJis("表,1\n\"予,定\",2\n三,3\n"));
    TForm7 dialog(list_, prompter_, file_system_);
    QVERIFY(dialog.LoadFile(path));
    QCOMPARE(dialog.Lines(), (Entries{"表", "予,定", "三"}));
    QVERIFY(!dialog.LoadFile(dir_ / "missing.txt"));
    QCOMPARE(prompter_.log.back(), "error ファイルを読み込めません\n\r" + dir_ / "missing.txt");
  }

  void OpensFromTheEditMenuAndNamesUnknownTokens() {
    dir_.Touch("ZeFa_oru.ini", "[Option]\nUpdateCheck=0\n");
    TForm1 form(prompter_, file_system_, zefa::test::ProgramPathsIn(dir_),
                [](const QUrl&) { return true; });
    form.state().list = list_;
    form.Refresh();
    auto answer =
        zefa::gui_testing::ExpectModal([](QWidget* modal, zefa::gui_testing::ModalAnswer&) {
          QAbstractItemModel* model = Find<QTableView>(modal, "Lines1")->model();
          for (int row = 0; row < 3; ++row)
            model->setData(model->index(row, 1), QString::number(row + 1));
          Find<QPushButton>(modal, "Button1")->click();
        });
    Find<QAction>(&form, "EditAsText1")->trigger();
    WAIT_FOR_MODAL(answer);
    QCOMPARE(answer->seen.class_name, QStringLiteral("TForm7"));
    QCOMPARE(form.state().list.unique.entries, (Entries{"1", "2", "3"}));

    Find<QLineEdit>(&form, "Edit2")->setText(QStringLiteral("{フォルダ名}{作者}"));
    QCOMPARE(form.statusBar()->currentMessage(),
             QStringLiteral("「{作者}」は使える項目ではありません（そのまま名前になります）"));
    Find<QLineEdit>(&form, "Edit2")->setText(QStringLiteral("{フォルダ名}"));
    QCOMPARE(form.statusBar()->currentMessage(), QString());
  }
};

QTEST_MAIN(NamesTextDialogTest)
#include "names_text_dialog_test.moc"
