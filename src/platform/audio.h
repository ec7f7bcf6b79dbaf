#pragma once
// The wave-file player of the voice keyer and the voice prompts: close (stop
// and free), set the file, open, play (returns at once; the file plays in the
// background), stop, and whether it is playing. "Playing" holds from play()
// until the file ends, a stop, or an error; a file that is missing or cannot
// be played, or a machine with no sound output, plays nothing and reports not
// playing at once.
// The real player never waits on the sound system: Qt Multimedia runs in a
// helper process (soundhelper.h), and every call here returns at once with
// what the helper last reported. A sound server that stops or never answers
// holds only the helper: its sound then never begins or never reports its
// end, and the callers bound both (SoundCeiling). A helper that does not
// answer a stop or close within kHelperAnswerMs is killed by its process id,
// and a new one is started for the next sound.
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
  // Whether a sound output exists: empty while the answer is awaited. The
  // real player starts its helper and asks at the first call, and keeps the
  // answer once it has come.
  virtual std::optional<bool> hasOutput() = 0;
  // Called when an answer that hasOutput() awaited comes (the real player).
  std::function<void()> onOutputAnswer;
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

// How long a sound may hold PTT, or a prompt hold the keys, when the sound
// system does not answer: kLimitMs after the request while the sound has not
// begun (its position has not left 0), and once it has, its length (the WAV
// header's, else the player's) plus kLimitMs; a length still unknown by
// then counts as unplayable.
class SoundCeiling {
 public:
  static constexpr std::int64_t kLimitMs = 2000;
  // At the play request of `file`.
  void start(const QString& file);
  // Whether the play has run past its limit; notes when it began.
  bool past(const AudioPlayer& player) const;

 private:
  std::int64_t requestedAt_ = -1;
  mutable std::int64_t beganAt_ = -1;  // monotonic ms
  std::optional<std::int64_t> headerMs_;
};

// The real player: Qt Multimedia in a helper process (the helper program
// set below; with none set there is no sound output).
std::unique_ptr<AudioPlayer> makeQtAudioPlayer();
constexpr int kHelperAnswerMs = 200;
// The executable started as the sound helper: the program itself, or a test's own.
void setSoundHelperProgram(const QString& program);

// A player for tests: a table of file -> length in ms (a file not in the
// table fails to open), timed by the program clock (virtual in tests). It
// records every command with its file: "Close", "Open f", "play f", "Stop",
// and "Outputs" for each hasOutput().
// Like the real player, a stop or close ends "playing" at once, however the
// sound system is doing.
class FakeAudioPlayer : public AudioPlayer {
 public:
  explicit FakeAudioPlayer(std::map<QString, int>* lengths = nullptr, QStringList* log = nullptr)
      : lengths_(lengths), log_(log ? log : &ownLog) {}
  void close() override;
  bool open() override;
  bool play() override;
  void stop() override;
  bool playing() const override;
  std::optional<bool> hasOutput() override;
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
  // The output's answer comes this long after the first hasOutput() (-1: never).
  int outputAfterMs = 0;
  // A sound system that holds every command: a play does not begin until
  // catchUp(), and then only if no stop, close or other play came meanwhile.
  bool stalled = false;
  void catchUp();

 private:
  std::map<QString, int>* lengths_;
  QStringList* log_;
  bool opened_ = false;
  int length_ = 0;
  std::int64_t playAt_ = -1;  // monotonic ms; -1: not playing
  std::int64_t askedAt_ = -1;
  bool held_ = false;  // a play waiting for catchUp()
};

// Players are made through this; tests put a factory of fakes in its place.
using AudioFactory = std::function<std::unique_ptr<AudioPlayer>()>;
std::unique_ptr<AudioPlayer> makeAudioPlayer();
void setAudioFactory(AudioFactory f);  // empty: back to the real player

}  // namespace fd
