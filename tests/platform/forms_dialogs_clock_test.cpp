// Window lifecycle, scripted boxes and the fake clock.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "platform/forms.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "testenv.h"

namespace fd {
namespace {

// A small dialog of the usual kind: a box and a Done button that only hides.
class SmallDialog : public QDialog {
 public:
  SmallDialog() {
    setWindowTitle(QStringLiteral("Operator"));
    box = new QLineEdit(this);
    done = new QPushButton(QStringLiteral("Done"), this);
    connect(done, &QPushButton::clicked, this, &QWidget::hide);
    ++alive;
  }
  ~SmallDialog() override { --alive; }
  QLineEdit* box;
  QPushButton* done;
  static inline int alive = 0;
};

// Puts the test main's handler back after a test changed it.
struct DefaultUnhandled {
  ~DefaultUnhandled() {
    setTestMode(true, [](const QString& w) { ADD_FAILURE() << w.toStdString(); });
  }
};

TEST(FoundForms, ModalWindowScriptedByTheHook) {
  FormSlot<SmallDialog> slot([] { return std::make_unique<SmallDialog>(); });
  EXPECT_FALSE(slot.loaded());
  slot->box->setText(QStringLiteral("AB"));  // touching loads it without showing it
  EXPECT_TRUE(slot.loaded());
  EXPECT_FALSE(slot->isVisible());

  int shown = 0;
  {
    test::ScopedModalHook hook([&](QWidget* w) {
      ++shown;
      auto* d = dynamic_cast<SmallDialog*>(w);
      ASSERT_NE(d, nullptr);
      EXPECT_TRUE(d->isVisible());
      EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);
      EXPECT_EQ(d->box->text(), QStringLiteral("AB"));
      d->box->setText(QStringLiteral("CD"));
      d->done->click();
    });
    showModal(slot.get());
  }
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(slot->isVisible());  // Done only hid it: the caller still reads it
  EXPECT_EQ(slot->box->text(), QStringLiteral("CD"));
  EXPECT_EQ(slot->windowModality(), Qt::NonModal);

