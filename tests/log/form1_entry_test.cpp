// Typing into the real main window: the carries between fields, Space, the
// enter and leave steps, paste and Clear.
#include <QFocusEvent>

#include "form1_fixture.h"

namespace fd {
namespace {

using test::recordLine;

class RoadEntry : public test::RoadForm {};

TEST_F(RoadEntry, CarriesSpaceAndFilters) {
  struct Case {
    const char* keys;
    const char* call;
    const char* cls;
    const char* sec;
    int focus;  // 0 call, 1 class, 2 section
  };
  const Case cases[] = {
      {"w1a2", "W1A", "2", "", 1},          // complete call: the digit starts the class
      {"w12", "W12", "", "", 0},            // fewer than 3 characters
      {"wa12", "WA12", "", "", 0},          // the call ends in a digit
      {"w1aw/3", "W1AW/3", "", "", 0},      // "/" after the first character
      {"/w1aw2", "/W1AW", "2", "", 1},      // the first character is not examined
      {"w1aw<2", "W1A2W", "", "", 0},       // caret inside the call
      {"w1aw2ae", "W1AW", "2A", "E", 2},    // the letter after a complete class starts the section
      {"w1aw10a", "W1AW", "10A", "", 1},
      {"w1aw2aenyc", "W1AW", "2A", "ENYC", 2},
      {"w1aw 2a enyx", "W1AW", "2A", "ENYX", 2},
      {"w1aw 2a eny ", "W1AW", "2A", "ENY", 0},  // Space in the section goes back to the call
      {"w1\"aw 2\"a", "W1AW", "2A", "", 1},     // the double quote is dropped everywhere
      {" ", "", "", "", 1},                     // Space inserts nothing
  };
  open();
  for (const Case& c : cases) {
    form->cmdClear_Click();
    type(c.keys);
    EXPECT_EQ(entry(), (QStringList{c.call, c.cls, c.sec})) << c.keys;
    KeyBox* fields[] = {form->txtCall, form->txtCK, form->txtSec};
    EXPECT_EQ(focused(), fields[c.focus]) << c.keys;
    EXPECT_EQ(state.KeyState, 0) << c.keys;
  }
}

TEST_F(RoadEntry, LeavingTheCallFillsClassAndSectionFromTheEarliestContact) {
  open(recordLine("W1AW", "3A", "ENY", "2024/06/22", "17:00:00", "20", "CW") +
       recordLine("W1AW", "2B", "NNJ", "2024/06/22", "17:10:00", "15", "CW"));
  type("w1aw ");
  EXPECT_EQ(entry(), (QStringList{"W1AW", "3A", "ENY"}));
  EXPECT_EQ(form->txtCK->selectedText(), "3A");  // typing replaces it
  type("\r");
  ASSERT_EQ(state.QsoCount(), 3);
  EXPECT_EQ(state.Log.rec(3).Class, "3A");
  EXPECT_EQ(state.Log.rec(3).Section, "ENY");
}

TEST_F(RoadEntry, ClassDesignatorCheckOnLeaving) {
  open();
  for (auto [cls, bad] : {std::pair{"A", true}, {"2", true}, {"A2", true}, {"2A", false}, {"10A", false}}) {
    form->cmdClear_Click();
    fake->dialogs->clear();
    type(QString("w1aw ") + cls + " ");
    EXPECT_EQ(status() == "Invalid Designator!", bad) << cls;
    EXPECT_EQ(fake->dialogs->beeps, bad ? 1 : 0) << cls;
    EXPECT_EQ(form->txtCK->text(), cls);
    EXPECT_EQ(focused(), form->txtSec);
  }
}

TEST_F(RoadEntry, DeltaRuleAskedOnceAndNotAgainWhenFocusReturns) {
  open();
  form->Label1->setText("1D");
  fake->dialogs->answers = {Answer::No};
  type("w1aw2d ");
  ASSERT_EQ(fake->dialogs->titles(), QStringList{"Delta Stations Can't Work Other Delta Stations!"});
  EXPECT_EQ(fake->dialogs->shown[0].text,
            "Delta stations (stations on commercial power) are not allowed to work other Delta Stations.  "
            "Do you want to clear this entry?");
  EXPECT_EQ(focused(), form->txtSec);
  EXPECT_EQ(entry(), (QStringList{"W1AW", "2D", ""}));

  // A dialog closing or the window coming back gives the focus back: not an entry.
  QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason), in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(form->txtSec, &out);
  QApplication::sendEvent(form->txtSec, &in);
  EXPECT_EQ(fake->dialogs->shown.size(), 1);

