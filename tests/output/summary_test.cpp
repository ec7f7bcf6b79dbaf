// The summary sheet: its counts, scoring and file (plain), and the window.
#include <QCheckBox>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include "core/sharedprefs.h"
#include "output/form2.h"
#include "output/summary.h"
#include "files_fixture.h"
#include "platform/cp1252.h"
#include "platform/forms.h"

namespace fd::test {
namespace {

// S1: the whole file, line by line.
const QStringList kS1 = {
    "ARRL Field Day", "",
    "1. Field Day Call Used: W1AW                GOTA Station Call: ", "",
    "2. Club or Group Name: Test Club", "",
    "3. Number of Participants: 12", "",
    "4. Number of transmitters in simultaneous operation: 2", "",
    "5. Entry Class: Check only one.", "",
    "X A. Club or non-club portable",
    "  B. 1 or 2 person non-club group portable",
    "  List calls of operators: ",
    "  C. Mobile",
    "  D. Home station commercial power",
    "  E. Home station emergency power",
    "  F. Emergency Operations Center", "",
    "6. Check All power sources used.", "",
    "X Generator",
    "  Commercial mains",
    "  Battery",
    "  Other (list) ", "",
    "7. ARRL / RAC Section: CT", "",
    "8. Total CW QSO's:  10  X 2 =  Total CW QSO points:  20 ",
    "9. Total Digital QSO's:  5  X 2 =  Total Digital QSO points:  10 ",
    "10. Total Phone QSO's:  20  X 1 =  Total Phone QSO points:  20 ", "",
    "11. Total QSO points:  50 ", "",
    "12. Power Multiplier (select only one)", "",
    "  5 Watts or less and Battery powered = 5",
    "X 150 Watts or less = 2",
    "  Over 150 Watts = 1", "",
    "13. Power Multiplier:  2 ", "",
    "14. Claimed Score:  100 ", "",
    "15. Bonus points claimed:  Please check each block as appropriate and",
    "include required proof of points with your submission.  All bonus points",
    "will be verified at ARRL HQ and added to your score.", "",
    "  100% Emergency power",
    "  Media Publicity",
    "  Set-up in Public Place",
    "  Information Booth",
    "  NTS message to ARRL SM/SEC",
    "  W1AW Field Day Message",
    "  Formal NTS messages handled (# )",
    "  Satellite QSO completed",
    "  Natural Power QSO's Completed",
    "  Site Visited by invited officials",
    "  GOTA maximum QSO's achieved",
    "  Non-Traditional mode: ",
    "  Youth Participation (# )", "",
    "Total Bonus Points Claimed: 0", "",
    "16. I/We have observed all competition rules as well as all regulations",
    "for amateur radio in my/our country.  My/our report is correct and true",
    "to the best of my/our knowledge.  I/We agree to be bound by the",
    "decisions of the ARRL Awards Committee.", "",
    "Date: 06/23/2024", "",
    "Call: W1AW", "",
    "Signature: Jane Doe",
    "Address: 1 Main St",
    "Address: Town, ST 00000", "",
    "E-Mail Address: jd@example.org", "",
    "                   CW             Digital        Phone",
    "                   QSO   Power    QSO   Power    QSO   Power",
    "160                  0    150       0    150       0    150",
    "80                   0    150       0    150       0    150",
    "40                   0    150       5    150       0    150",
    "20                  10    150       0    150       0    150",
    "15                   0    150       0    150      20    150",
    "10                   0    150       0    150       0    150",
    "6                    0    150       0    150       0    150",
    "2                    0    150       0    150       0    150",
    "1.25                 0    150       0    150       0    150",
    "70                   0    150       0    150       0    150",
    "33                   0    150       0    150       0    150",
    "23                   0    150       0    150       0    150",
    "SAT                  0    150       0    150       0    150",
    "GOTA                 0    150       0    150       0    150",
    "Totals              10    CW        5    Dig      20    Phone", "",
    "18. List all callsigns of all operators and number of QSO's completed",
    "of the GOTA Station:", "",
    ""};

void fillS1Log(QsoLog& log) {
  addMany(log, 10, "20", "CW");
  addMany(log, 5, "40", "DIG");
  addMany(log, 20, "15", "PH");
}

QByteArray crlf(const QStringList& lines) {
  QByteArray b;
  for (const QString& l : lines) b += cp1252::encode(l) + "\r\n";
  return b;
}

class SummaryTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    fake->clock->setLocal(QDateTime(QDate(2024, 6, 23), QTime(14, 30)));
    state.PrefsPath = doc(QStringLiteral("SharedUserPreferences.xml"));
    state.PrefsXml = kSharedPrefsDeclaration + QStringLiteral("\r\n<OTHER>kept</OTHER>");
  }
  // Opens the window through the service and runs `act` on it.
  void open(const std::function<void(Form2&)>& act) {
    ScopedModalHook hook([&](QWidget* w) {
      auto* f = qobject_cast<Form2*>(w);
      ASSERT_NE(f, nullptr);
      act(*f);
      f->Command3->click();
    });
    svc.showSummary();
  }
};

