// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// A second start of the real program hands its files to the window that runs and ends.
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "about_box.h"
#include "main_window.h"
#include "platform/file_system.h"
#include "scripted_prompter.h"
#include "single_instance.h"
#include "temp_dir.h"
#include "version.h"

namespace {

using zefa::test::TempDir;

QString Program() {
  return QString::fromUtf8(qgetenv("ZEFA_TEST_BINARY_DIR")) + QStringLiteral("/src/app/zefa-oru");
}

}  // namespace

class SecondLaunchTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir_;
  zefa::test::ScriptedPrompter prompter_;
  zefa::NativeFileSystem file_system_;

  /** A start of the real program in the test folder, seeing the same runtime folder. */
  std::unique_ptr<QProcess> Start(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZEFA_ORU_DIR"), QString::fromStdString(dir_->path()));
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(QString::fromStdString(dir_->path()));
    process->start(Program(), arguments);
    return process;
  }

  /** A second start: it must end by itself, at once and without failing. */
  void RunSecond(const QStringList& arguments) {
    auto second = Start(arguments);
    QVERIFY(second->waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(second->state(), QProcess::NotRunning, 10000);
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
  }

  std::unique_ptr<TForm1> MakeWindow(InstanceServer& server) {
    auto form = std::make_unique<TForm1>(prompter_, file_system_, zefa::test::ProgramPathsIn(*dir_));
    ConnectToWindow(server, *form);
    form->show();
    return form;
  }

 private slots:
  void init() {
    if (!QFile::exists(Program())) QSKIP("the program is not built");
    dir_ = std::make_unique<TempDir>();
    dir_->Touch("ZeFa_oru.ini", "[Option]\nUpdateCheck=0\n");
    dir_->Touch("run/.keep");
    QFile::setPermissions(QString::fromStdString(*dir_ / "run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The runtime folder of this test alone, for this process and the programs it starts.
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(dir_->path() + "run"));
  }

  void FilesGoToTheRunningWindow() {
    InstanceServer server;
    QCOMPARE(ClaimWindowOrHandOver(InstanceSocketPath(), {}, server), InstanceClaim::kFirst);
    auto form = MakeWindow(server);
    dir_->Touch("a.jpg");
    dir_->Touch("sub/b c.jpg");
    dir_->Touch("-d.jpg");

    RunSecond({QStringLiteral("a.jpg"), QStringLiteral("sub/b c.jpg"), QStringLiteral("--"),
               QStringLiteral("-d.jpg")});
    QTRY_COMPARE(form->state().list.size(), 3);
    QCOMPARE(form->state().list.path.Texts(),
             (std::vector<std::string>{*dir_ / "a.jpg", *dir_ / "sub/b c.jpg", *dir_ / "-d.jpg"}));
    // No files: the window only comes to the front.
    RunSecond({});
    QTest::qWait(300);
    QCOMPARE(form->state().list.size(), 3);
  }

  void FilesWaitWhileABoxIsOpen() {
    InstanceServer server;
    QCOMPARE(ClaimWindowOrHandOver(InstanceSocketPath(), {}, server), InstanceClaim::kFirst);
    auto form = MakeWindow(server);
    dir_->Touch("a.jpg");
    int rows_while_open = -1;
    QTimer::singleShot(0, form.get(), [&] {
      RunSecond({QStringLiteral("a.jpg")});
      QTest::qWait(600);  // the batch arrives and waits
      rows_while_open = form->state().list.size();
      if (auto* box = QApplication::activeModalWidget()) box->close();
    });
    form->About1Click();
    QCOMPARE(rows_while_open, 0);
    QTRY_COMPARE(form->state().list.size(), 1);
  }

  void AKilledWindowStopsNoStart() {
    auto first = Start({});
    QVERIFY(first->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(InstanceSocketPath()), 10000);
    first->kill();
    QVERIFY(first->waitForFinished());
    QVERIFY(QFile::exists(InstanceSocketPath()));  // left behind

    InstanceServer server;
    QCOMPARE(ClaimWindowOrHandOver(InstanceSocketPath(), {}, server), InstanceClaim::kFirst);
    auto form = MakeWindow(server);
    dir_->Touch("a.jpg");
    RunSecond({QStringLiteral("a.jpg")});
    QTRY_COMPARE(form->state().list.size(), 1);
  }

  void CommandLineOptions() {
    const struct {
      QStringList arguments;
      int exit_code;
      QByteArray out;
      const char* err;
    } cases[] = {
        {{QStringLiteral("--help")}, 0, "--version", ""},
        {{QStringLiteral("--version")}, 0, QByteArray("ZeFa Oru ") + zefa::kProgramVersion + '\n', ""},
        {{QStringLiteral("--bogus")}, 2, "", "--bogus"},
    };
    for (const auto& c : cases) {
      auto process = Start(c.arguments);
      QVERIFY(process->waitForFinished(10000));
      QCOMPARE(process->exitCode(), c.exit_code);
      const QByteArray out = process->readAllStandardOutput();
      const QByteArray err = process->readAllStandardError();
      QVERIFY2(out.contains(c.out), out.constData());
      QVERIFY2(err.contains(c.err), err.constData());
      QCOMPARE(out.isEmpty(), c.out.isEmpty());
      QCOMPARE(err.isEmpty(), *c.err == '\0');
    }
  }
};

QTEST_MAIN(SecondLaunchTest)
#include "second_launch_test.moc"
