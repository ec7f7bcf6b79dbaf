// The link to the Zell RTTY program against a stand-in peer on a local
// socket: connecting, pokes, incoming values, a vanished or stalled peer, a
// peer of another user.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTest>
#include <optional>
#include <pwd.h>
#include <unistd.h>

#include "fakemainwindow.h"
#include "keying/keyingservice.h"
#include "testenv.h"
#include "zellpeer.h"
#include "zellpeerchild.h"

namespace fd::test {
namespace {

const QString kConnectedText = QStringLiteral(
    "Connected with Zell!\r\n\r\nFor best display of both programs on your screen, click Options > Appearance > "
    "Form Size and enter 85 from this program's menu options.");

class ZellTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    state.MyCall = "W1AW";
    state.MyClass = "2A";
    state.MySection = "ENY";
    service.attach(main);
    service.zellServerName = serverName;
  }
  void connectOk() {
    fake->dialogs->answers.push_back(Answer::Ok);
    service.connectZell();
    ASSERT_EQ(state.DigLinkUp, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer.lines.size() >= 3; }, 2000));
    peer.lines.clear();
    main.calls.clear();
    fake->dialogs->clear();
  }
  // Lets the socket traffic settle (real time: the bytes cross a real socket).
  void settle() { QTest::qWait(50); }
  // Connects through the menu to a stand-in in a child process.
  void connectTo(sim::ZellPeerChild& far) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return far.poll() || far.listening(); }, 5000));
    ASSERT_TRUE(far.listening()) << "the child peer did not start: " << far.failedStep().toStdString();
    service.zellServerName = far.socketPath();
    fake->dialogs->answers.push_back(Answer::Ok);
    service.connectZell();
  }
  // Closes the link and returns all the child read from it.
  QByteArray hangUp(sim::ZellPeerChild& far) {
    service.unload(SideWindow::frmDigitalSource);
    EXPECT_TRUE(QTest::qWaitFor([&] { return far.poll(); }, 5000)) << "the child peer did not end";
    return far.received();
  }

  SocketFolder sockets;
  QString serverName = sockets.path(QStringLiteral("zell"));
  sim::ZellPeer peer{serverName};
  FakeMainWindow main{&state};
  KeyingService service{state};
};

TEST_F(ZellTest, ConnectSendsTheStationOnceAndShowsTheSuccessBox) {
  ASSERT_TRUE(peer.listening());
  EXPECT_TRUE(service.provides(KeyingServices::Feature::Zell));
  main.call = "K9XX";
  fake->dialogs->answers.push_back(Answer::Ok);
  service.connectZell();
  EXPECT_EQ(state.DigLinkUp, 1);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Connected with Zell!");
  EXPECT_EQ(fake->dialogs->shown[0].text, kConnectedText);
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer.lines.size() >= 3; }, 2000));
  settle();
  EXPECT_EQ(peer.lines, QStringList({"txtBMyCall=W1AW", "txtBField1=2A", "txtBField2=ENY"}));
  // Emptying the incoming boxes clears the entry fields.
  EXPECT_EQ(main.call, "");
  EXPECT_TRUE(main.calls.contains("setFieldText 0 ")) << main.calls.join('|').toStdString();
  EXPECT_TRUE(main.calls.contains("setFieldText 1 "));
  EXPECT_TRUE(main.calls.contains("setFieldText 2 "));
}

TEST_F(ZellTest, NoPeerShowsTheFailureBoxAndSendsNothing) {
  peer.stop();
  state.DigLinkUp = 1;  // an earlier connection
  fake->dialogs->answers.push_back(Answer::Ok);
  service.connectZell();
  EXPECT_EQ(state.DigLinkUp, 0);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Unable to find Zell RTTY.");
  EXPECT_EQ(fake->dialogs->shown[0].text,
            "Please start Zell RTTY and click Options > Transmit > Connect to Zell RTTY to try again.");
  service.setDigitalCall("K1A");
  service.setDigitalKey("65");
  settle();
  EXPECT_TRUE(peer.lines.isEmpty());
}

TEST_F(ZellTest, PokesOnlyChangesOfTheOutgoingBoxes) {
  connectOk();
  // The main window's sequence for the keys K, 1, A after an earlier key (F10).
  service.setDigitalKey("");
  service.setDigitalKey("124");
  for (const char* step : {"K", "K1", "K1A"}) {
    service.setDigitalKey("");
    service.setDigitalKey(QString::number(QChar(QLatin1Char(step[strlen(step) - 1])).unicode()));
    service.setDigitalCall(step);
  }
  service.setDigitalCall("K1A");  // the same text again: no change
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer.lines.size() >= 10; }, 2000));
  settle();
  EXPECT_EQ(peer.lines, QStringList({"txtBField8=124", "txtBField8=", "txtBField8=75", "txtBUrCall=K",
                                     "txtBField8=", "txtBField8=49", "txtBUrCall=K1", "txtBField8=",
                                     "txtBField8=65", "txtBUrCall=K1A"}));
}

