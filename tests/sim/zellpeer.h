#pragma once
// A stand-in for the Zell RTTY program: a local server speaking the line
// protocol of src/keying/zelllink.h. It records every line it receives and
// sends whatever lines the test gives it to every connected logger. Written
// from the protocol text, not from the logger's code.
#include <QByteArray>
#include <QList>
#include <QLocalServer>
#include <QLocalSocket>
#include <QString>
#include <QStringList>
#include <functional>

namespace fd::sim {

class ZellPeer : public QObject {
 public:
  // Listens on name: a full path, or a name whose socket file lies where the
  // protocol puts it ($TMPDIR, or /tmp when that path is too long).
  explicit ZellPeer(const QString& name);
  ~ZellPeer() override;
  bool listening() const { return server_.isListening(); }
  QString name() const { return server_.serverName(); }

  QStringList lines;        // received, LF removed
  bool reading = true;      // false: received bytes stay unread (see stopReading)
  int connections = 0;
  QString logPath;          // when set, every received line is appended there too
  // Runs for each received line once it is recorded: a peer that takes its
  // time over a line, or acts as lines come in.
  std::function<void(const QString&)> onLine;

  void send(const QByteArray& bytes);  // raw, to every client
  void sendLine(const QString& line) { send(line.toUtf8() + '\n'); }
  void dropClients();                  // closes every connection, keeps listening
  void stop();                         // closes connections and the server
  bool hasClient() const;
  // Stops taking bytes at all: the socket's buffers fill up as with a hung program.
  void stopReading();

 private:
  void readFrom(QLocalSocket* c);
  QLocalServer server_;
  QList<QLocalSocket*> clients_;
  QByteArray partial_;
};

}  // namespace fd::sim
