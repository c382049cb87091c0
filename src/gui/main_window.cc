// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "about_box.h"
#include "batch_replace_dialog.h"
#include "column_model.h"
#include "commands/add_file_command.h"
#include "commands/date_commands.h"
#include "commands/edit_menu_commands.h"
#include "commands/form_create.h"
#include "commands/new_names.h"
#include "commands/rename_command.h"
#include "commands/row_commands.h"
#include "commands/run_command.h"
#include "commands/selection_commands.h"
#include "commands/sort_command.h"
#include "commands/undo_command.h"
#include "controls.h"
#include "desktop_commands.h"
#include "find_replace_dialog.h"
#include "history_dialog.h"
#include "main_window_controls.h"
#include "names/compose_name.h"
#include "names/name_tokens.h"
#include "names_text_dialog.h"
#include "narrow_text.h"
#include "new_name_model.h"
#include "number_label.h"
#include "platform/command_error.h"
#include "platform/media_dates.h"
#include "platform/prompter.h"
#include "preview_dialog.h"
#include "qt_text.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings_dialog.h"
#include "window_style.h"

namespace {

constexpr int kClientWidth = 387;
constexpr int kClientHeight = 454;
constexpr int kRowHeight = 12;
// The column of new names, right of 拡張子: as wide as the target-path column at the
// specified size, and the window as much wider while it is shown.
constexpr int kNewNamesWidth = 129;
// How the width beyond the specified one is shared among the columns, in hundredths:
// most of it to the target paths, then the unique names (and the new names when shown).
constexpr std::array<int, 5> kFourColumnShares = {0, 60, 30, 10, 0};
constexpr std::array<int, 5> kFiveColumnShares = {0, 40, 20, 5, 35};
constexpr QRect kFirstColumn = MainWindowControl("ListBox1").geometry;
constexpr std::array<int, 5> kSpecifiedWidths = {
    kFirstColumn.width(), MainWindowControl("ListBox2").geometry.width(),
    MainWindowControl("ListBox3").geometry.width(), MainWindowControl("ListBox4").geometry.width(),
    kNewNamesWidth};
// The whole list's check of the new names waits this long after the last keystroke.
constexpr int kCheckDelayMs = 300;
// A column dragged narrower keeps at least this width.
constexpr int kLeastColumnWidth = 24;

// Rows are 12 pixels high in the window's font; a stand-in font that needs more gets more,
// so that no descender (the "_" of IMG_001) is cut off.
int RowHeight(const QFont& font) { return std::max(kRowHeight, QFontMetrics(font).height()); }

// Where the number labels stand and how far their blank room reaches. Label5 and Label10
// keep their right edges and reach back to a pixel inside the window's edge and to "から". Label15
// keeps its left edge while its number ends before its caption; a longer number stands under
// Label5's, so that it never covers "番のファイルの拡張子".
consteval int LeftOf(std::string_view name) { return MainWindowControl(name).geometry.left(); }
consteval int EndOf(std::string_view name) {
  return LeftOf(name) + MainWindowControl(name).geometry.width();
}
constexpr NumberLabel::Room kLabel5Room = {1, EndOf("Label5"), -1, 0};
constexpr NumberLabel::Room kLabel15Room = {1, EndOf("Label15"), LeftOf("Label15"),
                                            LeftOf("Label14")};
constexpr NumberLabel::Room kLabel10Room = {EndOf("Label12"), EndOf("Label10"), -1, 0};

NumberLabel* MakeNumberLabel(QWidget* parent, const FormControl& form, NumberLabel::Room room) {
  return new NumberLabel(parent, form.name, form.geometry.top(), room);
}

QLineEdit* MakeEdit(QWidget* parent, const FormControl& form) {
  auto* edit = Place(new QLineEdit(parent), form.name, form.geometry);
  // Files dropped on a field are added to the list, not typed into it.
  edit->setAcceptDrops(false);
  return edit;
}

int TopRow(const QListView* view) { return view->verticalScrollBar()->value(); }

/**
 * A list box of the main window. Its rows are as wide as its scrolling width, and a list
 * view steps sideways by one row width: an arrow of the horizontal scroll bar moves by a
 * few characters instead.
 */
class ListBoxView : public QListView {
 public:
  using QListView::QListView;

 protected:
  void updateGeometries() override {
    QListView::updateGeometries();
    horizontalScrollBar()->setSingleStep(3 * fontMetrics().averageCharWidth());
  }

  // The row that has the keyboard focus carries a dotted frame, whatever the style draws.
  void paintEvent(QPaintEvent* event) override {
    QListView::paintEvent(event);
    if (!hasFocus() || !currentIndex().isValid()) return;
    QPainter painter(viewport());
    QPen pen(palette().color(QPalette::Text), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(visualRect(currentIndex()).adjusted(0, 0, -1, -1));
  }
};

/**
 * The target-path column: while it is not scrolled sideways, a path wider than the column
 * shows its end (the file name and the folders nearest it) rather than its first folders.
 */
class PathTailDelegate : public QStyledItemDelegate {
 public:
  explicit PathTailDelegate(QListView* view) : QStyledItemDelegate(view), view_(view) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem shown = option;
    if (view_->horizontalScrollBar()->value() == 0) {
      shown.rect.setWidth(std::min(shown.rect.width(), view_->viewport()->width()));
      shown.textElideMode = Qt::ElideLeft;
    }
    QStyledItemDelegate::paint(painter, shown, index);
  }

