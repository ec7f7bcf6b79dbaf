// Voice navigation with a fake player on the virtual clock: the prompts, the
// option clicks, Done, the first prompt after start, and the real player on a
// machine without sound.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "fakemainwindow.h"
#include "keying/blindfrm.h"
#include "keying/keyingservice.h"
#include "testenv.h"

namespace fd::test {
namespace {

class VoiceNavTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setAudioFactory([this] { return std::make_unique<FakeAudioPlayer>(&lengths, &log); });
    for (const char* p : {"Call", "Class", "Section", "Dupe", "NavEn", "NavDis"})
      lengths[prompt(p)] = 700;
    service.attach(main);
  }
  void TearDown() override {
    service.unload(SideWindow::BlindFrm);
    setAudioFactory({});
  }
  QString prompt(const QString& name) const { return state.progFile(name + ".wav"); }
  // The prompts that were started, by name.
  QStringList played() const {
    QStringList out;
    for (const QString& l : log)
      if (l.startsWith("play ")) out << QFileInfo(l.mid(5)).completeBaseName();
    return out;
  }

  std::map<QString, int> lengths;
  QStringList log;
  FakeMainWindow main{&state};
  KeyingService service{state};
};

TEST_F(VoiceNavTest, ThePromptFileAndACutOff) {
  state.VoiceNavMode = 0;
  service.blindKeyPhone("Call");  // loads the window hidden: "NavDis", then "Call" cuts it
  EXPECT_FALSE(service.blindFrm().isVisible());
  EXPECT_EQ(played(), QStringList({"NavDis", "Call"}));
  EXPECT_TRUE(log.contains("Open " + prompt("Call")));
  EXPECT_TRUE(service.promptPlaying());
  log.clear();
  service.blindKeyPhone("Class");
  EXPECT_EQ(log, QStringList({"Close", "Open " + prompt("Class"), "play " + prompt("Class")}));
  fake->clock->advanceMs(700);
  EXPECT_FALSE(service.promptPlaying());
  // A missing prompt is silent, and a wait for it ends at once.
  lengths.erase(prompt("Dupe"));
  service.blindKeyPhone("Dupe");
  EXPECT_FALSE(service.promptPlaying());
  log.clear();
  service.blindKeyPhone("  ");
  EXPECT_EQ(log, QStringList({"Close"}));
}

TEST_F(VoiceNavTest, TheFirstPromptAfterStartInModeOne) {
  state.VoiceNavMode = 1;
  const std::int64_t start = fake->clock->monotonicMs();
  service.blindKeyPhone("Call");
  // "NavEn" whole (the wait ran 700 ms of virtual time), its "Call" cut by the asked-for "Call".
  EXPECT_EQ(played(), QStringList({"NavEn", "Call", "Call"}));
  EXPECT_GE(fake->clock->monotonicMs() - start, 700);
  EXPECT_EQ(service.blindFrm().Option2->isChecked(), true);
}

TEST_F(VoiceNavTest, APromptThatNeverEndsStopsTheWaitAtTenSeconds) {
  lengths[prompt("NavEn")] = 3'600'000;
  state.VoiceNavMode = 1;
  const std::int64_t start = fake->clock->monotonicMs();
  service.blindKeyPhone("Call");
  const std::int64_t waited = fake->clock->monotonicMs() - start;
  EXPECT_GE(waited, 10000);
  EXPECT_LT(waited, 10100);
  EXPECT_EQ(played(), QStringList({"NavEn", "Call", "Call"}));
}

// A prompt the sound system never starts, or whose end never comes, counts
// as ended 2 s after its request, or 2 s past its length: the waits for a
// prompt's end (the duplicate check's, "Call Only"'s) hold the keys no longer.
TEST_F(VoiceNavTest, ALatePromptCountsAsEndedByTheCeiling) {
  const struct {
    const char* name;
    int beginAfterMs;
    bool reportsEnd;
    int endedAtMs;
  } cases[] = {
      {"never begins", -1, true, 2000},
      {"begins, its end never reported", 0, false, 700 + 2000},
      {"begins after 1 s, its end never reported", 1000, false, 1000 + 700 + 2000},
  };
  state.VoiceNavMode = 0;
  service.blindFrm();  // loaded: its announcement is out of the way
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto& player = static_cast<FakeAudioPlayer&>(service.voiceNav->player());
    player.beginAfterMs = c.beginAfterMs;
    player.reportsEnd = c.reportsEnd;
    service.blindKeyPhone("Dupe");
    // Polled every 20 ms, as the waits poll it.
    int t = 0;
    for (; t < c.endedAtMs && service.promptPlaying(); t += 20) fake->clock->advanceMs(20);
    EXPECT_EQ(t, c.endedAtMs);
    EXPECT_FALSE(service.promptPlaying());
    EXPECT_TRUE(player.playing());  // the player itself still says so
  }
}

