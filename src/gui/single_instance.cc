// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#include "single_instance.h"

#include <QGuiApplication>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

#include "commands/command_line.h"
#include "main_window.h"
#include "platform/current_folder.h"

namespace {

constexpr int kConnectMs = 2000;
constexpr int kWriteMs = 5000;
constexpr int kLockMs = 5000;
constexpr int kRetryMs = 200;
// More than any list of paths a file manager hands over; a client that sends more is cut off.
constexpr qint64 kMaxMessageBytes = qint64{256} << 20;

// The display this process shows its windows on, as a part of a file name.
QString DisplayName() {
  const QString platform = QGuiApplication::platformName();
  QString display = platform;
  if (platform == QStringLiteral("xcb")) {
    display = qEnvironmentVariable("DISPLAY");
  } else if (platform.startsWith(QStringLiteral("wayland"))) {
    display = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
  }
  QString name;
  for (const QChar c : display) {
    name += c.isLetterOrNumber() && c.unicode() < 0x80 ? c : QLatin1Char('_');
  }
  return name.isEmpty() ? QStringLiteral("default") : name;
}

std::vector<std::string> SplitMessage(const QByteArray& message) {
  return zefa::HandedOverPaths(
      std::string_view(message.constData(), static_cast<std::size_t>(message.size())));
}

}  // namespace

QString InstanceSocketPath() {
  // Qt makes sure the runtime folder exists and only its user may enter it.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return folder + QStringLiteral("/zefa-oru-") + DisplayName() + QStringLiteral(".socket");
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  retry_.setSingleShot(true);
  retry_.setInterval(kRetryMs);
  connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
  connect(&retry_, &QTimer::timeout, this, &InstanceServer::Flush);
}

bool InstanceServer::Listen(const QString& path) {
  if (server_.listen(path)) return true;
  QLocalServer::removeServer(path);
  return server_.listen(path);
}

void InstanceServer::SetReceiver(Busy busy, Deliver deliver) {
  busy_ = std::move(busy);
  deliver_ = std::move(deliver);
  Flush();
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    auto message = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket, [socket, message] {
      message->append(socket->readAll());
      if (message->size() > kMaxMessageBytes) socket->abort();
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, message] {
      message->append(socket->readAll());
      if (message->size() <= kMaxMessageBytes) pending_.push_back(SplitMessage(*message));
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

bool HandOverToRunningWindow(const QString& path, const std::vector<std::string>& paths) {
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(kConnectMs)) return false;
  // The working folder goes along, so that a relative path names the file it named here.
  const std::string bytes = zefa::HandOverMessage(paths, zefa::CurrentFolder());
  const QByteArray message(bytes.data(), static_cast<qsizetype>(bytes.size()));
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(kWriteMs)) return false;
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWriteMs);
  return true;
}

InstanceClaim ClaimWindowOrHandOver(const QString& path, const std::vector<std::string>& paths,
                                    InstanceServer& server) {
  // Held only from the look for a window to the listening; one of a dead process is taken.
  QLockFile lock(path + QStringLiteral(".lock"));
  lock.tryLock(kLockMs);
  if (HandOverToRunningWindow(path, paths)) return InstanceClaim::kHandedOver;
  server.Listen(path);  // should it fail, this window runs on its own
  return InstanceClaim::kFirst;
}
