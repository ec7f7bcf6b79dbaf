// Editing and deleting logged contacts, shown as fdlog.dat before and after.
#include <QPushButton>
#include <QTest>
#include <functional>

#include "log/form1.h"
#include "log/frmeditcon.h"
#include "platform/forms.h"
#include "testenv.h"

namespace fd {
namespace {

using test::recordLine;

const QByteArray L1 = recordLine("W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", "14.025");
const QByteArray L2 = recordLine("K2XYZ", "1E", "ENY", "2024/06/22", "18:06:00", "40", "PH", "CD", "7.200");
const QByteArray L3 = recordLine("N3ABC", "3A", "EPA", "2024/06/22", "18:07:00", "20", "CW", "AB");
// Same call, band and mode as record 1: a log can hold such a pair after an import.
const QByteArray L4 = recordLine("W1AW", "2A", "CT", "2024/06/23", "01:00:00", "20", "CW", "EF");

QByteArray joined(const QList<QByteArray>& lines) {
  QByteArray all;
  for (const QByteArray& l : lines) all += l;
  return all;
}

class MaintEditTest : public test::ProgramFolderTest {
 protected:
  void TearDown() override { setModalHook({}); }

  void load(const QList<QByteArray>& lines) {
    writeFile("fdlog.dat", joined(lines));
    form = std::make_unique<Form1>(state, services);
    ASSERT_TRUE(form->book.mnuopen2());
  }

  // Selects the list row of a record as a click would, adding the row when
  // the list holds none for it.
  void select(int recNo) {
    QTreeWidget* list = form->ListView1;
    QTreeWidgetItem* row = nullptr;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (list->topLevelItem(i)->text(0) == QString::number(recNo)) row = list->topLevelItem(i);
    if (!row) {
      row = new TextItem(QStringList{QString::number(recNo)});
      list->addTopLevelItem(row);
    }
    list->clearSelection();
    row->setSelected(true);
    form->cmdEdit->show();
    form->cmdDelete->show();
  }

  void onEdit(std::function<void(frmEditCon&)> act) {
    setModalHook([act](QWidget* w) {
      auto* edit = qobject_cast<frmEditCon*>(w);
      ASSERT_NE(edit, nullptr);
      act(*edit);
    });
  }

  ScriptedDialogs& dlg() { return *fake->dialogs; }

