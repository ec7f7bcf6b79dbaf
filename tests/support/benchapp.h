#pragma once
// The one application a benchmark run needs for widgets and pixmaps:
// created on first use, headless, alive for the whole run.
#include <QApplication>

namespace fd::test {

inline void ensureApplication() {
  if (qApp) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fieldday_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace fd::test