TEST_F(ZellTest, IncomingValuesFillTheFieldsInAnyMode) {
  state.CurMode = "CW";
  connectOk();
  peer.send("txtSField1=2a\n");
  peer.send("txtSField2=eny\r\n");
  peer.send("txtSUrCall=k1=x\n");  // "=" inside the text is text
  ASSERT_TRUE(QTest::qWaitFor([&] { return main.call == "K1=X"; }, 2000));
  EXPECT_EQ(main.cls, "2A");
  EXPECT_EQ(main.section, "ENY");
  // Ignored: no "=", an unknown item, an empty item name, a line over 1024 bytes.
  main.calls.clear();
  peer.send("txtSField1\n");
  peer.send("txtSField9=3A\n");
  peer.send("=3A\n");
  peer.send("txtSField1=" + QByteArray(1100, '7') + "\n");
  peer.send("txtSField2=" + QByteArray(600, 'x'));  // a long line in two pieces,
  peer.send(QByteArray(600, 'x') + "\n");           // still too long
  peer.send("txtSField1=1d\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return main.cls == "1D"; }, 2000));
  EXPECT_EQ(main.calls, QStringList({"setFieldText 1 1D"}));
  EXPECT_EQ(main.section, "ENY");
}

TEST_F(ZellTest, AnIncomingOutgoingItemIsPokedBack) {
  connectOk();
  peer.send("txtBUrCall=W2XYZ\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !peer.lines.isEmpty(); }, 2000));
  EXPECT_EQ(peer.lines, QStringList({"txtBUrCall=W2XYZ"}));
  EXPECT_EQ(service.frmDigitalSource->text("txtBUrCall"), "W2XYZ");
  EXPECT_TRUE(main.calls.isEmpty());
}

TEST_F(ZellTest, AVanishedPeerTakesNothingWithNoMessageAndTheMenuConnectsAnew) {
  connectOk();
  peer.dropClients();
  QTest::qWait(50);
  QElapsedTimer t;
  t.start();
  service.setDigitalCall("K1A");
  service.setDigitalKey("65");
  EXPECT_LT(t.elapsed(), 1000);
  EXPECT_EQ(state.DigLinkUp, 1);
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
  settle();
  EXPECT_TRUE(peer.lines.isEmpty());

  fake->dialogs->answers.push_back(Answer::Ok);
  service.connectZell();
  EXPECT_EQ(peer.connections, 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer.lines.size() >= 3; }, 2000));
  EXPECT_EQ(peer.lines, QStringList({"txtBMyCall=W1AW", "txtBField1=2A", "txtBField2=ENY"}));
  service.setDigitalKey("66");
  ASSERT_TRUE(QTest::qWaitFor([&] { return peer.lines.size() >= 4; }, 2000));
  EXPECT_EQ(peer.lines.last(), "txtBField8=66");
}

TEST_F(ZellTest, AStalledPeerCapsWhatWaitsAndNeverBlocks) {
  connectOk();
  peer.stopReading();
  ZellLink& link = service.frmDigitalSource->link();
  QElapsedTimer t;
  t.start();
  for (int i = 0; i < 20000; ++i) service.setDigitalCall(QStringLiteral("K%1").arg(i) + QString(40, u'X'));
  EXPECT_LT(t.elapsed(), 5000);
  EXPECT_LE(link.pendingBytes(), ZellLink::kMaxPending);
  EXPECT_GT(link.pendingBytes(), ZellLink::kMaxPending / 2);  // the peer really stopped taking bytes
  EXPECT_TRUE(link.isOpen());
}

TEST_F(ZellTest, UnloadClosesTheLink) {
  connectOk();
  service.unload(SideWindow::frmDigitalSource);
  EXPECT_EQ(service.frmDigitalSource, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !peer.hasClient(); }, 2000));
  service.setDigitalCall("K1A");  // nothing loaded: nothing happens
}

// The link talks only to a peer of our own user: whoever holds the socket's
// name may be someone else. The same stand-in, run as ourselves and as
// `nobody`, sends a call the moment a logger connects and reports what it reads.
const QByteArray kGreeting = "txtSUrCall=W1AW\n";

TEST_F(ZellTest, APeerOfOurOwnUserIsLinked) {
  sim::ZellPeerChild far(std::nullopt, kGreeting);
  connectTo(far);
  EXPECT_EQ(state.DigLinkUp, 1);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Connected with Zell!");
  EXPECT_TRUE(QTest::qWaitFor([&] { return main.call == "W1AW"; }, 2000));
  settle();
  EXPECT_EQ(hangUp(far).toStdString(), "txtBMyCall=W1AW\ntxtBField1=2A\ntxtBField2=ENY\n");
}

