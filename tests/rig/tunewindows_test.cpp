// The tune window, the frequency test window and the privileges chart.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "fakemainwindow.h"
#include "platform/forms.h"
#include "rig/frmbandplan.h"
#include "rig/frmfrequencytest.h"
#include "rig/frmrigtune.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "testenv.h"

namespace fd {
namespace {

class TuneTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), path(QStringLiteral("BandPlan.txt")));
    state.RigType = QStringLiteral("None");
    setSerialFactory([this] {
      auto p = std::make_unique<FakeSerialPort>();
      port = p.get();
      return p;
    });
    rig = std::make_unique<RigControlfrm>(state, &main, nullptr);
    rig->List1->setCurrentItem(rig->List1->findItems(QStringLiteral("Kenwood"), Qt::MatchExactly).value(0));
    rig->List1_Click();
    rig->Command1_Click();
    port->written.clear();
    tune = std::make_unique<frmRigTune>(state, [this] { return rig.get(); });
  }
  void TearDown() override {
    tune.reset();
    rig.reset();
    setSerialFactory({});
  }
  QByteArray sent() { return std::exchange(port->written, QByteArray()); }
  FakeSerialPort* port = nullptr;
  test::FakeMainWindow main{&state};
  std::unique_ptr<RigControlfrm> rig;
  std::unique_ptr<frmRigTune> tune;
};

TEST_F(TuneTest, BandButtonsTuneWithTheBandPlansMode) {
  tune->cmdBand[5]->click();  // "20"
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("14.175"));
  EXPECT_EQ(sent(), QByteArray("MD2;FA00014175000;"));
  tune->cmdBand[3]->click();  // "40"
  EXPECT_EQ(sent(), QByteArray("MD1;FA00007150000;"));
  tune->cmdBand[0]->click();  // "160": no mode
  EXPECT_EQ(sent(), QByteArray("FA00001900000;"));
  tune->cmdBand[12]->click();
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("223.5"));
  EXPECT_TRUE(rig->polling());
}

TEST_F(TuneTest, StepsKeysAndModes) {
  tune->txtFreq->setProgramText(QStringLiteral("14.025"));
  sent();
  tune->cmdTune[0]->click();  // 10 Hz up
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("14.02501"));
  EXPECT_EQ(sent(), QByteArray("MD3;FA00014025010;"));
  tune->txtFreq->setProgramText(QStringLiteral("7.1"));
  tune->cmdTune[7]->click();  // 1 kHz down
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("7.099"));
  tune->txtFreq->clear();
  tune->txtFreq->setFocus();
  QTest::keyClicks(tune->txtFreq, QStringLiteral("7,1"));
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("71"));
  EXPECT_TRUE(tune->cmdTune[0]->isEnabled());
  QTest::keyClicks(tune->txtFreq, QStringLiteral("/"));
  EXPECT_FALSE(tune->cmdTune[0]->isEnabled());
  sent();
  tune->cmdUSB->click();
  EXPECT_EQ(sent(), QByteArray("MD2;"));
  EXPECT_TRUE(rig->polling());  // a mode command does not stop polling
  tune->txtFreq->setProgramText(QStringLiteral("14.025"));
  sent();
  QTest::keyClick(tune->txtFreq, Qt::Key_Return);
  EXPECT_EQ(sent(), QByteArray("MD3;FA00014025000;"));
}

TEST_F(TuneTest, ScanWrapsAdvancesAtTheTopAndStopsOnAKey) {
  tune->txtFrom->setText(QStringLiteral("14"));
  tune->txtTo->setText(QStringLiteral("14.0001"));
  tune->Option3->setChecked(true);
  tune->txtFreq->setProgramText(QStringLiteral("14.00009"));
  tune->chkScan->setChecked(true);
  tune->Timer1_Timer();
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("14"));
  tune->txtFrom->setText(QStringLiteral("1270"));
  tune->txtTo->setText(QStringLiteral("1271"));
  tune->Option4->setChecked(true);
  tune->txtFreq->setProgramText(QStringLiteral("1270"));
  tune->Timer1_Timer();
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("1270.00001"));
  tune->Timer1_Timer();
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("1270.00002"));
  EXPECT_EQ(frmRigTune::scanText(52.0), QStringLiteral("52"));
  QTest::keyClick(tune->txtTo, Qt::Key_1);  // any key in the window
  EXPECT_FALSE(tune->chkScan->isChecked());
  // Ticking with an empty frequency starts from From.
  tune->txtFreq->setProgramText(QString());
  tune->chkScan->click();
  EXPECT_EQ(tune->txtFreq->text(), QStringLiteral("1270"));
}

