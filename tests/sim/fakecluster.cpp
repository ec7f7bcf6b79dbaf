#include "fakecluster.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

namespace fd::sim {

FakeCluster::FakeCluster(QObject* parent) : QObject(parent) {
  connect(&server_, &QTcpServer::newConnection, this, [this] {
    QTcpSocket* s = server_.nextPendingConnection();
    if (!s) return;
    if (client_) client_->abort();
    client_ = s;
    connect(s, &QTcpSocket::readyRead, this, [this, s] { received += s->readAll(); });
    s->write("login: ");
    s->flush();
    emit clientConnected();
  });
  flood_.setInterval(1);
  connect(&flood_, &QTimer::timeout, this, [this] {
    constexpr qint64 kMaxWaiting = 256 * 1024;
    while (client_ && client_->state() == QAbstractSocket::ConnectedState && client_->bytesToWrite() < kMaxWaiting) {
      client_->write(floodBlock_);
      flooded += floodBlock_.size();
    }
  });
}

void FakeCluster::startFlood() {
  if (floodBlock_.isEmpty()) {
    QRandomGenerator random(20240622);
    floodBlock_.resize(64 * 1024);
    for (char& c : floodBlock_) {
      c = static_cast<char>(random.bounded(256));
      if (c == '\n' || c == '\r') c = 'x';
    }
  }
  flood_.start();
}

void FakeCluster::stopFlood() { flood_.stop(); }

bool FakeCluster::listen(quint16 port) { return server_.listen(QHostAddress::LocalHost, port); }

QString FakeCluster::loginCall() const {
  const qsizetype end = received.indexOf("\r\n");
  return QString::fromLatin1(end < 0 ? received : received.left(end));
}

void FakeCluster::write(const QByteArray& bytes) {
  if (!client_) return;
  client_->write(bytes);
  client_->flush();
}

void FakeCluster::writeChunks(const QList<QByteArray>& chunks) {
  for (const QByteArray& c : chunks) {
    write(c);
    // Let the bytes leave as their own segment before the next write.
    QElapsedTimer t;
    t.start();
    while (client_ && client_->bytesToWrite() > 0 && t.elapsed() < 1000) client_->waitForBytesWritten(50);
    QCoreApplication::processEvents();
  }
}

void FakeCluster::closeClient() {
  if (client_) {
    client_->flush();
    client_->disconnectFromHost();
  }
}

QList<QByteArray> FakeCluster::capturedLines() {
  const char* lines[] = {
      "DX de JE7ETY:     3525.0  E51DWC       cq up                          0917Z",
      "DX de W3LPL:      3525.1  E51DWC       Heard in WA                    0919Z FM19",
      "DX de EI55WAW     7046.5  EI55WAW      ses rtty                       1604Z",
      "DX de ON7WN:      7093.0  OT6V/P       onff 0230 : Rene               1001Z",
      "DX de HL2WA:      7026.0  9M2PUL       tnx QSO                        1002Z",
      "DX de DL3DTH-#:   1816.5  ON7PQ        CW 30 dB 23 WPM CQ             2201Z",
      "DX de ON5KQ-1-#:   7019.0  IZ5CPK         CW    20 dB  26 WPM  CQ      0915Z",
      "DX de AK7V-#:     7025.30  AC2K           CW    28 dB  27 WPM  CQ      0425Z",
      "DX de W3LPL:    144200.0  W1AW/KH6     SSB                            0101Z",
      "dx de w3lpl:     14025.0  ja1abc       cw                             1234Z",
      "WWV de VA6AAA <18>:   SFI=74, A=5, K=0, No Storms -> No Storms",
      "To ALL de K1TTT: DX test",
  };
  QList<QByteArray> out;
  for (const char* l : lines) out << QByteArray(l) + "\r\n";
  return out;
}

}  // namespace fd::sim
