// fieldday: the program's entry point.
#include <QApplication>
#include <cstdio>

#include "core/scaling.h"
#include "core/services.h"
#include "app/startup.h"
#include "core/state.h"
#include "keying/keyingservice.h"
#include "log/form1.h"
#include "platform/keylines.h"
#include "output/outputservice.h"
#include "platform/audio.h"
#include "platform/safefile.h"
#include "platform/soundhelper.h"
#include "rig/rigservice.h"
#include "spots/spotservice.h"

int main(int argc, char** argv) {
  // The sound helper is this executable too, started by the program itself.
  if (fd::isSoundHelperCall(argc, argv)) return fd::runSoundHelper(argc, argv);
  fd::ignoreFileSizeSignal();
  // Without a display Qt would abort with a message about its platform plugin.
  if (!fd::displayReachable(qEnvironmentVariable("QT_QPA_PLATFORM"), !qEnvironmentVariableIsEmpty("DISPLAY"),
                            !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))) {
    std::fputs("fieldday: no display (DISPLAY is not set). Start it from a desktop session, "
               "or without one under a virtual display: xvfb-run ./fieldday\n", stderr);
    return 1;
  }
  QApplication app(argc, argv);
  fd::setSoundHelperProgram(QCoreApplication::applicationFilePath());
  fd::installFontSubstitutions();

  fd::ProgramState state;
  fd::Services services;
  services.output = std::make_unique<fd::OutputService>(state);
  services.keying = std::make_unique<fd::KeyingService>(state);
  services.rig = std::make_unique<fd::RigService>(state);
  services.spots = std::make_unique<fd::SpotService>(state);
  // A signal ends the program through the event loop, with the key lines up.
  fd::installReleaseOnSignal([&services] { services.keying->releaseAll(); });
  // The logo window closes before the main window exists; that must not end the program.
  app.setQuitOnLastWindowClosed(false);
  std::unique_ptr<fd::Form1> form = fd::frmSplash_Load(state, services);
  app.setQuitOnLastWindowClosed(true);
  if (!form->isVisible()) return 0;
  return app.exec();
}