// While the radio's port is away a scan step would only be refused: the
// scan holds its place, quietly, and goes on once the port is back.
TEST_F(TuneTest, TheScanWaitsWhileTheRadiosPortIsAway) {
  tune->txtFrom->setText(QStringLiteral("14"));
  tune->txtTo->setText(QStringLiteral("14.1"));
  tune->Option4->setChecked(true);
  tune->txtFreq->setProgramText(QStringLiteral("14.02"));
  tune->chkScan->setChecked(true);
  port->vanish();
  ASSERT_TRUE(rig->portLost());
  tune->Timer1_Timer();
  EXPECT_EQ(tune->txtFreq->text().toStdString(), "14.02");
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
  rig->tmrReopen_Timer();
  ASSERT_TRUE(rig->polling());
  sent();
  tune->Timer1_Timer();
  EXPECT_EQ(tune->txtFreq->text().toStdString(), "14.02001");
  EXPECT_EQ(sent().toStdString(), "MD3;FA00014020010;");
}

TEST_F(TuneTest, TheTestWindowSendsRawAndHexAndTunes) {
  frmFrequencyTest t(*rig);
  EXPECT_EQ(t.Text1->text(), QStringLiteral("FA00028475000;"));
  EXPECT_EQ(t.Text2->text(), QStringLiteral("28.475"));
  t.Command1->click();
  EXPECT_EQ(sent(), QByteArray("FA00028475000;"));
  t.Check1->setChecked(true);
  t.Text1->setText(QStringLiteral(" fe fe 64 e0 03 fd "));
  t.Command1->click();
  EXPECT_EQ(sent(), cat::HexTextToBytes(QStringLiteral("FE FE 64 E0 03 FD")));
  t.Text1->setText(QStringLiteral("FEFE"));
  t.Command1->click();
  EXPECT_EQ(sent(), QByteArray("\xFE\x0E"));
  t.Command2->click();
  EXPECT_EQ(sent(), QByteArray("MD2;FA00028475000;"));
}

// The four help texts show whole at the window's own font on every screen,
// none above another.
TEST_F(TuneTest, TheTestWindowsHelpTextsShowWholeAtTheWindowsFont) {
  for (const QSize screen : {QSize(1280, 1024), QSize(1024, 768), QSize(1920, 1080)}) {
    SCOPED_TRACE(screen.width());
    fake->screen->w = fake->screen->workW = screen.width() * 15.0;
    fake->screen->h = fake->screen->workH = screen.height() * 15.0;
    frmFrequencyTest t(*rig);
    QRect above;
    for (QLabel* help : {t.Label1, t.Label2, t.Label3, t.Label4}) {
      EXPECT_DOUBLE_EQ(help->font().pointSizeF(), t.layout.find(help)->fontSize);
      const QFontMetrics fm(help->font());
      const QRect need = fm.boundingRect(QRect(0, 0, help->width(), 1 << 20), Qt::TextWordWrap, help->text());
      EXPECT_LE(need.height(), help->height()) << help->text().left(30).toStdString();
      EXPECT_GT(help->geometry().top(), above.bottom());
      above = help->geometry();
    }
  }
}

TEST_F(TuneTest, ChangeFrequencyOnTheRigWindowOpensTheTestWindow) {
  int shown = 0;
  test::ScopedModalHook hook([&](QWidget* w) {
    ++shown;
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Test Change Frequency Function"));
    w->hide();
  });
  rig->Command3_Click();
  EXPECT_EQ(shown, 1);
}

