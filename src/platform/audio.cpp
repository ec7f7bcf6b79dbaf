#include "platform/audio.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include <algorithm>

#include "platform/platform.h"

namespace fd {
namespace {

AudioFactory& factory() {
  static AudioFactory f;
  return f;
}

// Qt Multimedia. The player is made when an output is first asked for, not
// before: Debian's Qt 6.4 backend needs its GStreamer plugins, and a keyer
// window that is only loaded must not depend on them.
// What Qt 6.4 with GStreamer and PulseAudio does here: play() reports
// PlayingState at once, whether or not the server takes the sound; the
// position leaves 0 only once the sound goes out (about 0.2 s with a null
// sink) and stays 0 on a server that has stopped; while the next source
// loads, position() may still give the last one's. Stopping, or replacing a
// source that has played, waits on a stopped server until it runs again.
class QtAudioPlayer final : public AudioPlayer {
 public:
  ~QtAudioPlayer() override { close(); }

  void close() override {
    ++generation_;
    if (player_) {
      player_->stop();
      player_->setSource(QUrl());
    }
    active_ = false;
    played_ = false;
    opened_.clear();
  }

  bool open() override {
    active_ = false;
    opened_.clear();
    const QFileInfo fi(file_);
    if (file_.trimmed().isEmpty() || !fi.isFile() || !fi.isReadable()) return false;
    opened_ = fi.absoluteFilePath();
    return true;
  }

  bool hasOutput() override {
    if (QMediaDevices::audioOutputs().isEmpty()) return false;
    if (!player_) makeBackend();
    return true;
  }

  bool play() override {
    active_ = false;
    if (opened_.isEmpty()) return false;
    // With no sound output there is nothing to wait for.
    if (!hasOutput()) return false;
    ++generation_;
    played_ = true;
    active_ = true;  // loading counts as playing, so PTT is not dropped before the audio starts
    player_->setSource(QUrl::fromLocalFile(opened_));
    player_->play();
    return active_;
  }

  void stop() override {
    active_ = false;
    if (player_) player_->stop();
  }

  bool playing() const override { return active_; }
  std::int64_t positionMs() const override {
    if (!player_ || !played_) return 0;
    const QMediaPlayer::MediaStatus st = player_->mediaStatus();
    if (st == QMediaPlayer::NoMedia || st == QMediaPlayer::LoadingMedia) return 0;
    return std::max<qint64>(player_->position(), 0);
  }
  std::int64_t durationMs() const override {
    const qint64 d = player_ ? player_->duration() : 0;
    return d > 0 ? d : -1;
  }

 private:
  void makeBackend() {
    player_ = std::make_unique<QMediaPlayer>();
    output_ = std::make_unique<QAudioOutput>();
    player_->setAudioOutput(output_.get());
    QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus st) {
      if (st != QMediaPlayer::EndOfMedia && st != QMediaPlayer::InvalidMedia) return;
      active_ = false;
      // The stream is given back while the server still answers, so that the
      // next play replaces no live stream (which a stalled server would hold).
      const int played = generation_;
      QTimer::singleShot(0, player_.get(), [this, played] {
        if (played == generation_) player_->setSource(QUrl());
      });
    });
    QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, [this] { active_ = false; });
    QObject::connect(player_.get(), &QMediaPlayer::playbackStateChanged, [this](QMediaPlayer::PlaybackState st) {
      if (st == QMediaPlayer::StoppedState && started()) active_ = false;
    });
  }

  std::unique_ptr<QMediaPlayer> player_;
  std::unique_ptr<QAudioOutput> output_;
  QString opened_;
  bool active_ = false;
  bool played_ = false;  // play() since the last close()
  int generation_ = 0;   // counts plays and closes
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

std::unique_ptr<AudioPlayer> makeQtAudioPlayer() { return std::make_unique<QtAudioPlayer>(); }

std::unique_ptr<AudioPlayer> makeAudioPlayer() { return factory() ? factory()() : makeQtAudioPlayer(); }

void setAudioFactory(AudioFactory f) { factory() = std::move(f); }

void FakeAudioPlayer::close() {
  log_->append(QStringLiteral("Close"));
  opened_ = false;
  playAt_ = -1;
}

bool FakeAudioPlayer::open() {
  log_->append(QStringLiteral("Open ") + file_);
  playAt_ = -1;
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
  if (!opened_ || !outputs) return false;
  playAt_ = clock().monotonicMs();
  return true;
}

void FakeAudioPlayer::stop() {
  log_->append(QStringLiteral("Stop"));
  playAt_ = -1;
}

bool FakeAudioPlayer::hasOutput() {
  log_->append(QStringLiteral("Outputs"));
  return outputs;
}

std::int64_t FakeAudioPlayer::positionMs() const {
  if (playAt_ < 0 || beginAfterMs < 0) return 0;
  return std::clamp<std::int64_t>(clock().monotonicMs() - playAt_ - beginAfterMs, 0, length_);
}

bool FakeAudioPlayer::playing() const {
  if (playAt_ < 0) return false;
  if (beginAfterMs < 0 || !reportsEnd) return true;  // loading for ever, or an end that never comes
  return clock().monotonicMs() < playAt_ + beginAfterMs + length_;
}

std::int64_t FakeAudioPlayer::durationMs() const { return reportsDuration && started() ? length_ : -1; }

}  // namespace fd