  slot.unload();  // modal then unload: the next opening starts fresh
  EXPECT_EQ(SmallDialog::alive, 0);
  EXPECT_TRUE(slot->box->text().isEmpty());
  slot.unload();
}

TEST(FoundForms, ShowingAWindowAlreadyInItsModalLoopOnlyRaisesIt) {
  SmallDialog d;
  int calls = 0;
  test::ScopedModalHook hook([&](QWidget* w) {
    ++calls;
    showModal(w);  // a second modal show from inside, as a nested event could
    EXPECT_TRUE(w->isVisible());
    w->hide();
  });
  showModal(&d);
  EXPECT_EQ(calls, 1);
}

TEST(FoundForms, UnscriptedModalWindowIsReportedNotAwaited) {
  DefaultUnhandled restore;
  QStringList reported;
  setTestMode(true, [&](const QString& w) { reported << w; });
  SmallDialog d;
  showModal(&d);
  EXPECT_FALSE(d.isVisible());
  ASSERT_EQ(reported.size(), 1);
  EXPECT_TRUE(reported[0].contains(QStringLiteral("Operator")));

  // The real boxes, when no fake is installed, report instead of waiting for a click.
  EXPECT_EQ(dialogs().message(QStringLiteral("T"), QStringLiteral("x"), Buttons::YesNo), Answer::Cancel);
  EXPECT_EQ(dialogs().input(QStringLiteral("T"), QStringLiteral("x"), QStringLiteral("d")), QString());
  EXPECT_FALSE(dialogs().chooseColor(0).has_value());
  EXPECT_EQ(reported.size(), 4);
}

TEST(FoundDialogs, ScriptedBoxesAnswerInOrderAndRecordEverything) {
  test::FakePlatform fake;
  fake.dialogs->answers = {Answer::No, Answer::Yes};
  fake.dialogs->inputs = {QStringLiteral("5")};
  fake.dialogs->colors = {std::optional<ColorValue>(255), std::nullopt};
  dialogs().beep();
  EXPECT_EQ(dialogs().message(QStringLiteral("Info"), QStringLiteral("ok box"), Buttons::Ok), Answer::Ok);
  EXPECT_EQ(dialogs().message(QStringLiteral("Q1"), QStringLiteral("first"), Buttons::YesNo), Answer::No);
  EXPECT_EQ(dialogs().message(QStringLiteral("Q2"), QStringLiteral("second"), Buttons::YesNo), Answer::Yes);
  EXPECT_EQ(dialogs().input(QStringLiteral("I"), QStringLiteral("prompt"), QStringLiteral("4")), QStringLiteral("5"));
  EXPECT_EQ(dialogs().chooseColor(1), std::optional<ColorValue>(255));
  EXPECT_EQ(dialogs().chooseColor(1), std::nullopt);  // Cancel: no colour
  EXPECT_EQ(fake.dialogs->beeps, 1);
  EXPECT_EQ(fake.dialogs->titles(), (QStringList{"Info", "Q1", "Q2", "I", "", ""}));
  EXPECT_EQ(fake.dialogs->shown[3].text, QStringLiteral("prompt"));
  EXPECT_EQ(fake.dialogs->shown[3].defaultAnswer, QStringLiteral("4"));

  QStringList unscripted;
  fake.dialogs->onUnscripted = [&](const QString& w) { unscripted << w; };
  EXPECT_EQ(dialogs().message(QStringLiteral("Q3"), QString(), Buttons::YesNo), Answer::Cancel);
  EXPECT_EQ(dialogs().input(QStringLiteral("I2"), QString(), QString()), QString());
  EXPECT_EQ(unscripted.size(), 2);
}

TEST(FoundKeyBox, TypedAndPastedTextKeepsToTheFileTable) {
  KeyBox box;
  QList<int> seen;
  box.onKeyPress = [&](int& k) {
    seen << k;
    if (k == u'"') k = 0;                  // a handler drops a key
    if (k >= u'a' && k <= u'z') k -= 32;   // or changes it
  };
  box.charFilter = [](int k) { return k == u'"' ? 0 : k; };
  // Typed one character at a time, as a keyboard layout with those keys would send them.
  for (QChar ch : QString::fromUtf8("w1\"\u00e9\u20ac\u4e2d")) {
    const int key = ch.unicode() < 128 ? QChar(ch).toUpper().unicode() : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(&box, &press);
  }
  EXPECT_EQ(box.text(), QString::fromUtf8("W1\u00e9\u20ac"));  // the Chinese character has no byte
  EXPECT_EQ(seen.size(), 6);
  box.clear();
  box.pasteText(QString::fromUtf8("a\"b\r\n\u4e2dc"));
  EXPECT_EQ(box.text(), QStringLiteral("ab c"));  // filtered, a line end a blank, no key rules
}

// A box in a plain dialog: an Esc the box's handlers let pass reaches the
// dialog (its Cancel hides it); one a handler used stays in the box.
TEST(FoundKeyBox, UnusedEscGoesOnToTheDialog) {
  struct Case { const char* what; std::function<void(int&)> onKeyPress; bool dialogShown; const char* text; };
  const Case cases[] = {
      {"no handler", {}, false, ""},
      {"a filter that passes it", [](int& k) { if (k == 'x') k = 0; }, false, ""},
      {"a handler that drops it", [](int& k) { k = 0; }, true, ""},
      {"a handler that types a colon for it", [](int& k) { if (k == 27) k = ':'; }, true, ":"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDialog dialog;
    auto* box = new KeyBox(&dialog);
    box->onKeyPress = c.onKeyPress;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(dialog.isVisible(), c.dialogShown);
    EXPECT_EQ(box->text(), QString::fromLatin1(c.text));
  }
}

// Esc by the window's rule, pressed in a box whose handler takes every key
// (as a port box's digit filter does), and the close box.
TEST(FoundForms, EscAndTheCloseBoxFollowTheWindowsRule) {
  struct Case {
    const char* what;
    WindowRule rule;
    int actionsOnEsc;
    bool shownAfterEsc;
    int actionsOnClose;
    bool shownAfterClose;
  };
  const Case cases[] = {
      {"Done", {EscKey::Done, true, false, false}, 1, false, 1, false},
      {"Cancel", {EscKey::Cancel, true, false, false}, 1, false, 0, false},
      {"Close", {EscKey::Close, true, false, false}, 0, false, 0, false},
      {"Own", {EscKey::Own, true, true, true}, 0, true, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SmallDialog d;
    auto* box = new KeyBox(&d);
    box->onKeyPress = [](int& k) { k = 0; };
    int actions = 0;
    applyWindowRule(&d, c.rule, [&] { ++actions; d.hide(); });
    const Qt::WindowFlags f = d.windowFlags();
    EXPECT_EQ(bool(f & Qt::WindowCloseButtonHint), c.rule.closeBox);
    EXPECT_EQ(bool(f & Qt::WindowMinimizeButtonHint), c.rule.minMax);
    EXPECT_EQ(bool(f & Qt::WindowMaximizeButtonHint), c.rule.minMax);
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(actions, c.actionsOnEsc);
    EXPECT_EQ(d.isVisible(), c.shownAfterEsc);
    actions = 0;
    d.show();
    d.close();  // the close box
    EXPECT_EQ(actions, c.actionsOnClose);
    EXPECT_EQ(d.isVisible(), c.shownAfterClose);
  }
  // Without a close box the frame asks for none.
  SmallDialog noBox;
  applyWindowRule(&noBox, {EscKey::Done, false, false, true}, [] {});
  EXPECT_FALSE(noBox.windowFlags() & Qt::WindowCloseButtonHint);
}

// A window of its own is transient for nothing while it is shown without
// blocking (a click on the main window may cover it), and a dialog kept above
// the main window while it is modal; modal, it keeps its normal state.
TEST(FoundForms, SideWindowTypeAndModalState) {
  SmallDialog d;
  applyWindowRule(&d, {EscKey::Done, true, false, true}, [&] { d.hide(); });
  d.setGeometry(40, 50, 300, 200);  // as its layout sets it
  showModeless(&d);
  EXPECT_EQ(d.windowType(), Qt::Window);
  EXPECT_TRUE(d.isActiveWindow() || QTest::qWaitForWindowActive(&d));
  d.hide();
  Qt::WindowType modalType = Qt::Widget;
  bool minimisedAfter = true, maximisedAfter = true;
  {
    test::ScopedModalHook hook([&](QWidget* w) {
      modalType = w->windowType();
      w->setWindowState(Qt::WindowMinimized);
      QTest::qWait(20);
      minimisedAfter = w->windowState() & Qt::WindowMinimized;
      w->setWindowState(Qt::WindowMaximized);
      QTest::qWait(20);
      maximisedAfter = w->windowState() & Qt::WindowMaximized;
      w->hide();
    });
    showModal(&d);
  }
  EXPECT_EQ(modalType, Qt::Dialog);
  EXPECT_FALSE(minimisedAfter);
  EXPECT_FALSE(maximisedAfter);
  showModeless(&d);
  EXPECT_EQ(d.windowType(), Qt::Window);
  {  // shown modally while it is shown without blocking
    test::ScopedModalHook hook([&](QWidget* w) {
      modalType = w->windowType();
      w->hide();
    });
    showModal(&d);
  }
  EXPECT_EQ(modalType, Qt::Dialog);
  EXPECT_EQ(d.geometry(), QRect(40, 50, 300, 200));  // the type changes, the layout stays
}

TEST(FoundClock, FakeTimeMovesOnlyWhenAdvanced) {
  test::FakePlatform fake;
  Clock& c = clock();
  const QDateTime t0 = c.localNow();
  const auto m0 = c.monotonicMs();
  EXPECT_EQ(c.localNow(), t0);
  EXPECT_EQ(t0.time().msec(), 0);
  c.sleepMs(1500);
  EXPECT_EQ(c.monotonicMs(), m0 + 1500);
  EXPECT_EQ(c.localNow(), t0.addSecs(1));
  fake.clock->advanceMs(500);
  EXPECT_EQ(c.localNow(), t0.addSecs(2));
  fake.clock->setZoneOffsetHours(-5);
  EXPECT_EQ(c.utcNow(), c.localNow().addSecs(5 * 3600));
  const auto both = c.localAndUtcNow();
  EXPECT_EQ(both.first.secsTo(both.second), 5 * 3600);
  fake.clock->setWallClockBack(60);  // the wall clock may step back; the monotonic one never does
  EXPECT_EQ(c.localNow(), t0.addSecs(2 - 60));
  EXPECT_EQ(c.monotonicMs(), m0 + 2000);
}

TEST(FoundScreen, OffscreenScreenInTwips) {
  QtScreen real;  // the test executables run on the offscreen platform
  EXPECT_DOUBLE_EQ(real.dpi(), 96);
  EXPECT_DOUBLE_EQ(real.widthTwips(), 12000);
  EXPECT_DOUBLE_EQ(real.heightTwips(), 9000);
  EXPECT_DOUBLE_EQ(real.workWidthTwips(), 12000);
  EXPECT_DOUBLE_EQ(real.workHeightTwips(), 9000);
  EXPECT_DOUBLE_EQ(real.twipsPerPixel(), 15);
  test::FakePlatform fake;
  EXPECT_DOUBLE_EQ(display().widthTwips(), real.widthTwips());
  EXPECT_DOUBLE_EQ(display().heightTwips(), real.heightTwips());
}

}  // namespace
}  // namespace fd
