// The Zell RTTY link behind the real main window: typed keys and the call
// field reach the peer in DIG only; values from the peer pass the entry
// fields' own filter.
#include <chrono>
#include <thread>

#include "../log/form1_fixture.h"
#include "keying/keyingservice.h"
#include "queuedinput.h"
#include "zellpeer.h"

namespace fd::test {
namespace {

class ZellWindow : public RoadForm {
 protected:
  void SetUp() override {
    RoadForm::SetUp();
    recorder = std::move(sv.keying);  // the fixture's recorder stays alive for its own bookkeeping
    auto k = std::make_unique<KeyingService>(state);
    zell = k.get();
    sv.keying = std::move(k);
    zell->zellServerName = sockets.path(QStringLiteral("zell"));
    peer = std::make_unique<sim::ZellPeer>(zell->zellServerName);
    state.MyCall = "W1AW";
    state.MyClass = "2A";
    state.MySection = "ENY";
  }
  void TearDown() override {
    RoadForm::TearDown();
    sv.keying.reset();
  }
  void openConnected(const QString& mode) {
    state.CurMode = mode;
    open();
    zell->attach(*form);
    fake->dialogs->answers.push_back(Answer::Ok);
    zell->connectZell();
    ASSERT_EQ(state.DigLinkUp, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->lines.size() >= 3; }, 2000));
    form->txtCall->setFocus(Qt::OtherFocusReason);
    peer->lines.clear();
  }
  QStringList received(int atLeast) {
    (void)QTest::qWaitFor([&] { return peer->lines.size() >= atLeast; }, 2000);
    QTest::qWait(30);
    return peer->lines;
  }

  SocketFolder sockets;
  std::unique_ptr<KeyingServices> recorder;
  KeyingService* zell = nullptr;
  std::unique_ptr<sim::ZellPeer> peer;
};

TEST_F(ZellWindow, TypingInDigPokesTheCallAndEveryKey) {
  openConnected("DIG");
  type("K1A");
  const QStringList lines = received(9);
  QStringList keys, calls;
  for (const QString& l : lines) (l.startsWith("txtBField8=") ? keys : calls) << l.mid(l.indexOf('=') + 1);
  // The box starts empty after connecting, so the first empty text is no change.
  EXPECT_EQ(keys, QStringList({"75", "", "49", "", "65"}));
  EXPECT_EQ(calls, QStringList({"K", "K1", "K1A"}));
  peer->lines.clear();
  key(Qt::Key_F10);
  EXPECT_EQ(received(2), QStringList({"txtBField8=", "txtBField8=124"}));
}

// A burst of keys and clicks that wait in the display's queue together: each
// key's step for the link lets the link's events run, and the keys and the
// click behind it must wait for their turn.
TEST_F(ZellWindow, ABurstKeepsItsOrderInTheBoxesTheLinkAndTheLog) {
  const QString contact = QStringLiteral("k0spc\t2b\tmn\r");
  const QList<int> contactCodes = {75, 48, 83, 80, 67, 50, 66, 77, 78, 13};  // Tab moves on, unsent
  const QStringList contactCalls = {"K", "K0", "K0S", "K0SP", "K0SPC", ""};
  const struct {
    const char* name;
    QString before;     // typed ahead of a click on Clear ("": no click)
    bool slowPeer;      // each key comes in while the peer is busy with a line
  } rows[] = {
      {"one burst", {}, false},
      {"keys arriving while the peer reads", {}, true},
      {"Clear clicked inside the burst", QStringLiteral("w1aw"), false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    openConnected("DIG");
    QString waiting = contact;
    if (r.slowPeer) {
      peer->onLine = [&](const QString&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (!waiting.isEmpty()) queueKeys(form.get(), waiting.left(1));
        waiting.remove(0, 1);
      };
      queueKeys(form.get(), waiting.left(1));
      waiting.remove(0, 1);
    } else {
      if (!r.before.isEmpty()) {
        queueKeys(form.get(), r.before);
        queueClick(form->cmdClear);
      }
      queueKeys(form.get(), contact);
    }
    const QStringList expectedCalls =
        r.before.isEmpty() ? contactCalls : QStringList{"W", "W1", "W1A", "W1AW", ""} + contactCalls;
    QList<int> expectedCodes = contactCodes;
    if (!r.before.isEmpty()) expectedCodes = QList<int>{87, 49, 65, 87} + contactCodes;
    // Done when Enter's code has gone out and the saved entry was cleared.
    const auto done = [&] {
      return peer->lines.contains("txtBField8=13") && peer->lines.endsWith("txtBUrCall=") &&
             readFile("fdlog.dat").size() > 0;
    };
    EXPECT_TRUE(QTest::qWaitFor(done, 5000)) << peer->lines.join('|').toStdString();
    QTest::qWait(30);
    peer->onLine = nullptr;

    QList<int> codes;
    QStringList calls;
    for (const QString& l : peer->lines) {
      if (l.startsWith("txtBField8=") && l.size() > 11) codes << l.mid(11).toInt();
      if (l.startsWith("txtBUrCall=")) calls << l.mid(11);
    }
    EXPECT_EQ(codes, expectedCodes);
    EXPECT_EQ(calls.join('|').toStdString(), expectedCalls.join('|').toStdString());
    const QList<QByteArray> saved = readFile("fdlog.dat").split('\n');
    EXPECT_TRUE(saved.first().startsWith("\"K0SPC\",\"2B\",\"MN\",")) << saved.first().toStdString();
    EXPECT_TRUE(saved.first().contains(",\"DIG\",")) << saved.first().toStdString();
    EXPECT_EQ(entry().join('|').toStdString(), "||");
    form->hide();
    form.reset();
  }
}

TEST_F(ZellWindow, NothingIsSentInCwOrPhone) {
  for (const char* mode : {"CW", "PH"}) {
    SCOPED_TRACE(mode);
    openConnected(mode);
    type("K1A");
    key(Qt::Key_F10);
    QTest::qWait(100);
    EXPECT_TRUE(peer->lines.isEmpty()) << peer->lines.join('|').toStdString();
    form->hide();
    form.reset();
  }
}

TEST_F(ZellWindow, IncomingValuesPassTheFieldFilter) {
  openConnected("CW");
  peer->send("txtSUrCall=k1\"abc\ttest\n");
  peer->send("txtSField1=2a\n");
  peer->send(QString("txtSField2=e\u20acny\u4e2d\n").toUtf8());  // the euro sign is in the 8-bit table
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form->txtSec->text().isEmpty(); }, 2000));
  EXPECT_EQ(entry(), QStringList({"K1ABCTEST", "2A", QString("E\u20acNY")}));
}

TEST_F(ZellWindow, ACallArrivingInDigIsPokedBack) {
  openConnected("DIG");
  peer->send("txtSUrCall=w9xyz\n");
  EXPECT_EQ(received(1), QStringList({"txtBUrCall=W9XYZ"}));
  EXPECT_EQ(form->txtCall->text(), "W9XYZ");
}

}  // namespace
}  // namespace fd::test
