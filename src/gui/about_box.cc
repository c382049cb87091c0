// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "about_box.h"

#include <qdrawutil.h>

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "controls.h"
#include "version.h"
#include "window_style.h"

namespace {

/** A panel with a lowered outer and a raised inner bevel, one pixel each. */
class BevelPanel : public QFrame {
 public:
  using QFrame::QFrame;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), /*sunken=*/true, 1);
    qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), /*sunken=*/false, 1);
  }
};

}  // namespace

TAboutBox::TAboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  setFont(WindowFont());
  FixClientSize(this, 284, 139);

  auto* panel = new BevelPanel(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setGeometry(8, 8, 265, 121);

  PlaceLabel(panel, "ProductName", QStringLiteral("アプリケーション名：ZeFa Oru"), 10, 18);
  PlaceLabel(panel, "Version", QStringLiteral("バージョン番号："), 10, 40);
  label1_ = PlaceLabel(panel, "Label1", QString::fromLatin1(zefa::kProgramVersion), 96, 40);
  PlaceLabel(panel, "Copyright", QStringLiteral("作者：ZeFa Oru 開発チーム"), 10, 62);
  PlaceLabel(panel, "Comments", QStringLiteral("公開日時：2026年12月8日"), 10, 84);

  auto* ok_button = PlaceButton(panel, "OKButton", QStringLiteral("閉じる"), {177, 74, 66, 25});
  ok_button->setAutoDefault(true);
  ok_button->setDefault(true);
  ok_button->setFocus();
  connect(ok_button, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

QString TAboutBox::VersionText(QWidget* owner) {
  const TAboutBox box(owner);
  return box.label1_->text();
}

void TAboutBox::Open(QWidget* owner) {
  TAboutBox box(owner);
  box.exec();
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    OKButtonClick();  // as 閉じる does
    return;
  }
  QDialog::keyPressEvent(event);
}

TAboutBox::~TAboutBox() { DisconnectChildren(this); }

void TAboutBox::OKButtonClick() { accept(); }
