// "RigCntrl.txt": what a file holds reads the same after the next save.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/safefile.h"
#include "rig/rigsettings.h"

namespace fd::rig {
namespace {

// A hand-edited file may hold a double quote inside a bare text; the save
// quotes every text, so a quote kept in the value would cut it on the next read.
TEST(RigSettingsFile, ADoubleQuoteInATextReadsTheSameAfterTheNextSave) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("RigCntrl.txt"));
  ASSERT_TRUE(writeWholeFile(path, "\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\nMD\"x;\r\nFA;\"\r\n\"4800,N,8,2\"\r\n3\r\n"
                                   "\"N\"\r\n\"M\"\r\nKen\"wood\r\n0\r\n1\r\n1\r\n")
                  .ok);
  RigFile first;
  loadRigFile(path, first);
  ASSERT_EQ(first.valuesRead, 14);
  EXPECT_EQ(first.settings.ModeRequest, QStringLiteral("MDx;"));
  EXPECT_EQ(first.settings.FreqRequest, QStringLiteral("FA;"));
  EXPECT_EQ(first.rigType, QStringLiteral("Kenwood"));
  ASSERT_TRUE(saveRigFile(path, first).ok);
  RigFile second;
  loadRigFile(path, second);
  ASSERT_EQ(second.valuesRead, 14);
  EXPECT_EQ(second.settings.ModeRequest, first.settings.ModeRequest);
  EXPECT_EQ(second.settings.FreqRequest, first.settings.FreqRequest);
  EXPECT_EQ(second.rigType, first.rigType);
  EXPECT_EQ(second.settings.PortNumber, 3);
}

}  // namespace
}  // namespace fd::rig
