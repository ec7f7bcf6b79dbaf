#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "keying/cwfrm.h"
#include "keying/cwkeyer.h"
#include "keying/cwsettings.h"
#include "keying/keyingservice.h"
#include "platform/forms.h"
#include "platform/serial.h"
#include "testenv.h"

namespace fd {
namespace {

QByteArray crlf(const QStringList& lines) { return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1(); }

// The service with fake ports in a temporary program folder.
class CWSettingsTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([] { return std::make_unique<FakeSerialPort>(); });
    setTestMode(true);
    state.ProgDir = dir.path();
    service = std::make_unique<KeyingService>(state);
    service->attach(main);
  }
  void TearDown() override {
    service.reset();
    setSerialFactory({});
  }
  CWSettings& set() { return service->cw().set; }
  CWFrm& frm() { return service->loadCWFrm(); }

  test::FakeMainWindow main{&state};
  std::unique_ptr<KeyingService> service;
};

const QByteArray kFresh = crlf({"\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"0\"",
                                "\"13\"", "\"\"", "\"\"", "\"0\"", "0", "\"&H378\"", "1", "\"0\""});

TEST_F(CWSettingsTest, FreshDoneWritesTheDefaults) {
  frm().Command1_Click();
  EXPECT_EQ(readFile(QStringLiteral("cw.txt")), kFresh);
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("CW.txt"))));
  EXPECT_EQ(fake->registry->values.value(QStringLiteral("Settings/UserCWSelection")), QStringLiteral("Timer"));
  EXPECT_EQ(fake->registry->values.value(QStringLiteral("Settings/UserCWLoopOffset")), QStringLiteral("0"));
  EXPECT_FALSE(frm().isVisible());
  EXPECT_EQ(main.focusCalls, 1);
}

TEST_F(CWSettingsTest, AFilledCaseReadsBack) {
  CWFrm& w = frm();
  w.Text[1]->setText(QStringLiteral("CQ FD W1AW"));
  w.Text[2]->setText(QStringLiteral("$ 2A ENY, TU"));
  w.Text[9]->setText(QString());
  w.Text[10]->setText(QStringLiteral("1"));
  w.Text[11]->setText(QStringLiteral("25"));
  w.Text[12]->setText(QStringLiteral("QRZ?"));
  w.txtSpace->setText(QStringLiteral("-4"));
  w.txtCWLoop->setText(QStringLiteral("2.5"));
  w.Check1->setChecked(false);
  w.Option1->click();
  w.Command1_Click();
  const QByteArray bytes = readFile(QStringLiteral("cw.txt"));
  EXPECT_EQ(bytes, crlf({"\"CQ FD W1AW\"", "\"$ 2A ENY, TU\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"",
                         "\"1\"", "\"25\"", "\"QRZ?\"", "\"\"", "\"-4\"", "1", "\"&H378\"", "0", "\"2.5\""}));

  // A fresh start reads it back; the empty F9 comes back "VVV DE ".
  service.reset();
  state.KeyingType = 0;
  service = std::make_unique<KeyingService>(state);
  service->attach(main);
  service->loadCWSettings();
  EXPECT_EQ(set().Text[1], QStringLiteral("CQ FD W1AW"));
  EXPECT_EQ(set().Text[2], QStringLiteral("$ 2A ENY, TU"));
  EXPECT_EQ(set().Text[9], QStringLiteral("VVV DE "));
  EXPECT_EQ(set().Text[10], QStringLiteral("1"));
  EXPECT_EQ(set().Text[11], QStringLiteral("25"));
  EXPECT_EQ(set().Text[12], QStringLiteral("QRZ?"));
  EXPECT_EQ(set().txtSpace, QStringLiteral("-4"));
  EXPECT_EQ(state.KeyingType, 1);
  EXPECT_EQ(set().Check1, 0);
  EXPECT_EQ(set().repeatMs, 2500);
  EXPECT_TRUE(frm().Option1->isChecked());
  EXPECT_EQ(frm().Text[1]->text(), QStringLiteral("CQ FD W1AW"));
}

