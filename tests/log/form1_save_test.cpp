// Enter in the real main window: the save step with its checks, the UTC
// stamp, the file, the score and marks, duplicates and the hold after them.
#include <QDir>
#include <QLocale>
#include <QTimer>

#include "form1_fixture.h"
#include "log/logfile.h"

namespace fd {
namespace {

using test::recordLine;

class RoadSave : public test::RoadForm {
 protected:
  // The operator clicks into the class field: the duplicate check runs outside a key of the call field.
  void leaveCall() { form->txtCK->setFocus(Qt::MouseFocusReason); }
};

TEST_F(RoadSave, ContactStoredByteForByteWithItsUtcStamp) {
  struct Case { float offset; QDateTime local; const char* date; const char* time; };
  const Case cases[] = {
      {4.0f, plainDateTime(QDate(2024, 6, 22), QTime(21, 30, 15)), "2024/06/23", "01:30:15"},   // rolls the date
      {-5.5f, plainDateTime(QDate(2024, 6, 22), QTime(3, 10, 0)), "2024/06/21", "21:40:00"},    // half-hour offset
      {0.0f, plainDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)), "2024/12/31", "23:59:59"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    state = ProgramState{};
    fillSectionTable(state);
    state.ProgDir = dir.path();
    state.OpInitials = "AB";
    state.UTCOffset = c.offset;
    state.CurFreq = "7.185";
    fake->clock->setLocal(c.local);
    open();
    type("w1aw2act\r");
    EXPECT_EQ(readFile("fdlog.dat"), recordLine("W1AW", "2A", "CT", c.date, c.time, "40", "PH", "AB", "7.185"));
    EXPECT_EQ(entry(), (QStringList{"", "", ""}));
    EXPECT_EQ(focused(), form->txtCall);
    EXPECT_EQ(state.CurFreq, "");
    EXPECT_EQ(status(), " ");
    EXPECT_EQ(form->lblDialog->backColor(), kStatusNormal);
    form.reset();
  }
}

TEST_F(RoadSave, SavedContactIsListedCountedMarkedAndSurvivesARestart) {
  open();
  type("w1aw2act\rk2xyz1eeny\r");
  ASSERT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(form->ListView1->topLevelItemCount(), 2);
  EXPECT_EQ(form->ListView1->topLevelItem(0)->text(1), "K2XYZ");
  EXPECT_EQ(form->ListView1->topLevelItem(0)->text(4), "6/22");
  EXPECT_EQ(form->ListView1->topLevelItem(0)->text(5), "18:00");
  EXPECT_EQ(form->lblsectogo->text(), "2");
  EXPECT_EQ(form->lblTotScore->text(), "2");
  const int ct = sectionRow("CT");
  EXPECT_EQ(state.SecWorked[static_cast<size_t>(ct)], 1);
  EXPECT_EQ(form->Label10[static_cast<size_t>(ct)]->foreColor(), state.WorkedColor);
  EXPECT_EQ(form->Label10[static_cast<size_t>(sectionRow("NNJ"))]->foreColor(), state.RemainingColor);
  EXPECT_EQ(form->lblAQSO60->text(), "2");
  EXPECT_EQ(form->lblAQSO20->text(), "6");

  form.reset();
  state.Log.clear();
  open(readFile("fdlog.dat"));
  EXPECT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(form->ListView1->topLevelItem(1)->text(1), "W1AW");
}

TEST_F(RoadSave, ScoreByMode) {
  open();
  int n = 0;
  for (const char* mode : {"CW", "DIG", "PH", "FM", "CW"}) {
    state.CurMode = mode;
    type(QString("k%1aa2act\r").arg(++n));
  }
  EXPECT_EQ(state.QsoCount(), 5);
  EXPECT_EQ(form->lblTotCon->text(), "2");
  EXPECT_EQ(form->lblTotSec->text(), "1");
  EXPECT_EQ(form->lblsectogo->text(), "1");
  EXPECT_EQ(form->lblTotScore->text(), "7");  // 2 + 2 + 1 + nothing + 2
}

TEST_F(RoadSave, CompletenessChecksKeepTheEntryAndTheirMessage) {
  open();
  type("w1 2a ct\r");
  EXPECT_EQ(state.QsoCount(), 0);
  EXPECT_EQ(status(), "Need Call Sign!");
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_EQ(entry(), (QStringList{"W1", "2A", "CT"}));

  form->cmdClear_Click();
  fake->dialogs->clear();
  type("\r");
  EXPECT_EQ(fake->dialogs->beeps, 3);
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_EQ(status(), "Invalid Section");  // the section check runs after the completeness check
  EXPECT_EQ(fake->dialogs->shown.size(), 0);
  EXPECT_EQ(state.QsoCount(), 0);
}

TEST_F(RoadSave, EmptyClassAndSectionOfAKnownCallAreFilledForTheSecondEnter) {
  open(recordLine("W1AW", "3A", "ENY", "2024/06/22", "17:00:00", "20", "CW"));
  type("w1aw");
  form->txtCK->setFocus(Qt::OtherFocusReason);
  form->txtCall->setFocus(Qt::OtherFocusReason);
  form->cmdClear_Click();
  fake->dialogs->clear();
  type("w1aw");
  form->Mains();  // the keyer's "!" runs the step with the cursor still in the call
  EXPECT_EQ(fake->dialogs->beeps, 2);
  EXPECT_EQ(focused(), form->txtCK);
  EXPECT_EQ(status(), "Invalid Section");
  EXPECT_EQ(entry(), (QStringList{"W1AW", "3A", "ENY"}));
  EXPECT_EQ(state.QsoCount(), 1);
  type("\r");
  EXPECT_EQ(state.QsoCount(), 2);
}

TEST_F(RoadSave, UnknownSectionAsksAndNoSavesAsTyped) {
  open();
  fake->dialogs->answers = {Answer::Yes};
  type("w1aw2axyz\r");
  ASSERT_EQ(fake->dialogs->titles(), QStringList{"Invalid section!"});
  EXPECT_EQ(fake->dialogs->shown[0].text, "XYZ is not a valid section.  Do you want to edit the section?");
  EXPECT_EQ(state.QsoCount(), 0);
  EXPECT_EQ(focused(), form->txtSec);
  EXPECT_EQ(status(), "Invalid Section");

  fake->dialogs->answers = {Answer::No};
  type("\r");
  ASSERT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(state.Log.rec(1).Section, "XYZ");

  // Esc or the close box on the question edits the section: nothing saved.
  fake->dialogs->answers = {Answer::Escape};
  type("k2xyz1exyz\r");
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(focused(), form->txtSec);
  EXPECT_EQ(entry(), (QStringList{"K2XYZ", "1E", "XYZ"}));
  form->cmdClear_Click();

  fake->dialogs->clear();
  type("k2xyz1edx\r");  // DX needs no question and marks nothing
  EXPECT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(fake->dialogs->shown.size(), 0);
}

TEST_F(RoadSave, DuplicateRefusedOnSameBandAndModeTakenOnAnother) {
  open(recordLine("W1AW", "2A", "CT", "2024/06/22", "17:00:00", "20", "CW") +
       recordLine("W1AW", "2A", "CT", "2024/06/22", "17:05:00", "40", "PH"));
  const std::int64_t before = fake->clock->monotonicMs();
  type("w1aw\r");
  EXPECT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  // The refusal stays readable after the Enter that caused it.
  EXPECT_EQ(status(), "Dupe: W1AW 2A CT 2024/06/22 17:05:00 ON 40 PH  Rec# 2");
  EXPECT_EQ(form->lblDialog->backColor(), kStatusDupe);
  EXPECT_EQ(keying->calls, QStringList{"prompt Dupe"});  // whatever the navigation setting
  // Enter in the call field holds the program for three seconds, once.
  EXPECT_GE(fake->clock->monotonicMs() - before, 3000);
  EXPECT_EQ(state.DupeFlag, 0);
  type("k");
  EXPECT_EQ(form->txtCall->text(), "K");

  form->cmdClear_Click();
  state.CurBand = "80";
  type("w1aw2act\r");
  EXPECT_EQ(state.QsoCount(), 3);
}

// Notes what the status line showed each time it was painted during the hold.
class HoldPaintSpy : public QObject {
 public:
  HoldPaintSpy(Form1& f, ProgramState& s) : form(f), state(s) { form.lblDialog->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && state.DupeFlag == 1)
      seen << QString("%1|%2|%3").arg(form.txtCall->text(), form.lblDialog->text().left(5)).arg(form.lblDialog->backColor());
    return false;
  }
  Form1& form;
  ProgramState& state;
  QStringList seen;
};

