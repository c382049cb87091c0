// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "single_instance.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <cstdio>
#include <memory>

#include "main_window.h"
#include "platform/current_folder.h"
#include "platform/instance_key.h"
#include "startup/command_line.h"

namespace {

constexpr int kConnectMs = 2000;
constexpr int kWriteMs = 5000;
constexpr int kRetryMs = 200;
constexpr int kTriesBeforeTelling = 25;  // five seconds

// The display this process shows its windows on, as a part of a file name.
std::string DisplayKey() {
  return zefa::InstanceKey(
      QGuiApplication::platformName().toStdString(), qgetenv("DISPLAY").toStdString(),
      qgetenv("WAYLAND_DISPLAY").toStdString(), qgetenv("XDG_RUNTIME_DIR").toStdString());
}

// A folder of this user's that no one else may enter: a socket there is no one else's.
bool IsPrivateFolder(const QString& folder) {
  struct stat info {};
  return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &info) == 0 &&
         S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

// The runtime folder's stand-in, one for each machine that may share the home folder.
QString CacheFolder() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  if (base.isEmpty() || !QDir().mkpath(base)) return {};
  const QString folder = base + QStringLiteral("/zefa-oru-") + QSysInfo::machineHostName();
  const QByteArray name = QFile::encodeName(folder);
  ::mkdir(name.constData(), 0700);
  struct stat info {};
  if (::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
      info.st_uid == ::geteuid()) {
    ::chmod(name.constData(), 0700);
  }
  return IsPrivateFolder(folder) ? folder : QString();
}

QString InstanceFolder() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (IsPrivateFolder(runtime)) return runtime;
  const QString cache = CacheFolder();
  static bool told = false;
  if (!told) {
    told = true;
    const std::string runtime_text =
        runtime.isEmpty() ? std::string("実行時フォルダ（XDG_RUNTIME_DIR）を使えません。")
                          : "実行時フォルダ " + QFile::encodeName(runtime).toStdString() +
                                " はこのユーザー専用でないため使えません。";
    if (cache.isEmpty()) {
      std::fprintf(stderr,
                   "zefa-oru: %s代わりのフォルダも作れないため、他の起動からファイルを"
                   "受け取れません\n",
                   runtime_text.c_str());
    } else {
      std::fprintf(stderr, "zefa-oru: %s代わりに %s を使い、ウィンドウを一つにまとめます\n",
                   runtime_text.c_str(), QFile::encodeName(cache).constData());
    }
  }
  return cache;
}

std::vector<std::string> SplitMessage(const QByteArray& message) {
  return zefa::HandedOverPaths(
      std::string_view(message.constData(), static_cast<std::size_t>(message.size())));
}

}  // namespace

QString InstanceSocketPath() {
  return InstanceFolder() + QStringLiteral("/zefa-oru-") + QString::fromStdString(DisplayKey()) +
         QStringLiteral(".socket");
}

InstanceServer::InstanceServer(QObject* parent, qint64 max_bytes)
    : QObject(parent), max_bytes_(max_bytes) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  retry_.setSingleShot(true);
  retry_.setInterval(kRetryMs);
  connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
  connect(&retry_, &QTimer::timeout, this, &InstanceServer::Flush);
}

InstanceServer::~InstanceServer() {
  // The socket goes before the lock, so that no start finds the lock free and a socket there.
  server_.close();
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

InstanceServer::Lock InstanceServer::TakeLock(const QString& path) {
  if (lock_fd_ >= 0) return Lock::kTaken;
  const QByteArray name = QFile::encodeName(path + QStringLiteral(".lock"));
  const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Lock::kUnusable;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? Lock::kHeldByAWindow : Lock::kUnusable;
  }
  lock_fd_ = fd;
  return Lock::kTaken;
}

void InstanceServer::ReleaseLock() {
  if (lock_fd_ >= 0) ::close(lock_fd_);
  lock_fd_ = -1;
}

bool InstanceServer::Listen(const QString& path) {
  if (server_.listen(path)) return true;
  QLocalServer::removeServer(path);
  return server_.listen(path);
}

bool InstanceServer::ListenBeside(const QString& path) { return server_.listen(path); }

