#pragma once
// An AGW packet engine on 127.0.0.1 for the tests: answers 'X' with 1 (or 0),
// records 'm', answers 'C' with a connection notice and 'd' with a
// disconnect notice, sends 'U' monitor frames and 'D' data on demand, and can
// vanish. Frames whose call-from is not the registered call are ignored.
#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

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
};

}  // namespace fd::sim
