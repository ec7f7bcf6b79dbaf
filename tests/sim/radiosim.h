#pragma once
// A radio for tests: answers the read requests of one protocol family and
// follows its set commands, on the master side of a pseudo-terminal (or on a
// device given by path). Every byte received is recorded with a monotonic
// time stamp. It can answer late, split an answer into two chunks with a
// gap, answer garbage, stay silent, stop reading, or close its end, or
// babble: stream random bytes at a line speed for as long as asked.
//
// Protocols (by family name, as the rig window lists them):
//  Kenwood, Elecraft, Kenwood 2   "FA;" "MD;" "IF;" and "FA..;" "FB..;" "MDn;"
//  Yaesu FTdx9000                 "FA;" "MD0;" and "FA........;" "MD0n;"
//  Icom, Icom 735, Ten Tec Omni VI  CI-V 03, 04, 05, 06 (optional bus echo)
//  Yaesu                          5-byte commands: 03 status, 01 set, 07 mode
//  Yaesu 757 GX II / 890 / 920 / 990 / 1000 D / 1000   status blocks, 0A set, 0C mode
//  Ten Tec Fnt Pnl                "?A" CR, "?M" CR, "*A" + 4 bytes + CR
//  Ten Tec Orion                  "?AF" CR, "?RMM" CR, "*AF<Hz>" CR
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

namespace fd::sim {

class RadioSim : public QObject {
  Q_OBJECT
 public:
  explicit RadioSim(const QString& family);
  ~RadioSim() override;

  // A new pseudo-terminal; its slave path is returned (empty on failure).
  QString openPty();
  // An existing device (a socat pty end).
  bool openDevice(const QString& path);
  // Closes our end: the far side sees a vanished device.
  void closeEnd();
  int fd() const { return fd_; }

  qint64 hz = 14025000;
  QString mode = QStringLiteral("CW");  // LSB USB CW CW-R AM FM RTTY
  bool echo = false;        // CI-V bus echo of each request
  bool silent = false;
  bool garbage = false;
  bool stopReading = false;
  int lateMs = 0;           // answer after this delay
  int splitAt = 0;          // > 0: first chunk this long, rest after splitGapMs
  int splitGapMs = 30;
  int civAddress = 0x64;

  // Random bytes at `baud` (ten bits a byte: start, eight data, stop), written
  // every 10 ms until stopNoise. Bytes the far side has no room for are
  // dropped and counted, as a real line would lose them.
  void startNoise(int baud);
  void stopNoise();
  qint64 noiseSent = 0, noiseRefused = 0;

  struct Rx {
    qint64 ms;
    QByteArray bytes;
  };
  QList<Rx> received;
  QByteArray allReceived() const;
  // The clock of the time stamps.
  qint64 now() const { return clock_.elapsed(); }
  // The stamp of the read that brought the first byte of `what`, searched in
  // what arrived from read `fromRead` on and from byte `fromByte` of those
  // reads; -1 when it has not come. `at` gets the byte where it starts.
  qint64 stampOf(const QByteArray& what, qsizetype fromRead, qsizetype fromByte = 0, qsizetype* at = nullptr) const;
  QList<QByteArray> commands;  // each whole command recognised, in order

  // Line settings of the slave as the program set them (read from the master).
  struct Line {
    int baud = 0;
    int dataBits = 0;
    char parity = 'N';
    int stopBits = 1;
    bool rtscts = false;
  };
  Line lineSettings() const;

 private:
  void onReadable();
  void process();
  void send(const QByteArray& answer);
  void writeNow(const QByteArray& b);
  QByteArray kenwood(const QByteArray& cmd);
  QByteArray civ(const QByteArray& frame);
  QByteArray yaesuBlock() const;
  int modeDigitKenwood() const;

  QString family_;
  int fd_ = -1, slaveFd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  QByteArray buf_;
  QElapsedTimer clock_;
  QTimer noise_;
  QElapsedTimer noiseClock_;
  int noiseBaud_ = 0;
  qint64 noiseDue_ = 0;
  quint32 noiseSeed_ = 56000;
};

}  // namespace fd::sim
