// The station window's key filters and Done, the identity it sets, and the
// UTC offset question.
#include <QPushButton>
#include <QTest>

#include "log/form1.h"
#include "log/frmstationid.h"
#include "platform/forms.h"
#include "platform/items.h"
#include "testenv.h"

namespace fd {
namespace {

class StartStationTest : public test::ProgramFolderTest {
 protected:
  void TearDown() override { setModalHook({}); }
  ScriptedDialogs& dlg() { return *fake->dialogs; }
  // The window as the station setup opens it, shown.
  std::unique_ptr<frmStationID> open() {
    auto w = std::make_unique<frmStationID>(state);
    w->show();
    return w;
  }
  Services services;
};

TEST_F(StartStationTest, OpensWithTheCurrentValues) {
  state.MyCall = "W1AW";
  state.MyClass = "2A";
  state.MySection = "CT";
  state.UTCOffset = -3.5f;
  state.OpInitials = "AB";
  auto w = open();
  EXPECT_EQ(w->windowTitle(), " Amateur Station I.D.");
  EXPECT_EQ(w->Text1->text(), "W1AW");
  EXPECT_EQ(w->Text3->text(), "2A");
  EXPECT_EQ(w->Text5->text(), "CT");
  EXPECT_EQ(w->Text6->text(), "-3.5");
  EXPECT_EQ(w->Text4->text(), "AB");
  EXPECT_FALSE(w->Command1->autoDefault());
}

TEST_F(StartStationTest, KeyFiltersOfEachBox) {
  struct Case {
    KeyBox* frmStationID::*box;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {&frmStationID::Text1, "w1aw/'\"7", "W1AW/'7"},  // apostrophe kept, quote never
      {&frmStationID::Text3, "2a\"", "2A"},
      {&frmStationID::Text5, "e-ny", "E-NY"},
      {&frmStationID::Text4, "a'b\"c1", "ABC1"},
      {&frmStationID::Text6, "-4.5", "-4.5"},
      {&frmStationID::Text6, "x5a/h\"+", "5/"},      // minus to nine only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    auto w = open();
    KeyBox* box = (*w).*c.box;
    box->clear();
    QTest::keyClicks(box, c.typed);
    EXPECT_EQ(box->text(), c.shown);
    EXPECT_TRUE(w->isVisible());
    // Pasted text passes the same filters.
    box->clear();
    box->pasteText(c.typed);
    EXPECT_EQ(box->text(), c.shown);
  }
}

TEST_F(StartStationTest, EnterInAnyBoxIsDone) {
  for (KeyBox* frmStationID::*box :
       {&frmStationID::Text1, &frmStationID::Text3, &frmStationID::Text5, &frmStationID::Text6, &frmStationID::Text4}) {
    auto w = open();
    QTest::keyClick((*w).*box, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->doneClicked);
  }
}

TEST_F(StartStationTest, DoneTurnsANonNumberOffsetIntoZero) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "0"}, {"-", "0"}, {"5/3", "0"}, {"25", "0"}, {"-24.5", "0"},
      {"1000000000000000000000000000000000000000000", "0"},
      {"-4.5", "-4.5"}, {"24", "24"}, {"0.5", "0.5"},
  };
  for (const auto& [typed, after] : cases) {
    auto w = open();
    w->Text6->setText(typed);
    w->Command1->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->Text6->text(), after) << typed;
  }
}

TEST_F(StartStationTest, LeavingTheOffsetBoxWithANonNumberHoldsTheFocus) {
  auto w = open();
  w->Text6->setText("-3.5");
  w->Text6->onLostFocus();
  EXPECT_TRUE(dlg().shown.isEmpty());

  w->Text6->setText("99");
  w->Text4->setFocus();
  w->Text6->onLostFocus();
  ASSERT_EQ(dlg().shown.size(), 1);
  EXPECT_EQ(dlg().shown[0].text, "The UTC offset must be between -24 and 24 hours.");
  EXPECT_EQ(w->focusWidget(), w->Text6);
}

