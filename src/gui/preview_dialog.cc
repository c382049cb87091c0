// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "preview_dialog.h"

#include <QAbstractListModel>
#include <QColor>
#include <QFontMetrics>
#include <QLabel>
#include <QListView>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "change_marks.h"
#include "platform/command_error.h"
#include "qt_text.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "window_style.h"

namespace {

constexpr int kPreviewWidth = 411;
constexpr int kPreviewHeight = 326;
const QString kShowFullPaths = QStringLiteral("フルパスを表示");
const QString kShowFileNames = QStringLiteral("ファイル名を表示");
// A row that the run will not rename: a mark before its name, in red on pale red.
const QString kFailureMark = QStringLiteral("× ");
const QColor kFailureText(0xB0, 0x00, 0x00);
const QColor kFailureBackground(0xFF, 0xE4, 0xE4);
const QColor kLackingText(0x9A, 0x5B, 0x00);

}  // namespace

/** One list of the preview, read from its rows on demand. */
class PreviewListModel : public QAbstractListModel {
 public:
  enum class Side { kBefore, kAfter };

  PreviewListModel(const zefa::Preview& preview, Side side, QObject* parent)
      : QAbstractListModel(parent), preview_(preview), side_(side) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : preview_.size();
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    // Each row's tip says which date put it where it stands, under a failure's reason.
    if (role == Qt::ToolTipRole) return ToolTip(index.row());
    if (role == ChangeMarkDelegate::kChangeOtherRole) return ChangePartner(index.row());
    if (role == ChangeMarkDelegate::kChangeSideRole) return side_ == Side::kAfter;
    if (side_ == Side::kBefore) {
      if (role == Qt::DisplayRole) return PathToQt(preview_.Before(index.row(), full_path_));
    } else if (preview_.WillFail(index.row())) {
      if (role == Qt::DisplayRole) return kFailureMark + PathToQt(preview_.After(index.row()));
      if (role == Qt::ForegroundRole) return kFailureText;
      if (role == Qt::BackgroundRole) return kFailureBackground;
    } else if (role == Qt::DisplayRole) {
      return PathToQt(preview_.After(index.row()));
    } else if (role == Qt::ForegroundRole && !preview_.LackingText(index.row()).empty()) {
      // A name a token left empty in is renamed, but drawn apart so that it is looked at.
      return kLackingText;
    }
    // Every row as wide as the scrolling range, as a list box's horizontal extent is.
    if (role == Qt::SizeHintRole) return row_size_;
    return {};
  }

  void SetFullPath(bool full_path) {
    beginResetModel();
    full_path_ = full_path;
    endResetModel();
  }

  void SetRowSize(QSize size) { row_size_ = size; }

 private:
  // The name this row is compared with to mark what changes: file name against file name,
  // so none while full paths are shown, nor for a row that will fail.
  QVariant ChangePartner(int row) const {
    if (full_path_ || preview_.WillFail(row)) return {};
    return PathToQt(side_ == Side::kBefore ? preview_.After(row) : preview_.Before(row, false));
  }

  QVariant ToolTip(int row) const {
    QStringList lines;
    if (side_ == Side::kAfter && preview_.WillFail(row)) {
      lines << ToQt(preview_.FailureReasonText(row));
    }
    if (const std::string date = preview_.DateText(row); !date.empty()) lines << ToQt(date);
    if (side_ == Side::kAfter) {
      if (const std::string lacking = preview_.LackingText(row); !lacking.empty()) {
        lines << ToQt(lacking);
      }
    }
    if (lines.isEmpty()) return {};
    return lines.join(QLatin1Char('\n'));
  }

  const zefa::Preview& preview_;
  Side side_;
  bool full_path_ = false;
  QSize row_size_;
};

namespace {

QListView* PlaceList(QWidget* parent, const char* name, PreviewListModel* model, int left) {
  auto* list = Place(new QListView(parent), name, {left, 24, 185, 209});
  list->setUniformItemSizes(true);
  list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setTextElideMode(Qt::ElideNone);
  list->setModel(model);
  list->setItemDelegate(new ChangeMarkDelegate(list));
  return list;
}

}  // namespace

