// The Zell RTTY link behind the real main window: typed keys and the call
// field reach the peer in DIG only; values from the peer pass the entry
// fields' own filter.
#include "../log/form1_fixture.h"
#include "keying/keyingservice.h"
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
