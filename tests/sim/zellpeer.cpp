#include "zellpeer.h"

#include <QFile>
#include <cstdlib>
#include <sys/un.h>

namespace fd::sim {
namespace {

// The protocol's rule for the socket file: a full path as given; else in
// $TMPDIR when the path fits a socket address, else in /tmp.
QString socketFile(const QString& name) {
  if (name.startsWith(u'/')) return name;
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir && *tmpdir) {
    QByteArray path(tmpdir);
    while (path.endsWith('/')) path.chop(1);
    path += '/' + QFile::encodeName(name);
    if (path.size() < qsizetype(sizeof(sockaddr_un{}.sun_path))) return QFile::decodeName(path);
  }
  return QStringLiteral("/tmp/") + name;
}

}  // namespace

ZellPeer::ZellPeer(const QString& name) {
  const QString file = socketFile(name);
  QLocalServer::removeServer(file);  // a stale socket file from a crashed run
  server_.listen(file);
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
    if (onLine) onLine(lines.last());
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
