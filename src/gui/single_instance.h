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
 * runtime folder and holds a lock beside it for as long as it runs; a later start connects
 * to it, hands over its files and ends. The files go as zefa::HandOverMessage has them
 * (the sender's working folder, then the paths), and a relative one is made full under
 * that folder; a start with no files just brings the window to the front.
 */

/** What one start may hand over: far more than a file manager's command line can hold. */
inline constexpr qint64 kMaxHandOverBytes = qint64{32} << 20;

/**
 * The socket of this user's window on this display (zefa::InstanceKey). It lies in the
 * runtime folder; when that cannot be used (missing, or another user's), in a folder of
 * the user's own cache that only the user may enter, which is said once on standard error.
 */
QString InstanceSocketPath();

/** The running window's side: takes files from later starts and hands them on when free. */
class InstanceServer : public QObject {
  Q_OBJECT

 public:
  /** A batch of files from one start; empty when it brought no files. */
  using Deliver = std::function<void(const std::vector<std::string>& paths)>;
  using Busy = std::function<bool()>;

  /** A start that hands over more than `max_bytes` is cut off and its bytes let go. */
  explicit InstanceServer(QObject* parent = nullptr, qint64 max_bytes = kMaxHandOverBytes);
  ~InstanceServer() override;

  enum class Lock { kTaken, kHeldByAWindow, kUnusable };
  /**
   * Takes the lock of the window at `path` and keeps it while this object lives. The
   * system lets go of it when a process ends, so a window that was killed stops no later
   * start. kUnusable when no lock file can be made there.
   */
  Lock TakeLock(const QString& path);
  /** Lets go of the lock: a window that cannot listen must not keep later starts waiting. */
  void ReleaseLock();
  /** Listens at `path`, taking the place of a socket that no program serves any more. */
  bool Listen(const QString& path);
  /** Listens at `path` unless something is there already. */
  bool ListenBeside(const QString& path);
  /** Where the batches go; until then, and while `busy` says so, they wait in turn. */
  void SetReceiver(Busy busy, Deliver deliver);

 private:
  void Accept();
  void Flush();

  qint64 max_bytes_;
  int lock_fd_ = -1;
  QLocalServer server_;
  QTimer retry_;
  std::deque<std::vector<std::string>> pending_;
  Busy busy_;
  Deliver deliver_;
};

/**
 * Hands `paths` to the window listening at `path`; false when none listens there. While
 * that window is busy and reads nothing, the hand-over waits for as long as `still_served`
 * says the window runs (without it, a few seconds).
 */
bool HandOverToRunningWindow(const QString& path, const std::vector<std::string>& paths,
                             const std::function<bool()>& still_served = {});

class TForm1;
/** Later starts' files go to `form` as drops, each time it is free. */
void ConnectToWindow(InstanceServer& server, TForm1& form);

/** What a start that may not hand over `paths` (kTooLarge) tells its user. */
std::string TooManyPathsText(const std::vector<std::string>& paths);

enum class InstanceClaim {
  kFirst,
  kHandedOver,
  kTooLarge,  // a window runs, but the paths are more than one hand-over may hold
};

/**
 * The start-up step: hands `paths` to a running window, or else makes `server` listen so
 * that this process is the window. The window's lock says whether one runs: while it is
 * held, its socket is never taken away and the files wait until the window reads them,
 * however long it is busy; a lock or a socket left by a program that ended stops nothing.
 */
InstanceClaim ClaimWindowOrHandOver(const QString& path, const std::vector<std::string>& paths,
                                    InstanceServer& server);