TEST_F(SummaryTest, WindowWritesTheWholeSheetAndRemembersTheSubmitter) {
  fillS1Log(state.Log);
  state.MyCall = QStringLiteral(" W1AW ");
  fake->dialogs->files.push_back(doc("W1AW.sum"));
  fake->dialogs->answers = {Answer::Ok, Answer::Ok, Answer::Ok};
  bool hidden = false;
  open([&](Form2& f) {
    f.Text10->setText("Test Club");
    QTest::keyClicks(f.Text3, "12");
    f.Check2->setChecked(true);
    f.Text5->setText("Jane Doe");
    f.Text6->setText("1 Main St");
    f.Text7->setText("Town, ST 00000");
    f.Text8->setText("jd@example.org");
    f.Command1->click();
    EXPECT_EQ(f.Text16->text(), "0");  // the empty bonus box is set on the window
    EXPECT_TRUE(f.isVisible());        // writing does not close it
    EXPECT_EQ(f.focusWidget(), f.Command3);
    hidden = true;
  });
  ASSERT_TRUE(hidden);
  EXPECT_EQ(state.MyCall, "W1AW");
  ASSERT_EQ(fake->dialogs->shown.size(), 4);
  EXPECT_EQ(fake->dialogs->shown[0].kind, "save");
  EXPECT_EQ(fake->dialogs->shown[0].text, doc("W1AW.sum"));
  EXPECT_EQ(fake->dialogs->shown[0].filter, "ADIF Files (*.sum *.SUM)");
  EXPECT_EQ(fake->dialogs->titles().mid(1),
            QStringList({"File Written Successfully.", "EARN 50 Extra Bonus Points!", "  Thanks!"}));
  EXPECT_EQ(fake->dialogs->shown[1].text,
            "The file was successfully written to the directory:\r\n\r\n" + doc("W1AW.sum") +
                ".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you wish to print this "
                "file, you can open it with Notepad or Wordpad to print.");
  EXPECT_TRUE(fake->dialogs->shown[2].text.startsWith(
      "A 50-point bonus may be claimed by any group that submits its Field Day entry through the web entry site at "
      "https://field-day.arrl.org.  The bonus is available to all entry classes.\r\n\r\nUsing the web site"));
  EXPECT_TRUE(fake->dialogs->shown[3].text.endsWith("please tell a friend!\r\n\r\n73,\r\nVarik Software"));
  EXPECT_EQ(kS1.size(), 102);
  const QByteArray written = readFile("docs/W1AW.sum");
  EXPECT_EQ(written, crlf(kS1));
  const QStringList got = cp1252::decode(written).split(QStringLiteral("\r\n"));
  for (qsizetype i = 0; i < std::min(got.size(), kS1.size()); ++i)
    EXPECT_EQ(got[i], kS1[i]) << "line " << i + 1;
  EXPECT_EQ(reg->values.value("Settings/UserAddressName"), "Jane Doe");
  EXPECT_EQ(reg->values.value("Settings/UserClubName"), "Test Club");
  EXPECT_EQ(reg->values.value("Settings/UserEMail"), "jd@example.org");
  EXPECT_EQ(readFile("docs/SharedUserPreferences.xml"),
            cp1252::encode(kSharedPrefsDeclaration) +
                "\r\n<OTHER>kept</OTHER>\r\n<OWN_ADDRESS_NAME>Jane Doe</OWN_ADDRESS_NAME>\r\n<OWN_ADDRESS_LINE1>1 Main "
                "St</OWN_ADDRESS_LINE1>\r\n<OWN_ADDRESS_LINE2>Town, ST 00000</OWN_ADDRESS_LINE2>\r\n<OWN_EMAIL>jd@"
                "example.org</OWN_EMAIL>\r\n<OWN_CLUB_NAME>Test Club</OWN_CLUB_NAME>\r\n");

  // A second opening starts afresh, with the five remembered boxes filled.
  open([&](Form2& f) {
    EXPECT_EQ(f.Text5->text(), "Jane Doe");
    EXPECT_EQ(f.Text10->text(), "Test Club");
    EXPECT_EQ(f.Text8->text(), "jd@example.org");
    EXPECT_EQ(f.Text3->text(), "");
    EXPECT_FALSE(f.Check2->isChecked());
    EXPECT_TRUE(f.Check1->isChecked());
    EXPECT_TRUE(f.Option10->isChecked());
    EXPECT_EQ(f.Text11->text(), "0");
  });
}