 private:
  QListView* view_;
};

void SetEditText(QLineEdit* edit, const std::string& text) {
  const QString shown = ToQt(text);
  if (edit->text() != shown) edit->setText(shown);
}

}  // namespace

TForm1::TForm1(zefa::Prompter& prompter, zefa::FileSystem& file_system, zefa::ProgramPaths paths,
               UrlOpener open_url, QWidget* parent)
    : QMainWindow(parent),
      prompter_(prompter),
      file_system_(file_system),
      paths_(std::move(paths)),
      open_url_(std::move(open_url)),
      media_dates_(std::make_unique<zefa::NativeMediaDates>()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("ZeFa Oru"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setFont(WindowFont());
  setAcceptDrops(true);
  // Every window of the program, dialogs and boxes too, carries its icon.
  QApplication::setWindowIcon(ProgramIcon());
  check_timer_ = new QTimer(this);
  check_timer_->setSingleShot(true);
  poll_timer_ = new QTimer(this);
  BuildControls();
  BuildMenu();
  ConnectHandlers();
  FormCreate();
  // The client area opens at its specified size, with the menu bar on top of it, and grows
  // from there. The status line that names what in the common name is no token shows only
  // while there is such a name.
  statusBar()->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->hide();
  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  CentreOver(this, nullptr);
  RestoreGeometry();
}

TForm1::~TForm1() { DisconnectChildren(this); }

zefa::Context TForm1::context() const {
  return zefa::Context{prompter_, file_system_, paths_, zefa::NativeTextRules(),
                       media_dates_.get()};
}

QListView* TForm1::MakeListBox(const FormControl& form, const zefa::ListColumn& column, int index) {
  auto* view = Place(new ListBoxView(centralWidget()), form.name, form.geometry);
  view->setUniformItemSizes(true);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->setTextElideMode(Qt::ElideNone);
  view->setWordWrap(false);
  view->setAcceptDrops(false);
  auto* model = new ColumnModel(column, RowHeight(font()), view);
  view->setModel(model);
  // A path is shown whole in its tip, however narrow its column.
  if (index == 1) {
    model->SetTipsShowText(true);
    view->setItemDelegate(new PathTailDelegate(view));
  }
  list_boxes_[static_cast<std::size_t>(index)] = view;
  models_[static_cast<std::size_t>(index)] = model;
  return view;
}

void TForm1::BuildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setMinimumSize(kClientWidth, kClientHeight);
  client->installEventFilter(this);
  client->setMouseTracking(true);
  setCentralWidget(client);

  headings_[0] = PlaceLabel(client, MainWindowControl("Label1"));
  headings_[1] = PlaceLabel(client, MainWindowControl("Label2"));
  headings_[2] = PlaceLabel(client, MainWindowControl("Label3"));
  headings_[3] = PlaceLabel(client, MainWindowControl("Label4"));
  headings_[4] = PlaceLabel(client, "Label16", QStringLiteral("新しい名前"), {376, 8, 65, 12});
  headings_[4]->hide();
  MakeListBox(MainWindowControl("ListBox1"), state_.list.number, 0);
  MakeListBox(MainWindowControl("ListBox2"), state_.list.path, 1);
  MakeListBox(MainWindowControl("ListBox3"), state_.list.unique, 2);
  MakeListBox(MainWindowControl("ListBox4"), state_.list.extension, 3);
  // The number and extension columns carry a scroll bar that cannot move, so that all
  // four columns show the same rows at the same heights.
  list_boxes_[0]->horizontalScrollBar()->setEnabled(false);
  list_boxes_[3]->horizontalScrollBar()->setEnabled(false);
  // The number column cannot scroll sideways: a number of seven digits beside its scroll
  // bar is drawn narrower, whole.
  list_boxes_[0]->setItemDelegate(new NarrowTextDelegate(list_boxes_[0]));
  // The fifth column, hidden until 表示 → 新しい名前を表示: it follows the others' rows.
  new_names_view_ = new ListBoxView(client);
  new_names_view_->setObjectName(QStringLiteral("ListBox5"));
  new_names_view_->setUniformItemSizes(true);
  new_names_view_->setSelectionMode(QAbstractItemView::NoSelection);
  new_names_view_->setFocusPolicy(Qt::NoFocus);
  new_names_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  new_names_view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  new_names_view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  new_names_view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  new_names_view_->setTextElideMode(Qt::ElideNone);
  new_names_view_->setAcceptDrops(false);
  new_names_model_ = new NewNameModel(state_.list, numbers_, zefa::NativeTextRules(),
                                      RowHeight(font()), new_names_view_);
  new_names_view_->setModel(new_names_model_);
  connect(new_names_model_, &NewNameModel::Changed, new_names_view_->viewport(),
          qOverload<>(&QWidget::update));
  new_names_view_->setGeometry(376, 24, kNewNamesWidth, 177);
  new_names_view_->hide();

  button6_ = PlaceButton(client, MainWindowControl("Button6"));
  button7_ = PlaceButton(client, MainWindowControl("Button7"));
  PlaceButton(client, MainWindowControl("Button4"));
  PlaceButton(client, MainWindowControl("Button5"));
  PlaceButton(client, MainWindowControl("Button8"));
  PlaceButton(client, MainWindowControl("Button9"));
  PlaceButton(client, MainWindowControl("Button10"));

  label5_ = MakeNumberLabel(client, MainWindowControl("Label5"), kLabel5Room);
  PlaceLabel(client, MainWindowControl("Label6"));
  edit1_ = MakeEdit(client, MainWindowControl("Edit1"));
  PlaceLabel(client, MainWindowControl("Label7"));
  PlaceButton(client, MainWindowControl("Button1"));

  label15_ = MakeNumberLabel(client, MainWindowControl("Label15"), kLabel15Room);
  PlaceLabel(client, MainWindowControl("Label14"));
  edit3_ = MakeEdit(client, MainWindowControl("Edit3"));
  PlaceLabel(client, MainWindowControl("Label9"));
  PlaceButton(client, MainWindowControl("Button14"));

  PlaceLabel(client, MainWindowControl("Label8"));
  edit2_ = MakeEdit(client, MainWindowControl("Edit2"));

  PlaceLabel(client, MainWindowControl("Label13"));
  const FormControl& spin = MainWindowControl("SpinEdit1");
  spin_edit1_ = Place(new QSpinBox(client), spin.name, spin.geometry);
  spin_edit1_->setRange(1, 999);
  spin_edit1_->setValue(1);
  spin_edit1_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  if (auto* line = spin_edit1_->findChild<QLineEdit*>()) line->setAcceptDrops(false);
  PlaceLabel(client, MainWindowControl("Label12"));
  label10_ = MakeNumberLabel(client, MainWindowControl("Label10"), kLabel10Room);
  PlaceLabel(client, MainWindowControl("Label11"));

  PlaceButton(client, MainWindowControl("Button3"));
  PlaceButton(client, MainWindowControl("Button11"));
  PlaceButton(client, MainWindowControl("Button12"));
  PlaceButton(client, MainWindowControl("Button15"));
  PlaceButton(client, MainWindowControl("Button2"));

  // Every other control keeps its place relative to the bottom edge as the window grows.
  for (QWidget* child : client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (std::find(headings_.begin(), headings_.end(), child) != headings_.end()) continue;
    if (std::find(list_boxes_.begin(), list_boxes_.end(), child) != list_boxes_.end()) continue;
    if (child == new_names_view_ || child == label5_ || child == label15_ || child == label10_) {
      continue;
    }
    specified_.emplace_back(child, child->geometry());
  }

  std::vector<QWidget*> tab_order;
  for (const FormControl& control : kMainWindowControls) {
    auto* widget = client->findChild<QWidget*>(QString::fromLatin1(control.name));
    if (qobject_cast<QLabel*>(widget) == nullptr) tab_order.push_back(widget);
  }
  SetTabOrder(tab_order);
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  QMenu* file_menu = bar->addMenu(QStringLiteral("ファイル(&F)"));
  file_menu->setObjectName(QStringLiteral("File1"));
  QMenu* sort_menu = bar->addMenu(QStringLiteral("並べ替え(&O)"));
  sort_menu->setObjectName(QStringLiteral("Sort1"));
  QMenu* edit_menu = bar->addMenu(QStringLiteral("編集(&E)"));
  edit_menu->setObjectName(QStringLiteral("Edit1Menu"));
  QMenu* view_menu = bar->addMenu(QStringLiteral("表示(&V)"));
  view_menu->setObjectName(QStringLiteral("View1"));
  QMenu* help_menu = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
  help_menu->setObjectName(QStringLiteral("Help1"));
  const auto add = [](QMenu* menu, const char* name, const QString& caption,
                      const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
  };
  add(file_menu, "AddFile1", QStringLiteral("ファイルを追加(&A)…"), QKeySequence::Open);
  add(file_menu, "AddFolder1", QStringLiteral("フォルダを追加(&D)…"));
  file_menu->addSeparator();
  add(file_menu, "Undo1", QStringLiteral("元に戻す(&U)"), QKeySequence::Undo);
  add(file_menu, "History1", QStringLiteral("履歴(&H)…"));
  add(file_menu, "Exit1", QStringLiteral("設定(&S)"));
  file_menu->addSeparator();
  add(file_menu, "Exit2", QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  add(sort_menu, "TakenOrder1", QStringLiteral("撮影日時順(&T)"));
  add(sort_menu, "ModifiedOrder1", QStringLiteral("更新日時順(&M)"));
  sort_menu->addSeparator();
  add(sort_menu, "TakenName1", QStringLiteral("固有ファイル名を撮影日時にする(&U)"));
  add(edit_menu, "SelectAll1", QStringLiteral("全選択(&A)"), QKeySequence::SelectAll);
  add(edit_menu, "SelectExtension1", QStringLiteral("拡張子で選択(&X)…"));
  edit_menu->addSeparator();
  QAction* replace =
      add(edit_menu, "Replace1", QStringLiteral("置換(&R)…"), QKeySequence(Qt::CTRL | Qt::Key_H));
  add(edit_menu, "EditAsText1", QStringLiteral("固有ファイル名をテキストで編集(&T)…"));
  // The list's own menu offers it too, where the names are.
  auto* list_menu = new QMenu(this);
  list_menu->setObjectName(QStringLiteral("ListMenu1"));
  list_menu->addAction(replace);
  for (QListView* view : list_boxes_) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [list_menu, view](const QPoint& at) {
      list_menu->popup(view->viewport()->mapToGlobal(at));
    });
  }
  show_new_names_ = add(view_menu, "ShowNewNames1", QStringLiteral("新しい名前を表示(&N)"));
  show_new_names_->setCheckable(true);
  add(help_menu, "N1", QStringLiteral("トピックの検索(&T)"), QKeySequence::HelpContents);
  add(help_menu, "About1", QStringLiteral("バージョン情報(&A)"));
  // Delete in a column takes its row out, as 除外 does; in a field it stays the field's key.
  auto* remove = new QAction(this);
  remove->setObjectName(QStringLiteral("RemoveRow1"));
  remove->setShortcut(QKeySequence::Delete);
  remove->setShortcutContext(Qt::WidgetShortcut);
  for (QListView* view : list_boxes_) view->addAction(remove);
}

