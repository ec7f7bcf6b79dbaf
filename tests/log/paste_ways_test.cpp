// Text that comes into a box without being typed key by key: the context
// menu's Paste, Shift+Insert, the middle button, a drop and an input method's
// commit, into every box whose text goes into fdlog.dat or fdpref.dat, and
// into a box of each other kind: the radio's requests, a CW message, the summary.
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>

#include "form1_fixture.h"
#include "keying/cwfrm.h"
#include "keying/cwkeyer.h"
#include "log/frmeditcon.h"
#include "log/frmoperator.h"
#include "log/frmstationid.h"
#include "log/logfile.h"
#include "output/backup_window.h"
#include "output/form2.h"
#include "platform/serial.h"
#include "rig/rigcontrolfrm.h"

namespace fd {
namespace {

using test::recordLine;

enum class Way { Menu, ShiftInsert, Middle, Drop, InputMethod };
const char* wayName(Way w) {
  switch (w) {
    case Way::Menu: return "context menu";
    case Way::ShiftInsert: return "Shift+Insert";
    case Way::Middle: return "middle button";
    case Way::Drop: return "drop";
    case Way::InputMethod: return "input method";
  }
  return "";
}
constexpr Way kWays[] = {Way::Menu, Way::ShiftInsert, Way::Middle, Way::Drop, Way::InputMethod};

// The primary selection for the middle button; the offscreen platform has none.
class ScopedSelection {
 public:
  explicit ScopedSelection(const QString& text) { setPrimarySelectionSource([text] { return text; }); }
  ~ScopedSelection() { setPrimarySelectionSource({}); }
};

void bring(KeyBox* box, Way way, const QString& text) {
  const QPoint mid(box->width() / 2, box->height() / 2);
  switch (way) {
    case Way::Menu:
      test::pasteByMenu(box, text);
      break;
    case Way::ShiftInsert:
      QApplication::clipboard()->setText(text);
      QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
      break;
    case Way::Middle: {
      ScopedSelection selection(text);
      QTest::mouseClick(box, Qt::MiddleButton, {}, mid);
      break;
    }
    case Way::Drop: {
      QMimeData data;
      data.setText(text);
      QDragEnterEvent enter(mid, Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(box, &enter);
      QDropEvent drop(QPointF(mid), Qt::CopyAction, &data, Qt::LeftButton, {});
      QApplication::sendEvent(box, &drop);
      break;
    }
    case Way::InputMethod: {
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(box, &commit);
      break;
    }
  }
}

const QString kQuoted = QStringLiteral("n5\"x,y");
const QString kDupe = QStringLiteral("k2abc");  // K2ABC is logged on 40 PH
const QString kBlanks = QStringLiteral("  say\x1b hi\t\r\n");
const QString kLongUnit = QStringLiteral("w1aw/");
const int kLongRepeats = 25600;  // 128,000 characters: 125 KB
// Lines copied from elsewhere: each run of line ends inside is one line break.
const QString kLines = QStringLiteral("\r\ncq \"fd\"\r\n\r\nde w1aw\rk\n");

// What each kind of box makes of the five texts (the long one as its repeated unit).
enum class Kind { Entry, Upper, Folder, Date, Time, Offset, Request, Free };
struct Expected { const char* quoted; const char* dupe; const char* blanks; const char* longUnit; const char* lines; };
Expected expected(Kind k) {
  switch (k) {
    case Kind::Entry: return {"N5X,Y", "K2ABC", "SAYHI", "W1AW/", "CQFDDEW1AWK"};  // call, class, section: no blanks
    case Kind::Upper: return {"N5X,Y", "K2ABC", "  SAY HI", "W1AW/", "CQ FD DE W1AW K"};  // blanks kept
    case Kind::Folder: return {"n5x,y", "k2abc", "  say hi", "w1aw/", "cq fd de w1aw k"};
    case Kind::Date: return {"5", "2", "", "1/", "1"};
    case Kind::Time: return {"5", "2", "", "1", "1"};
    case Kind::Offset: return {"5", "2", "", "1/", "1"};
    // Sent to the radio as they stand: a blank for a line end would be sent too.
    case Kind::Request: return {"n5x,y", "k2abc", "  say hi", "w1aw/", "cq fdde w1awk"};
    case Kind::Free: return {"n5\"x,y", "k2abc", "  say hi", "w1aw/", "cq \"fd\" de w1aw k"};
  }
  return {};
}

struct Box {
  const char* name;
  KeyBox* box;
  Kind kind;
  int limit;  // the box's own length limit, Qt's where it has none
  bool mainEntry = false;
};

class PasteWays : public test::RoadForm {
 protected:
  void openLog() {
    state.CurBand = "40";
    state.CurMode = "PH";
    open(recordLine("K2ABC", "1A", "STX", "2024/06/22", "17:00:00", "40", "PH"));
  }

  // Everything the main window's entry shows, and where the focus is.
  QString snapshot() const {
    QStringList s{form->txtCall->text(), form->txtCK->text(), form->txtSec->text(), form->txtPostConTime->text(),
                  form->txtPostConDate->text()};
    QWidget* f = focused();
    s << (f ? f->objectName() : QString()) << QString::number(state.QsoCount());
    return s.join(u'|');
  }
  void resetEntry(KeyBox* box) {
    form->cmdClear_Click();
    form->txtPostConTime->clear();
    form->txtPostConDate->clear();
    state.DupeFlag = 0;
    box->setFocus(Qt::OtherFocusReason);
    box->clear();
  }
};

TEST_F(PasteWays, EveryWayInObeysTheBoxesKeyRules) {
  openLog();
  form->mnuPostContest_Click();
  const int countBefore = state.QsoCount();
  frmEditCon edit(state, 1);
  frmStationID station(state);
  frmOperator op(state);
  frmBackup backup(state, *form);
  RigControlfrm rig(state, form.get());
  FakeSerialPort cwPort, phonePort;
  CWKeyer keyer(state, cwPort, phonePort);
  CWFrm cw(keyer, state, form.get());
  Form2 summary(state);
  const Box boxes[] = {
      {"Call", form->txtCall, Kind::Entry, 12, true},
      {"Class", form->txtCK, Kind::Entry, 3, true},
      {"Section", form->txtSec, Kind::Entry, 20, true},
      {"post-contest time", form->txtPostConTime, Kind::Time, 8, true},
      {"post-contest date", form->txtPostConDate, Kind::Date, 10, true},
      {"edit call", edit.txtEditCall, Kind::Upper, 32767},
      {"edit class", edit.txtEditCk, Kind::Upper, 32767},
      {"edit section", edit.txtEditSec, Kind::Upper, 32767},
      {"edit date", edit.txtEditDate, Kind::Upper, 32767},
      {"edit time", edit.txtEditTime, Kind::Upper, 32767},
      {"edit band", edit.txtEditBnd, Kind::Upper, 32767},
      {"edit mode", edit.txtEditmode, Kind::Upper, 32767},
      {"edit initials", edit.Text1, Kind::Upper, 32767},
      {"station call", station.Text1, Kind::Upper, 32767},
      {"station class", station.Text3, Kind::Upper, 32767},
      {"station section", station.Text5, Kind::Upper, 32767},
      {"station UTC offset", station.Text6, Kind::Offset, 32767},
      {"station initials", station.Text4, Kind::Upper, 32767},
      {"operator initials", op.Text1, Kind::Upper, 10},
      {"backup folder", backup.Text1, Kind::Folder, 32767},
      {"frequency request", rig.txtFreq, Kind::Request, 32767},
      {"mode request", rig.txtMode, Kind::Request, 32767},
      {"CW message F1", cw.Text[1], Kind::Upper, 32767},
      {"summary address line 1", summary.Text6, Kind::Free, 32767},
  };
  form->txtCall->setObjectName("txtCall");
  form->txtCK->setObjectName("txtCK");
  form->txtSec->setObjectName("txtSec");
  form->txtPostConTime->setObjectName("txtPostConTime");
  form->txtPostConDate->setObjectName("txtPostConDate");

  QStringList failed;
  for (const Box& b : boxes) {
    EXPECT_EQ(b.box->maxLength(), b.limit) << b.name;
    const Expected e = expected(b.kind);
    const struct { const char* name; QString text, want; } texts[] = {
        {"n5\"x,y", kQuoted, QString(e.quoted).left(b.limit)},
        {"k2abc", kDupe, QString(e.dupe).left(b.limit)},
        {"blanks", kBlanks, QString(e.blanks).left(b.limit)},
        {"125 KB", kLongUnit.repeated(kLongRepeats), QString(e.longUnit).repeated(kLongRepeats).left(b.limit)},
        {"line ends", kLines, QString(e.lines).left(b.limit)},
    };
    for (Way way : kWays) {
      for (const auto& [textName, text, want] : texts) {
        const QString what = QString("%1, %2, %3").arg(b.name, wayName(way), textName);
        SCOPED_TRACE(what.toStdString());
        // Outside the main window's entry a short commit is typed into the
        // box alone, and a line end is no key: nothing to compare there.
        if (way == Way::InputMethod && !b.mainEntry && text == kLines) continue;
        // An input method's commit is typed: in the main window's entry it
        // runs the key rules, and what typing the same keys gives is the answer.
        const bool typed = way == Way::InputMethod && b.mainEntry && text.size() < 1000;
        QString typedResult;
        if (typed) {
          resetEntry(b.box);
          QString keys = text;
          keys.remove(QRegularExpression("[\\x00-\\x1f]"));
          for (QChar c : keys) QTest::keyClick(focused(), c.toLatin1());  // each key where the focus is then
          typedResult = snapshot();
        }
        if (b.mainEntry) resetEntry(b.box);
        else b.box->clear();
        QWidget* const focusBefore = focused();
        bring(b.box, way, text);
        bool ok;
        if (typed) {
          ok = snapshot() == typedResult;
          EXPECT_EQ(snapshot().toStdString(), typedResult.toStdString());
        } else {
          // Text, not keys: no carry, no focus move, no save.
          ok = b.box->text() == want && focused() == focusBefore;
          EXPECT_EQ(b.box->text().left(40).toStdString(), want.left(40).toStdString());
          EXPECT_EQ(focused(), focusBefore);
        }
        if (!ok) failed << what;
      }
    }
  }
  EXPECT_EQ(state.QsoCount(), countBefore);  // no way in ever saves
  if (!failed.isEmpty()) ADD_FAILURE() << "rows that failed:\n" << failed.join(u'\n').toStdString();
}

// Each character as the key that types it, no Shift: Qt's key for a Latin-1
// character is its upper-case code.
void typeChars(const QString& text) {
  for (QChar c : text)
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(c.toUpper().unicode()), QString(c),
                        Qt::NoModifier);
}

// An input method's commit is typed: in the digital mode the link gets each
// character's key first, the code of the US key that types it, and keyboard
// RTTY keeps the characters out of the boxes, as for typed keys. A second
// commit that arrives while the link lets events run waits its turn.
TEST_F(PasteWays, CommitGoesThroughTheDigitalLinkAsTypedKeys) {
  openLog();
  state.CurMode = "DIG";
  state.DigLinkUp = 1;
  const struct {
    const char* name;
    QString commit, second;
    QList<int> link;
    bool keyboardRtty;
  } rows[] = {
      {"letter", "w", "", {87}, false},
      {"comma", ",", "", {188}, false},
      {"no US key", QStringLiteral("\u00e4"), "", {}, false},
      {"call, Space, class", "w1aw 2a", "", {87, 49, 65, 87, 32, 50, 65}, false},
      {"second commit", "w1aw 2", "a", {87, 49, 65, 87, 32, 50, 65}, false},
      {"keyboard RTTY", "w1aw 2a", "", {87, 49, 65, 87, 32, 50, 65}, true},
      {"keyboard RTTY, no US key", QStringLiteral("\u00e4"), "", {}, true},
  };
  const auto linkKeys = [this] {
    QList<int> codes;
    for (const QString& c : keying->calls)
      if (c.startsWith("digKey ") && c.size() > 7) codes << c.mid(7).toInt();
    return codes;
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    form->KeyboardRTTY = r.keyboardRtty ? 1 : 0;
    resetEntry(form->txtCall);
    typeChars(r.commit + r.second);
    const QString typed = snapshot();
    resetEntry(form->txtCall);
    keying->calls.clear();
    if (!r.second.isEmpty()) {
      auto* second = new QInputMethodEvent;
      second->setCommitString(r.second);
      QCoreApplication::postEvent(form->txtCall, second);
    }
    bring(form->txtCall, Way::InputMethod, r.commit);
    QCoreApplication::processEvents();
    EXPECT_EQ(linkKeys(), r.link);
    EXPECT_EQ(snapshot().toStdString(), typed.toStdString());
    if (r.keyboardRtty) EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  }
  form->KeyboardRTTY = 0;
  // A key with no code of its own sends the link nothing, never a 0.
  keying->calls.clear();
  QTest::keyClick(form->txtCall, Qt::Key_CapsLock);
  EXPECT_EQ(linkKeys(), QList<int>{});
}

QAction* menuItem(QMenu& menu, const char* qtText) {
  const QString name = QCoreApplication::translate("QLineEdit", qtText);
  for (QAction* a : menu.actions())
    if (a->text().section(u'\t', 0, 0) == name) return a;
  return nullptr;
}

// The entry's Ctrl keys are the window's hot keys: its menu names only the
// keys that edit there, and those keys do.
TEST_F(PasteWays, EntryMenuNamesOnlyTheKeysThatWorkThere) {
  openLog();
  const struct { const char* item; const char* key; } items[] = {
      {"&Undo", ""}, {"&Redo", ""}, {"Cu&t", "Shift+Del"}, {"&Copy", ""},
      {"&Paste", "Shift+Ins"}, {"Delete", ""}, {"Select All", ""},
  };
  for (KeyBox* box : form->entryFields()) {
    std::unique_ptr<QMenu> menu(box->createContextMenu());
    for (const auto& [item, key] : items) {
      SCOPED_TRACE(item);
      QAction* a = menuItem(*menu, item);
      ASSERT_NE(a, nullptr);
      EXPECT_EQ(a->text().section(u'\t', 1).toStdString(), key);
      EXPECT_TRUE(a->shortcut().isEmpty());
    }
  }
  type("w1aw");
  key(Qt::Key_Home, Qt::ShiftModifier);
  key(Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(form->txtCall->text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "W1AW");
  key(Qt::Key_Insert, Qt::ShiftModifier);
  type("/");
  EXPECT_EQ(form->txtCall->text(), "W1AW/");
}

// What the program writes into the entry is none of the operator's editing:
// the context menu's Undo brings nothing back.
TEST_F(PasteWays, UndoBringsBackNothingTheProgramWrote) {
  openLog();
  KeyBox* const call = form->txtCall;
  KeyBox* const cls = form->txtCK;
  KeyBox* const sec = form->txtSec;
  const auto backInto = [this](KeyBox* box) {
    box->setFocus(Qt::OtherFocusReason);
    box->end(false);
  };
  const struct {
    const char* name;
    std::function<void()> write;
    QList<KeyBox*> boxes;
    QStringList written;
  } writes[] = {
      {"the save", [&] { type("w1aw 2a stx\r"); }, {call, cls, sec}, {"", "", ""}},
      {"a refused duplicate", [&] { type("k2abc "); }, {call, cls, sec}, {"", "", ""}},
      {"Esc", [&] { type("n2bb 2a stx\x1b"); }, {call, cls, sec}, {"", "", ""}},
      {"the call's carry", [&] { type("n3cc 3b"); backInto(call); type("2"); }, {cls}, {"2"}},
      {"the class's carry", [&] { type("n4dd 2a stx"); backInto(cls); type("c"); }, {sec}, {"C"}},
      {"setFieldText",
       [&] {
         type("n5ee 2a stx");
         form->setFieldText(MainWindow::Field::Call, "k1abc");
         form->setFieldText(MainWindow::Field::Class, "3b");
         form->setFieldText(MainWindow::Field::Section, "ct");
       },
       {call, cls, sec},
       {"K1ABC", "3B", "CT"}},
      {"the class and section of the call on another band", [&] { state.CurBand = "20"; type("k2abc "); }, {cls, sec},
       {"1A", "STX"}},
  };
  for (const auto& w : writes) {
    SCOPED_TRACE(w.name);
    resetEntry(call);
    w.write();
    for (qsizetype i = 0; i < w.boxes.size(); ++i) {
      KeyBox* const box = w.boxes[i];
      SCOPED_TRACE(i);
      ASSERT_EQ(box->text(), w.written[i]);
      std::unique_ptr<QMenu> menu(box->createContextMenu());
      QAction* undo = menuItem(*menu, "&Undo");
      ASSERT_NE(undo, nullptr);
      undo->trigger();
      EXPECT_EQ(box->text().toStdString(), w.written[i].toStdString());
    }
  }
}

TEST_F(PasteWays, PastedCallGetsItsPartialListAndNothingElse) {
  openLog();
  form->cmdEdit->show();
  form->cmdDelete->show();
  state.DupeFlag = 1;  // a duplicate was just found: the next typed key is held
  state.DupeTime = fake->clock->monotonicMs();
  const auto t0 = fake->clock->monotonicMs();
  test::pasteByMenu(form->txtCall, kDupe);
  EXPECT_EQ(form->txtCall->text(), "K2ABC");
  EXPECT_TRUE(form->cmdEdit->isHidden());
  EXPECT_TRUE(form->cmdDelete->isHidden());
  EXPECT_EQ(form->lblDupe->text(), "K2ABC  ");
  EXPECT_EQ(status(), "Possible Duplicate!");
  EXPECT_EQ(state.DupeFlag, 1);                       // the hold still waits for a typed key
  EXPECT_EQ(fake->clock->monotonicMs(), t0);          // and the paste did not wait
  EXPECT_EQ(focused(), form->txtCall);
  EXPECT_EQ(entry(), (QStringList{"K2ABC", "", ""}));

  // Three characters: the call-form check, as after typing the third.
  form->cmdClear_Click();
  fake->dialogs->clear();
  test::pasteByMenu(form->txtCall, "wab");
  EXPECT_EQ(status(), "The second or third character is not numeric!");
  EXPECT_EQ(fake->dialogs->beeps, 1);

  // Leaving the field finds the duplicate the pasted call is: not saved again.
  form->cmdClear_Click();
  state.DupeFlag = 0;
  test::pasteByMenu(form->txtCall, kDupe);
  type(" ");
  EXPECT_TRUE(status().startsWith("Dupe: K2ABC 1A STX")) << status().toStdString();
  EXPECT_EQ(entry(), (QStringList{"", "", ""}));
  EXPECT_EQ(state.QsoCount(), 1);
}

TEST_F(PasteWays, PastedCallIsLoggedAsALineThatReadsBack) {
  openLog();
  test::pasteByMenu(form->txtCall, kQuoted);
  type(" 1a stx\r");
  ASSERT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.Log.rec(2).Call, "N5X,Y");
  const logfile::LoadResult back = logfile::load(path("fdlog.dat"));
  EXPECT_EQ(back.unreadable, 0);
  ASSERT_EQ(back.records.size(), 2u);
  EXPECT_EQ(back.records[1], state.Log.rec(2));
}

// A box written past its filter (the bare line-edit call, as no window of
// ours does) still gives a record whose line keeps its fields apart.
TEST_F(PasteWays, SaveStepStoresNoQuoteOrLineEnd) {
  openLog();
  form->txtCall->QLineEdit::setText("W1\"AW");
  form->txtCK->QLineEdit::setText("2\nA");
  form->txtSec->QLineEdit::setText("C\rT");
  state.CurFreq = "7.0\"25";
  fake->dialogs->answers = {Answer::No};  // not a known section: saved as typed
  type("\r");
  ASSERT_EQ(state.QsoCount(), 2);
  EXPECT_EQ(state.Log.rec(2).Call, "W1AW");
  EXPECT_EQ(state.Log.rec(2).Class, "2A");
  EXPECT_EQ(state.Log.rec(2).Section, "CT");
  EXPECT_EQ(state.Log.rec(2).Freq, "7.025");
  EXPECT_EQ(logfile::load(path("fdlog.dat")).records.size(), 2u);
}

}  // namespace
}  // namespace fd
