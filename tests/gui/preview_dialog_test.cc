// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "preview_dialog.h"

#include <QApplication>
#include <QColor>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "change_marks.h"
#include "gui_test_base.h"
#include "list/date_order.h"

namespace {

using zefa::test::ControlPlace;
using zefa::test::Find;

const ControlPlace kControls[] = {
    {"Label1", {8, 8, 0, 0}, "BEFORE"},         {"Label2", {216, 8, 0, 0}, "AFTER"},
    {"Label3", {200, 120, 0, 0}, "⇒"},          {"ListBox1", {8, 24, 185, 209}, nullptr},
    {"ListBox2", {216, 24, 185, 209}, nullptr}, {"Button1", {224, 280, 83, 25}, "リネーム開始"},
    {"Button2", {320, 280, 83, 25}, "閉じる"},  {"Button3", {104, 240, 91, 25}, "フルパスを表示"},
};

QStringList Entries(QListView* list) {
  QStringList entries;
  for (int row = 0; row < list->model()->rowCount(); ++row) {
    entries << list->model()->index(row, 0).data().toString();
  }
  return entries;
}

int SelectedRow(QListView* list) {
  const QModelIndexList selected = list->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.front().row();
}

void ClickRow(QListView* list, int row) {
  const QRect rect = list->visualRect(list->model()->index(row, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class PreviewDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<zefa::test::DialogFixture> world_;
  zefa::MainState state_;
  int runs_ = 0;

  std::unique_ptr<TForm4> MakeDialog() {
    auto preview = zefa::BuildPreview(state_, world_->MakeContext());
    if (!preview) qFatal("the preview was refused");
    return std::make_unique<TForm4>(std::move(*preview), [this] { ++runs_; });
  }

  void AddRows(int count) {
    for (int i = 0; i < count; ++i) {
      const std::string n = std::to_string(i);
      state_.list.AppendRow("/pics/" + n + "/file.jpg", "u" + n, ".jpg", n);
    }
  }

 private slots:
  void init() {
    world_ = std::make_unique<zefa::test::DialogFixture>();
    state_ = {};
    runs_ = 0;
  }

  void ControlsStandWhereTheyShould() {
    auto dialog = MakeDialog();
    zefa::test::CheckDialogFrame(dialog.get(), "プレビュー", {411, 326}, true);
    zefa::test::CheckControls(dialog.get(), kControls);
    // Grown, the lists take the room and the buttons keep their corner; back, all as before.
    dialog->show();
    dialog->resize(811, 526);
    QCOMPARE(Find<QListView>(dialog.get(), "ListBox2")->geometry(), QRect(416, 24, 385, 409));
    QCOMPARE(Find<QWidget>(dialog.get(), "Button2")->geometry(), QRect(720, 480, 83, 25));
    QCOMPARE(Find<QWidget>(dialog.get(), "Button3")->geometry(), QRect(104, 440, 91, 25));
    dialog->resize(411, 326);
    zefa::test::CheckControls(dialog.get(), kControls);
    zefa::test::CheckTabOrder(dialog.get(),
                              {"ListBox1", "ListBox2", "Button1", "Button2", "Button3"});
    // An empty list opens with two empty lists.
    QCOMPARE(Find<QListView>(dialog.get(), "ListBox1")->model()->rowCount(), 0);
    QCOMPARE(Find<QListView>(dialog.get(), "ListBox2")->model()->rowCount(), 0);
  }

  void ToggleFullPathsThenRename() {
    state_.list.AppendRow("/pics/a/x.jpg", "海", ".jpg", "1");
    state_.list.AppendRow("/pics/b/x.jpg", "", ".png", "2");
    // The files are not there: each row says so, and the names are still shown.
    state_.common_name = "旅行";
    state_.start_number = 9;
    world_->dir->Touch("ZeFa_oru.ini", "[Option]\nketa=2\n");
    auto dialog = MakeDialog();
    dialog->show();
    auto* left = Find<QListView>(dialog.get(), "ListBox1");
    auto* right = Find<QListView>(dialog.get(), "ListBox2");
    auto* button3 = Find<QPushButton>(dialog.get(), "Button3");
    QCOMPARE(Entries(left), (QStringList{QStringLiteral("x.jpg"), QStringLiteral("x.jpg")}));
    QCOMPARE(Entries(right),
             (QStringList{QStringLiteral("× 旅行 09 海.jpg"), QStringLiteral("× 旅行 10.png")}));

    ClickRow(left, 1);
    QTest::mouseClick(button3, Qt::LeftButton);
    QCOMPARE(button3->text(), QStringLiteral("ファイル名を表示"));
    QCOMPARE(Entries(left),
             (QStringList{QStringLiteral("/pics/a/x.jpg"), QStringLiteral("/pics/b/x.jpg")}));
    QCOMPARE(SelectedRow(left), -1);  // rebuilt, so unselected
    QCOMPARE(SelectedRow(right), 1);  // untouched
    QTest::mouseClick(button3, Qt::LeftButton);
    QCOMPARE(button3->text(), QStringLiteral("フルパスを表示"));
    QCOMPARE(Entries(left), (QStringList{QStringLiteral("x.jpg"), QStringLiteral("x.jpg")}));
    QTest::mouseClick(button3, Qt::LeftButton);

    QTest::mouseClick(Find<QPushButton>(dialog.get(), "Button1"), Qt::LeftButton);
    QCOMPARE(runs_, 1);
    QVERIFY(!dialog->isVisible());
  }

  void MarksWhatTheNewNameAdds() {
    state_.list.AppendRow(world_->dir->Touch("x.jpg"), "x", ".jpg", "1");
    state_.common_name = "旅行";
    auto dialog = MakeDialog();
    dialog->show();
    auto* left = Find<QListView>(dialog.get(), "ListBox1");
    auto* right = Find<QListView>(dialog.get(), "ListBox2");
    const auto marked = [](QWidget* list) {
      const QImage image = list->grab().toImage();
      int count = 0;
      for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
          count += image.pixelColor(x, y) == ChangeMarkDelegate::MarkColor();
        }
      }
      return count;
    };
    QVERIFY(marked(right) > 0);
    QCOMPARE(marked(left), 0);  // the old name keeps every character
  }

  void SelectionCouplesAndAlignsTheTopRows() {
    AddRows(60);
    auto dialog = MakeDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* left = Find<QListView>(dialog.get(), "ListBox1");
    auto* right = Find<QListView>(dialog.get(), "ListBox2");

    // The two lists scroll as one, by the bar, the wheel and the keys.
    right->verticalScrollBar()->setValue(20);
    QCOMPARE(left->verticalScrollBar()->value(), 20);
    const QPoint middle = left->viewport()->rect().center();
    QWheelEvent wheel(middle, left->viewport()->mapToGlobal(middle), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(left->viewport(), &wheel);
    QVERIFY(left->verticalScrollBar()->value() > 20);
    QCOMPARE(right->verticalScrollBar()->value(), left->verticalScrollBar()->value());
    right->verticalScrollBar()->setValue(20);
    ClickRow(right, 25);
    QCOMPARE(SelectedRow(left), 25);
    QCOMPARE(left->verticalScrollBar()->value(), 20);
    QCOMPARE(left->indexAt(QPoint(2, 2)).row(), 20);

    left->verticalScrollBar()->setValue(3);
    ClickRow(left, 5);
    QCOMPARE(SelectedRow(right), 5);
    QCOMPARE(right->verticalScrollBar()->value(), 3);
    QTest::keyClick(left, Qt::Key_Down);
    QCOMPARE(SelectedRow(right), 6);
    QTest::keyClick(left, Qt::Key_End);
    QCOMPARE(left->verticalScrollBar()->value(), left->verticalScrollBar()->maximum());
    QCOMPARE(right->verticalScrollBar()->value(), left->verticalScrollBar()->value());
    // Long names scroll sideways up to six client widths.
    QVERIFY(left->horizontalScrollBar()->maximum() >= 5 * left->viewport()->width() - 20);
  }

  void CloseButtonEndsWithoutRenaming() {
    auto dialog = MakeDialog();
    dialog->show();
    QTest::mouseClick(Find<QPushButton>(dialog.get(), "Button2"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(runs_, 0);
  }

  void HundredThousandRowsAreViewsNotWidgets() {
    AddRows(100000);
    auto dialog = MakeDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* right = Find<QListView>(dialog.get(), "ListBox2");
    QCOMPARE(right->model()->rowCount(), 100000);
    // No file of the list is there, and the preview says so of every row.
    QCOMPARE(right->model()->index(99999, 0).data().toString(),
             QStringLiteral("× 100000 u99999.jpg"));
    QVERIFY(dialog->findChildren<QWidget*>().size() < 100);
  }

  void EachRowsTipSaysWhichDateItStandsBy() {
    // Files that are there, so that no row carries a reason of its own before its date.
    for (int i = 0; i < 3; ++i) {
      const std::string n = std::to_string(i);
      state_.list.AppendRow(world_->dir->Touch("file" + n + ".jpg"), "u" + n, ".jpg", n);
    }
    state_.list.SetRowDates({*zefa::ParseRecordedDate("2026:12:08 15:30:12", "25"), zefa::kNoDate},
                            zefa::DateKind::kTaken);
    // Added after the dates were read: no date to tell.
    state_.list.AppendRow(world_->dir->Touch("file3.jpg"), "u3", ".jpg", "3");
    auto dialog = MakeDialog();
    for (const char* name : {"ListBox1", "ListBox2"}) {
      QAbstractItemModel* model = Find<QListView>(dialog.get(), name)->model();
      const auto tip = [&](int row) { return model->index(row, 0).data(Qt::ToolTipRole); };
      QCOMPARE(tip(0).toString(), QStringLiteral("撮影日時：2026-12-08 15:30:12.25"));
      QCOMPARE(tip(1).toString(), QStringLiteral("日時：なし（撮影日時が記録されていません）"));
      QVERIFY(tip(3).isNull());
    }
  }

  void MarksTheRowsThatWillFailAndCountsThem() {
    world_->dir->Touch("ZeFa_oru.ini", "[Option]\npattern=8\n");
    world_->dir->Touch("旅行 山.jpg");  // not listed: row 3's new name is taken
    const char* uniques[] = {"", "", "山", "海"};
    for (int row = 0; row < 4; ++row) {
      const std::string path = world_->dir->Touch("DSC0" + std::to_string(row + 1) + ".jpg");
      state_.list.AppendRow(path, uniques[row], ".jpg", "");
    }
    state_.common_name = "旅行";
    auto dialog = MakeDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* right = Find<QListView>(dialog.get(), "ListBox2");
    QCOMPARE(Entries(right),
             (QStringList{QStringLiteral("旅行.jpg"), QStringLiteral("× 旅行.jpg"),
                          QStringLiteral("× 旅行 山.jpg"), QStringLiteral("旅行 海.jpg")}));
    const auto data = [&](int row, Qt::ItemDataRole role) {
      return right->model()->index(row, 0).data(role);
    };
    QCOMPARE(data(1, Qt::ToolTipRole).toString(), QStringLiteral("1 行目と同じ名前になります"));
    QCOMPARE(data(2, Qt::ToolTipRole).toString(), QStringLiteral("同名のファイルがあります"));
    QVERIFY(data(0, Qt::ToolTipRole).isNull() && data(3, Qt::ToolTipRole).isNull());
    QVERIFY(data(2, Qt::ForegroundRole).value<QColor>() !=
            data(3, Qt::ForegroundRole).value<QColor>());
    // The left list and the specified controls stay as they were.
    QCOMPARE(Entries(Find<QListView>(dialog.get(), "ListBox1")).value(1),
             QStringLiteral("DSC02.jpg"));
    zefa::test::CheckControls(dialog.get(), kControls);

    auto* count = Find<QLabel>(dialog.get(), "Label4");
    QCOMPARE(count->text(), QStringLiteral("リネームできないファイル: 2 個"));
    QVERIFY(count->isVisible());
    QVERIFY(count->width() >= count->fontMetrics().horizontalAdvance(count->text()));
    for (const ControlPlace& control : kControls) {
      QVERIFY2(!count->geometry().intersects(Find<QWidget>(dialog.get(), control.name)->geometry()),
               control.name);
    }
    QVERIFY(dialog->rect().contains(count->geometry()));
  }

  void RefusedCommonNameOpensNoPreview() {
    state_.common_name = "a*b";
    bool ran = false;
    OpenPreview(nullptr, state_, world_->MakeContext(), [&] { ran = true; });
    QCOMPARE(QApplication::topLevelWidgets().size(), qsizetype(0));
    QCOMPARE(world_->prompter.log,
             (std::vector<std::string>{"beep error", "error 使えない文字\"*\"が含まれています"}));
    QVERIFY(!ran);
  }
};

QTEST_MAIN(PreviewDialogTest)
#include "preview_dialog_test.moc"
