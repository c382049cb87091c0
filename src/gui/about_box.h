// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

class QKeyEvent;
class QLabel;

/**
 * The version information box. Its Label1 is the one place where the program's version
 * is written down; the update check reads it from there.
 */
class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* owner = nullptr);
  ~TAboutBox() override;

  /** The program's version, read from the Label1 of a box that is made and released. */
  static QString VersionText(QWidget* owner = nullptr);
  /** About1Click: a fresh box over the owner, shown modally, released when it closes. */
  static void Open(QWidget* owner);

 protected:
  /** Escape closes the box as its 閉じる button does. */
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OKButtonClick();

  QLabel* label1_ = nullptr;
};
