// Finding a call in the log, and handing the position to the next operator.
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "core/prefs.h"
#include "log/form1.h"
#include "log/frmfind.h"
#include "log/frmoperator.h"
#include "platform/forms.h"
#include "testenv.h"

namespace fd {
namespace {

using test::recordLine;

class MaintFindTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    const char* calls[] = {"W1AW", "K2XYZ", "KW1A", "W1AW", "N2W1", "W1AWX"};
    QByteArray log;
    int n = 0;
    for (const char* call : calls) {
      ++n;
      log += recordLine(call, "2A", "CT", "2024/06/22", QStringLiteral("09:0%1:45").arg(n), n % 2 ? "20" : "40", "CW",
                        "AB", "14.025");
    }
    writeFile("fdlog.dat", log);
    form = std::make_unique<Form1>(state, services);
    ASSERT_TRUE(form->book.mnuopen2());
  }
  void TearDown() override { setModalHook({}); }

  template <class W>
  void onWindow(std::function<void(W&)> act) {
    setModalHook([act](QWidget* w) {
      auto* win = qobject_cast<W*>(w);
      ASSERT_NE(win, nullptr);
      act(*win);
    });
  }

  QStringList listedRecords() const {
    QStringList recs;
    for (int i = 0; i < form->ListView1->topLevelItemCount(); ++i) recs << form->ListView1->topLevelItem(i)->text(0);
    return recs;
  }

  void putRow(const QString& text) { form->ListView1->addTopLevelItem(new TextItem(QStringList{text})); }

  Services services;
  std::unique_ptr<Form1> form;
};

TEST_F(MaintFindTest, TypedCallListsMatchingRecordsNewestFirst) {
  struct Case {
    const char* typed;
    bool partial;
    QStringList records;
  };
  const Case cases[] = {
      {"w1", true, {"6", "5", "4", "3", "1"}},  // at the start, inside and at the end of a call
      {"w1", false, {}},
      {"w1aw", false, {"4", "1"}},
      {"w1aw", true, {"6", "4", "1"}},  // the partial search never loses an exact match
      {"zz", true, {}},
      {"", true, {}},  // an empty box empties the list
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + (c.partial ? " partial" : " exact"));
    state.FindActive = 0;
    putRow("99");
    onWindow<frmFind>([&](frmFind& f) {
      EXPECT_EQ(f.windowTitle(), "Find a Call");
      EXPECT_TRUE(f.Text1->text().isEmpty());
      EXPECT_TRUE(f.Check1->isChecked());
      f.Check1->setChecked(c.partial);
      QTest::keyClicks(f.Text1, c.typed);
      QTest::keyClick(f.Text1, Qt::Key_Return);
      EXPECT_FALSE(f.isVisible());
    });
    form->cmdFind_Click();
    EXPECT_EQ(listedRecords(), c.records);
    EXPECT_EQ(state.FindActive, 1);
  }
}

TEST_F(MaintFindTest, FoundRowCarriesTheListColumns) {
  onWindow<frmFind>([](frmFind& f) {
    f.Text1->setText("KW1A");
    f.Command1->click();
  });
  form->cmdFind_Click();
  ASSERT_EQ(form->ListView1->topLevelItemCount(), 1);
  QStringList cells;
  for (int c = 0; c < 9; ++c) cells << form->ListView1->topLevelItem(0)->text(c);
  EXPECT_EQ(cells, (QStringList{"3", "KW1A", "2A", "CT", "6/22", "9:03", "20", "CW", "AB"}));
}

TEST_F(MaintFindTest, ClosingWithoutSearchKeepsTheList) {
  form->ListView1->clear();
  putRow("2");
  onWindow<frmFind>([](frmFind& f) { f.close(); });
  form->cmdFind_Click();
  EXPECT_EQ(listedRecords(), QStringList{"2"});
  EXPECT_EQ(state.FindActive, 1);
}

