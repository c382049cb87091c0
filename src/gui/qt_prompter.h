// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

/**
 * The core's questions as real message boxes and the file-open dialog. Every box is
 * modal over the parent, shows its text as plain text (never rich text), and turns the
 * core's "\n\r" line breaks into one line break. Yes/No boxes have Yes as default; any
 * answer but Yes, closing the box included, is No.
 */
class QtPrompter : public zefa::Prompter {
 public:
  /** The box captions, byte for byte. */
  static inline const QString kConfirmTitle = QStringLiteral("確認");
  static inline const QString kWarningTitle = QStringLiteral("警告");
  static inline const QString kErrorTitle = QStringLiteral("エラー");
  static inline const QString kApplicationTitle = QStringLiteral("ZeFa Oru");
  static inline const QString kYesText = QStringLiteral("はい(&Y)");
  static inline const QString kNoText = QStringLiteral("いいえ(&N)");
  static inline const QString kAbortText = QStringLiteral("中止(&A)");
  static inline const QString kOkText = QStringLiteral("OK");
  static inline const QString kCancelText = QStringLiteral("キャンセル");

  /** Where the beeps go: the system sound when empty; tests count them. */
  using SoundSink = std::function<void(zefa::BeepKind)>;

  /** `parent` owns every box (may be null); it may go away before the prompter does. */
  explicit QtPrompter(QWidget* parent, SoundSink sound = {});
  ~QtPrompter() override;

  /** The main window is made after its prompter: it becomes the boxes' owner then. */
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Beep(zefa::BeepKind kind) override;
  bool Confirm(const std::string& text) override;
  bool Warn(const std::string& text) override;
  void Error(const std::string& text) override;
  void Inform(const std::string& text) override;
  bool Ask(const std::string& text) override;
  void ApplicationError(const std::string& text) override;
  std::optional<std::string> ChooseFile(const zefa::FileChoice& choice) override;
  std::vector<std::string> ChooseFiles(const zefa::FileChoice& choice) override;
  std::optional<std::string> ChooseFolder(const std::string& initial_folder) override;
  std::optional<std::string> AskText(const std::string& title, const std::string& label) override;
  /**
   * A modal QProgressDialog (title "ZeFa Oru", button 中止) that the task's steps show
   * after a second; hidden while any box of this prompter is open.
   */
  std::unique_ptr<zefa::Progress> StartProgress(const std::string& text,
                                                std::size_t total) override;
  static inline const QString kStopText = QStringLiteral("中止");

  /**
   * A filter of the form "Name(*.ext)|*.ext|Other|*.a;*.b" as Qt's name filters joined by
   * ";;" ("Name(*.ext);;Other (*.a *.b)"); an empty filter offers every file.
   */
  static QString ToQtFilter(std::string_view filter);

 private:
  class QtProgress;

  /** Hides the window of a task under way, so that the box coming up takes every key. */
  void StepAsideForBox();
  bool AskYesNo(QMessageBox::Icon icon, const QString& title, const std::string& text);
  void Tell(QMessageBox::Icon icon, const QString& title, const QString& button,
            const std::string& text);

  QPointer<QWidget> parent_;
  SoundSink sound_;
  QtProgress* progress_ = nullptr;  // the task under way, if any
};
