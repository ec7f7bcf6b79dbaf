// The answer parsers, from the worked examples: each answer to its result,
// and every answer split in two at every byte gives the same result or no
// change, never another value.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "rig/catparse.h"
#include "rig/rigfamilies.h"
#include "rig/rigpoll.h"
#include "testenv.h"

namespace fd::cat {
namespace {

QByteArray hex(const char* h) { return HexTextToBytes(QString::fromLatin1(h)); }

struct Case {
  const char* family;
  QByteArray answer;
  float freq;        // 0: unchanged (previous 3.5)
  const char* mode;  // nullptr: unchanged (previous "XX")
  int freqSent = 1;  // alternating families: which request the answer follows
  int vfo = 10;
};

// Runs the family's parser(s) as the read tick does.
RigValues run(const rig::RigFamily& f, const QByteArray& a, int freqSent, RigValues v) {
  const Requests r{QString::fromLatin1(f.freqRequest), QString::fromLatin1(f.modeRequest)};
  if (f.alternates && f.modeParser) {
    (freqSent == 1 ? f.freqParser : f.modeParser)(a, r, v);
  } else {
    f.freqParser(a, r, v);
    if (f.modeParser) f.modeParser(a, r, v);
  }
  return v;
}

const QByteArray kEchoFreq = hex("FE FE 64 E0 03 FD");

std::vector<Case> cases() {
  const QByteArray icomHead = hex("FE FE E0 64");
  return {
      {"Kenwood", "FA00014025000;MD3;", 14.025f, "CW"},
      {"Kenwood", "FA00007200000;MD1;", 7.2f, "PH"},
      {"Kenwood", "MD7;", 0, "CW"},
      {"Kenwood", "MDx;", 0, "PH"},
      {"Kenwood", "FA00014025000", 0, nullptr},
      {"Kenwood", "FA0001402x000;", 0, nullptr},
      {"Elecraft", "FA00014025000;MD3;", 14.025f, "CW"},
      {"Kenwood 2", "IF00014025000    +0000000000030000000;", 14.025f, "CW", 1, 0},
      {"Kenwood 2", "IF00007200000    +0000000000011000000;", 7.2f, "PH", 1, 1},
      {"Kenwood 2", "IF00014025000    +000000000", 14.025f, nullptr},
      {"Yaesu FTdx9000", "FA14025000;MD03;", 14.025f, "CW"},
      {"Yaesu FTdx9000", "FA1402;MD03;", 0, "CW"},
      {"Yaesu FTdx9000", "MD0A;", 0, "PH"},
      {"Yaesu FTdx9000", "FA1402500", 0, nullptr},
      {"Icom", kEchoFreq + icomHead + hex("03 00 50 02 14 00 FD"), 14.025f, nullptr},
      {"Icom", icomHead + hex("03 00 00 80 01 00 FD"), 1.8f, nullptr},
      {"Icom", icomHead + hex("03 00 00 52 46 01 FD"), 146.52f, nullptr},
      {"Icom", icomHead + hex("FB FD"), 0, nullptr},
      {"Icom", icomHead + hex("03 00 50"), 0, nullptr},
      {"Icom", icomHead + hex("03 00 5A 02 14 00 FD"), 0, nullptr},
      {"Icom", icomHead + hex("04 03 01 FD"), 0, "CW", 0},
      {"Icom", icomHead + hex("04 00 01 FD"), 0, "PH", 0},
      {"Icom", icomHead + hex("04 07 01 FD"), 0, "PH", 0},
      {"Icom 735", hex("FE FE E0 64 03 00 50 02 14 FD"), 14.025f, nullptr},
      {"Icom 735", hex("FE FE E0 64 03 00 50 02 14 00 FD"), 0, nullptr},
      {"Ten Tec Omni VI", hex("FE FE E0 04 03 00 50 02 14 00 FD"), 14.025f, nullptr},
      {"Yaesu", hex("01 40 25 00 02"), 14.025f, "CW"},
      {"Yaesu", hex("00 72 00 00 00"), 7.2f, "PH"},
      {"Yaesu", hex("00 18 00 00 84"), 1.8f, "PH"},
      {"Yaesu", hex("01 40 70 00 0A"), 14.07f, nullptr},
      {"Yaesu", hex("01 40 25 00"), 0, nullptr},
      {"Yaesu", hex("01 4A 25 00 02"), 0, nullptr},
      {"Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01 02"), 14.025f, "CW"},
      {"Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01 04"), 14.025f, "AM"},
      {"Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01 05"), 14.025f, "FM"},
      {"Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01"), 0, nullptr},
      {"Yaesu 757 GX II", hex("00 00 00 00 00"), 0, nullptr},
      {"Yaesu 890", hex("00 00 15 66 84 00 00 02"), 14.025f, "CW"},
      {"Yaesu 890", hex("00 00 0A FC 80 00 00 00"), 7.2f, "PH"},
      {"Yaesu 890", hex("00 00 15 66 84 00 00"), 14.025f, nullptr},
      {"Yaesu 990", hex("00 15 66 84 00 00 00 02"), 14.025f, "CW"},
      {"Yaesu 1000 D", hex("00 15 66 84 00 00 00 02"), 14.025f, "CW"},
      {"Yaesu 1000", hex("00 01 56 68 40 00 00 02"), 14.025f, "CW"},
      {"Yaesu 920", hex("00 00 D6 01 28 00 00 01"), 14.025f, "CW"},
      {"Yaesu 920", hex("00 00 6D DD 00 00 00 00"), 7.2f, "PH"},
      {"Yaesu 920", hex("00 00 D6 01 28 00 00"), 14.025f, nullptr},
      {"Ten Tec Fnt Pnl", hex("41 00 D6 01 28 0D"), 14.025f, nullptr},
      {"Ten Tec Fnt Pnl", hex("41 00 6D DD 00 0D"), 7.2f, nullptr},
      {"Ten Tec Fnt Pnl", hex("41 00 D6 01"), 0, nullptr},
      {"Ten Tec Fnt Pnl", hex("4D 33 33 0D"), 0, "CW", 0},
      {"Ten Tec Fnt Pnl", hex("4D 32 32 0D"), 0, "PH", 0},
      {"Ten Tec Orion", "@AF14025000\r@RMM2\r", 14.025f, "CW"},
      {"Ten Tec Orion", "@RMM2\r@AF14025000\r", 14.025f, "CW"},
      {"Ten Tec Orion", "@AF7200000\r@RMM1\r", 7.2f, "PH"},
      {"Ten Tec Orion", "@AF14025000", 0, nullptr},
      {"Ten Tec Orion", "@RMMx\r", 0, "PH"},
  };
}

