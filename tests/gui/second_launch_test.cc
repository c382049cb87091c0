// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
// A second start of the real program hands its files to the window that runs and ends.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
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
    auto form =
        std::make_unique<TForm1>(prompter_, file_system_, zefa::test::ProgramPathsIn(*dir_));
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

  void ABusyWindowKeepsItsSocketAndGetsTheFiles() {
    InstanceServer server;
    QCOMPARE(ClaimWindowOrHandOver(InstanceSocketPath(), {}, server), InstanceClaim::kFirst);
    auto form = MakeWindow(server);
    // More paths than the socket holds unread, as a file manager hands over a selection.
    QStringList names;
    for (int i = 0; i < 4000; ++i) {
      names << QStringLiteral("%1%2.jpg")
                   .arg(i, 5, 10, QLatin1Char('0'))
                   .arg(QString(200, QLatin1Char('n')));
      dir_->Touch(names.back().toStdString());
    }
    std::unique_ptr<QProcess> second;
    QTimer::singleShot(0, form.get(), [&] {
      second = Start(names);
      second->waitForStarted();
      QThread::sleep(9);  // a long command: the window reads nothing meanwhile
    });
    QTRY_VERIFY_WITH_TIMEOUT(second && second->state() == QProcess::NotRunning, 30000);
    QCOMPARE(second->exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(form->state().list.size(), 4000, 30000);
    // The window's socket is still its own: a later start reaches it.
    dir_->Touch("a.jpg");
    RunSecond({QStringLiteral("a.jpg")});
    QTRY_COMPARE(form->state().list.size(), 4001);
  }

  void AHandOverOverTheLimitIsCutOffAndLetGo() {
    InstanceServer server(nullptr, 1024);
    const QString path = InstanceSocketPath();
    QCOMPARE(ClaimWindowOrHandOver(path, {}, server), InstanceClaim::kFirst);
    std::vector<std::vector<std::string>> batches;
    server.SetReceiver({},
                       [&](const std::vector<std::string>& paths) { batches.push_back(paths); });
    for (const qsizetype size : {qsizetype{4096}, qsizetype{100}}) {
      QLocalSocket socket;
      socket.connectToServer(path);
      QVERIFY(socket.waitForConnected());
      socket.write(QByteArray(size - 1, 'p') + '\0');
      socket.waitForBytesWritten();
      socket.disconnectFromServer();
      QTRY_VERIFY(socket.state() == QLocalSocket::UnconnectedState);
    }
    QTRY_COMPARE(batches.size(), std::size_t{1});
    QCOMPARE(batches.front(), std::vector<std::string>{std::string(99, 'p')});
    // The sender is told before it sends: far more than any command line holds.
    InstanceServer other;
    const std::vector<std::string> many(40000, "/" + std::string(1000, 'x'));
    QCOMPARE(ClaimWindowOrHandOver(path, many, other), InstanceClaim::kTooLarge);
    QVERIFY(QString::fromStdString(TooManyPathsText(many)).contains(QStringLiteral("上限 32 MB")));
  }

  void AnotherUsersRuntimeFolderIsNotUsed() {
    // The runtime folder cannot be had: unset, and its stand-in under /tmp taken by a file.
    qunsetenv("XDG_RUNTIME_DIR");
    const bool had_tmp = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(dir_->path()));
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(*dir_ / "cache"));
    dir_->Touch(std::string("runtime-") + getpwuid(geteuid())->pw_name);
    const QString path = InstanceSocketPath();
    if (had_tmp) {
      qputenv("TMPDIR", tmp);
    } else {
      qunsetenv("TMPDIR");
    }
    qunsetenv("XDG_CACHE_HOME");
    QVERIFY2(path.startsWith(QString::fromStdString(*dir_ / "cache/zefa-oru-")), qPrintable(path));
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(QFileInfo(path).path()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0700u);
    InstanceServer server;
    QCOMPARE(ClaimWindowOrHandOver(path, {}, server), InstanceClaim::kFirst);
    QVERIFY(QFile::exists(path));
  }

  void CommandLineOptions() {
    const struct {
      QStringList arguments;
      int exit_code;
      QByteArray out;
      const char* err;
    } cases[] = {
        {{QStringLiteral("--help")}, 0, "--version", ""},
        {{QStringLiteral("--version")},
         0,
         QByteArray("ZeFa Oru ") + zefa::kProgramVersion + '\n',
         ""},
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