void TForm1::ConnectHandlers() {
  const std::array<void (TForm1::*)(), 4> clicks = {&TForm1::ListBox1Click, &TForm1::ListBox2Click,
                                                    &TForm1::ListBox3Click, &TForm1::ListBox4Click};
  for (std::size_t i = 0; i < list_boxes_.size(); ++i) {
    connect(list_boxes_[i]->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            clicks[i]);
  }
  // The columns read as one table: scrolling one of them, by its bar, the wheel or the
  // keyboard, scrolls them all, the new names too.
  for (QListView* view : list_boxes_) {
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int top) {
      for (QListView* other : list_boxes_) other->verticalScrollBar()->setValue(top);
      new_names_view_->verticalScrollBar()->setValue(top);
    });
  }
  connect(new_names_view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int top) {
    for (QListView* other : list_boxes_) other->verticalScrollBar()->setValue(top);
  });
  // The new names follow the common name at every keystroke.
  connect(edit2_, &QLineEdit::textChanged, this, &TForm1::NewNamesChanged);
  connect(check_timer_, &QTimer::timeout, this, &TForm1::StartNewNameCheck);
  connect(poll_timer_, &QTimer::timeout, this, &TForm1::PollNewNameCheck);
  connect(list_boxes_[1], &QListView::doubleClicked, this, &TForm1::ListBox2DblClick);
  connect(list_boxes_[2], &QListView::doubleClicked, this, &TForm1::ListBox3DblClick);
  const std::pair<const char*, void (TForm1::*)()> buttons[] = {
      {"Button10", &TForm1::Button10Click}, {"Button4", &TForm1::Button4Click},
      {"Button11", &TForm1::Button11Click}, {"Button6", &TForm1::Button6Click},
      {"Button7", &TForm1::Button7Click},   {"Button8", &TForm1::Button8Click},
      {"Button9", &TForm1::Button9Click},   {"Button5", &TForm1::Button5Click},
      {"Button1", &TForm1::Button1Click},   {"Button14", &TForm1::Button14Click},
      {"Button2", &TForm1::Button2Click},   {"Button12", &TForm1::Button12Click},
      {"Button15", &TForm1::Button15Click}, {"Button3", &TForm1::Exit1Click},
  };
  for (const auto& [name, handler] : buttons) {
    connect(findChild<QPushButton*>(QString::fromLatin1(name)), &QPushButton::clicked, this,
            handler);
  }
  // Text typed by the user stays when another row is selected; the program's follows it.
  connect(edit1_, &QLineEdit::textEdited, this, [this] {
    state_.unique_name_typed = true;
    ShowEditTips();
  });
  connect(edit3_, &QLineEdit::textEdited, this, [this] {
    state_.extension_typed = true;
    ShowEditTips();
  });
  // The editor's own signal: the spin box says nothing while its text is no number.
  connect(spin_edit1_->findChild<QLineEdit*>(), &QLineEdit::textChanged, this,
          &TForm1::SpinEdit1Change);
  connect(spin_edit1_, &QSpinBox::textChanged, this, &TForm1::SpinEdit1Change);
  connect(edit2_, &QLineEdit::textChanged, this, &TForm1::Edit2Change);
  const std::pair<const char*, void (TForm1::*)()> items[] = {
      {"AddFile1", &TForm1::Button4Click},
      {"RemoveRow1", &TForm1::Button5Click},
      {"Exit2", &TForm1::Exit2Click},
      {"N1", &TForm1::N1Click},
      {"About1", &TForm1::About1Click},
      {"Undo1", &TForm1::Undo1Click},
      {"History1", &TForm1::History1Click},
      {"Exit1", &TForm1::Exit1Click},
      {"TakenOrder1", &TForm1::TakenOrder1Click},
      {"ModifiedOrder1", &TForm1::ModifiedOrder1Click},
      {"TakenName1", &TForm1::TakenName1Click},
      {"AddFolder1", &TForm1::AddFolder1Click},
      {"SelectAll1", &TForm1::SelectAll1Click},
      {"SelectExtension1", &TForm1::SelectExtension1Click},
      {"Replace1", &TForm1::Replace1Click},
      {"EditAsText1", &TForm1::EditAsText1Click},
      {"ShowNewNames1", &TForm1::ShowNewNames1Click}};
  for (const auto& [name, handler] : items) {
    connect(findChild<QAction*>(QString::fromLatin1(name)), &QAction::triggered, this, handler);
  }
}

