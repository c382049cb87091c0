// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <functional>
#include <utility>
#include <vector>

#include "commands/context.h"
#include "commands/main_state.h"
#include "commands/preview_command.h"
#include "fixed_dialog.h"

class QListView;
class QPushButton;
class PreviewListModel;

/**
 * The preview: current names on the left, new names on the right, row for row. The lists
 * are views over the preview's rows, so a list of any length opens at once. "リネーム開始"
 * runs `rename_run` (the main window's rename command) while the preview is open and
 * closes it afterwards, whatever the run did.
 */
class TForm4 : public FixedDialog {
  Q_OBJECT

 public:
  TForm4(zefa::Preview preview, std::function<void()> rename_run, QWidget* owner = nullptr);
  ~TForm4() override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void Button1Click();
  void Button3Click();
  void ListBox1Click();
  void ListBox2Click();
  /** Selects the source's selected row in the target and aligns their first visible rows. */
  void Couple(QListView* source, QListView* target);

  zefa::Preview preview_;
  std::function<void()> rename_run_;
  PreviewListModel* before_model_;
  PreviewListModel* after_model_;
  QListView* list_box1_;
  QListView* list_box2_;
  QPushButton* button3_;
  std::vector<std::pair<QWidget*, QRect>> specified_;  // each control at the specified size
  bool coupling_ = false;
};

/**
 * Button12Click of the main window: fills a new preview from the state and the settings
 * and shows it modally. When the common name is refused, the check's message has been
 * shown and no preview opens.
 */
void OpenPreview(QWidget* owner, const zefa::MainState& state, const zefa::Context& context,
                 std::function<void()> rename_run);
