// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>
#include <QtTest>
#include <memory>
#include <tuple>

#include "gui_test_base.h"
#include "http_test_server.h"
#include "main_window_controls.h"
#include "modal.h"
#include "number_label.h"
#include "platform/file_system.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

using zefa::test::CaptionOf;
using zefa::test::Find;

namespace {

const char* const kTabOrder[] = {
    "ListBox1",  "ListBox2", "ListBox3", "ListBox4", "Button6",  "Button7", "Button4",  "Button5",
    "Button8",   "Button9",  "Button10", "Edit1",    "Button1",  "Edit3",   "Button14", "Edit2",
    "SpinEdit1", "Button3",  "Button11", "Button12", "Button15", "Button2"};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<zefa::test::TempDir> dir_;
  zefa::test::ScriptedPrompter prompter_;
  zefa::NativeFileSystem file_system_;
  std::vector<QUrl> opened_;

  zefa::ProgramPaths Paths() const { return zefa::test::ProgramPathsIn(*dir_); }

  /** Drops `mime` over `target` as the platform delivers a drop; whether the window took it. */
  static bool DropOn(TForm1& form, QWidget& target, QMimeData& mime) {
    const QPointF at = target.mapTo(&form, target.rect().center());
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.windowHandle(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.windowHandle(), &drop);
    return true;
  }

  std::unique_ptr<TForm1> MakeForm(const char* settings = nullptr) {
    if (settings != nullptr) dir_->Touch("ZeFa_oru.ini", settings);
    return std::make_unique<TForm1>(prompter_, file_system_, Paths(), [this](const QUrl& url) {
      opened_.push_back(url);
      return true;
    });
  }

  static void AddRows(TForm1& form, int count) {
    for (int i = 1; i <= count; ++i) {
      const std::string n = std::to_string(i);
      form.state().list.AppendRow("/pics/file" + n + ".jpg", "file" + n, ".jpg", "key" + n);
    }
    form.Refresh();
  }

  /** How many separate upright strokes a picture of "1"s shows: one for each digit drawn. */
  static int InkStrokes(const QImage& image) {
    int strokes = 0;
    bool in_stroke = false;
    for (int x = 0; x < image.width(); ++x) {
      bool ink = false;
      for (int y = 0; y < image.height(); ++y) ink = ink || qGray(image.pixel(x, y)) < 192;
      if (ink && !in_stroke) ++strokes;
      in_stroke = ink;
    }
    return strokes;
  }

  static void ClickRow(QListView* view, int row) {
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
  }

 private slots:
  void init() {
    dir_ = std::make_unique<zefa::test::TempDir>();
    prompter_ = {};
    opened_.clear();
  }

