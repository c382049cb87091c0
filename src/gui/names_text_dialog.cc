// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names_text_dialog.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "list/names_text.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "qt_text.h"
#include "text/text_rules.h"
#include "window_style.h"

namespace {

// A names file is a column of names: far below this.
constexpr std::size_t kMaxFileBytes = 256u << 20;
const QColor kChangedLine(0xFF, 0xE8, 0xC0);
const QColor kExtraLine(0xFF, 0xE4, 0xE4);

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace

/** The lines beside the rows' file names; only the rows on screen are ever asked for. */
class TForm7::LinesModel : public QAbstractTableModel {
 public:
  LinesModel(const zefa::RenameList& list, QObject* parent)
      : QAbstractTableModel(parent), list_(list), lines_(list.unique.entries) {}

  const std::vector<std::string>& lines() const { return lines_; }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }

  QVariant data(const QModelIndex& index, int role) const override {
    const auto row = static_cast<std::size_t>(index.row());
    const bool listed = row < list_.unique.entries.size();
    if (index.column() == 0) {
      if (role != Qt::DisplayRole || !listed) return {};
      return PathToQt(zefa::FileNamePart(list_.path.entries[row], zefa::NativeTextRules()));
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) return ToQt(lines_[row]);
    if (role == Qt::BackgroundRole) {
      if (!listed) return kExtraLine;
      if (lines_[row] != list_.unique.entries[row]) return kChangedLine;
    }
    return {};
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section == 0 ? QStringLiteral("ファイル名") : QStringLiteral("固有ファイル名");
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == 1) flags |= Qt::ItemIsEditable;
    return flags;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::EditRole || index.column() != 1) return false;
    std::string text = FromQt(value.toString());
    // A line break typed or pasted into one line starts no new line here.
    std::replace(text.begin(), text.end(), '\n', ' ');
    lines_[static_cast<std::size_t>(index.row())] = std::move(text);
    emit dataChanged(index, index);
    return true;
  }

  void SetLines(std::vector<std::string> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
  }

  /** `pasted` over the lines from `row` on; lines past the last are added. */
  void Paste(int row, const std::vector<std::string>& pasted) {
    const auto from = static_cast<std::size_t>(std::max(row, 0));
    const std::size_t end = std::min(lines_.size(), from + pasted.size());
    for (std::size_t i = from; i < end; ++i) lines_[i] = pasted[i - from];
    if (end > from)
      emit dataChanged(index(static_cast<int>(from), 1), index(static_cast<int>(end) - 1, 1));
    if (from + pasted.size() > lines_.size()) {
      const std::size_t added = from + pasted.size() - lines_.size();
      beginInsertRows({}, static_cast<int>(lines_.size()),
                      static_cast<int>(lines_.size() + added) - 1);
      lines_.insert(lines_.end(), pasted.end() - static_cast<std::ptrdiff_t>(added), pasted.end());
      endInsertRows();
    }
  }

  void InsertLine(int row) {
    row = std::clamp(row, 0, static_cast<int>(lines_.size()));
    beginInsertRows({}, row, row);
    lines_.insert(lines_.begin() + row, std::string());
    endInsertRows();
  }

  /** Takes the lines `rows` out (rising, each once). */
  void RemoveLines(const std::vector<int>& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
      beginRemoveRows({}, *it, *it);
      lines_.erase(lines_.begin() + *it);
      endRemoveRows();
    }
  }

 private:
  const zefa::RenameList& list_;
  std::vector<std::string> lines_;
};

/** The table's keys: Ctrl+V pastes a column, Ctrl+C copies lines, Delete empties them. */
class TForm7::LinesView : public QTableView {
 public:
  LinesView(LinesModel* model, QWidget* parent) : QTableView(parent), model_(model) {}

  std::vector<int> SelectedLines() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
      rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Paste)) {
      const QByteArray text = QApplication::clipboard()->text().toUtf8();
      // A spreadsheet's column comes as lines; of a row of cells the first is taken.
      std::vector<std::string> lines = zefa::NameLines(std::string_view(text.data(), text.size()));
      for (std::string& line : lines) line = line.substr(0, line.find('\t'));
      model_->Paste(currentIndex().row(), lines);
    } else if (event->matches(QKeySequence::Copy)) {
      std::vector<std::string> lines;
      for (const int row : SelectedLines())
        lines.push_back(model_->lines()[static_cast<std::size_t>(row)]);
      QApplication::clipboard()->setText(ToQt(Joined(lines)));
    } else if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
      for (const int row : SelectedLines())
        model_->setData(model_->index(row, 1), QString(), Qt::EditRole);
    } else {
      QTableView::keyPressEvent(event);
      return;
    }
    event->accept();
  }

 private:
  LinesModel* model_;
};

