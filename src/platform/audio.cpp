#include "platform/audio.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <deque>

#include "platform/platform.h"
#include "platform/soundhelper.h"

namespace fd {
namespace {

AudioFactory& factory() {
  static AudioFactory f;
  return f;
}

QString& helperProgram() {
  static QString p;
  return p;
}

// The program's side of the sound helper (its wire is stated in
// soundhelper.cpp). Nothing here waits: commands are written and the
// helper's reports read as they come, on the event loop.
class HelperAudioPlayer final : public AudioPlayer {
 public:
  HelperAudioPlayer() {
    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, &holder_, [this] { checkAnswers(); });
  }
  ~HelperAudioPlayer() override {
    // Killed, not asked: a helper held by a stopped server would not answer.
    // A killed process ends at once, stopped or not, and is reaped here.
    proc_ = nullptr;
    for (QProcess* p : holder_.findChildren<QProcess*>()) {
      p->disconnect();
      p->kill();
      p->waitForFinished(1000);
      delete p;
    }
  }

  void close() override {
    opened_.clear();
    endRequest("close");
  }

  bool open() override {
    opened_.clear();
    const QFileInfo fi(file_);
    if (file_.trimmed().isEmpty() || !fi.isFile() || !fi.isReadable()) return false;
    opened_ = fi.absoluteFilePath();
    return true;
  }

  std::optional<bool> hasOutput() override {
    if (!output_ && !asked_ && startHelper()) {
      asked_ = true;
      write("output");
    }
    return output_;
  }

  bool play() override {
    endRequest("close");
    if (opened_.isEmpty() || output_ == false || !startHelper()) return false;
    current_ = ++serial_;
    sendPlay();
    return true;  // loading counts as playing, so PTT is not dropped before the audio starts
  }

  void stop() override { endRequest("stop"); }

  bool playing() const override { return current_ >= 0; }
  std::int64_t positionMs() const override { return position_; }
  std::int64_t durationMs() const override { return duration_; }

 private:
  // The request ends here at once; the helper is told when it has a sound
  // under way, and must answer within kHelperAnswerMs.
  void endRequest(const char* verb) {
    const bool underWay = current_ >= 0;
    current_ = -1;
    position_ = 0;
    duration_ = -1;
    if (!proc_ || !underWay) return;
    const qint64 seq = ++serial_;
    write(verb + (' ' + QByteArray::number(seq)));
    QElapsedTimer sent;
    sent.start();
    unanswered_.push_back({seq, sent});
    if (!watchdog_.isActive()) watchdog_.start(kHelperAnswerMs);
  }

  void checkAnswers() {
    if (unanswered_.empty()) return;
    const qint64 age = unanswered_.front().sent.elapsed();
    if (age >= kHelperAnswerMs) return killHelper();
    watchdog_.start(static_cast<int>(kHelperAnswerMs - age));
  }

  bool startHelper() {
    if (proc_) return true;
    if (helperProgram().isEmpty()) {
      noOutput();
      return false;
    }
    auto* p = new QProcess(&holder_);
    proc_ = p;
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(p, &QProcess::readyReadStandardOutput, &holder_, [this, p] { readReports(p); });
    QObject::connect(p, &QProcess::errorOccurred, &holder_, [this, p](QProcess::ProcessError e) {
      if (e == QProcess::FailedToStart && p == proc_) {
        dropHelper();
        noOutput();
      }
    });
    QObject::connect(p, &QProcess::finished, &holder_, [this, p] {
      if (p == proc_) dropHelper();
      p->deleteLater();
    });
    p->start(helperProgram(), soundHelperArguments());
    return true;
  }

  void noOutput() {
    if (output_) return;
    output_ = false;
    if (onOutputAnswer) onOutputAnswer();
  }

  void write(const QByteArray& line) {
    if (proc_) proc_->write(line + '\n');
  }

  void readReports(QProcess* p) {
    while (p == proc_ && p->canReadLine()) {
      const QList<QByteArray> w = p->readLine().trimmed().split(' ');
      const QByteArray& verb = w.value(0);
      const qint64 n = w.value(1).toLongLong();
      if (verb == "output") {
        if (output_) continue;  // the first answer is kept
        output_ = w.value(1) == "1";
        if (onOutputAnswer) onOutputAnswer();
      } else if (verb == "pos" && n == current_) {
        position_ = w.value(2).toLongLong();
        duration_ = w.value(3).toLongLong();
      } else if (verb == "end" && n == current_) {
        current_ = -1;
      } else if (verb == "done") {
        while (!unanswered_.empty() && unanswered_.front().seq <= n) unanswered_.pop_front();
        if (unanswered_.empty()) watchdog_.stop();
      }
    }
  }

  // By its process id; QProcess reaps it when it has gone. A play sent after
  // the unanswered command goes to a new helper: a helper that was only slow
  // must not cost the message, and one held by the server holds it no longer.
  void killHelper() {
    QProcess* p = proc_;
    const qint64 replay = current_;
    dropHelper();
    p->kill();
    if (replay < 0 || opened_.isEmpty() || !startHelper()) return;
    current_ = replay;
    sendPlay();
  }

  void sendPlay() { write("play " + QByteArray::number(current_) + ' ' + QUrl::toPercentEncoding(opened_)); }

