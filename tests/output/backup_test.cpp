#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include "log/logfile.h"
#include "output/backup.h"
#include "output/backup_window.h"
#include "output_fixture.h"

namespace fd {
namespace {

class Backups : public test::OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    fake->clock->setLocal(plainDateTime(QDate(2024, 6, 22), QTime(18, 30, 0)));
  }
  // A log of n contacts in memory and in fdlog.dat.
  void seed(int n) {
    for (int i = 1; i <= n; ++i)
      add(QStringLiteral("K%1AA").arg(i), "2A", "CT", "2024/06/22", "18:00:00", "20", "CW", "AB", "14.025");
    ASSERT_TRUE(book.rewrite().ok);
  }
  void contact(const QString& call) {
    ASSERT_TRUE(book.appendRecord(QsoRecord{call, "1D", "ENY", "2024/06/22", "19:00:00", "40", "PH"}).ok);
  }
  frmBackup& window() {
    svc.loadBackupWindow();
    return *svc.backupWindow;
  }
  void ticks(int n) {
    for (int i = 0; i < n; ++i) window().Timer1_Timer();
  }
  int backupLines() { return readFile("LogBkUp.dat").count('\n'); }
};

TEST_F(Backups, Timeline) {
  seed(120);
  ticks(14);
  EXPECT_FALSE(QFile::exists(path("LogBkUp.dat")));
  ticks(1);  // 15
  EXPECT_EQ(readFile("LogBkUp.dat"), readFile("fdlog.dat"));
  EXPECT_EQ(backupLines(), 120);
  EXPECT_EQ(state.LastBackupCount, 120);
  EXPECT_EQ(state.BackupMinutes, 0);

  QFile::remove(path("LogBkUp.dat"));
  ticks(15);  // 30: the log has not grown
  EXPECT_FALSE(QFile::exists(path("LogBkUp.dat")));

  contact("W1NEW");
  ticks(15);  // 45
  EXPECT_EQ(backupLines(), 121);

  state.Log.removeLast();  // the delete lowers both
  state.LastBackupCount -= 1;
  ticks(15);  // 60
  EXPECT_EQ(backupLines(), 121);

  // CW waiting at 75 to 77: the check comes at 78, the next at 93.
  contact("W2NEW");
  ticks(14);  // 74
  state.CWBuffer = "CQ FD";
  ticks(3);  // 75-77
  EXPECT_EQ(backupLines(), 121);
  EXPECT_EQ(state.BackupMinutes, 17);
  state.CWBuffer.clear();
  ticks(1);  // 78
  EXPECT_EQ(backupLines(), 121);  // 120 records and W2NEW
  EXPECT_EQ(state.LastBackupCount, 121);
  contact("W3NEW");
  ticks(14);  // 92
  EXPECT_EQ(state.LastBackupCount, 121);
  ticks(1);  // 93
  EXPECT_EQ(state.LastBackupCount, 122);

  // Keying a message (its last character) also puts the check off.
  contact("W4NEW");
  ticks(14);
  state.CWSending = 1;
  ticks(1);
  EXPECT_EQ(state.LastBackupCount, 122);
  state.CWSending = 0;
  ticks(1);
  EXPECT_EQ(state.LastBackupCount, 123);
}

TEST_F(Backups, EmptyLogResetsTheCounterAndWritesNothing) {
  ticks(15);
  EXPECT_EQ(state.BackupMinutes, 0);
  EXPECT_FALSE(QFile::exists(path("LogBkUp.dat")));
  writeFile("LogBkUp.dat", "old\r\n");
  EXPECT_TRUE(window().Backup());
  EXPECT_EQ(readFile("LogBkUp.dat"), "old\r\n");
}

TEST_F(Backups, AppendResetsTheCountersAndTheNextCheckBacksUpTheMergedLog) {
  seed(3);
  ticks(15);
  EXPECT_EQ(backupLines(), 3);
  writeFile("other.dat", test::recordLine("N0ZZ", "1A", "MN", "2024/06/22", "17:00:00", "20", "PH"));
  ticks(5);
  EXPECT_TRUE(svc.appendFile(path("other.dat"), true));
  EXPECT_EQ(state.BackupMinutes, 0);
  EXPECT_EQ(state.LastBackupCount, 0);
  ticks(15);
  EXPECT_EQ(readFile("LogBkUp.dat"), readFile("fdlog.dat"));
  EXPECT_EQ(backupLines(), 4);
}

