// The real main window over the real keying service, with fake players and
// ports that write into one log: no voice prompt goes out while the voice
// keyer transmits, and a prompt still sounding is stopped before PTT is keyed.
#include <QApplication>
#include <QTest>

#include "keying/keyingservice.h"
#include "log/form1.h"
#include "testenv.h"

namespace fd {
namespace {

// The PTT port, noting each change of RTS in the players' log.
class LoggedPort : public FakeSerialPort {
 public:
  explicit LoggedPort(QStringList* log) : log_(log) {}
  bool setRTSEnable(bool on) override {
    if (on != rtsEnable()) log_->append(on ? QStringLiteral("RTS 1") : QStringLiteral("RTS 0"));
    return FakeSerialPort::setRTSEnable(on);
  }

 private:
  QStringList* log_;
};

class VoiceOnTheAir : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([this] { return std::make_unique<LoggedPort>(&log); });
    setAudioFactory([this] { return std::make_unique<FakeAudioPlayer>(&lengths, &log); });
    for (const char* p : {"Call", "Class", "Section", "Dupe", "NavEn", "NavDis"})
      lengths[state.progFile(QString::fromLatin1(p) + ".wav")] = 700;
    lengths["/w/cq.wav"] = 3000;
    state.OpInitials = "AB";
    state.CurBand = "20";
    state.CurMode = "PH";
    writeFile("fdlog.dat", "\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"PH\",\"AB\",\"\",\"\"\r\n");
    auto k = std::make_unique<KeyingService>(state);
    keying = k.get();
    services.keying = std::move(k);
    form = std::make_unique<Form1>(state, services);
    services.attach(*form);
    form->book.mnuopen2();
    PhoneKeyer& keyer = keying->phoneKeyer();
    keyer.settings.Text[0] = "/w/cq.wav";
    keyer.settings.Text10 = "2";
    keyer.settings.option = WaveSettings::RTS;
    keyer.settings.txtPHLoop = "0";
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->txtCall->setFocus(Qt::OtherFocusReason);
  }
  void TearDown() override {
    form.reset();
    services = Services{};
    setSerialFactory({});
    setAudioFactory({});
  }
  void type(const char* text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
  QStringList prompts() const { return log.filter(".wav").filter("play " + state.ProgDir); }

  std::map<QString, int> lengths;
  QStringList log;
  Services services;
  KeyingService* keying = nullptr;
  std::unique_ptr<Form1> form;
};

TEST_F(VoiceOnTheAir, NoPromptPlaysWhileTheVoiceKeyerTransmits) {
  const struct {
    const char* name;
    int mode;
    const char* call;
  } cases[] = {
      {"Tab into Class, all data fields", 2, "K1AB"},
      {"a duplicate, voice navigation off", 0, "W1AW"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state.VoiceNavMode = static_cast<std::uint8_t>(c.mode);
    form->txtCall->clear();
    form->txtCall->setFocus(Qt::OtherFocusReason);
    key(Qt::Key_F1);
    ASSERT_TRUE(log.contains("RTS 1"));
    ASSERT_TRUE(keying->voicePlaying());
    log.clear();
    type(c.call);
    key(Qt::Key_Tab);
    EXPECT_EQ(prompts().join(", ").toStdString(), "");
    EXPECT_FALSE(keying->promptPlaying());
    if (c.mode == 0) {
      // Refused as before: the entry cleared, the cursor back in the call field.
      EXPECT_TRUE(form->txtCall->text().isEmpty());
      EXPECT_EQ(QApplication::focusWidget(), form->txtCall);
      EXPECT_EQ(state.DupeFlag, 1);
    } else {
      EXPECT_EQ(QApplication::focusWidget(), form->txtCK);
    }
    EXPECT_TRUE(keying->voicePlaying());  // the message plays on
    keying->stopVoice();
    QTest::qWait(60);
  }
}

TEST_F(VoiceOnTheAir, APromptSoundingIsStoppedBeforePttIsKeyed) {
  state.VoiceNavMode = 2;
  type("K1AB");
  key(Qt::Key_Tab);  // "Class"
  ASSERT_TRUE(keying->promptPlaying());
  log.clear();
  key(Qt::Key_F1);
  // The prompt's stop, then the keyed line, then the message.
  const qsizetype stop = log.indexOf("Stop");
  const qsizetype keyed = log.indexOf("RTS 1");
  ASSERT_GE(stop, 0) << log.join(" | ").toStdString();
  EXPECT_LT(stop, keyed) << log.join(" | ").toStdString();
  EXPECT_LT(keyed, log.indexOf("play /w/cq.wav")) << log.join(" | ").toStdString();
  EXPECT_FALSE(keying->promptPlaying());
  keying->stopVoice();
}

}  // namespace
}  // namespace fd
