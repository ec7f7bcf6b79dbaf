#pragma once
// An AGW packet engine on 127.0.0.1 for the tests: answers 'X' with 1 (or 0),
// records 'm', answers 'C' with a connection notice and 'd' with a
// disconnect notice, sends 'U' monitor frames and 'D' data on demand, and can
// vanish. Frames whose call-from is not the registered call are ignored.
// A hostile mode announces a frame longer than any engine sends and streams.
#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <optional>

#include "platform/agwframe.h"

namespace fd::sim {

class FakeAgwEngine : public QObject {
  Q_OBJECT
 public:
  explicit FakeAgwEngine(QObject* parent = nullptr);
  bool listen(quint16 port = 0);
  quint16 port() const { return server_.serverPort(); }

  bool acceptRegistration = true;
  QList<agw::Frame> received;  // every frame the client sent
  int monitorToggles = 0;
  QString registered;

  // When set: after each registration answer, a monitored-frame header with
  // this data length, then random bytes as fast as the client takes them (at
  // most 256 KB waiting on our side) until it goes.
  std::optional<quint32> announceLength;
  int announced = 0;    // headers sent
  qint64 streamed = 0;  // bytes handed to the socket after them

  void sendMonitor(const QString& from, const QByteArray& text);  // 'U'
  void sendData(const QString& from, const QByteArray& text);     // 'D'
  void sendRaw(const QByteArray& bytes);
  void vanish();

 private:
  void send(const agw::Frame& f);
  void onFrame(const agw::Frame& f);
  QTcpServer server_;
  QPointer<QTcpSocket> client_;
  agw::Reassembler in_;
  QTimer stream_;
  QByteArray streamBlock_;
};

}  // namespace fd::sim