TForm4::TForm4(zefa::Preview preview, std::function<void()> rename_run, QWidget* owner)
    : FixedDialog(owner, QStringLiteral("プレビュー"), kPreviewWidth, kPreviewHeight),
      preview_(std::move(preview)),
      rename_run_(std::move(rename_run)),
      before_model_(new PreviewListModel(preview_, PreviewListModel::Side::kBefore, this)),
      after_model_(new PreviewListModel(preview_, PreviewListModel::Side::kAfter, this)) {
  PlaceLabel(this, "Label1", QStringLiteral("BEFORE"), 8, 8);
  PlaceLabel(this, "Label2", QStringLiteral("AFTER"), 216, 8);
  PlaceLabel(this, "Label3", QStringLiteral("⇒"), 200, 120);
  list_box1_ = PlaceList(this, "ListBox1", before_model_, 8);
  list_box2_ = PlaceList(this, "ListBox2", after_model_, 216);
  auto* button1 = PlaceButton(this, "Button1", QStringLiteral("リネーム開始"), {224, 280, 83, 25});
  auto* button2 = PlaceButton(this, "Button2", QStringLiteral("閉じる"), {320, 280, 83, 25});
  button3_ = PlaceButton(this, "Button3", kShowFullPaths, {104, 240, 91, 25});
  // Under the lists, below フルパスを表示 and left of the two buttons, where no other
  // control stands: how many rows fail and whether the run will start at all.
  auto* label4 = PlaceLabel(this, "Label4", MessageToQt(preview_.FailureCountText()),
                            {8, 268, 208, 56}, Qt::AlignLeft | Qt::AlignTop);
  // Right of フルパスを表示 and above リネーム開始: numbers wider than the digit setting.
  auto* label5 = PlaceLabel(this, "Label5", MessageToQt(preview_.DigitsText()), {216, 238, 187, 38},
                            Qt::AlignLeft | Qt::AlignTop);
  for (QLabel* label : {label4, label5}) {
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kFailureText);
    label->setPalette(palette);
  }

  SetTabOrder({list_box1_, list_box2_, button1, button2, button3_});

  connect(button1, &QPushButton::clicked, this, &TForm4::Button1Click);
  connect(button2, &QPushButton::clicked, this, &TForm4::reject);  // Button2Click
  connect(button3_, &QPushButton::clicked, this, &TForm4::Button3Click);
  // A click on the selected row aligns the lists again, as a list box's click does.
  connect(list_box1_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TForm4::ListBox1Click);
  connect(list_box1_, &QListView::clicked, this, &TForm4::ListBox1Click);
  connect(list_box2_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TForm4::ListBox2Click);
  connect(list_box2_, &QListView::clicked, this, &TForm4::ListBox2Click);
  // BEFORE and AFTER read as one table: scrolling either, by its bar, the wheel or the
  // keys, scrolls both.
  for (auto [from, to] : {std::pair{list_box1_, list_box2_}, std::pair{list_box2_, list_box1_}}) {
    connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to->verticalScrollBar(),
            &QScrollBar::setValue);
  }

  FormCreate();

  // The window opens at its specified size and grows: the lists take the room, the
  // buttons keep their places relative to the bottom and right edges.
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, false);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setMinimumSize(kPreviewWidth, kPreviewHeight);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    specified_.emplace_back(child, child->geometry());
  }
}

TForm4::~TForm4() { DisconnectChildren(this); }

void TForm4::resizeEvent(QResizeEvent* event) {
  FixedDialog::resizeEvent(event);
  const int dx = std::max(0, width() - kPreviewWidth);
  const int dy = std::max(0, height() - kPreviewHeight);
  const int half = dx / 2;
  for (const auto& [widget, rect] : specified_) {
    const QString name = widget->objectName();
    QRect placed = rect;
    if (name == QLatin1String("ListBox1")) {
      placed.adjust(0, 0, half, dy);
    } else if (name == QLatin1String("ListBox2")) {
      placed.adjust(half, 0, dx, dy);
    } else if (name == QLatin1String("Label2")) {
      placed.translate(half, 0);
    } else if (name == QLatin1String("Label3")) {
      placed.translate(half, dy / 2);
    } else if (name == QLatin1String("Label5")) {
      placed.translate(half, dy);
    } else if (name == QLatin1String("Button1") || name == QLatin1String("Button2")) {
      placed.translate(dx, dy);
    } else {
      placed.translate(0, dy);
    }
    widget->setGeometry(placed);
  }
}

void TForm4::FormCreate() {
  for (QListView* list : {list_box2_, list_box1_}) {
    const QSize row(6 * list->contentsRect().width(), list->fontMetrics().height());
    static_cast<PreviewListModel*>(list->model())->SetRowSize(row);
  }
}

void TForm4::Button1Click() {
  if (rename_run_) rename_run_();
  accept();
}

void TForm4::Button3Click() {
  const bool show_full_paths = button3_->text() == kShowFullPaths;
  before_model_->SetFullPath(show_full_paths);
  button3_->setText(show_full_paths ? kShowFileNames : kShowFullPaths);
}

void TForm4::ListBox1Click() { Couple(list_box1_, list_box2_); }

void TForm4::ListBox2Click() { Couple(list_box2_, list_box1_); }

void TForm4::Couple(QListView* source, QListView* target) {
  if (coupling_) return;
  const QModelIndexList selected = source->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return;
  const int row = selected.front().row();
  if (row >= target->model()->rowCount()) return;
  coupling_ = true;
  target->setCurrentIndex(target->model()->index(row, 0));
  target->verticalScrollBar()->setValue(source->verticalScrollBar()->value());
  coupling_ = false;
}

void OpenPreview(QWidget* owner, const zefa::MainState& state, const zefa::Context& context,
                 std::function<void()> rename_run) {
  std::optional<zefa::Preview> preview = zefa::BuildPreview(state, context);
  if (!preview) return;
  TForm4 dialog(std::move(*preview), std::move(rename_run), owner);
  // The size the preview had when it was last closed; none or a strange one: as specified.
  const std::string stored =
      context.Settings().ReadString(zefa::keys::kSection, zefa::keys::kPreviewSize, "");
  int width = 0;
  int height = 0;
  if (std::sscanf(stored.c_str(), "%d,%d", &width, &height) == 2 && width >= kPreviewWidth &&
      height >= kPreviewHeight && width <= 10000 && height <= 10000) {
    dialog.resize(width, height);
  }
  const QSize opened = dialog.size();
  dialog.exec();
  if (dialog.size() == opened) return;
  try {
    zefa::SettingsFile settings = context.Settings();
    settings.CreateFolder();
    settings.WriteString(zefa::keys::kSection, zefa::keys::kPreviewSize,
                         std::to_string(dialog.width()) + "," + std::to_string(dialog.height()));
  } catch (const zefa::CommandError&) {
    // Remembering the size is a courtesy: a settings file that cannot be written is left.
  }
}