template <typename Command>
void TForm1::Run(bool list_changes, Command&& command) {
  if (rendering_) return;
  ++commands_running_;
  PullFromWidgets();
  zefa::RunCommand(prompter_, std::forward<Command>(command));
  Render(list_changes);
  --commands_running_;
}

void TForm1::PullFromWidgets() {
  state_.typed_unique_name = FromQt(edit1_->text());
  state_.common_name = FromQt(edit2_->text());
  state_.typed_extension = FromQt(edit3_->text());
  state_.start_number = zefa::SpinValueOfText(FromQt(spin_edit1_->cleanText()));
  for (std::size_t i = 0; i < list_boxes_.size(); ++i) {
    state_.view.column(static_cast<zefa::ColumnId>(i)).top = TopRow(list_boxes_[i]);
  }
}

void TForm1::Render(bool list_changed) {
  rendering_ = true;
  if (list_changed) {
    numbers_ = zefa::SerialNumbers(state_.list, state_.folder_numbers, zefa::NativeTextRules());
    models_[0]->SetNumbers(state_.folder_numbers ? &numbers_ : nullptr);
    ApplyScrollWidths();
    for (ColumnModel* model : models_) model->Reload();
    // Lay the rows out now, so that the scroll ranges are right before the tops are set.
    for (QListView* view : list_boxes_) view->doItemsLayout();
    if (new_names_view_->isVisible()) {
      ++new_names_generation_;
      new_names_model_->Reload();
      new_names_view_->doItemsLayout();
      CheckNewNamesLater();
    }
  }
  for (std::size_t i = 0; i < list_boxes_.size(); ++i) {
    RenderSelection(list_boxes_[i], state_.view.column(static_cast<zefa::ColumnId>(i)));
  }
  for (std::size_t i = 0; i < list_boxes_.size(); ++i) {
    list_boxes_[i]->verticalScrollBar()->setValue(
        state_.view.column(static_cast<zefa::ColumnId>(i)).top);
  }
  if (new_names_view_->isVisible()) {
    RenderSelection(new_names_view_, state_.view.unique);
    new_names_view_->verticalScrollBar()->setValue(state_.view.unique.top);
  }
  SetEditText(edit1_, state_.typed_unique_name);
  SetEditText(edit2_, state_.common_name);
  SetEditText(edit3_, state_.typed_extension);
  if (spin_edit1_->value() != state_.start_number && state_.start_number >= 1 &&
      state_.start_number <= 999) {
    spin_edit1_->setValue(state_.start_number);
  }
  label5_->SetNumber(ToQt(state_.unique_name_row));
  label15_->SetNumber(ToQt(state_.extension_row));
  ShowEditTips();
  label10_->SetNumber(ToQt(zefa::Label10Text(state_, numbers_)));
  button6_->setVisible(state_.file_arrows_shown);
  button6_->setEnabled(state_.file_arrows_shown);
  button7_->setVisible(state_.file_arrows_shown);
  button7_->setEnabled(state_.file_arrows_shown);
  spin_edit1_->setEnabled(state_.serial_enabled);
  label10_->setEnabled(state_.serial_enabled);
  // A command that set the common name or the start number (クリア) moves the new names.
  NewNamesChanged();
  rendering_ = false;
}

