// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "names_text_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "controls.h"
#include "platform/file_system.h"
#include "platform/prompter.h"
#include "qt_text.h"
#include "renaming/names_text.h"
#include "text/text_rules.h"
#include "window_style.h"

namespace {

// A names file is a column of names: far below this.
constexpr std::size_t kMaxFileBytes = 256u << 20;
constexpr int kGutterWidth = 240;
const QColor kChangedMark(0xE0, 0x8A, 0x00);

/**
 * The editor of the names, the file names drawn in a margin beside its lines, for the lines
 * on screen only, so that a million rows cost nothing there; a changed line gets a mark at
 * its edge.
 */
class NamesEditor : public QPlainTextEdit {
 public:
  NamesEditor(QWidget* parent, const zefa::RenameList& list)
      : QPlainTextEdit(parent), list_(list), margin_(new Margin(this)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setViewportMargins(kGutterWidth, 0, 0, 0);
    connect(this, &QPlainTextEdit::updateRequest, margin_, [this](const QRect&, int) {
      const QRect area = contentsRect();
      margin_->setGeometry(area.left(), area.top(), kGutterWidth, area.height());
      margin_->update();
    });
  }

 private:
  class Margin : public QWidget {
   public:
    explicit Margin(NamesEditor* editor) : QWidget(editor), editor_(editor) {
      setObjectName(QStringLiteral("FileNames"));
    }

   protected:
    void paintEvent(QPaintEvent*) override { editor_->PaintMargin(*this); }

   private:
    NamesEditor* editor_;
  };

  void PaintMargin(QWidget& margin) {
    QPainter painter(&margin);
    painter.fillRect(margin.rect(), margin.palette().color(QPalette::AlternateBase));
    const auto& paths = list_.path.entries;
    const auto& uniques = list_.unique.entries;
    const zefa::TextRules rules = zefa::NativeTextRules();
    QTextBlock block = firstVisibleBlock();
    int top = static_cast<int>(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top < margin.height()) {
      const int line_height = static_cast<int>(blockBoundingRect(block).height());
      const auto row = static_cast<std::size_t>(block.blockNumber());
      if (row < paths.size()) {
        painter.setPen(margin.palette().color(QPalette::Text));
        painter.drawText(QRect(8, top, margin.width() - 12, line_height), Qt::AlignVCenter,
                         PathToQt(zefa::FileNamePart(paths[row], rules)));
        if (block.text() != ToQt(uniques[row])) {
          painter.fillRect(QRect(0, top, 5, line_height), kChangedMark);
        }
      } else {
        painter.fillRect(QRect(0, top, 5, line_height), Qt::red);  // a line past the rows
      }
      top += line_height;
      block = block.next();
    }
  }

  const zefa::RenameList& list_;
  Margin* margin_;
};

}  // namespace

TForm7::TForm7(zefa::RenameList& list, zefa::Prompter& prompter, zefa::FileSystem& file_system,
               QWidget* owner)
    : QDialog(owner), list_(list), prompter_(prompter), file_system_(file_system) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(QStringLiteral("固有ファイル名をテキストで編集"));
  setFont(WindowFont());
  resize(640, 480);

  editor_ = new NamesEditor(this, list_);
  editor_->setObjectName(QStringLiteral("Memo1"));

  // One text, one join: a million lines are handed to the editor in one piece.
  std::string text;
  std::size_t bytes = 0;
  for (const std::string& name : list_.unique.entries) bytes += name.size() + 1;
  text.reserve(bytes);
  for (std::size_t i = 0; i < list_.unique.entries.size(); ++i) {
    if (i > 0) text += '\n';
    text += list_.unique.entries[i];
  }
  editor_->setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));

  label1_ = new QLabel(this);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setTextFormat(Qt::PlainText);
  label1_->setWordWrap(true);
  QPalette palette = label1_->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label1_->setPalette(palette);

  auto* load = new QPushButton(QStringLiteral("ファイルから読み込む(&L)…"), this);
  load->setObjectName(QStringLiteral("Button2"));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("Button3"));
  for (QPushButton* button : {load, ok, cancel}) button->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(load);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(editor_);
  layout->addWidget(label1_);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &TForm7::Button1Click);
  connect(load, &QPushButton::clicked, this, &TForm7::Button2Click);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(editor_, &QPlainTextEdit::textChanged, this, &TForm7::TextChanged);
}

TForm7::~TForm7() = default;

std::vector<std::string> TForm7::Lines() const {
  const QStringList parts = editor_->toPlainText().split(QLatin1Char('\n'));
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(parts.size()));
  for (const QString& part : parts) lines.push_back(FromQt(part));
  // A pasted column usually ends in a line break: the empty line after it is no name.
  if (lines.size() == list_.unique.entries.size() + 1 && lines.back().empty()) lines.pop_back();
  if (list_.unique.entries.empty() && lines.size() == 1 && lines.back().empty()) lines.clear();
  return lines;
}

void TForm7::TextChanged() {
  const int lines = editor_->blockCount();
  const auto rows = static_cast<int>(list_.unique.entries.size());
  label1_->setText(
      lines == rows
          ? QString()
          : QStringLiteral("行の数 %1 がファイルの数 %2 と合いません").arg(lines).arg(rows));
}

bool TForm7::LoadFile(const std::string& path) {
  const std::optional<std::string> bytes = file_system_.ReadFile(path, kMaxFileBytes);
  if (!bytes) {
    prompter_.Beep(zefa::BeepKind::kError);
    prompter_.Error("ファイルを読み込めません\n\r" + path);
    return false;
  }
  const bool csv =
      path.size() >= 4 && QString::fromUtf8(path.c_str() + path.size() - 4)
                                  .compare(QStringLiteral(".csv"), Qt::CaseInsensitive) == 0;
  const std::vector<std::string> lines = zefa::NameLines(zefa::DecodeNamesFile(*bytes), csv);
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  editor_->setPlainText(ToQt(text));
  return true;
}

void TForm7::Button2Click() {
  zefa::FileChoice choice;
  const std::optional<std::string> path = prompter_.ChooseFile(choice);
  if (path) LoadFile(*path);
}

void TForm7::Button1Click() {
  std::vector<std::string> lines = Lines();
  if (const std::string text = zefa::LineCountText(lines, list_); !text.empty()) {
    prompter_.Beep(zefa::BeepKind::kError);
    prompter_.Error(text);
    return;
  }
  // A line left as it was keeps its name's own bytes, also those the editor cannot show.
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& name = list_.unique.entries[i];
    if (lines[i] != name && lines[i] == FromQt(ToQt(name))) lines[i] = name;
  }
  zefa::ApplyNameLines(list_, std::move(lines));
  accept();
}

void OpenNamesText(QWidget* owner, zefa::RenameList& list, zefa::Prompter& prompter,
                   zefa::FileSystem& file_system, const std::function<void()>& changed) {
  TForm7 dialog(list, prompter, file_system, owner);
  if (dialog.exec() == QDialog::Accepted && changed) changed();
}
