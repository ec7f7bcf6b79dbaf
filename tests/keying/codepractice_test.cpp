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
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <string>
#include <vector>

#include "fakemainwindow.h"
#include "keying/codepracticefrm.h"
#include "keying/cwfrm.h"
#include "keying/cwkeyer.h"
#include "keying/keyingservice.h"
#include "keying/morse.h"
#include "keying/winkeyer.h"
#include "platform/forms.h"
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
  // Keying goes to a WinKey keyer on a fake port that answers the open.
  void useWinKey() {
    wkPort.pending = QByteArray("\x55\x17", 2);  // the echo, then version 23
    wk.WinKeyPort = 5;
    wk.loaded = true;
    wk.cmdOpenWinkey_Click();
    ASSERT_EQ(state.WinKeyOpen, 23);
    wkPort.written.clear();
    keyer.wkTransmit = [this] { wk.WKTransmit(); };
    state.KeyingType = 5;
  }
  // What went out: the characters keyed on the line, or handed to the WinKey.
  QString sent() const { return state.KeyingType == 5 ? QString::fromLatin1(wkPort.written) : keyed(); }
  test::FakePlatform fake;
  ProgramState state;
  FakeSerialPort comm, phone, wkPort;
  KeyLineRecorder rec;
  CWKeyer keyer;
  WinKeyer wk{state, wkPort, comm, phone};
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

// Send puts the focus in "Text to Send", so what the operator types during a
// send goes there; "Text Sent" keeps its caret before its last character.
TEST_F(CodePracticeWindow, SendFocusesTheTextToSendAndTextSentKeepsItsEndInView) {
  w.Text3->setFocus(Qt::OtherFocusReason);
  w.Text1->setText(QStringLiteral("ABC"));
  QStringList seen;  // at each character: where the focus is, and Text Sent's caret
  const QMetaObject::Connection watch = QObject::connect(w.Text2, &QLineEdit::textChanged, &w, [&] {
    QMetaObject::invokeMethod(&w, [&] {
      seen << QStringLiteral("%1 %2").arg(w.focusWidget() == w.Text1 ? "Text1" : "elsewhere").arg(w.Text2->cursorPosition());
    }, Qt::QueuedConnection);
  });
  w.Command3_Click();
  QObject::disconnect(watch);
  EXPECT_EQ(seen.join(" | ").toStdString(), "Text1 0 | Text1 1 | Text1 2");
  EXPECT_EQ(w.Text2->text(), QStringLiteral("ABC"));
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

// While Send runs, the operator's edits arrive as events: between characters
// (the loop's own pass of events) or inside one (the keyer's waits). Typing
// goes in at the caret, after the character in hand, and is sent next; Clear
// ends the text; Stop ends the loop. The same on a key line and on a WinKey.
TEST_F(CodePracticeWindow, EditsDuringSendAreTakenAndStopEndsIt) {
  // Each act posts its events when Text Sent reaches a length, that is between
  // two characters; what it posts runs at the loop's next pass of events.
  auto post = [this](std::function<void()> f) { QMetaObject::invokeMethod(&w, std::move(f), Qt::QueuedConnection); };
  auto typeM = [this] {
    QCoreApplication::postEvent(w.Text1, new QKeyEvent(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier, QStringLiteral("m")));
  };
  auto typeMInsideTheNext = [post, typeM] { post(typeM); };  // posted from an event: one pass later
  auto stop = [this, post] { post([this] { w.Command4->click(); }); };
  auto clear = [this, post] { post([this] { w.Command6->click(); }); };
  const struct {
    const char* name;
    std::vector<std::pair<int, std::function<void()>>> steps;  // (characters in Text Sent, act)
    const char *sent, *textAfter;
  } cases[] = {
      {"typed between characters, then Stop", {{2, typeM}, {4, stop}}, "ABMC", "ABMCDEF"},
      {"typed inside a character, then Stop", {{2, typeMInsideTheNext}, {4, stop}}, "ABCM", "ABCMDEF"},
      {"cleared", {{2, clear}}, "AB", ""},
      {"Stop after the first", {{1, stop}}, "A", "ABCDEF"},
  };
  for (bool winKey : {false, true}) {
    if (winKey) useWinKey();
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (winKey ? " on the WinKey" : " on the key line"));
      rec.clear();
      wkPort.written.clear();
      w.Text2->clear();
      w.Text1->setText(QStringLiteral("ABCDEF"));
      const QMetaObject::Connection watch = QObject::connect(w.Text2, &QLineEdit::textChanged, &w, [&](const QString& t) {
        for (const auto& [afterSent, act] : c.steps)
          if (t.size() == afterSent) act();
      });
      w.Command3->click();
      QObject::disconnect(watch);
      EXPECT_FALSE(w.sending());
      EXPECT_EQ(sent(), QString::fromLatin1(c.sent));
      EXPECT_EQ(w.Text2->text(), QString::fromLatin1(c.sent));
      EXPECT_EQ(w.Text1->text(), QString::fromLatin1(c.textAfter));
      EXPECT_TRUE(state.CWBuffer.isEmpty());
    }
  }
}