TEST_F(ZellTest, APeerOfAnotherUserIsRefusedBeforeAnyByte) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run a peer as another user";
  const passwd* nobody = getpwnam("nobody");
  ASSERT_NE(nobody, nullptr) << "no user nobody";
  sim::ZellPeerChild far(sim::ZellPeerChild::User{nobody->pw_uid, nobody->pw_gid}, kGreeting);
  connectTo(far);
  EXPECT_EQ(state.DigLinkUp, 0);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Unable to find Zell RTTY.");
  service.setDigitalCall("K1A");
  service.setDigitalKey("65");
  QTest::qWait(200);  // time for the greeting to land, were it read
  EXPECT_EQ(main.call.toStdString(), "");
  EXPECT_EQ(hangUp(far).toStdString(), "");
}

// A $TMPDIR too deep for a socket address: both ends use /tmp, and the link
// opens with no word but its success box.
TEST_F(ZellTest, ADeepTmpdirPutsTheSocketInTmpQuietly) {
  const QString deep = sockets.path(QString(130, u'd'));
  ASSERT_TRUE(QDir().mkpath(deep));
  ScopedEnv env("TMPDIR", QFile::encodeName(deep));
  const QString name = QStringLiteral("fdzell-deep-%1").arg(QCoreApplication::applicationPid());
  sim::ZellPeer far{name};
  ASSERT_TRUE(far.listening());
  EXPECT_TRUE(QFileInfo::exists("/tmp/" + name));
  service.zellServerName = name;
  fake->dialogs->answers.push_back(Answer::Ok);
  service.connectZell();
  EXPECT_EQ(state.DigLinkUp, 1);
  ASSERT_EQ(fake->dialogs->shown.size(), 1);
  EXPECT_EQ(fake->dialogs->shown[0].title, "Connected with Zell!");
  EXPECT_TRUE(QTest::qWaitFor([&] { return far.lines.size() >= 3; }, 2000));
}

TEST(ZellSocketPath, TmpdirWhenThePathFitsElseTmp) {
  const QString name = QStringLiteral("ZellRTTY.frmDigitalDest");
  // A folder that makes "<folder>/<name>" 107 bytes, all a socket address holds.
  const QByteArray atLimit = '/' + QByteArray(zell::kMaxSocketPath - 2 - name.size(), 'd');
  const QString inTmp = "/tmp/" + name;
  struct Case { const char* what; std::optional<QByteArray> tmpdir; QString want; };
  const Case cases[] = {
      {"short", "/var/tmp", "/var/tmp/" + name},
      {"trailing slashes", "/var/tmp//", "/var/tmp/" + name},
      {"107 bytes", atLimit, QString::fromUtf8(atLimit) + '/' + name},
      {"108 bytes", atLimit + 'd', inTmp},
      {"108 bytes in 107 characters", atLimit.chopped(1) + "\xc3\xa9", inTmp},
      {"far over", '/' + QByteArray(300, 'x'), inTmp},
      {"empty", QByteArray(""), inTmp},
      {"unset", std::nullopt, inTmp},
  };
  for (const Case& c : cases) {
    ScopedEnv env("TMPDIR", c.tmpdir);
    EXPECT_EQ(zell::socketPath(name), c.want) << c.what;
  }
  ScopedEnv env("TMPDIR", '/' + QByteArray(300, 'x'));
  EXPECT_EQ(zell::socketPath("/run/bridge/zell"), "/run/bridge/zell");  // a full path as given
}

TEST(ZellLine, ParsesAndFormatsTheProtocolLines) {
  struct Case { QByteArray line; bool ok; QString item, text; };
  const Case cases[] = {
      {"txtSUrCall=K1ABC", true, "txtSUrCall", "K1ABC"},
      {"txtSUrCall=K1ABC\r", true, "txtSUrCall", "K1ABC"},
      {"txtBField8=", true, "txtBField8", ""},
      {"txtSField1=a=b", true, "txtSField1", "a=b"},
      {"txtSField1=\xc3\xa9", true, "txtSField1", QString::fromUtf8("\xc3\xa9")},
      {"noequals", false, {}, {}},
      {"=x", false, {}, {}},
      {"txtSField1=" + QByteArray(1024 - 11, 'x'), true, "txtSField1", QString(1024 - 11, u'x')},
      {"txtSField1=" + QByteArray(1024 - 10, 'x'), false, {}, {}},
  };
  for (const Case& c : cases) {
    const auto m = ZellLink::parseLine(c.line);
    ASSERT_EQ(m.has_value(), c.ok) << c.line.toStdString();
    if (m) {
      EXPECT_EQ(m->first, c.item);
      EXPECT_EQ(m->second, c.text);
    }
  }
  EXPECT_EQ(ZellLink::formatLine("txtBUrCall", "K1\r\nA"), QByteArray("txtBUrCall=K1A\n"));
}

}  // namespace
}  // namespace fd::test
