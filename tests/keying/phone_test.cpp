// The voice keyer with a fake player, fake serial ports and a recording
// parallel register: keying order, release, the repeat, the edge cases and
// the mended faults; wave2.txt written and read.
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "fakemainwindow.h"
#include "keying/keyingservice.h"
#include "keying/phonefrm.h"
#include "platform/forms.h"
#include "testenv.h"

namespace fd::test {
namespace {

// The fake player, noting at play whether the PTT line was already keyed, and
// at a stop whether it was still keyed; `touched` gets the lines at every
// stop and close.
class KeyedCheckPlayer : public FakeAudioPlayer {
 public:
  KeyedCheckPlayer(std::map<QString, int>* lengths, QStringList* log, QStringList* touched,
                   std::function<QString()> lines)
      : FakeAudioPlayer(lengths, log), log_(log), touched_(touched), lines_(std::move(lines)) {}
  bool play() override {
    log_->append("lines at play: " + lines_());
    return FakeAudioPlayer::play();
  }
  void stop() override {
    log_->append("lines at stop: " + lines_());
    touched_->append("Stop: " + lines_());
    FakeAudioPlayer::stop();
  }
  void close() override {
    touched_->append("Close: " + lines_());
    FakeAudioPlayer::close();
  }

 private:
  QStringList* log_;
  QStringList* touched_;
  std::function<QString()> lines_;
};

class PhoneTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([this] {
      auto p = std::make_unique<FakeSerialPort>();
      ports.push_back(p.get());
      return p;
    });
    setAudioFactory([this] {
      return std::make_unique<KeyedCheckPlayer>(&lengths, &log, &touched, [this] { return lines(); });
    });
    lengths["/w/cq.wav"] = 1000;
    lengths["/w/exch.wav"] = 500;
    svc = std::make_unique<KeyingService>(state);
    svc->attach(main);
    keyer = &svc->phoneKeyer();
    keyer->out32 = [this](int address, int value) {
      log << QStringLiteral("out %1 %2").arg(address).arg(value);
      return true;
    };
    keyer->closeWinKey = [this] { log << "close WinKey"; };
    keyer->closeCwPort = [this] { log << "close CW port"; };
  }
  void TearDown() override {
    svc.reset();
    setSerialFactory({});
    setAudioFactory({});
  }
  FakeSerialPort& port() { return *ports.at(1); }  // Comm is made first, then CommPhone
  QString lines() {
    return QStringLiteral("DTR %1 RTS %2").arg(port().dtrEnable()).arg(port().rtsEnable());
  }
  WaveSettings& set() { return keyer->settings; }
  void configure(const QString& portText, int option, const QString& loop = "0") {
    set().Text[0] = "/w/cq.wav";
    set().Text[1] = "/w/exch.wav";
    set().Text10 = portText;
    set().option = option;
    set().txtPHLoop = loop;
    QString t = loop;
    set().repeatMs = checkLoopBox(t);
  }
  void press(int key) { svc->fKeyPhone(key); }
  // Virtual time passes, then Timer1 ticks once.
  void tick(int ms = 40) {
    fake->clock->advanceMs(ms);
    keyer->Timer1_Timer();
  }

  std::vector<FakeSerialPort*> ports;
  std::map<QString, int> lengths;
  QStringList log;
  QStringList touched;  // the lines at each stop and close of the player
  FakeMainWindow main{&state};
  std::unique_ptr<KeyingService> svc;
  PhoneKeyer* keyer = nullptr;
};

