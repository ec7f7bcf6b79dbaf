#pragma once
// The wave-file player of the voice keyer and the voice prompts: close (stop
// and free), set the file, open, play (returns at once; the file plays in the
// background), stop, and whether it is playing. "Playing" holds from play()
// until the file ends, a stop, or an error; a file that is missing or cannot
// be played, or a machine with no sound output, plays nothing and reports not
// playing at once.
// The real player runs on the caller's thread and can wait on the sound
// system: Qt's first look at the devices (in hasOutput) waits on a server that
// takes the connection and never answers, about 30 s; making the backend, a
// stop() or close() of a sound not yet ended, and a play() that replaces one,
// wait on a server that has stopped until it runs again. A caller that keys
// a line around a sound asks hasOutput() before keying, and releases the line
// before a stop or close that ends the transmission.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace fd {

class AudioPlayer {
 public:
  virtual ~AudioPlayer() = default;
  virtual void close() = 0;                  // "Close": stops and frees the device
  void setFileName(const QString& f) { file_ = f; }
  QString fileName() const { return file_; }
  virtual bool open() = 0;                   // "Open": false when the file cannot be played
  virtual bool play() = 0;                   // "play": false when nothing will sound
  virtual void stop() = 0;                   // "Stop"
  virtual bool playing() const = 0;          // the mode reads 526
  // Whether a sound output exists; the real player also makes its backend here.
  virtual bool hasOutput() = 0;
  // Since the last play(): how far the sound has got (0 until it is heard;
  // playing() also holds while the backend is still loading), whether it has
  // begun, and the length the player reports (-1 while it reports none).
  virtual std::int64_t positionMs() const = 0;
  bool started() const { return positionMs() > 0; }
  virtual std::int64_t durationMs() const = 0;

 protected:
  QString file_;
};

// The length of a WAV file's sound from its header: the data chunk's size
// (no more than the file holds) over the fmt chunk's byte rate. Empty when
// the file cannot be read or is no RIFF WAVE file with both chunks.
std::optional<std::int64_t> wavLengthMs(const QString& file);

// The real player (Qt Multimedia; the backend is created on the first play).
std::unique_ptr<AudioPlayer> makeQtAudioPlayer();

// A player for tests: a table of file -> length in ms (a file not in the
// table fails to open), timed by the program clock (virtual in tests). It
// records every command with its file: "Close", "Open f", "play f", "Stop",
// and "Outputs" for each hasOutput().
class FakeAudioPlayer : public AudioPlayer {
 public:
  explicit FakeAudioPlayer(std::map<QString, int>* lengths = nullptr, QStringList* log = nullptr)
      : lengths_(lengths), log_(log ? log : &ownLog) {}
  void close() override;
  bool open() override;
  bool play() override;
  void stop() override;
  bool playing() const override;
  bool hasOutput() override;
  std::int64_t positionMs() const override;
  std::int64_t durationMs() const override;
  QStringList ownLog;
  bool outputs = true;  // false: a machine with no sound output
  // A sound system that misbehaves: the position leaves 0 this long after
  // play() (-1: never; it stays "loading"), the end is never reported, no
  // duration is reported.
  int beginAfterMs = 0;
  bool reportsEnd = true;
  bool reportsDuration = true;

 private:
  std::map<QString, int>* lengths_;
  QStringList* log_;
  bool opened_ = false;
  int length_ = 0;
  std::int64_t playAt_ = -1;  // monotonic ms; -1: not playing
};

// Players are made through this; tests put a factory of fakes in its place.
using AudioFactory = std::function<std::unique_ptr<AudioPlayer>()>;
std::unique_ptr<AudioPlayer> makeAudioPlayer();
void setAudioFactory(AudioFactory f);  // empty: back to the real player

}  // namespace fd