  void dropHelper() {
    proc_ = nullptr;
    current_ = -1;
    unanswered_.clear();
    watchdog_.stop();
    if (!output_) asked_ = false;  // the next helper is asked again
  }

  struct Sent {
    qint64 seq;
    QElapsedTimer sent;
  };
  QObject holder_;  // owns the helper processes and the connections
  QProcess* proc_ = nullptr;
  QTimer watchdog_;
  std::deque<Sent> unanswered_;
  std::optional<bool> output_;
  bool asked_ = false;
  QString opened_;
  qint64 serial_ = 0;    // numbers the plays, stops and closes
  qint64 current_ = -1;  // the play under way (not ended, stopped or closed); -1 none
  std::int64_t position_ = 0, duration_ = -1;
};

}  // namespace

// RIFF: "RIFF", size, "WAVE", then chunks of a 4-byte id, a little-endian
// 32-bit size and the data, padded to an even length. "fmt " holds the byte
// rate at offset 8; "data" holds the sound.
std::optional<std::int64_t> wavLengthMs(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  auto u32 = [](const QByteArray& b, qsizetype at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
  };
  const QByteArray head = f.read(12);
  if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") return std::nullopt;
  std::uint32_t byteRate = 0;
  for (int chunks = 0; chunks < 64; ++chunks) {  // a damaged file cannot walk for long
    const QByteArray h = f.read(8);
    if (h.size() < 8) return std::nullopt;
    const std::uint32_t size = u32(h, 4);
    const qint64 at = f.pos();
    if (h.startsWith("fmt ")) {
      const QByteArray fmt = f.read(12);
      if (fmt.size() < 12) return std::nullopt;
      byteRate = u32(fmt, 8);
    } else if (h.startsWith("data")) {
      if (byteRate == 0) return std::nullopt;
      const std::int64_t bytes = std::min<std::int64_t>(size, f.size() - at);
      return bytes * 1000 / byteRate;
    }
    if (!f.seek(at + size + (size & 1))) return std::nullopt;
  }
  return std::nullopt;
}

std::unique_ptr<AudioPlayer> makeQtAudioPlayer() { return std::make_unique<HelperAudioPlayer>(); }

void setSoundHelperProgram(const QString& program) { helperProgram() = program; }

void SoundCeiling::start(const QString& file) {
  requestedAt_ = clock().monotonicMs();
  beganAt_ = -1;
  headerMs_ = wavLengthMs(file);
}

bool SoundCeiling::past(const AudioPlayer& player) const {
  const std::int64_t now = clock().monotonicMs();
  // The sound has begun once its position has left 0, that long ago.
  if (beganAt_ < 0 && player.started()) beganAt_ = now - player.positionMs();
  if (now - requestedAt_ < kLimitMs) return false;
  if (beganAt_ < 0) return true;  // the sound never began
  std::int64_t length = headerMs_.value_or(-1);
  if (length < 0) length = player.durationMs();
  if (length < 0) return true;  // no length known: unplayable
  return now >= beganAt_ + length + kLimitMs;
}

std::unique_ptr<AudioPlayer> makeAudioPlayer() { return factory() ? factory()() : makeQtAudioPlayer(); }

void setAudioFactory(AudioFactory f) { factory() = std::move(f); }

void FakeAudioPlayer::close() {
  log_->append(QStringLiteral("Close"));
  opened_ = false;
  playAt_ = -1;
  held_ = false;
}

bool FakeAudioPlayer::open() {
  log_->append(QStringLiteral("Open ") + file_);
  playAt_ = -1;
  held_ = false;
  opened_ = false;
  length_ = 0;
  if (lengths_) {
    const auto it = lengths_->find(file_);
    if (it != lengths_->end()) {
      opened_ = true;
      length_ = it->second;
    }
  }
  return opened_;
}

bool FakeAudioPlayer::play() {
  log_->append(QStringLiteral("play ") + file_);
  held_ = false;
  if (!opened_ || !outputs) return false;
  held_ = stalled;
  playAt_ = stalled ? -1 : clock().monotonicMs();
  return true;
}

void FakeAudioPlayer::stop() {
  log_->append(QStringLiteral("Stop"));
  playAt_ = -1;
  held_ = false;
}

std::optional<bool> FakeAudioPlayer::hasOutput() {
  log_->append(QStringLiteral("Outputs"));
  const std::int64_t now = clock().monotonicMs();
  if (askedAt_ < 0) askedAt_ = now;
  if (outputAfterMs < 0 || now - askedAt_ < outputAfterMs) return std::nullopt;
  return outputs;
}

void FakeAudioPlayer::catchUp() {
  stalled = false;
  if (held_) playAt_ = clock().monotonicMs();
  held_ = false;
}

std::int64_t FakeAudioPlayer::positionMs() const {
  if (playAt_ < 0 || beginAfterMs < 0) return 0;
  return std::clamp<std::int64_t>(clock().monotonicMs() - playAt_ - beginAfterMs, 0, length_);
}

bool FakeAudioPlayer::playing() const {
  if (held_) return true;  // loading
  if (playAt_ < 0) return false;
  if (beginAfterMs < 0 || !reportsEnd) return true;  // loading for ever, or an end that never comes
  return clock().monotonicMs() < playAt_ + beginAfterMs + length_;
}

std::int64_t FakeAudioPlayer::durationMs() const { return reportsDuration && started() ? length_ : -1; }

}  // namespace fd
