// The AGW link against Debian's direwolf as a real engine: audio made by
// gen_packets goes into the engine's standard input, and the monitored frame
// must reach the spot store through our client and PollAGW.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

bool pumpUntil(const std::function<bool()>& done, const QElapsedTimer& total, int limitMs) {
  while (!done() && total.elapsed() < limitMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}

TEST(Direwolf, AMonitoredSpotReachesTheStore) {
  if (QStandardPaths::findExecutable(QStringLiteral("direwolf")).isEmpty() ||
      QStandardPaths::findExecutable(QStringLiteral("gen_packets")).isEmpty())
    GTEST_SKIP() << "direwolf is not installed";
  QElapsedTimer total;
  total.start();
  QTemporaryDir dir;
  quint16 port = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    port = probe.serverPort();
  }
  QFile conf(dir.filePath(QStringLiteral("direwolf.conf")));
  ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
  conf.write("ADEVICE stdin null\nACHANNELS 1\nCHANNEL 0\nMYCALL N0CALL\nMODEM 1200\nAGWPORT " +
             QByteArray::number(port) + "\nKISSPORT 0\n");
  conf.close();

  // The audio: the spot line as a UI frame, without a line end.
  const QByteArray line = "DX de W3LPL:     14025.0  JA1ABC       CW 599 up 2                    1234Z";
  QFile text(dir.filePath(QStringLiteral("spot.txt")));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("W1AW>APRS:" + line);
  text.close();
  QProcess gen;
  gen.start(QStringLiteral("gen_packets"), {QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-o"),
                                            dir.filePath(QStringLiteral("spot.wav")), text.fileName()});
  ASSERT_TRUE(gen.waitForFinished(10000));
  QFile wav(dir.filePath(QStringLiteral("spot.wav")));
  ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
  const QByteArray audio = wav.readAll().mid(44);
  ASSERT_FALSE(audio.isEmpty());

  QProcess engine;
  engine.setWorkingDirectory(dir.path());
  engine.setProcessChannelMode(QProcess::MergedChannels);
  engine.start(QStringLiteral("direwolf"), {QStringLiteral("-c"), conf.fileName(), QStringLiteral("-t"), QStringLiteral("0")});
  ASSERT_TRUE(engine.waitForStarted(5000));
  struct Stop {
    QProcess& p;
    ~Stop() {
      p.kill();  // by its own process
      p.waitForFinished(3000);
    }
  } stop{engine};
  // The engine listens once it has read its configuration.
  QTcpSocket probe;
  ASSERT_TRUE(pumpUntil([&] {
    if (probe.state() == QAbstractSocket::ConnectedState) return true;
    if (probe.state() == QAbstractSocket::UnconnectedState) probe.connectToHost(QHostAddress::LocalHost, port);
    return false;
  }, total, 10000)) << engine.readAll().toStdString();
  probe.abort();

  test::ScopedEnv where("FIELDDAY_AGW", QByteArray("127.0.0.1:") + QByteArray::number(port));
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

  engine.write(audio);
  engine.write(QByteArray(44100 * 2, '\0'));  // a second of silence
  const bool posted = pumpUntil([&] { return svc.store.slot[49].call == QLatin1String("JA1ABC"); }, total, 20000);
  EXPECT_TRUE(posted) << w->monitorText().toStdString() << engine.readAll().toStdString();
  if (posted) {
    EXPECT_FLOAT_EQ(svc.store.slot[49].freq, 14.025f);
    EXPECT_EQ(main.view.list.topLevelItem(0)->text(4), QStringLiteral("de W3LPL:  CW 599 up 2"));
  }
  svc.unload(SideWindow::PacketSpotfrm);
}

}  // namespace
}  // namespace fd