// A message named without a folder is found in the program folder, wherever
// the program was started from; the current folder is never changed for it.
TEST_F(PhoneTest, AMessageWithoutAFolderIsTheProgramFolders) {
  configure("0", WaveSettings::RTS);
  set().Text[0] = "cq.wav";
  const QString before = QDir::currentPath();
  press(112);
  EXPECT_TRUE(log.contains("Open " + QDir(state.ProgDir).filePath("cq.wav"))) << log.join(" | ").toStdString();
  EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(PhoneTest, F1KeysDtrBeforePlayAndReleasesAtTheFirstTickAfterTheEnd) {
  configure("2", WaveSettings::DTR);
  press(112);
  // The sound output is asked for before the port is opened and keyed.
  EXPECT_EQ(log.join(" | ").toStdString(),
            "Close | Outputs | close CW port | Open /w/cq.wav | lines at play: DTR 1 RTS 0 | play /w/cq.wav");
  EXPECT_TRUE(port().isOpen());
  EXPECT_EQ(port().commPort(), 2);
  EXPECT_TRUE(keyer->Timer1.isActive());
  EXPECT_TRUE(svc->voicePlaying());
  tick(960);
  EXPECT_TRUE(port().dtrEnable());  // still playing
  tick(40);
  EXPECT_FALSE(port().dtrEnable());
  EXPECT_FALSE(keyer->Timer1.isActive());
  EXPECT_FALSE(keyer->tmrRepeat.isActive());  // repeat "0": played once
  EXPECT_EQ(state.PhoneRepeat, 0);
}

TEST_F(PhoneTest, TheRepeatCyclesUntilCancelled) {
  configure("2", WaveSettings::RTS, "0.05");
  press(112);
  EXPECT_EQ(state.PhoneRepeat, 1);
  tick(1000);
  EXPECT_FALSE(port().rtsEnable());
  ASSERT_TRUE(keyer->tmrRepeat.isActive());
  EXPECT_EQ(keyer->tmrRepeat.interval(), 50);
  log.clear();
  // The real pause timer fires and plays F1 again.
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.contains("play /w/cq.wav"); }, 2000));
  EXPECT_TRUE(port().rtsEnable());
  EXPECT_FALSE(keyer->tmrRepeat.isActive());

  // Any main-window key: PhoneRepeat 0 and tmrRepeat off (the main window does both).
  state.PhoneRepeat = 0;
  svc->disablePhoneRepeat();
  tick(1000);
  EXPECT_FALSE(port().rtsEnable());
  EXPECT_FALSE(keyer->tmrRepeat.isActive());

  // "Stop" in the pause, and during play.
  press(112);
  tick(1000);
  ASSERT_TRUE(keyer->tmrRepeat.isActive());
  keyer->stopRepeat();
  EXPECT_FALSE(keyer->tmrRepeat.isActive());
  press(112);
  keyer->stopRepeat();
  tick(500);
  EXPECT_TRUE(port().rtsEnable());  // the message plays to its end
  tick(500);
  EXPECT_FALSE(port().rtsEnable());
  EXPECT_FALSE(keyer->tmrRepeat.isActive());

  // Esc (stopVoice): released at once; Timer1 ends the play at its next tick.
  press(112);
  svc->stopVoice();
  EXPECT_FALSE(svc->voicePlaying());
  EXPECT_FALSE(port().rtsEnable());
  EXPECT_TRUE(keyer->Timer1.isActive());
  tick();
  EXPECT_FALSE(port().rtsEnable());
  EXPECT_FALSE(keyer->Timer1.isActive());
}

// Esc, Exit (and the signals) and the main window's close release PTT before
// anything touches the player: a stalled sound server holds a stop or close,
// and the transmitter must not stay keyed meanwhile.
TEST_F(PhoneTest, EscExitAndTheCloseReleasePttBeforeThePlayerIsTouched) {
  const struct {
    const char* way;
    std::function<void()> run;
    const char* touched;
  } ways[] = {
      {"Esc", [this] { svc->stopVoice(); }, "Stop: DTR 0 RTS 0"},
      {"Exit", [this] { svc->releaseAll(); }, "Stop: DTR 0 RTS 0"},
      {"the main window's close", [this] { svc->unload(SideWindow::PhoneFrm); }, "Close: DTR 0 RTS 0"},
  };
  for (const auto& w : ways) {
    SCOPED_TRACE(w.way);
    svc->loadWaveSettings();  // the window loaded, hidden, as the main window's load step does it
    keyer = &svc->phoneKeyer();
    configure("2", WaveSettings::DTR);
    press(112);
    ASSERT_TRUE(port().dtrEnable());
    touched.clear();
    w.run();
    EXPECT_EQ(touched.join(" | ").toStdString(), w.touched);
    EXPECT_FALSE(port().dtrEnable());
  }
  EXPECT_EQ(svc->phoneWindow, nullptr);
}

