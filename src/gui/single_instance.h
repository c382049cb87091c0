// SPDX-FileCopyrightText: ZeFa Oru developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

/**
 * One window per user and display. The window listens on a local socket in the user's
 * runtime folder; a later start connects to it, hands over its files and ends. The files
 * go as zefa::HandOverMessage has them (the sender's working folder, then the paths), and
 * a relative one is made full under that folder; a start with no files just brings the
 * window to the front.
 */

/** The socket of this user's window on this display (the runtime folder is the user's). */
QString InstanceSocketPath();

/** The running window's side: takes files from later starts and hands them on when free. */
class InstanceServer : public QObject {
  Q_OBJECT

 public:
  /** A batch of files from one start; empty when it brought no files. */
  using Deliver = std::function<void(const std::vector<std::string>& paths)>;
  using Busy = std::function<bool()>;

  explicit InstanceServer(QObject* parent = nullptr);

  /** Listens at `path`, taking the place of a socket that no program serves any more. */
  bool Listen(const QString& path);
  /** Where the batches go; until then, and while `busy` says so, they wait in turn. */
  void SetReceiver(Busy busy, Deliver deliver);

 private:
  void Accept();
  void Flush();

  QLocalServer server_;
  QTimer retry_;
  std::deque<std::vector<std::string>> pending_;
  Busy busy_;
  Deliver deliver_;
};

/** Hands `paths` to the window listening at `path`; false when none listens there. */
bool HandOverToRunningWindow(const QString& path, const std::vector<std::string>& paths);

class TForm1;
/** Later starts' files go to `form` as drops, each time it is free. */
void ConnectToWindow(InstanceServer& server, TForm1& form);

enum class InstanceClaim { kFirst, kHandedOver };

/**
 * The start-up step: hands `paths` to a running window, or else makes `server` listen so
 * that this process is the window. Two starts at the same moment take turns through a lock
 * file; a lock or a socket left by a program that ended without cleaning up stops nothing.
 */
InstanceClaim ClaimWindowOrHandOver(const QString& path, const std::vector<std::string>& paths,
                                    InstanceServer& server);
