// The sound helper: a process of the program's own executable that plays the
// wave files with Qt Multimedia, so that a sound server that stops answering
// holds this process and never the program's window (see audio.h).
//
// Its wire, one line a message, ASCII, LF-ended:
//   commands on standard input
//     output           asks whether a sound output exists
//     play ID PATH     plays PATH (percent-encoded UTF-8) as request ID
//     stop SEQ         stops the sound
//     close SEQ        stops it and gives the stream back
//   reports on standard output
//     output 0|1       the answer (also sent unasked by the first play)
//     pos ID MS DUR    request ID has been heard MS ms; its length DUR (-1: none yet)
//     end ID           request ID ended, failed or could not play
//     done SEQ         the stop or close SEQ has been carried out
// Every line waiting on the input is read before any is carried out: of the
// plays, stops and closes read together only the last one acts (the others
// are answered at once), so a request stopped or replaced while this process
// was held by the server never sounds once the server answers again.
// End of input, or the death of the program (PR_SET_PDEATHSIG), ends it.
#include "platform/soundhelper.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace fd {
namespace {

constexpr char kOption[] = "--sound-helper";
constexpr int kPositionPollMs = 20;

void report(const QByteArray& line) {
  const QByteArray l = line + '\n';
  const char* p = l.constData();
  qsizetype left = l.size();
  while (left > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, p, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ::_exit(0);  // the program is gone
    p += n;
    left -= n;
  }
}

// Descriptors the program held when it started us (ports, sockets) are not ours.
void closeInheritedDescriptors() {
  DIR* d = ::opendir("/proc/self/fd");
  if (!d) return;
  const int own = ::dirfd(d);
  std::vector<int> fds;
  while (dirent* e = ::readdir(d)) {
    const int fd = std::atoi(e->d_name);
    if (fd > 2 && fd != own) fds.push_back(fd);
  }
  ::closedir(d);
  for (int fd : fds) ::close(fd);
}

class Helper {
 public:
  Helper() : input_(STDIN_FILENO, QSocketNotifier::Read) {
    ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    QObject::connect(&input_, &QSocketNotifier::activated, [this] { readInput(); });
    poll_.setInterval(kPositionPollMs);
    QObject::connect(&poll_, &QTimer::timeout, [this] { reportPosition(); });
  }

 private:
  struct Line {
    QByteArray verb;
    qint64 number = -1;
    QByteArray path;
  };

  void readInput() {
    char buf[4096];
    for (;;) {
      const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
      if (n > 0) {
        pending_.append(buf, n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) ::_exit(0);  // the program closed our input: no teardown that a stalled server could hold
      break;                   // EAGAIN: all that was waiting is read
    }
    std::vector<Line> lines;
    qsizetype at;
    while ((at = pending_.indexOf('\n')) >= 0) {
      const QList<QByteArray> w = pending_.left(at).trimmed().split(' ');
      pending_.remove(0, at + 1);
      Line l;
      l.verb = w.value(0);
      l.number = w.value(1).toLongLong();
      l.path = w.value(2);
      lines.push_back(l);
    }
    if (pending_.size() > 65536) pending_.clear();  // no line is that long
    int last = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i)
      if (lines[i].verb != "output") last = i;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
      const Line& l = lines[i];
      if (l.verb == "output") {
        answerOutput();
      } else if (i != last) {
        if (l.verb != "play") report("done " + QByteArray::number(l.number));
      } else if (l.verb == "play") {
        play(l.number, QUrl::fromPercentEncoding(l.path));
      } else if (l.verb == "stop" || l.verb == "close") {
        stop(l.verb == "close");
        report("done " + QByteArray::number(l.number));
      }
    }
  }

  bool answerOutput() {
    if (!answered_) {
      answered_ = true;
      hasOutput_ = !QMediaDevices::audioOutputs().isEmpty();
      report(hasOutput_ ? "output 1" : "output 0");
    }
    return hasOutput_;
  }

  void play(qint64 id, const QString& path) {
    if (current_ >= 0) report("end " + QByteArray::number(current_));
    current_ = id;
    heard_ = 0;
    duration_ = -1;
    if (!answerOutput()) return finish();
    makeBackend();
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
    poll_.start();
  }