TEST_F(MaintFindTest, PastedTextPassesTheKeyFilter) {
  onWindow<frmFind>([](frmFind& f) {
    f.Text1->pasteText("w1a\"w\r\n");
    EXPECT_TRUE(f.isVisible());  // the line end runs no search
    EXPECT_EQ(f.Text1->text(), "W1AW");
    f.Check1->setChecked(false);
    f.Command1->click();
  });
  form->cmdFind_Click();
  EXPECT_EQ(listedRecords(), (QStringList{"4", "1"}));
}

TEST_F(MaintFindTest, WholeLogOfMatches) {
  const QsoRecord r = state.Log.rec(1);
  state.Log.clear();
  while (state.Log.append(r)) {
  }
  onWindow<frmFind>([](frmFind& f) {
    f.Text1->setText("W");
    f.Command1->click();
  });
  form->cmdFind_Click();
  ASSERT_EQ(form->ListView1->topLevelItemCount(), QsoLog::kMaxRecords);
  EXPECT_EQ(form->ListView1->topLevelItem(0)->text(0), "14000");
  EXPECT_EQ(form->ListView1->topLevelItem(QsoLog::kMaxRecords - 1)->text(0), "1");
}

TEST_F(MaintFindTest, NewOperatorInNextRecordWhilePreferencesWaitForTheirSave) {
  state.OpInitials = "XX";
  ASSERT_TRUE(prefs::SavePref(state));
  const QByteArray prefsBefore = readFile("fdpref.dat");
  ASSERT_TRUE(prefsBefore.contains("\"XX\""));

  onWindow<frmOperator>([](frmOperator& w) {
    EXPECT_EQ(w.windowTitle(), "Change Operator");
    EXPECT_EQ(w.Text1->selectedText(), "XX");
    QTest::keyClicks(w.Text1, "ab");  // replaces the selected old initials
    QTest::keyClick(w.Text1, Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
  });
  form->mnuOperator_Click();
  EXPECT_EQ(state.OpInitials, "AB");
  EXPECT_EQ(readFile("fdpref.dat"), prefsBefore);

  form->txtCall->setText("K9ZZ");
  form->txtCK->setText("1D");
  form->txtSec->setText("WI");
  form->Mains();
  ASSERT_EQ(state.QsoCount(), 7);
  EXPECT_EQ(state.Log.rec(7).Initials, "AB");
  EXPECT_TRUE(readFile("fdlog.dat").endsWith(",\"AB\",\"\",\"\"\r\n"));
  EXPECT_EQ(readFile("fdpref.dat"), prefsBefore);

  ASSERT_TRUE(prefs::SavePref(state));
  EXPECT_TRUE(readFile("fdpref.dat").contains("\"AB\""));
}

TEST_F(MaintFindTest, InitialsBox) {
  struct Case {
    const char* name;
    std::function<void(frmOperator&)> act;
    QString initials;
  };
  const Case cases[] = {
      {"quote and apostrophe typed have no effect",
       [](frmOperator& w) {
         w.Text1->clear();
         QTest::keyClicks(w.Text1, "a\"b'c");
         QTest::keyClick(w.Text1, Qt::Key_Return);
       },
       "ABC"},
      {"the eleventh character is refused",
       [](frmOperator& w) {
         w.Text1->clear();
         QTest::keyClicks(w.Text1, "abcdefghijk");
         w.Command1->click();
       },
       "ABCDEFGHIJ"},
      {"an emptied box gives empty initials",
       [](frmOperator& w) {
         w.Text1->clear();
         QTest::keyClick(w.Text1, Qt::Key_Return);
       },
       ""},
      {"pasted quotes are dropped, no Enter runs Done",
       [](frmOperator& w) {
         w.Text1->clear();
         w.Text1->pasteText("d'e\"f\r\n");
         EXPECT_TRUE(w.isVisible());
         w.Command1->click();
       },
       "DEF"},
      {"closing the window keeps the old initials",
       [](frmOperator& w) {
         w.Text1->setText("ZZ");
         w.close();
       },
       "XX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    state.OpInitials = "XX";
    onWindow<frmOperator>(c.act);
    form->mnuOperator_Click();
    EXPECT_EQ(state.OpInitials, c.initials);
  }
}

}  // namespace
}  // namespace fd