TEST_F(SummaryTest, S2ClassBHighPowerGotaAndBonusLines) {
  QsoLog log;
  addMany(log, 3, "20", "CW");
  for (int i = 0; i < 12345; ++i) log.append(qso("K1A", "2", "PH"));
  log.append(qso("K1B", "SAT", "DIG"));
  log.append(qso("K1C", "30", "CW"));     // outside the table: counted nowhere
  log.append(qso("K1D", "20", "cw"));     // case counts
  SummaryForm f;
  f.Text11 = "100", f.Text12 = "150", f.Text13 = "150", f.Text9 = "W1AW";
  f.power = SummaryForm::Power::High;
  f.Check6 = true, f.Check9 = true, f.Text4 = "10", f.Check17 = true, f.Text18 = "3";
  const QStringList l = summaryLines(f, countBandModes(log), {"W1AW", "12B", "CT"}, QDate(2024, 6, 23));
  ASSERT_EQ(l.size(), 102);
  const std::map<int, QString> expected = {
      {3, "1. Field Day Call Used: W1AW                GOTA Station Call: W1AW"},
      {9, "4. Number of transmitters in simultaneous operation: 12"},
      {13, "  A. Club or non-club portable"},
      {14, "X B. 1 or 2 person non-club group portable"},
      {30, "8. Total CW QSO's:  103  X 2 =  Total CW QSO points:  206 "},
      {34, "11. Total QSO points:  13003 "},
      {40, "X Over 150 Watts = 1"},
      {42, "13. Power Multiplier:  1 "},
      {44, "14. Claimed Score:  13003 "},
      {50, "X 100% Emergency power"},
      {56, "X Formal NTS messages handled (# 10)"},
      {60, "X GOTA maximum QSO's achieved"},
      {62, "X Youth Participation (# 3)"},
      {71, "Date: 06/23/2024"},
      {86, "20                   3    150 +     0    150 +     0    150 +"},
      {90, "2                    0    150 +     0    150 + 12345    150 +"},
      {95, "SAT                  0    150 +     1    150 +     0    150 +"},
      {96, "GOTA               100    150     150    150     150    150"},
      {97, "Totals             103    CW      151    Dig   12495    Phone"},
  };
  for (const auto& [n, text] : expected) EXPECT_EQ(l[n - 1], text) << "line " << n;
}