  void stop(bool close) {
    if (player_) {
      player_->stop();
      if (close) player_->setSource(QUrl());
    }
    finish();
  }

  void finish() {
    poll_.stop();
    if (current_ >= 0) report("end " + QByteArray::number(current_));
    current_ = -1;
  }

  // What Qt 6.4 with GStreamer and PulseAudio does: play() reports
  // PlayingState at once, whether or not the server takes the sound; the
  // position leaves 0 only once the sound goes out (about 0.2 s with a null
  // sink) and stays 0 on a server that has stopped; while the next source
  // loads, position() may still give the last one's, so none is reported
  // before the new source has loaded.
  void reportPosition() {
    if (current_ < 0 || !player_) return;
    const QMediaPlayer::MediaStatus st = player_->mediaStatus();
    if (st == QMediaPlayer::NoMedia || st == QMediaPlayer::LoadingMedia) return;
    const qint64 pos = std::max<qint64>(player_->position(), 0);
    const qint64 dur = player_->duration() > 0 ? player_->duration() : -1;
    if (pos == heard_ && dur == duration_) return;
    heard_ = pos;
    duration_ = dur;
    report("pos " + QByteArray::number(current_) + ' ' + QByteArray::number(pos) + ' ' + QByteArray::number(dur));
  }

  // A fresh player for every sound, as the first one is: Qt 6.4's GStreamer
  // player given a second source after an end now and then ends that one at
  // once, unheard, when the machine is busy. The one before goes when the
  // event loop next turns; its stream was given back at its end or stop.
  void makeBackend() {
    if (player_) {
      QObject::disconnect(player_.get(), nullptr, nullptr, nullptr);
      player_.release()->deleteLater();
      output_.release()->deleteLater();
    }
    player_ = std::make_unique<QMediaPlayer>();
    output_ = std::make_unique<QAudioOutput>();
    player_->setAudioOutput(output_.get());
    QObject::connect(player_.get(), &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus st) {
      if (st != QMediaPlayer::EndOfMedia && st != QMediaPlayer::InvalidMedia) return;
      if (st == QMediaPlayer::InvalidMedia)
        std::fprintf(stderr, "sound helper: %s cannot be played\n", qPrintable(player_->source().toLocalFile()));
      reportPosition();
      finish();
      // The stream is given back while the server still answers, so that the
      // next play replaces no live stream (which a stalled server would hold).
      QTimer::singleShot(0, player_.get(), [this] {
        if (current_ < 0) player_->setSource(QUrl());
      });
    });
    QObject::connect(player_.get(), &QMediaPlayer::errorOccurred, [this] {
      std::fprintf(stderr, "sound helper: %s: %s\n", qPrintable(player_->source().toLocalFile()),
                   qPrintable(player_->errorString()));
      finish();
    });
    QObject::connect(player_.get(), &QMediaPlayer::playbackStateChanged, [this](QMediaPlayer::PlaybackState st) {
      if (st == QMediaPlayer::StoppedState && heard_ > 0) finish();
    });
  }

  QSocketNotifier input_;
  QTimer poll_;
  QByteArray pending_;
  std::unique_ptr<QMediaPlayer> player_;
  std::unique_ptr<QAudioOutput> output_;
  bool answered_ = false, hasOutput_ = false;
  qint64 current_ = -1;  // the request playing; -1 none
  qint64 heard_ = 0, duration_ = -1;
};

}  // namespace

QStringList soundHelperArguments() {
  return {QString::fromLatin1(kOption), QString::number(::getpid())};
}

bool isSoundHelperCall(int argc, char** argv) { return argc >= 2 && std::strcmp(argv[1], kOption) == 0; }

int runSoundHelper(int argc, char** argv) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  // The program may have died before the line above took effect.
  if (argc >= 3 && ::getppid() != static_cast<pid_t>(std::atoll(argv[2]))) return 0;
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGINT, SIG_IGN);  // a Ctrl+C in the terminal is the program's to handle; it then ends us
  closeInheritedDescriptors();
  QCoreApplication app(argc, argv);
  Helper h;
  return app.exec();
}

}  // namespace fd
