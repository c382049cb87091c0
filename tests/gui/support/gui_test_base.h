// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>

#include "commands/context.h"
#include "commands/main_state.h"
#include "platform/file_system.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

/** What every GUI test looks windows up with and checks them by. */
namespace zefa::test {

/** One control of a form's table: where it stands inside its parent and its caption. */
struct ControlPlace {
  const char* name;
  QRect geometry;           // an empty size: a label sized to its caption
  const char* caption;      // nullptr: no caption to check
  const char* parent = "";  // the group box it stands in; empty: the form itself
};

template <typename T>
T* Find(QWidget* form, const char* name) {
  T* found = form->findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) qFatal("no control %s", name);
  return found;
}

template <typename T>
T* Find(QWidget& form, const char* name) {
  return Find<T>(&form, name);
}

inline QString CaptionOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* spin = qobject_cast<QSpinBox*>(widget)) return spin->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  return {};
}

/**
 * The frame every dialog shares: caption, client size (fixed, or the least of a dialog
 * that grows), the form font.
 */
inline void CheckDialogFrame(QDialog* dialog, const char* caption, QSize client,
                             bool grows = false) {
  QCOMPARE(dialog->windowTitle(), QString::fromUtf8(caption));
  QCOMPARE(dialog->size(), client);
  QCOMPARE(dialog->minimumSize(), client);
  if (!grows) QCOMPARE(dialog->maximumSize(), client);
  QCOMPARE(dialog->font().families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
  QCOMPARE(dialog->font().families().value(1), QStringLiteral("IPAPGothic"));
  QCOMPARE(dialog->font().pixelSize(), 12);
}

inline void CheckControls(QWidget* form, std::span<const ControlPlace> controls) {
  for (const ControlPlace& control : controls) {
    auto* widget = Find<QWidget>(form, control.name);
    QWidget* parent = *control.parent != '\0' ? Find<QWidget>(form, control.parent) : form;
    QVERIFY2(widget->parentWidget() == parent, control.name);
    if (control.geometry.size().isEmpty()) {
      QVERIFY2(widget->pos() == control.geometry.topLeft(), control.name);
      // A label sized to its caption shows all of it.
      QVERIFY2(widget->width() >= widget->fontMetrics().horizontalAdvance(CaptionOf(widget)),
               control.name);
    } else {
      QVERIFY2(widget->geometry() == control.geometry, control.name);
    }
    if (control.caption != nullptr) {
      QCOMPARE(CaptionOf(widget), QString::fromUtf8(control.caption));
    }
  }
}

/** Tab moves through the named controls in this order. */
inline void CheckTabOrder(QWidget* form, std::initializer_list<const char*> names) {
  for (const auto* name = names.begin(); name + 1 != names.end(); ++name) {
    QWidget* next = Find<QWidget>(form, *name)->nextInFocusChain();
    while (next->objectName().isEmpty() || next->focusPolicy() == Qt::NoFocus ||
           next->objectName().startsWith(QStringLiteral("qt_"))) {
      next = next->nextInFocusChain();
    }
    QCOMPARE(next->objectName(), QString::fromLatin1(name[1]));
  }
}

/** A temporary program folder, the real file system and a scripted prompter. */
struct DialogFixture {
  std::unique_ptr<TempDir> dir = std::make_unique<TempDir>();
  ScriptedPrompter prompter;
  NativeFileSystem file_system;

  Context MakeContext(const std::string& settings_path = {}) {
    ProgramPaths paths = ProgramPathsIn(*dir);
    if (!settings_path.empty()) paths.settings_path = settings_path;
    return Context{prompter, file_system, paths, TextRules{}};
  }
};

}  // namespace zefa::test