void TForm1::ShowEditTips() {
  // Typed text kept while another row is selected says which row 変更 gives it to.
  const auto tip = [](bool typed, const std::string& text, const std::string& row,
                      const char* what) {
    if (!typed || text.empty() || row == "0") return QString();
    return QStringLiteral("入力した%1は「変更」で %2 番のファイルに付きます")
        .arg(QString::fromUtf8(what), ToQt(row));
  };
  edit1_->setToolTip(tip(state_.unique_name_typed, state_.typed_unique_name, state_.unique_name_row,
                         "固有ファイル名"));
  edit3_->setToolTip(
      tip(state_.extension_typed, state_.typed_extension, state_.extension_row, "拡張子"));
}

void TForm1::ApplyScrollWidths() {
  const std::array<int, 4> factors = {2, state_.path_scroll_factor, 6, 2};
  for (std::size_t i = 0; i < list_boxes_.size(); ++i) {
    // The client width as it stands now, also before the window was first laid out.
    const QListView* view = list_boxes_[i];
    models_[i]->SetRowWidth(factors[i] * (view->width() - 2 * view->frameWidth()));
  }
  new_names_model_->SetRowWidth(6 * (new_names_view_->width() - 2 * new_names_view_->frameWidth()));
}

void TForm1::LayOut() {
  const QSize client = centralWidget()->size();
  const bool five = new_names_view_->isVisibleTo(this);
  const int specified_width = kClientWidth + (five ? kNewNamesWidth - 1 : 0);
  const int extra = std::max(0, client.width() - specified_width);
  const int dy = std::max(0, client.height() - kClientHeight);
  const std::array<int, 5>& shares = five ? kFiveColumnShares : kFourColumnShares;
  std::array<QListView*, 5> views = {list_boxes_[0], list_boxes_[1], list_boxes_[2], list_boxes_[3],
                                     new_names_view_};
  // Neighbouring columns overlap by one pixel, at every size, as at the specified one.
  int given = 0;
  const std::size_t columns = five ? 5 : 4;
  std::array<int, 5> widths{};
  for (std::size_t i = 0; i < columns; ++i) {
    int more = extra * shares[i] / 100;
    if (i + 1 == columns) more = extra - given;  // what rounding left over goes to the last
    given += more;
    widths[i] = kSpecifiedWidths[i] + more;
  }
  // A border the user dragged moves that far, as long as both its columns keep some width.
  for (std::size_t k = 1; k + 1 < columns; ++k) {
    const int moved = std::clamp(border_moves_[k], kLeastColumnWidth - widths[k],
                                 widths[k + 1] - kLeastColumnWidth);
    widths[k] += moved;
    widths[k + 1] -= moved;
  }
  int left = kFirstColumn.left();
  for (std::size_t i = 0; i < columns; ++i) {
    const int width = widths[i];
    views[i]->setGeometry(left, kFirstColumn.top(), width, kFirstColumn.height() + dy);
    QRect heading = headings_[i]->geometry();
    heading.moveLeft(left);
    headings_[i]->setGeometry(heading);
    left += width - 1;
  }
  for (const auto& [widget, rect] : specified_) widget->setGeometry(rect.translated(0, dy));
  for (NumberLabel* label : {label5_, label15_, label10_}) label->SetShift(dy);
  ApplyScrollWidths();
}