TEST(CwTxtRestore, ShortAndDamagedFiles) {
  QStringList full = {"\"F1\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"3\"",
                      "\"20\"", "\"\"", "\"\"", "\"1\"", "2", "\"888\"", "0", "\"1.5\""};
  struct Case {
    const char* what;
    int cutAt;           // lines kept (0 = all)
    int badLine;         // 1-based line replaced by badText (0 = none)
    const char* badText;
    int placed;
    bool complete;
    std::optional<int> keyingType;
  };
  const Case cases[] = {
      {"whole", 0, 0, "", 18, true, 2},
      {"ten lines", 10, 0, "", 10, false, std::nullopt},
      {"key line not a number", 0, 15, "x", 14, false, std::nullopt},
      {"check box not a number", 0, 17, "\"yes\"", 16, false, 2},
      {"negative repeat", 0, 18, "\"-1\"", 18, false, 2},
      {"empty key line reads 0", 0, 15, "", 18, true, 0},
  };
  for (const Case& c : cases) {
    QStringList lines = full;
    if (c.badLine) lines[c.badLine - 1] = QString::fromLatin1(c.badText);
    if (c.cutAt) lines = lines.mid(0, c.cutAt);
    CWSettings s;
    const CWRestore r = restoreCwTxt(crlf(lines), s);
    EXPECT_EQ(r.linesPlaced, c.placed) << c.what;
    EXPECT_EQ(r.complete, c.complete) << c.what;
    EXPECT_EQ(r.keyingType, c.keyingType) << c.what;
    EXPECT_EQ(s.Text[1], QStringLiteral("F1")) << c.what;
    // A refused interval leaves the timer as it was.
    if (!c.complete) EXPECT_EQ(s.repeatMs, 0) << c.what;
  }
}

// cw.txt has no escape for a double quote: one inside a bare item is dropped
// when read, so the text and the number read are what is written back.
TEST(CwTxtRestore, AQuoteInABareItemIsDropped) {
  const QStringList lines = {"CQ \"FD\" DE", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"3\"",
                             "\"20\"", "\"\"", "\"\"", "1\"", "2", "\"888\"", "0", "1\".5"};
  CWSettings s;
  const CWRestore r = restoreCwTxt(crlf(lines), s);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(s.Text[1], QStringLiteral("CQ FD DE"));
  EXPECT_EQ(s.txtSpace, QStringLiteral("1"));
  EXPECT_EQ(s.txtCWLoop, QStringLiteral("1.5"));
  EXPECT_EQ(s.repeatMs, 1500);
  CWSettings again;
  EXPECT_TRUE(restoreCwTxt(cwTxtBytes(s, *r.keyingType), again).complete);
  EXPECT_EQ(again.Text[1], s.Text[1]);
  EXPECT_EQ(again.txtCWLoop, s.txtCWLoop);
}

TEST_F(CWSettingsTest, UpperCaseNameReadOnlyWhenAlone) {
  writeFile(QStringLiteral("CW.txt"), crlf({"\"OLD\""}));
  service->loadCWSettings();
  EXPECT_EQ(set().Text[1], QStringLiteral("OLD"));
  writeFile(QStringLiteral("cw.txt"), crlf({"\"NEW\""}));
  service->loadCWSettings();
  EXPECT_EQ(set().Text[1], QStringLiteral("NEW"));
}

TEST_F(CWSettingsTest, DoneThatCannotWriteKeepsTheOldFile) {
  writeFile(QStringLiteral("cw.txt"), kFresh);
  frm().Text[1]->setText(QStringLiteral("A MESSAGE LONG ENOUGH TO FILL THE DISK"));
  fake->dialogs->answers = {Answer::Ok};
  {
    test::ScopedFileSizeLimit full(20);
    frm().Command1_Click();
  }
  EXPECT_EQ(readFile(QStringLiteral("cw.txt")), kFresh);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_TRUE(fake->dialogs->shown[0].text.contains(path(QStringLiteral("cw.txt"))));
  EXPECT_FALSE(frm().isVisible());
  EXPECT_FALSE(fake->registry->values.contains(QStringLiteral("Settings/UserCWSelection")));
}

