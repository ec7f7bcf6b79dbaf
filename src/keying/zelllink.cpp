#include "keying/zelllink.h"

#include <QLocalSocket>
#include <QPointer>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/wait.h"

namespace fd {
namespace {

// Whether the process at the other end of a connected local socket ran as
// our own user when it listened; root is no exception.
bool peerIsOwnUser(qintptr descriptor) {
  ucred peer{};
  socklen_t size = sizeof peer;
  if (::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer) return false;
  return peer.uid == ::geteuid();
}

}  // namespace

ZellLink::ZellLink(QObject* parent) : QObject(parent) {}

ZellLink::~ZellLink() { close(); }

bool ZellLink::open(const QString& serverName, int limitMs) {
  close();
  socket_ = new QLocalSocket(this);
  QPointer<QLocalSocket> socket = socket_;
  bool failed = false;
  const QMetaObject::Connection watch = connect(socket_, &QLocalSocket::errorOccurred, this, [&failed, socket] {
    if (socket && socket->state() != QLocalSocket::ConnectedState) failed = true;
  });
  // Any user can take the socket's name first, so the peer is checked the
  // moment the socket connects, before the event loop may read a byte from
  // it. A stranger's socket is shut at once and closed below.
  const QMetaObject::Connection check = connect(socket_, &QLocalSocket::connected, this, [this, &failed, socket] {
    if (!socket || socket != socket_) return;
    if (!peerIsOwnUser(socket->socketDescriptor())) {
      ::shutdown(int(socket->socketDescriptor()), SHUT_RDWR);
      failed = true;
      return;
    }
    peerChecked_ = true;
    connect(socket, &QLocalSocket::readyRead, this, [this] { readAvailable(); });
  });
  socket_->connectToServer(zell::socketPath(serverName));
  // Never waitForConnected: that would freeze the window for the whole limit.
  WaitOptions o;
  o.limitMs = limitMs;
  o.site = this;
  waitUntil([&] { return failed || !socket || isOpen(); }, o);
  disconnect(watch);
  disconnect(check);
  if (!socket || socket_ != socket || failed || !isOpen()) {
    if (socket_ == socket) close();
    return false;
  }
  return true;
}

void ZellLink::close() {
  lines_.clear();
  peerChecked_ = false;
  if (!socket_) return;
  QLocalSocket* s = socket_;
  socket_ = nullptr;
  s->disconnect(this);
  s->abort();
  s->deleteLater();  // we may be inside one of its signals
}

bool ZellLink::isOpen() const { return socket_ && peerChecked_ && socket_->state() == QLocalSocket::ConnectedState; }

qint64 ZellLink::pendingBytes() const { return socket_ ? socket_->bytesToWrite() : 0; }

void ZellLink::send(const QString& item, const QString& text) {
  if (!isOpen()) return;  // a vanished peer: the poke fails quietly
  const QByteArray line = formatLine(item, text);
  if (socket_->bytesToWrite() + line.size() > kMaxPending) return;
  socket_->write(line);  // buffered; written when the socket is ready
}

void ZellLink::readAvailable() {
  QPointer<QLocalSocket> socket = socket_;
  while (socket && socket == socket_ && socket->bytesAvailable() > 0) {
    const QByteArray chunk = socket->readAll();
    bool closed = false;
    lines_.feed(chunk, [&](const QByteArray& line) {
      const auto message = parseLine(line);
      if (message && onMessage) onMessage(message->first, message->second);
      closed = !socket || socket != socket_;  // closed by the handler
      return !closed;
    });
    if (closed) return;
  }
}

}  // namespace fd
