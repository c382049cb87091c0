// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "qt_prompter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpacerItem>
#include <QStringList>
#include <QTreeView>
#include <algorithm>
#include <limits>

#include "qt_text.h"

namespace {

// The title bar's icon, its buttons and their margins, as most window managers draw them.
constexpr int kTitleBarButtonsWidth = 160;

// A box with the caption, icon and plain text; buttons are added by the caller.
void SetUpBox(QMessageBox& box, QMessageBox::Icon icon, const QString& title,
              const std::string& text) {
  box.setIcon(icon);
  box.setWindowTitle(title);
  box.setTextFormat(Qt::PlainText);
  box.setText(MessageToQt(text));
  // A short message makes a narrow box, whose title bar would cut "ZeFa Oru" to "Z…": the
  // box is made wide enough for its title beside the title bar's buttons.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const int room =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(title) +
        kTitleBarButtonsWidth;
    grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

// The window follows the task at most this often, so that a fast step costs a clock read.
constexpr qint64 kProgressUpdateMs = 40;
constexpr int kProgressShowMs = 1000;

}  // namespace

/**
 * The window of one task. It is shown by the task's own steps alone, once the task has
 * run for a second, never by a timer: so it never comes up while the task waits on a
 * message box, and it steps aside for every box the prompter shows meanwhile.
 */
class QtPrompter::QtProgress : public zefa::Progress {
 public:
  QtProgress(QtPrompter& prompter, const std::string& text, std::size_t total)
      : prompter_(prompter),
        text_(MessageToQt(text)),
        total_(total),
        dialog_(text_, QtPrompter::kStopText, 0, Steps(total), prompter.parent_) {
    dialog_.setWindowTitle(QtPrompter::kApplicationTitle);
    dialog_.setWindowModality(Qt::ApplicationModal);
    // QProgressDialog's own timer would show the window even while a box is up.
    dialog_.setMinimumDuration(std::numeric_limits<int>::max());
    dialog_.setAutoReset(false);
    dialog_.setAutoClose(false);
    dialog_.hide();
    clock_.start();
    prompter_.progress_ = this;
  }

  ~QtProgress() override {
    if (prompter_.progress_ == this) prompter_.progress_ = nullptr;
  }

  bool Advance(std::size_t done) override {
    if (clock_.elapsed() - last_ms_ < kProgressUpdateMs) return !dialog_.wasCanceled();
    last_ms_ = clock_.elapsed();
    if (!dialog_.isVisible() && last_ms_ >= kProgressShowMs) dialog_.show();
    if (!dialog_.isVisible()) return true;
    // A task that cannot count its steps beforehand shows how many are done.
    dialog_.setLabelText(total_ == 0 ? text_ + QStringLiteral("（%1）").arg(done)
                                     : text_ + QStringLiteral("（%1 / %2）").arg(done).arg(total_));
    dialog_.setValue(std::min(Steps(done), dialog_.maximum()));
    // The window is painted and hears 中止 here.
    QCoreApplication::processEvents();
    return !dialog_.wasCanceled();
  }

  /** Out of the way of a message box; the next step shows it again. */
  void StepAside() { dialog_.hide(); }

 private:
  static int Steps(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, std::numeric_limits<int>::max()));
  }

  QtPrompter& prompter_;
  QString text_;
  std::size_t total_;
  QProgressDialog dialog_;
  QElapsedTimer clock_;
  qint64 last_ms_ = 0;
};

namespace {

// Where a file dialog opens: the folder asked for, else the home folder, never the folder
// the last dialog of any kind was left in (the hidden restore folder after an undo).
QString StartFolder(const std::string& folder) {
  return folder.empty() ? QDir::homePath() : PathToQt(folder);
}

// Restore files are named by date without zero padding, so their name order is not their
// time order: the newest comes selected, and the names are shown whole with their dates.
void SelectNewest(QFileDialog& dialog, const std::string& preselected) {
  // The patterns of the filter in use: "ZeFaファイル(*.zefa)" offers "*.zefa".
  const QString filter = dialog.selectedNameFilter();
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const QStringList patterns = open < 0 || !filter.endsWith(QLatin1Char(')'))
                                   ? QStringList()
                                   : filter.mid(open + 1, filter.size() - open - 2)
                                         .split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const QFileInfoList newest = dialog.directory().entryInfoList(patterns, QDir::Files, QDir::Time);
  dialog.setViewMode(QFileDialog::Detail);
  dialog.resize(std::max(dialog.width(), 640), std::max(dialog.height(), 400));
  if (auto* model = dialog.findChild<QFileSystemModel*>()) {
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &dialog, [&dialog] {
      if (auto* view = dialog.findChild<QTreeView*>()) view->resizeColumnToContents(0);
    });
  }
  if (!preselected.empty()) {
    dialog.selectFile(PathToQt(preselected));
  } else if (!newest.isEmpty()) {
    dialog.selectFile(newest.front().fileName());
  }
}

}  // namespace