TEST_F(SummaryTest, MarksAndScoreCases) {
  struct Case {
    QString cls, g1, g2, g3;
    int marked;       // the class line carrying "X" (0: none)
    QString line60;
  };
  const Case cases[] = {
      {"2A", "100", "150", "150", 13, "X GOTA maximum QSO's achieved"},
      {"2A", "100", "150", "149", 13, "  GOTA maximum QSO's achieved"},
      {"2a", "0", "0", "0", 0, "  GOTA maximum QSO's achieved"},
      {"1E", "0", "0", "0", 18, "  GOTA maximum QSO's achieved"},
      {"3F", "0", "0", "0", 19, "  GOTA maximum QSO's achieved"},
  };
  for (const Case& c : cases) {
    SummaryForm f;
    f.Text11 = c.g1, f.Text12 = c.g2, f.Text13 = c.g3;
    const QStringList l = summaryLines(f, BandModeCounts{}, {"W1AW", c.cls, "CT"}, QDate(2024, 6, 23));
    for (int n : {13, 14, 16, 17, 18, 19}) EXPECT_EQ(l[n - 1].startsWith('X'), n == c.marked) << c.cls.toStdString() << " line " << n;
    EXPECT_EQ(l[59], c.line60);
  }
  // An empty log: the totals are the GOTA boxes; the bonus never joins the score.
  SummaryForm f;
  f.Text11 = "12", f.Text12 = "0", f.Text13 = "7", f.Text16 = "500";
  f.power = SummaryForm::Power::Qrp;
  const SummaryScore sc = scoreSummary(f, BandModeCounts{});
  EXPECT_EQ(sc.cw, 12);
  EXPECT_EQ(sc.ph, 7);
  EXPECT_EQ(sc.points, 31);
  EXPECT_EQ(sc.claimed, 155);
  const QStringList l = summaryLines(f, BandModeCounts{}, {"W1AW", "2A", "CT"}, QDate(2024, 1, 2));
  EXPECT_EQ(l[95], "GOTA                12    5         0    5         7    5");
  EXPECT_EQ(l[70], "Date: 01/02/2024");
  // Six-digit boxes on every band stay in 64 bits and in their columns.
  BandModeCounts big{};
  for (auto& b : big) b = {14000, 14000, 14000};
  f.Text11 = f.Text12 = f.Text13 = "999999";
  const SummaryScore s2 = scoreSummary(f, big);
  EXPECT_EQ(s2.cw, 13 * 14000 + 999999);
  EXPECT_EQ(s2.claimed, 5 * (5 * s2.cw));
  EXPECT_EQ(summaryLines(f, big, {"W1AW", "2A", "CT"}, QDate(2024, 1, 2)).size(), 102);
}

TEST_F(SummaryTest, EmptyLogShowsOnlyTheFirstBox) {
  fake->dialogs->files.push_back(doc("W1AW.sum"));
  fake->dialogs->answers = {Answer::Ok};
  open([](Form2& f) {
    f.Text5->setText("  Jane  ");
    f.Command1->click();
  });
  EXPECT_EQ(fake->dialogs->titles(), QStringList({"Save As", "File Written Successfully."}));
  EXPECT_EQ(reg->values.value("Settings/UserAddressName"), "Jane");  // stored trimmed
  EXPECT_TRUE(readFile("docs/W1AW.sum").contains("\r\nSignature:   Jane  \r\n"));  // the file as it stands
  const QList<QByteArray> lines = readFile("docs/W1AW.sum").split('\n');
  EXPECT_EQ(lines[96], "Totals               0    CW        0    Dig       0    Phone\r");
}

TEST_F(SummaryTest, KeyRules) {
  open([](Form2& f) {
    QTest::keyClicks(f.Text3, "1a2-b3");
    EXPECT_EQ(f.Text3->text(), "123");
    f.Text3->pasteText("x45");
    EXPECT_EQ(f.Text3->text(), "12345");
    QTest::keyClicks(f.Text3, "67");
    EXPECT_EQ(f.Text3->text(), "123456");  // a seventh digit is refused
    QTest::keyClick(f.Text3, Qt::Key_Backspace);
    EXPECT_EQ(f.Text3->text(), "12345");
    f.Text2->pasteText("abc");
    EXPECT_EQ(f.Text2->text(), "ABC");
    QTest::keyClicks(f.Text17, "k1x");
    EXPECT_EQ(f.Text17->text(), "K1X");
    f.Text9->pasteText(QStringLiteral("w1\u4e2daw"));  // the 8-bit table cannot hold it
    EXPECT_EQ(f.Text9->text(), "w1aw");
    // Leaving a GOTA box with no number in it gives "0".
    f.Text11->clear();
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(f.Text11, &out);
    EXPECT_EQ(f.Text11->text(), "0");
    // Enter in a box neither writes nor closes.
    QTest::keyClick(f.Text5, Qt::Key_Return);
    EXPECT_TRUE(f.isVisible());
  });
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
}

