#include "platform/audio.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

#include "platform/platform.h"

namespace fd {
namespace {

AudioFactory& factory() {
  static AudioFactory f;
  return f;
}

// Qt Multimedia. The player is made on the first play, not before: Debian's
// Qt 6.4 backend needs its GStreamer plugins, and a keyer window that is only
// loaded must not depend on them.
class QtAudioPlayer final : public AudioPlayer {
 public:
  ~QtAudioPlayer() override { close(); }

  void close() override {
    if (player_) {
      player_->stop();
      player_->setSource(QUrl());
    }
    active_ = false;
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

  bool play() override {
    active_ = false;
    if (opened_.isEmpty()) return false;
    // With no sound output there is nothing to wait for.
    if (QMediaDevices::audioOutputs().isEmpty()) return false;
    if (!player_) {
      player_ = std::make_unique<QMediaPlayer>();
      output_ = std::make_unique<QAudioOutput>();
      player_->setAudioOutput(output_.get());
      QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus st) {
        if (st == QMediaPlayer::EndOfMedia || st == QMediaPlayer::InvalidMedia) active_ = false;
      });
      QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, [this] { active_ = false; });
      QObject::connect(player_.get(), &QMediaPlayer::playbackStateChanged, [this](QMediaPlayer::PlaybackState st) {
        if (st == QMediaPlayer::StoppedState && started_) active_ = false;
        if (st == QMediaPlayer::PlayingState) started_ = true;
      });
    }
    started_ = false;
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

 private:
  std::unique_ptr<QMediaPlayer> player_;
  std::unique_ptr<QAudioOutput> output_;
  QString opened_;
  bool active_ = false;
  bool started_ = false;
};

}  // namespace

std::unique_ptr<AudioPlayer> makeQtAudioPlayer() { return std::make_unique<QtAudioPlayer>(); }

std::unique_ptr<AudioPlayer> makeAudioPlayer() { return factory() ? factory()() : makeQtAudioPlayer(); }

void setAudioFactory(AudioFactory f) { factory() = std::move(f); }

void FakeAudioPlayer::close() {
  log_->append(QStringLiteral("Close"));
  opened_ = false;
  endsAt_ = -1;
}

bool FakeAudioPlayer::open() {
  log_->append(QStringLiteral("Open ") + file_);
  endsAt_ = -1;
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
  if (!opened_) return false;
  endsAt_ = clock().monotonicMs() + length_;
  return true;
}

void FakeAudioPlayer::stop() {
  log_->append(QStringLiteral("Stop"));
  endsAt_ = -1;
}

bool FakeAudioPlayer::playing() const { return endsAt_ >= 0 && clock().monotonicMs() < endsAt_; }

}  // namespace fd
