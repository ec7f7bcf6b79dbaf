// The AGW engine's frames: header bytes, reassembly, the kinds the window takes.
#include <gtest/gtest.h>

#include "platform/agwframe.h"

namespace fd::agw {
namespace {

TEST(AgwFrame, HeaderByteForByte) {
  Frame reg;
  reg.kind = 'X';
  reg.callFrom = QStringLiteral("N0CALL");
  const QByteArray bytes = *encode(reg);
  ASSERT_EQ(bytes.size(), 36);
  EXPECT_EQ(bytes[4], 0x58);
  EXPECT_EQ(bytes.mid(8, 10), QByteArray::fromHex("4E3043414C4C00000000"));
  EXPECT_EQ(bytes.mid(28, 4), QByteArray(4, '\0'));
  Frame mon;
  mon.kind = 'm';
  QByteArray expect(36, '\0');
  expect[4] = 0x6D;
  EXPECT_EQ(*encode(mon), expect);
  Frame data;
  data.kind = 'D';
  data.pid = 0xF0;
  data.callFrom = "N0CALL";
  data.callTo = "K1TTT-5";
  data.data = "sh/dx\r";
  const QByteArray d = *encode(data);
  EXPECT_EQ(static_cast<unsigned char>(d[6]), 0xF0);
  EXPECT_EQ(d[28], 6);
  EXPECT_EQ(d.mid(36), QByteArray("sh/dx\r"));
  // A destination the header cannot hold sends nothing.
  data.callTo = "K1TTT 5";
  EXPECT_FALSE(encode(data));
  data.callTo = "K1TTTT-155";
  EXPECT_FALSE(encode(data));
}

TEST(AgwFrame, Reassembly) {
  Frame a;
  a.kind = 'U';
  a.callFrom = "W1AW";
  a.data = QByteArray("DX de W1AW: ...\r") + '\0';
  Frame b;
  b.kind = 'd';
  b.callFrom = "K1TTT-5";
  const QByteArray two = *encode(a) + *encode(b);
  // One byte per read.
  Reassembler r;
  for (char c : two) r.feed(QByteArray(1, c));
  ASSERT_EQ(r.frames.size(), 2u);
  EXPECT_EQ(r.frames[0].callFrom, QStringLiteral("W1AW"));
  EXPECT_EQ(r.frames[0].data, a.data);
  EXPECT_EQ(r.frames[1].data, QByteArray());  // length 0
  // Two in one read; a split inside the header.
  Reassembler s;
  s.feed(two.left(20));
  EXPECT_TRUE(s.frames.empty());
  s.feed(two.mid(20));
  EXPECT_EQ(s.frames.size(), 2u);
  // A length over the limit breaks the link.
  QByteArray huge(36, '\0');
  huge[4] = 'D';
  huge[30] = 2;  // 128 KiB
  Reassembler t;
  t.feed(huge);
  EXPECT_TRUE(t.broken());
  EXPECT_TRUE(t.frames.empty());
}

TEST(AgwFrame, KindsTheWindowTakes) {
  for (char k : QByteArray("XRGgyYHK")) {
    Frame f;
    f.kind = k;
    EXPECT_FALSE(forWindow(f)) << k;
  }
  for (char k : QByteArray("dDUIST")) {
    Frame f;
    f.kind = k;
    ASSERT_TRUE(forWindow(f));
    EXPECT_EQ(forWindow(f)->kind, k);
  }
  Frame c;
  c.kind = 'C';
  c.data = QByteArray("*** CONNECTED With Station K1TTT-5\r") + '\0' + '\0';
  EXPECT_EQ(forWindow(c)->kind, 'c');
  EXPECT_EQ(forWindow(c)->data, QByteArray("*** CONNECTED With Station K1TTT-5\r"));
  Frame big;
  big.kind = 'D';
  big.data = QByteArray(5000, 'x');
  EXPECT_EQ(forWindow(big)->data.size(), 4000);
  // The cut comes first: the NULs it leaves at the end go too.
  big.data = QByteArray(3998, 'x') + QByteArray(2, '\0') + "more";
  EXPECT_EQ(forWindow(big)->data, QByteArray(3998, 'x'));
}

}  // namespace
}  // namespace fd::agw