// Whatever is typed into the five remembered boxes, the shared file keeps
// one element per line: our five lines take the text less "<" and ">", every
// other line stays byte for byte, and a second write (after a restart) finds
// the same lines again. The registry and the summary file take the text as typed.
TEST_F(SummaryTest, TypedTextCannotCutTheSharedFile) {
  const QByteArray other = "<OTHER_PROG>x & y</OTHER_PROG>";
  const QByteArray lower = "<own_email>lower</own_email>";
  const QList<QByteArray> before = {
      cp1252::encode(kSharedPrefsDeclaration),
      other,
      lower,
      "",
      "<OWN_ADDRESS_NAME>Joe \"JD\" Doe</OWN_ADDRESS_NAME>",
      "<OWN_ADDRESS_LINE1>12 Main St</OWN_ADDRESS_LINE1>",
      "<OWN_ADDRESS_LINE2>Town, ST 00000</OWN_ADDRESS_LINE2>",
      "<OWN_EMAIL>jd@example.org</OWN_EMAIL>",
      "<OWN_CLUB_NAME>Old Club</OWN_CLUB_NAME>",
      "<NOTE>Caf\xe9</NOTE>",
  };
  const char* const tags[] = {"OWN_ADDRESS_NAME", "OWN_ADDRESS_LINE1", "OWN_ADDRESS_LINE2", "OWN_EMAIL",
                              "OWN_CLUB_NAME"};
  const struct { const char* name; QString typed; QByteArray stored; } rows[] = {
      {"a tag of ours", "Ann <OWN_EMAIL> Lee", "Ann OWN_EMAIL Lee"},
      {"ampersand", "Hams & Co", "Hams & Co"},
      {"8-bit letter", QStringLiteral("Zo\u00eb"), "Zo\xeb"},
      {"a closing tag", "Jo </OWN_ADDRESS_NAME> Doe", "Jo /OWN_ADDRESS_NAME Doe"},
  };
  state.MyCall = "W1AW";
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    writeFile("docs/SharedUserPreferences.xml", before.join("\r\n") + "\r\n");
    ReadSharedPrefs(state, doc("SharedUserPreferences.xml"));
    QList<QByteArray> want = before;
    for (int i = 0; i < 5; ++i) want[4 + i] = QByteArray("<") + tags[i] + '>' + r.stored + "</" + tags[i] + '>';
    // Typed once, then written again after a restart from the remembered boxes.
    for (int pass = 0; pass < 2; ++pass) {
      SCOPED_TRACE(pass);
      if (pass == 1) ReadSharedPrefs(state, doc("SharedUserPreferences.xml"));
      fake->dialogs->clear();
      fake->dialogs->files.push_back(doc("W1AW.sum"));
      fake->dialogs->answers = {Answer::Ok};
      open([&](Form2& f) {
        for (KeyBox* b : {f.Text5, f.Text6, f.Text7, f.Text8, f.Text10}) {
          if (pass == 0) {
            b->clear();
            for (QChar c : r.typed)  // each key as typed, Latin-1 letters included
              QTest::sendKeyEvent(QTest::Click, b, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
          }
          EXPECT_EQ(b->text().toStdString(), r.typed.toStdString());
        }
        f.Command1->click();
      });
      EXPECT_EQ(fake->dialogs->titles(), QStringList({"Save As", "File Written Successfully."}));
      const QList<QByteArray> got = readFile("docs/SharedUserPreferences.xml").split('\n');
      EXPECT_EQ(got.size(), want.size() + 1) << readFile("docs/SharedUserPreferences.xml").toStdString();
      for (qsizetype i = 0; i < std::min(want.size(), got.size()); ++i)
        EXPECT_EQ(got[i].toStdString(), (want[i] + '\r').toStdString()) << "line " << i + 1;
      EXPECT_EQ(got.last(), "");
    }
    EXPECT_EQ(reg->values.value("Settings/UserAddressName"), r.typed);
    EXPECT_EQ(reg->values.value("Settings/UserEMail"), r.typed);
    const QByteArray sum = readFile("docs/W1AW.sum");
    for (const char* line : {"2. Club or Group Name: ", "Signature: ", "E-Mail Address: "})
      EXPECT_TRUE(sum.contains("\r\n" + QByteArray(line) + cp1252::encode(r.typed) + "\r\n")) << line;
  }
}

