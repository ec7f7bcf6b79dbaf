// The set commands byte for byte, the band plan's mode for a frequency, and
// whole frequency changes on a fake port under the virtual clock.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "fakemainwindow.h"
#include "platform/platform.h"
#include "rig/bandplan.h"
#include "rig/rigcommands.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "rig/tuner.h"
#include "testenv.h"

namespace fd {
namespace {

QByteArray hex(const char* h) { return cat::HexTextToBytes(QString::fromLatin1(h)); }

QByteArray freqCmd(const char* family, float mhz, int vfo = 10) {
  const rig::RigFamily* f = rig::family(QString::fromLatin1(family));
  const cat::Requests r{QString::fromLatin1(f->freqRequest), QString::fromLatin1(f->modeRequest)};
  return rig::frequencyCommand(*f, mhz, r, vfo).value_or(QByteArray());
}

QByteArray modeCmd(const char* family, const char* mode) {
  const rig::RigFamily* f = rig::family(QString::fromLatin1(family));
  const cat::Requests r{QString::fromLatin1(f->freqRequest), QString::fromLatin1(f->modeRequest)};
  return rig::modeCommand(*f, QString::fromLatin1(mode), r).value_or(QByteArray());
}

TEST(RigCommands, FrequencyCommandsPerFamily) {
  const struct { const char* family; float mhz; QByteArray sent; } rows[] = {
      {"Kenwood", 14.025f, "FA00014025000;"},
      {"Kenwood", 7.2f, "FA00007200000;"},
      {"Elecraft", 14.025f, "FA00014025000;"},
      {"Yaesu FTdx9000", 14.025f, "FA14025000;"},
      {"Yaesu FTdx9000", 7.2f, "FA07200000;"},
      {"Icom", 14.025f, hex("FE FE 64 E0 05 00 50 02 14 00 FD")},
      {"Icom", 7.2f, hex("FE FE 64 E0 05 00 00 20 07 00 FD")},
      {"Icom 735", 14.025f, hex("FE FE 64 E0 05 00 50 02 14 FD")},
      {"Icom 735", 7.2f, hex("FE FE 64 E0 05 00 00 20 07 FD")},
      {"Ten Tec Omni VI", 14.025f, hex("FE FE 04 E0 05 00 50 02 14 00 FD")},
      {"Yaesu", 14.025f, hex("01 40 25 00 01")},
      {"Yaesu", 7.2f, hex("00 72 00 00 01")},
      {"Yaesu 757 GX II", 14.025f, hex("00 25 40 01 0A")},
      {"Yaesu 1000", 7.2f, hex("00 00 72 00 0A")},
      {"Ten Tec Fnt Pnl", 14.025f, hex("2A 41 00 D6 01 28 0D")},
      {"Ten Tec Fnt Pnl", 7.2f, hex("2A 41 00 6D DD 00 0D")},
      {"Ten Tec Orion", 14.025f, "*AF14025000\r"},
      {"Ten Tec Orion", 7.2f, "*AF7200000\r"},
      {"Yaesu", 7.0f, hex("00 70 00 00 01")},
      {"Icom", 50.125f, hex("FE FE 64 E0 05 00 50 12 50 00 FD")},
      {"Icom", 144.2f, hex("FE FE 64 E0 05 97 99 19 44 01 FD")},
      {"Kenwood", 144.2f, "FA00144199997;"},
      {"Yaesu", 144.2f, hex("14 42 00 00 01")},
      {"Kenwood", 28.475f, "FA00028475000;"},
      {"Kenwood", 14.02501f, "FA00014025010;"},
      {"Icom", 14.02501f, hex("FE FE 64 E0 05 10 50 02 14 00 FD")},
      {"Yaesu", 14.02501f, hex("01 40 25 01 01")},
      {"Yaesu 890", 14.02501f, hex("01 25 40 01 0A")},
      {"Ten Tec Fnt Pnl", 14.02501f, hex("2A 41 00 D6 01 32 0D")},
      {"Yaesu", 1270.0f, ""},
      {"Icom 735", 146.0f, ""},
      {"Kenwood", 0.0f, ""},
      {"Kenwood", -1.0f, ""},
      {"Other", 14.025f, ""},
      {"None", 14.025f, ""},
      {"Ten Tec Pegasus", 14.025f, ""},
  };
  for (const auto& r : rows) EXPECT_EQ(freqCmd(r.family, r.mhz), r.sent) << r.family << " " << r.mhz;
  EXPECT_EQ(freqCmd("Kenwood 2", 14.025f, 1), QByteArray("FB00014025000;"));
  EXPECT_EQ(freqCmd("Kenwood 2", 7.2f, 0), QByteArray("FA00007200000;"));
}

TEST(RigCommands, BadAddressesAndMarkersSendNothing) {
  const rig::RigFamily* icom = rig::family(QStringLiteral("Icom"));
  EXPECT_FALSE(rig::frequencyCommand(*icom, 14.025f, {QStringLiteral("FE FE 6"), {}}, 10));
  EXPECT_FALSE(rig::frequencyCommand(*icom, 14.025f, {QStringLiteral("FE FE XY E0 03 FD"), {}}, 10));
  const rig::RigFamily* ken = rig::family(QStringLiteral("Kenwood"));
  EXPECT_FALSE(rig::frequencyCommand(*ken, 14.025f, {QStringLiteral("F"), {}}, 10));
  const rig::RigFamily* ft = rig::family(QStringLiteral("Yaesu FTdx9000"));
  EXPECT_FALSE(rig::modeCommand(*ft, QStringLiteral("CW"), {QStringLiteral("FA;"), QStringLiteral("MD")}));
  EXPECT_EQ(rig::HexPairsToBytes(QStringLiteral("FE0")), QByteArray("\xFE\x00", 2));
  EXPECT_EQ(rig::HexPairsToBytes(QStringLiteral("FEGG")), QByteArray());
}

TEST(RigCommands, ModeCommandsPerFamily) {
  const struct { const char* family; const char* mode; QByteArray sent; } rows[] = {
      {"Kenwood", "LSB", "MD1;"}, {"Kenwood", "USB", "MD2;"}, {"Kenwood", "CW", "MD3;"}, {"Kenwood", "FM", "MD4;"},
      {"Kenwood", "AM", "MD5;"}, {"Kenwood", "RTTY", "MD6;"}, {"Kenwood", "FSK", "MD6;"}, {"Kenwood", "CW-R", ""},
      {"Kenwood 2", "USB", "MD2;"}, {"Elecraft", "CW", "MD3;"},
      {"Yaesu FTdx9000", "LSB", "MD01;"}, {"Yaesu FTdx9000", "CW-R", "MD07;"}, {"Yaesu FTdx9000", "RTTY", "MD06;"},
      {"Icom", "LSB", hex("FE FE 64 E0 06 00 FD")}, {"Icom", "CW", hex("FE FE 64 E0 06 03 FD")},
      {"Icom", "RTTY-R", hex("FE FE 64 E0 06 08 FD")}, {"Ten Tec Omni VI", "USB", hex("FE FE 04 E0 06 01 FD")},
      {"Yaesu", "LSB", hex("00 00 00 00 07")}, {"Yaesu", "DIG", hex("0A 00 00 00 07")},
      {"Yaesu", "PKT", hex("0C 00 00 00 07")}, {"Yaesu", "CW-R", ""},
      {"Yaesu 890", "CW-R", hex("00 00 00 03 0C")}, {"Yaesu 890", "FM", hex("00 00 00 06 0C")},
      {"Yaesu 1000", "PKT", hex("00 00 00 0A 0C")}, {"Yaesu 890", "DIG", ""},
      {"Icom 735", "CW", ""}, {"Ten Tec Orion", "CW", ""}, {"Ten Tec Fnt Pnl", "CW", ""}, {"Other", "CW", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(modeCmd(r.family, r.mode), r.sent) << r.family << " " << r.mode;
}

QString shippedPlan() { return QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"); }

TEST(BandPlan, ModeFromTheShippedPlan) {
  const rig::BandPlanFile f = rig::readBandPlan(shippedPlan());
  ASSERT_TRUE(f.opened);
  EXPECT_FALSE(f.malformed);
  EXPECT_LE(f.records.size(), 200);
  const auto plan = rig::extraRecords(f);
  const struct { float f; const char* mode; } rows[] = {
      {14.025f, "CW"}, {14.2f, "USB"}, {7.2f, "LSB"}, {3.9f, "LSB"}, {28.475f, "USB"}, {10.12f, "CW"},
      {1.9f, ""}, {14.15f, ""}, {5.368f, ""},
  };
  for (const auto& r : rows) {
    QString m;
    rig::ModeFromBandPlan(plan, r.f, m);
    EXPECT_EQ(m, QString::fromLatin1(r.mode)) << r.f;
  }
}

TEST(BandPlan, AnchorRowsOfTheShippedPlan) {
  const rig::BandPlanFile f = rig::readBandPlan(shippedPlan());
  auto segs = [&](const char* band, const char* cls) {
    QStringList out;
    for (const auto& r : f.records)
      if (r.band == QLatin1String(band) && r.cls == QLatin1String(cls))
        out << QStringLiteral("%1 %2-%3").arg(r.mode).arg(r.low).arg(r.high);
    return out.join(u", ");
  };
  EXPECT_EQ(segs("80", "E"), QStringLiteral("CW 3.5-3.6, PH 3.6-4"));
  EXPECT_EQ(segs("80", "G"), QStringLiteral("CW 3.525-3.6, PH 3.8-4"));
  EXPECT_EQ(segs("80", "T"), QStringLiteral("CW 3.525-3.6"));
  EXPECT_EQ(segs("80", "N"), QStringLiteral("CW 3.525-3.6"));
  EXPECT_EQ(segs("40", "G"), QStringLiteral("CW 7.025-7.125, PH 7.175-7.3"));
  EXPECT_EQ(segs("20", "E"), QStringLiteral("CW 14-14.15, PH 14.15-14.35"));
  EXPECT_EQ(segs("20", "G"), QStringLiteral("CW 14.025-14.15, PH 14.225-14.35"));
  EXPECT_EQ(segs("20", "T"), QString());
  EXPECT_EQ(segs("10", "T"), QStringLiteral("CW 28-28.3, PH 28.3-28.5"));
  EXPECT_EQ(segs("6", "T"), segs("6", "E"));
  EXPECT_EQ(segs("2", "N"), QString());
}

TEST(BandPlan, LoaderToleratesBadRecordsAndBlankLines) {
  QTemporaryDir dir;
  const QString p = dir.filePath(QStringLiteral("BandPlan.txt"));
  QFile f(p);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\"2024\"\r\n\"20\",\"O\",\"PH\",14,14.35\r\n\"20\",\"E\",\"CW\",x,14.15\r\n"
          "\"20\",\"E\",\"PH\",14.15,14.35  \r\n\r\n  \r\n");
  f.close();
  const rig::BandPlanFile b = rig::readBandPlan(p);
  EXPECT_EQ(b.date, QStringLiteral("2024"));
  EXPECT_TRUE(b.malformed);
  ASSERT_EQ(b.records.size(), 2);
  EXPECT_EQ(rig::extraRecords(b).size(), 1);
  EXPECT_FALSE(rig::readBandPlan(dir.filePath(QStringLiteral("none.txt"))).opened);
}

// The chart stops at 200 records; the rig window's table reads the whole
// file and keeps its first 200 class "E" records, wherever they stand.
TEST(BandPlan, TheRigTableReadsPastTheChartsLimit) {
  QTemporaryDir dir;
  const QString p = dir.filePath(QStringLiteral("BandPlan.txt"));
  const struct { int others, extras; qsizetype kept; float f; const char* mode; } rows[] = {
      {250, 1, 1, 14.0005f, "CW"},   // the only "E" record after the 200th
      {0, 210, 200, 14.2095f, ""},   // the 210th "E" record is not kept
      {0, 210, 200, 14.1995f, "CW"}, // the 200th is
  };
  for (const auto& r : rows) {
    QByteArray text = "\"2024\"\r\n";
    for (int i = 0; i < r.others; ++i) text += "\"20\",\"G\",\"CW\",14.025,14.15\r\n";
    for (int i = 0; i < r.extras; ++i)
      text += QStringLiteral("\"20\",\"E\",\"CW\",%1,%2\r\n").arg(14.0 + 0.001 * i).arg(14.0 + 0.001 * (i + 1)).toLatin1();
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    const rig::BandPlanFile b = rig::readBandPlan(p);
    EXPECT_TRUE(b.tooMany) << r.others;  // the chart refuses it
    const auto plan = rig::extraRecords(b);
    EXPECT_EQ(plan.size(), r.kept) << r.others;
    QString m;
    rig::ModeFromBandPlan(plan, r.f, m);
    EXPECT_EQ(m, QString::fromLatin1(r.mode)) << r.f;
  }
}

// A fake port that stamps every write with the (virtual) monotonic clock.
class TimedPort : public FakeSerialPort {
 public:
  QList<std::pair<std::int64_t, QByteArray>> log;
  bool output(const QByteArray& b) override {
    const bool ok = FakeSerialPort::output(b);
    if (ok) log.append({clock().monotonicMs(), b});
    return ok;
  }
};

class ChangeFrequencyTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    QFile::copy(shippedPlan(), path(QStringLiteral("BandPlan.txt")));
    state.RigType = QStringLiteral("None");
    setSerialFactory([this] {
      auto p = std::make_unique<TimedPort>();
      port = p.get();
      return p;
    });
  }
  void TearDown() override { setSerialFactory({}); }
  std::unique_ptr<RigControlfrm> polling(const char* family) {
    auto w = std::make_unique<RigControlfrm>(state, &main, nullptr);
    w->List1->setCurrentItem(w->List1->findItems(QString::fromLatin1(family), Qt::MatchExactly).value(0));
    w->List1_Click();
    w->Command1_Click();
    port->log.clear();
    return w;
  }
  // The writes of one ChangeFrequency, with their delay from its start.
  QList<std::pair<std::int64_t, QByteArray>> change(RigControlfrm& w, float mhz) {
    const std::int64_t t0 = clock().monotonicMs();
    port->log.clear();
    w.ChangeFrequency(mhz);
    auto out = port->log;
    for (auto& e : out) e.first -= t0;
    return out;
  }
  TimedPort* port = nullptr;
  test::FakeMainWindow main{&state};
};

TEST_F(ChangeFrequencyTest, KenwoodSequences) {
  auto w = polling("Kenwood");
  port->pending = "stale";
  const float f = 14.025f;
  auto log = change(*w, f);
  EXPECT_EQ(f, 14.025f);
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[0].second, QByteArray("MD3;"));
  EXPECT_GE(log[0].first, 99);
  EXPECT_EQ(log[1].second, QByteArray("FA00014025000;"));
  EXPECT_GE(log[1].first - log[0].first, 205);
  EXPECT_TRUE(w->polling());
  EXPECT_TRUE(port->pending.isEmpty());  // input discarded first
  const struct { float f; QList<QByteArray> sent; } rows[] = {
      {7.2f, {"MD1;", "FA00007200000;"}}, {14.2f, {"MD2;", "FA00014200000;"}}, {1.9f, {"FA00001900000;"}},
      {14.15f, {"FA00014150000;"}},      {5.368f, {"FA00005368000;"}},
  };
  for (const auto& r : rows) {
    QList<QByteArray> sent;
    for (const auto& e : change(*w, r.f)) sent << e.second;
    EXPECT_EQ(sent, r.sent) << r.f;
  }
  w->RigBandPlan.clear();
  auto plain = change(*w, 14.025f);
  ASSERT_EQ(plain.size(), 1);  // an empty band plan: no mode
  w->Command2_Click();
  port->open();
  EXPECT_TRUE(change(*w, 14.025f).isEmpty());  // not polling: nothing at all
}

// A poll answer (or an echo) that comes in after the discard: nobody reads
// the port while polling is stopped, so the command drops it instead of
// waiting its bound out at each step. A mode command alone leaves it to the
// poll loop.
TEST_F(ChangeFrequencyTest, BytesArrivingDuringAChangeAreDroppedNotWaitedOut) {
  std::unique_ptr<RigControlfrm> w;
  const struct { const char* family; QByteArray late; } rows[] = {
      {"Kenwood", "FA00014025000;MD3;"},
      {"Icom", hex("FE FE 64 E0 05 00 00 20 14 00 FD FE FE E0 64 FB FD")},  // echo and acknowledgement
  };
  for (const auto& r : rows) {
    w = polling(r.family);
    QTimer::singleShot(0, [&] { port->pending = r.late; });
    const auto log = change(*w, 14.2f);
    ASSERT_EQ(log.size(), 2) << r.family;
    EXPECT_LT(log[1].first, 1000) << r.family;  // the pauses alone, not 2 s per wait
    EXPECT_TRUE(port->pending.isEmpty()) << r.family;
    EXPECT_TRUE(w->polling()) << r.family;
    w->Form_Unload();
  }
  // A request was out when the change began: its answer is dropped, and the
  // first tick after the change asks again.
  w = polling("Kenwood");  // Test sent the first request
  ASSERT_EQ(w->poll.ReadTickDue, 1);
  change(*w, 7.2f);
  port->written.clear();
  w->tmrGetData_Timer();
  EXPECT_EQ(port->written, QByteArray("FA;MD;"));
  w->Form_Unload();

  w = polling("Kenwood");
  port->pending = "FA00014025000;MD3;";
  QString mode = QStringLiteral("USB");
  w->ChangeMode(0, mode);
  EXPECT_EQ(port->log.size(), 1);
  EXPECT_EQ(port->pending, QByteArray("FA00014025000;MD3;"));
}

TEST_F(ChangeFrequencyTest, PausesPerFamily) {
  const struct { const char* family; float f; int gap; } rows[] = {
      {"Elecraft", 14.025f, 1205}, {"Ten Tec Omni VI", 14.025f, 360}, {"Yaesu 1000", 14.025f, 10}};
  for (const auto& r : rows) {
    auto w = polling(r.family);
    auto log = change(*w, r.f);
    ASSERT_EQ(log.size(), 2) << r.family;
    EXPECT_GE(log[1].first - log[0].first, r.gap) << r.family;
    w->Form_Unload();
  }
}

TEST_F(ChangeFrequencyTest, APortClosedMidCommandEndsInTheErrorPath) {
  auto w = polling("Kenwood");
  fake->dialogs->answers = {Answer::Ok, Answer::Ok};
  QTimer::singleShot(0, [this] { port->close(); });
  w->ChangeFrequency(14.025f);
  // The mode command fails first (its caller goes on), then the frequency.
  ASSERT_EQ(fake->dialogs->shown.size(), 2);
  EXPECT_EQ(fake->dialogs->shown[0].title, QStringLiteral("Error Changing Mode"));
  EXPECT_EQ(fake->dialogs->shown[1].title, QStringLiteral("Error Changing Frequency"));
  EXPECT_FALSE(w->polling());
  // A port lost under the command: End Test stays, the port is tried again.
  EXPECT_TRUE(w->portLost());
  EXPECT_TRUE(w->Command2->isEnabled());
}

TEST_F(ChangeFrequencyTest, ASecondCommandDuringAWaitIsRefused) {
  auto w = polling("Kenwood");
  int inner = 0;
  QTimer::singleShot(0, [&] {
    ++inner;
    w->ChangeFrequency(7.2f);
    QString m = QStringLiteral("USB");
    w->ChangeMode(7.2f, m);
  });
  auto log = change(*w, 14.025f);
  EXPECT_EQ(inner, 1);
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[1].second, QByteArray("FA00014025000;"));
}

TEST_F(ChangeFrequencyTest, PegasusWritesTheCommandFile) {
  QTemporaryDir home;
  test::ScopedEnv env("HOME", home.path().toUtf8());
  auto w = polling("Ten Tec Pegasus");
  ASSERT_TRUE(w->polling());
  w->poll.values.mode = QStringLiteral("CW");
  w->ChangeFrequency(7.2f);
  QFile f(home.path() + QStringLiteral("/Pegasus/PEGASUS.IN"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("7.2\r\nCW\r\n"));
}

TEST_F(ChangeFrequencyTest, TheServiceRegistersTheTuner) {
  RigService sv(state);
  sv.attach(main);
  state.RigType = QStringLiteral("Kenwood");
  sv.startRadioLink();
  ASSERT_TRUE(sv.rigWindow()->polling());
  sv.rigWindow()->txtFreq->setText(QStringLiteral("FA;"));
  port->log.clear();
  tuner().ChangeFrequency(14.025f);
  ASSERT_FALSE(port->log.isEmpty());
  EXPECT_EQ(port->log.back().second, QByteArray("FA00014025000;"));
  sv.unload(SideWindow::RigControlfrm);
}

}  // namespace
}  // namespace fd