class ChartTest : public test::ProgramFolderTest {
 protected:
  std::unique_ptr<frmBandPlan> open(const QByteArray& file) {
    writeFile(QStringLiteral("BandPlan.txt"), file);
    return std::make_unique<frmBandPlan>(state);
  }
  static QByteArray fixture() {
    QByteArray f = "\"1 July 2024\"\r\n";
    const char* bands[][3] = {{"160", "1.8", "2"}, {"80", "3.5", "4"}, {"40", "7", "7.3"},
                              {"20", "14", "14.35"}, {"15", "21", "21.45"}, {"10", "28", "29.7"}};
    for (auto& b : bands) {
      f += QByteArray("\"") + b[0] + "\",\"O\",\"PH\"," + b[1] + "," + b[2] + "\r\n";
      f += QByteArray("\"") + b[0] + "\",\"E\",\"PH\"," + b[1] + "," + b[2] + "\r\n";
      if (QByteArray(b[0]) == "80")
        f += "\"80\",\"G\",\"CW\",3.525,3.6\r\n\"80\",\"G\",\"PH\",3.8,4\r\n";
    }
    return f;
  }
};

TEST_F(ChartTest, ClassesDrawTheirRows) {
  auto w = open(fixture());
  EXPECT_EQ(w->Label1->text(), QStringLiteral("Frequencies Effective: 1 July 2024"));
  EXPECT_EQ(w->Label2->text(), QStringLiteral("Extra Frequency Privileges"));
  EXPECT_EQ(w->chartLabels(QStringLiteral("blbl")).size(), 6);
  EXPECT_EQ(w->chartLabels(QStringLiteral("blbl"))[1]->toolTip(), QStringLiteral("80  3.500 - 4.000"));
  w->Command4->click();
  EXPECT_EQ(w->Label2->text(), QStringLiteral("General Frequency Privileges"));
  const auto bars = w->chartLabels(QStringLiteral("blbl"));
  ASSERT_EQ(bars.size(), 1);
  EXPECT_EQ(bars[0]->text(), QStringLiteral("80"));
  const auto segs = w->chartLabels(QStringLiteral("priv"));
  ASSERT_EQ(segs.size(), 2);
  EXPECT_EQ(segs[0]->text(), QStringLiteral("3.525 - 3.600"));
  EXPECT_TRUE(segs[0]->styleSheet().contains(QStringLiteral("blue")));
  EXPECT_EQ(segs[0]->toolTip(), QStringLiteral("CW  3.525 - 3.600"));
  EXPECT_EQ(segs[1]->text(), QStringLiteral("3.800 - 4.000"));
  EXPECT_TRUE(segs[1]->styleSheet().contains(QStringLiteral("0,255,0")));
  w->Command1->click();
  EXPECT_EQ(w->Label2->text(), QStringLiteral("Novice Frequency Privileges"));
  EXPECT_TRUE(w->chartLabels(QStringLiteral("blbl")).isEmpty());
  EXPECT_TRUE(w->chartLabels(QStringLiteral("priv")).isEmpty());
}

TEST_F(ChartTest, BadFilesGiveTheMessage) {
  const struct { QByteArray file; bool message; int rows; const char* firstTip = nullptr; } rows[] = {
      {"\"2024\"\r\n", false, 0},
      {fixture() + "\r\n\r\n", false, 6},
      {fixture() + "\"20\",\"E\",\"CW\",x,14.1\r\n", true, 0},
      {"\"2024\"\r\n\"6\",\"O\",\"PH\",50,50\r\n\"6\",\"E\",\"PH\",50,50\r\n", false, 0},
      {"\"2024\"\r\n\"23\",\"O\",\"PH\",1240,1300\r\n\"23\",\"E\",\"PH\",1240,1300\r\n", false, 1,
       "23  1,240.000 - 1,300.000"},
  };
  for (const auto& r : rows) {
    if (r.message) fake->dialogs->answers.push_back(Answer::Ok);
    const qsizetype before = fake->dialogs->shown.size();
    auto w = open(r.file);
    EXPECT_EQ(fake->dialogs->shown.size() - before, r.message ? 1 : 0);
    const auto bars = w->chartLabels(QStringLiteral("blbl"));
    EXPECT_EQ(bars.size(), r.rows);
    if (r.firstTip && !bars.isEmpty()) EXPECT_EQ(bars[0]->toolTip(), QString::fromLatin1(r.firstTip));
  }
  QByteArray big = "\"2024\"\r\n";
  for (int i = 0; i < 201; ++i) big += "\"20\",\"E\",\"CW\",14,14.1\r\n";
  fake->dialogs->answers.push_back(Answer::Ok);
  auto w = open(big);
  EXPECT_EQ(fake->dialogs->shown.back().title, QStringLiteral("Band Data Not Available."));
  QFile::remove(path(QStringLiteral("BandPlan.txt")));
  fake->dialogs->answers.push_back(Answer::Ok);
  auto none = std::make_unique<frmBandPlan>(state);
  EXPECT_EQ(fake->dialogs->shown.back().text, QStringLiteral("Band data not available."));
}