TForm7::TForm7(zefa::RenameList& list, zefa::Prompter& prompter, zefa::FileSystem& file_system,
               QWidget* owner)
    : QDialog(owner), list_(list), prompter_(prompter), file_system_(file_system) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(QStringLiteral("固有ファイル名をテキストで編集"));
  setFont(WindowFont());
  resize(640, 480);

  model_ = new LinesModel(list_, this);
  auto* view = new LinesView(model_, this);
  view_ = view;
  view_->setObjectName(QStringLiteral("Lines1"));
  view_->setModel(model_);
  view_->setWordWrap(false);
  view_->setTextElideMode(Qt::ElideNone);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  // Every row as high as the font's line: a million rows are laid out without asking each.
  QHeaderView* rows = view_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(fontMetrics().height() + 4);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view_->setColumnWidth(0, 220);
  view_->horizontalHeader()->setStretchLastSection(true);

  label1_ = new QLabel(this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setTextFormat(Qt::PlainText);
  QPalette palette = label1_->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label1_->setPalette(palette);

  const auto button = [this](const char* name, const QString& caption) {
    auto* made = new QPushButton(caption, this);
    made->setObjectName(QString::fromLatin1(name));
    made->setAutoDefault(false);
    return made;
  };
  QPushButton* insert = button("Button4", QStringLiteral("行を挿入(&I)"));
  QPushButton* remove = button("Button5", QStringLiteral("行を削除(&D)"));
  QPushButton* load = button("Button2", QStringLiteral("ファイルから読み込む(&L)…"));
  QPushButton* ok = button("Button1", QStringLiteral("OK"));
  QPushButton* cancel = button("Button3", QStringLiteral("キャンセル"));

  auto* buttons = new QHBoxLayout;
  for (QPushButton* left : {insert, remove, load}) buttons->addWidget(left);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_);
  layout->addWidget(label1_);
  layout->addLayout(buttons);

  connect(insert, &QPushButton::clicked, this,
          [this] { model_->InsertLine(std::max(0, view_->currentIndex().row())); });
  connect(remove, &QPushButton::clicked, this,
          [this, view] { model_->RemoveLines(view->SelectedLines()); });
  connect(ok, &QPushButton::clicked, this, &TForm7::Button1Click);
  connect(load, &QPushButton::clicked, this, &TForm7::Button2Click);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
    connect(model_, signal, this, &TForm7::LinesChanged);
  }
  connect(model_, &QAbstractItemModel::modelReset, this, &TForm7::LinesChanged);
}

TForm7::~TForm7() = default;

const std::vector<std::string>& TForm7::Lines() const { return model_->lines(); }

void TForm7::LinesChanged() {
  const std::size_t lines = model_->lines().size();
  const std::size_t rows = list_.unique.entries.size();
  label1_->setText(
      lines == rows
          ? QString()
          : QStringLiteral("行の数 %1 がファイルの数 %2 と合いません").arg(lines).arg(rows));
}

bool TForm7::LoadFile(const std::string& path) {
  const zefa::FileRead bytes = file_system_.ReadFile(path, kMaxFileBytes);
  if (!bytes) {
    prompter_.Beep(zefa::BeepKind::kError);
    prompter_.Error("ファイルを読み込めません\n\r" + path);
    return false;
  }
  const QString name = PathToQt(path);
  const bool csv = name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
  model_->SetLines(zefa::NameLines(zefa::DecodeNamesFile(*bytes), csv));
  return true;
}

void TForm7::Button2Click() {
  const std::optional<std::string> path = prompter_.ChooseFile(zefa::FileChoice{});
  if (path) LoadFile(*path);
}

void TForm7::Button1Click() {
  std::vector<std::string> lines = model_->lines();
  if (const std::string text = zefa::LineCountText(lines, list_); !text.empty()) {
    prompter_.Beep(zefa::BeepKind::kError);
    prompter_.Error(text);
    return;
  }
  zefa::ApplyNameLines(list_, std::move(lines));
  accept();
}

void OpenNamesText(QWidget* owner, zefa::RenameList& list, zefa::Prompter& prompter,
                   zefa::FileSystem& file_system, const std::function<void()>& changed) {
  TForm7 dialog(list, prompter, file_system, owner);
  if (dialog.exec() == QDialog::Accepted && changed) changed();
}
