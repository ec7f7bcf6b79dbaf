// fieldday: the program's entry point.
#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "app/prefs.h"
#include "app/scaling.h"
#include "app/services.h"
#include "app/state.h"
#include "log/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  fd::installFontSubstitutions();

  fd::ProgramState state;
  fd::Services services;
  state.ProgDir = QDir::currentPath();
  state.ProgDrive = state.ProgDir.left(1);
  fd::fillSectionTable(state);

  fd::Form1 form(state, services);
  const auto pref = fd::prefs::read(state.progFile(QStringLiteral("fdpref.dat")), state);
  form.book.mnuopen2();

  QTextStream out(stdout);
  out << "Program folder: " << state.ProgDir << '\n'
      << "Preferences: " << (pref.opened ? QString::number(pref.values) + " values" : QStringLiteral("none")) << '\n'
      << "Station: " << state.MyCall << ' ' << state.MyClass << ' ' << state.MySection << '\n'
      << "Contacts: " << state.QsoCount() << " (CW " << state.CWCount << ", DIG " << state.DigCount << ", PH "
      << state.PhCount << ")  Score: " << state.score() << Qt::endl;

  form.show();
  return app.exec();
}