TEST_F(RoadSave, DuplicateReportIsPaintedBeforeTheHoldAndTimersRunDuringIt) {
  open(recordLine("W1AW", "2A", "CT", "2024/06/22", "17:05:00", "40", "PH"));
  type("w1aw");
  QApplication::processEvents();
  HoldPaintSpy spy(*form, state);
  bool timerRanInHold = false;
  QTimer::singleShot(0, form.get(), [&] { timerRanInHold = state.DupeFlag == 1; });
  type("\r");
  ASSERT_FALSE(spy.seen.isEmpty());
  EXPECT_EQ(spy.seen.first(), QString("|Dupe:|%1").arg(kStatusDupe));
  EXPECT_TRUE(timerRanInHold);
  EXPECT_EQ(state.DupeFlag, 0);
}

TEST_F(RoadSave, DuplicateFoundOnLeavingHoldsTheNextCallKeyOnTheMonotonicClock) {
  open(recordLine("W1AW", "2A", "CT", "2024/06/22", "17:05:00", "40", "PH"));
  type("w1aw");
  leaveCall();
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_EQ(state.DupeFlag, 1);
  EXPECT_TRUE(status().startsWith("Dupe: "));
  fake->clock->setWallClockBack(3600);  // a wall clock set back must not stretch the hold
  fake->clock->advanceMs(1000);
  const std::int64_t before = fake->clock->monotonicMs();
  type("k");
  EXPECT_EQ(form->txtCall->text(), "");   // typed within three seconds: swallowed
  EXPECT_GE(fake->clock->monotonicMs() - before, 2000);
  EXPECT_LE(fake->clock->monotonicMs() - before, 2100);
  type("k");
  EXPECT_EQ(form->txtCall->text(), "K");

  // Later than three seconds: passes at once.
  form->cmdClear_Click();
  type("w1aw");
  leaveCall();
  fake->clock->advanceMs(3001);
  const std::int64_t later = fake->clock->monotonicMs();
  type("k");
  EXPECT_EQ(form->txtCall->text(), "K");
  EXPECT_EQ(fake->clock->monotonicMs(), later);
}

