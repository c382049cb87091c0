// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "history_dialog.h"

#include <QAbstractTableModel>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>
#include <utility>

#include "commands/run_command.h"
#include "commands/undo_command.h"
#include "controls.h"
#include "platform/prompter.h"
#include "qt_text.h"
#include "text/name_text.h"

namespace {

constexpr int kClientWidth = 760;
constexpr int kClientHeight = 520;

QString StateText(zefa::RunState state) { return ToQt(zefa::RunStateText(state)); }

QString NameOf(std::string_view path) {
  return ToQt(zefa::DisplayName(zefa::FileNamePart(path, zefa::NativeTextRules())));
}

}  // namespace

/** The lines of the history, one per restore file. */
class RunListModel : public QAbstractTableModel {
 public:
  explicit RunListModel(QObject* parent) : QAbstractTableModel(parent) {}

  void Reset(std::vector<zefa::RunSummary> runs) {
    beginResetModel();
    runs_ = std::move(runs);
    pending_ = static_cast<std::size_t>(std::count_if(
        runs_.begin(), runs_.end(),
        [](const zefa::RunSummary& run) { return run.state == zefa::RunState::kPending; }));
    endResetModel();
  }

  void Update(std::size_t row, zefa::RunSummary run) {
    if (row >= runs_.size()) return;
    if (runs_[row].state == zefa::RunState::kPending && run.state != zefa::RunState::kPending) {
      --pending_;
    }
    runs_[row] = std::move(run);
    emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), kColumns - 1));
  }

  const std::vector<zefa::RunSummary>& runs() const { return runs_; }
  std::size_t pending() const { return pending_; }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(runs_.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : kColumns;
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QString kHeads[kColumns] = {
        QStringLiteral("日時"), QStringLiteral("ファイル数"), QStringLiteral("フォルダ"),
        QStringLiteral("最初のファイル"), QStringLiteral("状態")};
    return section >= 0 && section < kColumns ? kHeads[section] : QVariant();
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const zefa::RunSummary& run = runs_[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
      case 0:
        return TimeText(run);
      case 1:
        return QString::number(run.count);
      case 2:
        if (!run.whole) return QStringLiteral("…");
        if (run.many_folders) return QStringLiteral("複数のフォルダ");
        return ToQt(zefa::DisplayPath(run.folder));
      case 3: {
        if (run.first_before.empty() && run.first_after.empty()) return QString();
        const QString after =
            run.first_after.empty() && !run.whole ? QStringLiteral("…") : NameOf(run.first_after);
        return NameOf(run.first_before) + QStringLiteral(" → ") + after;
      }
      default:
        return StateText(run.state);
    }
  }

 private:
  static constexpr int kColumns = 5;

  static QString TimeText(const zefa::RunSummary& run) {
    if (!run.time) return ToQt(zefa::DisplayName(run.name));
    const zefa::LocalTime& t = *run.time;
    QString text = QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day,
                                     t.hour, t.minute, t.second);
    if (run.attempt > 1) text += QStringLiteral(" (%1)").arg(run.attempt);
    return text;
  }

  std::vector<zefa::RunSummary> runs_;
  std::size_t pending_ = 0;
};

/** The rows of one record, old path and new name, read from the record itself. */
class RunRowsModel : public QAbstractTableModel {
 public:
  explicit RunRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

  void Reset(std::shared_ptr<const zefa::RestoreRecord> record, std::vector<std::size_t> undone) {
    beginResetModel();
    record_ = std::move(record);
    undone_ = std::move(undone);
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || !record_ ? 0 : static_cast<int>(record_->size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 3; }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const QString kHeads[] = {QStringLiteral("変更前"), QStringLiteral("変更後"),
                                     QStringLiteral("状態")};
    return section >= 0 && section < 3 ? kHeads[section] : QVariant();
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid() || !record_) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const zefa::RestoreRow recorded = record_->Row(row);
    switch (index.column()) {
      case 0:
        return ToQt(zefa::DisplayPath(recorded.before));
      case 1:
        return NameOf(recorded.after);
      default:
        if (recorded.not_renamed) return QStringLiteral("名前は変わっていません");
        return std::binary_search(undone_.begin(), undone_.end(), row)
                   ? QStringLiteral("元に戻しました")
                   : QString();
    }
  }

 private:
  std::shared_ptr<const zefa::RestoreRecord> record_;
  std::vector<std::size_t> undone_;
};

THistoryForm::THistoryForm(const zefa::Context& context, QWidget* owner)
    : FixedDialog(owner, QStringLiteral("履歴"), kClientWidth, kClientHeight),
      context_(context),
      runs_model_(new RunListModel(this)),
      rows_model_(new RunRowsModel(this)),
      runs_view_(Place(new QTreeView(this), "HistoryList", QRect(8, 8, 744, 240))),
      rows_view_(Place(new QTreeView(this), "RowList", QRect(8, 256, 744, 220))),
      undo_button_(
          PlaceButton(this, "UndoButton", QStringLiteral("元に戻す"), QRect(8, 487, 100, 25))),
      trash_button_(PlaceButton(this, "TrashButton", QStringLiteral("ゴミ箱へ移動"),
                                QRect(116, 487, 100, 25))) {
  QPushButton* close_button =
      PlaceButton(this, "CloseButton", QStringLiteral("閉じる"), QRect(669, 487, 83, 25));
  for (QTreeView* view : {runs_view_, rows_view_}) {
    // Every line is one line high: the view never measures the rows it does not show.
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setTextElideMode(Qt::ElideMiddle);
  }
  runs_view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  runs_view_->setModel(runs_model_);
  rows_view_->setModel(rows_model_);
  const int run_widths[] = {165, 60, 210, 170};
  for (int i = 0; i < 4; ++i) runs_view_->setColumnWidth(i, run_widths[i]);
  rows_view_->setColumnWidth(0, 400);
  rows_view_->setColumnWidth(1, 220);
  connect(runs_view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &THistoryForm::ShowRows);
  connect(undo_button_, &QPushButton::clicked, this, &THistoryForm::UndoButtonClick);
  connect(trash_button_, &QPushButton::clicked, this, &THistoryForm::TrashButtonClick);
  connect(close_button, &QPushButton::clicked, this, &QDialog::reject);
  SetTabOrder({runs_view_, rows_view_, undo_button_, trash_button_, close_button});
  Reload();
}

