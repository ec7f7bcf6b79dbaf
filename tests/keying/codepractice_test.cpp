#include <gtest/gtest.h>

#include "keying/codepractice.h"

namespace fd {
namespace {

TEST(CodePractice, TableAndGroups) {
  EXPECT_EQ(CodePracticeChars().size(), 42);  // entries 1..41
  EXPECT_EQ(CodePracticeChars().at(27), QStringLiteral("0"));
  EXPECT_EQ(CodePracticeChars().at(41), QStringLiteral("-"));
  std::mt19937 rng(7);
  QString count = "10", length = "5";
  const QString all = *generatePractice(count, length, false, rng);
  ASSERT_EQ(all.size(), 60);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(all[i] == u' ', (i + 1) % 6 == 0) << i;
  const QString letters = *generatePractice(count, length, true, rng);
  for (QChar c : letters) EXPECT_TRUE(c == u' ' || (c >= u'A' && c <= u'Z'));
}

TEST(CodePractice, CountsLengthsAndTheCap) {
  std::mt19937 rng(1);
  const struct { const char* count; const char* length; std::optional<int> size; const char* countAfter; } cases[] = {
      {"0", "5", 0, "0"},      {"3", "0", 3, "3"},       {"abc", "1", 20, "10"}, {"-2", "5", 0, "-2"},
      {"2.9", "3.5", 8, "2.9"}, {"5000", "5", 30000, "5000"}, {"5001", "5", std::nullopt, "5001"},
  };
  for (const auto& c : cases) {
    QString count = c.count, length = c.length;
    const std::optional<QString> r = generatePractice(count, length, false, rng);
    EXPECT_EQ(r ? std::optional<int>(r->size()) : std::nullopt, c.size) << c.count << " x " << c.length;
    EXPECT_EQ(count, QString::fromLatin1(c.countAfter));
  }
  QString count = "3", length = "0";
  EXPECT_EQ(*generatePractice(count, length, false, rng), QStringLiteral("   "));
}

}  // namespace
}  // namespace fd

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "keying/codepracticefrm.h"
#include "keying/cwkeyer.h"
#include "keying/morse.h"
#include "platform/keylines.h"
#include "platform/serial.h"
#include "testenv.h"

namespace fd {
namespace {

class CodePracticeWindow : public ::testing::Test {
 protected:
  CodePracticeWindow() : keyer(state, comm, phone), w(keyer) {
    comm.setCommPort(1);
    keyer.set.Text[10] = QStringLiteral("1");
    keyer.set.Text[11] = QStringLiteral("20");
    state.KeyingType = 1;
  }
  QString keyed() const {
    QString u;
    for (const KeyLineEvent& e : rec.events) u += e.value ? u'1' : u'0';
    return morse::decode(u);
  }
  test::FakePlatform fake;
  ProgramState state;
  FakeSerialPort comm, phone;
  KeyLineRecorder rec;
  CWKeyer keyer;
  frmCodePractice w;
};

TEST_F(CodePracticeWindow, GenerateSendStopAndTheLiveBox) {
  EXPECT_EQ(w.windowTitle(), QStringLiteral("On the Air Code Practice"));
  w.reseed = false;
  w.rng.seed(3);
  w.Command2_Click();
  EXPECT_EQ(w.Text1->text().size(), 60);
  w.Text3->setText(QStringLiteral("abc"));
  w.Command2_Click();
  EXPECT_EQ(w.Text3->text(), QStringLiteral("10"));
  // Send keys A, B, a word space, C.
  w.Text1->setText(QStringLiteral("AB C"));
  w.Command3_Click();
  EXPECT_EQ(keyed(), QStringLiteral("AB C"));
  EXPECT_EQ(w.Text2->text(), QStringLiteral("AB C"));
  // Stop inside the first character ends the loop after it.
  rec.clear();
  w.Text1->setText(QStringLiteral("EEEE"));
  QMetaObject::invokeMethod(qApp, [this] { w.Command4_Click(); }, Qt::QueuedConnection);
  w.Command3_Click();
  EXPECT_EQ(keyed(), QStringLiteral("E"));
  // The live box: keyed at once, never shown; Backspace after all was sent drops Text2's last.
  rec.clear();
  w.Text2->clear();
  int k = 't';
  w.Text5_KeyPress(k);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(keyed(), QStringLiteral("T"));
  int back = 8;
  w.Text5_KeyPress(back);
  EXPECT_EQ(w.Text2->text(), QString());
  // The speed label follows Faster and Slower.
  w.Command7->click();
  EXPECT_EQ(w.Label8->text(), QStringLiteral("21"));
  w.Command8->click();
  EXPECT_EQ(w.Label8->text(), QStringLiteral("20"));
}

TEST_F(CodePracticeWindow, ClosingDuringADrainIsRefusedOnce) {
  w.show();
  w.Text1->setText(QStringLiteral("EEE"));
  bool stillOpen = false;
  QMetaObject::invokeMethod(qApp, [&] { w.close(); stillOpen = w.isVisible(); }, Qt::QueuedConnection);
  w.Command3_Click();
  EXPECT_TRUE(stillOpen);  // refused while the key line drains; the buffer emptied
  EXPECT_TRUE(state.CWBuffer.isEmpty());
  w.close();
  EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace fd
