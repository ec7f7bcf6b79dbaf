#pragma once
// A WinKey keyer on the master side of a pseudo-terminal, driven by the event
// loop (one thread). It answers the echo test and host open (version 23, or
// silence, or a wrong echo, on request), "sends" queued characters at a set
// pace reporting busy, XOFF past a threshold and idle as status bytes,
// answers 15, honours 0A and 08, and logs every byte split into commands by
// their argument counts ("00 04 55", "02 0D", "41").
#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

namespace fd::sim {

class WinKeySim : public QObject {
 public:
  enum class Answer { Normal, Silent, WrongEcho, NoVersion };
  WinKeySim();
  // On an existing device (the far end of a socat pair).
  explicit WinKeySim(const QString& device);
  std::function<void(const QString& command)> onCommand;
  ~WinKeySim() override;
  bool ok() const { return master_ >= 0; }
  // Closes the keyer's end, as a socat pair that ends or a keyer pulled.
  void hangUp();
  QString slavePath() const { return slave_; }

  Answer answer = Answer::Normal;
  int version = 23;
  int msPerChar = 20;
  int xoffAt = 8;  // queued characters at which XOFF is reported
  QStringList log;  // commands as hex
  QByteArray queue;  // characters waiting to be "sent"
  QByteArray sent;   // characters sent
  bool hostOpen = false;
  // Every command's bytes joined, for comparing with a table.
  QString wire() const { return log.join(u' '); }

 private:
  void watch();
  void onReadable();
  void take(std::uint8_t b);
  void reportStatus();
  void tick();
  void write(std::uint8_t b);
  int master_ = -1;
  QString slave_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer pace_;
  QByteArray pending_;  // bytes of an unfinished command
  std::uint8_t lastStatus_ = 0xFF;
};

}  // namespace fd::sim