TEST_F(RoadSave, CarriedDigitIsDroppedWhenItsFocusMoveFindsADuplicate) {
  open(recordLine("W1AW", "2A", "CT", "2024/06/22", "17:05:00", "40", "PH"));
  type("w1aw2");
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_TRUE(status().startsWith("Dupe: W1AW"));
  EXPECT_EQ(state.KeyState, 0);
}

TEST_F(RoadSave, DupePromptWaitIsBoundedAndTheHoldStartsWhenItEnds) {
  open(recordLine("W1AW", "2A", "CT", "2024/06/22", "17:05:00", "40", "PH"));
  state.VoiceNavMode = 1;
  keying->promptPolls = 10;  // plays for ten polls
  std::int64_t start = fake->clock->monotonicMs();
  type("w1aw");
  leaveCall();
  EXPECT_EQ(keying->promptPolls, 0);
  EXPECT_GT(state.DupeTime, start);
  EXPECT_EQ(state.DupeTime, fake->clock->monotonicMs());

  form->cmdClear_Click();
  fake->clock->advanceMs(3001);
  keying->promptPolls = -1;  // a player that never reports its end
  start = fake->clock->monotonicMs();
  type("w1aw");
  leaveCall();
  EXPECT_GE(state.DupeTime - start, 10000);
  EXPECT_LE(state.DupeTime - start, 10100);
  EXPECT_EQ(state.DupeFlag, 1);
}

