// fieldday: the program's entry point.
#include <QApplication>

#include "core/scaling.h"
#include "core/services.h"
#include "app/startup.h"
#include "core/state.h"
#include "keying/keyingservice.h"
#include "log/form1.h"
#include "platform/keylines.h"
#include "output/outputservice.h"
#include "rig/rigservice.h"
#include "spots/spotservice.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
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
