// Kills a process that saves and edits contacts with SIGKILL at random
// moments, then reads fdlog.dat with the real loader: every reported contact
// and edit is there, a step cut short is wholly applied or not at all, no
// line but a cut last one is damaged, and the next append starts on a line of
// its own. The process saves as the program does: a full log takes no more
// contacts, and the steps go on as edits and preference saves. FD_KILLS sets
// the number of kills (100 by default; the log is full after about 550).
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <gtest/gtest.h>
#include <csignal>
#include <random>

#include "core/ownfiles.h"
#include "core/prefs.h"
#include "log/logbook.h"
#include "log/logfile.h"
#include "settingsfiles.h"
#include "testenv.h"

namespace fd {
namespace {

struct Step {
  char kind = 0;  // 'A' append, 'E' edit
  int a = 0, b = 0;
};

Step parseStep(const QByteArray& text) {
  const QList<QByteArray> w = text.split(' ');
  Step s;
  s.kind = w.value(0).isEmpty() ? 0 : w[0][0];
  s.a = w.value(1).toInt();
  s.b = w.value(2).toInt();
  return s;
}

void applyStep(std::vector<QsoRecord>& recs, const Step& s) {
  if (s.kind == 'A') {
    recs.push_back({QStringLiteral("K%1").arg(s.a), QStringLiteral("2A"), QStringLiteral("ENY"),
                    QStringLiteral("2024/06/22"), QStringLiteral("18:00:00"), QStringLiteral("20"),
                    QStringLiteral("CW"), QString(), QString()});
  } else if (s.kind == 'E') {
    recs.at(static_cast<size_t>(s.b - 1)).Freq = QString::number(s.a);
  }
}

// A temporary file of the whole-file writer's shape for `target` in FOLDER,
// made (and kept) with the given age in seconds.
QString plantTemporary(const QString& folder, const QString& target, int ageSecs) {
  QTemporaryFile f(folder + QStringLiteral("/.") + target + QStringLiteral(".saving-XXXXXX"));
  f.setAutoRemove(false);
  if (!f.open()) return {};
  f.close();
  test::touchAt(f.fileName(), QDateTime::currentDateTimeUtc().addSecs(-ageSecs));
  return f.fileName().section(u'/', -1);
}

QStringList filesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

// The program restarted some minutes after the kills, in program folder DIR
// whose own files are OWN: every temporary file a write cut short left there
// is gone, while a fresh one (another running copy's write), names that only
// look like one and the files of another folder ("other") stay. Returns how
// many the kills had left in DIR.
int checkRestartClearsLeftovers(const QString& dir, const QStringList& own) {
  QDir(dir).mkpath(QStringLiteral("other"));
  const QString other = dir + QStringLiteral("/other");
  // What the kills left is aged to a few minutes; the other folder keeps all.
  int leftByKills = 0;
  QStringList wantDir, wantOther = filesIn(other);
  const QRegularExpression writers(QStringLiteral("^\\.(.+)\\.saving-[A-Za-z0-9]{6}$"));
  for (const QString& f : filesIn(dir)) {
    if (own.contains(f)) {
      wantDir << f;
      continue;
    }
    // Nothing but the writer's own temporary file of one of the files written.
    const QRegularExpressionMatch m = writers.match(f);
    EXPECT_TRUE(m.hasMatch() && own.contains(m.captured(1))) << "left by a kill: " << f.toStdString();
    test::touchAt(dir + u'/' + f, QDateTime::currentDateTimeUtc().addSecs(-180));
    ++leftByKills;
  }
  for (const QString& f : wantOther) test::touchAt(other + u'/' + f, QDateTime::currentDateTimeUtc().addSecs(-180));
  struct Plant {
    const char* what;
    QString folder, name;
    bool stays;
  };
  const QString a = own[0], b = own[1];
  const Plant plants[] = {
      {"an old temporary file", dir, plantTemporary(dir, a, 120), false},
      {"another's just over a minute old", dir, plantTemporary(dir, b, 62), false},
      {"a fresh one: another copy's write", dir, plantTemporary(dir, a, 5), true},
      {"a name the program does not write", dir, plantTemporary(dir, QStringLiteral("notes.txt"), 120), true},
      {"digits among the six", dir, u'.' + a + QStringLiteral(".saving-AbC1E2"), false},
      {"seven characters", dir, u'.' + a + QStringLiteral(".saving-AbCdEfG"), true},
      {"an older writer's name: not told from an operator's copy", dir, a + QStringLiteral(".AbCdEf"), true},
      {"an operator's copy", dir, a + QStringLiteral(".backup"), true},
      {"another folder", other, plantTemporary(other, a, 120), true},
  };
  for (const Plant& p : plants) {
    EXPECT_FALSE(p.name.isEmpty()) << p.what;
    const QString path = p.folder + u'/' + p.name;
    if (!QFileInfo::exists(path)) test::touchAt(path, QDateTime::currentDateTimeUtc().addSecs(-120));
    if (p.stays) (p.folder == dir ? wantDir : wantOther) << p.name;
  }
  ProgramState s;
  s.ProgDir = dir;
  s.FieldDayDir = dir;  // the writers here put WK.txt beside the others
  RemoveLeftoverTemporaries(s);
  wantDir.sort();
  wantOther.sort();
  EXPECT_EQ(filesIn(dir).join(u' ').toStdString(), wantDir.join(u' ').toStdString());
  EXPECT_EQ(filesIn(other).join(u' ').toStdString(), wantOther.join(u' ').toStdString());
  return leftByKills;
}

constexpr size_t kFull = QsoLog::kMaxRecords;

struct Figures {
  int kills = 0, contacts = 0, edits = 0, prefSaves = 0, inFlightApplied = 0, cutLines = 0;
  int fullFromKill = 0, editsWhenFull = 0;  // the kill that found the log full (1 and up)
};

TEST(CrashSafety, KilledWhileSavingAndEditingLosesNothing) {
  const int kills = qEnvironmentVariableIsSet("FD_KILLS") ? qEnvironmentVariableIntValue("FD_KILLS") : 100;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("fdlog.dat"));
  std::mt19937 rng(20240622);
  std::vector<QsoRecord> expected;  // what the file must hold after the reported steps
  QList<QByteArray> kept;           // cut last lines from earlier kills
  Figures f;
  int prefDone = 0;  // the call number fdpref.dat must hold ("P<n>"), 0 before the first save