QtPrompter::QtPrompter(QWidget* parent, SoundSink sound)
    : parent_(parent), sound_(std::move(sound)) {}

QtPrompter::~QtPrompter() = default;

void QtPrompter::StepAsideForBox() {
  if (progress_ != nullptr) progress_->StepAside();
}

void QtPrompter::Beep(zefa::BeepKind kind) {
  if (sound_) {
    sound_(kind);
    return;
  }
  // Qt knows one system sound; the kinds differ only on the platforms that have them.
  QApplication::beep();
}

bool QtPrompter::AskYesNo(QMessageBox::Icon icon, const QString& title, const std::string& text) {
  StepAsideForBox();
  QMessageBox box(parent_);
  SetUpBox(box, icon, title, text);
  QPushButton* yes = box.addButton(kYesText, QMessageBox::YesRole);
  QPushButton* no = box.addButton(kNoText, QMessageBox::NoRole);
  box.setDefaultButton(yes);
  // Closing the box or pressing Escape answers No.
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

void QtPrompter::Tell(QMessageBox::Icon icon, const QString& title, const QString& button,
                      const std::string& text) {
  StepAsideForBox();
  QMessageBox box(parent_);
  SetUpBox(box, icon, title, text);
  QPushButton* only = box.addButton(button, QMessageBox::AcceptRole);
  box.setDefaultButton(only);
  box.setEscapeButton(only);
  box.exec();
}

bool QtPrompter::Confirm(const std::string& text) {
  return AskYesNo(QMessageBox::Question, kConfirmTitle, text);
}

bool QtPrompter::Warn(const std::string& text) {
  return AskYesNo(QMessageBox::Warning, kWarningTitle, text);
}

void QtPrompter::Error(const std::string& text) {
  Tell(QMessageBox::Critical, kErrorTitle, kAbortText, text);
}

void QtPrompter::Inform(const std::string& text) {
  Tell(QMessageBox::NoIcon, kApplicationTitle, kOkText, text);
}

bool QtPrompter::Ask(const std::string& text) {
  return AskYesNo(QMessageBox::NoIcon, kApplicationTitle, text);
}

void QtPrompter::ApplicationError(const std::string& text) {
  Tell(QMessageBox::Critical, kApplicationTitle, kOkText, text);
}

QString QtPrompter::ToQtFilter(std::string_view filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt takes the patterns from the parentheses that end the name; add them when the
    // name does not already end with exactly these.
    if (name.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
      filters << name;
    } else {
      filters << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
  }
  return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtPrompter::ChooseFile(const zefa::FileChoice& choice) {
  StepAsideForBox();
  QFileDialog dialog(parent_, QString(), StartFolder(choice.initial_folder),
                     ToQtFilter(choice.filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (choice.select_newest) SelectNewest(dialog, choice.preselected);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  // The dialog lists only names that are text, so UTF-8 gives back the file's own bytes.
  return FromQt(files.front());
}

std::vector<std::string> QtPrompter::ChooseFiles(const zefa::FileChoice& choice) {
  QFileDialog dialog(parent_, QString(), StartFolder(choice.initial_folder),
                     ToQtFilter(choice.filter));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted) return {};
  std::vector<std::string> files;
  for (const QString& file : dialog.selectedFiles()) files.push_back(FromQt(file));
  return files;
}

std::optional<std::string> QtPrompter::AskText(const std::string& title, const std::string& label) {
  QInputDialog dialog(parent_);
  dialog.setObjectName(QStringLiteral("TextDialog"));
  dialog.setWindowTitle(ToQt(title));
  dialog.setLabelText(ToQt(label));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setOkButtonText(kOkText);
  dialog.setCancelButtonText(kCancelText);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQt(dialog.textValue());
}

std::optional<std::string> QtPrompter::ChooseFolder(const std::string& initial_folder) {
  QFileDialog dialog(parent_, QString(), StartFolder(initial_folder));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList folders = dialog.selectedFiles();
  if (folders.isEmpty()) return std::nullopt;
  return FromQt(folders.front());
}

std::unique_ptr<zefa::Progress> QtPrompter::StartProgress(const std::string& text,
                                                          std::size_t total) {
  return std::make_unique<QtProgress>(*this, text, total);
}