int TForm1::BorderAt(int x) const {
  // The borders between 対象ファイル, 固有ファイル名, 拡張子 and 新しい名前, over the headings.
  const std::array<QListView*, 4> views = {list_boxes_[1], list_boxes_[2], list_boxes_[3],
                                           new_names_view_};
  for (std::size_t k = 0; k + 1 < views.size(); ++k) {
    if (!views[k + 1]->isVisibleTo(this)) break;
    if (std::abs(x - views[k + 1]->x()) <= 3) return static_cast<int>(k) + 1;
  }
  return -1;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched != centralWidget()) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Resize:
      LayOut();
      break;
    // The columns' borders are dragged over the headings, as a table's are.
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint at = mouse->position().toPoint();
      if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton &&
          at.y() < 24) {
        dragged_border_ = BorderAt(at.x());
        drag_x_ = at.x();
      } else if (event->type() == QEvent::MouseButtonRelease) {
        dragged_border_ = -1;
      } else if (dragged_border_ > 0 && (mouse->buttons() & Qt::LeftButton)) {
        border_moves_[static_cast<std::size_t>(dragged_border_)] += at.x() - drag_x_;
        drag_x_ = at.x();
        LayOut();
      }
      const bool on_border = dragged_border_ > 0 || (at.y() < 24 && BorderAt(at.x()) > 0);
      centralWidget()->setCursor(on_border ? Qt::SplitHCursor : Qt::ArrowCursor);
      break;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::RestoreGeometry() {
  const zefa::SettingsFile settings = context().Settings();
  // The column first, so that the size remembered is the size the window gets.
  if (settings.ReadBool(zefa::keys::kSection, zefa::keys::kShowNewNames,
                        zefa::keys::kDefaultShowNewNames)) {
    show_new_names_->setChecked(true);
    ShowNewNames1Click();
  }
  const std::string stored =
      settings.ReadString(zefa::keys::kSection, zefa::keys::kWindowGeometry, "");
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // A hand-edited or foreign value is passed over: the window opens as specified.
  if (std::sscanf(stored.c_str(), "%d,%d,%d,%d", &x, &y, &width, &height) == 4 &&
      width >= minimumSizeHint().width() && height >= minimumSizeHint().height() &&
      width <= 10000 && height <= 10000) {
    const QRect wanted(x, y, width, height);
    for (const QScreen* screen : QGuiApplication::screens()) {
      if (screen->availableGeometry().intersects(wanted)) {
        setGeometry(wanted);
        break;
      }
    }
  }
  // The borders the user dragged, in pixels from where the window's size puts them.
  const std::string moves =
      settings.ReadString(zefa::keys::kSection, zefa::keys::kColumnWidths, "");
  std::array<int, 4> read{};
  if (std::sscanf(moves.c_str(), "%d,%d,%d", &read[1], &read[2], &read[3]) == 3 &&
      std::all_of(read.begin(), read.end(), [](int move) { return std::abs(move) <= 10000; })) {
    border_moves_ = read;
    LayOut();
  }
  if (settings.ReadBool(zefa::keys::kSection, zefa::keys::kWindowMaximized, false)) {
    setWindowState(windowState() | Qt::WindowMaximized);
  }
  opened_geometry_ = normalGeometry().isValid() ? normalGeometry() : geometry();
  opened_maximized_ = (windowState() & Qt::WindowMaximized) != 0;
  opened_border_moves_ = border_moves_;
}

