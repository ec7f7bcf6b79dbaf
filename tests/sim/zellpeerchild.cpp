#include "zellpeerchild.h"

#include <QRandomGenerator>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fd::sim {
namespace {

// The pipe carries one byte first, then whatever the child reads.
constexpr char kListening = 'L';
constexpr char kFailed = 'F';
constexpr unsigned kChildSeconds = 10;

// Runs in the forked child: only async-signal-safe calls, everything it needs
// prepared by the parent before the fork.
[[noreturn]] void runChild(int report, const ZellPeerChild::User* as, const char* folder, const sockaddr_un& address,
                           const char* greeting, size_t greetingSize) {
  // The alarm ends the child whatever the parent had done with the signal.
  signal(SIGALRM, SIG_DFL);
  sigset_t alarmOnly;
  sigemptyset(&alarmOnly);
  sigaddset(&alarmOnly, SIGALRM);
  sigprocmask(SIG_UNBLOCK, &alarmOnly, nullptr);
  alarm(kChildSeconds);
  const auto fail = [report](const char* step) {
    (void)!write(report, &kFailed, 1);
    (void)!write(report, step, strlen(step));
    _exit(1);
  };
  if (as && setgroups(0, nullptr) != 0) fail("setgroups");
  if (as && setgid(as->gid) != 0) fail("setgid");
  if (as && setuid(as->uid) != 0) fail("setuid");
  if (mkdir(folder, 0711) != 0) fail("mkdir");
  const int server = socket(AF_UNIX, SOCK_STREAM, 0);
  if (server < 0) fail("socket");
  if (bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) fail("bind");
  if (chmod(address.sun_path, 0666) != 0) fail("chmod");
  if (listen(server, 1) != 0) fail("listen");
  if (write(report, &kListening, 1) != 1) _exit(1);
  const int logger = accept(server, nullptr, nullptr);
  if (logger < 0) _exit(1);
  (void)send(logger, greeting, greetingSize, MSG_NOSIGNAL);
  char buf[512];
  for (ssize_t n; (n = read(logger, buf, sizeof buf)) > 0;) {
    if (write(report, buf, size_t(n)) != n) break;
  }
  _exit(0);
}

}  // namespace

ZellPeerChild::ZellPeerChild(std::optional<User> as, QByteArray greeting) {
  folder_ = "/tmp/fdzell-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
  socket_ = folder_ + "/zell";
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socket_.constData(), size_t(socket_.size()) + 1);
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    state_ = State::Failed;
    return;
  }
  pid_ = fork();
  if (pid_ == 0) {
    close(ends[0]);
    runChild(ends[1], as ? &*as : nullptr, folder_.constData(), address, greeting.constData(), size_t(greeting.size()));
  }
  close(ends[1]);
  report_ = ends[0];
  fcntl(report_, F_SETFL, O_NONBLOCK);
  if (pid_ < 0) poll();  // the pipe is at its end already: failed
}

ZellPeerChild::~ZellPeerChild() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);  // a child that is already done is only reaped
    waitpid(pid_, nullptr, 0);
  }
  if (report_ >= 0) close(report_);
  unlink(socket_.constData());
  rmdir(folder_.constData());
}

bool ZellPeerChild::poll() {
  while (report_ >= 0) {
    char buf[512];
    const ssize_t n = read(report_, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return false;
    if (n <= 0) {
      close(report_);
      report_ = -1;
      state_ = state_ == State::Listening ? State::Done : State::Failed;
      break;
    }
    QByteArray bytes(buf, n);
    if (state_ == State::Starting) {
      state_ = bytes[0] == kListening ? State::Listening : State::Failed;
      bytes.remove(0, 1);
    }
    if (state_ == State::Listening) received_ += bytes;
    if (state_ == State::Failed) failedStep_ += bytes;
  }
  return true;
}

}  // namespace fd::sim