  void TheNumberColumnShowsSevenDigitsWhole() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    auto* view = Find<QListView>(*form, "ListBox1");
    QCOMPARE(view->geometry(), QRect(8, 24, 41, 177));
    // Only the number column is read here, so a count stands in for the rows; its last
    // row reads "1111111", beside the scroll bar that so many rows bring.
    form->state().list.number.counted = 1111111;
    form->Refresh();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(view->verticalScrollBar()->isVisible());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    const QRect last =
        view->visualRect(view->model()->index(1111110, 0)) & view->viewport()->rect();
    QVERIFY2(last.height() >= 10, qPrintable(QString::number(last.height())));
    QCOMPARE(InkStrokes(view->viewport()->grab(last).toImage()), 7);
    form->state().list.number.counted = 0;
    form->Refresh();
  }

  // A row half out of sight is drawn where it stands, not squeezed into the part in sight:
  // the view scrolls by moving what is drawn, and a squeezed row came into sight cut.
  void TheNumberColumnDrawsEveryRowWholeAfterScrolling() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    AddRows(*form, 40);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto* view = Find<QListView>(*form, "ListBox1");
    QWidget* viewport = view->viewport();
    const QPoint middle = viewport->rect().center();
    for (int step = 0; step < 3; ++step) {
      QWheelEvent wheel(middle, viewport->mapToGlobal(middle), {}, {0, -120}, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(viewport, &wheel);
      QApplication::processEvents();
      // What the window shows, moved pixels included, against the rows drawn afresh.
      const QRect place(viewport->mapTo(form.get(), QPoint(0, 0)), viewport->size());
      const QImage shown = form->screen()->grabWindow(form->winId()).toImage().copy(place);
      QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
               viewport->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    QVERIFY(view->verticalScrollBar()->value() > 0);
  }

  void NumberLabelsShowSevenDigitsWholeBesideTheirCaptions_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");  // the neighbour that must stay uncovered
    QTest::addColumn<QString>("number");
    for (const char* number : {"1", "11", "1111", "1111111"}) {
      QTest::addRow("Label5 %s", number)
          << u"Label5"_qs << u"Label6"_qs << QString::fromLatin1(number);
      QTest::addRow("Label15 %s", number)
          << u"Label15"_qs << u"Label14"_qs << QString::fromLatin1(number);
      QTest::addRow("Label10 %s", number)
          << u"Label10"_qs << u"Label12"_qs << QString::fromLatin1(number);
    }
  }

  void NumberLabelsShowSevenDigitsWholeBesideTheirCaptions() {
    QFETCH(QString, label);
    QFETCH(QString, caption);
    QFETCH(QString, number);
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    auto* shown = Find<NumberLabel>(*form, label.toLatin1().constData());
    shown->SetNumber(number);
    const QRect box = shown->geometry();
    QVERIFY2(box.left() >= 0, qPrintable(QString::number(box.left())));
    QVERIFY(!box.intersects(Find<QLabel>(*form, caption.toLatin1().constData())->geometry()));
    QVERIFY(!box.intersects(Find<QLabel>(*form, "Label13")->geometry()));
    if (label == u"Label10") QCOMPARE(box.right(), 273);
    if (label == u"Label5" || (label == u"Label15" && number.size() > 1)) QCOMPARE(box.right(), 25);
    if (label == u"Label15" && number.size() == 1) QCOMPARE(box.left(), 20);
    QCOMPARE(InkStrokes(shown->grab().toImage()), number.size());
  }

  void ControlsStandWhereTheyShould() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\nUpDownButton_rendo=0\n");
    QCOMPARE(form->windowTitle(), QStringLiteral("ZeFa Oru"));
    // It opens at the specified size, which is also the least it can be made.
    QCOMPARE(form->centralWidget()->size(), QSize(387, 454));
    QCOMPARE(form->centralWidget()->minimumSize(), QSize(387, 454));
    QVERIFY(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(Find<QListView>(*form, "ListBox5")->isHidden());
    QVERIFY(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form->font().families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(form->font().families().value(1), QStringLiteral("IPAPGothic"));
    QCOMPARE(form->font().pixelSize(), 12);
    for (const FormControl& control : kMainWindowControls) {
      auto* widget = Find<QWidget>(*form, control.name);
      QCOMPARE(widget->parentWidget(), form->centralWidget());
      // The number labels are as wide as their text: the right-aligned ones keep their
      // right edge, Label15 its left edge.
      const std::string name = control.name;
      if (name == "Label5" || name == "Label10") {
        QCOMPARE(widget->geometry().right(), control.geometry.right());
        QCOMPARE(widget->geometry().top(), control.geometry.top());
      } else if (name == "Label15") {
        QCOMPARE(widget->geometry().topLeft(), control.geometry.topLeft());
      } else {
        QVERIFY2(widget->geometry() == control.geometry, control.name);
      }
      if (control.caption != nullptr) {
        QCOMPARE(CaptionOf(widget), QString::fromUtf8(control.caption));
      }
      QVERIFY2(widget->isEnabled(), control.name);
      QVERIFY2(!widget->isHidden(), control.name);
    }
    for (std::size_t i = 0; i + 1 < std::size(kTabOrder); ++i) {
      QWidget* next = Find<QWidget>(*form, kTabOrder[i])->nextInFocusChain();
      while (next->objectName().isEmpty() || next->focusPolicy() == Qt::NoFocus ||
             next->objectName().startsWith(QStringLiteral("qt_"))) {
        next = next->nextInFocusChain();
      }
      QCOMPARE(next->objectName(), QString::fromLatin1(kTabOrder[i + 1]));
    }
    for (const char* name : {"Label1", "Label5", "Label10"}) {
      QCOMPARE(Find<QLabel>(*form, name)->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(Find<QSpinBox>(*form, "SpinEdit1")->minimum(), 1);
    QCOMPARE(Find<QSpinBox>(*form, "SpinEdit1")->maximum(), 999);
  }

  void MenuHoldsEveryItemWithAccessKeysAndShortcuts() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    QCOMPARE(form->menuBar()->objectName(), QStringLiteral("MainMenu1"));
    const struct {
      const char* menu;
      const char* caption;
      std::vector<std::tuple<const char*, const char*, QKeySequence>> items;  // "" a separator
    } menus[] = {
        {"File1",
         "ファイル(&F)",
         {{"AddFile1", "ファイルを追加(&A)…", QKeySequence(QStringLiteral("Ctrl+O"))},
          {"AddFolder1", "フォルダを追加(&D)…", {}},
          {"", "", {}},
          {"Undo1", "元に戻す(&U)", QKeySequence(QStringLiteral("Ctrl+Z"))},
          {"History1", "履歴(&H)…", {}},
          {"Exit1", "設定(&S)", {}},
          {"", "", {}},
          {"Exit2", "終了(&X)", QKeySequence(QStringLiteral("Ctrl+Q"))}}},
        {"Sort1",
         "並べ替え(&O)",
         {{"TakenOrder1", "撮影日時順(&T)", {}},
          {"ModifiedOrder1", "更新日時順(&M)", {}},
          {"", "", {}},
          {"TakenName1", "固有ファイル名を撮影日時にする(&U)", {}}}},
        {"Edit1Menu",
         "編集(&E)",
         {{"SelectAll1", "全選択(&A)", QKeySequence(QStringLiteral("Ctrl+A"))},
          {"SelectExtension1", "拡張子で選択(&X)…", {}},
          {"", "", {}},
          {"Replace1", "置換(&R)…", QKeySequence(QStringLiteral("Ctrl+H"))},
          {"EditAsText1", "固有ファイル名をテキストで編集(&T)…", {}}}},
        {"View1", "表示(&V)", {{"ShowNewNames1", "新しい名前を表示(&N)", {}}}},
        {"Help1",
         "ヘルプ(&H)",
         {{"N1", "トピックの検索(&T)", QKeySequence(QStringLiteral("F1"))},
          {"About1", "バージョン情報(&A)", {}}}},
    };
    QStringList bar;
    for (QAction* action : form->menuBar()->actions()) bar << action->menu()->objectName();
    QCOMPARE(bar, (QStringList{QStringLiteral("File1"), QStringLiteral("Sort1"),
                               QStringLiteral("Edit1Menu"), QStringLiteral("View1"),
                               QStringLiteral("Help1")}));
    for (const auto& menu : menus) {
      auto* qmenu = Find<QMenu>(*form, menu.menu);
      QCOMPARE(qmenu->title(), QString::fromUtf8(menu.caption));
      QCOMPARE(qmenu->actions().size(), static_cast<qsizetype>(menu.items.size()));
      for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const auto& [name, caption, shortcut] = menu.items[i];
        QAction* action = qmenu->actions()[static_cast<qsizetype>(i)];
        QCOMPARE(action->isSeparator(), *name == '\0');
        QCOMPARE(action->objectName(), QString::fromLatin1(name));
        QCOMPARE(action->text(), QString::fromUtf8(caption));
        QCOMPARE(action->shortcut(), shortcut);
      }
    }
  }

  // From the specified size up, with four columns or five, at any scale (the test runs at
  // the scale it is given): the lists take the room, the controls under them keep their
  // distance to the bottom edge, and no two controls overlap but the columns' one pixel.
  void GrowsWithoutOverlapAndShrinksBackAsSpecified() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    AddRows(*form, 5);
    const int menu = form->height() - form->centralWidget()->height();
    auto* show_new_names = form->findChild<QAction*>(QStringLiteral("ShowNewNames1"));
    for (const bool five : {false, true, false}) {
      if (show_new_names->isChecked() != five) show_new_names->trigger();
      const int least = five ? 387 + 128 : 387;
      QCOMPARE(form->centralWidget()->minimumWidth(), least);
      for (const QSize client : {QSize(least, 454), QSize(800, 600), QSize(1920, 1080 - menu)}) {
        form->resize(client.width(), client.height() + menu);
        QCoreApplication::processEvents();
        QCOMPARE(form->centralWidget()->size(), client);
        const int dy = client.height() - 454;
        QCOMPARE(Find<QListView>(*form, "ListBox2")->height(), 177 + dy);
        QCOMPARE(Find<QWidget>(*form, "Button2")->geometry(), QRect(296, 416 + dy, 81, 25));
        QCOMPARE(Find<QWidget>(*form, "Edit1")->geometry(), QRect(176, 240 + dy, 129, 20));
        // The target paths take most of the room.
        QVERIFY(Find<QListView>(*form, "ListBox2")->width() >=
                Find<QListView>(*form, "ListBox3")->width() - 8);
        std::vector<QWidget*> shown;
        for (QWidget* child :
             form->centralWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
          if (child->isVisible()) shown.push_back(child);
        }
        for (QWidget* a : shown) {
          QVERIFY2(QRect(QPoint(), client).contains(a->geometry()), qPrintable(a->objectName()));
          for (QWidget* b : shown) {
            if (a == b) continue;
            const QRect both = a->geometry().intersected(b->geometry());
            const bool columns = qobject_cast<QListView*>(a) && qobject_cast<QListView*>(b);
            QVERIFY2(both.isEmpty() || (columns && both.width() == 1),
                     qPrintable(a->objectName() + QLatin1Char('/') + b->objectName()));
          }
        }
      }
    }
    // Back at the specified size every control stands where it did.
    form->resize(387, 454 + menu);
    QCoreApplication::processEvents();
    for (const FormControl& control : kMainWindowControls) {
      const std::string name = control.name;
      if (name == "Label5" || name == "Label10" || name == "Label15") continue;
      QVERIFY2(Find<QWidget>(*form, control.name)->geometry() == control.geometry, control.name);
    }
  }

  // Size, place, maximised state and the new-name column are remembered; a settings file
  // without them, or with a strange value, opens the window as specified.
  void RemembersItsSizeAndColumn() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\nWindow_geometry=no,such\n");
    const int menu = form->height() - form->centralWidget()->height();
    QCOMPARE(form->centralWidget()->size(), QSize(387, 454));
    form->show();
    form->setGeometry(40, 30, 700, 500);
    form->findChild<QAction*>(QStringLiteral("ShowNewNames1"))->trigger();
    QCoreApplication::processEvents();
    // The border between 対象ファイル and 固有ファイル名 dragged 40 pixels to the right.
    QWidget* client = form->centralWidget();
    const int paths_width = Find<QListView>(*form, "ListBox2")->width();
    const int border = Find<QListView>(*form, "ListBox3")->x();
    const auto send = [client](QEvent::Type type, int x, Qt::MouseButtons buttons) {
      QMouseEvent event(type, QPointF(x, 15), client->mapToGlobal(QPointF(x, 15)),
                        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
      QApplication::sendEvent(client, &event);
    };
    send(QEvent::MouseButtonPress, border, Qt::LeftButton);
    send(QEvent::MouseMove, border + 40, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, border + 40, Qt::NoButton);
    QCOMPARE(Find<QListView>(*form, "ListBox2")->width(), paths_width + 40);
    const QRect placed = form->geometry();
    form->close();
    form = MakeForm();
    QCOMPARE(form->geometry(), placed);
    form->show();
    QCoreApplication::processEvents();
    QCOMPARE(Find<QListView>(*form, "ListBox2")->width(), paths_width + 40);
    QVERIFY(!Find<QListView>(*form, "ListBox5")->isHidden());
    QVERIFY(form->centralWidget()->width() > 387 + 128 - 1);
    QVERIFY(menu > 0);
  }

  // The fifth column shows each row's new name as the common name is typed, and a row
  // that the run would refuse, with the preview's reason, once the check has come in.
  void NewNamesFollowTheCommonName() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    const std::string a = dir_->Touch("pics/a.jpg");
    const std::string b = dir_->Touch("pics/b.jpg");
    dir_->Touch("pics/x 2 b.jpg");
    form->DropPaths({a, b});
    form->findChild<QAction*>(QStringLiteral("ShowNewNames1"))->trigger();
    auto* names = Find<QListView>(*form, "ListBox5");
    QTest::keyClicks(Find<QLineEdit>(*form, "Edit2"), QStringLiteral("x"));
    const auto at = [&](int row, int role) { return names->model()->index(row, 0).data(role); };
    QCOMPARE(at(0, Qt::DisplayRole).toString(), QStringLiteral("x 1 a.jpg"));
    QCOMPARE(at(1, Qt::DisplayRole).toString(), QStringLiteral("x 2 b.jpg"));
    QTRY_COMPARE(at(1, Qt::ToolTipRole).toString(), QStringLiteral("同名のファイルがあります"));
    QVERIFY(!at(0, Qt::ToolTipRole).isValid());
    Find<QSpinBox>(*form, "SpinEdit1")->setValue(5);
    QCOMPARE(at(1, Qt::DisplayRole).toString(), QStringLiteral("x 6 b.jpg"));
    QTRY_VERIFY(!at(1, Qt::ToolTipRole).isValid());
    // A common name the run refuses marks every row at once, with CheckNameChars's words.
    QTest::keyClicks(Find<QLineEdit>(*form, "Edit2"), QStringLiteral(":"));
    QCOMPARE(at(0, Qt::ToolTipRole).toString(),
             QStringLiteral("使えない文字\":\"が含まれています"));
    // A path too long for its column shows its whole in its tip.
    QCOMPARE(Find<QListView>(*form, "ListBox2")->model()->index(0, 0).data(Qt::ToolTipRole),
             QVariant(QString::fromStdString(a)));
  }

  void KeysReachTheirCommands() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    // The program's icon on every window, the dialogs' too.
    QCOMPARE(QDialog(form.get()).windowIcon().availableSizes().size(), 6);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    AddRows(*form, 3);
    auto* list3 = Find<QListView>(*form, "ListBox3");
    ClickRow(list3, 1);
    // The row with the keyboard focus is drawn with a frame that only the focus brings.
    list3->setFocus();
    const QImage focused = list3->viewport()->grab().toImage();
    Find<QLineEdit>(*form, "Edit2")->setFocus();
    QVERIFY(list3->viewport()->grab().toImage() != focused);

    // Delete in a field is the field's own key; in a column it takes the row out.
    auto* edit2 = Find<QLineEdit>(*form, "Edit2");
    QTest::keyClicks(edit2, QStringLiteral("ab"));
    QTest::keyClick(edit2, Qt::Key_Home);
    QTest::keyClick(edit2, Qt::Key_Delete);
    QCOMPARE(edit2->text(), QStringLiteral("b"));
    QCOMPARE(form->state().list.size(), 3);
    list3->setFocus();
    QTest::keyClick(list3, Qt::Key_Delete);
    QCOMPARE(form->state().list.size(), 2);

    QSignalSpy help(Find<QAction>(*form, "N1"), &QAction::triggered);
    QTest::keyClick(form.get(), Qt::Key_F1);
    QCOMPARE(help.size(), 1);
  }

  void StartUpFollowsTheSettings_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("file_arrows");
    QTest::addColumn<bool>("serial");
    QTest::newRow("no settings file") << QByteArray() << false << true;
    QTest::newRow("link off") << QByteArray("[Option]\nUpdateCheck=0\nUpDownButton_rendo=0\n")
                              << true << true;
    QTest::newRow("pattern 7") << QByteArray("[option]\nupdatecheck=0\nPATTERN=7\n") << false
                               << false;
    QTest::newRow("pattern 8") << QByteArray("[Option]\nUpdateCheck=0\npattern= 8 \n") << false
                               << false;
    QTest::newRow("pattern 9") << QByteArray("[Option]\nUpdateCheck=0\npattern=9\n") << false
                               << true;
    QTest::newRow("garbage") << QByteArray(
                                    "[Option]\nUpdateCheck=no\npattern=seven\n"
                                    "UpDownButton_rendo=yes\nketa=\x81\x75\n")
                             << false << true;
    QTest::newRow("hex and quotes")
        << QByteArray("[Option]\nUpdateCheck=0\npattern=\"0x7\"\nUpDownButton_rendo='0'\n") << true
        << false;
  }

  void StartUpFollowsTheSettings() {
    QFETCH(QByteArray, settings);
    QFETCH(bool, file_arrows);
    QFETCH(bool, serial);
    // A closed local port: a check that runs fails at once, and silently.
    qputenv("ZEFA_ORU_UPDATE_URL", "http://127.0.0.1:9/");
    auto form = MakeForm(settings.isEmpty() ? nullptr : settings.constData());
    for (const char* name : {"Button6", "Button7"}) {
      QCOMPARE(!Find<QPushButton>(*form, name)->isHidden(), file_arrows);
      QCOMPARE(Find<QPushButton>(*form, name)->isEnabled(), file_arrows);
    }
    for (const char* name : {"Button8", "Button9"}) {
      QVERIFY(!Find<QPushButton>(*form, name)->isHidden());
    }
    QCOMPARE(Find<QSpinBox>(*form, "SpinEdit1")->isEnabled(), serial);
    QCOMPARE(Find<QLabel>(*form, "Label10")->isEnabled(), serial);
    QVERIFY(prompter_.log.empty());
    QVERIFY(!form->quit_requested());
  }

  void SelectingARowSelectsItEverywhere() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    AddRows(*form, 40);
    auto* list3 = Find<QListView>(*form, "ListBox3");
    list3->verticalScrollBar()->setValue(20);
    ClickRow(list3, 22);
    for (const char* name : {"ListBox1", "ListBox2", "ListBox3", "ListBox4"}) {
      auto* view = Find<QListView>(*form, name);
      QCOMPARE(view->selectionModel()->selectedIndexes().value(0).row(), 22);
      QCOMPARE(view->verticalScrollBar()->value(), 20);
    }
    QCOMPARE(Find<QLabel>(*form, "Label5")->text(), QStringLiteral("23"));
    QCOMPARE(Find<QLabel>(*form, "Label15")->text(), QStringLiteral("23"));
    QCOMPARE(Find<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("file23"));
    QCOMPARE(Find<QLineEdit>(*form, "Edit3")->text(), QStringLiteral(".jpg"));
    // Text the program put in the field follows the selected row.
    ClickRow(Find<QListView>(*form, "ListBox1"), 23);
    QCOMPARE(Find<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("file24"));
    QCOMPARE(Find<QLineEdit>(*form, "Edit3")->text(), QStringLiteral(".jpg"));
    // Text the user typed stays when another row is chosen, and says which row 変更 names.
    auto* edit1 = Find<QLineEdit>(*form, "Edit1");
    edit1->clear();
    QTest::keyClicks(edit1, QStringLiteral("typed"));
    ClickRow(Find<QListView>(*form, "ListBox1"), 21);
    QCOMPARE(edit1->toolTip(),
             QStringLiteral("入力した固有ファイル名は「変更」で 22 番のファイルに付きます"));
    QCOMPARE(Find<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("typed"));
    QCOMPARE(Find<QLabel>(*form, "Label5")->text(), QStringLiteral("22"));
    QCOMPARE(Find<QListView>(*form, "ListBox4")->selectionModel()->selectedIndexes().value(0).row(),
             21);
    // The number label keeps its right edge as it grows.
    QCOMPARE(Find<QLabel>(*form, "Label5")->geometry().right(), QRect(20, 248, 6, 12).right());
  }

  void DoubleClicksCopyNamesIntoTheField() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    AddRows(*form, 3);
    auto* list2 = Find<QListView>(*form, "ListBox2");
    const QPoint row1 = list2->visualRect(list2->model()->index(1, 0)).center();
    QTest::mouseClick(list2->viewport(), Qt::LeftButton, {}, row1);
    QTest::mouseDClick(list2->viewport(), Qt::LeftButton, {}, row1);
    QCOMPARE(Find<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("file2.jpg"));
    auto* list3 = Find<QListView>(*form, "ListBox3");
    const QPoint row2 = list3->visualRect(list3->model()->index(2, 0)).center();
    QTest::mouseClick(list3->viewport(), Qt::LeftButton, {}, row2);
    QTest::mouseDClick(list3->viewport(), Qt::LeftButton, {}, row2);
    QCOMPARE(Find<QLineEdit>(*form, "Edit1")->text(), QStringLiteral("file3"));
  }

  void StartNumberAndClear() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    AddRows(*form, 5);
    QCOMPARE(Find<QLabel>(*form, "Label10")->text(), QStringLiteral("5"));
    auto* spin = Find<QSpinBox>(*form, "SpinEdit1");
    spin->setValue(10);
    QCOMPARE(Find<QLabel>(*form, "Label10")->text(), QStringLiteral("14"));
    QCOMPARE(Find<QLabel>(*form, "Label10")->geometry().right(), QRect(268, 344, 6, 12).right());
    spin->findChild<QLineEdit*>()->clear();
    QCOMPARE(Find<QLabel>(*form, "Label10")->text(), QStringLiteral("5"));
    spin->setValue(7);
    ClickRow(Find<QListView>(*form, "ListBox2"), 2);
    Find<QLineEdit>(*form, "Edit2")->setText(QStringLiteral("旅行"));
    QTest::mouseClick(Find<QPushButton>(*form, "Button10"), Qt::LeftButton);
    for (const char* name : {"ListBox1", "ListBox2", "ListBox3", "ListBox4"}) {
      QCOMPARE(Find<QListView>(*form, name)->model()->rowCount(), 0);
    }
    for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
      QVERIFY(Find<QLineEdit>(*form, name)->text().isEmpty());
    }
    QCOMPARE(spin->value(), 1);
    for (const char* name : {"Label5", "Label15", "Label10"}) {
      QCOMPARE(Find<QLabel>(*form, name)->text(), QStringLiteral("0"));
    }
  }

  void NumberAndExtensionColumnsCannotScrollSideways() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    AddRows(*form, 3);
    for (const char* name : {"ListBox1", "ListBox2", "ListBox3", "ListBox4"}) {
      auto* view = Find<QListView>(*form, name);
      QCOMPARE(view->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    QVERIFY(!Find<QListView>(*form, "ListBox1")->horizontalScrollBar()->isEnabled());
    QVERIFY(!Find<QListView>(*form, "ListBox4")->horizontalScrollBar()->isEnabled());
    auto* list2 = Find<QListView>(*form, "ListBox2");
    QVERIFY(list2->horizontalScrollBar()->isEnabled());
    // Six client widths of scrolling: the range is five widths beyond the visible one.
    QCOMPARE(list2->horizontalScrollBar()->maximum(), 5 * list2->viewport()->width());
  }

  void FourColumnsScrollAsOneTable() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    AddRows(*form, 60);
    const auto tops = [&] {
      QList<int> values;
      for (const char* name : {"ListBox1", "ListBox2", "ListBox3", "ListBox4"}) {
        values << Find<QListView>(*form, name)->verticalScrollBar()->value();
      }
      return values;
    };
    Find<QListView>(*form, "ListBox4")->verticalScrollBar()->setValue(12);
    QCOMPARE(tops(), (QList<int>{12, 12, 12, 12}));
    // The wheel over one column, one notch down.
    QWidget* viewport = Find<QListView>(*form, "ListBox2")->viewport();
    const QPointF at = viewport->rect().center();
    QWheelEvent wheel(at, viewport->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    const int after_wheel = tops().front();
    QVERIFY(after_wheel > 12);
    QCOMPARE(tops(), (QList<int>(4, after_wheel)));
    // An arrow of the horizontal bar moves by a few characters, not to the end.
    auto* list2 = Find<QListView>(*form, "ListBox2");
    QScrollBar* bar = list2->horizontalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QVERIFY(bar->value() > 0);
    QVERIFY2(bar->value() <= 5 * list2->fontMetrics().averageCharWidth(),
             qPrintable(QString::number(bar->value())));
  }

  // A spin box that still holds typed text fixes it as it goes; the window's handlers must
  // not run then (the Debug build and the sanitizers catch it).
  void DestroyedWhileTypingInTheSpinBox() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto* spin = Find<QSpinBox>(*form, "SpinEdit1");
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QStringLiteral("5000"));
    form.reset();
  }

  void UpdateCheckFollowsItsSetting_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("answer_yes");
    QTest::addColumn<int>("requests");
    QTest::addColumn<bool>("quits");
    QTest::newRow("off: no connection at all")
        << QByteArray("[Option]\nUpdateCheck=0\n") << false << 0 << false;
    QTest::newRow("on, answered No") << QByteArray("[Option]\npattern=7\n") << false << 1 << false;
    QTest::newRow("on, answered Yes") << QByteArray() << true << 2 << true;
  }

  void UpdateCheckFollowsItsSetting() {
    QFETCH(QByteArray, settings);
    QFETCH(bool, answer_yes);
    QFETCH(int, requests);
    QFETCH(bool, quits);
    zefa::test::HttpTestServer server;
    server.Serve("/soft/ver/ZeFa_oru.txt", {200, "2.70"});
    server.Serve("/soft/coment/ZeFa_oru.txt", {200, "新しい版です"});
    qputenv("ZEFA_ORU_UPDATE_URL", QByteArray::fromStdString(server.BaseUrl()));
    if (answer_yes)
      prompter_.Yes();
    else
      prompter_.No();
    auto form = MakeForm(settings.isEmpty() ? nullptr : settings.constData());
    qputenv("ZEFA_ORU_UPDATE_URL", "http://127.0.0.1:9/");
    QCOMPARE(server.connections(), requests);
    QCOMPARE(form->quit_requested(), quits);
    if (requests > 0) {
      QCOMPARE(prompter_.log.front(), std::string("ask バージョン2.70がリリースされています。\n\r"
                                                  "ダウンロードしますか？"));
    }
    if (quits) {
      QCOMPARE(prompter_.log.back(), std::string("inform 新しい版です"));
      QCOMPARE(opened_.size(), std::size_t{2});
      QCOMPARE(opened_[0], QUrl::fromLocalFile(QString::fromStdString(dir_->path())));
      QCOMPARE(opened_[1].toString(), QString::fromStdString(server.BaseUrl()));
    } else {
      QVERIFY(opened_.empty());
    }
    // The serial-number controls follow the pattern also when the check ran.
    QCOMPARE(Find<QSpinBox>(*form, "SpinEdit1")->isEnabled(), !settings.contains("pattern=7"));
  }

  // A save runs the start-up again; its update check asks only once the window shows the
  // saved state (arrows, serial-number controls).
  void SettingsSaveShowsTheNewStateBeforeTheUpdateQuestion() {
    struct WatchingPrompter : zefa::test::ScriptedPrompter {
      std::function<void()> on_ask;
      bool Ask(const std::string& text) override {
        on_ask();
        return ScriptedPrompter::Ask(text);
      }
    } prompter;
    zefa::test::HttpTestServer server;
    server.Serve("/soft/ver/ZeFa_oru.txt", {200, "2.70"});
    qputenv("ZEFA_ORU_UPDATE_URL", QByteArray::fromStdString(server.BaseUrl()));
    dir_->Touch("ZeFa_oru.ini", "[Option]\nUpdateCheck=0\n");
    TForm1 form(prompter, file_system_, Paths(), [](const QUrl&) { return true; });
    form.show();
    QStringList seen;
    prompter.on_ask = [&] {
      for (const char* name : {"Button6", "Button7", "SpinEdit1", "Label10"}) {
        auto* control = Find<QWidget>(form, name);
        seen << QString::fromLatin1(name) + (control->isHidden()    ? QStringLiteral(" hidden")
                                             : control->isEnabled() ? QStringLiteral(" on")
                                                                    : QStringLiteral(" off"));
      }
    };
    auto dialog =
        zefa::gui_testing::ExpectModal([](QWidget* modal, zefa::gui_testing::ModalAnswer&) {
          modal->findChild<QCheckBox*>(QStringLiteral("CheckBox5"))->setChecked(true);
          modal->findChild<QCheckBox*>(QStringLiteral("CheckBox6"))->setChecked(false);
          modal->findChild<QRadioButton*>(QStringLiteral("RadioButton7"))->setChecked(true);
          modal->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        });
    QTest::mouseClick(Find<QPushButton>(form, "Button3"), Qt::LeftButton);
    WAIT_FOR_MODAL(dialog);
    qputenv("ZEFA_ORU_UPDATE_URL", "http://127.0.0.1:9/");
    QCOMPARE(seen.join(u','), QStringLiteral("Button6 on,Button7 on,SpinEdit1 off,Label10 off"));
  }

  void DroppedFilesAreAddedInDropOrder() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    const std::string first = dir_->Touch("a/IMG_001.JPG");
    const std::string listed = dir_->Touch("b/listed.txt");
    const std::string third = dir_->Touch("c/archive.tar.gz");
    form->DropPaths({listed});
    QCOMPARE(form->state().list.size(), 1);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)),
                  QUrl::fromLocalFile(QString::fromStdString(listed)),
                  QUrl::fromLocalFile(QString::fromStdString(third))});
    // The list box under the pointer does not take drops, so they reach the main window.
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(DropOn(*form, *Find<QListView>(*form, "ListBox3"), mime));

    const zefa::RenameList& list = form->state().list;
    QCOMPARE(list.size(), 3);
    QCOMPARE(list.path.entries[1], first);
    QCOMPARE(list.unique.entries[1], std::string("IMG_001"));
    QCOMPARE(list.extension.entries[1], std::string(".JPG"));
    QCOMPARE(list.path.entries[2], third);
    QCOMPARE(list.unique.entries[2], std::string("archive.tar"));
    QCOMPARE(list.extension.entries[2], std::string(".gz"));
    QCOMPARE(list.number.Text(2), std::string("3"));
    QCOMPARE(Find<QListView>(*form, "ListBox2")->model()->rowCount(), 3);
    QCOMPARE(Find<QLabel>(*form, "Label10")->text(), QStringLiteral("3"));
    const std::vector<std::string> expected = {
        "inform "
        "既に追加されているファイルです。一つのファイルを二重登録することはできません。\n\r" +
        listed};
    QCOMPARE(prompter_.log, expected);
  }

  // Two files from the add dialog, then a folder dropped as a file manager sends it (raw
  // text/uri-list bytes), numbered per folder; rows picked with Ctrl and Shift leave with
  // one 除外, and 全選択 selects what is left in all four columns.
  void ManyFilesAFolderAndASelectionOfRows() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\nFolder_rendo=1\n");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const std::string b = dir_->Touch("b.jpg");
    const std::string a = dir_->Touch("a.jpg");
    prompter_.Files({b, a});
    QTest::mouseClick(Find<QPushButton>(*form, "Button4"), Qt::LeftButton);
    for (const char* name : {"album/p10.jpg", "album/p2.jpg", "album/.thumbs/x.jpg",
                             "album/sub/q.mov", "album/sub/r.mov"}) {
      dir_->Touch(name);
    }
    QMimeData mime;
    mime.setData(
        QStringLiteral("text/uri-list"),
        "file://" + QByteArray::fromStdString(*dir_ / "album").toPercentEncoding("/") + "\r\n");
    QVERIFY(DropOn(*form, *Find<QListView>(*form, "ListBox2"), mime));
    const zefa::RenameList& list = form->state().list;
    const std::vector<std::string> added = {b,
                                            a,
                                            *dir_ / "album/p2.jpg",
                                            *dir_ / "album/p10.jpg",
                                            *dir_ / "album/sub/q.mov",
                                            *dir_ / "album/sub/r.mov"};
    QCOMPARE(list.path.entries, added);
    const auto shown = [&](const char* name) {
      const QAbstractItemModel* model = Find<QListView>(*form, name)->model();
      QStringList texts;
      for (int row = 0; row < model->rowCount(); ++row) {
        texts << model->data(model->index(row, 0)).toString();
      }
      return texts.join(QLatin1Char(' '));
    };
    QCOMPARE(shown("ListBox1"), QStringLiteral("1 2 1 2 1 2"));
    QCOMPARE(Find<QLabel>(*form, "Label10")->text(), QStringLiteral("2"));

    auto* paths = Find<QListView>(*form, "ListBox2");
    const auto click = [&](int row, Qt::KeyboardModifiers keys) {
      const QRect rect = paths->visualRect(paths->model()->index(row, 0));
      QTest::mouseClick(paths->viewport(), Qt::LeftButton, keys, rect.center());
    };
    click(0, {});
    click(2, Qt::ControlModifier);
    click(4, Qt::ShiftModifier);
    QCOMPARE(Find<QListView>(*form, "ListBox4")->selectionModel()->selectedIndexes().size(), 4);
    QCOMPARE(Find<QLabel>(*form, "Label5")->text(), QStringLiteral("1"));
    QTest::mouseClick(Find<QPushButton>(*form, "Button5"), Qt::LeftButton);
    QCOMPARE(list.path.entries, (std::vector<std::string>{a, *dir_ / "album/sub/r.mov"}));
    QCOMPARE(shown("ListBox1"), QStringLiteral("1 1"));
    QCOMPARE(shown("ListBox3"), QStringLiteral("a r"));

    Find<QAction>(*form, "SelectAll1")->trigger();
    for (const char* name : {"ListBox1", "ListBox2", "ListBox3", "ListBox4"}) {
      QCOMPARE(Find<QListView>(*form, name)->selectionModel()->selectedIndexes().size(), 2);
    }
    QVERIFY(prompter_.log == std::vector<std::string>{"choose-file |"});
  }

  // A name from an old Windows archive: Shift-JIS bytes (ソ, its trail byte a backslash),
  // dropped as a file manager sends it, percent-encoded in a raw text/uri-list.
  void DroppedShiftJisNameIsListedReadably() {
    auto form = MakeForm("[Option]\nUpdateCheck=0\n");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    const std::string path = dir_->Touch("unzipped/\x83\x5c.txt");
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"),
                 "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n");
    QVERIFY(DropOn(*form, *Find<QListView>(*form, "ListBox2"), mime));

    const zefa::RenameList& list = form->state().list;
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.path.entries[0], path);
    QCOMPARE(list.unique.entries[0], std::string("ソ"));
    QCOMPARE(list.extension.entries[0], std::string(".txt"));
    const auto shown = [&](const char* name) {
      const QAbstractItemModel* model = Find<QListView>(*form, name)->model();
      return model->data(model->index(0, 0)).toString();
    };
    QCOMPARE(shown("ListBox2"),
             QString::fromStdString(dir_->path()) + QStringLiteral("unzipped/ソ.txt"));
    QCOMPARE(shown("ListBox3"), QStringLiteral("ソ"));
    QVERIFY(prompter_.log.empty());
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