TEST_F(Backups, PermanentAndOtherCopies) {
  seed(5);
  QDir(dir.path()).mkdir("other");
  window().Check2->setChecked(true);
  window().Check3->setChecked(true);
  window().Text1->setText("other");  // relative: from the program folder
  ticks(15);
  EXPECT_EQ(readFile("BAK2024/06221830.dat"), readFile("LogBkUp.dat"));
  EXPECT_EQ(readFile("other/LogBkUp.dat"), readFile("LogBkUp.dat"));
  EXPECT_EQ(main.status, "");
  EXPECT_EQ(fake->dialogs->beeps, 0);

  // Into the new year: the folder of the year the run started in.
  fake->clock->setLocal(plainDateTime(QDate(2025, 1, 1), QTime(0, 5, 0)));
  contact("W1NEW");
  ticks(15);
  EXPECT_EQ(readFile("BAK2024/01010005.dat"), readFile("LogBkUp.dat"));
  EXPECT_FALSE(QDir(path("BAK2025")).exists());
}

TEST_F(Backups, FailuresAreReportedOnTheStatusLine) {
  seed(5);
  QDir(dir.path()).mkdir("other");
  window().Check2->setChecked(true);
  window().Check3->setChecked(true);
  window().Text1->setText(path("other"));
  ticks(15);
  const QByteArray good = readFile("LogBkUp.dat");
  ASSERT_EQ(good.count('\n'), 5);

  // The backup itself fails (a full disk): the counter stays, the old backup
  // and copies are untouched, the next check tries again.
  contact("W1NEW");
  fake->clock->setLocal(plainDateTime(QDate(2024, 6, 22), QTime(18, 45, 0)));
  {
    test::ScopedFileSizeLimit limit(100);
    ticks(15);
  }
  EXPECT_EQ(state.LastBackupCount, 5);
  EXPECT_EQ(readFile("LogBkUp.dat"), good);
  EXPECT_EQ(readFile("other/LogBkUp.dat"), good);
  EXPECT_FALSE(QFile::exists(path("BAK2024/06221845.dat")));
  EXPECT_EQ(main.status, "Unable to write backup to " + dir.path());
  EXPECT_EQ(fake->dialogs->beeps, 1);
  EXPECT_TRUE(fake->dialogs->shown.isEmpty());
  ticks(15);
  EXPECT_EQ(state.LastBackupCount, 6);
  EXPECT_EQ(readFile("other/LogBkUp.dat").count('\n'), 6);

  // The yearly folder taken by a file; the other folder missing; then empty.
  QDir(path("BAK2024")).removeRecursively();
  writeFile("BAK2024", "a file");
  QDir(path("other")).removeRecursively();
  main.status.clear();
  contact("W2NEW");
  ticks(15);
  EXPECT_EQ(state.LastBackupCount, 7);
  EXPECT_EQ(fake->dialogs->beeps, 3);
  EXPECT_TRUE(main.calls.contains("setStatus Unable to write backup to " + path("BAK2024")));
  EXPECT_EQ(main.status, "Unable to write backup to " + path("other"));

  window().Text1->setText("");
  contact("W3NEW");
  ticks(15);
  EXPECT_EQ(main.status, "Unable to write backup to ");
  EXPECT_FALSE(QFile::exists("/LogBkUp.dat"));

  // The other folder is the program folder: the copy is already there.
  QFile::remove(path("BAK2024"));
  QDir(dir.path()).mkdir("BAK2024");
  window().Text1->setText(dir.path());
  main.status.clear();
  const int beeps = fake->dialogs->beeps;
  contact("W4NEW");
  ticks(15);
  EXPECT_EQ(main.status, "");
  EXPECT_EQ(fake->dialogs->beeps, beeps);
  EXPECT_EQ(readFile("LogBkUp.dat").count('\n'), 9);
}

