// The spot store, CallPrefix and BandMapSpots (the main window's side).
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "spots/spotservice.h"
#include "spots/spotstore.h"
#include "testenv.h"

namespace fd {
namespace {

TEST(CallPrefix, Table) {
  const struct { const char* call; const char* prefix; } rows[] = {
      {"K1ABC", "K1"},     {"VE3/K1ABC", "VE3"}, {"K1ABC/3", "K3"}, {"K1ABC/VE3", "VE3"}, {"W1AW/KH6", "KH6"},
      {"JA1ABC", "JA1"},   {"3DA0XYZ", "3DA0"},  {"ABCD", "ABCD"},  {"AB", ""},           {"K1ABC/", ""},
      {"/K1ABC", ""},      {"OT6V/P", "P"},      {"EI55WAW", "EI55"}, {"E51DWC", "E51"},  {"9M2PUL", "9M2"},
      {"K1A", "K1"},       {"K1ABCD/7", "K7"},
  };
  for (const auto& r : rows) EXPECT_EQ(SpotStore::CallPrefix(QString::fromLatin1(r.call)), QString::fromLatin1(r.prefix)) << r.call;
  // A slash exactly at length / 2 + 1 (8 characters, slash at 5) takes the text behind it.
  EXPECT_EQ(SpotStore::CallPrefix(QStringLiteral("W1AW/KH6")), QStringLiteral("KH6"));
}

class SpotPosting : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.clock->setLocal(plainDateTime(QDate(2026, 6, 27), QTime(14, 5, 9)));
    state.MyCall = QStringLiteral("W1AW");
    svc.attach(main);
  }
  QTreeWidget& list() { return main.view.list; }
  void post(const QString& call, const QString& freq, const QString& record = QStringLiteral("de K1TTT:")) {
    svc.BandMapSpots(call, freq, record);
  }
  test::FakePlatform fake;
  ProgramState state;
  test::FakeMainWindow main{&state};
  SpotService svc{state};
};

TEST_F(SpotPosting, FirstSpotLandsInSlot49AndTheFiftyFirstPushesTheFirstOut) {
  post(QStringLiteral("K1ABC"), QStringLiteral("14025"));
  EXPECT_EQ(svc.store.slot[49].call, QStringLiteral("K1ABC"));
  EXPECT_FLOAT_EQ(svc.store.slot[49].freq, 14.025f);
  EXPECT_EQ(svc.store.slot[49].time, fake.clock->localNow());
  EXPECT_EQ(svc.store.slot[49].prefix, QStringLiteral("K1"));
  for (int i = 0; i < 49; ++i) {
    EXPECT_EQ(svc.store.slot[i].freq, 0) << i;
    EXPECT_EQ(svc.store.slot[i].time, SpotStore::emptyTime()) << i;  // never a null date-time
  }
  for (int n = 2; n <= 51; ++n) post(QStringLiteral("K%1AA").arg(n), QStringLiteral("7000"));
  EXPECT_EQ(svc.store.slot[0].call, QStringLiteral("K2AA"));
  EXPECT_EQ(svc.store.slot[49].call, QStringLiteral("K51AA"));
  EXPECT_EQ(svc.store.slot[0].prefix, QStringLiteral("K2"));
}

TEST_F(SpotPosting, SpottedAgainRetiresTheMostRecentEarlierSlotButNotSlotZero) {
  post(QStringLiteral("K1ABC"), QStringLiteral("14025"));
  for (const char* c : {"N1A", "N2B", "N3C"}) post(QString::fromLatin1(c), QStringLiteral("7000"));
  post(QStringLiteral("K1ABC"), QStringLiteral("14030"));
  EXPECT_EQ(svc.store.slot[45].call, QStringLiteral("K1ABC"));
  EXPECT_EQ(svc.store.slot[45].freq, 0);
  EXPECT_FLOAT_EQ(svc.store.slot[49].freq, 14.03f);
  // A third spot zeroes only the second; the first was zeroed already.
  post(QStringLiteral("K1ABC"), QStringLiteral("14035"));
  EXPECT_EQ(svc.store.slot[48].freq, 0);
  EXPECT_EQ(svc.store.slot[44].freq, 0);

  // Pushed to slot 0, the old spot keeps its frequency when spotted again.
  SpotService other{state};
  other.attach(main);
  other.BandMapSpots(QStringLiteral("VE3X"), QStringLiteral("3525"), QString());
  for (int n = 0; n < 48; ++n) other.BandMapSpots(QStringLiteral("N%1B").arg(n), QStringLiteral("7000"), QString());
  ASSERT_EQ(other.store.slot[1].call, QStringLiteral("VE3X"));
  other.BandMapSpots(QStringLiteral("VE3X"), QStringLiteral("3526"), QString());
  ASSERT_EQ(other.store.slot[0].call, QStringLiteral("VE3X"));
  EXPECT_FLOAT_EQ(other.store.slot[0].freq, 3.525f);
  EXPECT_FLOAT_EQ(other.store.slot[49].freq, 3.526f);
}