// The window as the CW window opens it: modal, unloaded when it closes. On a
// WinKey a close during Send stops the loop and the window goes, whether the
// close comes inside the keyer's wait or between characters; on a key line a
// close inside a character is refused once and ends the sending.
class CodePracticeFromTheCWWindow : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([] { return std::make_unique<FakeSerialPort>(); });
    state.ProgDir = dir.path();
    state.FieldDayDir = dir.path();
    service = std::make_unique<KeyingService>(state);
    service->attach(main);
    service->cw().set.Text[10] = QStringLiteral("1");
    service->cw().set.Text[11] = QStringLiteral("20");
  }
  void TearDown() override {
    service.reset();
    setSerialFactory({});
  }
  FakeSerialPort& wkPort() { return static_cast<FakeSerialPort&>(*service->WinKeyComm); }
  QString keyed() const {
    QString u;
    for (const KeyLineEvent& e : rec.events) u += e.value ? u'1' : u'0';
    return morse::decode(u);
  }

  test::FakeMainWindow main{&state};
  std::unique_ptr<KeyingService> service;
  KeyLineRecorder rec;
};

TEST_F(CodePracticeFromTheCWWindow, ClosingDuringSend) {
  const struct {
    const char* name;
    bool winKey;
    bool closeBeforeTheFirstCharacterIsDone;  // else once it is in Text Sent
    bool visibleAfterSend;
  } cases[] = {
      {"WinKey, inside the keyer's wait", true, true, false},
      {"WinKey, between characters", true, false, false},
      {"key line, inside a character", false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.winKey) {
      state.KeyingType = 5;
      service->winKeyer().WinKeyPort = 5;
      if (state.WinKeyOpen == 0) {
        wkPort().pending = QByteArray("\x55\x17", 2);
        service->winKeyer().cmdOpenWinkey_Click();
        ASSERT_EQ(state.WinKeyOpen, 23);
      }
      wkPort().written.clear();
    } else {
      state.KeyingType = 1;
      rec.clear();
    }
    QPointer<frmCodePractice> shown;
    bool visibleAfterSend = false, sendingAfterSend = true;
    QString sentBox;
    {
      test::ScopedModalHook hook([&](QWidget* window) {
        shown = qobject_cast<frmCodePractice*>(window);
        ASSERT_TRUE(shown);
        frmCodePractice* f = shown.data();
        f->Text1->setText(QStringLiteral("EEEEEE"));
        auto closeBox = [f] { f->close(); };
        if (c.closeBeforeTheFirstCharacterIsDone) {
          QMetaObject::invokeMethod(f, closeBox, Qt::QueuedConnection);
        } else {
          QObject::connect(f->Text2, &QLineEdit::textChanged, f, [f, closeBox](const QString& t) {
            if (t.size() == 1) QMetaObject::invokeMethod(f, closeBox, Qt::QueuedConnection);
          });
        }
        f->Command3->click();
        visibleAfterSend = f->isVisible();
        sendingAfterSend = f->sending();
        sentBox = f->Text2->text();
        if (f->isVisible()) {
          f->close();  // the second close is taken
          EXPECT_FALSE(f->isVisible());
        }
      });
      service->loadCWFrm().showCodePractice();
    }
    EXPECT_TRUE(shown.isNull());  // unloaded
    EXPECT_EQ(visibleAfterSend, c.visibleAfterSend);
    EXPECT_FALSE(sendingAfterSend);
    if (c.winKey) EXPECT_EQ(wkPort().written, QByteArray("E"));
    else EXPECT_EQ(keyed(), QStringLiteral("E"));
    EXPECT_TRUE(state.CWBuffer.isEmpty());
    EXPECT_LE(sentBox.size(), 1);
  }
}

}  // namespace
}  // namespace fd
