// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "list/rename_list.h"

class QLabel;
class QTableView;

namespace zefa {
class FileSystem;
class Prompter;
}  // namespace zefa

/**
 * Every row's unique name as one line of text beside its file's name: edit a line, paste a
 * column (Ctrl+V, from the current line on), copy lines (Ctrl+C), insert or delete lines,
 * or read a text or CSV file. OK writes the lines into the list when there is one per row;
 * a changed line is marked. The lines are a list of their own, not one text, so that a
 * million rows open at once.
 */
class TForm7 : public QDialog {
  Q_OBJECT

 public:
  TForm7(zefa::RenameList& list, zefa::Prompter& prompter, zefa::FileSystem& file_system,
         QWidget* owner = nullptr);
  ~TForm7() override;

  /** Reads the lines of a .txt or .csv file (its first fields) into the dialog. */
  bool LoadFile(const std::string& path);
  /** The lines as they stand. */
  const std::vector<std::string>& Lines() const;

 private:
  class LinesModel;
  class LinesView;
  void Button1Click();
  void Button2Click();
  void LinesChanged();

  zefa::RenameList& list_;
  zefa::Prompter& prompter_;
  zefa::FileSystem& file_system_;
  LinesModel* model_;
  QTableView* view_;
  QLabel* label1_;
};

/** 編集 → 固有ファイル名をテキストで編集…: shown modally; `changed` runs after OK applied. */
void OpenNamesText(QWidget* owner, zefa::RenameList& list, zefa::Prompter& prompter,
                   zefa::FileSystem& file_system, const std::function<void()>& changed);
