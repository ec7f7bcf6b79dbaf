#pragma once
// The application object the window benchmarks need, made once, offscreen.
#include <QApplication>

namespace fd::bench {

inline void ensureApplication() {
  if (qApp) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fieldday_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives for the whole run
}

}  // namespace fd::bench