TEST_F(RoadSave, ListPreviousShowsTheCallsContactsAndTheCallFieldRestoresTheList) {
  QByteArray log;
  for (int i = 0; i < 5; ++i) log += recordLine(QString("K%1AA").arg(i), "1A", "CT", "2024/06/22", "17:00:00", "40", "PH");
  log += recordLine("W1AW", "2A", "CT", "2024/06/22", "17:10:00", "20", "CW");
  log += recordLine("W1AW", "2A", "CT", "2024/06/22", "17:20:00", "40", "PH");
  state.ListPrevOn = 2;  // a stored value the mark shows as off: the click switches the list on
  open(log);
  form->mnuListPrevious_Click();
  EXPECT_EQ(state.ListPrevOn, 1);
  EXPECT_TRUE(form->menuItem("mnuListPrevious")->isChecked());
  EXPECT_FALSE(readFile("fdpref.dat").isEmpty());
  type("w1aw ");
  ASSERT_EQ(form->ListView1->topLevelItemCount(), 2);
  EXPECT_EQ(form->ListView1->topLevelItem(0)->text(0), "6");
  EXPECT_EQ(form->ListView1->topLevelItem(1)->text(0), "7");
  EXPECT_EQ(form->ListView1->topLevelItem(1)->text(8), "");
  form->txtCK->setFocus(Qt::OtherFocusReason);
  form->txtCall->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(form->ListView1->topLevelItemCount(), 7);
}

TEST_F(RoadSave, FailedAppendTakesTheRecordBackAndKeepsTheEntry) {
  open();
  QFile::remove(path("fdlog.dat"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("fdlog.dat"));  // the file cannot be opened for appending
  state.CurFreq = "7.025";
  fake->dialogs->answers = {Answer::Ok};
  type("w1aw2act\r");
  ASSERT_EQ(fake->dialogs->titles(), QStringList{"Contact Not Saved"});
  EXPECT_TRUE(fake->dialogs->shown[0].text.contains("fdlog.dat"));
  EXPECT_EQ(state.QsoCount(), 0);
  EXPECT_EQ(entry(), (QStringList{"W1AW", "2A", "CT"}));
  EXPECT_EQ(state.CurFreq, "7.025");
  EXPECT_EQ(state.PhCount, 0);
  EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);

  QDir(dir.path()).rmdir("fdlog.dat");
  type("\r");
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(readFile("fdlog.dat"), recordLine("W1AW", "2A", "CT", "2024/06/22", "18:00:00", "40", "PH", "AB", "7.025"));
}

// The radio's last frequency stays after it falls silent or its port is
// lost; a contact stores it only on the band it lies in. Parsed as the C
// locale reads it, whatever the desktop's.
TEST_F(RoadSave, TheRadiosLastFrequencyGoesOnlyWithItsOwnBand) {
  struct Row {
    const char* why;
    const char* bandItem;  // Band menu, by hand
    const char* curFreq;
    const char* stored;
    bool postContest = false;
  };
  const Row rows[] = {
      {"inside the band", "mnu40", "7.185", "7.185"},
      {"the band's upper end", "mnu40", "7.300", "7.300"},
      {"just past it", "mnu40", "7.3001", ""},
      {"20 m polled, then Band 10 by hand", "mnu10", "14.200", ""},
      {"in no band", "mnu40", "5.300", ""},
      {"satellite keeps it", "mnuSatellite", "14.200", "14.200"},
      {"post contest, another band", "mnu10", "14.200", "", true},
      {"post contest, its band", "mnu20", "14.200", "14.200", true},
  };
  struct KeepLocale {
    QLocale was;
    ~KeepLocale() { QLocale::setDefault(was); }
  } keep;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // "7.185" would be 7185 there
  open();
  int n = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.why);
    if (r.postContest && form->txtPostConTime->isHidden()) {
      form->mnuPostContest_Click();
      form->txtPostConDate->setText("2024/06/21");
      form->txtPostConTime->setText("18:05");
      form->txtCall->setFocus(Qt::OtherFocusReason);
    }
    form->menuItem(r.bandItem)->trigger();
    state.CurFreq = r.curFreq;
    type(QString("k%1aa2act\r").arg(++n));
    ASSERT_EQ(state.QsoCount(), n);
    EXPECT_EQ(state.Log.rec(n).Freq.toStdString(), r.stored);
    EXPECT_EQ(state.CurFreq, "");
  }
  const logfile::LoadResult back = logfile::load(path("fdlog.dat"));
  ASSERT_EQ(back.records.size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(back.records[i].Freq.toStdString(), rows[i].stored) << rows[i].why;
}

