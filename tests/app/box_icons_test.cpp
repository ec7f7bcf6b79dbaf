// The picture beside a message box's text, read through the scripted dialogs:
// the boxes that carry one, and boxes of the same kind (among them one of the
// same title) that carry none.
#include <QCoreApplication>
#include <functional>

#include "fakemainwindow.h"
#include "keying/cwkeyer.h"
#include "keying/keyingservice.h"
#include "keying/phonefrm_keyer.h"
#include "output/outputservice.h"
#include "platform/serial.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigservice.h"
#include "testenv.h"
#include "zellpeer.h"

namespace fd::test {
namespace {

class BoxIcons : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    state.RigType = QStringLiteral("None");
    // Every serial port refuses to open.
    setSerialFactory([] {
      auto p = std::make_unique<FakeSerialPort>();
      p->failOpen = true;
      return p;
    });
  }
  void TearDown() override { setSerialFactory({}); }

  QString zellName() const {
    return QStringLiteral("fdicons-%1").arg(QCoreApplication::applicationPid());
  }

  FakeMainWindow main{&state};
  // Windows a failure shows modally (to correct a port) are closed at once.
  ScopedModalHook hook{[](QWidget* w) { w->hide(); }};
};

TEST_F(BoxIcons, OnlyTheBoxesThatNameAnIconShowOne) {
  struct Row {
    const char* title;
    std::function<void()> show;
    Icon icon;
  };
  const Row rows[] = {
      {"Unable to find Zell RTTY.",
       [&] {
         KeyingService k(state);
         k.attach(main);
         k.zellServerName = zellName() + QStringLiteral("-nobody");
         k.connectZell();
       },
       Icon::Critical},
      {"Connected with Zell!",
       [&] {
         sim::ZellPeer peer(zellName());
         KeyingService k(state);
         k.attach(main);
         k.zellServerName = peer.name();
         k.connectZell();
       },
       Icon::Information},
      {"Invalid port.",  // the voice keyer's PTT port
       [&] {
         KeyingService k(state);
         k.attach(main);
         k.phoneKeyer().settings.Text10 = QStringLiteral("99");
         k.phoneKeyer().PhoneSetup();
       },
       Icon::Information},
      {"Invalid port.",  // the CW key line's port
       [&] {
         FakeSerialPort comm, phone;
         comm.failOpen = true;
         CWKeyer keyer(state, comm, phone);
         keyer.set.Text[10] = QStringLiteral("1");
         keyer.CWSetup();
       },
       Icon::None},
      {"You must be polling your rig to test this function.",
       [&] {
         RigControlfrm w(state, &main, nullptr);
         w.Command3_Click();
       },
       Icon::Information},
      {"Invalid Comm Settings.",
       [&] {
         state.RigType = QStringLiteral("Kenwood");
         RigService sv(state);
         sv.attach(main);
         sv.startRadioLink();
         sv.unload(SideWindow::RigControlfrm);
         state.RigType = QStringLiteral("None");
       },
       Icon::Information},
      {"Invalid Request!",
       [&] {
         OutputService out(state);
         out.appendFile(path(QStringLiteral("fdlog.dat")), true);
       },
       Icon::None},
  };
  for (const Row& row : rows) {
    fake->dialogs->clear();
    row.show();
    ASSERT_EQ(fake->dialogs->shown.size(), 1) << row.title;
    EXPECT_EQ(fake->dialogs->shown[0].title, QString::fromLatin1(row.title));
    EXPECT_EQ(fake->dialogs->shown[0].icon, row.icon) << row.title;
  }
}

}  // namespace
}  // namespace fd::test
