// The small windows' keys as an operator presses them: the editing keys
// Ctrl+A, C, V, X and Z in every box (with the control character X11 attaches),
// Esc as the window's Cancel or its close box, and a frame without minimise or maximise.
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTest>
#include <QTreeWidget>

#include "log/form5.h"
#include "log/form6.h"
#include "log/frmeditcon.h"
#include "log/frmfind.h"
#include "log/frmoperator.h"
#include "log/frmstationid.h"
#include "log/logbook.h"
#include "testenv.h"

namespace fd {
namespace {

using test::recordLine;

// A key press as X11 delivers Ctrl+letter: the letter's key with the control character as text.
void ctrlKey(QWidget* w, Qt::Key key) {
  const QString text(QChar(static_cast<char16_t>(key - Qt::Key_A + 1)));
  QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier, text);
  QApplication::sendEvent(w, &release);
}

class DialogKeys : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    state.OpInitials = "AB";
    writeFile("fdlog.dat", recordLine("W1AW", "2A", "CT", "2024/06/22", "17:00:00", "20", "CW", "AB"));
    LogBook(state).mnuopen2();
  }
  // Shows the window and puts the cursor in the box.
  void open(QWidget* w, KeyBox* box) {
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    w->activateWindow();
    box->setFocus(Qt::OtherFocusReason);
  }
};

TEST_F(DialogKeys, EditingKeysWorkInEverySmallWindowsBox) {
  QTreeWidget list;
  frmFind find(state, &list);
  frmOperator op(state);
  frmStationID station(state);
  frmEditCon edit(state, 1);
  const std::pair<QWidget*, KeyBox*> boxes[] = {
      {&find, find.Text1}, {&op, op.Text1}, {&station, station.Text1}, {&edit, edit.txtEditCall}};
  for (const auto& [window, box] : boxes) {
    SCOPED_TRACE(window->windowTitle().toStdString());
    open(window, box);
    box->setText("W1AW");
    ctrlKey(box, Qt::Key_A);
    EXPECT_EQ(box->selectedText(), "W1AW");
    ctrlKey(box, Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "W1AW");
    ctrlKey(box, Qt::Key_X);
    EXPECT_EQ(box->text(), "");
    ctrlKey(box, Qt::Key_Z);
    EXPECT_EQ(box->text(), "W1AW");
    // Pasted text still passes the box's filter (a tab is never inserted).
    QApplication::clipboard()->setText("K2X\tY");
    ctrlKey(box, Qt::Key_A);
    ctrlKey(box, Qt::Key_V);
    EXPECT_EQ(box->text(), "K2XY");
    window->hide();
  }
}

TEST_F(DialogKeys, EscIsTheWindowsCancelOrDone) {
  {
    QTreeWidget list;
    frmFind find(state, &list);
    open(&find, find.Text1);
    QTest::keyClick(find.Text1, Qt::Key_Escape);
    EXPECT_FALSE(find.isVisible());
  }
  {
    frmOperator op(state);
    open(&op, op.Text1);
    op.Text1->setText("CD");
    QTest::keyClick(op.Text1, Qt::Key_Escape);
    EXPECT_FALSE(op.isVisible());
    EXPECT_EQ(state.OpInitials, "AB");  // the close box: the window has no Cancel
  }
  {
    frmStationID station(state);
    open(&station, station.Text3);
    station.Text3->setText("3F");
    QTest::keyClick(station.Text3, Qt::Key_Escape);
    EXPECT_FALSE(station.isVisible());
    EXPECT_FALSE(station.doneClicked);  // the close box: the boxes go back
    EXPECT_EQ(station.Text3->text(), state.MyClass);
  }
  {
    frmEditCon edit(state, 1);
    open(&edit, edit.txtEditCall);
    edit.txtEditCall->setText("K2XYZ");
    QTest::keyClick(edit.txtEditCall, Qt::Key_Escape);
    EXPECT_FALSE(edit.isVisible());
    EXPECT_EQ(readFile("fdlog.dat"), recordLine("W1AW", "2A", "CT", "2024/06/22", "17:00:00", "20", "CW", "AB"));
  }
}

TEST_F(DialogKeys, DialogsHaveNoMinimiseOrMaximise) {
  QTreeWidget list;
  frmFind find(state, &list);
  frmOperator op(state);
  frmStationID station(state);
  frmEditCon edit(state, 1);
  Form5 help(state);
  Form6 colours(state);
  for (QWidget* w : std::initializer_list<QWidget*>{&find, &op, &station, &edit, &help, &colours}) {
    SCOPED_TRACE(w->windowTitle().toStdString());
    const Qt::WindowFlags f = w->windowFlags();
    EXPECT_TRUE(f & Qt::CustomizeWindowHint);  // the frame shows only what is asked for
    EXPECT_FALSE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
  }
}

}  // namespace
}  // namespace fd
