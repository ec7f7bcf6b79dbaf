#include "log/logfile.h"

#include "log/logbook.h"
#include "testenv.h"

namespace fd {
namespace {

using test::recordLine;

class LogFileTest : public test::ProgramFolderTest {};

TEST_F(LogFileTest, RecordLineByteForByte) {
  QsoRecord r{"W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", "14.025"};
  EXPECT_EQ(logfile::formatLine(r),
            QByteArray("\"W1AW\",\"2A\",\"CT\",\"2024/06/22\",\"18:05:00\",\"20\",\"CW\",\"AB\",\"14.025\",\"\"\r\n"));
}

TEST_F(LogFileTest, AppendAndRewriteGiveIdenticalBytes) {
  QsoRecord a{"W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW", "AB", ""};
  QsoRecord b{"K2XYZ", "1E", "ENY", "2024/06/22", "18:06:00", "40", "PH", "", "7.200"};
  ASSERT_TRUE(logfile::append(path("a.dat"), a).ok);
  ASSERT_TRUE(logfile::append(path("a.dat"), b).ok);
  ASSERT_TRUE(logfile::rewrite(path("b.dat"), {a, b}, {}).ok);
  EXPECT_EQ(readFile("a.dat"), readFile("b.dat"));
}

}  // namespace
}  // namespace fd
