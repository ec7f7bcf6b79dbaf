// "PackSpot.txt" byte for byte.
#include <QList>
#include <gtest/gtest.h>

#include "spots/spotsettings.h"

namespace fd {
namespace {

const QByteArray kTncFile =
    "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"TNC\"\r\n0\r\n3\r\n0\r\n#FALSE#\r\n\"03\"\r\n\"\"\r\n\"\"\r\n";
const QByteArray kTelnetFile =
    "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"Telnet\"\r\n0\r\n0\r\n0\r\n#TRUE#\r\n\"\"\r\n\"7300\"\r\n\"127.0.0.1\"\r\n";

TEST(SpotSettingsFile, TncExampleByteForByte) {
  SpotSettings s;
  s.Baud = "9600";
  s.Parity = "N";
  s.DataBits = "8";
  s.StopBits = "1";
  s.PortNumber = 1;
  s.PowerLine = "N";
  s.Transport = "TNC";
  s.Handshake = 3;
  s.Hex = "03";
  EXPECT_EQ(s.toFile(), kTncFile);
  const auto back = SpotSettings::fromFile(kTncFile);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->toFile(), kTncFile);
}

TEST(SpotSettingsFile, TelnetFileReadsBack) {
  const auto s = SpotSettings::fromFile(kTelnetFile);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Transport, QStringLiteral("Telnet"));
  EXPECT_EQ(s->PortNumber, 0);
  EXPECT_TRUE(s->OptList);
  EXPECT_EQ(s->TelnetHost, QStringLiteral("127.0.0.1"));
  EXPECT_EQ(s->TelnetPort, QStringLiteral("7300"));
  EXPECT_EQ(s->toFile(), kTelnetFile);
}

// A bare text with a double quote inside (a hand-edited file): the save
// quotes every text, so a quote kept in the value would cut it on the next read.
TEST(SpotSettingsFile, ADoubleQuoteInATextReadsTheSameAfterTheNextSave) {
  QByteArray file = kTelnetFile;
  file.replace("\"127.0.0.1\"", "clu\"ster.example");
  const auto first = SpotSettings::fromFile(file);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->TelnetHost, QStringLiteral("cluster.example"));
  const auto second = SpotSettings::fromFile(first->toFile());
  ASSERT_TRUE(second);
  EXPECT_EQ(second->TelnetHost, first->TelnetHost);
}

TEST(SpotSettingsFile, ShortOrMistypedFilesApplyNothing) {
  const QList<QByteArray> lines = kTncFile.split('\n');
  QByteArray thirteen;
  for (int i = 0; i < 13; ++i) thirteen += lines[i] + '\n';
  QByteArray badPort = kTncFile;
  badPort.replace("\r\n1\r\n\"N\"", "\r\n300\r\n\"N\"");
  QByteArray badTruth = kTncFile;
  badTruth.replace("#FALSE#", "maybe");
  // Whole files only; the values before the fault are read all the same.
  const struct { QByteArray file; int read; } rows[] = {{thirteen, 13}, {badPort, 4}, {badTruth, 10}, {{}, 0}};
  for (const auto& r : rows) {
    EXPECT_FALSE(SpotSettings::fromFile(r.file)) << r.read;
    int read = -1;
    const SpotSettings s = SpotSettings::readValues(r.file, read);
    EXPECT_EQ(read, r.read);
    if (read >= 4) EXPECT_EQ(s.StopBits, QStringLiteral("1"));
    if (read >= 7) EXPECT_EQ(s.Transport, QStringLiteral("TNC"));
  }
  // Lower-case truth values and bare texts are read.
  QByteArray lower = kTncFile;
  lower.replace("#FALSE#", "#false#");
  lower.replace("\"TNC\"", "tnc");
  const auto s = SpotSettings::fromFile(lower);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Transport, QStringLiteral("tnc"));
}

}  // namespace
}  // namespace fd
