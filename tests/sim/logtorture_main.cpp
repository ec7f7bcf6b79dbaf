// logtorture FOLDER SEED: saves contacts and edits them in FOLDER/fdlog.dat
// with the program's own log code, as fast as it can, until it is killed.
// Each step is announced before it starts ("begin A 17" appends contact
// K17; "begin E 5 3" sets record 3's frequency to "5") and reported only after
// the call that writes it has returned ("done"). The crash-safety test kills
// it at random moments and checks the file against these reports. "begin
// P 4" rewrites FOLDER/fdpref.dat with the call "P4". Contacts are saved as
// the program saves them: once the log holds the most it can, no contact is
// added and the steps are edits and preference saves.
//
// logtorture FOLDER SEED files: rewrites the settings and backup files of
// settingsfiles.h instead, one at a time, each with a new generation ("begin
// F 2 30017" writes cw.txt as generation 30017).
#include <QCoreApplication>
#include <cstdio>
#include <random>

#include "core/prefs.h"
#include "log/logbook.h"
#include "log/logfile.h"
#include "settingsfiles.h"

using namespace fd;

namespace {

QsoRecord contact(int n) {
  return {QStringLiteral("K%1").arg(n), QStringLiteral("2A"), QStringLiteral("ENY"), QStringLiteral("2024/06/22"),
          QStringLiteral("18:00:00"), QStringLiteral("20"), QStringLiteral("CW"), QString(), QString()};
}

void say(const char* what, const QString& step) {
  std::printf("%s %s\n", what, step.toLatin1().constData());
  std::fflush(stdout);
}

// Generations start at SEED * 100000, so no two runs write the same one.
int settingsFiles(const QString& folder, int seed) {
  std::mt19937 rng(static_cast<unsigned>(seed));
  int gen = seed * 100000;
  say("ready", QString());
  for (;;) {
    int index = static_cast<int>(rng() % static_cast<unsigned>(sim::settingsFileCount()));
    bool damaged = false;
    const std::optional<int> source = sim::readSettingsFile(folder, 5, &damaged);
    if (index == sim::settingsFileCount() - 1 && !source) index = 5;  // nothing to copy yet
    const int g = index == sim::settingsFileCount() - 1 ? *source : ++gen;
    const QString step = QStringLiteral("F %1 %2").arg(index).arg(g);
    say("begin", step);
    if (!sim::writeSettingsFile(folder, index, g).ok) return 3;
    say("done", step);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 3) return 2;
  if (argc > 3 && qstrcmp(argv[3], "files") == 0) return settingsFiles(QString::fromLocal8Bit(argv[1]), std::atoi(argv[2]));
  ProgramState log;
  log.ProgDir = QString::fromLocal8Bit(argv[1]);
  LogBook book(log);
  const QString path = book.path();
  std::mt19937 rng(static_cast<unsigned>(std::atoi(argv[2])));
  logfile::LoadResult loaded = logfile::load(path);
  log.Log.records() = std::move(loaded.records);
  log.KeptLines = std::move(loaded.kept);
  std::vector<QsoRecord>& records = log.Log.records();
  int next = log.QsoCount() + 1;
  int edit = 0, pref = 0;
  ProgramState prefsState;
  say("ready", QString());
  for (;;) {
    if (rng() % 16 == 0) {
      const QString step = QStringLiteral("P %1").arg(++pref);
      say("begin", step);
      prefsState.MyCall = QStringLiteral("P%1").arg(pref);
      if (!prefs::write(log.progFile(QStringLiteral("fdpref.dat")), prefsState).ok) return 3;
      say("done", step);
    } else if (!records.empty() && (rng() % 8 == 0 || log.Log.full())) {
      // An edit: the whole file rewritten, as the edit and delete steps do.
      const int at = static_cast<int>(rng() % records.size());
      const QString step = QStringLiteral("E %1 %2").arg(++edit).arg(at + 1);
      say("begin", step);
      records[static_cast<size_t>(at)].Freq = QString::number(edit);
      if (!logfile::rewrite(path, records, log.KeptLines).ok) return 3;
      say("done", step);
    } else {
      const QString step = QStringLiteral("A %1").arg(next);
      say("begin", step);
      if (!book.appendRecord(contact(next)).ok) return 3;
      say("done", step);
      ++next;
    }
  }
}
