// Test executables start the application headless and make every modal
// window that no test scripts a failure instead of a hang.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <gtest/gtest.h>
#include <memory>

#include "core/scaling.h"
#include "platform/forms.h"

namespace {
// Qt 6.4's offscreen screen is 800 x 800 unless told otherwise; the tests are
// written for an 800 x 600 screen at 96 dpi whose work area is the whole of it.
std::unique_ptr<QTemporaryFile> offscreenConfig() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && platform != "offscreen") return nullptr;
  auto f = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/fd-offscreen-XXXXXX.json"));
  if (!f->open()) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return nullptr;
  }
  f->write(R"({"screens": [{"name": "OffscreenScreen", "x": 0, "y": 0, "width": 800, "height": 600,)"
           R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  f->flush();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(f->fileName()));
  return f;
}
}  // namespace

int main(int argc, char** argv) {
  const auto config = offscreenConfig();
  QApplication app(argc, argv);
  fd::installFontSubstitutions();
  fd::setTestMode(true, [](const QString& what) { ADD_FAILURE() << what.toStdString(); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