  fake->dialogs->answers = {Answer::Yes};
  type("<");  // leave and come back through the class field
  form->txtCK->setFocus(Qt::OtherFocusReason);
  form->txtSec->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(fake->dialogs->shown.size(), 2);
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(focused(), form->txtCall);

  form->Label1->setText("1D");
  type("w1aw2a ");
  EXPECT_EQ(fake->dialogs->shown.size(), 2);  // 2A is no Delta station
}

TEST_F(RoadEntry, VoicePromptsFollowTheNavigationSetting) {
  open();
  state.VoiceNavMode = 1;  // call only
  type("w1aw 2a ");
  form->txtCall->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(keying->calls, QStringList{"prompt Call"});
  keying->calls.clear();
  state.VoiceNavMode = 2;  // every field
  type(" ");
  form->txtSec->setFocus(Qt::OtherFocusReason);
  form->txtCall->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(keying->calls, (QStringList{"prompt Class", "prompt Section", "prompt Call"}));
}

TEST_F(RoadEntry, PasteGoesThroughTheFilterOnlyAndChangesOnce) {
  open();
  state.CurMode = "DIG";
  state.DigLinkUp = 1;
  form->txtCall->pasteText("w1\"aw2\r\n\tA");
  EXPECT_EQ(entry(), (QStringList{"W1AW2A", "", ""}));  // no carry, no focus move
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_EQ(keying->calls, QStringList{"digCall W1AW2A"});
  EXPECT_EQ(state.CallText, "W1AW2A");
  EXPECT_EQ(state.QsoCount(), 0);

  form->txtPostConDate->pasteText("2024-06-22x");
  form->txtPostConTime->pasteText("18:05 pm");
  EXPECT_EQ(form->txtPostConDate->text(), "20240622");
  EXPECT_EQ(form->txtPostConTime->text(), "18:05");
}

TEST_F(RoadEntry, ClearEmptiesTheEntryAndResetsTheStatus) {
  open();
  type("w1aw 2a ct");
  form->setStatus("Dupe: X", kStatusDupe);
  form->lblDupe->setText("W1AW  ");
  form->cmdClear->click();
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(status(), "");
  EXPECT_EQ(form->lblDialog->backColor(), kStatusNormal);
  EXPECT_EQ(form->lblDupe->text(), "");
  EXPECT_EQ(focused(), form->txtCall);
}

TEST_F(RoadEntry, PartialListAndCallFormWhileTyping) {
  open(recordLine("W1AWA", "1A", "CT", "2024/06/22", "17:00:00", "40", "PH") +
       recordLine("W1AWB", "1A", "CT", "2024/06/22", "17:01:00", "40", "PH") +
       recordLine("W1AWC", "1A", "CT", "2024/06/22", "17:02:00", "40", "PH") +
       recordLine("W1AWD", "1A", "CT", "2024/06/22", "17:03:00", "20", "PH"));
  type("w1a");
  EXPECT_EQ(status(), " ");  // third character: the call-form check has the last word
  type("w");
  EXPECT_EQ(form->lblDupe->text(), "W1AWC  W1AWB  W1AWA  ");
  EXPECT_EQ(form->lblDupe->backColor(), kStatusNormal);
  EXPECT_EQ(status(), "Possible Duplicate!");
  type("\b");
  EXPECT_EQ(form->lblDupe->text(), "");
  EXPECT_EQ(status(), " ");

  form->cmdClear_Click();
  fake->dialogs->clear();
  type("wab");
  EXPECT_EQ(status(), "The second or third character is not numeric!");
  EXPECT_EQ(fake->dialogs->beeps, 1);

  form->cmdDup_Click();
  EXPECT_EQ(form->cmdDup->text(), "Off");
  form->cmdClear_Click();
  type("w1aw");
  EXPECT_EQ(form->lblDupe->text(), "");
  EXPECT_EQ(status(), " ");
}

}  // namespace
}  // namespace fd
