// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "commands/context.h"
#include "fixed_dialog.h"
#include "list/rename_list.h"
#include "record/run_history.h"

class QPushButton;
class QTreeView;
class RunListModel;
class RunRowsModel;

/**
 * 「履歴」: every restore file of the restore folder, newest first, one line each, and the
 * rows of the selected one. The lines come from the records' heads at once; a worker
 * looks the runs' files up and fills their states in as it goes. 「元に戻す」 undoes the
 * selected run as the menu's 元に戻す does; 「ゴミ箱へ移動」 moves the selected records to
 * the desktop's trash.
 */
class THistoryForm : public FixedDialog {
  Q_OBJECT

 public:
  THistoryForm(const zefa::Context& context, QWidget* owner = nullptr);
  ~THistoryForm() override;

  /** Reads the restore folder again and starts looking the states up. */
  void Reload();
  /** Waits until every state is known (for tests and the benchmark). */
  bool StatesKnown() const;
  /** The main window's list, whose rows follow the files an undo from here gives back. */
  void SetList(zefa::RenameList* list) { list_ = list; }

 private:
  void UndoButtonClick();
  void TrashButtonClick();
  void ShowRows();
  void StopWorker();
  std::vector<int> SelectedRuns() const;

  zefa::Context context_;
  zefa::RenameList* list_ = nullptr;
  RunListModel* runs_model_;
  RunRowsModel* rows_model_;
  QTreeView* runs_view_;
  QTreeView* rows_view_;
  QPushButton* undo_button_;
  QPushButton* trash_button_;
  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> stop_;
  int generation_ = 0;
};

/**
 * ファイル → 履歴: shows the history modally. The rows of `list`, when given, follow the
 * files that an undo from the history gives back.
 */
void OpenHistory(QWidget* owner, const zefa::Context& context, zefa::RenameList* list = nullptr);
