// The spotting window's AGW link against a scripted engine.
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

agw::Frame frame(char kind, const char* from, const QByteArray& data, const char* to = "N0CALL") {
  agw::Frame f;
  f.kind = kind;
  f.callFrom = QString::fromLatin1(from);
  f.callTo = QString::fromLatin1(to);
  f.data = data;
  return f;
}

class AgwLink : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    state.MyCall = QStringLiteral("N0CALL");
    svc.attach(main);
    svc.agwSeam = &engine;
  }
  void TearDown() override { svc.unload(SideWindow::PacketSpotfrm); }
  PacketSpotfrm* open() {
    PacketSpotfrm* w = svc.loadSpotWindow();
    w->List1->setCurrentRow(3);
    w->Command1_Click();
    return w;
  }
  void type(PacketSpotfrm* w, const QString& text) {
    w->txtSent->setText(text);
    int k = 13;
    w->txtSent_KeyPress(k);
  }
  int rows() { return main.view.list.topLevelItemCount(); }
  test::FakeMainWindow main{&state};
  SpotService svc{state};
  RecordingAgwSeam engine;
};

TEST_F(AgwLink, OpenWithTheEnginePresentAndAbsent) {
  PacketSpotfrm* w = open();
  EXPECT_EQ(engine.calls, QStringList{QStringLiteral("start N0CALL")});
  EXPECT_EQ(w->monitorText(), QStringLiteral("** Attempting to Open Port **\r\n\r\n\r\n** Successfully connected to AGW "
                                             "Packet Engine **\r\n\r\n"));
  EXPECT_TRUE(w->Timer1.isActive());
  w->Command2_Click();
  engine.accept = false;
  fake->dialogs->answers.push_back(Answer::Ok);
  w->Command1_Click();
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("Unable to connect to the AGW Packet Engine."));
  EXPECT_FALSE(w->listening());
  EXPECT_FALSE(w->Timer1.isActive());
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("- Click Open from this program.\r\n\r\n")));
}

// Open Port while the link runs registers again; a tick in the middle of it
// would take the engine's answer to the registration.
TEST_F(AgwLink, ReopeningARunningLinkKeepsTheTimerOutOfTheRegistration) {
  PacketSpotfrm* w = open();
  ASSERT_TRUE(w->Timer1.isActive());
  bool tickable = true;
  engine.registering = [&] { tickable = w->Timer1.isActive(); };
  w->Command1_Click();
  EXPECT_FALSE(tickable);
  EXPECT_TRUE(w->Timer1.isActive());
  EXPECT_EQ(engine.calls.count(QStringLiteral("start N0CALL")), 2);
}

TEST_F(AgwLink, EmptyOwnCall) {
  state.MyCall = QStringLiteral("   ");
  fake->dialogs->answers.push_back(Answer::Ok);
  PacketSpotfrm* w = open();
  EXPECT_EQ(fake->dialogs->beeps, 1);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("Call Sign Required!"));
  EXPECT_TRUE(engine.calls.isEmpty());
  EXPECT_FALSE(w->Timer1.isActive());
}

TEST_F(AgwLink, MonitoredSpotsConnectionAndDisconnection) {
  PacketSpotfrm* w = open();
  const QByteArray spot = "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z";
  const QByteArray ui = " 1:Fm W1AW To APRS <UI pid=F0 Len=74 PF=0 >[12:00:00]\r" + spot + "\r" + '\0';
  engine.incoming.push_back(frame('U', "W1AW", ui));
  engine.incoming.push_back(frame('U', "W1AW", ui));
  w->Timer1_Timer();
  EXPECT_EQ(rows(), 1);  // heard twice within the tail: posted once
  EXPECT_FALSE(w->monitorText().contains(QStringLiteral("Fm W1AW")));  // its display line is not shown

  type(w, QStringLiteral(":c k1ttt-5"));
  EXPECT_EQ(engine.calls.last(), QStringLiteral("C K1TTT-5"));
  EXPECT_FALSE(engine.calls.join(u'|').contains(QStringLiteral("P ")));
  engine.incoming.push_back(frame('C', "K1TTT-5", QByteArray("*** CONNECTED With Station K1TTT-5\r") + '\0'));
  w->Timer1_Timer();
  EXPECT_EQ(w->ConnectedCall, QStringLiteral("K1TTT-5"));
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("** Connected to K1TTT-5 **")));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("DX Spotting Setup - Connected to K1TTT-5"));
  EXPECT_EQ(fake->dialogs->beeps, 1);

  type(w, QStringLiteral("sh/dx"));
  EXPECT_EQ(engine.calls.last(), QStringLiteral("D K1TTT-5 sh/dx\r"));
  engine.incoming.push_back(frame('D', "K1TTT-5",
                                  "DX de K1TTT:     7026.0  9M2PUL       tnx QSO                        1002Z\r"
                                  "DX de K1TTT:     3525.0  E51DWC       cq up                          0917Z\r"));
  w->Timer1_Timer();
  EXPECT_EQ(rows(), 3);  // two spot lines in one frame: both posted
  // A spot split between two frames is posted once, whole.
  engine.incoming.push_back(frame('D', "K1TTT-5", "DX de K1TTT:      7093.0  OT6"));
  w->Timer1_Timer();
  EXPECT_EQ(rows(), 3);
  engine.incoming.push_back(frame('D', "K1TTT-5", "V/P       onff                           1001Z\r"));
  w->Timer1_Timer();
  ASSERT_EQ(rows(), 4);
  EXPECT_EQ(main.view.list.topLevelItem(0)->text(0), QStringLiteral("OT6V/P"));
  for (int i = 0; i < 2; ++i) {
    engine.incoming.push_back(frame('D', "K1TTT-5", "K1TTT-5 de N0CALL >\r"));
    w->Timer1_Timer();
  }
  EXPECT_EQ(w->monitorText().count(QStringLiteral("K1TTT-5 de N0CALL >")), 2);

  type(w, QStringLiteral(":D"));
  EXPECT_EQ(engine.calls.last(), QStringLiteral("d K1TTT-5"));
  engine.incoming.push_back(frame('d', "K1TTT-5", "*** DISCONNECTED From Station K1TTT-5\r"));
  w->Timer1_Timer();
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("\r\n** Disconnected from K1TTT-5 **\r\n")));
  EXPECT_EQ(fake->dialogs->beeps, 3);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("DX Spotting Setup"));
  EXPECT_TRUE(w->ConnectedCall.isEmpty());
}