RigValues before() {
  RigValues v;
  v.freq = 3.5f;
  v.mode = QStringLiteral("XX");
  return v;
}

TEST(CatParse, AnswersGiveTheWorkedResults) {
  for (const Case& c : cases()) {
    const rig::RigFamily* f = rig::family(QString::fromLatin1(c.family));
    ASSERT_TRUE(f) << c.family;
    const RigValues v = run(*f, c.answer, c.freqSent, before());
    SCOPED_TRACE(std::string(c.family) + " " + StringToHexDisplay(c.answer).toStdString());
    EXPECT_FLOAT_EQ(v.freq, c.freq ? c.freq : 3.5f);
    EXPECT_EQ(v.mode, c.mode ? QString::fromLatin1(c.mode) : QStringLiteral("XX"));
    EXPECT_EQ(v.vfo, c.vfo);
  }
}

// Through the poll loop: the first part arrives for one read tick, the rest
// before the next send tick. Kept bytes are joined; a tail after a parsed
// answer is dropped.
TEST(CatParse, ASplitAnswerGivesTheSameResultOrNoChange) {
  for (const Case& c : cases()) {
    const rig::RigFamily* f = rig::family(QString::fromLatin1(c.family));
    const RigValues whole = run(*f, c.answer, c.freqSent, before());
    for (int cut = 1; cut < c.answer.size(); ++cut) {
      FakeSerialPort port;
      port.setCommPort(1);
      ASSERT_TRUE(port.open());
      rig::RigPoll p;
      p.port = &port;
      p.fam = f;
      p.req = {QString::fromLatin1(f->freqRequest), QString::fromLatin1(f->modeRequest)};
      p.values = before();
      p.FreqRequestSent = c.freqSent == 1 ? 0 : 1;
      bool ok = false;
      ASSERT_TRUE(p.sendTick());
      port.pending = c.answer.left(cut);
      p.readTick(ok);
      port.pending += c.answer.mid(cut);
      ASSERT_TRUE(p.sendTick());
      p.readTick(ok);
      SCOPED_TRACE(std::string(c.family) + " cut " + std::to_string(cut));
      EXPECT_TRUE(p.values.freq == 3.5f || p.values.freq == whole.freq) << p.values.freq;
      EXPECT_TRUE(p.values.mode == u"XX" || p.values.mode == whole.mode) << p.values.mode.toStdString();
    }
  }
}

