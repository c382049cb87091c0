// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QTimer>
#include <deque>

namespace zefa::gui_testing {
namespace {

constexpr int kRetryMs = 10;

struct Pending {
  std::shared_ptr<ModalAnswer> answer;
  ModalAction action;
  int timeout_ms = kModalTimeoutMs;
  QDeadlineTimer deadline;
};

std::deque<Pending>& Queue() {
  static std::deque<Pending> queue;
  return queue;
}

// Windows already handled; a closed window drops out by itself when it is deleted.
QList<QPointer<QWidget>>& Handled() {
  static QList<QPointer<QWidget>> handled;
  return handled;
}

bool WasHandled(QWidget* widget) {
  for (const QPointer<QWidget>& seen : Handled()) {
    if (seen == widget) return true;
  }
  return false;
}

void Poll();

void StartHead() {
  if (Queue().empty()) return;
  Queue().front().deadline = QDeadlineTimer(Queue().front().timeout_ms);
  QTimer::singleShot(0, qApp, &Poll);
}

// Rejects a window that an action could not finish, so that the call waiting on it returns.
void GiveUp(QWidget* modal) {
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

void Poll() {
  if (Queue().empty()) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible() || WasHandled(modal)) {
    if (!Queue().front().deadline.hasExpired()) {
      QTimer::singleShot(kRetryMs, qApp, &Poll);
      return;
    }
    Pending expired = std::move(Queue().front());
    Queue().pop_front();
    expired.answer->error =
        QStringLiteral("no modal window appeared within %1 ms").arg(expired.timeout_ms);
    expired.answer->done = true;
    StartHead();
    return;
  }
  Pending current = std::move(Queue().front());
  Queue().pop_front();
  Handled().removeAll(QPointer<QWidget>());
  Handled().append(modal);
  current.answer->seen = Describe(modal);
  // The next expectation starts looking now: the action may open a window of its own and
  // not return before that one is answered.
  StartHead();
  const QPointer<QWidget> guard(modal);
  current.action(modal, *current.answer);
  if (!current.answer->error.isEmpty() && guard && guard->isVisible()) GiveUp(guard);
  current.answer->done = true;
}

// After an action that should have ended the window: an error when it is still open.
void CheckClosed(const QPointer<QWidget>& modal, ModalAnswer& answer, const QString& what) {
  if (modal && modal->isVisible()) {
    answer.error =
        QStringLiteral("the window \"%1\" stayed open after %2").arg(modal->windowTitle(), what);
  }
}

}  // namespace

std::shared_ptr<ModalAnswer> ExpectModal(ModalAction action, int timeout_ms) {
  auto answer = std::make_shared<ModalAnswer>();
  Queue().push_back({answer, std::move(action), timeout_ms, QDeadlineTimer()});
  if (Queue().size() == 1) StartHead();
  return answer;
}

int CancelPendingModals() {
  const int pending = static_cast<int>(Queue().size());
  for (Pending& waiting : Queue()) {
    waiting.answer->error = QStringLiteral("cancelled before a modal window showed");
    waiting.answer->done = true;
  }
  Queue().clear();
  return pending;
}

ModalAction ClickButton(const QString& text) {
  return [text](QWidget* modal, ModalAnswer& answer) {
    QStringList offered;
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
      if (!button->isVisible()) continue;
      if (button->text() == text) {
        button->click();
        return;
      }
      offered << button->text();
    }
    answer.error = QStringLiteral("no button \"%1\" in \"%2\"; it has: %3")
                       .arg(text, modal->windowTitle(), offered.join(QStringLiteral(", ")));
  };
}

ModalAction CloseWindow() {
  return [](QWidget* modal, ModalAnswer& answer) {
    const QPointer<QWidget> guard(modal);
    modal->close();
    CheckClosed(guard, answer, QStringLiteral("a close"));
  };
}

ModalAction PressKey(Qt::Key key) {
  return [key](QWidget* modal, ModalAnswer& answer) {
    const QPointer<QWidget> guard(modal);
    QTest::keyClick(modal, key);
    CheckClosed(guard, answer, QStringLiteral("a key press"));
  };
}

ModalAction ChooseFile(const QString& path) {
  return [path](QWidget* modal, ModalAnswer& answer) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr) {
      answer.error = QStringLiteral("\"%1\" is no file dialog").arg(modal->windowTitle());
      return;
    }
    const QPointer<QWidget> guard(modal);
    dialog->selectFile(path);
    // As the Open button does; QFileDialog keeps its accept() protected.
    static_cast<QDialog*>(dialog)->accept();
    CheckClosed(guard, answer, QStringLiteral("choosing ") + path);
  };
}

ModalSeen Describe(QWidget* window) {
  ModalSeen seen;
  seen.class_name = QString::fromLatin1(window->metaObject()->className());
  seen.object_name = window->objectName();
  seen.title = window->windowTitle();
  if (auto* box = qobject_cast<QMessageBox*>(window)) {
    seen.text = box->text();
    seen.icon = box->icon();
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    seen.text_format = label != nullptr ? label->textFormat() : box->textFormat();
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    if (box->defaultButton() != nullptr) seen.default_button = box->defaultButton()->text();
    if (box->escapeButton() != nullptr) seen.escape_button = box->escapeButton()->text();
    return seen;
  }
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!button->isVisible()) continue;
    seen.buttons << button->text();
    if (auto* push = qobject_cast<QPushButton*>(button); push != nullptr && push->isDefault()) {
      seen.default_button = push->text();
    }
  }
  if (auto* dialog = qobject_cast<QFileDialog*>(window)) {
    seen.name_filters = dialog->nameFilters();
    seen.directory = dialog->directory().absolutePath();
    seen.file_mode = dialog->fileMode();
  }
  return seen;
}

}  // namespace zefa::gui_testing
