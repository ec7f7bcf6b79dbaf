#include "fakeagw.h"

#include <QRandomGenerator>
#include <QtEndian>

namespace fd::sim {

FakeAgwEngine::FakeAgwEngine(QObject* parent) : QObject(parent) {
  connect(&server_, &QTcpServer::newConnection, this, [this] {
    QTcpSocket* s = server_.nextPendingConnection();
    if (!s) return;
    // One client at a time; a socket that went is freed, and the stream to
    // it ends (a new client gets its registration answer first).
    stream_.stop();
    if (client_) client_->abort();
    connect(s, &QAbstractSocket::disconnected, s, &QObject::deleteLater);
    client_ = s;
    in_.clear();
    connect(s, &QTcpSocket::readyRead, this, [this, s] {
      in_.feed(s->readAll());
      while (!in_.frames.empty()) {
        agw::Frame f = in_.frames.front();
        in_.frames.pop_front();
        onFrame(f);
      }
    });
  });
  stream_.setInterval(1);
  connect(&stream_, &QTimer::timeout, this, [this] {
    constexpr qint64 kMaxWaiting = 256 * 1024;
    if (!client_ || client_->state() != QAbstractSocket::ConnectedState) {
      stream_.stop();
      return;
    }
    while (client_->state() == QAbstractSocket::ConnectedState && client_->bytesToWrite() < kMaxWaiting) {
      client_->write(streamBlock_);
      streamed += streamBlock_.size();
    }
  });
}

bool FakeAgwEngine::listen(quint16 port) { return server_.listen(QHostAddress::LocalHost, port); }

void FakeAgwEngine::send(const agw::Frame& f) {
  if (!client_) return;
  client_->write(*agw::encode(f));
  client_->flush();
}

void FakeAgwEngine::onFrame(const agw::Frame& f) {
  received << f;
  agw::Frame answer;
  switch (f.kind) {
    case 'X':
      registered = acceptRegistration ? f.callFrom : QString();
      answer.kind = 'X';
      answer.callFrom = f.callFrom;
      answer.data = QByteArray(1, acceptRegistration ? 1 : 0);
      send(answer);
      if (announceLength && client_) {
        agw::Frame u;
        u.kind = 'U';
        u.callFrom = QStringLiteral("W1AW");
        u.callTo = QStringLiteral("APRS");
        QByteArray header = agw::encode(u)->left(agw::kHeaderSize);
        qToLittleEndian<quint32>(*announceLength, header.data() + 28);
        client_->write(header);
        ++announced;
        if (streamBlock_.isEmpty()) {
          QRandomGenerator random(20240623);
          streamBlock_.resize(64 * 1024);
          for (char& c : streamBlock_) c = static_cast<char>(random.bounded(256));
        }
        stream_.start();
      }
      return;
    case 'm': ++monitorToggles; return;
    default: break;
  }
  if (f.callFrom != registered) return;  // a real engine finds the link by the own call
  if (f.kind == 'C') {
    answer.kind = 'C';
    answer.callFrom = f.callTo;
    answer.callTo = f.callFrom;
    answer.data = "*** CONNECTED With Station " + f.callTo.toLatin1() + '\r' + '\0';
    send(answer);
  } else if (f.kind == 'd') {
    answer.kind = 'd';
    answer.callFrom = f.callTo;
    answer.callTo = f.callFrom;
    answer.data = "*** DISCONNECTED From Station " + f.callTo.toLatin1() + '\r' + '\0';
    send(answer);
  }
}

void FakeAgwEngine::sendMonitor(const QString& from, const QByteArray& text) {
  agw::Frame f;
  f.kind = 'U';
  f.callFrom = from;
  f.callTo = QStringLiteral("APRS");
  f.data = " 1:Fm " + from.toLatin1() + " To APRS <UI pid=F0 Len=" + QByteArray::number(text.size()) +
           " PF=0 >[12:00:00]\r" + text + '\r' + '\0';
  send(f);
}

void FakeAgwEngine::sendData(const QString& from, const QByteArray& text) {
  agw::Frame f;
  f.kind = 'D';
  f.pid = 0xF0;
  f.callFrom = from;
  f.callTo = registered;
  f.data = text;
  send(f);
}

void FakeAgwEngine::sendRaw(const QByteArray& bytes) {
  if (client_) {
    client_->write(bytes);
    client_->flush();
  }
}

void FakeAgwEngine::vanish() {
  if (client_) client_->disconnectFromHost();
  server_.close();
}

}  // namespace fd::sim
