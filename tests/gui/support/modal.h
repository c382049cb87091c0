// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

// Driving modal windows from a Qt Test (the TEST_MODAL pattern).
//
// A modal box or dialog runs its own event loop inside exec(), so a test cannot click it
// after the call that opens it: the call has not returned yet. Instead, say beforehand
// what to do with the next modal window, then make the call, then wait:
//
//   auto box = ExpectModal(ClickButton(QStringLiteral("はい(&Y)")));
//   const bool yes = prompter.Confirm("消しますか");   // returns once the box is answered
//   WAIT_FOR_MODAL(box);                               // fails the test if it went wrong
//   QCOMPARE(box->seen.title, QStringLiteral("確認"));
//   QVERIFY(yes);
//
// ExpectModal schedules, with QTimer::singleShot(0, ...), a look for
// QApplication::activeModalWidget(); it retries every few milliseconds until a modal
// window shows or the time-out passes. When one shows it records what the window shows
// (`seen`: class, title, text, buttons, default and escape button, icon, text format, and
// for a QFileDialog its filters, folder and file mode), then runs the action: click the
// button with the given text (mnemonic included), close the window as its title-bar
// button does, press a key (Escape, Return), or any function of your own.
//
// Several ExpectModal calls form a queue: each waits for a modal window other than the
// ones already handled, so a command that asks twice is answered in order.
//
// When something goes wrong (no modal window, no such button) the answer's `error` says
// so and the window is rejected, so the test fails instead of hanging. WAIT_FOR_MODAL
// waits until the answer is done and checks that `error` is empty; use it after the call
// that opens the window, and also when the window is opened from a later event.

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>

namespace zefa::gui_testing {

inline constexpr int kModalTimeoutMs = 10000;

/** What the modal window showed when the helper found it. */
struct ModalSeen {
  QString class_name;   // "QMessageBox", "QFileDialog", or the dialog's own class
  QString object_name;  // the window's object name
  QString title;        // window title
  // A QMessageBox:
  QString text;                               // QMessageBox::text(), as shown
  Qt::TextFormat text_format = Qt::AutoText;  // format of the label that shows the text
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;     // texts of its buttons, mnemonics included, in the order added
  QString default_button;  // text of the default button; empty when none
  QString escape_button;   // text of the button that closing or Escape presses
  // A QFileDialog:
  QStringList name_filters;
  QString directory;
  QFileDialog::FileMode file_mode = QFileDialog::AnyFile;
};

/** One expected modal window: filled in when it has been found and acted on. */
struct ModalAnswer {
  bool done = false;
  QString error;  // empty when all went as asked
  ModalSeen seen;
};

/** What to do with the modal window; may set `answer.error`. */
using ModalAction = std::function<void(QWidget* modal, ModalAnswer& answer)>;

/** Queues `action` for the next modal window not yet handled; see the top of this file. */
std::shared_ptr<ModalAnswer> ExpectModal(ModalAction action, int timeout_ms = kModalTimeoutMs);

/** Clicks the push button whose text is `text` ("はい(&Y)", "OK"). */
ModalAction ClickButton(const QString& text);
/** Closes the window as its title-bar button does (a close event). */
ModalAction CloseWindow();
/** Presses a key in the window (Qt::Key_Escape, Qt::Key_Return). */
ModalAction PressKey(Qt::Key key);
/** For a QFileDialog: chooses `path` and accepts, as typing it and pressing Open does. */
ModalAction ChooseFile(const QString& path);

/**
 * Drops every expectation still waiting (their answers end with an error) and returns how
 * many there were. Call it in a test's cleanup(), `QCOMPARE(CancelPendingModals(), 0)`, so
 * that a window that never showed fails that test and does not catch the next one's.
 */
int CancelPendingModals();

/** What a widget tree shows right now, in the same form (for dialogs a test opens itself). */
ModalSeen Describe(QWidget* window);

}  // namespace zefa::gui_testing

/** Waits until the expected modal window was handled, and fails the test on its error. */
#define WAIT_FOR_MODAL(answer)                                                             \
  do {                                                                                     \
    QTRY_VERIFY_WITH_TIMEOUT((answer)->done, ::zefa::gui_testing::kModalTimeoutMs + 1000); \
    QVERIFY2((answer)->error.isEmpty(), qPrintable((answer)->error));                      \
  } while (false)
