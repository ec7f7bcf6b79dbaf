#include "keying/zelllink.h"

#include <QLocalSocket>
#include <QPointer>

#include "platform/wait.h"

namespace fd {

ZellLink::ZellLink(QObject* parent) : QObject(parent) {}

ZellLink::~ZellLink() { close(); }

bool ZellLink::open(const QString& serverName, int limitMs) {
  close();
  socket_ = new QLocalSocket(this);
  connect(socket_, &QLocalSocket::readyRead, this, [this] { readAvailable(); });
  QPointer<QLocalSocket> socket = socket_;
  bool failed = false;
  const QMetaObject::Connection watch = connect(socket_, &QLocalSocket::errorOccurred, this, [&failed, socket] {
    if (socket && socket->state() != QLocalSocket::ConnectedState) failed = true;
  });
  socket_->connectToServer(zell::socketPath(serverName));
  // Never waitForConnected: that would freeze the window for the whole limit.
  WaitOptions o;
  o.limitMs = limitMs;
  o.site = this;
  waitUntil([&] { return failed || !socket || socket->state() == QLocalSocket::ConnectedState; }, o);
  disconnect(watch);
  if (!socket || socket_ != socket || socket->state() != QLocalSocket::ConnectedState) {
    if (socket_ == socket) close();
    return false;
  }
  return true;
}

void ZellLink::close() {
  lines_.clear();
  if (!socket_) return;
  QLocalSocket* s = socket_;
  socket_ = nullptr;
  s->disconnect(this);
  s->abort();
  s->deleteLater();  // we may be inside one of its signals
}

bool ZellLink::isOpen() const { return socket_ && socket_->state() == QLocalSocket::ConnectedState; }

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