  for (int k = 0; k < kills; ++k) {
    QProcess p;
    p.start(QStringLiteral(FD_LOGTORTURE), {dir.path(), QString::number(k + 1)});
    ASSERT_TRUE(p.waitForStarted(5000));
    ASSERT_TRUE(p.waitForReadyRead(5000));  // "ready"
    QThread::usleep(rng() % 40000);
    ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
    p.waitForFinished(5000);
    ++f.kills;

    // The reports: every "done" step happened; at most one "begin" is open.
    Step open;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
      if (line.startsWith("begin ")) {
        open = parseStep(line.mid(6));
      } else if (line.startsWith("done ")) {
        const Step s = parseStep(line.mid(5));
        ASSERT_EQ(s.kind, open.kind);
        if (s.kind == 'P') {
          prefDone = s.a;
          ++f.prefSaves;
        } else {
          if (s.kind == 'E' && expected.size() == kFull) ++f.editsWhenFull;
          applyStep(expected, s);
          (s.kind == 'A' ? f.contacts : f.edits) += 1;
          ASSERT_LE(expected.size(), kFull) << "a contact reported saved past the log's limit, kill " << k;
        }
        open = Step{};
      }
    }
    // fdpref.dat is the old file whole or the new one whole.
    if (prefDone > 0 || open.kind == 'P') {
      ProgramState ps;
      const prefs::ReadResult pr = prefs::read(dir.filePath(QStringLiteral("fdpref.dat")), ps);
      if (!pr.opened) ASSERT_EQ(prefDone, 0) << "a saved fdpref.dat is gone";  // the first save cut short
      else ASSERT_EQ(pr.values, 17);
      const QString done = QStringLiteral("P%1").arg(prefDone), cut = QStringLiteral("P%1").arg(open.a);
      if (pr.opened) ASSERT_TRUE(ps.MyCall == done || (open.kind == 'P' && ps.MyCall == cut)) << ps.MyCall.toStdString();
      if (pr.opened && open.kind == 'P' && ps.MyCall == cut) prefDone = open.a;
    }
    if (open.kind == 'P') open = Step{};
    const logfile::LoadResult got = logfile::load(path);
    if (!got.opened) {  // killed before the first contact was written
      ASSERT_TRUE(expected.empty());
      continue;
    }
    std::vector<QsoRecord> withOpen = expected;
    if (open.kind) applyStep(withOpen, open);
    if (open.kind && got.records == withOpen && got.records != expected) {
      expected = withOpen;  // the cut-short step made it whole
      ++f.inFlightApplied;
    }
    ASSERT_EQ(got.records.size(), expected.size()) << "kill " << k;
    ASSERT_EQ(got.overLimit, 0) << "kill " << k;
    if (!f.fullFromKill && expected.size() == kFull) f.fullFromKill = k + 1;
    ASSERT_TRUE(got.records == expected) << "kill " << k;
    // Kept lines: the earlier ones, and at most one new cut line, only when an
    // append was cut short, and only a beginning of the line it was writing.
    ASSERT_GE(got.kept.size(), kept.size());
    ASSERT_LE(got.kept.size(), kept.size() + 1) << "kill " << k;
    for (qsizetype i = 0; i < kept.size(); ++i) ASSERT_EQ(got.kept[i], kept[i]);
    if (got.kept.size() > kept.size()) {
      ASSERT_EQ(open.kind, 'A') << "only an append can leave a cut line";
      std::vector<QsoRecord> one;
      applyStep(one, open);
      ASSERT_TRUE(logfile::formatLine(one[0]).startsWith(got.kept.last())) << got.kept.last().constData();
      kept.append(got.kept.last());
      ++f.cutLines;
    }
  }

