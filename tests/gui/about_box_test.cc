// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "about_box.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstdlib>

#include "desktop_commands.h"
#include "http_test_server.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

using zefa::test::HttpReply;
using zefa::test::HttpTestServer;
using zefa::test::ScriptedPrompter;
using zefa::test::TempDir;

namespace {

QStringList Log(const ScriptedPrompter& prompter) {
  QStringList lines;
  for (const std::string& line : prompter.log) lines << QString::fromStdString(line);
  return lines;
}

QString Text(const TAboutBox& box, const char* name) {
  const auto* label = box.findChild<QLabel*>(QLatin1String(name));
  return label != nullptr ? label->text() : QStringLiteral("(missing)");
}

struct Recorder {
  QList<QUrl> urls;
  UrlOpener opener() {
    return [this](const QUrl& url) {
      urls << url;
      return true;
    };
  }
};

}  // namespace

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlsAndLayout() {
    const TAboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(box.size(), QSize(284, 139));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(!(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                   Qt::WindowContextHelpButtonHint)));
    QCOMPARE(box.font().families(),
             (QStringList{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")}));
    QCOMPARE(box.font().pixelSize(), 12);

    const auto* panel = box.findChild<QFrame*>(QStringLiteral("Panel1"));
    QVERIFY(panel != nullptr);
    QCOMPARE(panel->geometry(), QRect(8, 8, 265, 121));

    const struct {
      const char* name;
      QString caption;
      QPoint position;
    } labels[] = {
        {"ProductName", QStringLiteral("アプリケーション名：ZeFa Oru"), {10, 18}},
        {"Version", QStringLiteral("バージョン番号："), {10, 40}},
        {"Label1", QStringLiteral("2.66"), {96, 40}},
        {"Copyright", QStringLiteral("作者："), {10, 62}},
        {"Comments", QStringLiteral("公開日時："), {10, 84}},
    };
    for (const auto& expected : labels) {
      const auto* label = box.findChild<QLabel*>(QLatin1String(expected.name));
      QVERIFY2(label != nullptr, expected.name);
      QCOMPARE(label->parentWidget(), panel);
      QCOMPARE(label->pos(), expected.position);
      QVERIFY2(label->text().startsWith(expected.caption), expected.name);
      QCOMPARE(label->textFormat(), Qt::PlainText);
    }
    // The author and the date follow their captions.
    QVERIFY(Text(box, "Copyright").size() > 3);
    QVERIFY(Text(box, "Comments").size() > 5);
    QCOMPARE(Text(box, "Label1"), QStringLiteral("2.66"));

    const auto* ok_button = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
    QVERIFY(ok_button != nullptr);
    QCOMPARE(ok_button->parentWidget(), panel);
    QCOMPARE(ok_button->text(), QStringLiteral("閉じる"));
    QCOMPARE(ok_button->geometry(), QRect(177, 74, 66, 25));
    QVERIFY(ok_button->isDefault());
    QCOMPARE(box.findChildren<QPushButton*>().size(), 1);
  }

  void EscapeAndEnterCloseAsTheButtonDoes() {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
      TAboutBox box;
      box.show();
      QVERIFY(QTest::qWaitForWindowExposed(&box));
      QTest::keyClick(&box, key);
      QVERIFY(!box.isVisible());
      QCOMPARE(box.result(), int(QDialog::Accepted));
    }
  }

  void EachOpeningIsAFreshBoxOverItsOwner() {
    QWidget owner;
    owner.setGeometry(120, 90, 387, 454);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));

    for (int opening = 0; opening < 2; ++opening) {
      QString version;
      QPoint centre;
      bool was_modal = false;
      QTimer::singleShot(0, &owner, [&] {
        auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        was_modal = box->isModal() && box->parentWidget() == &owner;
        auto* label1 = box->findChild<QLabel*>(QStringLiteral("Label1"));
        version = label1->text();
        centre = box->geometry().center();
        label1->setText(QStringLiteral("changed"));  // must not reach the next opening
        box->findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
      });
      TAboutBox::Open(&owner);
      QVERIFY(was_modal);
      QCOMPARE(version, QStringLiteral("2.66"));
      QVERIFY((centre - owner.geometry().center()).manhattanLength() <= 2);
      QVERIFY(owner.findChildren<TAboutBox*>().isEmpty());
    }
  }

  void VersionComesFromAReleasedBox() {
    QWidget owner;
    QCOMPARE(TAboutBox::VersionText(&owner), QStringLiteral("2.66"));
    QVERIFY(owner.findChildren<TAboutBox*>().isEmpty());
  }

  void HelpMissing() {
    TempDir dir;
    ScriptedPrompter prompter;
    Recorder recorder;
    OpenHelp(prompter, {{dir / "program/", dir / "data/"}, dir / "view/"}, recorder.opener());
    QCOMPARE(Log(prompter),
             (QStringList{QStringLiteral("beep error"),
                          QStringLiteral("inform ヘルプファイル\"HELP.HLP\"が存在しません。")}));
    QVERIFY(recorder.urls.isEmpty());
  }

  void HelpNoProgramCanShowSaysWhereItIs() {
    TempDir dir;
    dir.Touch("program/help.hlp", "<!DOCTYPE html>");
    ScriptedPrompter prompter;
    OpenHelp(prompter, {{dir / "program/"}, ""}, [](const QUrl&) { return false; });
    QCOMPARE(
        Log(prompter),
        QStringList{QStringLiteral("inform ヘルプを表示するプログラムを起動できませんでした。\n\r"
                                   "ヘルプファイルは次の場所にあります。\n\r") +
                    QString::fromStdString(dir / "program/help.hlp")});
  }

  void HelpOpensAsAWebPage() {
    TempDir dir;
    const std::string manual = "<!DOCTYPE html><html><body>使い方</body></html>";
    dir.Touch("program/help.hlp", manual);
    ScriptedPrompter prompter;
    Recorder recorder;
    OpenHelp(prompter, {{dir / "program/"}, dir / "view/"}, recorder.opener());

    QVERIFY(prompter.log.empty());
    QCOMPARE(recorder.urls.size(), 1);
    const QUrl url = recorder.urls.front();
    QCOMPARE(url, QUrl::fromLocalFile(QString::fromStdString(dir / "view/help.html")));
    QFile copy(url.toLocalFile());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll().toStdString(), manual);
    // What the desktop makes of it: a page for the web browser.
    QCOMPARE(QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name(),
             QStringLiteral("text/html"));
  }

  void ShippedHelpBesideTheProgram() {
    const char* build = std::getenv("ZEFA_TEST_BINARY_DIR");
    if (build == nullptr) QSKIP("ZEFA_TEST_BINARY_DIR is not set");
    QFile help(QString::fromUtf8(build) + QStringLiteral("/src/app/help.hlp"));
    QVERIFY2(help.open(QIODevice::ReadOnly), "help.hlp is not beside the built program");
    const QString text = QString::fromUtf8(help.readAll());
    QVERIFY(text.startsWith(QStringLiteral("<!DOCTYPE html>")));
    const QStringList topics = {
        QStringLiteral("追加"),
        QStringLiteral("除外"),
        QStringLiteral("クリア"),
        QStringLiteral("変更"),
        QStringLiteral("設定"),
        QStringLiteral("ソート"),
        QStringLiteral("プレビュー"),
        QStringLiteral("一括置換"),
        QStringLiteral("リネーム開始"),
        QStringLiteral("元に戻す"),
        // The main window's words: リストアファイル, 共通ファイル名 in the eight patterns, and
        // a word that the settings dialog's own 共有ファイル名 is the same.
        QStringLiteral("リストアファイル"),
        QStringLiteral(".zefa"),
        QStringLiteral("共通ファイル名 + 数字 + 固有ファイル名"),
        QStringLiteral("共通ファイル名 + 固有ファイル名 + 数字"),
        QStringLiteral("数字 + 共通ファイル名 + 固有ファイル名"),
        QStringLiteral("数字 + 固有ファイル名 + 共通ファイル名"),
        QStringLiteral("固有ファイル名 + 数字 + 共通ファイル名"),
        QStringLiteral("固有ファイル名 + 共通ファイル名 + 数字"),
        QStringLiteral("固有ファイル名 + 共通ファイル名"),
        QStringLiteral("共通ファイル名 + 固有ファイル名"),
        QStringLiteral("「共有ファイル名」と書かれています"),
        QStringLiteral("新しい名前を表示"),
    };
    for (const QString& topic : topics) QVERIFY2(text.contains(topic), qPrintable(topic));
  }

  void StartUpCheckAsksAboutANewerVersion() {
    HttpTestServer server;
    HttpReply newer;
    newer.body = "2.70";
    server.Serve("/soft/ver/ZeFa_oru.txt", newer);
    qputenv("ZEFA_ORU_UPDATE_URL", QByteArray::fromStdString(server.BaseUrl()));
    QWidget owner;
    ScriptedPrompter prompter;
    prompter.No();

    QVERIFY(!RunStartUpUpdateCheck(prompter, &owner));
    QCOMPARE(Log(prompter),
             QStringList{QStringLiteral(
                 "ask バージョン2.70がリリースされています。\n\rダウンロードしますか？")});
    QCOMPARE(server.RequestCount("/soft/ver/ZeFa_oru.txt"), 1);
    QVERIFY(owner.findChildren<TAboutBox*>().isEmpty());

    HttpReply same;
    same.body = "2.66";
    server.Serve("/soft/ver/ZeFa_oru.txt", same);
    ScriptedPrompter quiet;
    QVERIFY(!RunStartUpUpdateCheck(quiet, &owner));
    QVERIFY(quiet.log.empty());
    qunsetenv("ZEFA_ORU_UPDATE_URL");
  }

  void FolderThenSiteSiteAloneForASystemInstall() {
    qputenv("ZEFA_ORU_UPDATE_URL", "https://mirror.example/zefa/");
    const QUrl site(QStringLiteral("https://mirror.example/zefa/"));
    TempDir own;
    const std::string own_folder = own / "ゼファ/";
    own.Touch("ゼファ/zefa-oru");
    const struct {
      std::string folder;
      QList<QUrl> opened;
    } cases[] = {
        {own_folder, {QUrl::fromLocalFile(QString::fromStdString(own_folder)), site}},
        {"/usr/bin/", {site}},
        {"/usr/local/bin/", {site}},
        {own / "missing/", {site}},  // no folder the user may write to
    };
    for (const auto& c : cases) {
      Recorder recorder;
      OpenFolderAndSite(c.folder, recorder.opener());
      QCOMPARE(recorder.urls, c.opened);
    }
    qunsetenv("ZEFA_ORU_UPDATE_URL");
  }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
