// The spotting window's links against real peers: a TNC on a socat
// pseudo-terminal and the fake cluster on loopback TCP.
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QThread>
#include <QTreeWidget>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "fakecluster.h"
#include "fakemainwindow.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "testenv.h"

namespace fd {
namespace {

using test::pump;

QByteArray telnetFile(quint16 port) {
  return "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n0\r\n#FALSE#\r\n\"\"\r\n\"" +
         QByteArray::number(port) + "\"\r\n\"127.0.0.1\"\r\n";
}

class Links : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    svc.attach(main);
  }
  void TearDown() override { svc.unload(SideWindow::PacketSpotfrm); }
  int rows() { return main.view.list.topLevelItemCount(); }
  test::FakeMainWindow main{&state};
  SpotService svc{state};
};

TEST_F(Links, TelnetAgainstTheFakeCluster) {
  sim::FakeCluster cluster;
  ASSERT_TRUE(cluster.listen());
  writeFile("PackSpot.txt", telnetFile(cluster.port()));
  PacketSpotfrm* w = svc.loadSpotWindow();
  const QString head = QStringLiteral("Attempting connection to: 127.0.0.1:%1\r\n\r\n").arg(cluster.port());
  ASSERT_TRUE(pump([&] { return w->monitorText().endsWith(QStringLiteral("login: ")); }));
  EXPECT_EQ(w->monitorText(), head + QStringLiteral("login: "));
  w->txtSent->setText(QStringLiteral("N0CALL"));
  int k = 13;
  w->txtSent_KeyPress(k);
  ASSERT_TRUE(pump([&] { return cluster.received.endsWith("\r\n"); }));
  EXPECT_EQ(cluster.received, QByteArray("N0CALL\r\n"));

  const auto lines = sim::FakeCluster::capturedLines();
  QByteArray all;
  for (const QByteArray& l : lines) all += l;
  // Whole lines, two lines per write, a line split with a pause, one byte at a time.
  std::vector<QList<QByteArray>> scripts(4);
  scripts[0] = lines;
  for (qsizetype i = 0; i < lines.size(); i += 2) scripts[1] << lines[i] + lines[i + 1];
  scripts[2] = {all.left(100), all.mid(100)};
  for (char c : all.left(300)) scripts[3] << QByteArray(1, c);
  scripts[3] << all.mid(300);
  int expected = 0;
  for (const auto& script : scripts) {
    cluster.writeChunks(script);
    expected += 9;  // the skimmer line with shifted columns is no spot
    EXPECT_TRUE(pump([&] { return rows() >= expected; })) << expected;
    pump([] { return false; }, 50);
    EXPECT_EQ(rows(), expected);
  }
  EXPECT_EQ(main.view.list.topLevelItem(0)->text(0), QStringLiteral("ja1abc"));

  cluster.closeClient();
  ASSERT_TRUE(pump([&] { return !w->listening(); }));
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("\r\n\r\n** Port Closed **")));
  EXPECT_FALSE(w->Timer1.isActive());
  EXPECT_EQ(fake->dialogs->beeps, 0);
}

TEST_F(Links, TelnetWithNothingListening) {
  quint16 port = 0;
  {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    port = probe.serverPort();
  }
  writeFile("PackSpot.txt", telnetFile(port));
  PacketSpotfrm* w = svc.loadSpotWindow();
  ASSERT_TRUE(pump([&] { return !w->listening(); }));
  EXPECT_EQ(w->monitorText(), QStringLiteral("Attempting connection to: 127.0.0.1:%1\r\n\r\nERROR: Connection is "
                                             "forcefully rejected.\r\n\r\n** Port Closed **")
                                  .arg(port));
  EXPECT_EQ(fake->dialogs->beeps, 1);
  EXPECT_FALSE(w->Timer1.isActive());
}

TEST_F(Links, TncOnAPseudoTerminal) {
  QDir(dir.path()).mkdir(QStringLiteral("ports"));
  const QString a = path(QStringLiteral("ports/com2")), b = path(QStringLiteral("far"));
  QProcess socat;
  socat.start(QStringLiteral("socat"),
              {QStringLiteral("pty,raw,echo=0,link=") + a, QStringLiteral("pty,raw,echo=0,link=") + b});
  ASSERT_TRUE(socat.waitForStarted(3000));
  ASSERT_TRUE(pump([&] { return QFile::exists(a) && QFile::exists(b); }));
  writeFile("PackSpot.txt",
            "\"4800\"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n2\r\n\"N\"\r\n\"TNC\"\r\n0\r\n1\r\n0\r\n#FALSE#\r\n\"03\"\r\n\"\"\r\n\"\"\r\n");
  PacketSpotfrm* w = svc.loadSpotWindow();
  ASSERT_TRUE(w->comComm1->isOpen()) << w->comComm1->error().toStdString();
  EXPECT_EQ(w->comComm1->settings(), QStringLiteral("4800,N,8,2"));
  EXPECT_TRUE(w->monitorText().endsWith(QStringLiteral("** TNC Serial Port Open **\r\n\r\n")));
  const int far = ::open(QFile::encodeName(QFileInfo(b).symLinkTarget()).constData(), O_RDWR | O_NONBLOCK | O_NOCTTY);
  ASSERT_GE(far, 0);
  const QByteArray text = "cmd:\r\nDX de K1TTT:     14025.0  K1ABC        cw\r\nDX de W3LPL:      7026.0  9M2PUL       tnx\r\n";
  for (const QByteArray& part : {text.left(7), text.mid(7, 33), text.mid(40, 1), text.mid(41)}) {
    ASSERT_EQ(::write(far, part.constData(), static_cast<size_t>(part.size())), part.size());
    pump([] { return false; }, 40);
  }
  EXPECT_TRUE(pump([&] { return rows() == 2; }));
  EXPECT_EQ(main.view.list.topLevelItem(0)->text(0), QStringLiteral("9M2PUL"));
  EXPECT_EQ(main.view.list.topLevelItem(1)->text(0), QStringLiteral("K1ABC"));

  w->txtSent->setText(QStringLiteral("sh/dx 5"));
  int k = 13;
  w->txtSent_KeyPress(k);
  QByteArray got;
  pump([&] {
    char buf[64];
    const ssize_t n = ::read(far, buf, sizeof buf);
    if (n > 0) got.append(buf, static_cast<int>(n));
    return got.size() >= 8;
  });
  EXPECT_EQ(got, QByteArray("sh/dx 5\r"));
  ::close(far);
  socat.kill();
  socat.waitForFinished(3000);
  // A vanished device closes the port, and the monitor says so.
  EXPECT_TRUE(pump([&] { return !w->comComm1->isOpen(); }));
  EXPECT_TRUE(pump([&] { return !w->listening(); }));
  EXPECT_TRUE(w->monitorText().contains(QStringLiteral("** TNC Serial Port Lost **")));
}

}  // namespace
}  // namespace fd
