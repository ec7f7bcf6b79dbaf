#pragma once
// A Zell RTTY stand-in in a child process, forked without exec, that may run
// as another user: it listens with plain POSIX calls on "zell" in a fresh
// folder under /tmp that it makes itself, sends a greeting the moment a
// logger connects, and reports through a pipe every byte it reads from it.
// The child touches nothing of Qt: it makes only async-signal-safe calls and
// ends with _exit, within a few seconds at most (alarm).
#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace fd::sim {

class ZellPeerChild {
 public:
  struct User {
    uid_t uid;
    gid_t gid;
  };
  // as: the user the child becomes (groups dropped) before it makes its
  // folder and listens; needs root. nullopt: the child stays ourselves.
  ZellPeerChild(std::optional<User> as, QByteArray greeting);
  ~ZellPeerChild();  // kills and reaps the child, removes its socket and folder
  ZellPeerChild(const ZellPeerChild&) = delete;
  ZellPeerChild& operator=(const ZellPeerChild&) = delete;

  QString socketPath() const { return QString::fromLocal8Bit(socket_); }

  // Takes what the child reported so far without waiting; true once the
  // child is done (it saw the logger close, failed, or ran out of time).
  bool poll();
  bool listening() const { return state_ == State::Listening || state_ == State::Done; }
  bool failed() const { return state_ == State::Failed; }
  QByteArray failedStep() const { return failedStep_; }  // the call the child failed at
  QByteArray received() const { return received_; }  // what the child read from the logger

 private:
  enum class State { Starting, Listening, Failed, Done };
  QByteArray folder_;
  QByteArray socket_;
  pid_t pid_ = -1;
  int report_ = -1;  // the read end of the child's pipe
  State state_ = State::Starting;
  QByteArray received_;
  QByteArray failedStep_;
};

}  // namespace fd::sim