THistoryForm::~THistoryForm() {
  DisconnectChildren(this);
  StopWorker();
}

void THistoryForm::StopWorker() {
  if (stop_) *stop_ = true;
  if (worker_.joinable()) worker_.join();
  stop_.reset();
}

void THistoryForm::Reload() {
  StopWorker();
  ++generation_;
  std::vector<zefa::RunSummary> runs;
  for (const std::string& path : zefa::ListRestoreFiles(
           context_.file_system, context_.paths.restore_folder, context_.rules)) {
    runs.push_back(zefa::ReadRunHead(context_.file_system, path, context_.rules));
  }
  std::vector<std::pair<std::size_t, zefa::RunSummary>> pending;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (runs[i].state == zefa::RunState::kPending) pending.emplace_back(i, runs[i]);
  }
  runs_model_->Reset(std::move(runs));
  if (runs_model_->rowCount({}) > 0) runs_view_->setCurrentIndex(runs_model_->index(0, 0));
  ShowRows();
  if (pending.empty()) return;
  // The lines are there; the runs' files are looked up without holding the window.
  stop_ = std::make_shared<std::atomic<bool>>(false);
  worker_ = std::thread(
      [this, pending = std::move(pending), stop = stop_, generation = generation_]() mutable {
        for (auto& [row, run] : pending) {
          if (*stop) return;
          zefa::CompleteRunSummary(run, context_.file_system, context_.rules);
          QMetaObject::invokeMethod(
              this,
              [this, row, run = std::move(run), generation]() mutable {
                if (generation == generation_) runs_model_->Update(row, std::move(run));
              },
              Qt::QueuedConnection);
        }
      });
}

bool THistoryForm::StatesKnown() const { return runs_model_->pending() == 0; }

std::vector<int> THistoryForm::SelectedRuns() const {
  std::vector<int> rows;
  for (const QModelIndex& index : runs_view_->selectionModel()->selectedRows()) {
    rows.push_back(index.row());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void THistoryForm::ShowRows() {
  const std::vector<int> selected = SelectedRuns();
  undo_button_->setEnabled(selected.size() == 1);
  trash_button_->setEnabled(!selected.empty());
  if (selected.size() != 1) {
    rows_model_->Reset(nullptr, {});
    return;
  }
  const std::string& path = runs_model_->runs()[static_cast<std::size_t>(selected.front())].path;
  zefa::FileRead bytes = context_.file_system.ReadFile(path, zefa::kMaxRestoreFileBytes);
  if (!bytes) {
    rows_model_->Reset(nullptr, {});
    return;
  }
  std::vector<std::size_t> undone = zefa::UndoneRows(*bytes);
  rows_model_->Reset(
      std::make_shared<const zefa::RestoreRecord>(zefa::RestoreRecord::Parse(std::move(*bytes))),
      std::move(undone));
}

void THistoryForm::UndoButtonClick() {
  const std::vector<int> selected = SelectedRuns();
  if (selected.size() != 1) return;
  const std::string path = runs_model_->runs()[static_cast<std::size_t>(selected.front())].path;
  // The files are about to move: what the worker would find of them is stale.
  StopWorker();
  zefa::RunCommand(context_.prompter, [&] { zefa::UndoRecord(context_, path, list_); });
  Reload();
  // The run undone stays the selected one.
  const auto& runs = runs_model_->runs();
  const auto found = std::find_if(runs.begin(), runs.end(),
                                  [&](const zefa::RunSummary& run) { return run.path == path; });
  if (found != runs.end()) {
    runs_view_->setCurrentIndex(runs_model_->index(static_cast<int>(found - runs.begin()), 0));
  }
}

void THistoryForm::TrashButtonClick() {
  const std::vector<int> selected = SelectedRuns();
  if (selected.empty()) return;
  zefa::Prompter& prompter = context_.prompter;
  prompter.Beep(zefa::BeepKind::kWarning);
  if (!prompter.Confirm("選択した " + std::to_string(selected.size()) +
                        " 個のリストアファイルをゴミ箱へ移動しますか？")) {
    return;
  }
  // A record is never deleted: the trash gives it back on request.
  std::string refused;
  for (const int row : selected) {
    const zefa::RunSummary& run = runs_model_->runs()[static_cast<std::size_t>(row)];
    if (!QFile::moveToTrash(PathToQt(run.path))) refused += "\n\r" + zefa::DisplayPath(run.path);
  }
  Reload();
  if (!refused.empty()) {
    prompter.Beep(zefa::BeepKind::kError);
    prompter.Error("以下のリストアファイルをゴミ箱へ移動できませんでした" + refused);
  }
}

void OpenHistory(QWidget* owner, const zefa::Context& context, zefa::RenameList* list) {
  THistoryForm dialog(context, owner);
  dialog.SetList(list);
  dialog.exec();
}
