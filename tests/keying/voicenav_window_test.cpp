// Voice navigation behind the real main window: which prompts each mode
// plays as the fields take the focus and when a duplicate is found.
#include <QFileInfo>

#include "../log/form1_fixture.h"
#include "keying/keyingservice.h"

namespace fd::test {
namespace {

class VoiceNavWindow : public RoadForm {
 protected:
  void SetUp() override {
    RoadForm::SetUp();
    setAudioFactory([this] { return std::make_unique<FakeAudioPlayer>(&lengths, &log); });
    for (const char* p : {"Call", "Class", "Section", "Dupe", "NavEn", "NavDis"}) lengths[state.progFile(QString(p) + ".wav")] = 300;
    recorder = std::move(sv.keying);
    auto k = std::make_unique<KeyingService>(state);
    nav = k.get();
    sv.keying = std::move(k);
  }
  void TearDown() override {
    RoadForm::TearDown();
    sv.keying.reset();
    setAudioFactory({});
  }
  QStringList played() {
    QStringList out;
    for (const QString& l : log)
      if (l.startsWith("play ")) out << QFileInfo(l.mid(5)).completeBaseName();
    log.clear();
    return out;
  }
  std::map<QString, int> lengths;
  QStringList log;
  std::unique_ptr<KeyingServices> recorder;
  KeyingService* nav = nullptr;
};

TEST_F(VoiceNavWindow, EachModeAnnouncesItsFields) {
  struct Row { int mode; QStringList focus; };
  const Row rows[] = {{0, {}}, {1, {"Call"}}, {2, {"Class", "Section", "Call"}}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.mode);
    state.VoiceNavMode = static_cast<std::uint8_t>(r.mode);
    state.DupeFlag = 0;
    fake->clock->advanceMs(60000);  // past the hold after the last row's duplicate
    open(recordLine("W1XYZ", "2A", "CT", "2024/06/22", "18:00:00", state.CurBand, state.CurMode));
    nav->attach(*form);
    nav->blindFrm();  // loaded (and its announcement heard) before the fields are tried
    fake->clock->advanceMs(2000);
    log.clear();
    form->txtCK->setFocus(Qt::TabFocusReason);
    form->txtSec->setFocus(Qt::TabFocusReason);
    form->txtCall->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(played(), r.focus);
    type("W1XYZ");
    key(Qt::Key_Tab);
    EXPECT_TRUE(played().contains("Dupe"));
    EXPECT_EQ(state.DupeFlag, 1);
    nav->unload(SideWindow::BlindFrm);
    form->hide();
    form.reset();
  }
}

// A signal ends the program without a close: the main window goes first and
// takes its child windows with it. The keying service must not hold them then,
// or it deletes them a second time as it goes (a crash at every SIGTERM).
TEST_F(VoiceNavWindow, TheMainWindowGoingFirstLeavesTheServiceNoWindowToDeleteAgain) {
  open();
  nav->attach(*form);
  nav->blindFrm();
  nav->phoneFrm();
  ASSERT_TRUE(nav->blindWindow && nav->phoneWindow);
  form.reset();
  EXPECT_FALSE(nav->blindWindow);
  EXPECT_FALSE(nav->phoneWindow);
}

}  // namespace
}  // namespace fd::test
