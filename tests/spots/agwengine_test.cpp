// Our AGW client over TCP against the fake engine, through the spotting window.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fakeagw.h"
#include "fakemainwindow.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {
using test::pump;

TEST(AgwEngineOverTcp, RegisterMonitorConnectAndVanish) {
  sim::FakeAgwEngine engine;
  ASSERT_TRUE(engine.listen());
  test::ScopedEnv where("FIELDDAY_AGW", QByteArray("127.0.0.1:") + QByteArray::number(engine.port()));
  QTemporaryDir dir;
  ProgramState state;
  state.ProgDir = dir.path();
  state.MyCall = QStringLiteral("N0CALL");
  test::FakeMainWindow main{&state};
  SpotService svc{state};
  svc.attach(main);
  PacketSpotfrm* w = svc.loadSpotWindow();
  w->List1->setCurrentRow(3);
  w->Command1_Click();
  ASSERT_TRUE(w->Timer1.isActive()) << w->monitorText().toStdString();
  EXPECT_EQ(w->monitorText(), QStringLiteral("** Attempting to Open Port **\r\n\r\n\r\n** Successfully connected to AGW "
                                             "Packet Engine **\r\n\r\n"));
  ASSERT_TRUE(pump([&] { return engine.monitorToggles > 0; }));
  pump([] { return false; }, 50);
  EXPECT_EQ(engine.monitorToggles, 1);  // a toggle: sent exactly once
  ASSERT_GE(engine.received.size(), 2);
  EXPECT_EQ(engine.received[0].kind, 'X');
  EXPECT_EQ(engine.received[0].callFrom, QStringLiteral("N0CALL"));

  engine.sendMonitor(QStringLiteral("W1AW"), "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z");
  ASSERT_TRUE(pump([&] { return main.view.list.topLevelItemCount() == 1; }));

  w->txtSent->setText(QStringLiteral(":c k1ttt-5"));
  int k = 13;
  w->txtSent_KeyPress(k);
  ASSERT_TRUE(pump([&] { return w->ConnectedCall == QLatin1String("K1TTT-5"); }));
  EXPECT_EQ(engine.received.last().kind, 'C');
  EXPECT_EQ(engine.received.last().callFrom, QStringLiteral("N0CALL"));
  EXPECT_EQ(engine.received.last().callTo, QStringLiteral("K1TTT-5"));
  for (const agw::Frame& f : engine.received) EXPECT_NE(f.kind, 'P');

  engine.vanish();
  ASSERT_TRUE(pump([&] { return !w->listening(); }));
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("** Port Closed **")));
  EXPECT_FALSE(w->Timer1.isActive());
  svc.unload(SideWindow::PacketSpotfrm);
}

TEST(AgwEngineOverTcp, RefusedRegistrationAndAbsentEngine) {
  sim::FakeAgwEngine engine;
  ASSERT_TRUE(engine.listen());
  engine.acceptRegistration = false;
  test::ScopedEnv where("FIELDDAY_AGW", QByteArray("127.0.0.1:") + QByteArray::number(engine.port()));
  auto client = makeTcpAgwEngine();
  EXPECT_FALSE(client->startPoll(QStringLiteral("N0CALL")));
  EXPECT_EQ(engine.monitorToggles, 0);
  engine.vanish();
  EXPECT_FALSE(client->startPoll(QStringLiteral("N0CALL")));  // nothing listening
}

}  // namespace
}  // namespace fd
