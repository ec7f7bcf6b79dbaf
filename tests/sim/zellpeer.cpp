#include "zellpeer.h"

#include <QFile>

namespace fd::sim {

ZellPeer::ZellPeer(const QString& name) {
  QLocalServer::removeServer(name);  // a stale socket file from a crashed run
  server_.listen(name);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* c = server_.nextPendingConnection()) {
      ++connections;
      clients_ << c;
      connect(c, &QLocalSocket::readyRead, this, [this, c] { if (reading) readFrom(c); });
      connect(c, &QLocalSocket::disconnected, this, [this, c] {
        clients_.removeAll(c);
        c->deleteLater();
      });
    }
  });
}

ZellPeer::~ZellPeer() { stop(); }

void ZellPeer::readFrom(QLocalSocket* c) {
  partial_ += c->readAll();
  for (qsizetype lf; (lf = partial_.indexOf('\n')) >= 0;) {
    QByteArray line = partial_.left(lf);
    partial_.remove(0, lf + 1);
    if (line.endsWith('\r')) line.chop(1);
    lines << QString::fromUtf8(line);
    if (!logPath.isEmpty()) {
      QFile f(logPath);
      if (f.open(QIODevice::Append)) f.write(line + '\n');
    }
  }
}

void ZellPeer::send(const QByteArray& bytes) {
  for (QLocalSocket* c : clients_) {
    c->write(bytes);
    c->flush();
  }
}

void ZellPeer::stopReading() {
  reading = false;
  // Qt would otherwise keep moving the bytes into its own unbounded buffer.
  for (QLocalSocket* c : clients_) c->setReadBufferSize(1);
}

bool ZellPeer::hasClient() const { return !clients_.isEmpty(); }

void ZellPeer::dropClients() {
  const QList<QLocalSocket*> all = clients_;
  clients_.clear();
  for (QLocalSocket* c : all) {
    c->disconnect(this);
    c->abort();
    c->deleteLater();
  }
}

void ZellPeer::stop() {
  dropClients();
  server_.close();
}

}  // namespace fd::sim