TEST_F(SummaryTest, TabOrderAndLayout) {
  open([](Form2& f) {
    const QList<QWidget*> order = {f.Text10, f.Text1, f.Check1, f.Text3, f.Text2, f.Check2, f.Check3, f.Check4,
                                   f.Check5, f.Text15, f.Option9, f.Option10, f.Option1, f.Text9, f.Text11, f.Text12,
                                   f.Text13, f.Text17, f.Check6, f.Check7, f.Check10, f.Check9, f.Text4, f.Check8,
                                   f.Check11, f.Check12, f.Check13, f.Check14, f.Check15, f.Check16, f.Text14,
                                   f.Check17, f.Text18, f.Text16, f.Text5, f.Text6, f.Text7, f.Text8, f.Command1,
                                   f.Command3};
    // Tab goes to the next widget in the chain that takes the focus by Tab.
    auto next = [](QWidget* w) {
      do w = w->nextInFocusChain();
      while (!(w->focusPolicy() & Qt::TabFocus));
      return w;
    };
    for (qsizetype i = 1; i < order.size(); ++i) EXPECT_EQ(next(order[i - 1]), order[i]) << i;
    EXPECT_FALSE(f.Command1->autoDefault());
    EXPECT_FALSE(f.Command3->autoDefault());
    EXPECT_EQ(f.Check15->text(), "Site visited by invited officals");
    EXPECT_EQ(f.Check9->text(), "Messages Relayed  (no.):");
    // Every control inside the window, and no two siblings overlapping.
    QList<QWidget*> controls;
    for (QWidget* w : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (w != f.Shape1 && w != f.Line1 && w != f.Line2) controls << w;
    const QRect inside = f.rect();
    for (QWidget* w : controls) {
      EXPECT_TRUE(inside.contains(w->geometry())) << w->metaObject()->className();
      for (QWidget* o : controls)
        if (o != w)
          EXPECT_FALSE(w->geometry().intersects(o->geometry()))
              << w->metaObject()->className() << " " << w->property("text").toString().toStdString() << " / "
              << o->property("text").toString().toStdString();
    }
    for (QWidget* o : {static_cast<QWidget*>(f.Option9), static_cast<QWidget*>(f.Option10), static_cast<QWidget*>(f.Option1)})
      EXPECT_TRUE(f.Frame4->rect().contains(o->geometry()));
    EXPECT_TRUE(f.Shape1->geometry().contains(f.Line1->geometry()));
  });
}

TEST_F(SummaryTest, BonusPointsLabelStandsBesideItsFirstBoxes) {
  open([](Form2& f) {
    QLabel* label = nullptr;
    for (QLabel* l : f.findChildren<QLabel*>())
      if (l->text() == "Bonus Points:") label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_GT(label->geometry().top(), f.Line2->geometry().bottom());
    EXPECT_GE(label->width(), label->sizeHint().width());
    QWidget* left = label;
    for (QCheckBox* c : {f.Check6, f.Check7, f.Check10}) {
      const std::string caption = c->text().toStdString();
      EXPECT_LE(std::abs(c->geometry().center().y() - label->geometry().center().y()), 2) << caption;
      EXPECT_GT(c->geometry().left(), left->geometry().right()) << caption;
      // The whole caption shows: the part beside the tick is as wide as the text.
      QStyleOptionButton o;
      o.initFrom(c);
      o.text = c->text();
      EXPECT_GE(c->style()->subElementRect(QStyle::SE_CheckBoxContents, &o, c).width(),
                c->fontMetrics().horizontalAdvance(c->text()))
          << caption;
      EXPECT_LT(c->geometry().right(), f.Shape1->geometry().right()) << caption;
      left = c;
    }
    EXPECT_GT(f.Check9->geometry().top(), f.Check6->geometry().bottom());
  });
}

TEST_F(SummaryTest, FileStemCancelAndFailures) {
  // The proposed name takes the call's leading run of digits and capitals.
  for (const auto& [call, name] : std::vector<std::pair<QString, QString>>{{" W1AW/3", "W1AW.sum"}, {"/W1AW", "YourCall.sum"}}) {
    state.MyCall = call;
    fake->dialogs->clear();
    fake->dialogs->files.push_back(QString());  // cancel
    open([](Form2& f) { f.Command1->click(); });
    ASSERT_EQ(fake->dialogs->shown.size(), 1);
    EXPECT_EQ(fake->dialogs->shown[0].text, doc(name));
    EXPECT_EQ(state.MyCall, call.trimmed());
  }
  EXPECT_TRUE(reg->values.isEmpty());  // a cancel stores nothing
  EXPECT_FALSE(QFile::exists(doc("W1AW.sum")));

  // An unwritable target: the reason, no success box, nothing stored.
  state.MyCall = "W1AW";
  fake->dialogs->clear();
  fake->dialogs->files.push_back(doc("missing/W1AW.sum"));
  fake->dialogs->answers = {Answer::Ok};
  open([](Form2& f) {
    f.Text5->setText("Jane");
    f.Command1->click();
  });
  EXPECT_EQ(fake->dialogs->titles(), QStringList({"Save As", "Unable to write file."}));
  EXPECT_FALSE(fake->dialogs->shown[1].text.isEmpty());
  EXPECT_EQ(fake->dialogs->beeps, 1);
  EXPECT_TRUE(reg->values.isEmpty());

  // A full disk leaves the older file whole.
  writeFile("docs/W1AW.sum", "older\r\n");
  fake->dialogs->clear();
  fake->dialogs->files.push_back(doc("W1AW.sum"));
  fake->dialogs->answers = {Answer::Ok};
  open([](Form2& f) {
    ScopedFileSizeLimit limit(1000);
    f.Command1->click();
  });
  EXPECT_EQ(fake->dialogs->titles(), QStringList({"Save As", "Unable to write file."}));
  EXPECT_EQ(readFile("docs/W1AW.sum"), "older\r\n");

  // The settings cannot be stored: the same box, after the success box.
  reg->failWrites = true;
  fake->dialogs->clear();
  fake->dialogs->files.push_back(doc("W1AW.sum"));
  fake->dialogs->answers = {Answer::Ok, Answer::Ok};
  open([](Form2& f) { f.Command1->click(); });
  EXPECT_EQ(fake->dialogs->titles(), QStringList({"Save As", "File Written Successfully.", "Unable to write file."}));
  EXPECT_EQ(readFile("docs/W1AW.sum").left(16), "ARRL Field Day\r\n");
}

TEST_F(SummaryTest, PrintSummaryChecksTheIdentityThenOpensTheWindow) {
  state.MySection = "C";
  fake->dialogs->answers = {Answer::Ok};
  svc.mnuPrntSum_Click();  // no modal hook: the window must not open
  EXPECT_EQ(fake->dialogs->titles(), QStringList({"Need Class & Section!"}));
  EXPECT_EQ(fake->dialogs->shown[0].text, "Please enter your Call, Class and Section in Setup!");
  EXPECT_EQ(fake->dialogs->beeps, 1);
  state.MySection = "CT";
  bool opened = false;
  ScopedModalHook hook([&](QWidget* w) { opened = qobject_cast<Form2*>(w) != nullptr; });
  svc.mnuPrntSum_Click();
  EXPECT_TRUE(opened);
  EXPECT_TRUE(svc.provides(OutputServices::Feature::WriteSummary));
}

}  // namespace
}  // namespace fd::test
