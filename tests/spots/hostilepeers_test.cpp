// Hostile peers against the real spotting window, each for FD_SOAK_SECONDS:
// a telnet cluster that floods bytes without ever ending a line, and an AGW
// engine that announces a 4 GB frame and then streams. Memory stays flat,
// the event loop is never held 100 ms (SoakRun::expectBounded), and
// afterwards the link carries a spot again.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <iostream>

#include "fakeagw.h"
#include "fakecluster.h"
#include "fakemainwindow.h"
#include "platform/platform.h"
#include "soakmeter.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

const QByteArray kSpot = "DX de W3LPL:     14025.0  JA1ABC       CW 599                         1234Z";
using test::pump;

class HostilePeer : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform().clock = std::make_unique<SystemClock>();  // real waits on real sockets
    state.MyCall = QStringLiteral("N0CALL");
    svc.attach(main);
  }
  void TearDown() override { svc.unload(SideWindow::PacketSpotfrm); }
  int rows() { return main.view.list.topLevelItemCount(); }
  test::FakeMainWindow main{&state};
  SpotService svc{state};
};

TEST_F(HostilePeer, ClusterSendsMegabytesWithoutALineEnd) {
  sim::FakeCluster cluster;
  ASSERT_TRUE(cluster.listen());
  writeFile("PackSpot.txt",
            "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n0\r\n#FALSE#\r\n\"\"\r\n\"" +
                QByteArray::number(cluster.port()) + "\"\r\n\"127.0.0.1\"\r\n");
  PacketSpotfrm* w = svc.loadSpotWindow();
  w->show();
  ASSERT_TRUE(pump([&] { return cluster.hasClient(); }));

  cluster.startFlood();
  const int seconds = test::soakSeconds();
  test::SoakRun run;
  bool dropped = false;
  run.run(seconds * 1000, [&] { dropped = dropped || !w->listening(); });
  cluster.stopFlood();
  std::cout << run.summary(QStringLiteral("telnet cluster, no line end")).toStdString() << "\n  "
            << cluster.flooded / (1024 * 1024) << " MB sent" << std::endl;

  EXPECT_FALSE(dropped);
  EXPECT_GE(cluster.flooded, qint64(seconds) * 1024 * 1024);  // megabytes, not a trickle
  run.expectBounded();
  EXPECT_LE(w->monitorText().size(), 10000);

  // The line the flood never ended ends; the next one is a spot, posted.
  const int before = rows();
  cluster.write("\r\n" + kSpot + "\r\n");
  ASSERT_TRUE(pump([&] { return rows() > before; }, 10000));
  EXPECT_EQ(main.view.list.topLevelItem(0)->text(0), QStringLiteral("JA1ABC"));
}

TEST_F(HostilePeer, AgwEngineAnnouncesA4GBFrameAndStreams) {
  sim::FakeAgwEngine engine;
  ASSERT_TRUE(engine.listen());
  engine.announceLength = 0xFFFFFFFFu;
  test::ScopedEnv where("FIELDDAY_AGW", QByteArray("127.0.0.1:") + QByteArray::number(engine.port()));
  PacketSpotfrm* w = svc.loadSpotWindow();
  w->show();
  w->List1->setCurrentRow(3);
  w->Command1_Click();
  ASSERT_TRUE(w->listening());

  // The operator presses Open again each time the broken link closes.
  const int seconds = test::soakSeconds();
  test::SoakRun run;
  int reopened = 0;
  bool opening = false;
  run.run(seconds * 1000, [&] {
    if (opening || w->listening()) return;
    opening = true;
    ++reopened;
    w->Command1_Click();
    opening = false;
  });
  std::cout << run.summary(QStringLiteral("AGW engine, a 4 GB frame announced")).toStdString() << "\n  "
            << engine.announced << " links, " << engine.streamed / (1024 * 1024) << " MB streamed" << std::endl;

  // Each link is dropped at the header: nothing waits for 4 GB.
  EXPECT_GE(reopened, seconds);
  EXPECT_GE(engine.announced, reopened);
  EXPECT_EQ(rows(), 0);
  EXPECT_EQ(fake->dialogs->shown.size(), 0);
  run.expectBounded();

  // An engine that behaves again is taken at the next Open.
  ASSERT_TRUE(pump([&] { return !w->listening(); }));
  engine.announceLength.reset();
  w->Command1_Click();
  ASSERT_TRUE(w->listening());
  engine.sendMonitor(QStringLiteral("W1AW"), kSpot);
  ASSERT_TRUE(pump([&] { return rows() == 1; }));
  EXPECT_EQ(main.view.list.topLevelItem(0)->text(0), QStringLiteral("JA1ABC"));
}

}  // namespace
}  // namespace fd
