#include "log/logfile.h"

#include "log/logbook.h"
#include "platform/cp1252.h"
#include "testenv.h"

namespace fd {
namespace {

using test::recordLine;

class FoundLogFile : public test::ProgramFolderTest {};

TEST_F(FoundLogFile, RecordLineByteForByte) {
  QsoRecord r{"W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", "14.025"};
  EXPECT_EQ(logfile::formatLine(r),
            QByteArray("\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"14.025\",\"\"\r\n"));
  EXPECT_EQ(logfile::formatLine(QsoRecord{}), QByteArray("\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"));
}

TEST_F(FoundLogFile, AppendAndRewriteGiveIdenticalBytes) {
  QsoRecord a{"W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", ""};
  QsoRecord b{"K2XYZ", "1E", "ENY", "2024/06/22", "18:06:00", "40", "PH", "", "7.200"};
  ASSERT_TRUE(logfile::append(path("a.dat"), a).ok);
  ASSERT_TRUE(logfile::append(path("a.dat"), b).ok);
  ASSERT_TRUE(logfile::rewrite(path("b.dat"), {a, b}, {}).ok);
  EXPECT_EQ(readFile("a.dat"), readFile("b.dat"));
  EXPECT_EQ(readFile("a.dat"), logfile::formatLine(a) + logfile::formatLine(b));
}

// Which lines are records, and what the record holds.
TEST_F(FoundLogFile, LineTable) {
  struct Case {
    const char* line;
    bool record;
    const char* call;
    const char* freq;
  };
  const Case cases[] = {
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"14.025\",\"\"", true, "W1AW", "14.025"},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"14.025\",\"\"\r", true, "W1AW", "14.025"},
      // The tenth item missing, cut short, not empty, bare.
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\"", true, "W1AW", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"", true, "W1AW", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",", true, "W1AW", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"note\"", true, "W1AW", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",junk", true, "W1AW", ""},
      // A comma inside quotes belongs to the item.
      {"\"W1,AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"7.1\",\"\"", true, "W1,AW", "7.1"},
      // Not records: cut before the tenth item, too few, too many, no quotes at all.
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"14.0", false, "", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/0", false, "", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\"", false, "", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"\",\"\"", false, "", ""},
      {"garbage", false, "", ""},
      // A double quote inside a bare item or after a closing one: written back
      // it would read differently, so the line is no record.
      {"K1ABC\"X,\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"\"", false, "", ""},
      {"\"K1ABC\"X\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"\"", false, "", ""},
      {"\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\"\"\",\"\",\"\"", false, "", ""},
      // Blanks around items are no harm.
      {" \"W1AW\" , \"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\", AB ,\"\",\"\"", true, "W1AW", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const auto r = logfile::parseLine(QByteArray(c.line));
    ASSERT_EQ(r.has_value(), c.record);
    if (!r) continue;
    EXPECT_EQ(r->Call, QString::fromLatin1(c.call));
    EXPECT_EQ(r->Section, QStringLiteral("CT"));
    EXPECT_EQ(r->Initials, QStringLiteral("AB"));
    EXPECT_EQ(r->Freq, QString::fromLatin1(c.freq));
  }
}

// A line with a stray double quote is kept and written back byte for byte.
TEST_F(FoundLogFile, StrayQuoteLineSurvivesARewriteUnchanged) {
  const QByteArray odd = "\"K1ABC\"X\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"\"";
  const QByteArray good = logfile::formatLine(QsoRecord{"W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", ""});
  writeFile("fdlog.dat", good + odd + "\r\n");
  const logfile::LoadResult loaded = logfile::load(path("fdlog.dat"));
  ASSERT_EQ(loaded.records.size(), 1u);
  EXPECT_EQ(loaded.unreadable, 1);
  ASSERT_TRUE(logfile::rewrite(path("fdlog.dat"), loaded.records, loaded.kept).ok);
  EXPECT_EQ(readFile("fdlog.dat"), good + odd + "\r\n");
}

// Nothing is escaped: the writer drops a double quote, CR and LF from every
// field, so each record stays one readable line. Lines kept because they
// could not be read are still written back as they were.
TEST_F(FoundLogFile, WriterDropsQuotesAndLineEndsFromEachField) {
  const QsoRecord dirty{"N5\"X,Y", "1\rA", "S\nTX", "2024/06/22\"", "18:05:00\r\n", "\"40", "P\"H", "A\"B", "7.2\n"};
  const QsoRecord clean{"N5X,Y", "1A", "STX", "2024/06/22", "18:05:00", "40", "PH", "AB", "7.2"};
  EXPECT_EQ(logfile::formatLine(dirty), logfile::formatLine(clean));

  const QByteArray odd = "\"K1ABC\"X\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"\"";
  ASSERT_TRUE(logfile::append(path("a.dat"), dirty).ok);
  ASSERT_TRUE(logfile::rewrite(path("b.dat"), {dirty}, {odd}).ok);
  EXPECT_EQ(readFile("a.dat"), logfile::formatLine(clean));
  EXPECT_EQ(readFile("b.dat"), logfile::formatLine(clean) + odd + "\r\n");
  const logfile::LoadResult back = logfile::load(path("b.dat"));
  ASSERT_EQ(back.records.size(), 1u);
  EXPECT_EQ(back.records[0], clean);
  EXPECT_EQ(back.kept, QList<QByteArray>{odd});

  // A lone CR inside a field of a readable line: loaded as a rewrite will
  // write it, so what the log holds and its file agree.
  writeFile("c.dat", "\"K2\rAB\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"\",\"\"\r\n");
  const logfile::LoadResult cr = logfile::load(path("c.dat"));
  ASSERT_EQ(cr.records.size(), 1u);
  EXPECT_EQ(cr.records[0].Call, "K2AB");
}

// Every byte 0x80..0xFF survives a load and a rewrite unchanged.
TEST_F(FoundLogFile, HighBytesRoundTrip) {
  QByteArray high;
  for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
  const QByteArray line = "\"" + high + "\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"" + high +
                          "\",\"\",\"\"\r\n";
  writeFile("fdlog.dat", line);
  const auto loaded = logfile::load(path("fdlog.dat"));
  ASSERT_EQ(loaded.records.size(), 1u);
  EXPECT_EQ(loaded.records[0].Call.size(), 128);
  EXPECT_EQ(cp1252::encode(loaded.records[0].Call), high);
  ASSERT_TRUE(logfile::rewrite(path("out.dat"), loaded.records, loaded.kept).ok);
  EXPECT_EQ(readFile("out.dat"), line);
}

}  // namespace
}  // namespace fd
