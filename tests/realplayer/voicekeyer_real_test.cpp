// The voice keyer against Qt's real player and a real sound server. Qt lists
// the sound devices once per process and keeps what it found, so each row
// runs the keyer in a child process of this executable (started with
// "--child ROW FOLDER"), with PULSE_SERVER pointing at the server of the row.
// The child keys a recording serial port and prints each step on its own
// line with the milliseconds since its request; this process watches it,
// also while the child is stuck inside Qt.
//   silent: a socket that accepts and never answers. Qt's first listing
//           waits on it (about 30 s, then no output): PTT must not be keyed
//           during that wait.
//   stall:  a private pulseaudio with a null sink plays a first message to
//           its end (the devices are listed, the player made; PTT goes
//           because the player reported the end); the server is then stopped
//           (SIGSTOP) and a 5 s message is asked for: its position never
//           leaves 0, and PTT must go 2 s after the request.
//   esc, exit, close: the same stall, then 0.5 s into the 5 s message Esc,
//           Exit (what the signals run too) or the main window's close,
//           through the keying service: PTT must go at once, while the
//           stopped server holds the player's stop or close.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "core/state.h"
#include "keying/keyingservice.h"
#include "keying/phonefrm_keyer.h"
#include "platform/serial.h"

namespace fd::test {
namespace {

// A mono 8 kHz 16-bit WAV of a 440 Hz tone.
void writeTone(const QString& file, int ms) {
  const quint32 samples = static_cast<quint32>(ms) * 8;
  QByteArray b;
  auto u32 = [&](quint32 v) { b.append(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](quint16 v) { b.append(reinterpret_cast<const char*>(&v), 2); };
  b += "RIFF";
  u32(36 + samples * 2);
  b += "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(16000);
  u16(2);
  u16(16);
  b += "data";
  u32(samples * 2);
  for (quint32 i = 0; i < samples; ++i) u16(static_cast<quint16>(static_cast<qint16>(3000 * std::sin(i * 0.3456))));
  QFile f(file);
  if (f.open(QIODevice::WriteOnly)) f.write(b);
}

// ---- the child ----------------------------------------------------------

QElapsedTimer sinceRequest;

void say(const std::string& what, qint64 ms) {
  std::printf("%s %lld\n", what.c_str(), static_cast<long long>(ms));
  std::fflush(stdout);
}
void say(const std::string& what) { say(what, sinceRequest.elapsed()); }

// The PTT port: every change of RTS is printed as it happens.
class WatchedPort : public FakeSerialPort {
 public:
  bool setRTSEnable(bool on) override {
    say(on ? "RTS 1" : "RTS 0");
    if (!on) {
      offAt = sinceRequest.elapsed();
      playingAtOff = playing && playing();
    }
    return FakeSerialPort::setRTSEnable(on);
  }
  qint64 offAt = -1;          // the last switch off
  bool playingAtOff = false;  // the player still playing then (the end not reported)
  std::function<bool()> playing;
};

// Presses F1 and lets events run until Timer1 is done; prints when PTT went
// off and whether the player had reported the end by then.
void pressF1AndWaitForTheRelease(PhoneKeyer& keyer, WatchedPort& port, int limitMs) {
  sinceRequest.start();
  say("request");
  keyer.FKeyPhone(112);
  say("returned");
  (void)QTest::qWaitFor([&] { return !keyer.Timer1.isActive(); }, limitMs);
  if (port.rtsEnable()) {
    say("still keyed");
    return;
  }
  say("playing at the release", port.playingAtOff ? 1 : 0);
  say("released", port.offAt);
}

// The rows of a stopped server, through the keying service as the main
// window drives it: its load step loads the voice keyer's window.
int runStalled(const std::string& row, const QString& folder) {
  ProgramState state;
  state.ProgDir = folder;
  WatchedPort* port = nullptr;
  int made = 0;
  setSerialFactory([&]() -> std::unique_ptr<SerialPort> {
    if (made++ != 1) return std::make_unique<FakeSerialPort>();
    auto p = std::make_unique<WatchedPort>();  // the second port made is CommPhone
    port = p.get();
    return p;
  });
  KeyingService svc(state);
  svc.loadWaveSettings();
  PhoneKeyer& keyer = svc.phoneKeyer();
  port->playing = [&svc] { return svc.voicePlaying(); };
  keyer.settings.Text10 = QStringLiteral("2");
  keyer.settings.option = WaveSettings::RTS;
  keyer.settings.txtPHLoop = QStringLiteral("0");
  writeTone(folder + "/one.wav", 1000);
  writeTone(folder + "/five.wav", 5000);
  keyer.settings.Text[0] = folder + "/one.wav";
  pressF1AndWaitForTheRelease(keyer, *port, 6000);  // the server answers: listed and played
  // Events run on after the end, as in the program, for a second: a server
  // that stops in the moments after an end can hold the next start inside
  // Qt (GStreamer still tearing the last stream down), which nothing here
  // can bound.
  QTest::qWait(1000);
  say("listed");
  std::string go;
  std::getline(std::cin, go);  // this process's server is stopped meanwhile
  keyer.settings.Text[0] = folder + "/five.wav";
  if (row == "stall") {
    pressF1AndWaitForTheRelease(keyer, *port, 12000);
  } else {
    sinceRequest.start();
    say("request");
    int f1 = 112;
    svc.fKeyPhone(f1);
    say("returned");
    QTest::qWait(500);
    say(row);
    if (row == "esc") svc.stopVoice();
    if (row == "exit") svc.releaseAll();
    if (row == "close") svc.unload(SideWindow::PhoneFrm);
    say("done");  // once the server runs again
  }
  // No tidy end: a stopped server may hold the player's teardown.
  std::fflush(stdout);
  ::_exit(0);
}

int runChild(const QString& row, const QString& folder) {
  ProgramState state;
  state.ProgDir = folder;
  WatchedPort port;
  PhoneKeyer keyer(state, port);
  keyer.settings.Text10 = QStringLiteral("2");
  keyer.settings.option = WaveSettings::RTS;
  keyer.settings.txtPHLoop = QStringLiteral("0");
  if (row == "silent") {
    writeTone(folder + "/five.wav", 5000);
    keyer.settings.Text[0] = folder + "/five.wav";
    sinceRequest.start();
    say("request");
    keyer.FKeyPhone(112);  // Qt's first listing waits on the silent server in here
    say("returned");
  } else {
    return runStalled(row.toStdString(), folder);
  }
  // No tidy end: a stopped server may hold the player's teardown.
  std::fflush(stdout);
  ::_exit(0);
}

// ---- this process -------------------------------------------------------

// A child running one row; its printed lines are read as they come.
class Child {
 public:
  Child(const QString& row, const QString& folder, const QString& pulseServer) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), pulseServer);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), row, folder});
    started = p.waitForStarted(5000);
  }
  ~Child() {
    p.kill();
    p.waitForFinished(5000);
  }
  // Waits up to limitMs for a line that starts with `what`; its milliseconds
  // since the request, or -1 when it did not come.
  qint64 waitFor(const std::string& what, int limitMs) {
    QElapsedTimer t;
    t.start();
    for (;;) {
      while (p.canReadLine()) {
        const std::string l = p.readLine().trimmed().toStdString();
        lines += l + "\n";
        if (l.rfind(what + " ", 0) == 0) return std::stoll(l.substr(what.size() + 1));
      }
      const qint64 left = limitMs - t.elapsed();
      if (left <= 0 || p.state() == QProcess::NotRunning) return -1;
      p.waitForReadyRead(static_cast<int>(left));
    }
  }
  std::string all() {
    while (p.canReadLine()) lines += p.readLine().toStdString();
    return lines + "--- stderr:\n" + p.readAllStandardError().right(2000).toStdString();
  }
  QProcess p;
  bool started = false;
  std::string lines;
};

