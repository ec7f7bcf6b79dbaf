// The main-window interface as each kind of caller uses it, through the
// recording fake the subsystems' tests share. Each caller below is the
// smallest form of what its subsystem does with the main window.
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "testenv.h"

namespace fd {
namespace {

using test::FakeMainWindow;
using Field = MainWindow::Field;

class MainWindowFake : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    state.ProgDir = dir.path();
  }
};

// Keying: a "!" in a CW message runs the save step.
void sendCWMessage(MainWindow& mw, const QString& text) {
  for (QChar c : text)
    if (c == u'!') mw.Mains();
}

// The RTTY link: a received call and exchange land in the entry fields.
void rttyReceived(MainWindow& mw, const QString& call, const QString& cls, const QString& sec) {
  mw.setFieldText(Field::Call, call);
  mw.setFieldText(Field::Class, cls);
  mw.setFieldText(Field::Section, sec);
}

// The radio's read-back: band, mode and frequency.
void radioReadBack(MainWindow& mw, const QString& band, const QString& mode, const QString& mhz) {
  mw.selectBand(band);
  mw.selectMode(mode);
  mw.setCurFreq(mhz);
}

// A chosen spot: its call in the call field, the cursor back there.
void spotChosen(MainWindow& mw, const QString& call) {
  mw.setFieldText(Field::Call, call);
  mw.focusCall();
}

// Log output: a combined log written, the log reloaded, the status line told.
void afterCombine(MainWindow& mw, int added) {
  mw.mnuopen2();
  mw.setStatus(QStringLiteral("%1 contacts added").arg(added));
}

TEST_F(MainWindowFake, KeyingRunsTheSaveStepOncePerBang) {
  FakeMainWindow mw(&state);
  sendCWMessage(mw, "TU!");
  sendCWMessage(mw, "NR 2A CT");
  EXPECT_EQ(mw.saves, 1);
  EXPECT_EQ(mw.calls, (QStringList{"Mains"}));
}

TEST_F(MainWindowFake, RttyLinkWritesTheEntryFields) {
  FakeMainWindow mw(&state);
  rttyReceived(mw, "W1AW", "2A", "CT");
  EXPECT_EQ(mw.fieldText(Field::Call), "W1AW");
  EXPECT_EQ(mw.fieldText(Field::Class), "2A");
  EXPECT_EQ(mw.fieldText(Field::Section), "CT");
  EXPECT_EQ(mw.saves, 0);
}

TEST_F(MainWindowFake, RadioReadBackSetsBandModeAndFrequency) {
  FakeMainWindow mw(&state);
  radioReadBack(mw, "20", "CW", "14.025");
  EXPECT_EQ(state.CurBand, "20");
  EXPECT_EQ(state.CurMode, "CW");
  EXPECT_EQ(state.CurFreq, "14.025");
  radioReadBack(mw, "11", "AM", "27.1");  // outside the lists: band and mode unchanged
  EXPECT_EQ(state.CurBand, "20");
  EXPECT_EQ(state.CurMode, "CW");
}

TEST_F(MainWindowFake, ChosenSpotFillsTheCallAndFocusesIt) {
  FakeMainWindow mw(&state);
  spotChosen(mw, "K2XYZ");
  EXPECT_EQ(mw.call, "K2XYZ");
  EXPECT_EQ(mw.calls, (QStringList{"setFieldText 0 K2XYZ", "focusCall"}));
}

TEST_F(MainWindowFake, OutputReloadsTheLogAndWritesTheStatusLine) {
  writeFile("fdlog.dat", test::recordLine("W1AW", "2A", "CT", "2024/06/22", "17:30:00", "20", "PH", "AB"));
  test::RecordingLogView view;
  LogBook book(state, &view);
  FakeMainWindow mw(&state, &book);
  afterCombine(mw, 1);
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(view.ph, 1);
  EXPECT_EQ(mw.statusText(), "1 contacts added");
  EXPECT_FALSE(mw.statusBackSet);
}

}  // namespace
}  // namespace fd
