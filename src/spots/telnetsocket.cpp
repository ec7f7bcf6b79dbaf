#include "spots/telnetsocket.h"

#include <QTcpSocket>
#include <map>

namespace fd {

int winsockNumber(int qtSocketError) {
  switch (static_cast<QAbstractSocket::SocketError>(qtSocketError)) {
    case QAbstractSocket::ConnectionRefusedError: return 10061;
    case QAbstractSocket::HostNotFoundError: return 11001;
    case QAbstractSocket::SocketTimeoutError: return 10060;
    case QAbstractSocket::NetworkError: return 10051;
    case QAbstractSocket::AddressInUseError: return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError: return 10049;
    case QAbstractSocket::SocketResourceError: return 10055;
    default: return qtSocketError;
  }
}

QString winsockMessage(int number) {
  static const std::map<int, const char*> table = {
      {7, "ERROR: Out of memory."},
      {380, "ERROR: The property value is invalid."},
      {383, "ERROR: The property is read-only."},
      {394, "ERROR: The property can't be read."},
      {1004, "ERROR: The operation was canceled."},
      {10014, "ERROR: The requested address is a broadcast address, but flag is not set."},
      {10035, "ERROR: Socket is non-blocking and the specified operation will block."},
      {10036, "ERROR: A blocking Winsock operation in progress."},
      {10037, "ERROR: The operation is completed. No blocking operation in progress"},
      {10038, "ERROR: The descriptor is not a socket."},
      {10040, "ERROR: The datagram is too large to fit into the buffer and is truncated."},
      {10043, "ERROR: The specified port is not supported."},
      {10048, "ERROR: Address in use."},
      {10049, "ERROR: Address not available from the local machine."},
      {10050, "ERROR: Network subsystem failed."},
      {10051, "ERROR: The network cannot be reached from this host at this time."},
      {10052, "ERROR: Connection has timed out when SO_KEEPALIVE is set."},
      {10053, "ERROR: Connection is aborted due to timeout or other failure."},
      {10054, "ERROR: The connection is reset by remote side.!"},
      {10055, "ERROR: No buffer space is available."},
      {10056, "ERROR: Socket is already connected."},
      {10057, "ERROR: Socket is not connected."},
      {10058, "ERROR: Socket has been shut down."},
      {10060, "ERROR: Socket has been shut down."},
      {10061, "ERROR: Connection is forcefully rejected."},
      {10093, "ERROR: WinsockInit should be called first."},
      {11001, "ERROR: Authoritative answer: Host not found."},
      {11002, "ERROR: Non-Authoritative answer: Host not found."},
      {11003, "ERROR: Non-recoverable errors."},
      {11004, "ERROR: Valid name, no data record of requested type."},
  };
  const auto it = table.find(number);
  if (it != table.end()) return QString::fromLatin1(it->second);
  return QStringLiteral("Error number ") + QString::number(number);
}

namespace {

class QtTelnetSocket final : public TelnetSocket {
 public:
  QtTelnetSocket() {
    QObject::connect(&socket_, &QTcpSocket::readyRead, &socket_, [this] { if (onData) onData(); });
    QObject::connect(&socket_, &QAbstractSocket::errorOccurred, &socket_, [this](QAbstractSocket::SocketError e) {
      // The peer closing (or resetting) arrives as this error and then as
      // disconnected: that is the close path, not an error.
      if (e == QAbstractSocket::RemoteHostClosedError) return;
      if (onError) onError(winsockNumber(static_cast<int>(e)));
    });
    QObject::connect(&socket_, &QAbstractSocket::disconnected, &socket_, [this] {
      if (!closing_ && onClosedByPeer) onClosedByPeer();
    });
  }
  void connectToHost(const QString& host, int port) override {
    remoteHost = host;
    remotePort = port;
    socket_.connectToHost(host, static_cast<quint16>(port));
  }
  void close() override {
    closing_ = true;
    socket_.abort();
    closing_ = false;
  }
  bool connected() const override { return socket_.state() == QAbstractSocket::ConnectedState; }
  void send(const QByteArray& bytes) override { socket_.write(bytes); }
  QByteArray readAll() override { return socket_.readAll(); }

 private:
  QTcpSocket socket_;
  bool closing_ = false;
};

TelnetSocketFactory& factory() {
  static TelnetSocketFactory f;
  return f;
}

}  // namespace

std::unique_ptr<TelnetSocket> makeQtTelnetSocket() { return std::make_unique<QtTelnetSocket>(); }

std::unique_ptr<TelnetSocket> makeTelnetSocket() { return factory() ? factory()() : makeQtTelnetSocket(); }

void setTelnetSocketFactory(TelnetSocketFactory f) { factory() = std::move(f); }

}  // namespace fd
