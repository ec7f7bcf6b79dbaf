// The send and read ticks over a fake port: what each family writes in
// phase A and B, when a tick sends nothing, and how answers are assembled.
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "rig/readback.h"
#include "rig/rigpoll.h"

namespace fd::rig {
namespace {

QByteArray hex(const char* h) { return cat::HexTextToBytes(QString::fromLatin1(h)); }

struct Fixture {
  FakeSerialPort port;
  RigPoll p;
  explicit Fixture(const char* name) {
    port.setCommPort(1);
    port.open();
    p.port = &port;
    p.fam = family(QString::fromLatin1(name));
    p.req = {QString::fromLatin1(p.fam->freqRequest), QString::fromLatin1(p.fam->modeRequest)};
  }
  // One send tick and an empty read tick; what went out.
  QByteArray cycle() {
    port.written.clear();
    p.sendTick();
    bool ok;
    p.readTick(ok);
    return port.written;
  }
};

TEST(RigPoll, SendTicksPerFamily) {
  const struct { const char* family; QByteArray a, b; const char* freq = nullptr; } rows[] = {
      {"Kenwood", "FA;MD;", "FA;MD;"},
      {"Elecraft", "FA;MD;", "FA;MD;"},
      {"Kenwood 2", "IF;", "IF;"},
      {"Icom", hex("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 04 FD")},
      {"Icom 735", hex("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 04 FD")},
      {"Ten Tec Omni VI", hex("FE FE 04 E0 03 FD"), hex("FE FE 04 E0 04 FD")},
      {"Yaesu", hex("00 00 00 00 03"), hex("00 00 00 00 03")},
      {"Yaesu 757 GX II", hex("00 00 00 00 10"), hex("00 00 00 00 10")},
      {"Yaesu 890", hex("00 00 00 02 10"), hex("00 00 00 02 10")},
      {"Yaesu 920", hex("00 00 00 02 10"), hex("00 00 00 02 10")},
      {"Yaesu 990", hex("00 00 00 02 10"), hex("00 00 00 02 10")},
      {"Yaesu 1000 D", hex("00 00 00 02 10"), hex("00 00 00 02 10")},
      {"Yaesu 1000", hex("00 00 00 02 10"), hex("00 00 00 02 10")},
      {"Yaesu FTdx9000", "FA;", "MD0;"},
      {"Ten Tec Fnt Pnl", hex("3F 41 0D"), hex("3F 4D 0D")},
      {"Ten Tec Fnt Pnl", hex("3F 41 00"), hex("3F 4D 0D"), "3F 41 0"},  // 7 characters: a lone last digit
      {"Ten Tec Orion", "?AF\r?RMM\r", "?AF\r?RMM\r"},
      {"None", "", ""},
      {"Ten Tec Pegasus", "", ""},
  };
  for (const auto& r : rows) {
    Fixture f(r.family);
    if (r.freq) f.p.req.freq = QString::fromLatin1(r.freq);
    EXPECT_EQ(f.cycle(), r.a) << r.family;
    EXPECT_EQ(f.cycle(), r.b) << r.family;
  }
}

TEST(RigPoll, OtherSendsTypedTextOrHex) {
  Fixture f("Other");
  f.p.req = {QStringLiteral("fe fe 64 e0 03 fd"), QStringLiteral("X;")};
  EXPECT_EQ(f.cycle(), QByteArray("fe fe 64 e0 03 fdX;"));
  f.p.convToHex = true;
  f.p.req.mode = QStringLiteral("GG");
  EXPECT_EQ(f.cycle(), hex("FE FE 64 E0 03 FD"));  // a bad pair sends nothing
}

TEST(RigPoll, ShortRequestsSendNothingButAlternatingFlips) {
  const struct { const char* family; const char* freq; } rows[] = {
      {"Icom", "FE FE 64 E0 03 F"}, {"Yaesu", "00 00 00 00 0"}, {"Ten Tec Fnt Pnl", "3F 41 "}, {"Yaesu FTdx9000", "F"}};
  for (const auto& r : rows) {
    Fixture f(r.family);
    f.p.req.freq = QString::fromLatin1(r.freq);
    EXPECT_EQ(f.cycle(), QByteArray()) << r.family;
    if (f.p.fam->alternates) {
      EXPECT_EQ(f.p.FreqRequestSent, 1);
      EXPECT_FALSE(f.cycle().isEmpty());  // the mode request goes out next
    }
  }
}

TEST(RigPoll, WaitingBytesHoldTheSendAndDoNotFlip) {
  Fixture f("Icom");
  f.port.pending = "x";
  f.p.sendTick();
  EXPECT_TRUE(f.port.written.isEmpty());
  EXPECT_EQ(f.p.FreqRequestSent, 0);
  EXPECT_EQ(f.p.ReadTickDue, 1);
}

TEST(RigPoll, ALateAnswerIsParsed) {
  Fixture f("Kenwood");
  f.cycle();  // no answer in time
  f.port.pending = "FA00014025000;MD3;";
  f.port.written.clear();
  f.p.sendTick();  // bytes wait: nothing sent
  EXPECT_TRUE(f.port.written.isEmpty());
  bool ok;
  EXPECT_TRUE(f.p.readTick(ok).has_value());
  EXPECT_FLOAT_EQ(f.p.values.freq, 14.025f);
}

TEST(RigPoll, TheTailOfALongBlockIsNeverParsed) {
  Fixture f("Yaesu 890");
  QByteArray block = hex("00 00 15 66 84 00 00 02 00 00 00 00 00 00 00 00 00 00 00");
  block[12] = '\x55';  // the tail would read as another frequency
  f.p.sendTick();
  f.port.pending = block.left(10);
  bool ok;
  f.p.readTick(ok);
  EXPECT_FLOAT_EQ(f.p.values.freq, 14.025f);
  f.port.pending = block.mid(10);
  f.port.written.clear();
  f.p.sendTick();
  EXPECT_TRUE(f.port.written.isEmpty());
  EXPECT_FALSE(f.p.readTick(ok).has_value());
  EXPECT_FLOAT_EQ(f.p.values.freq, 14.025f);
  EXPECT_EQ(f.port.inBufferCount(), 0);
  EXPECT_FALSE(f.cycle().isEmpty());  // polling goes on
}

TEST(RigPoll, AnIncompleteAnswerIsParsedAsItStandsAfterOneExtraCycle) {
  Fixture f("Kenwood");
  f.p.sendTick();
  f.port.pending = "FA00014025000;";  // the MD; reply never comes
  bool ok;
  EXPECT_FALSE(f.p.readTick(ok).has_value());
  f.port.written.clear();
  f.p.sendTick();
  EXPECT_TRUE(f.port.written.isEmpty());
  EXPECT_EQ(f.p.readTick(ok), QByteArray("FA00014025000;"));
  EXPECT_FLOAT_EQ(f.p.values.freq, 14.025f);
}

TEST(RigPoll, AClosedPortEndsTheTickAndKeepsThePhase) {
  Fixture f("Kenwood");
  f.port.close();
  EXPECT_FALSE(f.p.sendTick());
  EXPECT_EQ(f.p.ReadTickDue, 0);
}

TEST(ReadBack, BandsAndCurFreq) {
  const struct { float f; const char* band; const char* text; } rows[] = {
      {1.7999f, "", "1.800"}, {2.0001f, "", "2.000"}, {1.8f, "160", "1.800"}, {2.0f, "160", "2.000"},
      {7.3001f, "", "7.300"}, {1300.0f, "23", "1300.000"}, {5.3f, "", "5.300"}, {14.025f, "20", "14.025"},
      {7.2f, "40", "7.200"}, {222.1f, "1.25", "222.100"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(bandOfFrequency(r.f), QString::fromLatin1(r.band)) << r.f;
    EXPECT_EQ(curFreqText(r.f), QString::fromLatin1(r.text)) << r.f;
  }
  EXPECT_EQ(freqLabelText(14.025f), QStringLiteral("14.02500"));
}

TEST(ReadBack, BandCommandOncePerBandAndNoZeroFrequency) {
  ProgramState s;
  s.CurBand = QStringLiteral("40");
  s.CurMode = QStringLiteral("PH");
  test::FakeMainWindow w(&s);
  BandFreqConversion(w, s, 14.025f);
  BandFreqConversion(w, s, 14.2f);
  BandFreqConversion(w, s, 5.3f);
  BandFreqConversion(w, s, 0.0f);  // never "0.000" into a contact
  ModeSelection(w, s, QStringLiteral("CW"));
  ModeSelection(w, s, QStringLiteral("CW"));
  ModeSelection(w, s, QStringLiteral("FM"));
  ModeSelection(w, s, QString());
  EXPECT_EQ(w.calls, (QStringList{"selectBand 20", "setCurFreq 14.025", "setCurFreq 14.200", "setCurFreq 5.300",
                                  "selectMode CW"}));
}

}  // namespace
}  // namespace fd::rig