TEST_F(PhoneTest, EmptyBoxMissingFileAndNoSoundOutput) {
  configure("2", WaveSettings::RTS);
  press(112);
  log.clear();
  press(114);  // F3: empty box
  EXPECT_EQ(log, QStringList({"Close"}));  // the message playing stops
  EXPECT_TRUE(port().rtsEnable());
  tick();
  EXPECT_FALSE(port().rtsEnable());

  set().Text[2] = "/w/missing.wav";
  press(114);
  EXPECT_TRUE(port().rtsEnable());
  EXPECT_TRUE(keyer->Timer1.isActive());
  tick();
  EXPECT_FALSE(port().rtsEnable());

  // No sound output: keyed all the same, the play fails, released at the first tick.
  static_cast<FakeAudioPlayer&>(keyer->player()).outputs = false;
  log.clear();
  press(112);
  EXPECT_TRUE(log.contains("Outputs"));
  EXPECT_TRUE(port().rtsEnable());
  EXPECT_FALSE(svc->voicePlaying());
  tick();
  EXPECT_FALSE(port().rtsEnable());

  // Keys outside F1..F9 do nothing.
  log.clear();
  press(121);
  press(111);
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(PhoneTest, SerialAndParallelTogether) {
  for (const QString& address : {QStringLiteral("&H378"), QStringLiteral("888")}) {
    SCOPED_TRACE(address.toStdString());
    configure("3", WaveSettings::Parallel);
    set().Text11 = address;
    log.clear();
    press(112);
    EXPECT_EQ(port().commPort(), 3);
    EXPECT_TRUE(port().rtsEnable());
    EXPECT_TRUE(log.contains("out 890 3"));
    EXPECT_LT(log.indexOf("out 890 3"), log.indexOf("play /w/cq.wav"));
    tick(1000);
    EXPECT_FALSE(port().rtsEnable());
    EXPECT_EQ(log.last(), "out 890 2");
  }
}

TEST_F(PhoneTest, AnInvalidPortWarnsShowsTheWindowAndPlaysUnkeyed) {
  port().failOpen = true;
  configure("99", WaveSettings::RTS);
  int modalShows = 0;
  ScopedModalHook hook([&](QWidget* w) {
    ++modalShows;
    EXPECT_EQ(w->windowTitle(), "Phone Wave Selections");
    w->hide();
  });
  fake->dialogs->answers.push_back(Answer::Ok);
  press(112);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Invalid port.");
  EXPECT_EQ(fake->dialogs->shown[0].text,
            "The port you have selected for Phone keying is invalid.  Please select another or enter 0 for none.");
  EXPECT_EQ(fake->dialogs->beeps, 1);
  EXPECT_EQ(modalShows, 1);
  EXPECT_FALSE(port().isOpen());
  EXPECT_TRUE(log.contains("play /w/cq.wav"));
}

TEST_F(PhoneTest, PhoneSetupFreesThePortFromTheOtherKeyers) {
  configure("2", WaveSettings::RTS);
  state.WinKeyOpen = 1;
  keyer->PhoneSetup();
  EXPECT_EQ(log, QStringList({"close WinKey", "close CW port"}));
  state.WinKeyOpen = 0;
  log.clear();
  keyer->PhoneSetup();
  EXPECT_EQ(log, QStringList({"close CW port"}));
  // 0 or below: nothing happens, an open port stays open.
  set().Text10 = "0";
  log.clear();
  keyer->PhoneSetup();
  EXPECT_TRUE(log.isEmpty());
  EXPECT_TRUE(port().isOpen());
}

TEST_F(PhoneTest, MendedReleases) {
  // A parallel address that is not a number: the serial line keyed before is released at once.
  configure("2", WaveSettings::Parallel);
  set().Text11 = "abc";
  press(112);
  EXPECT_FALSE(port().rtsEnable());
  EXPECT_FALSE(log.contains("play /w/cq.wav"));
  EXPECT_TRUE(port().lineLog.contains("RTS 1"));

  // The port changed to 0 while the message plays: port 2's line is still released.
  configure("2", WaveSettings::DTR);
  press(112);
  EXPECT_TRUE(port().dtrEnable());
  set().Text10 = "0";
  set().option = WaveSettings::RTS;
  tick(1000);
  EXPECT_FALSE(port().dtrEnable());

  // A pause that rounds to 0 ms plays once.
  configure("2", WaveSettings::RTS, "0.0001");
  EXPECT_EQ(set().repeatMs, 0);
  press(112);
  EXPECT_EQ(state.PhoneRepeat, 1);
  tick(1000);
  EXPECT_FALSE(keyer->tmrRepeat.isActive());
}

// A sound system that never answers cannot hold PTT: at most 2 s for the
// sound to begin; then its length (the WAV header's, else the player's) plus
// 2 s; a length unknown 2 s after the request makes the file unplayable.
TEST_F(PhoneTest, PttCeilingWhenTheSoundSystemDoesNotAnswer) {
  // 8000 bytes at 8000 bytes a second: the header says 1000 ms.
  QByteArray wav("RIFF\0\0\0\0WAVEfmt ", 16);
  auto u32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
  wav += u32(16) + QByteArray("\x01\x00\x01\x00", 4) + u32(8000) + u32(8000) + QByteArray("\x01\x00\x08\x00", 4);
  wav += "data" + u32(8000) + QByteArray(8000, '\x80');
  const QString withHeader = QDir(state.ProgDir).filePath("timed.wav");
  writeFile("timed.wav", wav);
  ASSERT_EQ(wavLengthMs(withHeader), 1000);
  EXPECT_EQ(wavLengthMs("/w/cq.wav"), std::nullopt);
  lengths[withHeader] = 1000;
  const struct {
    const char* name;
    bool header;
    int beginAfterMs;
    bool reportsDuration;
    int releasedAtMs;  // at the first tick at or after this
  } cases[] = {
      {"never begins", false, -1, true, 2000},
      {"begins, never ends; the header's length", true, 0, false, 3000},
      {"begins late, never ends; the header's length", true, 500, false, 3500},
      {"begins, never ends; the player's length", false, 0, true, 3000},
      {"begins, never ends, no length known", false, 0, false, 2000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    configure("2", WaveSettings::RTS);
    set().Text[0] = c.header ? withHeader : QStringLiteral("/w/cq.wav");
    auto& player = static_cast<FakeAudioPlayer&>(keyer->player());
    player.beginAfterMs = c.beginAfterMs;
    player.reportsEnd = false;
    player.reportsDuration = c.reportsDuration;
    log.clear();
    press(112);
    int elapsed = 0;
    while (port().rtsEnable() && elapsed < 10000) {
      tick();
      elapsed += 40;
    }
    EXPECT_GE(elapsed, c.releasedAtMs);
    EXPECT_LT(elapsed, c.releasedAtMs + 40);
    EXPECT_FALSE(svc->voicePlaying());  // stopped, so it cannot sound later unkeyed
    // Released before the stop, which a stalled sound server holds.
    EXPECT_EQ(log.filter("lines at stop").join(" | ").toStdString(), "lines at stop: DTR 0 RTS 0");
    EXPECT_FALSE(keyer->Timer1.isActive());
  }
}

// Until the player knows whether a sound output exists, a message waits
// unkeyed: it goes once the answer comes, and is dropped, keying and playing
// nothing, when the answer is 2 s late, on Esc, Exit or the close; another
// F-key replaces it.
TEST_F(PhoneTest, AMessageWaitsUnkeyedForTheOutputsAnswer) {
  const struct {
    const char* name;
    int answerAfterMs;                 // -1: never
    std::function<void()> meanwhile;  // 100 ms after F1
    const char* played;               // "" for none
  } cases[] = {
      {"the answer after 300 ms", 300, [] {}, "/w/cq.wav"},
      {"no answer", -1, [] {}, ""},
      {"an answer after 2 s", 2100, [] {}, ""},
      {"Esc (the main window's key cancel, then the stop)", 300,
       [this] {
         state.PhoneRepeat = 0;
         svc->disablePhoneRepeat();
         svc->stopVoice();
       },
       ""},
      {"Exit", 300, [this] { svc->releaseAll(); }, ""},
      {"the close", 300, [this] { keyer->unload(); }, ""},
      {"F2 replaces it", 300, [this] { press(113); }, "/w/exch.wav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    svc->unload(SideWindow::PhoneFrm);  // a new keyer, whose player has not been asked yet
    keyer = &svc->phoneKeyer();
    keyer->out32 = [](int, int) { return true; };
    configure("2", WaveSettings::RTS, "5");
    static_cast<FakeAudioPlayer&>(keyer->player()).outputAfterMs = c.answerAfterMs;
    log.clear();
    port().lineLog.clear();
    press(112);
    EXPECT_FALSE(port().rtsEnable());
    EXPECT_TRUE(keyer->Timer1.isActive());
    tick(100);
    c.meanwhile();
    for (int t = 100; t < 3000 && keyer->Timer1.isActive() && !port().rtsEnable(); t += 40) tick();
    EXPECT_EQ(log.filter("play ").join(",").toStdString(), *c.played ? std::string("play ") + c.played : "");
    if (*c.played) {
      // Keyed before the play, as ever.
      EXPECT_TRUE(log.contains("lines at play: DTR 0 RTS 1"));
      EXPECT_TRUE(port().rtsEnable());
    } else {
      EXPECT_FALSE(port().lineLog.contains("RTS 1"));
      EXPECT_FALSE(keyer->Timer1.isActive());
      EXPECT_EQ(state.PhoneRepeat, 0);  // nothing played: no repeat either
    }
    keyer->cancel();
  }
}

// A stalled sound system: Esc releases PTT at once, and a play it held never
// sounds when the system catches up; one left alone goes by the ceiling.
TEST_F(PhoneTest, AStalledSoundSystemHoldsNeitherPttNorAStoppedMessage) {
  configure("2", WaveSettings::RTS);
  auto& player = static_cast<FakeAudioPlayer&>(keyer->player());
  player.stalled = true;
  press(112);
  EXPECT_TRUE(port().rtsEnable());
  EXPECT_TRUE(svc->voicePlaying());  // loading
  svc->stopVoice();
  EXPECT_FALSE(port().rtsEnable());
  player.catchUp();
  tick();
  EXPECT_FALSE(svc->voicePlaying());
  EXPECT_EQ(player.positionMs(), 0);

  player.stalled = true;
  press(112);
  int elapsed = 0;
  while (port().rtsEnable() && elapsed < 5000) {
    tick();
    elapsed += 40;
  }
  EXPECT_GE(elapsed, 2000);
  EXPECT_LT(elapsed, 2040);
  player.catchUp();
  EXPECT_FALSE(svc->voicePlaying());  // stopped at the release: it never sounds late
}

TEST_F(PhoneTest, ReleaseAllAndUnloadLeaveEveryLineOff) {
  configure("3", WaveSettings::Parallel, "5");
  // The last two commands, the player's notes of the lines left out.
  auto lastTwo = [this] {
    QStringList t;
    for (const QString& l : log)
      if (!l.startsWith("lines at")) t << l;
    return t.mid(t.size() - 2).join(" | ").toStdString();
  };
  press(112);
  svc->releaseAll();  // what Exit and the signals run
  EXPECT_FALSE(port().rtsEnable());
  // The parallel line too goes before the player is touched.
  EXPECT_EQ(lastTwo(), "out 890 2 | Stop");
  EXPECT_EQ(state.PhoneRepeat, 0);
  EXPECT_FALSE(keyer->Timer1.isActive());
  press(112);
  keyer->unload();  // what the window's unload runs
  EXPECT_FALSE(port().rtsEnable());
  EXPECT_FALSE(port().isOpen());
  EXPECT_EQ(lastTwo(), "out 890 2 | Close");
  svc->unload(SideWindow::PhoneFrm);
  EXPECT_EQ(svc->phone, nullptr);
}

// The example: F1 and F2 set, port 2, DTR, a 10 s repeat, the default address.
const QByteArray kExample =
    "\"C:\\Waves\\cq.wav\"\r\n\"C:\\Waves\\exch.wav\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
    "\"2\"\r\n1\r\n\"10\"\r\n\"&H378\"\r\n";

TEST(Wave2, WritesAndReadsTheExample) {
  WaveSettings w;
  w.Text[0] = "  C:\\Waves\\cq.wav ";
  w.Text[1] = "C:\\Waves\\exch.wav";
  w.Text10 = "2";
  w.option = WaveSettings::DTR;
  w.txtPHLoop = "10";
  EXPECT_EQ(writeWave2(w), kExample);
  WaveSettings r;
  EXPECT_TRUE(readWave2(kExample, r));
  EXPECT_EQ(r.Text[0], "C:\\Waves\\cq.wav");
  EXPECT_EQ(r.Text[1], "C:\\Waves\\exch.wav");
  EXPECT_EQ(r.Text[2], "");
  EXPECT_EQ(r.Text10, "2");
  EXPECT_EQ(r.option, WaveSettings::DTR);
  EXPECT_EQ(r.txtPHLoop, "10");
  EXPECT_EQ(r.repeatMs, 10000);
  EXPECT_EQ(r.Text11, "&H378");
  w.option = WaveSettings::None;
  EXPECT_EQ(writeWave2(w).split('\n')[10], "\r");  // no option ticked: an empty line 11
}

TEST(Wave2, ReadsDamagedFilesAsFarAsTheyGo) {
  auto with = [](int line, const QByteArray& value) {
    QList<QByteArray> lines = kExample.split('\n');
    lines[line - 1] = value + '\r';
    return lines.join('\n');
  };
  WaveSettings r;
  r.option = WaveSettings::Parallel;
  EXPECT_TRUE(readWave2(with(11, ""), r));
  EXPECT_EQ(r.option, WaveSettings::RTS);
  r.option = WaveSettings::DTR;
  EXPECT_TRUE(readWave2(with(11, "7"), r));
  EXPECT_EQ(r.option, WaveSettings::DTR);

  WaveSettings e;
  e.repeatMs = 1234;
  EXPECT_FALSE(readWave2(with(12, "\"\"").replace("&H378", "&H3BC"), e));
  EXPECT_EQ(e.txtPHLoop, "");
  EXPECT_EQ(e.repeatMs, 1234);
  EXPECT_EQ(e.Text11, "&H378");  // the value at load: the reading ended before line 13

  WaveSettings f;
  const QByteArray firstTen = kExample.left(kExample.indexOf("1\r\n\"10\""));
  EXPECT_FALSE(readWave2(firstTen, f));
  EXPECT_EQ(f.Text10, "2");
  EXPECT_EQ(f.option, WaveSettings::RTS);
}

// wave2.txt has no escape for a double quote: one inside a bare item is
// dropped when read, so what is read is written back the same.
TEST(Wave2, AQuoteInABareItemIsDropped) {
  QList<QByteArray> lines = kExample.split('\n');
  lines[0] = "/home/op/cq \"1\".wav\r";
  lines[11] = "1\"2\r";
  WaveSettings r;
  EXPECT_TRUE(readWave2(lines.join('\n'), r));
  EXPECT_EQ(r.Text[0], "/home/op/cq 1.wav");
  EXPECT_EQ(r.txtPHLoop, "12");
  EXPECT_EQ(r.repeatMs, 12000);
  WaveSettings again;
  EXPECT_TRUE(readWave2(writeWave2(r), again));
  EXPECT_EQ(again.Text[0], r.Text[0]);
  EXPECT_EQ(again.txtPHLoop, r.txtPHLoop);
}

TEST(Wave2, LoopBoxAndNumbers) {
  struct Case { QString in; int ms; QString out; };
  const Case cases[] = {{"59.9", 59900, "59.9"}, {"60", 0, "0"}, {"0.0005", 0, "0.0005"}, {"0.0015", 2, "0.0015"},
                        {"abc", 0, "0"}, {"", 0, "0"}, {"5", 5000, "5"}};
  for (const Case& c : cases) {
    QString t = c.in;
    EXPECT_EQ(checkLoopBox(t), c.ms) << c.in.toStdString();
    EXPECT_EQ(t, c.out);
  }
  EXPECT_EQ(boxValue("&H378"), 888.0);
  EXPECT_EQ(boxValue("888"), 888.0);
  EXPECT_FALSE(boxValue("abc"));
  EXPECT_TRUE(fitsWave2("/home/op/cq 1.wav"));
  EXPECT_FALSE(fitsWave2("/home/op/\"cq\".wav"));
  EXPECT_FALSE(fitsWave2(QString::fromUtf8("/home/op/\xe4\xb8\xad.wav")));
}

TEST_F(PhoneTest, LoadWaveSettingsFillsTheWindowAndDoneWritesTheFile) {
  EXPECT_FALSE(svc->loadWaveSettings());  // missing: the defaults
  PhoneFrm& w = svc->phoneFrm();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.Text10->text(), "0");
  EXPECT_TRUE(w.Option1->isChecked());
  EXPECT_EQ(w.Text11->text(), "&H378");

  writeFile("wave2.txt", kExample);
  EXPECT_TRUE(svc->loadWaveSettings());
  EXPECT_EQ(w.Text[0]->text(), "C:\\Waves\\cq.wav");
  EXPECT_TRUE(w.Option2->isChecked());
  EXPECT_EQ(w.txtPHLoop->text(), "10");

  w.Text[2]->setText("  /w/three.wav  ");
  w.Option3->setChecked(true);
  w.Command1_Click();
  EXPECT_EQ(set().option, WaveSettings::Parallel);
  const QByteArray saved = readFile("wave2.txt");
  EXPECT_EQ(saved.split('\n')[2], "\"/w/three.wav\"\r");
  EXPECT_EQ(saved.split('\n')[10], "2\r");
}

// Esc is the window's Done; as a click on Done would, it runs the leave check
// of the box the cursor is in first.
TEST_F(PhoneTest, EscInABoxIsDoneAfterTheBoxsLeaveCheck) {
  svc->loadWaveSettings();
  PhoneFrm& w = svc->phoneFrm();
  struct Case { KeyBox* box; const char* typed; int line; QByteArray saved; };
  const Case cases[] = {
      {w.txtPHLoop, "7", 12, "\"7\"\r"},
      {w.Text10, "x2", 10, "\"0\"\r"},  // not a port: 0, as leaving the box makes it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    c.box->setFocus(Qt::OtherFocusReason);
    c.box->setText("");
    QTest::keyClicks(c.box, c.typed);
    QTest::keyClick(c.box, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(readFile("wave2.txt").split('\n').value(c.line - 1), c.saved);
  }
  EXPECT_EQ(set().repeatMs, 7000);
}

TEST_F(PhoneTest, DoneThatCannotWriteKeepsTheOldFileAndSaysWhy) {
  writeFile("wave2.txt", kExample);
  svc->loadWaveSettings();
  PhoneFrm& w = svc->phoneFrm();
  w.Text[0]->setText("/w/other.wav");
  fake->dialogs->answers.push_back(Answer::Ok);
  {
    ScopedFileSizeLimit limit(10);
    w.Command1_Click();
  }
  EXPECT_EQ(readFile("wave2.txt"), kExample);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_TRUE(fake->dialogs->shown[0].text.contains("wave2.txt"));
}

TEST_F(PhoneTest, WindowBoxesFiltersBrowseAndTest) {
  svc->loadWaveSettings();
  PhoneFrm& w = svc->phoneFrm();
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  w.txtPHLoop->setText("");
  w.txtPHLoop->setFocus();
  QTest::keyClicks(w.txtPHLoop, "5a-9.9x");
  EXPECT_EQ(w.txtPHLoop->text(), "59.9");
  w.txtPHLoop_LostFocus();
  EXPECT_EQ(set().repeatMs, 59900);
  w.txtPHLoop->setText("60");
  w.txtPHLoop_LostFocus();
  EXPECT_EQ(w.txtPHLoop->text(), "0");
  EXPECT_EQ(set().repeatMs, 0);

  w.Text11->setText("");
  w.Text11->setFocus();
  QTest::keyClicks(w.Text11, "&h3\"bc");
  EXPECT_EQ(w.Text11->text(), "&H3BC");
  w.Text[0]->setText("");
  w.Text[0]->pasteText("/w/\"q\".wav");
  EXPECT_EQ(w.Text[0]->text(), "/w/q.wav");
  w.Text[0]->setFocus();
  QTest::keyClicks(w.Text[0], "\"x");
  EXPECT_EQ(w.Text[0]->text(), "/w/q.wavx");

  w.Text10->setText("x2");
  w.Text10_LostFocus();
  EXPECT_EQ(w.Text10->text(), "0");

  // Browse: chosen, cancelled (beep, unchanged), refused.
  fake->dialogs->files.push_back("/w/cq.wav");
  w.Browse_Click(0);
  EXPECT_EQ(w.Text[0]->text(), "/w/cq.wav");
  EXPECT_EQ(fake->dialogs->shown.last().kind, "open");
  fake->dialogs->files.push_back("");
  w.Browse_Click(0);
  EXPECT_EQ(w.Text[0]->text(), "/w/cq.wav");
  EXPECT_EQ(fake->dialogs->beeps, 1);
  fake->dialogs->files.push_back("/w/\"bad\".wav");
  fake->dialogs->answers.push_back(Answer::Ok);
  w.Browse_Click(0);
  EXPECT_EQ(w.Text[0]->text(), "/w/cq.wav");
  EXPECT_EQ(fake->dialogs->shown.last().title, "Invalid file name.");

  // Test shows Stop only with a repeat above 0.
  w.txtPHLoop->setText("0");
  w.Command11_Click();
  EXPECT_TRUE(log.contains("play /w/cq.wav"));
  EXPECT_FALSE(w.Command12->isVisible());
  w.txtPHLoop->setText("5");
  w.txtPHLoop_LostFocus();
  w.Command11_Click();
  EXPECT_TRUE(w.Command12->isVisible());
  w.Command12_Click();
  EXPECT_FALSE(w.Command12->isVisible());
  EXPECT_EQ(state.PhoneRepeat, 0);
  w.hide();
}

}  // namespace
}  // namespace fd::test