TEST_F(RoadSave, The14001stContactIsRefused) {
  open();
  for (int i = 0; i < QsoLog::kMaxRecords; ++i)
    state.Log.append({"K1AA", "1A", "CT", "2024/06/22", "10:00:00", "20", "CW", "", ""});
  fake->dialogs->answers = {Answer::Ok};
  type("w1aw2act\r");
  ASSERT_EQ(fake->dialogs->titles(), QStringList{"Contact Not Saved"});
  EXPECT_EQ(state.QsoCount(), QsoLog::kMaxRecords);
  EXPECT_EQ(entry(), (QStringList{"W1AW", "2A", "CT"}));
  EXPECT_TRUE(readFile("fdlog.dat").isEmpty());
}

TEST_F(RoadSave, PostContestContactTakesTheTypedDateAndTime) {
  open();
  state.UTCOffset = 4;
  form->mnuPostContest_Click();
  EXPECT_FALSE(form->txtPostConTime->isHidden());
  type("w1aw2act ");
  EXPECT_EQ(focused(), form->txtPostConTime);
  type("18a-05");  // letters and "-" are dropped
  EXPECT_EQ(form->txtPostConTime->text(), "1805");
  type(" ");
  EXPECT_EQ(focused(), form->txtPostConDate);
  EXPECT_EQ(form->txtPostConDate->text(), "2024/06/22");
  EXPECT_EQ(form->txtPostConDate->selectedText(), "2024/06/22");
  type("6/21/2024\r");
  ASSERT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(readFile("fdlog.dat"), recordLine("W1AW", "2A", "CT", "2024/06/21", "18:05:00", "40", "PH", "AB"));
  EXPECT_EQ(form->txtPostConDate->text(), "2024/06/21");
  EXPECT_EQ(form->txtPostConTime->text(), "18:05:00");
  EXPECT_EQ(form->lblAQSO60->text(), "0");  // an old stamp ends the rate scan

  form->txtPostConTime->setText("934");
  form->txtCall->setFocus(Qt::OtherFocusReason);
  type("k2xyz1eeny ");
  EXPECT_EQ(form->txtPostConTime->selectedText(), "934");
  type("\r");
  ASSERT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.Log.rec(2).Time, "09:34:00");

  // An invalid time: the message stays, nothing else runs.
  state.CurFreq = "7.1";
  form->txtPostConTime->setText("18055");
  form->txtCall->setFocus(Qt::OtherFocusReason);
  type("n3abc3aepa\r");
  EXPECT_EQ(status(), "Invalid time format!");
  EXPECT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.CurFreq, "7.1");
  EXPECT_EQ(entry(), (QStringList{"N3ABC", "3A", "EPA"}));
  form->txtPostConTime->setText("18:05");
  form->txtPostConDate->setText("2024/13/01");
  type("\r");
  EXPECT_EQ(status(), "Invalid date format!");

  form->mnuPostContest_Click();
  EXPECT_TRUE(form->txtPostConDate->isHidden());
  form->mnuPostContest_Click();
  EXPECT_EQ(form->txtPostConDate->text(), "2024/13/01");  // kept while hidden
}

}  // namespace
}  // namespace fd