TEST(VoiceKeyerRealPlayer, ASilentSoundServerIsWaitedOnWithPttUnkeyed) {
  QTemporaryDir folder;
  QTemporaryDir sockets(QStringLiteral("/tmp/fdsock-XXXXXX"));  // a socket path fits 107 bytes
  ASSERT_TRUE(folder.isValid() && sockets.isValid());
  const QByteArray path = QFile::encodeName(sockets.filePath(QStringLiteral("silent")));
  // Listening, never accepting: a client's connect succeeds and nothing ever answers.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.constData());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::listen(fd, 16), 0);

  Child child(QStringLiteral("silent"), folder.path(), QStringLiteral("unix:") + QString::fromLocal8Bit(path));
  ASSERT_TRUE(child.started);
  ASSERT_GE(child.waitFor("request", 10000), 0) << child.all();
  // Three seconds into the request: either FKeyPhone came back (Qt did not
  // wait here) or the child is inside Qt's wait, and then PTT is off.
  const qint64 keyed = child.waitFor("RTS 1", 3000);
  const bool returned = child.lines.find("returned ") != std::string::npos;
  ::close(fd);
  if (returned) GTEST_SKIP() << "not tried: Qt's device listing did not wait on the silent server here\n" << child.all();
  EXPECT_EQ(keyed, -1) << "PTT keyed " << keyed << " ms after the request, while Qt waits on the sound server\n"
                       << child.all();
}

