#pragma once
// The real main window shown offscreen, with fake keyers, rig and spotting
// services that record what they are asked to do, and helpers that type real
// key events into whatever field has the focus.
#include <QApplication>
#include <QStringList>
#include <QTest>

#include "log/form1.h"
#include "testenv.h"

namespace fd::test {

class RecordingKeying : public KeyingServices {
 public:
  QStringList calls;
  mutable int promptPolls = 0;   // promptPlaying() answers true this many more times (-1: forever)
  bool voice = false;
  int wkStatus = 0;
  void blindKeyPhone(const QString& q) override { calls << "prompt " + q; }
  bool promptPlaying() const override {
    if (promptPolls == 0) return false;
    if (promptPolls > 0) --promptPolls;
    return true;
  }
  void fKeyPhone(int& k) override { calls << QString("phone %1").arg(k); }
  bool voicePlaying() const override { return voice; }
  void stopVoice() override { calls << "stopVoice"; }
  void disablePhoneRepeat() override { calls << "disablePhoneRepeat"; }
  void fKeyCW(int& k) override { calls << QString("cw %1").arg(k); }
  void loopThroughCWBuffer() override { calls << "loop"; }
  void cwSpeedUp() override { calls << "speedUp"; }
  void cwSpeedDown() override { calls << "speedDown"; }
  QString cwSpeedText() const override { return "25"; }
  void disableCWRepeat() override { calls << "disableCWRepeat"; }
  void wkClearBuf() override { calls << "wkClearBuf"; }
  int wkGetStatus() override { return wkStatus; }
  void wkBackspace() override { calls << "wkBackspace"; }
  void setDigitalCall(const QString& t) override { calls << "digCall " + t; }
  void setDigitalKey(const QString& t) override { calls << "digKey " + t; }
  void showCWStrings() override { calls << "showCWStrings"; }
  void showCWSetup(bool modal) override { calls << QString("showCWSetup %1").arg(modal); }
  void showPhoneSetup(bool modal) override { calls << QString("showPhoneSetup %1").arg(modal); }
};

class RecordingRig : public RigServices {
 public:
  QStringList calls;
  void showRigInterface() override { calls << "showRigInterface"; }
  void showPrivileges() override { calls << "showPrivileges"; }
  void showRigTune() override { calls << "showRigTune"; }
};

class RecordingSpots : public SpotServices {
 public:
  QStringList calls;
  void showSpottingSetup() override { calls << "showSpottingSetup"; }
  void showSpectrumMap() override { calls << "showSpectrumMap"; }
};

class RoadForm : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    auto k = std::make_unique<RecordingKeying>();
    auto r = std::make_unique<RecordingRig>();
    auto sp = std::make_unique<RecordingSpots>();
    keying = k.get();
    rig = r.get();
    spots = sp.get();
    sv.keying = std::move(k);
    sv.rig = std::move(r);
    sv.spots = std::move(sp);
    state.WorkedColor = rgbValue(0, 0, 255);
    state.RemainingColor = rgbValue(128, 0, 0);
    state.OpInitials = "AB";
  }
  void TearDown() override {
    if (form) form->hide();
    form.reset();
  }

  // Opens the window on a log file holding these lines, cursor in the call field.
  void open(const QByteArray& logLines = {}) {
    writeFile("fdlog.dat", logLines);
    form = std::make_unique<Form1>(state, sv);
    form->AddListColumns();
    if (form->ListView1->columnCount() < 9)
      form->ListView1->setHeaderLabels({"Rec#", "Call", "Class", "Sec", "Date", "Time", "Bnd", "Mode", "Opr"});
    form->FillSectionGrid();
    for (int i = 1; i <= state.SecTotal; ++i)
      if (form->Label10[static_cast<size_t>(i)]->text() == "WWW") form->Label10[static_cast<size_t>(i)]->setText(state.SecName[i]);
    form->book.mnuopen2();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->txtCall->setFocus(Qt::OtherFocusReason);
    keying->calls.clear();
    fake->dialogs->clear();
  }

  QWidget* focused() const { return QApplication::focusWidget(); }

  // Types into the focused widget, one real key event per character:
  // ' ' Space, '\r' Enter, '<' Left arrow, '\x1b' Esc, '\b' Backspace.
  void type(const QString& keys) {
    for (QChar c : keys) {
      QWidget* w = focused();
      ASSERT_NE(w, nullptr);
      switch (c.unicode()) {
        case '\r': QTest::keyClick(w, Qt::Key_Return); break;
        case '<': QTest::keyClick(w, Qt::Key_Left); break;
        case 0x1b: QTest::keyClick(w, Qt::Key_Escape); break;
        case '\b': QTest::keyClick(w, Qt::Key_Backspace); break;
        default: QTest::keyClick(w, static_cast<char>(c.unicode())); break;
      }
    }
  }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(focused(), k, m); }

  QStringList entry() const { return {form->txtCall->text(), form->txtCK->text(), form->txtSec->text()}; }
  QString status() const { return form->lblDialog->text(); }

  Services sv;
  RecordingKeying* keying = nullptr;
  RecordingRig* rig = nullptr;
  RecordingSpots* spots = nullptr;
  std::unique_ptr<Form1> form;
};

}  // namespace fd::test
