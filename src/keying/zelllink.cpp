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
  socket_->connectToServer(serverName);
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
  partial_.clear();
  skipping_ = false;
  if (!socket_) return;
  QLocalSocket* s = socket_;
  socket_ = nullptr;
  s->disconnect(this);
  s->abort();
  s->deleteLater();  // we may be inside one of its signals
}

bool ZellLink::isOpen() const { return socket_ && socket_->state() == QLocalSocket::ConnectedState; }

qint64 ZellLink::pendingBytes() const { return socket_ ? socket_->bytesToWrite() : 0; }

QByteArray ZellLink::formatLine(const QString& item, const QString& text) {
  QString clean = text;
  clean.remove(u'\r');
  clean.remove(u'\n');
  return item.toUtf8() + '=' + clean.toUtf8() + '\n';
}

void ZellLink::send(const QString& item, const QString& text) {
  if (!isOpen()) return;  // a vanished peer: the poke fails quietly
  const QByteArray line = formatLine(item, text);
  if (socket_->bytesToWrite() + line.size() > kMaxPending) return;
  socket_->write(line);  // buffered; written when the socket is ready
}

std::optional<std::pair<QString, QString>> ZellLink::parseLine(QByteArray line) {
  if (line.endsWith('\r')) line.chop(1);
  if (line.size() > kMaxLine) return std::nullopt;
  const qsizetype eq = line.indexOf('=');
  if (eq <= 0) return std::nullopt;
  return std::make_pair(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
}

void ZellLink::readAvailable() {
  QPointer<QLocalSocket> socket = socket_;
  while (socket && socket == socket_ && socket->bytesAvailable() > 0) {
    const QByteArray chunk = socket->readAll();
    qsizetype from = 0;
    while (from < chunk.size()) {
      const qsizetype lf = chunk.indexOf('\n', from);
      const QByteArray piece = chunk.mid(from, lf < 0 ? -1 : lf - from);
      from = lf < 0 ? chunk.size() : lf + 1;
      if (!skipping_) partial_ += piece;
      // Keep no more than one line's worth: a longer line is dropped whole.
      if (partial_.size() > kMaxLine + 1) {
        partial_.clear();
        skipping_ = true;
      }
      if (lf < 0) break;
      const QByteArray line = partial_;
      const bool skipped = skipping_;
      partial_.clear();
      skipping_ = false;
      if (skipped) continue;
      const auto message = parseLine(line);
      if (message && onMessage) onMessage(message->first, message->second);
      if (!socket || socket != socket_) return;  // closed by the handler
    }
  }
}

}  // namespace fd