// A private pulseaudio with one null sink, on a socket of its own; stopped
// and killed by the end of the row.
class PulseServer {
 public:
  PulseServer() {
    socket = sockets.filePath(QStringLiteral("native"));
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty()) {
      whyNot = "no pulseaudio program on this machine";
      return;
    }
    QDir(home.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(home.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    p.setProcessEnvironment(env);
    p.start(program, {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-n"),
                      QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-target=stderr"),
                      QStringLiteral("--load=module-null-sink"),
                      QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    if (!p.waitForStarted(5000)) {
      whyNot = "pulseaudio did not start: " + p.errorString().toStdString();
      return;
    }
    // Up when its socket takes a connection; a bounded wait.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000 && p.state() == QProcess::Running) {
      if (connects()) return;
      QTest::qWait(50);
    }
    whyNot = "pulseaudio did not come up within 5 s: " + p.readAllStandardError().right(1000).toStdString();
  }
  ~PulseServer() {
    if (p.state() == QProcess::NotRunning) return;
    p.kill();  // SIGKILL ends a stopped process too
    p.waitForFinished(5000);
  }
  bool connects() const {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", QFile::encodeName(socket).constData());
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
  }
  void stop() { ::kill(static_cast<pid_t>(p.processId()), SIGSTOP); }
  void resume() { ::kill(static_cast<pid_t>(p.processId()), SIGCONT); }

  std::string whyNot;  // empty when the server is up
  QString socket;

 private:
  QTemporaryDir home;
  QTemporaryDir sockets{QStringLiteral("/tmp/fdsock-XXXXXX")};
  QProcess p;
};

// A row's child against the server: the first message (1 s) with the server
// answering, PTT held while it sounds and released because the player
// reported the end, not by the ceiling (only a generous bound on the time:
// a busy machine delays the end by a second and more). Then the server is
// stopped and the 5 s message asked for; returns once PTT is keyed for it.
void playFirstThenStall(PulseServer& server, Child& child, qint64& keyed) {
  ASSERT_TRUE(child.started);
  const qint64 playingAtRelease = child.waitFor("playing at the release", 10000);
  ASSERT_GE(playingAtRelease, 0) << child.all();
  EXPECT_EQ(playingAtRelease, 0) << "the first message's PTT went by the ceiling: the player never reported its end\n"
                                 << child.all();
  const qint64 first = child.waitFor("released", 1000);
  ASSERT_GE(first, 0) << child.all();
  ASSERT_GE(child.waitFor("listed", 5000), 0) << child.all();
  EXPECT_GE(first, 1000) << child.all();
  EXPECT_LT(first, 6000) << child.all();
  std::cout << "first message (1 s): PTT held " << first << " ms\n";

  server.stop();
  child.p.write("go\n");
  ASSERT_GE(child.waitFor("request", 5000), 0) << child.all();
  keyed = child.waitFor("RTS 1", 5000);
  ASSERT_GE(keyed, 0) << "PTT not keyed: the child is stuck before keying\n" << child.all();
}

TEST(VoiceKeyerRealPlayer, AServerStoppedAfterTheListingLosesPttTwoSecondsAfterTheRequest) {
  PulseServer server;
  if (!server.whyNot.empty()) GTEST_SKIP() << "not tried: " << server.whyNot;
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  Child child(QStringLiteral("stall"), folder.path(), QStringLiteral("unix:") + server.socket);
  qint64 keyed = -1;
  playFirstThenStall(server, child, keyed);
  if (HasFatalFailure()) return;
  // The release is read from the port as it happens: the player's stop that
  // follows it waits on the stopped server.
  const qint64 held = child.waitFor("RTS 0", 15000);
  ASSERT_GE(held, 0) << "PTT still keyed 15 s after the request\n" << child.all();
  std::cout << "5 s message, server stopped: PTT keyed at " << keyed << " ms, released at " << held << " ms\n";
  EXPECT_GE(held, 2000) << child.all();
  EXPECT_LT(held, 2000 + 250) << child.all();
}

// Esc, Exit and the main window's close while the stopped server holds the
// player: PTT goes at once, before the stop or close that waits on the server.
TEST(VoiceKeyerRealPlayer, EscExitAndTheCloseReleasePttWhileTheServerIsStopped) {
  for (const char* way : {"esc", "exit", "close"}) {
    SCOPED_TRACE(way);
    PulseServer server;
    if (!server.whyNot.empty()) GTEST_SKIP() << "not tried: " << server.whyNot;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    Child child(QString::fromLatin1(way), folder.path(), QStringLiteral("unix:") + server.socket);
    qint64 keyed = -1;
    playFirstThenStall(server, child, keyed);
    if (HasFatalFailure()) return;
    const qint64 asked = child.waitFor(way, 5000);
    ASSERT_GE(asked, 0) << child.all();
    const qint64 off = child.waitFor("RTS 0", 3000);
    // Continued only now: the release above came while the server was stopped.
    server.resume();
    EXPECT_GE(off, 0) << "PTT still keyed 3 s after " << way << ", the server stopped\n" << child.all();
    EXPECT_LT(off - asked, 100) << child.all();
    std::cout << way << " 0.5 s into the 5 s message, server stopped: PTT released " << off - asked << " ms after it\n";
    EXPECT_GE(child.waitFor("done", 10000), 0) << "the child did not finish once the server ran again\n" << child.all();
  }
}

}  // namespace
}  // namespace fd::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);  // the keying service's windows are widgets
  if (argc == 4 && std::string(argv[1]) == "--child")
    return fd::test::runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