void InstanceServer::SetReceiver(Busy busy, Deliver deliver) {
  busy_ = std::move(busy);
  deliver_ = std::move(deliver);
  Flush();
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    auto message = std::make_shared<QByteArray>();
    auto too_large = std::make_shared<bool>(false);
    // Past the limit the start is cut off and what it sent is let go at once.
    const auto take = [this, socket, message, too_large] {
      if (*too_large) return;
      message->append(socket->readAll());
      if (message->size() > max_bytes_) {
        *too_large = true;
        *message = QByteArray();
        socket->abort();
      }
    };
    connect(socket, &QLocalSocket::readyRead, socket, take);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, message, too_large, take] {
      take();
      if (!*too_large) pending_.push_back(SplitMessage(*message));
      *message = QByteArray();
      socket->deleteLater();
      Flush();
    });
  }
}

void InstanceServer::Flush() {
  while (!pending_.empty()) {
    // A box or a run holds the window: the files wait until it is free again.
    if (!deliver_ || (busy_ && busy_())) {
      retry_.start();
      return;
    }
    const std::vector<std::string> batch = std::move(pending_.front());
    pending_.pop_front();
    deliver_(batch);
  }
}

void ConnectToWindow(InstanceServer& server, TForm1& form) {
  server.SetReceiver([&form] { return form.IsBusy(); },
                     [&form](const std::vector<std::string>& paths) { form.ReceivePaths(paths); });
}

bool HandOverToRunningWindow(const QString& path, const std::vector<std::string>& paths,
                             const std::function<bool()>& still_served) {
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kConnectMs)) return false;
  // The working folder goes along, so that a relative path names the file it named here.
  const std::string bytes = zefa::HandOverMessage(paths, zefa::CurrentFolder());
  const QByteArray message(bytes.data(), static_cast<qsizetype>(bytes.size()));
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (socket.waitForBytesWritten(kWriteMs)) continue;
    // A busy window reads nothing for a while; its files wait, as they would for a box.
    if (socket.state() != QLocalSocket::ConnectedState || !still_served || !still_served()) {
      return false;
    }
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWriteMs);
  return true;
}

std::string TooManyPathsText(const std::vector<std::string>& paths) {
  qint64 bytes = 0;
  for (const std::string& file : paths) bytes += static_cast<qint64>(file.size()) + 1;
  const auto megabytes = [](qint64 n) { return std::to_string((n + (1 << 20) - 1) >> 20); };
  return "一度に渡すファイルが多すぎるため、開いているウィンドウに渡しませんでした（" +
         std::to_string(paths.size()) + " 個、パスの合計 " + megabytes(bytes) + " MB、上限 " +
         megabytes(kMaxHandOverBytes) + " MB）。フォルダごと渡すか、何回かに分けて渡してください。";
}

InstanceClaim ClaimWindowOrHandOver(const QString& path, const std::vector<std::string>& paths,
                                    InstanceServer& server) {
  qint64 bytes = 0;
  for (const std::string& file : paths) bytes += static_cast<qint64>(file.size()) + 1;
  using Lock = InstanceServer::Lock;
  const auto served = [&] { return server.TakeLock(path) == Lock::kHeldByAWindow; };
  int tries = 0;
  for (;;) {
    const Lock lock = server.TakeLock(path);
    if (lock == Lock::kTaken) {
      // No window runs: a socket there is one that a window left when it was killed.
      QLocalServer::removeServer(path);
      // Should it fail, this window runs on its own, and a later start must not wait for it.
      if (!server.Listen(path)) server.ReleaseLock();
      return InstanceClaim::kFirst;
    }
    if (lock == Lock::kUnusable) {
      // Without a lock nothing says whether a socket there is served: none is taken away.
      if (bytes <= kMaxHandOverBytes && HandOverToRunningWindow(path, paths)) {
        return InstanceClaim::kHandedOver;
      }
      server.ListenBeside(path);
      return InstanceClaim::kFirst;
    }
    if (bytes > kMaxHandOverBytes) return InstanceClaim::kTooLarge;
    if (HandOverToRunningWindow(path, paths, served)) return InstanceClaim::kHandedOver;
    // The window holds its lock but does not answer yet (it is starting, or busy).
    if (++tries == kTriesBeforeTelling) {
      std::fprintf(stderr,
                   "zefa-oru: 開いているウィンドウが応答しないため、応答するまで待ちます\n");
    }
    QThread::msleep(kRetryMs);
  }
}