// The connected station's text shows as it comes, a prompt without a line
// end at once and the other lines of a frame that holds a spot; only a line
// that may be a spot line waits for its end.
TEST_F(AgwLink, TheConnectedStationsTextShowsAsItComes) {
  PacketSpotfrm* w = open();
  engine.incoming.push_back(frame('c', "K1TTT-5", QByteArray("*** CONNECTED With Station K1TTT-5\r")));
  w->Timer1_Timer();
  ASSERT_EQ(w->ConnectedCall, QStringLiteral("K1TTT-5"));
  const QByteArray spot = "DX de K1TTT:     7026.0  9M2PUL       tnx QSO                        1002Z";
  const struct { QByteArray data; QString shows; int listed; } frames[] = {
      {"K1TTT-5 de N0CALL >", "K1TTT-5 de N0CALL >", 0},
      {"\rHello from K1TTT\r" + spot + "\rTo ALL de W1AW: QRT\r",
       "\r\nHello from K1TTT\r\n" + QString::fromLatin1(spot) + "\r\nTo ALL de W1AW: QRT\r\n", 1},
      {"DX de K1TTT:      7093.0  OT6", "", 1},  // may be a spot: held
      {"V/P       onff                           1001Z\r\nK1TTT-5 de N0CALL >",
       // each CR and each LF is a line break, as in every frame
       "DX de K1TTT:      7093.0  OT6V/P       onff                           1001Z\r\n\r\nK1TTT-5 de N0CALL >", 2},
      {" and more\r", " and more\r\n", 2},  // the rest of a line already shown
  };
  for (const auto& r : frames) {
    const QString before = w->monitorText();
    engine.incoming.push_back(frame('D', "K1TTT-5", r.data));
    w->Timer1_Timer();
    EXPECT_EQ(w->monitorText().mid(before.size()).toStdString(), r.shows.toStdString()) << r.data.constData();
    EXPECT_EQ(rows(), r.listed) << r.data.constData();
  }
}

TEST_F(AgwLink, ClosePortWhileConnectedAndAVanishedEngine) {
  PacketSpotfrm* w = open();
  w->ConnectedCall = QStringLiteral("K1TTT-5");
  w->Command2_Click();
  EXPECT_EQ(engine.calls.mid(1), (QStringList{QStringLiteral("d K1TTT-5"), QStringLiteral("close")}));
  w->Command1_Click();
  engine.gone = true;
  w->Timer1_Timer();
  EXPECT_FALSE(w->listening());
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("** Port Closed **")));
  EXPECT_FALSE(w->Timer1.isActive());
}

TEST_F(AgwLink, ABlankAfterThe70thCharacterSendsTheLine) {
  PacketSpotfrm* w = open();
  w->ConnectedCall = QStringLiteral("K1TTT-5");
  const QString seventy(70, u'a');
  w->txtSent->setText(seventy);
  EXPECT_EQ(engine.calls.size(), 1);
  w->txtSent->setText(seventy + u' ');
  EXPECT_EQ(engine.calls.last(), QStringLiteral("D K1TTT-5 ") + seventy + u'\r');
  EXPECT_TRUE(w->txtSent->text().isEmpty());
  // Esc types a colon with this transport.
  int k = 27;
  w->txtSent_KeyPress(k);
  EXPECT_EQ(k, 58);
}

TEST_F(AgwLink, ADestinationTheHeaderCannotHoldSendsNothing) {
  PacketSpotfrm* w = open();
  type(w, QStringLiteral(":c K1TTTTTT-15"));
  EXPECT_EQ(engine.calls.size(), 1);
}

}  // namespace
}  // namespace fd
