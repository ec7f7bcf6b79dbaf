#pragma once
// The output service over a temporary program folder and documents folder,
// with the scripted dialogs, the fake clock and the recording main window.
#include <QDir>
#include <QFile>

#include "fakemainwindow.h"
#include "log/logbook.h"
#include "output/outputservice.h"
#include "testenv.h"

namespace fd::test {

class OutputTest : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    QDir(dir.path()).mkpath(QStringLiteral("docs"));
    state.FieldDayDir = path(QStringLiteral("docs"));
    svc.attach(main);
    fake->clock->setLocal(plainDateTime(QDate(2024, 6, 23), QTime(12, 0, 0)));
  }
  ScriptedDialogs& dlg() { return *fake->dialogs; }
  void add(const QString& call, const QString& cls, const QString& sec, const QString& date, const QString& time,
           const QString& band, const QString& mode, const QString& ops = {}, const QString& freq = {}) {
    state.Log.append(QsoRecord{call, cls, sec, date, time, band, mode, ops, freq});
  }
  static QByteArray readAbs(const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  OutputService svc{state};
  LogBook book{state};
  FakeMainWindow main{&state, &book};
};

}  // namespace fd::test
