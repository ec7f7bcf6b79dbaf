// The main window as the other subsystems reach it (MainWindow), through the
// real Form1: a program write is the filter and the change step only, and the
// save step runs as Enter runs it.
#include "form1_fixture.h"

namespace fd {
namespace {

using test::recordLine;

class Form1Port : public test::RoadForm {};

TEST_F(Form1Port, ProgramWriteIsFilterAndChangeStepOnlyThenMainsSaves) {
  open();
  state.CurMode = "DIG";
  state.DigLinkUp = 1;
  MainWindow& mw = *form;
  keying->calls.clear();

  // A complete call followed by a digit would carry to the class when typed;
  // written by the program it stays where it is, upper-cased, quote dropped.
  mw.setFieldText(MainWindow::Field::Call, "w1aw\"2");
  EXPECT_EQ(mw.fieldText(MainWindow::Field::Call), "W1AW2");
  EXPECT_EQ(state.CallText, "W1AW2");                                   // the change step ran
  EXPECT_EQ(keying->calls, (QStringList{"digCall W1AW2"}));             // ... once, and nothing else
  EXPECT_EQ(focused(), form->txtCall);                                  // no focus move
  EXPECT_EQ(form->txtCK->text(), "");                                   // no carry
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());                          // no duplicate check, no save
  EXPECT_EQ(readFile("fdlog.dat"), QByteArray());

  // Class and section written while the call field keeps the cursor.
  mw.setFieldText(MainWindow::Field::Call, "w1aw");
  mw.setFieldText(MainWindow::Field::Class, "2a");
  mw.setFieldText(MainWindow::Field::Section, "ct\r\n");
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_EQ(mw.fieldText(MainWindow::Field::Section), "CT");

  mw.Mains();
  EXPECT_EQ(readFile("fdlog.dat"), recordLine("W1AW", "2A", "CT", "2024/06/22", "18:00:00", "40", "DIG", "AB"));
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_EQ(form->lblTotCon->text().trimmed().isEmpty(), false);

  // The same contact again through the interface is refused as Enter refuses it.
  mw.setFieldText(MainWindow::Field::Call, "W1AW");
  mw.setFieldText(MainWindow::Field::Class, "2A");
  mw.setFieldText(MainWindow::Field::Section, "CT");
  mw.Mains();
  EXPECT_EQ(state.QsoCount(), 1);
  EXPECT_EQ(form->lblDialog->backColor(), kStatusDupe);
}

TEST_F(Form1Port, BandModeStatusAndReloadAsTheMenusRunThem) {
  open(recordLine("K2XYZ", "1E", "ENY", "2024/06/22", "17:00:00", "20", "CW", "AB"));
  MainWindow& mw = *form;
  mw.selectBand("20");
  mw.selectMode("CW");
  mw.selectBand("11");  // not a band: nothing happens
  EXPECT_EQ(state.CurBand, "20");
  EXPECT_EQ(state.CurMode, "CW");
  EXPECT_TRUE(readFile("fdpref.dat").size() > 0);  // the commands store the preferences
  mw.setCurFreq("14.025");
  EXPECT_EQ(state.CurFreq, "14.025");
  mw.setStatus("Radio not answering", kStatusDupe);
  EXPECT_EQ(mw.statusText(), "Radio not answering");
  EXPECT_EQ(form->lblDialog->backColor(), kStatusDupe);

  // A contact added to the file by another part of the program shows after the reload.
  writeFile("fdlog.dat", recordLine("K2XYZ", "1E", "ENY", "2024/06/22", "17:00:00", "20", "CW", "AB") +
                            recordLine("W1AW", "2A", "CT", "2024/06/22", "17:30:00", "20", "PH", "AB"));
  mw.mnuopen2();
  EXPECT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(form->ListView1->topLevelItemCount(), 2);
  EXPECT_EQ(form->Label10[static_cast<size_t>(sectionRow("CT"))]->foreColor(), state.WorkedColor);
  EXPECT_EQ(form->lblTotScore->text(), "3");  // one CW contact (2 points) and one phone contact (1)
  EXPECT_EQ(mw.window(), form.get());
}

}  // namespace
}  // namespace fd
