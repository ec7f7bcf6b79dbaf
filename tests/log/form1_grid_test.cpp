// The section grid: the hover text, the click into the section field, and the
// colours window with what it leaves in fdpref.dat and on the grid.
#include <QMouseEvent>
#include <QTest>

#include "log/form1.h"
#include "log/form6.h"
#include "log/sectionhover.h"
#include "platform/forms.h"
#include "testenv.h"

namespace fd {
namespace {

class ShellGridTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    form = std::make_unique<Form1>(state, services);
    form->FillSectionGrid();
  }
  void TearDown() override {
    form.reset();
    setModalHook({});
  }
  void add(const char* sec, const char* band, const char* mode) {
    state.Log.append(QsoRecord{"W1AW", "2A", sec, "2024/06/22", "18:05:00", band, mode, "", ""});
  }
  ClickLabel* cell(const char* sec) const { return form->Label10[static_cast<size_t>(sectionRow(sec))]; }
  QByteArray prefLine(int n) const { return readFile("fdpref.dat").split('\n').value(n - 1).chopped(1); }
  static void moveOver(QWidget* w) {
    QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
  }

  Services services;
  std::unique_ptr<Form1> form;
};

TEST_F(ShellGridTest, StartCaptionsTipsAndColour) {
  for (int i = 1; i <= kSecTotal; ++i) {
    ClickLabel* c = form->Label10[static_cast<size_t>(i)];
    EXPECT_EQ(c->text(), state.SecName[i]);
    EXPECT_EQ(c->toolTip(), state.SecFullName[i]);
    EXPECT_EQ(c->foreColor(), 128);
  }
}

// Counts by exact section text; every band but 160..10 is VHF/UHF; the total
// counts every record of the section, a mode outside the three included.
TEST_F(ShellGridTest, HoverTextByteForByte) {
  add("CT", "20", "CW");
  add("CT", "20", "CW");
  add("CT", "6", "PH");
  add("CT", "SAT", "DIG");
  add("CT", "1.25", "XX");
  add("CT", "160", "PH");
  add("ct", "20", "CW");
  add("DX", "20", "CW");
  add("ENY", "40", "PH");
  moveOver(cell("CT"));
  EXPECT_EQ(form->lblDupe->text(),
            " Connecticut    Total = 6\r\n"
            "  160 = 1  80 = 0  40 = 0  20 = 2  15 = 0  10 = 0\r\n"
            "  VHF/UHF= 3  CW= 2  DIG= 1  SSB= 2");
  moveOver(cell("ME"));
  EXPECT_EQ(form->lblDupe->text(),
            " Maine    Total = 0\r\n"
            "  160 = 0  80 = 0  40 = 0  20 = 0  15 = 0  10 = 0\r\n"
            "  VHF/UHF= 0  CW= 0  DIG= 0  SSB= 0");
  // The bare window surface empties the box.
  moveOver(form->surface);
  EXPECT_EQ(form->lblDupe->text(), QString());
}

// 8 points on a 9600-twip screen at 100 %, in proportion to the screen and the
// window size; the size stays for what the box shows next, even after a refit.
TEST_F(ShellGridTest, HoverFontFollowsScreenAndWindowSize) {
  EXPECT_DOUBLE_EQ(sectionHoverFontPoints(9600, 50), 4.0);
  EXPECT_DOUBLE_EQ(sectionHoverFontPoints(12000, 100), 10.0);
  state.FormSizePct = 80;
  form->Label10_MouseMove(1);
  EXPECT_DOUBLE_EQ(form->lblDupe->font().pointSizeF(), 8.0);
  form->lblDupe->setText("partial list");
  form->applyLayout();
  EXPECT_DOUBLE_EQ(form->lblDupe->font().pointSizeF(), 8.0);
  // A size outside 30..100 from a hand-edited file is taken as its nearest bound.
  state.FormSizePct = 0;
  form->Label10_MouseMove(1);
  EXPECT_DOUBLE_EQ(form->lblDupe->font().pointSizeF(), 3.0);
}

TEST_F(ShellGridTest, ClickPutsTheSectionIntoTheSectionField) {
  form->show();
  form->txtSec->setText("ENY");
  form->txtCall->setText("K2XYZ");
  form->txtCall->setFocus();
  QTest::mouseClick(cell("NNJ"), Qt::LeftButton);
  EXPECT_EQ(form->txtSec->text(), "NNJ");
  EXPECT_EQ(form->txtCall->text(), "K2XYZ");
  EXPECT_EQ(form->focusWidget(), form->txtCall);
}

// The dialog opens on the colour in force; a cancelled dialog keeps it. Both
// colours reach fdpref.dat and the grid when the window closes.
TEST_F(ShellGridTest, ColoursWindowStoresAndRepaints) {
  state.WorkedColor = 255;
  state.RemainingColor = 65280;
  writeFile("fdlog.dat", test::recordLine("W1AW", "2A", "CT", "2024/06/22", "18:05:00", "20", "CW"));
  fake->dialogs->colors = {rgbValue(0, 0, 200), std::nullopt};
  ColorValue sampleWorked = -1, sampleRemaining = -1;
  QString title;
  setModalHook([&](QWidget* w) {
    auto* f = qobject_cast<Form6*>(w);
    ASSERT_NE(f, nullptr);
    title = f->windowTitle();
    EXPECT_EQ(f->Label1->foreColor(), 255);
    EXPECT_EQ(f->Label2->foreColor(), 65280);
    f->Command3->click();  // worked: a new colour
    f->Command1->click();  // remaining: cancelled
    sampleWorked = f->Label1->foreColor();
    sampleRemaining = f->Label2->foreColor();
    // The grid waits for the window to close.
    EXPECT_EQ(cell("CT")->foreColor(), 128);
    f->Command6->click();
  });
  form->mnuColors_Click();

  EXPECT_EQ(title, " Modify Multiplier Color Selections");
  ASSERT_EQ(fake->dialogs->shown.size(), 2);
  EXPECT_EQ(fake->dialogs->shown[0].defaultAnswer, "255");
  EXPECT_EQ(fake->dialogs->shown[1].defaultAnswer, "65280");
  EXPECT_EQ(sampleWorked, rgbValue(0, 0, 200));
  EXPECT_EQ(sampleRemaining, 65280);
  EXPECT_EQ(state.WorkedColor, rgbValue(0, 0, 200));
  EXPECT_EQ(state.RemainingColor, 65280);
  EXPECT_EQ(prefLine(7), "13107200");
  EXPECT_EQ(prefLine(8), "65280");
  EXPECT_EQ(cell("CT")->foreColor(), rgbValue(0, 0, 200));
  EXPECT_EQ(cell("ENY")->foreColor(), 65280);
}

// Closing with the close box keeps what was chosen, as Done does.
TEST_F(ShellGridTest, ColoursWindowClosedByItsCloseBox) {
  writeFile("fdlog.dat", QByteArray());
  fake->dialogs->colors = {rgbValue(1, 2, 3)};
  setModalHook([](QWidget* w) {
    auto* f = qobject_cast<Form6*>(w);
    f->Command1->click();
    f->close();
  });
  form->mnuColors_Click();
  EXPECT_EQ(prefLine(8), QByteArray::number(rgbValue(1, 2, 3)));
  EXPECT_EQ(cell("CT")->foreColor(), rgbValue(1, 2, 3));
}

}  // namespace
}  // namespace fd