TEST_F(VoiceNavTest, OptionsDoneAndClose) {
  state.VoiceNavMode = 0;
  BlindFrm& w = service.blindFrm();
  EXPECT_EQ(w.windowTitle(), "Voice Navigation Settings");
  EXPECT_EQ(w.Label7->text(), "Put the audio wave files in this program's working directory: " + state.ProgDir);
  EXPECT_TRUE(w.Option1->isChecked());
  service.showVoiceNav();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

  struct Click { QRadioButton* option; QStringList prompts; };
  const Click clicks[] = {{w.Option2, {"NavEn", "Call"}}, {w.Option3, {"NavEn"}}, {w.Option1, {"NavDis"}}};
  for (const Click& c : clicks) {
    log.clear();
    c.option->click();
    EXPECT_TRUE(c.option->isChecked());
    EXPECT_EQ(played(), c.prompts);
    EXPECT_EQ(state.VoiceNavMode, 0);  // only Done changes the mode
  }
  // Closing without Done keeps the mode.
  w.close();
  EXPECT_EQ(state.VoiceNavMode, 0);
  EXPECT_EQ(main.prefSaves, 0);

  service.showVoiceNav();
  BlindFrm& again = service.blindFrm();  // the close box unloaded the window
  again.Option3->click();
  again.Command1_Click();
  EXPECT_FALSE(again.isVisible());
  EXPECT_EQ(state.VoiceNavMode, 2);
  EXPECT_EQ(main.prefSaves, 1);
  EXPECT_NE(QDir::currentPath(), QDir(state.ProgDir).canonicalPath());  // the current folder is left alone
}

// The close box unloads the window, as its unload step: the next showing
// loads it again, so its ticks show the stored mode and announce it, and Done
// stores that mode rather than the choice left when the window was closed.
TEST_F(VoiceNavTest, AfterTheCloseBoxTheWindowShowsTheStoredModeAgain) {
  state.VoiceNavMode = 1;
  service.showVoiceNav();
  QPointer<BlindFrm> first = &service.blindFrm();
  first->Option3->click();
  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(state.VoiceNavMode, 1);
  log.clear();
  service.showVoiceNav();
  BlindFrm& w = service.blindFrm();
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.Option2->isChecked());
  EXPECT_FALSE(w.Option3->isChecked());
  EXPECT_EQ(played(), QStringList({"NavEn", "Call"}));
  w.Command1->click();
  EXPECT_EQ(state.VoiceNavMode, 1);
}

TEST_F(VoiceNavTest, TheWindowReloadedShowsTheStoredMode) {
  for (int mode : {0, 1, 2}) {
    state.VoiceNavMode = static_cast<std::uint8_t>(mode);
    log.clear();
    BlindFrm& w = service.blindFrm();
    const QRadioButton* want[] = {w.Option1, w.Option2, w.Option3};
    EXPECT_TRUE(want[mode]->isChecked()) << mode;
    EXPECT_EQ(played().first(), mode == 0 ? "NavDis" : "NavEn");
    service.unload(SideWindow::BlindFrm);
  }
}

// The real player where no sound device exists: nothing plays and nothing waits.
TEST(RealPlayer, WithoutSoundNothingPlaysAndNothingWaits) {
  auto player = makeQtAudioPlayer();
  QElapsedTimer t;
  t.start();
  player->setFileName("/nonexistent/none.wav");
  EXPECT_FALSE(player->open());
  EXPECT_FALSE(player->play());
  EXPECT_FALSE(player->playing());
  const QString shipped = QStringLiteral(FD_SOURCE_DIR "/dist/prompts/Call.wav");
  ASSERT_TRUE(QFileInfo::exists(shipped));
  player->setFileName(shipped);
  EXPECT_TRUE(player->open());
  player->play();
  // A machine with a sound server may really play it; then it ends by itself.
  QTest::qWait(40);
  if (player->playing()) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->playing(); }, 5000));
  }
  player->stop();
  EXPECT_FALSE(player->playing());
  player->close();
  EXPECT_LT(t.elapsed(), 6000);
}

}  // namespace
}  // namespace fd::test

namespace fd::test {
namespace {

// The shipped prompts: PCM WAV, 22050 Hz 16-bit mono, each under 2 s.
TEST(ShippedPrompts, ArePcmWavUnderTwoSeconds) {
  for (const char* name : {"Call", "Class", "Section", "Dupe", "NavEn", "NavDis"}) {
    SCOPED_TRACE(name);
    QFile f(QStringLiteral(FD_SOURCE_DIR "/dist/prompts/%1.wav").arg(QLatin1String(name)));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    ASSERT_GE(b.size(), 44);
    auto u16 = [&](int at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); };
    auto u32 = [&](int at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    EXPECT_EQ(b.left(4), "RIFF");
    EXPECT_EQ(b.mid(8, 4), "WAVE");
    EXPECT_EQ(b.mid(12, 4), "fmt ");
    EXPECT_EQ(u16(20), 1);      // PCM
    EXPECT_EQ(u16(22), 1);      // mono
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_EQ(u16(34), 16);
    const qsizetype data = b.indexOf("data");
    ASSERT_GT(data, 0);
    EXPECT_LT(double(u32(int(data) + 4)) / (22050 * 2), 2.0);
  }
}

}  // namespace
}  // namespace fd::test
