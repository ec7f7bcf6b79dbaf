#pragma once
// The lines of the Zell RTTY link (the protocol is in zelllink.h): one
// message a line, "item=text", and the cutting of received bytes into lines.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace fd::zell {

inline constexpr int kMaxLine = 1024;

// One received line (LF removed) into item and text; nullopt when it carries none.
std::optional<std::pair<QString, QString>> parseLine(QByteArray line);
// The line sent for an item, LF included; line ends inside the text are dropped.
QByteArray formatLine(const QString& item, const QString& text);

// What a Unix socket address holds of a path, the ending NUL not counted.
inline constexpr int kMaxSocketPath = 107;
// The socket file of a local server name (zelllink.h states the rule): a full
// path stays as it is; else $TMPDIR/name, or /tmp/name when TMPDIR is unset or
// empty or that path would be longer than kMaxSocketPath bytes.
QString socketPath(const QString& name);

// Cuts received bytes into lines. It holds no more than one line's worth: a
// line longer than kMaxLine + 1 bytes (a CR may still end it) is dropped whole.
class LineSplitter {
 public:
  // Each complete line of the chunk (without its LF) goes to take; when take
  // returns false the rest of the chunk is dropped.
  void feed(const QByteArray& chunk, const std::function<bool(const QByteArray& line)>& take);
  void clear();
  qsizetype held() const { return partial_.size(); }

 private:
  QByteArray partial_;     // an incoming line not ended yet
  bool skipping_ = false;  // the current incoming line is already too long
};

}  // namespace fd::zell