  Services services;
  std::unique_ptr<Form1> form;
};

TEST_F(MaintEditTest, DeleteAsksAndRewritesTheLog) {
  struct Case {
    const char* name;
    QList<QByteArray> before;
    int recNo;
    Answer answer;
    QList<QByteArray> after;
  };
  const Case cases[] = {
      {"record 2 of 3", {L1, L2, L3}, 2, Answer::Yes, {L1, L3}},
      {"answer No", {L1, L2, L3}, 2, Answer::No, {L1, L2, L3}},
      {"the last record", {L1, L2, L3}, 3, Answer::Yes, {L1, L2}},
      {"the only record", {L2}, 1, Answer::Yes, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dlg().clear();
    load(c.before);
    state.LastBackupCount = 2;
    select(c.recNo);
    dlg().answers = {c.answer};
    form->cmdDelete_Click();
    EXPECT_EQ(dlg().titles(), QStringList{"Are you sure?"});
    EXPECT_EQ(dlg().shown.value(0).text, "Are you sure?");
    EXPECT_EQ(readFile("fdlog.dat"), joined(c.after));
    EXPECT_EQ(state.QsoCount(), c.after.size());
    EXPECT_EQ(state.LastBackupCount, c.answer == Answer::Yes ? 1.0f : 2.0f);
    EXPECT_TRUE(form->cmdEdit->isHidden());
    EXPECT_TRUE(form->cmdDelete->isHidden());
  }
}

TEST_F(MaintEditTest, DeleteKeepsTheFrequenciesOfTheRecordsThatMoveDown) {
  load({L1, L2, L3});
  select(1);
  dlg().answers = {Answer::Yes};
  form->cmdDelete_Click();
  ASSERT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.Log.rec(1).Freq, "7.200");
  EXPECT_EQ(state.Log.rec(2).Freq, "");
}

TEST_F(MaintEditTest, EditAndDeleteWithoutARecordRowDoNothing) {
  // No selection, a row whose text is no record number, numbers outside 1..QsoCount.
  const QStringList rowTexts = {QString(), "abc", "0", "4", "-1"};
  for (const QString& text : rowTexts) {
    SCOPED_TRACE(text.toStdString());
    load({L1, L2, L3});
    form->ListView1->clear();
    if (!text.isEmpty()) {
      auto* row = new TextItem(QStringList{text});
      form->ListView1->addTopLevelItem(row);
      row->setSelected(true);
    }
    form->cmdEdit->show();
    form->cmdDelete->show();
    setModalHook([](QWidget*) { ADD_FAILURE() << "the edit window opened"; });
    form->cmdDelete_Click();  // an unscripted "Are you sure?" fails the test
    form->cmdEdit_Click();
    EXPECT_EQ(form->selectedRecord(), 0);
    EXPECT_EQ(readFile("fdlog.dat"), joined({L1, L2, L3}));
    EXPECT_EQ(state.QsoCount(), 3);
    EXPECT_TRUE(dlg().shown.isEmpty());
    EXPECT_FALSE(form->cmdEdit->isHidden());
  }
}

TEST_F(MaintEditTest, EditWindowResultsOnTheLogFile) {
  struct Case {
    const char* name;
    int recNo;
    std::function<void(frmEditCon&)> act;
    std::deque<Answer> answers;
    QList<QByteArray> after;
  };
  // Record 3 made a duplicate of records 1 (before it) and 4 (after it).
  auto makeDupe = [](frmEditCon& e) {
    e.txtEditCall->setText("W1AW");
    e.cmdDone->click();
    EXPECT_TRUE(e.isVisible());
    EXPECT_TRUE(e.Label1->isVisibleTo(&e));
    EXPECT_TRUE(e.cmdDeleteDupe->isVisibleTo(&e));
  };
  const Case cases[] = {
      {"band and mode; the frequency stays", 1,
       [](frmEditCon& e) {
         e.txtEditBnd->setText("15");
         e.txtEditmode->setText("PH");
         e.cmdDone->click();
       },
       {},
       {recordLine("W1AW", "2A", "CT", "2024/06/22", "18:05:00", "15", "PH", "AB", "14.025"), L2, L3, L4}},
      {"Done without changes", 2, [](frmEditCon& e) { e.cmdDone->click(); }, {}, {L1, L2, L3, L4}},
      {"Cancel after changes", 2,
       [](frmEditCon& e) {
         e.txtEditCall->setText("ZZ9ZZ");
         e.txtEditBnd->setText("80");
         e.Command1->click();
       },
       {},
       {L1, L2, L3, L4}},
      {"a stored duplicate is reported unchanged, then Cancel", 4,
       [](frmEditCon& e) {
         e.cmdDone->click();
         EXPECT_TRUE(e.isVisible());
         EXPECT_TRUE(e.Label1->isVisibleTo(&e));
         e.Command1->click();
       },
       {},
       {L1, L2, L3, L4}},
      {"Delete Dupe, Yes: the edited record goes", 3,
       [&](frmEditCon& e) {
         makeDupe(e);
         e.cmdDeleteDupe->click();
       },
       {Answer::Yes},
       {L1, L2, L4}},
      {"Delete Dupe, No: nothing changes", 3,
       [&](frmEditCon& e) {
         makeDupe(e);
         e.cmdDeleteDupe->click();
       },
       {Answer::No},
       {L1, L2, L3, L4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dlg().clear();
    load({L1, L2, L3, L4});
    select(c.recNo);
    dlg().answers = c.answers;
    bool opened = false;
    onEdit([&](frmEditCon& e) {
      opened = true;
      EXPECT_EQ(e.windowTitle(), "Edit Contact Entry - Field Day");
      EXPECT_EQ(e.RecNo, c.recNo);
      EXPECT_TRUE(e.Label1->isHidden() && e.Label2->isHidden() && e.Label4->isHidden() && e.cmdDeleteDupe->isHidden());
      c.act(e);
    });
    form->cmdEdit_Click();
    EXPECT_TRUE(opened);
    EXPECT_EQ(readFile("fdlog.dat"), joined(c.after));
    EXPECT_EQ(state.QsoCount(), c.after.size());
    EXPECT_TRUE(dlg().answers.empty());
    EXPECT_TRUE(form->cmdEdit->isHidden() && form->cmdDelete->isHidden());
  }
}

TEST_F(MaintEditTest, DuplicateOnBothSidesBeepsTwiceAndStoresNothing) {
  load({L1, L2, L3, L4});
  select(3);
  onEdit([&](frmEditCon& e) {
    e.txtEditCall->setText("W1AW");
    e.cmdDone->click();
    EXPECT_EQ(dlg().beeps, 2);
    EXPECT_EQ(state.Log.rec(3).Call, "N3ABC");
    // Back to a call of its own: the next Done stores, the marks notwithstanding.
    e.txtEditCall->setText("N3ABD");
    e.cmdDone->click();
    EXPECT_FALSE(e.isVisible());
  });
  form->cmdEdit_Click();
  EXPECT_EQ(readFile("fdlog.dat"),
            joined({L1, L2, recordLine("N3ABD", "3A", "EPA", "2024/06/22", "18:07:00", "20", "CW", "AB"), L4}));
}

TEST_F(MaintEditTest, FieldRules) {
  struct DateCase {
    const char* text;
    const char* stored;
    std::optional<QString> result;
  };
  const DateCase dates[] = {
      {"2024/06/23", "2024/06/22", "2024/06/23"},
      {"6/23/2024", "2024/06/22", "2024/06/23"},
      {"2024/6/3", "2024/06/22", "2024/06/03"},
      {"18:05", "2024/06/22", std::nullopt},       // a time is no date
      {"2024/02/30", "2024/06/22", std::nullopt},  // no such day
      {"", "2024/06/22", std::nullopt},
      {"06-22-2024", "06-22-2024", "06-22-2024"},  // an old form, unchanged, passes as it is
  };
  for (const DateCase& c : dates) EXPECT_EQ(editcheck::date(c.text, c.stored), c.result) << c.text;

  const DateCase times[] = {
      {"18:07", "18:05:00", "18:07:00"},
      {"9:07:45", "18:05:00", "09:07:45"},
      {"1807", "18:05:00", std::nullopt},        // bare digits are not taken here
      {"25:00", "18:05:00", std::nullopt},
      {"2024/06/22", "18:05:00", std::nullopt},  // a date is no time
      {"", "18:05:00", std::nullopt},
      {"1805", "1805", "1805"},
  };
  for (const DateCase& c : times) EXPECT_EQ(editcheck::time(c.text, c.stored), c.result) << c.text;

  struct WordCase {
    const char* text;
    const char* stored;
    bool ok;
  };
  const WordCase modes[] = {{"CW", "PH", true}, {"DIG", "PH", true}, {"PH", "CW", true}, {"cw", "PH", false},
                            {"SSB", "PH", false}, {"", "PH", false}, {"RTTY", "RTTY", true}};
  for (const WordCase& c : modes) EXPECT_EQ(editcheck::mode(c.text, c.stored), c.ok) << c.text;
  const WordCase sections[] = {{"DX", "CT", true}, {"ENY", "CT", true}, {"NT", "CT", true}, {"eny", "CT", false},
                               {"XYZ", "CT", false}, {"", "CT", false}, {"XYZ", "XYZ", true}};
  for (const WordCase& c : sections) EXPECT_EQ(editcheck::section(state, c.text, c.stored), c.ok) << c.text;
}

TEST_F(MaintEditTest, DoneChecksChangedBoxesNeverLeftAndStoresTheLogForms) {
  load({L1, L2, L3});
  select(2);
  onEdit([&](frmEditCon& e) {
    e.txtEditDate->setText("2024/02/30");
    e.cmdDone->click();
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(dlg().titles(), QStringList{"Invalid Date!"});
    EXPECT_EQ(dlg().shown.value(0).text, "Invalid Date!");
    e.txtEditDate->setText("6/23/2024");
    e.txtEditTime->setText("18:05");  // a date form in the time box would fail here too
    e.txtEditSec->setText("XYZ");
    e.cmdDone->click();
    EXPECT_TRUE(e.isVisible());
    EXPECT_TRUE(e.Label2->isVisibleTo(&e));
    e.txtEditSec->setText("DX");
    e.txtEditmode->setText("SSB");
    e.cmdDone->click();
    EXPECT_TRUE(e.isVisible());
    EXPECT_TRUE(e.Label2->isHidden());
    EXPECT_TRUE(e.Label4->isVisibleTo(&e));
    e.txtEditmode->setText("CW");
    e.cmdDone->click();
    EXPECT_FALSE(e.isVisible());
  });
  dlg().answers = {Answer::Ok};
  form->cmdEdit_Click();
  EXPECT_EQ(dlg().beeps, 3);
  EXPECT_EQ(readFile("fdlog.dat"),
            joined({L1, recordLine("K2XYZ", "1E", "DX", "2024/06/23", "18:05:00", "40", "CW", "CD", "7.200"), L3}));
}

TEST_F(MaintEditTest, UnchangedOddValuesPassTheChecks) {
  const QByteArray odd = recordLine("W9XX", "1D", "XYZ", "06-22-2024", "1805", "20", "RTTY", "", "");
  load({L1, odd});
  select(2);
  onEdit([&](frmEditCon& e) {
    EXPECT_TRUE(e.txtEditSec_LostFocus());
    EXPECT_TRUE(e.txtEditDate_LostFocus());
    EXPECT_TRUE(e.txtEditTime_LostFocus());
    EXPECT_TRUE(e.txtEditmode_LostFocus());
    e.Text1->setText("GH");
    e.cmdDone->click();
    EXPECT_FALSE(e.isVisible());
  });
  form->cmdEdit_Click();
  EXPECT_EQ(dlg().beeps, 0);
  EXPECT_TRUE(dlg().shown.isEmpty());
  EXPECT_EQ(readFile("fdlog.dat"), joined({L1, recordLine("W9XX", "1D", "XYZ", "06-22-2024", "1805", "20", "RTTY", "GH")}));
}

TEST_F(MaintEditTest, LeavingABoxChecksItAndPutsTheFocusBack) {
  load({L1, L2, L3});
  select(2);
  onEdit([&](frmEditCon& e) {
    e.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
    e.txtEditSec->setFocus();
    e.txtEditSec->setText("XYZ");
    e.txtEditDate->setFocus();  // the date box is valid; only the section answers
    EXPECT_TRUE(e.Label2->isVisibleTo(&e));
    EXPECT_TRUE(e.txtEditSec->hasFocus());
    e.txtEditSec->setText("ENY");
    e.txtEditDate->setFocus();
    EXPECT_TRUE(e.Label2->isHidden());
    e.txtEditDate->setText("");
    e.txtEditTime->setFocus();
    EXPECT_TRUE(e.txtEditDate->hasFocus());
    EXPECT_EQ(dlg().titles(), QStringList{"Invalid Date!"});
    e.Command1->click();
  });
  dlg().answers = {Answer::Ok};
  form->cmdEdit_Click();
  EXPECT_EQ(dlg().beeps, 2);
  EXPECT_EQ(readFile("fdlog.dat"), joined({L1, L2, L3}));
}

TEST_F(MaintEditTest, TypedAndPastedKeys) {
  load({L1, L2, L3});
  select(2);
  onEdit([&](frmEditCon& e) {
    e.txtEditmode->clear();
    QTest::keyClicks(e.txtEditmode, "cw");
    EXPECT_EQ(e.txtEditmode->text(), "CW");
    for (KeyBox* box : {e.txtEditCall, e.txtEditCk, e.txtEditSec, e.txtEditDate, e.txtEditTime, e.txtEditBnd,
                        e.txtEditmode, e.Text1}) {
      const QString before = box->text();
      QTest::keyClick(box, '"');
      EXPECT_EQ(box->text(), before);
    }
    QTest::keyClick(e.txtEditBnd, Qt::Key_Return);
    EXPECT_TRUE(e.isVisible());
    // Pasting passes the key filter only: no Enter, no Done.
    e.txtEditCall->clear();
    e.txtEditCall->pasteText("k2\"xy\r\nz");
    EXPECT_EQ(e.txtEditCall->text(), "K2XY Z");  // the line end a blank, as a typed Space gives
    EXPECT_TRUE(e.isVisible());
    QTest::keyClick(e.txtEditCall, Qt::Key_Return);  // Enter in the call box runs Done
    EXPECT_FALSE(e.isVisible());
  });
  form->cmdEdit_Click();
  EXPECT_EQ(readFile("fdlog.dat"),
            joined({L1, recordLine("K2XY Z", "1E", "ENY", "2024/06/22", "18:06:00", "40", "CW", "CD", "7.200"), L3}));
}

// Boxes written past their filter (the bare line edit, as no window of ours
// does) still store no double quote or line end, and the duplicate check
// looks at the call as it will be stored.
TEST_F(MaintEditTest, DoneStoresNoQuoteOrLineEnd) {
  load({L1, L2, L3});
  select(2);
  onEdit([](frmEditCon& e) {
    e.txtEditCall->QLineEdit::setText("K2\"X\nYZ");
    e.txtEditCk->QLineEdit::setText("1\"E");
    e.Text1->QLineEdit::setText("C\rD");
    e.cmdDone->click();
    EXPECT_FALSE(e.isVisible());
  });
  form->cmdEdit_Click();
  EXPECT_EQ(readFile("fdlog.dat"), joined({L1, L2, L3}));
  EXPECT_EQ(state.Log.rec(2).Call, "K2XYZ");

  select(3);  // N3ABC on 20 CW; W1AW is record 1 there
  onEdit([this](frmEditCon& e) {
    e.txtEditCall->QLineEdit::setText("W1\"AW");
    e.cmdDone->click();
    EXPECT_TRUE(e.isVisible());
    EXPECT_TRUE(e.Label1->isVisible());
    EXPECT_EQ(dlg().beeps, 1);
    e.Command1->click();
  });
  form->cmdEdit_Click();
  EXPECT_EQ(readFile("fdlog.dat"), joined({L1, L2, L3}));
}

TEST_F(MaintEditTest, FailedRewriteKeepsMemoryAndFileInStep) {
  for (const bool del : {true, false}) {
    SCOPED_TRACE(del ? "delete" : "edit");
    dlg().clear();
    const QString folder = dir.path();
    state.ProgDir = folder;
    load({L1, L2, L3});
    state.LastBackupCount = 3;
    select(2);
    // The folder is gone when the rewrite comes; the old file stays whole elsewhere.
    state.ProgDir = folder + "/gone";
    if (del) {
      dlg().answers = {Answer::Yes, Answer::Ok};
      form->cmdDelete_Click();
    } else {
      onEdit([](frmEditCon& e) {
        e.txtEditBnd->setText("15");
        e.cmdDone->click();
      });
      dlg().answers = {Answer::Ok};
      form->cmdEdit_Click();
    }
    EXPECT_EQ(dlg().titles().last(), "File Error");
    state.ProgDir = folder;
    EXPECT_EQ(readFile("fdlog.dat"), joined({L1, L2, L3}));
    ASSERT_EQ(state.QsoCount(), 3);
    EXPECT_EQ(state.Log.rec(2).Call, "K2XYZ");
    EXPECT_EQ(state.Log.rec(2).Band, "40");
    EXPECT_EQ(state.LastBackupCount, 3.0f);
  }
}

}  // namespace
}  // namespace fd
