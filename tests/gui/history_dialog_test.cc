// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "history_dialog.h"

#include <QDir>
#include <QPushButton>
#include <QTreeView>

#include "gui_test_base.h"

namespace {

using zefa::test::Find;

struct Row {
  std::string before, after;
};

QString Cell(QTreeView* view, int row, int column) {
  return view->model()->index(row, column).data().toString();
}

}  // namespace

class HistoryDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<zefa::test::DialogFixture> world_;

  // A record in the run's own format; the files at its new paths are made, unless `made`
  // is false. `undone` lists the rows noted as back.
  void Record(const std::string& name, const std::vector<Row>& rows, bool made = true,
              const std::string& undone = {}) {
    std::string text = "[Count]\ncount=" + std::to_string(rows.size()) + "\n[before]\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
      text += std::to_string(i) + "=" + *world_->dir / rows[i].before + "\n";
    }
    text += "[after]\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
      text += std::to_string(i) + "=" + *world_->dir / rows[i].after + "\n";
      if (made) world_->dir->Touch(rows[i].after);
    }
    if (!undone.empty()) text += "[undone]\n" + undone + "end=1\n";
    world_->dir->Touch("restore/" + name, text);
  }

  void FourRuns() {
    // From the window, from the command line (two folders), undone, partly undone.
    Record("2026年12月10日13時52分11秒.zefa", {{"pics/IMG_0001.jpg", "pics/旅行 001.jpg"},
                                               {"pics/IMG_0002.jpg", "pics/旅行 002.jpg"},
                                               {"pics/IMG_0003.jpg", "pics/旅行 003.jpg"}});
    Record("2026年12月10日14時05分40秒.zefa",
           {{"scans/a/page1.png", "scans/a/本 1.png"}, {"scans/b/page2.png", "scans/b/本 2.png"}});
    Record("2026年12月9日09時30分02秒.zefa",
           {{"music/track1.flac", "music/01 歌.flac"}, {"music/track2.flac", "music/02 歌.flac"}},
           false, "0=back\n1=back\n");
    Record("2026年12月9日09時30分02秒_2.zefa",
           {{"docs/memo.txt", "docs/メモ 1.txt"}, {"docs/plan.txt", "docs/メモ 2.txt"}}, true,
           "1=back\n");
  }

 private slots:
  void init() { world_ = std::make_unique<zefa::test::DialogFixture>(); }

  void LinesComeNewestFirstWithTheirStates() {
    FourRuns();
    Record("2026年12月1日08時00分00秒.zefa", {{"gone/a.txt", "gone/b.txt"}}, false);
    THistoryForm dialog(world_->MakeContext());
    zefa::test::CheckDialogFrame(&dialog, "履歴", {760, 520});
    auto* runs = Find<QTreeView>(dialog, "HistoryList");
    QTRY_VERIFY(dialog.StatesKnown());
    QCOMPARE(runs->model()->rowCount(), 5);
    const std::string dir = *world_->dir / "";
    const std::vector<std::string> expected[] = {
        {"2026/12/10 14:05:40", "2", "複数のフォルダ", "page1.png → 本 1.png", "元に戻せます"},
        {"2026/12/10 13:52:11", "3", dir + "pics/", "IMG_0001.jpg → 旅行 001.jpg", "元に戻せます"},
        {"2026/12/09 09:30:02 (2)", "2", dir + "docs/", "memo.txt → メモ 1.txt",
         "一部を元に戻しました"},
        {"2026/12/09 09:30:02", "2", dir + "music/", "track1.flac → 01 歌.flac", "元に戻しました"},
        {"2026/12/01 08:00:00", "1", dir + "gone/", "a.txt → b.txt",
         "元に戻せないファイルがあります"},
    };
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 5; ++column) {
        QCOMPARE(Cell(runs, row, column).toStdString(), expected[row][column]);
      }
    }
    // The newest comes selected, with its rows below.
    auto* rows = Find<QTreeView>(dialog, "RowList");
    QCOMPARE(rows->model()->rowCount(), 2);
    QCOMPARE(Cell(rows, 1, 0), QString::fromStdString(*world_->dir / "scans/b/page2.png"));
    QCOMPARE(Cell(rows, 1, 1), QStringLiteral("本 2.png"));
    runs->setCurrentIndex(runs->model()->index(2, 0));
    QCOMPARE(Cell(rows, 1, 2), QStringLiteral("元に戻しました"));
    QCOMPARE(Cell(rows, 0, 2), QString());
  }

  // The window as docs/screenshots shows it: ZEFA_SCREENSHOT_DIR names the folder to write to.
  void Screenshot() {
    const QString folder = qEnvironmentVariable("ZEFA_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("ZEFA_SCREENSHOT_DIR is not set");
    FourRuns();
    THistoryForm dialog(world_->MakeContext());
    dialog.show();
    QTRY_VERIFY(dialog.StatesKnown());
    QVERIFY(dialog.grab().save(folder + QStringLiteral("/history.png")));
    auto* runs = Find<QTreeView>(dialog, "HistoryList");
    runs->setCurrentIndex(runs->model()->index(2, 0));
    QVERIFY(dialog.grab().save(folder + QStringLiteral("/history-partly-undone.png")));
  }

  void UndoFromTheWindowIsTheMenusUndo() {
    FourRuns();
    THistoryForm dialog(world_->MakeContext());
    auto* runs = Find<QTreeView>(dialog, "HistoryList");
    runs->setCurrentIndex(runs->model()->index(1, 0));
    world_->prompter.Yes();
    Find<QPushButton>(dialog, "UndoButton")->click();
    const std::string& question = world_->prompter.log.at(1);
    QVERIFY(question.starts_with("warn 元に戻しますか？"));
    // The record holds no identities: the question says so after the count.
    QVERIFY(question.ends_with(
        "（全 3 個のファイル）\n\r\n\rこのリストアファイルにはファイルの識別情報が"
        "記録されていないため、ファイルを名前だけで元に戻します。"));
    QCOMPARE(world_->prompter.log.back(), std::string("inform 完了しました"));
    QCOMPARE(world_->dir->Listing("pics"), std::string("IMG_0001.jpg IMG_0002.jpg IMG_0003.jpg"));
    // The run undone stays selected and shows what became of it.
    QCOMPARE(runs->currentIndex().row(), 1);
    QCOMPARE(Cell(runs, 1, 4), QStringLiteral("元に戻しました"));
  }

  void TrashTakesTheSelectedRecordsAfterAQuestion() {
    FourRuns();
    const std::string trash = *world_->dir / "data";
    QVERIFY(QDir().mkpath(QString::fromStdString(trash + "/Trash/files")));
    QVERIFY(QDir().mkpath(QString::fromStdString(trash + "/Trash/info")));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(trash));
    THistoryForm dialog(world_->MakeContext());
    auto* runs = Find<QTreeView>(dialog, "HistoryList");
    runs->selectionModel()->select(runs->model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(runs->selectionModel()->selectedRows().size(), 2);
    world_->prompter.No();
    Find<QPushButton>(dialog, "TrashButton")->click();
    QCOMPARE(world_->prompter.log.back(),
             std::string("confirm 選択した 2 個のリストアファイルをゴミ箱へ移動しますか？"));
    QCOMPARE(runs->model()->rowCount(), 4);
    world_->prompter.Yes();
    Find<QPushButton>(dialog, "TrashButton")->click();
    QCOMPARE(runs->model()->rowCount(), 2);
    QCOMPARE(QDir(QString::fromStdString(trash + "/Trash/files")).entryList(QDir::Files).size(), 2);
  }
};

QTEST_MAIN(HistoryDialogTest)
#include "history_dialog_test.moc"
