#pragma once
// The telnet cluster link's TCP client: connect, send bytes, read what came,
// close; its events are data arrival, an error (numbered as the classic
// Winsock control numbers them) and the peer closing the connection.
// Qt's socket errors take their Winsock counterpart's number; any other
// error passes Qt's own code.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

namespace fd {

class TelnetSocket {
 public:
  virtual ~TelnetSocket() = default;
  virtual void connectToHost(const QString& host, int port) = 0;
  virtual void close() = 0;
  virtual bool connected() const = 0;  // the control's State 7
  virtual void send(const QByteArray& bytes) = 0;
  virtual QByteArray readAll() = 0;

  QString remoteHost;
  int remotePort = 0;

  std::function<void()> onData;
  std::function<void(int number)> onError;
  std::function<void()> onClosedByPeer;
};

// The number an error event carries for a Qt socket error.
int winsockNumber(int qtSocketError);
// The monitor's text for an error number.
QString winsockMessage(int number);

std::unique_ptr<TelnetSocket> makeQtTelnetSocket();

// Tests: records what is sent, delivers data and events on demand.
class FakeTelnetSocket final : public TelnetSocket {
 public:
  void connectToHost(const QString& host, int port) override {
    remoteHost = host;
    remotePort = port;
    ++connects;
    connected_ = connectSucceeds;
  }
  void close() override { connected_ = false; ++closes; }
  bool connected() const override { return connected_; }
  void send(const QByteArray& bytes) override { sent += bytes; }
  QByteArray readAll() override { return std::exchange(pending, {}); }

  void deliver(const QByteArray& bytes) {
    pending += bytes;
    if (onData) onData();
  }
  bool connectSucceeds = true;
  QByteArray sent, pending;
  int connects = 0, closes = 0;

 private:
  bool connected_ = false;
};

// Which sockets the spotting window gets (tests install a factory).
using TelnetSocketFactory = std::function<std::unique_ptr<TelnetSocket>()>;
std::unique_ptr<TelnetSocket> makeTelnetSocket();
void setTelnetSocketFactory(TelnetSocketFactory f);

}  // namespace fd
