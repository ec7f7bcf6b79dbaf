// The recent-contacts list of the real main window: views, sort, clipboard,
// clock labels.
#include <QClipboard>
#include <QHeaderView>

#include "form1_fixture.h"

namespace fd {
namespace {

using test::recordLine;

class RoadList : public test::RoadForm {
 protected:
  QByteArray records(int n) {
    QByteArray log;
    for (int i = 1; i <= n; ++i)
      log += recordLine(QString("K%1AA").arg(i), "1A", "CT", "2024/06/22", QString("09:%1:45").arg(i % 60, 2, 10, QChar('0')),
                        "40", "PH", "AB");
    return log;
  }
  QStringList column(int c) const {
    QStringList out;
    for (int i = 0; i < form->ListView1->topLevelItemCount(); ++i) out << form->ListView1->topLevelItem(i)->text(c);
    return out;
  }
};

TEST_F(RoadList, LastTwentyAndAllViews) {
  open(records(21));
  EXPECT_EQ(form->ListView1->topLevelItemCount(), 20);
  EXPECT_EQ(column(0).first(), "21");
  EXPECT_EQ(column(0).last(), "2");
  const QStringList top = {"21", "K21AA", "1A", "CT", "6/22", "9:21", "40", "PH", "AB"};
  for (int c = 0; c < 9; ++c) EXPECT_EQ(form->ListView1->topLevelItem(0)->text(c), top[c]);

  form->cmdList->click();
  EXPECT_EQ(form->cmdList->text(), "All");
  EXPECT_EQ(form->ListView1->topLevelItemCount(), 21);
  EXPECT_EQ(focused(), form->txtCall);
  form->cmdList->click();
  EXPECT_EQ(form->cmdList->text(), "Last 20");
  EXPECT_EQ(form->ListView1->topLevelItemCount(), 20);
}

TEST_F(RoadList, ColumnSortIsOnceAndAsText) {
  open(records(12));
  form->cmdList->click();
  form->cmdList->click();
  state.ShowWholeLog = 0;
  // Records 8 to 12 only.
  while (form->ListView1->topLevelItemCount() > 5) delete form->ListView1->takeTopLevelItem(5);
  QHeaderView* header = form->ListView1->header();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(0) + 5, 5));
  EXPECT_EQ(column(0), (QStringList{"10", "11", "12", "8", "9"}));
  // Rows added afterwards are not placed in order.
  form->addListRow(1);
  EXPECT_EQ(column(0).last(), "1");
}

TEST_F(RoadList, ClipboardCopyHeadingThenRowsBottomToTop) {
  open();
  form->mnuCopyListtoClipboard_Click();
  const QString heading = "Rec#\tCall\tClass\tSec\tDate\tTime\tBnd\tMode\tOpr\r\n";
  EXPECT_EQ(QApplication::clipboard()->text(), heading);

  form.reset();
  open(records(2));
  form->mnuCopyListtoClipboard_Click();
  EXPECT_EQ(QApplication::clipboard()->text(), heading + "1\tK1AA\t1A\tCT\t6/22\t9:01\t40\tPH\tAB\r\n" +
                                                   "2\tK2AA\t1A\tCT\t6/22\t9:02\t40\tPH\tAB\r\n");
}

TEST_F(RoadList, ClickShowsEditAndDeleteOnlyWithRows) {
  open();
  form->ListView1_Click();
  EXPECT_TRUE(form->cmdEdit->isHidden());
  form.reset();
  open(records(1));
  QTest::mouseClick(form->ListView1->viewport(), Qt::LeftButton, {},
                    form->ListView1->visualItemRect(form->ListView1->topLevelItem(0)).center());
  EXPECT_FALSE(form->cmdEdit->isHidden());
  EXPECT_FALSE(form->cmdDelete->isHidden());
  type("k");  // any key in the call field hides them again
  EXPECT_TRUE(form->cmdEdit->isHidden());
}

TEST_F(RoadList, ClocksAndRates) {
  fake->clock->setLocal(plainDateTime(QDate(2024, 6, 22), QTime(14, 2, 9)));
  state.UTCOffset = 5;
  // 1199 s and 1200 s before 19:02:09 UTC, and one exactly an hour old.
  open(recordLine("K1AA", "1A", "CT", "2024/06/22", "18:02:09", "40", "PH") +
       recordLine("K2AA", "1A", "CT", "2024/06/22", "18:42:09", "40", "PH") +
       recordLine("K3AA", "1A", "CT", "2024/06/22", "18:42:10", "40", "PH"));
  form->Timer2_Timer();
  EXPECT_EQ(form->lblutctime->text(), "19:02:09");
  EXPECT_EQ(form->lblCurTime->text(), "2:02:09");
  EXPECT_EQ(form->Label16->text(), "PM");
  form->Timer1_Timer();
  EXPECT_EQ(form->lblAQSO60->text(), "2");
  EXPECT_EQ(form->lblAQSO20->text(), "3");
  EXPECT_TRUE(form->Timer1.isActive());
  EXPECT_TRUE(form->Timer2.isActive());
}

}  // namespace
}  // namespace fd
