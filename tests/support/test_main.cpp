// Test executables start the application headless and make every modal
// window that no test scripts a failure instead of a hang.
#include <QApplication>
#include <gtest/gtest.h>

#include "app/scaling.h"
#include "platform/forms.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  fd::installFontSubstitutions();
  fd::setTestMode(true, [](const QString& what) { ADD_FAILURE() << what.toStdString(); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