void TForm1::SaveGeometry() {
  const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
  const bool maximized = isMaximized();
  if (normal == opened_geometry_ && maximized == opened_maximized_ &&
      border_moves_ == opened_border_moves_) {
    return;
  }
  // Remembering the window is a courtesy: a settings file that cannot be written is left.
  try {
    zefa::SettingsFile settings = context().Settings();
    settings.CreateFolder();
    settings.WriteString(zefa::keys::kSection, zefa::keys::kWindowGeometry,
                         std::to_string(normal.x()) + "," + std::to_string(normal.y()) + "," +
                             std::to_string(normal.width()) + "," +
                             std::to_string(normal.height()));
    settings.WriteBool(zefa::keys::kSection, zefa::keys::kWindowMaximized, maximized);
    settings.WriteString(zefa::keys::kSection, zefa::keys::kColumnWidths,
                         std::to_string(border_moves_[1]) + "," + std::to_string(border_moves_[2]) +
                             "," + std::to_string(border_moves_[3]));
    opened_border_moves_ = border_moves_;
    opened_geometry_ = normal;
    opened_maximized_ = maximized;
  } catch (const zefa::CommandError&) {
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  SaveGeometry();
  QMainWindow::closeEvent(event);
}

void TForm1::ShowNewNames1Click() {
  const bool shown = show_new_names_->isChecked();
  if (shown == new_names_view_->isVisibleTo(this)) return;
  new_names_view_->setVisible(shown);
  headings_[4]->setVisible(shown);
  // The window widens by the column while it is not maximised; the four columns keep theirs.
  const int wider = kNewNamesWidth - 1;
  centralWidget()->setMinimumWidth(kClientWidth + (shown ? wider : 0));
  if (!isMaximized() && !isFullScreen()) {
    resize(width() + (shown ? wider : -wider), height());
  }
  LayOut();
  if (shown) {
    ReadNewNameSettings();
    new_names_model_->Reload();
    Render(true);
  }
  // The choice is remembered; a settings file that cannot be written is left as it is.
  if (sender() == show_new_names_) {
    try {
      zefa::SettingsFile settings = context().Settings();
      settings.CreateFolder();
      settings.WriteBool(zefa::keys::kSection, zefa::keys::kShowNewNames, shown);
    } catch (const zefa::CommandError&) {
    }
  }
}

void TForm1::ReadNewNameSettings() {
  ++new_names_generation_;
  new_names_model_->SetRequest(zefa::ReadNewNameRequest(
      FromQt(edit2_->text()), zefa::SpinValueOfText(FromQt(spin_edit1_->cleanText())), context()));
  CheckNewNamesLater();
}

void TForm1::NewNamesChanged() {
  if (!new_names_view_->isVisibleTo(this)) return;
  zefa::NewNameRequest request = new_names_model_->request();
  const std::string common_name = FromQt(edit2_->text());
  const int start_number = zefa::SpinValueOfText(FromQt(spin_edit1_->cleanText()));
  // A render that changed neither keeps the names and the reasons they have.
  if (common_name == request.common_name && start_number == request.start_number) return;
  request.common_name = common_name;
  request.start_number = start_number;
  ++new_names_generation_;
  new_names_model_->SetRequest(std::move(request));
  CheckNewNamesLater();
}

void TForm1::CheckNewNamesLater() {
  if (!new_names_view_->isVisibleTo(this)) return;
  check_timer_->start(kCheckDelayMs);
}

struct TForm1::NewNameCheck {
  std::mutex mutex;
  bool done = false;
  int generation = 0;
  zefa::NewNameReasons reasons;
};

void TForm1::StartNewNameCheck() {
  // One check at a time; the one under way is followed by another for the latest request.
  if (check_) {
    check_again_ = true;
    return;
  }
  auto check = std::make_shared<NewNameCheck>();
  check->generation = new_names_generation_;
  check_ = check;
  // The check reads its own copy of the list and its own file system: the window goes on.
  auto list = std::make_shared<const zefa::RenameList>(state_.list);
  QThreadPool::globalInstance()->start(
      [check, list, request = new_names_model_->request(), rules = zefa::NativeTextRules()] {
        zefa::NativeFileSystem file_system;
        zefa::NewNameReasons reasons = zefa::CheckNewNames(*list, request, file_system, rules);
        const std::lock_guard lock(check->mutex);
        check->reasons = std::move(reasons);
        check->done = true;
      });
  poll_timer_->start(30);
}

void TForm1::PollNewNameCheck() {
  if (!check_) {
    poll_timer_->stop();
    return;
  }
  {
    const std::lock_guard lock(check_->mutex);
    if (!check_->done) return;
    if (check_->generation == new_names_generation_) {
      new_names_model_->SetReasons(std::move(check_->reasons));
    } else {
      check_again_ = true;
    }
  }
  check_.reset();
  poll_timer_->stop();
  if (check_again_) {
    check_again_ = false;
    StartNewNameCheck();
  }
}

void TForm1::FormCreate() {
  PullFromWidgets();
  // The naming settings of the new names are read here and whenever the column is shown.
  ReadNewNameSettings();
  zefa::FormCreateResult result;
  zefa::RunCommand(prompter_, [&] {
    // The arrows already follow the settings when the check asks its question.
    result = zefa::FormCreate(state_, context(), [this] {
      Render(false);
      return RunStartUpUpdateCheck(prompter_, this);
    });
  });
  Render(true);
  if (result.update_chosen) {
    OpenFolderAndSite(paths_.executable_folder, open_url_);
    quit_requested_ = true;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  }
}

void TForm1::ListBoxClick(zefa::ColumnId source) {
  if (rendering_) return;
  QListView* view = list_boxes_[static_cast<std::size_t>(source)];
  // The view scrolls a newly selected row into sight only after this signal.
  if (view->selectionModel()->currentIndex().isValid()) {
    view->scrollTo(view->selectionModel()->currentIndex());
  }
  PullFromWidgets();
  int focused = -1;
  std::vector<int> rows = SelectedRows(view, focused);
  state_.view.column(source).selected = focused;
  state_.view.selected_rows = rows.size() >= 2 ? std::move(rows) : std::vector<int>();
  zefa::ListBoxClick(state_, source, TopRow(view), numbers_);
  Render(false);
}

void TForm1::ListBox1Click() { ListBoxClick(zefa::ColumnId::kNumber); }
void TForm1::ListBox2Click() { ListBoxClick(zefa::ColumnId::kPath); }
void TForm1::ListBox3Click() { ListBoxClick(zefa::ColumnId::kUnique); }
void TForm1::ListBox4Click() { ListBoxClick(zefa::ColumnId::kExtension); }

void TForm1::ListBox2DblClick() {
  Run(false, [this] { zefa::ListBox2DblClick(state_, zefa::NativeTextRules()); });
}

void TForm1::ListBox3DblClick() {
  Run(false, [this] { zefa::ListBox3DblClick(state_); });
}

void TForm1::Button10Click() {
  Run(true, [this] { zefa::Button10Click(state_); });
}

void TForm1::SpinEdit1Change() {
  if (rendering_) return;
  state_.start_number = zefa::SpinValueOfText(FromQt(spin_edit1_->cleanText()));
  label10_->SetNumber(ToQt(zefa::Label10Text(state_, numbers_)));
  NewNamesChanged();
}

void TForm1::Exit2Click() {
  SaveGeometry();
  QCoreApplication::quit();
}

void TForm1::N1Click() { OpenHelp(prompter_, DefaultHelpPlaces(), open_url_); }

void TForm1::About1Click() { TAboutBox::Open(this); }

void TForm1::Button4Click() {
  Run(true, [this] { zefa::Button4Click(state_, context()); });
}

void TForm1::Button11Click() {
  Run(true, [this] { zefa::Button11Click(state_, context()); });
}

void TForm1::TakenOrder1Click() {
  Run(true,
      [this] { zefa::SortByDateClick(state_, context(), *media_dates_, zefa::DateKind::kTaken); });
}

void TForm1::ModifiedOrder1Click() {
  Run(true, [this] {
    zefa::SortByDateClick(state_, context(), *media_dates_, zefa::DateKind::kModified);
  });
}

void TForm1::TakenName1Click() {
  Run(true, [this] { zefa::NameByDateClick(state_, context(), *media_dates_); });
}

void TForm1::Edit2Change() {
  const std::string text =
      zefa::UnknownTokensText(FromQt(edit2_->text()), zefa::NativeTextRules().code_page);
  if (text.empty()) {
    statusBar()->clearMessage();
  } else {
    statusBar()->showMessage(ToQt(text));
  }
  statusBar()->setVisible(!text.empty());
}

void TForm1::EditAsText1Click() {
  if (rendering_) return;
  PullFromWidgets();
  OpenNamesText(this, state_.list, prompter_, file_system_, [this] { Render(true); });
}

void TForm1::Button6Click() {
  Run(true, [this] { zefa::Button6Click(state_, context()); });
}

void TForm1::Button7Click() {
  Run(true, [this] { zefa::Button7Click(state_, context()); });
}

void TForm1::Button8Click() {
  Run(true, [this] { zefa::Button8Click(state_, context()); });
}

void TForm1::Button9Click() {
  Run(true, [this] { zefa::Button9Click(state_, context()); });
}

void TForm1::Button5Click() {
  Run(true, [this] { zefa::Button5Click(state_, context()); });
}

void TForm1::Button1Click() {
  Run(true, [this] { zefa::Button1Click(state_, context()); });
}

void TForm1::Button14Click() {
  Run(true, [this] { zefa::Button14Click(state_, context()); });
}

void TForm1::Button2Click() {
  // The rows follow their files: the list changes.
  Run(true, [this] { zefa::Button2Click(state_, context()); });
}

void TForm1::Button12Click() {
  Run(true, [this] { OpenPreview(this, state_, context(), [this] { Button2Click(); }); });
}

void TForm1::Button15Click() {
  Run(true, [this] { OpenBatchReplace(this, state_, context()); });
}

void TForm1::Replace1Click() {
  Run(true, [this] {
    if (OpenFindReplace(this, state_, context())) zefa::RenameWithNamesAlone(state_, context());
  });
}

void TForm1::Exit1Click() { OpenSettings(); }

void TForm1::OpenSettings() {
  // After a save the saved options apply at once: the creation step runs again.
  Run(false, [this] {
    OpenSettingsDialog(
        this, context(),
        [this](int pattern) {
          state_.serial_enabled = !zefa::IsPatternWithoutNumber(zefa::NamePatternOf(pattern));
          Render(false);
          FormCreate();
        },
        state_.common_name,
        [this](const std::string& common_name) { state_.common_name = common_name; });
  });
}

void TForm1::Undo1Click() {
  Run(true, [this] { zefa::Undo1Click(state_, context()); });
}

void TForm1::History1Click() {
  // An undo from the history lets the rows follow their files: the list may change.
  Run(true, [this] { OpenHistory(this, context(), &state_.list); });
}

void TForm1::AddFolder1Click() {
  Run(true, [this] { zefa::AddFolder1Click(state_, context()); });
}

void TForm1::SelectAll1Click() {
  Run(false, [this] { zefa::SelectAll1Click(state_, numbers_); });
}

void TForm1::SelectExtension1Click() {
  Run(false, [this] { zefa::SelectExtension1Click(state_, context(), numbers_); });
}

void TForm1::DropPaths(const std::vector<std::string>& paths) {
  Run(true, [this, &paths] { zefa::DropFiles(state_, context(), paths); });
}

void TForm1::ReceivePaths(const std::vector<std::string>& paths) {
  if (!paths.empty()) DropPaths(paths);
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

bool TForm1::IsBusy() const {
  return commands_running_ > 0 || rendering_ || QApplication::activeModalWidget() != nullptr ||
         QApplication::activePopupWidget() != nullptr;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  // The list's own bytes: QUrl would turn a name that is not UTF-8 into another name.
  const QByteArray uri_list = event->mimeData()->data(QStringLiteral("text/uri-list"));
  event->acceptProposedAction();
  const std::string bytes(uri_list.constData(), static_cast<std::size_t>(uri_list.size()));
  Run(true, [this, &bytes] { zefa::DropUriList(state_, context(), bytes); });
}
