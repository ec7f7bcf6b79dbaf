#pragma once
// The link to the Zell RTTY program: a local-socket client. The RTTY program
// (or a bridge to it) listens on the local server "ZellRTTY.frmDigitalDest",
// a socket file in the temporary folder. Both ends find it by one rule: it is
// $TMPDIR/ZellRTTY.frmDigitalDest (a trailing "/" of $TMPDIR dropped), or
// /tmp/ZellRTTY.frmDigitalDest when TMPDIR is unset or empty or that path is
// longer than 107 bytes, more than a Unix socket address holds
// (zell::socketPath).
//
// Only a peer of our own user is talked to: the moment the socket connects,
// the user id the peer listened as (SO_PEERCRED) must be ours, root being no
// exception; else the socket is shut before a byte passes either way and the
// link counts as not found. A bridge should check the logger likewise. When
// another user holds the name in /tmp, a private TMPDIR for both ends avoids it.
//
// Wire protocol, both directions the same:
//   - one message per line, UTF-8, ended by LF; a CR before the LF is dropped;
//   - a message is an item name, "=", and the item's whole text; the text may
//     be empty and may hold "=" (the first "=" ends the name);
//   - the items are the twenty box names txtBMyCall, txtBUrCall,
//     txtBField1..txtBField8 (logger to program) and txtSMyCall, txtSUrCall,
//     txtSField1..txtSField8 (program to logger);
//   - the logger sends a line whenever one of its boxes changes; the program
//     sends a line whenever an item changes on its side;
//   - lines without "=", or longer than 1024 bytes, are ignored (unknown items
//     are the holder's to ignore); line ends inside a text cannot be carried
//     and are dropped on sending.
// Nothing ever blocks: at most 64 KB wait unsent for a peer that stops
// reading, lines beyond that are dropped, and a peer that is gone takes
// nothing.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "keying/zelllines.h"

class QLocalSocket;

namespace fd {

inline const QString kZellServerName = QStringLiteral("ZellRTTY.frmDigitalDest");

class ZellLink : public QObject {
 public:
  static constexpr qint64 kMaxPending = 64 * 1024;
  static constexpr int kMaxLine = zell::kMaxLine;

  explicit ZellLink(QObject* parent = nullptr);
  ~ZellLink() override;

  // Connects to the named local server (its socket file by the rule above, or
  // a full path), waiting at most limitMs with events running; false when
  // refused, missing or not made in time.
  bool open(const QString& serverName, int limitMs);
  void close();
  bool isOpen() const;
  // Sends one message; dropped silently when the link is down or too much is
  // already waiting.
  void send(const QString& item, const QString& text);
  qint64 pendingBytes() const;

  // Each well-formed incoming message.
  std::function<void(const QString& item, const QString& text)> onMessage;

  // One received line (LF removed) into item and text; nullopt when it carries none.
  static std::optional<std::pair<QString, QString>> parseLine(QByteArray line) { return zell::parseLine(std::move(line)); }
  static QByteArray formatLine(const QString& item, const QString& text) { return zell::formatLine(item, text); }

 private:
  void readAvailable();

  QLocalSocket* socket_ = nullptr;
  bool peerChecked_ = false;  // the peer runs as our own user
  zell::LineSplitter lines_;
};

}  // namespace fd