TEST_F(CWSettingsTest, BoxRules) {
  CWFrm& w = frm();
  // A double quote never enters a stored box, typed or pasted; letters go upper case; blanks stay.
  test::pasteByMenu(w.Text[3], QStringLiteral("say \"hi\""));
  EXPECT_EQ(w.Text[3]->text(), QStringLiteral("SAY HI"));
  w.Text[14]->pasteText(QStringLiteral("\""));
  EXPECT_EQ(w.Text[14]->text(), QStringLiteral("&H378"));
  // Repeat seconds.
  const struct { const char* text; const char* after; int ms; } loops[] = {
      {"59.9", "59.9", 59900}, {"60", "0", 0}, {"2.5", "2.5", 2500}, {".", "0", 0}};
  for (const auto& c : loops) {
    w.txtCWLoop->setText(QString::fromLatin1(c.text));
    w.txtCWLoop_LostFocus();
    EXPECT_EQ(w.txtCWLoop->text(), QString::fromLatin1(c.after)) << c.text;
    EXPECT_EQ(set().repeatMs, c.ms) << c.text;
  }
  // Word space: below -8 becomes -8 at once; Less and More.
  w.txtSpace->setText(QStringLiteral("-9"));
  EXPECT_EQ(w.txtSpace->text(), QStringLiteral("-8"));
  w.Command5_Click();
  EXPECT_EQ(w.txtSpace->text(), QStringLiteral("-8"));
  w.Command6_Click();
  w.Command6_Click();
  EXPECT_EQ(set().txtSpace, QStringLiteral("-6"));
  w.txtSpace->setText(QStringLiteral("-"));
  w.txtSpace_LostFocus();
  EXPECT_EQ(w.txtSpace->text(), QStringLiteral("0"));
  // Speed: ":" is accepted, leaving turns it into "0"; Faster and Slower.
  w.Text[11]->setText(QStringLiteral("1:"));
  w.Text11_LostFocus();
  EXPECT_EQ(set().Text[11], QStringLiteral("0"));
  w.Command2->click();
  EXPECT_EQ(w.Text[11]->text(), QStringLiteral("1"));
  // The serial port box: a non-number becomes "0" and the port is closed.
  w.Text[10]->setText(QStringLiteral(":"));
  w.Text10_LostFocus();
  EXPECT_EQ(set().Text[10], QStringLiteral("0"));
  EXPECT_FALSE(service->Comm->isOpen());
  w.Text[10]->setText(QStringLiteral("2"));
  w.Text10_LostFocus();
  EXPECT_TRUE(service->Comm->isOpen());
  EXPECT_EQ(service->Comm->commPort(), 2);
  // Key-line options set KeyingType and nothing else.
  w.Option3->click();
  EXPECT_EQ(state.KeyingType, 3);
  EXPECT_TRUE(service->Comm->isOpen());
  w.Option4->click();
  EXPECT_EQ(state.KeyingType, 0);
}