TEST_F(ChartTest, TheShippedPlanDrawsEveryClass) {
  QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), path(QStringLiteral("BandPlan.txt")));
  frmBandPlan w(state);
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
  auto bands = [&] {
    QStringList out;
    for (QLabel* l : w.chartLabels(QStringLiteral("blbl"))) out << l->text();
    return out;
  };
  EXPECT_EQ(bands(), (QStringList{"160", "80", "40", "30", "20", "17", "15", "12", "10", "6", "2", "1.25", "70",
                                  "33", "23"}));
  w.Command2->click();
  EXPECT_FALSE(bands().contains(QStringLiteral("20")));
  EXPECT_TRUE(bands().contains(QStringLiteral("6")));
  w.Command1->click();
  EXPECT_FALSE(bands().contains(QStringLiteral("6")));
  EXPECT_TRUE(bands().contains(QStringLiteral("10")));
}

// On every screen the rows lie between the line under the title and the
// button row, and Done stands in that row inside the window.
TEST_F(ChartTest, TheChartLiesBetweenTheTitleAndOneRowOfButtons) {
  QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), path(QStringLiteral("BandPlan.txt")));
  for (const QSize screen : {QSize(1280, 1024), QSize(1024, 768), QSize(1920, 1080), QSize(800, 600)}) {
    SCOPED_TRACE(screen.width());
    fake->screen->w = fake->screen->workW = screen.width() * 15.0;
    fake->screen->h = fake->screen->workH = screen.height() * 15.0;
    frmBandPlan w(state);
    const QRect title = w.Label2->geometry(), line = w.Line1->geometry();
    EXPECT_GT(line.top(), title.bottom());
    const auto bars = w.chartLabels(QStringLiteral("blbl"));
    ASSERT_EQ(bars.size(), 15);
    EXPECT_GT(bars.front()->geometry().top(), line.bottom());
    for (QPushButton* b : {w.Command1, w.Command2, w.Command3, w.Command4, w.Command5, w.Command6, w.Command7}) {
      EXPECT_EQ(b->geometry().top(), w.Command1->geometry().top()) << b->text().toStdString();
      EXPECT_TRUE(w.rect().contains(b->geometry())) << b->text().toStdString();
    }
    EXPECT_LT(bars.back()->geometry().bottom(), w.Command1->geometry().top());
  }
}

TEST_F(ChartTest, TheServiceShowsAndUnloadsTheWindows) {
  QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), path(QStringLiteral("BandPlan.txt")));
  RigService sv(state);
  test::FakeMainWindow main(&state);
  sv.attach(main);
  EXPECT_TRUE(sv.provides(RigServices::Feature::Privileges));
  EXPECT_TRUE(sv.provides(RigServices::Feature::RigTune));
  QStringList titles;
  test::ScopedModalHook hook([&](QWidget* w) {
    titles << w->windowTitle();
    w->hide();
  });
  sv.showPrivileges();
  sv.showRigTune();
  EXPECT_EQ(titles, (QStringList{"Frequency Privileges", " Change Frequency and Mode (Ctrl G (Go))"}));
}

}  // namespace
}  // namespace fd

namespace fd {
namespace {

TEST_F(TuneTest, TheFrequencyBoxHasTheFocusWhenShown) {
  tune->show();
  tune->activateWindow();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), tune->txtFreq)
      << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none");
  tune->hide();
}

}  // namespace
}  // namespace fd
