// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "commands/context.h"
#include "commands/main_state.h"
#include "desktop_commands.h"

class ColumnModel;
struct FormControl;
class NewNameModel;
class NumberLabel;
class QTimer;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSpinBox;

namespace zefa {
class MediaDates;
}

/**
 * The main window: a thin view of the core's MainState. Every handler reads the fields
 * into the state, runs the core command and renders the state again.
 */
class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  /** `open_url` hands folders, pages and the help to the desktop. */
  TForm1(zefa::Prompter& prompter, zefa::FileSystem& file_system, zefa::ProgramPaths paths,
         UrlOpener open_url = &QDesktopServices::openUrl, QWidget* parent = nullptr);
  ~TForm1() override;

  zefa::MainState& state() { return state_; }
  zefa::Context context() const;
  /** Whether the update check asked the program to end. */
  bool quit_requested() const { return quit_requested_; }

  /** Shows the state again after it was changed from outside a handler (a dialog). */
  void Refresh() { Render(true); }

  /** The creation step; run again after every save of the settings. */
  void FormCreate();

  void ListBox1Click();
  void ListBox2Click();
  void ListBox3Click();
  void ListBox4Click();
  void ListBox2DblClick();
  void ListBox3DblClick();
  void Button10Click();
  void SpinEdit1Change();
  void Button4Click();
  void Button11Click();
  void Button6Click();
  void Button7Click();
  void Button8Click();
  void Button9Click();
  void Button5Click();
  void Button1Click();
  void Button14Click();
  void Exit2Click();
  void N1Click();
  void Button2Click();
  void Button12Click();
  void Button15Click();
  void Replace1Click();
  void Exit1Click();
  /** The settings dialog (Exit1, Button3); after a save the creation step runs again. */
  void OpenSettings();
  void Undo1Click();
  void History1Click();
  void About1Click();
  void AddFolder1Click();
  void SelectAll1Click();
  void SelectExtension1Click();
  void TakenOrder1Click();
  void ModifiedOrder1Click();
  void TakenName1Click();
  /** Names, under the common name, the tokens in it that are none. */
  void Edit2Change();
  /** 編集 → 固有ファイル名をテキストで編集…: every unique name as a line of text. */
  void EditAsText1Click();
  /** 表示 → 新しい名前を表示: the fifth column of new names, shown or hidden; remembered. */
  void ShowNewNames1Click();

  /** Adds dropped files in drop order. */
  void DropPaths(const std::vector<std::string>& paths);
  /** Files handed over by a later start of the program: added as a drop, window to the front. */
  void ReceivePaths(const std::vector<std::string>& paths);
  /** Whether a command, a box or a menu holds the window, so that handed files must wait. */
  bool IsBusy() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildMenu();
  /** 「フォルダを追加…」 in ファイル, 「全選択」 and 「拡張子で選択…」 in 編集. */
  /** The rows selected in `view`, ascending, and the one of them that has the focus. */
  static std::vector<int> SelectedRows(const QListView* view, int& focused);
  void RenderSelection(QListView* view, const zefa::ColumnView& column);
  void ConnectHandlers();
  QListView* MakeListBox(const FormControl& form, const zefa::ListColumn& column, int index);

  /** Runs a core command between reading the fields and rendering the state again. */
  template <typename Command>
  void Run(bool list_changes, Command&& command);
  void ListBoxClick(zefa::ColumnId source);
  void PullFromWidgets();
  void Render(bool list_changed);
  void ApplyScrollWidths();
  /** Places the columns and the controls for the client area's size (see LayOut in .cc). */
  void LayOut();
  /** The window's place, size and state as the settings remember them; none: as built. */
  void RestoreGeometry();
  /** Writes the window's place, size and state when they differ from those it opened with. */
  void SaveGeometry();
  /** The border between two columns at `x` over the headings (1 to 3), else -1. */
  int BorderAt(int x) const;
  /** The common name, start number or settings changed: the new names follow at once. */
  void NewNamesChanged();
  /** The naming settings read again (start, settings saved, column shown). */
  void ReadNewNameSettings();
  /** Starts the check of the whole list off the window's thread, once the typing rests. */
  void CheckNewNamesLater();
  void StartNewNameCheck();
  void PollNewNameCheck();
  void ShowEditTips();

  zefa::Prompter& prompter_;
  zefa::FileSystem& file_system_;
  zefa::ProgramPaths paths_;
  UrlOpener open_url_;
  std::unique_ptr<zefa::MediaDates> media_dates_;
  zefa::MainState state_;
  zefa::SerialNumbers numbers_;  // as the list stood at the last render that changed it
  bool quit_requested_ = false;
  bool rendering_ = false;
  int commands_running_ = 0;
  int new_names_generation_ = 0;  // counts the changes of the new names' request and rows

  std::array<QListView*, 4> list_boxes_{};
  std::array<ColumnModel*, 4> models_{};
  QLineEdit* edit1_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  QLineEdit* edit3_ = nullptr;
  QSpinBox* spin_edit1_ = nullptr;
  NumberLabel* label5_ = nullptr;
  NumberLabel* label10_ = nullptr;
  NumberLabel* label15_ = nullptr;
  QPushButton* button6_ = nullptr;
  QPushButton* button7_ = nullptr;

  // Every control's place at the specified size, moved as the window grows.
  std::vector<std::pair<QWidget*, QRect>> specified_;
  std::array<QLabel*, 5> headings_{};
  QListView* new_names_view_ = nullptr;
  NewNameModel* new_names_model_ = nullptr;
  QAction* show_new_names_ = nullptr;
  QTimer* check_timer_ = nullptr;  // the whole list's check waits for the typing to rest
  QTimer* poll_timer_ = nullptr;   // looks for the check's outcome
  struct NewNameCheck;
  std::shared_ptr<NewNameCheck> check_;  // the check under way, if any
  bool check_again_ = false;             // the request changed while a check was under way
  QRect opened_geometry_;
  bool opened_maximized_ = false;
  // How far the user dragged each border between two columns (1: 対象ファイル|固有ファイル名,
  // 2: |拡張子, 3: |新しい名前), from where the window's size puts it.
  std::array<int, 4> border_moves_{};
  std::array<int, 4> opened_border_moves_{};
  int dragged_border_ = -1;
  int drag_x_ = 0;
};