TEST_F(StartStationTest, SetupTakesTheBoxesAndOnlyTheStartReloadsTheLog) {
  writeFile("fdlog.dat", test::recordLine("K1ABC", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW"));
  Form1 form(state, services);
  setModalHook([](QWidget* w) {
    auto* st = qobject_cast<frmStationID*>(w);
    ASSERT_NE(st, nullptr);
    st->Text1->setText("N0AX ");  // taken as typed, not trimmed
    st->Text3->setText("1E");
    st->Text5->setText("");       // an empty section is accepted
    st->Text6->setText("-5.5");
    st->Text4->setText("XY");
    QTest::keyClick(st->Text5, Qt::Key_Return);
  });
  form.mnuSetup_Click();
  EXPECT_EQ(state.MyCall, "N0AX ");
  EXPECT_EQ(state.MyClass, "1E");
  EXPECT_EQ(state.MySection, "");
  EXPECT_FLOAT_EQ(state.UTCOffset, -5.5f);
  EXPECT_EQ(state.OpInitials, "XY");
  EXPECT_EQ(form.Label2->text(), "N0AX ");
  EXPECT_EQ(form.Label1->text(), "1E");
  EXPECT_EQ(form.Label4->text(), "");
  EXPECT_EQ(readFile("fdpref.dat").split('\n').mid(0, 4),
            QByteArrayList({"\"N0AX \"\r", "\"1E\"\r", "\"\"\r", "-5.5\r"}));
  EXPECT_EQ(state.QsoCount(), 0);  // the menu does not reload the log

  form.ApplyStationID();
  EXPECT_EQ(state.QsoCount(), 1);
}

TEST_F(StartStationTest, ClosedByTheWindowSystemKeepsTheIdentity) {
  state.MyCall = "W1AW";
  state.UTCOffset = 4;
  Form1 form(state, services);
  setModalHook([](QWidget* w) {
    auto* st = qobject_cast<frmStationID*>(w);
    ASSERT_NE(st, nullptr);
    st->Text1->setText("K9ZZ");
    st->Text6->setText("-");
    st->close();
  });
  form.mnuSetup_Click();
  EXPECT_EQ(state.MyCall, "W1AW");
  EXPECT_FLOAT_EQ(state.UTCOffset, 4.0f);
  EXPECT_EQ(form.Label2->text(), "W1AW");
  EXPECT_TRUE(readFile("fdpref.dat").startsWith("\"W1AW\"\r\n"));  // the steps after the window still run
}

TEST_F(StartStationTest, OffsetQuestion) {
  struct Case {
    const char* name;
    double zoneHours;        // the clock's zone, hours ahead of UTC
    float stored;
    const char* answer;      // nullptr: no question expected
    const char* recommended;
    float after;
    bool saved;
  };
  const Case cases[] = {
      {"agrees: no question", -5, 5, nullptr, "", 5, false},
      {"OK takes the recommendation", -5, 4, "5", "5", 5, true},
      {"a typed number is taken", -5, 4, "4.5", "5", 4.5f, true},
      {"Cancel keeps the stored value", -5, 4, "", "5", 4, false},
      {"letters keep the stored value", -5, 4, "abc", "5", 4, false},
      {"beyond a day keeps the stored value", -5, 4, "30", "5", 4, false},
      {"half-hour zone west", -3.5, 0, "3.5", "3.5", 3.5f, true},
      {"zone ahead of UTC", 5.75, 0, "-5.75", "-5.75", -5.75f, true},
      {"twenty minutes round to two places", -20.0 / 60, 0, "0.33", "0.33", 0.33f, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(path("fdpref.dat"));
    dlg().clear();
    fake->clock->setZoneOffsetHours(c.zoneHours);
    state.UTCOffset = c.stored;
    Form1 form(state, services);
    if (c.answer) dlg().inputs.push_back(c.answer);
    form.CheckUtcOffset();
    if (c.answer) {
      ASSERT_EQ(dlg().shown.size(), 1);
      EXPECT_EQ(dlg().shown[0].title, "Update the Local Time / UTC Offset?");
      EXPECT_EQ(dlg().shown[0].defaultAnswer, c.recommended);
    } else {
      EXPECT_TRUE(dlg().shown.isEmpty());
    }
    EXPECT_FLOAT_EQ(state.UTCOffset, c.after);
    EXPECT_EQ(QFile::exists(path("fdpref.dat")), c.saved);
  }
}

TEST_F(StartStationTest, OffsetQuestionText) {
  fake->clock->setZoneOffsetHours(-5);  // local 18:00, UTC 23:00
  state.UTCOffset = 4;
  Form1 form(state, services);
  dlg().inputs.push_back("");
  form.CheckUtcOffset();
  ASSERT_EQ(dlg().shown.size(), 1);
  EXPECT_EQ(dlg().shown[0].text,
            "Would you like to adjust the UTC offset in this program for your local time setting?\r\n\r\n"
            "Current System Time: 23:00\r\n\r\n"
            "Current Local Time: 18:00\r\n\r\n"
            "Recommended Offset Setting: 5\r\n\r\n"
            "Current Offset Setting: 4\r\n\r\n"
            "Please click OK to accept the recommended change or Cancel to keep the current setting.");
}

}  // namespace
}  // namespace fd