TEST_F(Backups, WindowLoadLabelsAndDone) {
  QDir(dir.path()).mkdir("bak2024");
  state.BackupPermanent = 1;
  state.BackupOther = 0;
  state.BackupOtherDir = "/media/usb";
  frmBackup& w = window();
  EXPECT_TRUE(QFileInfo(path("BAK2024")).isDir());
  EXPECT_TRUE(QFileInfo(path("bak2024")).isDir());
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.windowTitle(), "Backup Options");
  EXPECT_EQ(w.Label1->text(),
            "Make a backup copy of your log file every 15 minutes saved in " + dir.path() + " (always enabled).");
  EXPECT_EQ(w.Label2->text(),
            "Write a permanent backup of your log file every 15 minutes in " + dir.path() + "/BAK2024.");
  EXPECT_TRUE(w.Check1->isChecked());
  EXPECT_FALSE(w.Check1->isEnabled());
  EXPECT_TRUE(w.Check2->isChecked());
  EXPECT_FALSE(w.Check3->isChecked());
  EXPECT_EQ(w.Text1->text(), "/media/usb");
  EXPECT_TRUE(w.Timer1.isActive());
  EXPECT_EQ(w.Timer1.interval(), 60000);

  // A double quote, typed or pasted, never reaches the box.
  w.Text1->setText("");
  w.show();
  w.Text1->setFocus();
  QTest::keyClicks(w.Text1, "/mnt/\"usb");
  w.Text1->pasteText("\"x\"");
  EXPECT_EQ(w.Text1->text(), "/mnt/usbx");

  w.Check2->setChecked(false);
  w.Check3->setChecked(true);
  w.Command1_Click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(state.BackupPermanent, 0);
  EXPECT_EQ(state.BackupOther, 1);
  EXPECT_EQ(state.BackupOtherDir, "/mnt/usbx");
  const QList<QByteArray> prefs = readFile("fdpref.dat").split('\n');
  ASSERT_GE(prefs.size(), 17);
  EXPECT_EQ(prefs[14], "0\r");
  EXPECT_EQ(prefs[15], "1\r");
  EXPECT_EQ(prefs[16], "\"/mnt/usbx\"\r");

  // The title bar's close stores as Done does, and the timer goes on.
  w.show();
  w.Check2->setChecked(true);
  w.close();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(state.BackupPermanent, 1);
  EXPECT_TRUE(w.Timer1.isActive());
  EXPECT_EQ(main.prefSaves, 2);

  svc.unload(SideWindow::frmBackup);
  EXPECT_EQ(svc.backupWindow, nullptr);
}

// The program folder in the two path labels: on a line of its own, whole,
// when it fits one; wider than the label, broken only after a "/" inside it,
// never after its leading "/". Every other break is at a blank.
TEST_F(Backups, FolderPathsBreakAtABlankOrAfterAnInnerSlash) {
  const QString keep = state.ProgDir;
  const QFontMetrics designFm(window().Label1->font());
  const int width = window().Label1->contentsRect().width();
  // The test's folder and "/fieldday/fieldday..." up to just over the given
  // share of the label's width.
  auto path = [&](double share) {
    QString p = dir.path();
    while (designFm.horizontalAdvance(p) <= share * width) p += QStringLiteral("/fieldday");
    return p;
  };
  // All of the text within the label's height, in a smaller font where needed.
  const struct {
    const char* what;
    QString folder;
  } cases[] = {
      {"a short folder", dir.path()},
      {"a folder that fits a line but not after the words", path(0.7)},
      {"a folder with blanks", dir.path() + QStringLiteral("/field operator/Varik Software/Field Day")},
      {"a folder wider than the label", path(1.5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    state.ProgDir = c.folder;
    svc.unload(SideWindow::frmBackup);
    frmBackup& w = window();
    for (PathLabel* label : {w.Label1, w.Label2}) {
      const QFontMetrics fm(label->font());
      ASSERT_EQ(label->contentsRect().width(), width);
      const QString text = label->text();
      ASSERT_TRUE(text.contains(c.folder));
      const QStringList lines = label->drawnLines();
      SCOPED_TRACE(lines.join(QStringLiteral(" | ")).toStdString());
      // The lines are the text in order; a break inside a word follows an
      // inner "/" of a word wider than the label.
      qsizetype at = 0;
      for (const QString& line : lines) {
        EXPECT_LE(fm.horizontalAdvance(line), width) << line.toStdString();
        ASSERT_EQ(text.mid(at, line.size()), line);
        at += line.size();
        if (at >= text.size()) break;
        if (text[at] == u' ') {
          ++at;
          continue;
        }
        const qsizetype wordStart = text.lastIndexOf(u' ', at - 1) + 1;
        qsizetype wordEnd = text.indexOf(u' ', at);
        if (wordEnd < 0) wordEnd = text.size();
        const QString word = text.mid(wordStart, wordEnd - wordStart);
        EXPECT_EQ(text[at - 1], u'/') << "broken inside \"" << word.toStdString() << "\"";
        EXPECT_GT(at - 1, wordStart) << "broken after the leading \"/\"";
        EXPECT_GT(fm.horizontalAdvance(word), width) << "a word that fits a line was broken";
      }
      EXPECT_EQ(at, text.size());
      if (fm.horizontalAdvance(c.folder) <= width && !c.folder.contains(u' '))
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(c.folder); }));
      EXPECT_LE(lines.size() * fm.lineSpacing(), label->contentsRect().height());
    }
  }
  state.ProgDir = keep;
}