TEST_F(SpotPosting, OwnCallAlertComesFirstEvenForASpotThatIsDropped) {
  post(QStringLiteral("W1AW"), QStringLiteral("14O25.0"), QStringLiteral("de K1TTT:  rec\r\nmore"));
  EXPECT_EQ(fake.dialogs->beeps, 1);
  EXPECT_EQ(main.status, QStringLiteral("You've been spotted! "));
  EXPECT_EQ(main.statusBack, rgbValue(255, 255, 255));
  EXPECT_EQ(main.view.dupe, QStringLiteral("You've been spotted!  de K1TTT:  rec\r\nmore"));
  EXPECT_EQ(main.view.back, rgbValue(255, 255, 255));
  EXPECT_EQ(svc.store.slot[49].freq, 0);
  EXPECT_EQ(list().topLevelItemCount(), 0);
}

TEST_F(SpotPosting, BadFrequenciesAndEmptyCallsAreDroppedBeforeTheStore) {
  for (const char* f : {"1E99", "&H10", "14O25.0", "", "0", "14.0.25", "-7000", " 7000"}) {
    post(QStringLiteral("K1ABC"), QString::fromLatin1(f));
    EXPECT_EQ(svc.store.slot[49].freq, 0) << f;
  }
  // An empty call is dropped and never matches an empty own call.
  state.MyCall.clear();
  post(QString(), QStringLiteral("14025"));
  EXPECT_EQ(fake.dialogs->beeps, 0);
  EXPECT_EQ(list().topLevelItemCount(), 0);
}

// The serial and telnet links split lines at line feeds only: a CR inside the
// call columns is no call for the store, the band map or the list.
TEST_F(SpotPosting, ACallHoldingALineBreakIsDropped) {
  for (const char* call : {"K1\rABC", "K1\nABC"}) {
    post(QString::fromLatin1(call), QStringLiteral("14025"));
    EXPECT_EQ(svc.store.slot[49].freq, 0) << call;
  }
  EXPECT_EQ(list().topLevelItemCount(), 0);
}

TEST_F(SpotPosting, ListRowColumns) {
  const QString line = QStringLiteral("DX de W3LPL:     14025.0  JA1ABC       CW 599 up 2                    1234Z");
  svc.BandMapSpots(QStringLiteral("JA1ABC"), QStringLiteral("14025.0"), line.mid(3));
  ASSERT_EQ(list().topLevelItemCount(), 1);
  QTreeWidgetItem* row = list().topLevelItem(0);
  EXPECT_EQ(row->text(0), QStringLiteral("JA1ABC"));
  EXPECT_EQ(row->text(1), QStringLiteral("14.025"));
  EXPECT_EQ(row->text(2), QString());
  EXPECT_EQ(row->text(3), QString());
  EXPECT_EQ(row->text(4), QStringLiteral("de W3LPL:  CW 599 up 2"));
  EXPECT_EQ(row->text(6), QStringLiteral("1234"));

  post(QStringLiteral("K1ABC"), QStringLiteral("14025.5"));
  EXPECT_EQ(list().topLevelItem(0)->text(1), QStringLiteral("14.0255"));
  EXPECT_FLOAT_EQ(svc.store.slot[49].freq, 14.0255f);
  post(QStringLiteral("AC2K"), QStringLiteral("7025.3"));
  EXPECT_EQ(list().topLevelItem(0)->text(1), QStringLiteral("7.0253"));
  // A CR at position 1 empties the record: Comments holds just the two blanks.
  post(QStringLiteral("K2ABC"), QStringLiteral("7000"), QStringLiteral("\rde X"));
  EXPECT_EQ(list().topLevelItem(0)->text(4), QStringLiteral("  "));
}

TEST_F(SpotPosting, TheListStaysAtTwoHundredRows) {
  for (int n = 0; n < 205; ++n) post(QStringLiteral("K%1XX").arg(n), QStringLiteral("7000"));
  EXPECT_EQ(list().topLevelItemCount(), 200);
  EXPECT_EQ(list().topLevelItem(0)->text(0), QStringLiteral("K204XX"));
  EXPECT_EQ(list().topLevelItem(199)->text(0), QStringLiteral("K5XX"));
}

}  // namespace
}  // namespace fd