TEST(CatParse, Conversions) {
  EXPECT_EQ(StringToHexDisplay("FA;"), QStringLiteral("46 41 3B "));
  EXPECT_EQ(StringToHexDisplay(""), QString());
  EXPECT_EQ(HexTextToBytes(QStringLiteral("FE FE 64")), QByteArray("\xFE\xFE\x64"));
  EXPECT_EQ(HexTextToBytes(QStringLiteral("FE GG")), QByteArray());
  EXPECT_EQ(HexTextToBytes(QStringLiteral("FEFE")), QByteArray("\xFE\x0E"));
  EXPECT_EQ(HexTextToBytes(QStringLiteral("fe fe 64 e0 03 fd")).size(), 6);
  EXPECT_EQ(BytesToHexText("FA;"), QStringLiteral("46413B"));
  EXPECT_EQ(BytesToHexText(QByteArray("\x00\x09\x0A\x9F\xA0\xFF", 6)), QStringLiteral("00090A9FA0FF"));
  EXPECT_EQ(HexDigit(11), QStringLiteral("B"));
  EXPECT_EQ(HexDigit(16), QString());
  EXPECT_EQ(FormatBcdFrequency(QStringLiteral("01402500")), QStringLiteral("14.02500"));
  EXPECT_EQ(FormatBcdFrequency(QStringLiteral("00050000")), QStringLiteral(".50000"));
  EXPECT_EQ(PadBcdDigits(QStringLiteral("0014025000")), QStringLiteral("14.025000"));
  EXPECT_EQ(FixedHexBytes(QStringLiteral("FE FE 64 E0 03 FD"), 6), hex("FE FE 64 E0 03 FD"));
  EXPECT_EQ(FixedHexBytes(QStringLiteral("00 00 00 00 03 junk"), 5), hex("00 00 00 00 03"));
  EXPECT_EQ(FixedHexBytes(QStringLiteral("FE FE"), 6), QByteArray());
}

TEST(CatParse, ModeByFrequency) {
  const struct { float f; const char* mode; } rows[] = {
      {7.1f, "CW"}, {7.2f, "PH"}, {7.125f, ""}, {3.6f, ""}, {1.85f, ""}, {144.05f, "CW"}, {146.52f, "PH"},
      {222.1f, ""}, {14.15f, ""}, {14.1f, "CW"},
  };
  for (const auto& r : rows) EXPECT_EQ(ModeByFrequency(r.f), QString::fromLatin1(r.mode)) << r.f;
}

TEST(CatParse, PegasusStatusFile) {
  QTemporaryDir home;
  test::ScopedEnv env("HOME", home.path().toUtf8());
  RigValues v = before();
  ReadPegasusStatus(v);  // no file: nothing changes
  EXPECT_FLOAT_EQ(v.freq, 3.5f);
  EXPECT_EQ(v.mode, QStringLiteral("XX"));
  QDir(home.path()).mkpath(QStringLiteral("Pegasus"));
  auto write = [&](const QByteArray& b) {
    QFile f(home.path() + QStringLiteral("/Pegasus/PEGASUS.OUT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
  };
  write("14.025\r\nUSB\r\n");
  ReadPegasusStatus(v);
  EXPECT_FLOAT_EQ(v.freq, 14.025f);
  EXPECT_EQ(v.mode, QStringLiteral("PH"));
  write("7.2,\"CW\"");
  ReadPegasusStatus(v);
  EXPECT_FLOAT_EQ(v.freq, 7.2f);
  EXPECT_EQ(v.mode, QStringLiteral("CW"));
  write("abc\r\nUSB\r\n");
  ReadPegasusStatus(v);
  EXPECT_FLOAT_EQ(v.freq, 7.2f);
  EXPECT_EQ(v.mode, QStringLiteral("CW"));
}

// A number past single precision would put "inf" into CurFreq: the answer
// leaves the frequency as it was.
TEST(CatParse, AFrequencyBeyondSinglePrecisionChangesNothing) {
  RigValues v = before();
  ParseOrionFrequency(QByteArray("@AF") + QByteArray(60, '9') + '\r', v);
  EXPECT_FLOAT_EQ(v.freq, 3.5f);
  ParseOrionFrequency(QByteArray("@AF") + QByteArray(400, '9') + '\r', v);
  EXPECT_FLOAT_EQ(v.freq, 3.5f);

  QTemporaryDir home;
  test::ScopedEnv env("HOME", home.path().toUtf8());
  QDir(home.path()).mkpath(QStringLiteral("Pegasus"));
  QFile f(home.path() + QStringLiteral("/Pegasus/PEGASUS.OUT"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("1e300\r\nUSB\r\n");
  f.close();
  ReadPegasusStatus(v);
  EXPECT_FLOAT_EQ(v.freq, 3.5f);
}

}  // namespace
}  // namespace fd::cat
