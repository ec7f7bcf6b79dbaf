// A radio that babbles: random bytes at 56000 baud for FD_SOAK_SECONDS on a
// socat pseudo-terminal pair, against the real rig window polling it every
// 50 ms. The window keeps polling and taking every byte, memory stays flat,
// the event loop is never held 100 ms (SoakRun::expectBounded), and once the
// noise stops the radio's real answer reaches the log.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QThread>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

#include "fakemainwindow.h"
#include "platform/platform.h"
#include "radiosim.h"
#include "rig/rigcontrolfrm.h"
#include "soakmeter.h"
#include "testenv.h"

namespace fd {
namespace sim {
int exactBaud(int fd);  // termios2.cpp
}
namespace {
using test::pump;

class HostileRadio : public test::ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    platform().clock = std::make_unique<SystemClock>();
    state.RigType = QStringLiteral("None");
    state.CurBand = QStringLiteral("40");
    state.CurMode = QStringLiteral("PH");
    QDir(dir.path()).mkdir(QStringLiteral("ports"));
    QFile::copy(QStringLiteral(FD_SOURCE_DIR "/dist/BandPlan.txt"), path(QStringLiteral("BandPlan.txt")));
  }
  void TearDown() override {
    socat.kill();
    socat.waitForFinished(3000);
  }
  QProcess socat;
  test::FakeMainWindow main{&state};
};

TEST_F(HostileRadio, RandomBytesAt56000BaudForTheWholeRun) {
  const QString ours = path(QStringLiteral("ports/com1")), far = path(QStringLiteral("radio"));
  socat.start(QStringLiteral("socat"),
              {QStringLiteral("pty,raw,echo=0,link=") + ours, QStringLiteral("pty,raw,echo=0,link=") + far});
  if (!socat.waitForStarted(3000)) GTEST_SKIP() << "socat is not installed";
  ASSERT_TRUE(pump([&] { return QFile::exists(ours) && QFile::exists(far); }));

  // The Orion's preset is 56000 baud.
  sim::RadioSim radio(QStringLiteral("Ten Tec Orion"));
  ASSERT_TRUE(radio.openDevice(far));
  RigControlfrm w(state, &main, nullptr);
  w.List1->setCurrentItem(w.List1->findItems(QStringLiteral("Ten Tec Orion"), Qt::MatchExactly).value(0));
  w.List1_Click();
  w.optPollFast->setChecked(true);
  w.show();
  w.Command1_Click();
  ASSERT_TRUE(w.polling());
  {  // the speed the window set on its end of the pair
    const int fd = ::open(QFile::encodeName(ours).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(sim::exactBaud(fd), 56000);
    ::close(fd);
  }
  ASSERT_TRUE(pump([&] { return state.CurFreq == QLatin1String("14.025"); }));

  radio.startNoise(56000);
  const int seconds = test::soakSeconds();
  test::SoakRun run;
  bool stoppedPolling = false;
  run.run(seconds * 1000, [&] { stoppedPolling = stoppedPolling || !w.polling(); });
  radio.stopNoise();
  std::cout << run.summary(QStringLiteral("radio, random bytes at 56000 baud")).toStdString() << "\n  "
            << radio.noiseSent << " bytes sent, " << radio.noiseRefused << " found no room" << std::endl;

  EXPECT_FALSE(stoppedPolling);
  EXPECT_GE(radio.noiseSent, seconds * 5600 * 9 / 10);
  EXPECT_EQ(radio.noiseRefused, 0);  // the window kept taking every byte
  run.expectBounded();

  // Quiet again: the next answers are the radio's own.
  radio.hz = 7012000;
  EXPECT_TRUE(pump([&] { return state.CurFreq == QLatin1String("7.012"); }, 5000)) << state.CurFreq.toStdString();
  EXPECT_EQ(state.CurBand, QStringLiteral("40"));
  w.Form_Unload();
}

}  // namespace
}  // namespace fd