  // The next append after a cut last line starts on a line of its own; a full
  // log refuses it and the file stays as it is.
  QsoRecord last{QStringLiteral("W1AW"), QStringLiteral("1A"), QStringLiteral("CT"), QStringLiteral("2024/06/23"),
                 QStringLiteral("01:00:00"), QStringLiteral("40"), QStringLiteral("PH"), QString(), QString()};
  {
    ProgramState s;
    s.ProgDir = dir.path();
    logfile::LoadResult before = logfile::load(path);
    s.Log.records() = std::move(before.records);
    s.KeptLines = std::move(before.kept);
    const bool full = s.Log.full();
    if (full) EXPECT_GT(f.editsWhenFull, 0);
    EXPECT_EQ(LogBook(s).appendRecord(last).ok, !full);
  }
  const logfile::LoadResult after = logfile::load(path);
  ASSERT_EQ(after.records.size(), std::min(expected.size() + 1, kFull));
  EXPECT_EQ(after.records.back(), expected.size() < kFull ? last : expected.back());
  EXPECT_EQ(after.kept, kept);
  const int leftovers = checkRestartClearsLeftovers(dir.path(), {QStringLiteral("fdlog.dat"), QStringLiteral("fdpref.dat")});

  std::printf("kills %d, contacts reported %d, edits reported %d, preference saves reported %d, cut-short steps found whole %d, "
              "cut last lines %d, contacts lost 0, damaged lines 0, temporary files left %d (removed at the restart); ",
              f.kills, f.contacts, f.edits, f.prefSaves, f.inFlightApplied, f.cutLines, leftovers);
  if (f.fullFromKill)
    std::printf("the log full (%d contacts) from kill %d, edits after it was full %d\n", QsoLog::kMaxRecords,
                f.fullFromKill, f.editsWhenFull);
  else
    std::printf("the log not full (%zu of %d contacts)\n", expected.size(), QsoLog::kMaxRecords);
}

// The settings and backup files (RigCntrl.txt, PackSpot.txt, cw.txt,
// wave2.txt, WK.txt, LogBkUp.dat and its copy in another folder), rewritten in
// a loop through the program's writers and killed at random moments: each
// file read back with the program's reader is the last reported generation
// whole, or the one being written when the kill came, never a mix or a cut.
// Nearly every kill lands inside a write (each ends in an fsync); FD_KILLS / 4
// sets the number of kills (24 by default).
TEST(CrashSafety, KilledWhileWritingSettingsAndBackupsLeavesEachFileWhole) {
  const int kills = qEnvironmentVariableIsSet("FD_KILLS") ? qEnvironmentVariableIntValue("FD_KILLS") / 4 : 24;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::mt19937 rng(20240623);
  const int n = sim::settingsFileCount();
  std::vector<int> done(static_cast<size_t>(n), 0);  // the generation each file must hold, 0 before the first
  int writes = 0, cutShortFoundNew = 0, cutShortFoundOld = 0;
  for (int k = 0; k < kills; ++k) {
    QProcess p;
    p.start(QStringLiteral(FD_LOGTORTURE), {dir.path(), QString::number(k + 1), QStringLiteral("files")});
    ASSERT_TRUE(p.waitForStarted(5000));
    ASSERT_TRUE(p.waitForReadyRead(5000));  // "ready"
    QThread::usleep(rng() % 30000);
    ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
    p.waitForFinished(5000);

    int openFile = -1, openGen = 0;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
      const QList<QByteArray> w = line.split(' ');
      if (w.size() != 4 || w[1] != "F") continue;
      if (w[0] == "begin") {
        openFile = w[2].toInt(), openGen = w[3].toInt();
      } else if (w[0] == "done") {
        ASSERT_EQ(w[2].toInt(), openFile);
        done[static_cast<size_t>(openFile)] = w[3].toInt();
        openFile = -1;
        ++writes;
      }
    }
    for (int i = 0; i < n; ++i) {
      const size_t at = static_cast<size_t>(i);
      bool damaged = false;
      const std::optional<int> got = sim::readSettingsFile(dir.path(), i, &damaged);
      const std::string name = sim::settingsFileName(i).toStdString();
      ASSERT_FALSE(damaged) << name << " is not one generation whole after kill " << k;
      if (!got) {
        ASSERT_EQ(done[at], 0) << name << " was written and is gone after kill " << k;
        continue;
      }
      const bool cut = i == openFile;
      ASSERT_TRUE(*got == done[at] || (cut && *got == openGen))
          << name << " holds generation " << *got << ", reported " << done[at] << " after kill " << k;
      if (cut) (*got == openGen && openGen != done[at] ? cutShortFoundNew : cutShortFoundOld) += 1;
      done[at] = *got;
    }
  }
  // A write cut short may leave its temporary file beside the real one; the
  // readers never look at it, and the next start clears it.
  QStringList names;
  for (int i = 0; i < n; ++i) names << sim::settingsFileName(i);
  const int leftovers = checkRestartClearsLeftovers(dir.path(), names);
  std::printf("settings files: kills %d, writes reported %d, cut-short writes found old %d, found new %d, "
              "files damaged 0, temporary files left in the program folder %d (removed at the restart)\n",
              kills, writes, cutShortFoundOld, cutShortFoundNew, leftovers);
}

}  // namespace
}  // namespace fd