TEST_F(CWSettingsTest, TimingChoiceRegistryAndTrims) {
  // Stored "Loop" with a count: the count survives, no calibration.
  fake->registry->values.insert(QStringLiteral("Settings/UserCWSelection"), QStringLiteral("Loop"));
  fake->registry->values.insert(QStringLiteral("Settings/UserCWLoopOffset"), QStringLiteral("1000"));
  service->loadCWSettings();
  EXPECT_EQ(set().timing, CWTiming::Loop);
  EXPECT_EQ(set().LoopsPer60ms, 1000);
  CWFrm& w = frm();
  EXPECT_TRUE(w.optLoop->isChecked());
  EXPECT_TRUE(w.txtLoop->isEnabled());
  w.cmdLoopFaster_Click();
  EXPECT_EQ(w.txtLoop->text(), QStringLiteral("900"));
  w.cmdLoopSlower_Click();
  EXPECT_EQ(w.txtLoop->text(), QStringLiteral("1000"));
  w.txtLoop->setText(QStringLiteral("25"));
  w.cmdLoopFaster_Click();
  EXPECT_EQ(set().LoopsPer60ms, 22);
  w.txtLoop->setText(QStringLiteral("abc"));  // not a number: the count stays
  EXPECT_EQ(set().LoopsPer60ms, 22);
  w.txtLoop->setText(QStringLiteral("42857143"));
  w.OptSleep->click();
  EXPECT_FALSE(w.txtLoop->isEnabled());
  w.Command1_Click();
  EXPECT_EQ(fake->registry->values.value(QStringLiteral("Settings/UserCWSelection")), QStringLiteral("Sleep"));
  EXPECT_EQ(fake->registry->values.value(QStringLiteral("Settings/UserCWLoopOffset")), QStringLiteral("42857143"));

  // "loop" in lower case keeps the layout's "Timer".
  service.reset();
  fake->registry->values.insert(QStringLiteral("Settings/UserCWSelection"), QStringLiteral("loop"));
  service = std::make_unique<KeyingService>(state);
  service->loadCWSettings();
  EXPECT_EQ(set().timing, CWTiming::Timer);
  // Clicking "Loop" with a count of 0 measures; clicking again keeps it.
  set().LoopsPer60ms = 0;
  setVirtualLoopNs(7e6 / 5e6);
  frm().optLoop->click();
  EXPECT_EQ(frm().txtLoop->text(), QStringLiteral("42857143"));
  setVirtualLoopNs(1e6 / 5e6);
  frm().optTimer->click();
  frm().optLoop->click();
  EXPECT_EQ(set().LoopsPer60ms, 42857143);
  setVirtualLoopNs(0);
}

TEST_F(CWSettingsTest, TestButtonSendsF9WithoutAPortCheck) {
  CWFrm& w = frm();
  set().Text[9] = QStringLiteral("VVV DE ");
  set().Text[10] = QStringLiteral("x");  // only an edited file gets this far
  state.KeyingType = 5;
  QString sent;
  service->cw().wkTransmit = [&] { sent = state.CWBuffer; state.CWBuffer.clear(); };
  w.Command4_Click();
  EXPECT_EQ(sent, QStringLiteral("VVV DE "));
  EXPECT_FALSE(w.Label23->isVisible());
}

TEST_F(CWSettingsTest, ReleaseAllLeavesNothingKeyed) {
  set().Text[10] = QStringLiteral("1");
  state.KeyingType = 1;
  service->cw().CWSetup();
  service->cw().set.Text[1] = QStringLiteral("EEE");
  // Exit arrives inside the first character.
  QMetaObject::invokeMethod(qApp, [this] { service->releaseAll(); }, Qt::QueuedConnection);
  int f1 = 112;
  service->fKeyCW(f1);
  auto* comm = dynamic_cast<FakeSerialPort*>(service->Comm.get());
  EXPECT_FALSE(comm->isOpen());
  EXPECT_FALSE(comm->rtsEnable());
  EXPECT_TRUE(state.CWBuffer.isEmpty());
  EXPECT_EQ(state.CWSending, 0);
  EXPECT_TRUE(service->provides(KeyingServices::Feature::CWSetup));
}

TEST_F(CWSettingsTest, WindowCaptionAndScaling) {
  CWFrm& w = frm();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("CW String Selections"));
  EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(w.cmdConfWinkey->isVisible());
  // The offscreen work area 12000 twips wide: the font factor 1.25 stays under the cap.
  EXPECT_NEAR(w.layout.fontSize, 8.25 * 1.25, 0.01);
  fake->screen->workW = 24000;
  fake->screen->workH = 18000;
  CWFrm big(service->cw(), state, &main);
  EXPECT_NEAR(big.layout.fontSize, 8.25 * 1.5, 0.01);
}

}  // namespace
}  // namespace fd
