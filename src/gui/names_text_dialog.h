// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "renaming/rename_list.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zefa {
class FileSystem;
class Prompter;
}  // namespace zefa

/**
 * Every row's unique name as one line of plain text, its file's name drawn beside it: edit
 * freely, paste a column, or read a text or CSV file. OK writes the lines into the list
 * when there is one per row; a changed line is marked beside it.
 */
class TForm7 : public QDialog {
  Q_OBJECT

 public:
  TForm7(zefa::RenameList& list, zefa::Prompter& prompter, zefa::FileSystem& file_system,
         QWidget* owner = nullptr);
  ~TForm7() override;

  /** Reads the lines of a .txt or .csv file (its first fields) into the editor. */
  bool LoadFile(const std::string& path);
  /** The editor's lines as they stand. */
  std::vector<std::string> Lines() const;

 private:
  void Button1Click();
  void Button2Click();
  void TextChanged();

  zefa::RenameList& list_;
  zefa::Prompter& prompter_;
  zefa::FileSystem& file_system_;
  QPlainTextEdit* editor_;
  QLabel* label1_;
};

/** 編集 → 固有ファイル名をテキストで編集…: shown modally; `changed` runs after OK applied. */
void OpenNamesText(QWidget* owner, zefa::RenameList& list, zefa::Prompter& prompter,
                   zefa::FileSystem& file_system, const std::function<void()>& changed);