// Folders deep enough to overflow the path labels at the design's font, on a
// 1280 x 1024 screen: the font gets smaller, never under 6 points, until every
// line is inside its label. Where even 6 points does not do, the middle of the
// path gives way to "…", the words around it stay whole, and the whole path is
// the label's tool tip.
TEST_F(Backups, DeepFolderPathsFitTheirLabels) {
  const QString keep = state.ProgDir;
  fake->screen->w = fake->screen->workW = 19200;
  fake->screen->h = fake->screen->workH = 15360;
  auto folder = [&](int length) {
    QString p = dir.path();
    while (p.size() < length) p += QStringLiteral("/fieldday");
    return p.left(length);
  };
  for (const int length : {111, 4000}) {
    SCOPED_TRACE(length);
    state.ProgDir = folder(length);
    svc.unload(SideWindow::frmBackup);
    frmBackup& w = window();
    const bool elided = length > 111;
    const struct {
      PathLabel* label;
      QString before, path, after;
    } labels[] = {
        {w.Label1, "Make a backup copy of your log file every 15 minutes saved in ", state.ProgDir, " (always enabled)."},
        {w.Label2, "Write a permanent backup of your log file every 15 minutes in ", state.ProgDir + "/BAK2024", "."},
    };
    for (const auto& l : labels) {
      const QFontMetrics fm(l.label->font());
      const QRect box = l.label->contentsRect();
      const QStringList lines = l.label->drawnLines();
      SCOPED_TRACE(lines.join(QStringLiteral(" | ")).left(400).toStdString());
      EXPECT_GE(l.label->font().pointSizeF(), 6.0);
      EXPECT_LE((lines.size() - 1) * fm.lineSpacing() + fm.height(), box.height());
      for (const QString& line : lines) EXPECT_LE(fm.horizontalAdvance(line), box.width()) << line.toStdString();
      // The lines hold the text in order (blanks aside), the path's middle
      // left out only where the font is already the smallest.
      const QString drawn = lines.join(QString()).remove(u' ');
      const QString head = QString(l.before + l.path.left(20)).remove(u' ');
      const QString tail = QString(l.path.right(20) + l.after).remove(u' ');
      EXPECT_TRUE(drawn.startsWith(head) && drawn.endsWith(tail)) << drawn.toStdString();
      if (elided) {
        EXPECT_EQ(l.label->font().pointSizeF(), 6.0);
        EXPECT_EQ(drawn.count(u'\u2026'), 1);
        EXPECT_EQ(l.label->toolTip(), l.path);
      } else {
        EXPECT_EQ(drawn, l.label->text().remove(u' '));
        EXPECT_EQ(l.label->toolTip(), QString());
      }
    }
  }
  state.ProgDir = keep;
}

TEST_F(Backups, ExistingYearFolderIsUsedAsItIs) {
  QDir(dir.path()).mkdir("BAK2024");
  writeFile("BAK2024/keep.dat", "x");
  window();
  EXPECT_EQ(readFile("BAK2024/keep.dat"), "x");
}

TEST_F(Backups, ShownModallyFromTheMenu) {
  window();
  bool shown = false;
  test::ScopedModalHook hook([&](QWidget* w) {
    shown = w == svc.backupWindow.data();
    svc.backupWindow->Command1_Click();
  });
  svc.showBackupOptions();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(svc.provides(OutputServices::Feature::BackupOptions));
}

