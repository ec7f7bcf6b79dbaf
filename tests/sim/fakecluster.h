#pragma once
// A telnet DX cluster on 127.0.0.1 for the tests: sends "login: " with no
// line end, takes the call up to CR LF, then writes scripted text in
// controlled chunks and can close the connection. A hostile mode floods the
// client with bytes that never end a line.
#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace fd::sim {

class FakeCluster : public QObject {
  Q_OBJECT
 public:
  explicit FakeCluster(QObject* parent = nullptr);
  bool listen(quint16 port = 0);  // 0: an ephemeral port
  quint16 port() const { return server_.serverPort(); }

  bool hasClient() const { return client_ && client_->state() == QAbstractSocket::ConnectedState; }
  QByteArray received;  // everything the client sent
  QString loginCall() const;  // the first line the client sent, without CR LF

  // Chunked writes: each entry goes out in one write.
  void write(const QByteArray& bytes);
  void writeChunks(const QList<QByteArray>& chunks);  // with the event loop run between
  void closeClient();

  // Sends random bytes with no CR and no LF as fast as the client takes them
  // (at most 256 KB waiting on our side), until stopFlood.
  void startFlood();
  void stopFlood();
  qint64 flooded = 0;  // bytes handed to the socket by the flood

  // Real captures of several node types, each ending CR LF.
  static QList<QByteArray> capturedLines();

 signals:
  void clientConnected();

 private:
  QTcpServer server_;
  QPointer<QTcpSocket> client_;
  QTimer flood_;
  QByteArray floodBlock_;
};

}  // namespace fd::sim
