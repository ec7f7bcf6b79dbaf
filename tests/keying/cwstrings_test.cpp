#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include "fakemainwindow.h"
#include "keying/cwkeyer.h"
#include "keying/cwstrings.h"
#include "keying/keyingservice.h"
#include "platform/forms.h"
#include "platform/serial.h"
#include "platform/widgets.h"
#include "testenv.h"

namespace fd {
namespace {

class CWStringsTest : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    setSerialFactory([] { return std::make_unique<FakeSerialPort>(); });
    state.ProgDir = dir.path();
    service = std::make_unique<KeyingService>(state);
    service->attach(main);
    state.KeyingType = 5;
    service->cw().wkTransmit = [this] { sent << state.CWBuffer; state.CWBuffer.clear(); };
    for (int i : {1, 2, 9, 12, 13}) service->cw().set.Text[i] = QStringLiteral("M%1").arg(i);
  }
  void TearDown() override {
    service.reset();
    setSerialFactory({});
  }
  test::FakeMainWindow main{&state};
  std::unique_ptr<KeyingService> service;
  QStringList sent;
};

TEST_F(CWStringsTest, RowsCaptionsAndClicks) {
  frmCWStrings& w = service->loadCWStrings();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("CW Strings"));
  EXPECT_EQ(w.Label1[9]->text(), QStringLiteral("F10"));
  EXPECT_EQ(w.lblCWString[9]->text(), QStringLiteral("M12"));
  EXPECT_EQ(w.lblCWString[10]->text(), QStringLiteral("M13"));
  EXPECT_EQ(w.lblCWString[11]->text(), QStringLiteral("Keyboard"));
  // A changed message shows at the next activation.
  service->cw().set.Text[2] = QStringLiteral("NEW");
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&w, &activate);
  EXPECT_EQ(w.lblCWString[1]->text(), QStringLiteral("NEW"));
  // Rows: F10 sends the F10 message, F11 F11's; the F12 row nothing.
  w.rowClicked(9);
  w.rowClicked(10);
  w.rowClicked(11);
  EXPECT_EQ(sent, (QStringList{"M12", "M13"}));
  state.KeyingType = 0;  // key line "None": nothing
  w.rowClicked(0);
  EXPECT_EQ(sent.size(), 2);
}

TEST_F(CWStringsTest, KeysGoToTheMainWindowAndTheCloseBoxUnloads) {
  service->showCWStrings();
  frmCWStrings* w = &service->loadCWStrings();
  EXPECT_TRUE(w->isVisible());
  w->Command1->setFocus();
  QApplication::setActiveWindow(w);
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(w->Command1, &f1);
  EXPECT_TRUE(main.keys.seen.contains(QStringLiteral("down 112 0"))) << main.keys.seen.join(u',').toStdString();
  // Done minimizes; the close box unloads, Ctrl+W builds it again.
  w->Command1->click();
  EXPECT_TRUE(w->isMinimized());
  QPointer<frmCWStrings> guard(w);
  w->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
  service->showCWStrings();
  EXPECT_TRUE(service->loadCWStrings().isVisible());
  EXPECT_TRUE(service->provides(KeyingServices::Feature::CWStrings));
}

}  // namespace
}  // namespace fd