class Archive : public test::OutputTest {
 protected:
  void SetUp() override {
    OutputTest::SetUp();
    fake->clock->setLocal(plainDateTime(QDate(2024, 6, 22), QTime(18, 30, 0)));
  }
};

TEST_F(Archive, ProposesTheNameAndCopiesTheLiveLog) {
  writeFile("fdlog.dat", test::recordLine("W1AW", "2A", "CT", "2024/06/22", "18:00:00", "20", "CW"));
  state.MyCall = "W1AW/3";
  dlg().files.push_back(path("docs/W1AW2024-06-22.dat"));
  svc.mnuArchive_Click();
  ASSERT_EQ(dlg().shown.size(), 2);
  EXPECT_EQ(dlg().shown[0].title, "Archive Information");
  EXPECT_EQ(dlg().shown[0].text,
            "This function is used to create a permanent copy of your currently open log file.  To open your log "
            "file at a later date, click File > Combine or Restore from Backup.");
  EXPECT_EQ(dlg().shown[1].text, path("docs") + "/W1AW2024-06-22.dat");
  EXPECT_EQ(dlg().shown[1].filter, "Log Files (*.dat *.DAT)");
  EXPECT_EQ(readFile("docs/W1AW2024-06-22.dat"), readFile("fdlog.dat"));

  // Replacing an earlier archive.
  writeFile("fdlog.dat", "changed\r\n");
  dlg().clear();
  state.MyCall = "";
  dlg().files.push_back(path("docs/W1AW2024-06-22.dat"));
  svc.mnuArchive_Click();
  EXPECT_EQ(dlg().shown[1].text, path("docs") + "/YourCall2024-06-22.dat");
  EXPECT_EQ(readFile("docs/W1AW2024-06-22.dat"), "changed\r\n");
  EXPECT_EQ(dlg().shown.size(), 2);
}

TEST_F(Archive, CancelMissingLogAndTheLiveLogAsTarget) {
  dlg().files.push_back(QString());
  svc.mnuArchive_Click();
  EXPECT_EQ(dlg().shown.size(), 2);

  dlg().clear();
  dlg().files.push_back(path("docs/a.dat"));
  svc.mnuArchive_Click();  // no fdlog.dat
  ASSERT_EQ(dlg().shown.size(), 3);
  EXPECT_EQ(dlg().shown[2].title, "Error Archiving Log");
  EXPECT_FALSE(QFile::exists(path("docs/a.dat")));

  writeFile("fdlog.dat", "live\r\n");
  for (const QString& target : {path("fdlog.dat"), dir.path() + "/./fdlog.dat"}) {
    dlg().clear();
    dlg().files.push_back(target);
    svc.mnuArchive_Click();
    ASSERT_EQ(dlg().shown.size(), 3);
    EXPECT_EQ(dlg().shown[2].title, "Error Archiving Log");
    EXPECT_EQ(readFile("fdlog.dat"), "live\r\n");
  }
}

TEST(CopyHelper, ReplacesWholeAndKeepsThePreviousCopyOnFailure) {
  QTemporaryDir d;
  const QString a = d.path() + "/a", b = d.path() + "/b";
  QFile fa(a);
  ASSERT_TRUE(fa.open(QIODevice::WriteOnly));
  fa.write(QByteArray(5000, 'x'));
  fa.close();
  QFile fb(b);
  ASSERT_TRUE(fb.open(QIODevice::WriteOnly));
  fb.write("previous");
  fb.close();
  {
    test::ScopedFileSizeLimit limit(1000);
    EXPECT_FALSE(copyWholeFile(a, b).ok);
  }
  ASSERT_TRUE(fb.open(QIODevice::ReadOnly));
  EXPECT_EQ(fb.readAll(), "previous");
  fb.close();
  EXPECT_TRUE(copyWholeFile(a, b).ok);
  ASSERT_TRUE(fb.open(QIODevice::ReadOnly));
  EXPECT_EQ(fb.readAll().size(), 5000);
  fb.close();
  EXPECT_TRUE(copyWholeFile(a, d.path() + "/./a").ok);  // itself: nothing to do
  EXPECT_FALSE(copyWholeFile(d.path() + "/missing", b).ok);
  EXPECT_EQ(QDir(d.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"a", "b"}));
}

}  // namespace
}  // namespace fd
