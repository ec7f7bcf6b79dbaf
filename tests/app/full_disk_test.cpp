// Every writer of the program's own files and exports, driven through the
// operator's step, on a folder whose disk is full and then on a folder that
// is read-only: the operator is told (a message box through the fake dialogs,
// or the status line where the step is an unattended one), the old file stays
// whole byte for byte, what was typed stays for another try, and once the
// disk has room (or is writable) again the same step saves.
//
// The folder is a small tmpfs of its own, mounted in a mount namespace of
// this process: filled to the last page for the full disk, remounted
// read-only for the other case. Where mounting is refused, a file-size limit
// stands for the full disk and a folder of mode 555 for the read-only one,
// written to as the user nobody when the test runs as root (root writes
// through permissions). FD_DISK_WAY=limits chooses the second way. The table
// goes to the test's output.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "core/prefs.h"
#include "fakemainwindow.h"
#include "keying/cwfrm.h"
#include "keying/keyingservice.h"
#include "keying/phonefrm.h"
#include "keying/winkeyer.h"
#include "keying/winkeyfrm.h"
#include "log/form1.h"
#include "log/frmeditcon.h"
#include "log/logfile.h"
#include "output/backup_window.h"
#include "output/form2.h"
#include "output/outputservice.h"
#include "platform/forms.h"
#include "platform/serial.h"
#include "rig/rigcontrolfrm.h"
#include "rig/rigsettings.h"
#include "spots/packetspotfrm.h"
#include "spots/spotservice.h"
#include "spots/spotsettings.h"
#include "spots/telnetsocket.h"
#include "testenv.h"

namespace fd {
namespace {

// ---- The folder that fills up or turns read-only -------------------------

enum class Way { Tmpfs, Limits };

// Whether this process may mount: a mount namespace of its own, the mounts
// kept from the rest of the machine. Decided once. The namespace is this
// thread's, the one every write here runs on.
bool mountsAllowed(QString* why) {
  static QString reason;
  static const bool ok = [] {
    if (::unshare(CLONE_NEWNS) != 0) {
      reason = QStringLiteral("unshare(CLONE_NEWNS): %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
      return false;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      reason = QStringLiteral("making / private: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
      return false;
    }
    return true;
  }();
  *why = reason;
  return ok;
}

class Trap {
 public:
  explicit Trap(Way way) : way_(way) {
    base_ = tmp_.path() + QStringLiteral("/fd");
    QDir().mkpath(base_);
    ::chmod(tmp_.path().toLocal8Bit().constData(), 0755);  // the other user must reach the folder
    ::chmod(base_.toLocal8Bit().constData(), 0755);
    if (way_ == Way::Tmpfs)
      mounted_ = ::mount("tmpfs", base_.toLocal8Bit().constData(), "tmpfs", 0, "size=256k,mode=0755") == 0;
  }
  ~Trap() {
    writable();
    spaceBack();
    if (mounted_) ::umount2(base_.toLocal8Bit().constData(), MNT_DETACH);
  }
  bool ok() const { return way_ == Way::Limits || mounted_; }
  QString path() const { return base_; }

  void fullDisk() {
    if (way_ == Way::Limits) {
      // Every write past the first byte of any file fails as on a full disk.
      limit_ = std::make_unique<test::ScopedFileSizeLimit>(1);
      return;
    }
    const QByteArray filler = (base_ + QStringLiteral("/.filler")).toLocal8Bit();
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray page(4096, 'f');
    while (::write(fd, page.constData(), static_cast<size_t>(page.size())) > 0) {
    }
    while (::write(fd, page.constData(), 1) > 0) {
    }
    ::close(fd);
  }
  void spaceBack() {
    limit_.reset();
    if (way_ == Way::Tmpfs) QFile::remove(base_ + QStringLiteral("/.filler"));
  }
  void readOnly() {
    if (way_ == Way::Tmpfs) {
      ASSERT_EQ(::mount(nullptr, base_.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
          << std::strerror(errno);
    } else {
      // A folder (and files) its user may read and not write. Root passes
      // every permission check, so root's writes run as "nobody" meanwhile.
      chmodAll(0555, 0444);
      if (::geteuid() == 0) {
        ASSERT_EQ(::setegid(65534), 0);
        ASSERT_EQ(::seteuid(65534), 0);
        asNobody_ = true;
      }
    }
    readOnly_ = true;
  }
  void writable() {
    if (!readOnly_) return;
    readOnly_ = false;
    if (way_ == Way::Tmpfs) {
      ::mount(nullptr, base_.toLocal8Bit().constData(), nullptr, MS_REMOUNT, nullptr);
    } else {
      if (asNobody_) {
        ::seteuid(0);
        ::setegid(0);
        asNobody_ = false;
      }
      chmodAll(0755, 0644);
    }
  }

 private:
  void chmodAll(mode_t dirs, mode_t files) {
    std::function<void(const QString&)> walk = [&](const QString& d) {
      ::chmod(d.toLocal8Bit().constData(), dirs);
      for (const QFileInfo& fi : QDir(d).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (fi.isDir()) walk(fi.filePath());
        else ::chmod(fi.filePath().toLocal8Bit().constData(), files);
      }
    };
    walk(base_);
  }

  Way way_;
  QTemporaryDir tmp_;
  QString base_;
  bool mounted_ = false, readOnly_ = false, asNobody_ = false;
  std::unique_ptr<test::ScopedFileSizeLimit> limit_;
};

// ---- The writers ----------------------------------------------------------

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// One program folder in the trap with the fakes, the state and a main window.
struct Env {
  explicit Env(const QString& folder) {
    state.ProgDir = folder;
    state.ProgDrive = folder.left(1);
    state.FieldDayDir = folder;
    state.MyCall = QStringLiteral("W1AW");
    state.OpInitials = QStringLiteral("AB");
    fillSectionTable(state);
    fake.dialogs->onUnscripted = [](const QString&) {};  // every box is answered with its default
    setSerialFactory([] { return std::make_unique<FakeSerialPort>(); });
    setTelnetSocketFactory([] { return std::make_unique<FakeTelnetSocket>(); });
  }
  ~Env() {
    form.reset();
    rig.reset();
    if (spots) spots->unload(SideWindow::PacketSpotfrm);
    spots.reset();
    keying.reset();
    output.reset();
    summary.reset();
    setModalHook({});
    setSerialFactory({});
    setTelnetSocketFactory({});
  }
  QString file(const QString& name) const { return QDir(state.ProgDir).filePath(name); }
  QString other;  // the other backup folder, for the writer that has its own trap there

  test::FakePlatform fake;
  ProgramState state;
  LogBook book{state};
  test::FakeMainWindow main{&state, &book};
  // The windows and services a writer needs, made on first use; they go
  // before the main window and the fakes.
  Services services;
  std::unique_ptr<Form1> form;
  std::unique_ptr<RigControlfrm> rig;
  std::unique_ptr<SpotService> spots;
  std::unique_ptr<KeyingService> keying;
  std::unique_ptr<OutputService> output;
  std::unique_ptr<Form2> summary;
};

const QsoRecord kOld{QStringLiteral("K1OLD"), QStringLiteral("2A"), QStringLiteral("CT"), QStringLiteral("2024/06/22"),
                     QStringLiteral("18:00:00"), QStringLiteral("20"), QStringLiteral("CW"), QStringLiteral("AB"),
                     QString()};

// A log whose file ends within one line of a 4 KB page, so that on a full disk
// the next line needs a page the disk does not have (a line that fits the
// page's slack is written, as on any full disk).
void seedPageLog(Env& e) {
  const qsizetype len = logfile::formatLine(kOld).size();
  for (qsizetype n = 0; n + len <= 4096; n += len) e.state.Log.append(kOld);
  ASSERT_TRUE(e.book.rewrite().ok);
}

// A writer: the old file made under normal conditions, the operator's step,
// whether the typed values are still there after a failure, and whether the
// file holds them after the retry.
struct Writer {
  const char* name;
  const char* file;   // relative to the program folder
  const char* tells;  // what the operator must be shown: a box's title or the status line's text
  std::function<void(Env&)> prepare;
  std::function<void(Env&)> step;
  // "yes"; "n/a" for a step with nothing typed; "undone" for a step that
  // takes the change back and says so; "no" is a fault.
  std::function<const char*(Env&)> kept;
  std::function<bool(Env&)> saved;
  // The trap is the other backup folder only; the program folder has room.
  bool trapOther = false;
};

void selectRecord(Form1& f, int recNo) {
  QTreeWidget* list = f.ListView1;
  QTreeWidgetItem* row = nullptr;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->text(0) == QString::number(recNo)) row = list->topLevelItem(i);
  if (!row) {
    row = new QTreeWidgetItem(QStringList{QString::number(recNo)});
    list->addTopLevelItem(row);
  }
  list->clearSelection();
  row->setSelected(true);
}

OutputService& output(Env& e) {
  if (!e.output) {
    e.output = std::make_unique<OutputService>(e.state);
    e.output->attach(e.main);
  }
  return *e.output;
}

KeyingService& keying(Env& e) {
  if (!e.keying) {
    e.keying = std::make_unique<KeyingService>(e.state);
    e.keying->attach(e.main);
  }
  return *e.keying;
}

std::vector<Writer> writers() {
  return {
      {"contact (Enter)", "fdlog.dat", "Contact Not Saved",
       [](Env& e) {
         seedPageLog(e);
         e.form = std::make_unique<Form1>(e.state, e.services);
         ASSERT_TRUE(e.form->book.mnuopen2());
       },
       [](Env& e) {
         e.form->txtCall->setText(QStringLiteral("W1NEW"));
         e.form->txtCK->setText(QStringLiteral("3A"));
         e.form->txtSec->setText(QStringLiteral("ENY"));
         e.form->Mains();
       },
       [](Env& e) {
         return e.form->txtCall->text() == u"W1NEW" && e.form->txtCK->text() == u"3A" &&
                        e.form->txtSec->text() == u"ENY"
                    ? "yes"
                    : "no";
       },
       [](Env& e) {
         const logfile::LoadResult got = logfile::load(e.file(QStringLiteral("fdlog.dat")));
         return !got.records.empty() && got.records.back().Call == u"W1NEW" &&
                static_cast<int>(got.records.size()) == e.state.QsoCount();
       }},
      {"edit (Done)", "fdlog.dat", "File Error",
       [](Env& e) {
         e.state.Log.append(kOld);
         ASSERT_TRUE(e.book.rewrite().ok);
         e.form = std::make_unique<Form1>(e.state, e.services);
         ASSERT_TRUE(e.form->book.mnuopen2());
       },
       [](Env& e) {
         selectRecord(*e.form, 1);
         setModalHook([](QWidget* x) {
           auto* edit = qobject_cast<frmEditCon*>(x);
           if (!edit) return;
           edit->txtEditBnd->setText(QStringLiteral("15"));
           edit->cmdDone->click();
         });
         e.form->cmdEdit_Click();
         setModalHook({});
       },
       // The edit is taken back, so memory matches the file the box calls unchanged.
       [](Env& e) { return e.state.Log.rec(1).Band == u"20" ? "undone" : "no"; },
       [](Env& e) {
         const logfile::LoadResult got = logfile::load(e.file(QStringLiteral("fdlog.dat")));
         return got.records.size() == 1 && got.records[0].Band == u"15";
       }},
      {"preferences (fdpref.dat)", "fdpref.dat", "Preferences Not Saved",
       [](Env& e) { ASSERT_TRUE(prefs::SavePref(e.state)); },
       [](Env& e) {
         e.state.MyCall = QStringLiteral("W1NEW");
         prefs::SavePref(e.state);
       },
       [](Env& e) { return e.state.MyCall == u"W1NEW" ? "yes" : "no"; },
       [](Env& e) {
         ProgramState read;
         return prefs::read(e.file(QStringLiteral("fdpref.dat")), read).values == 17 && read.MyCall == u"W1NEW";
       }},
      {"RigCntrl.txt (Done)", "RigCntrl.txt", "Unable to write file.",
       [](Env& e) {
         e.state.RigType = QStringLiteral("None");
         ASSERT_TRUE(prefs::SavePref(e.state));
         e.rig = std::make_unique<RigControlfrm>(e.state, &e.main, nullptr);
         e.rig->chkFrequency->setChecked(true);
         e.rig->cmdDone_Click();
       },
       [](Env& e) {
         e.rig->chkFrequency->setChecked(false);
         e.rig->cmdDone_Click();
       },
       [](Env& e) { return e.rig->chkFrequency->isChecked() ? "no" : "yes"; },
       [](Env& e) {
         rig::RigFile f;
         rig::loadRigFile(e.file(QStringLiteral("RigCntrl.txt")), f);
         return f.valuesRead == 14 && f.useFrequency == 0;
       }},
      {"PackSpot.txt (Done)", "PackSpot.txt", "Unable to write file.",
       [](Env& e) {
         ASSERT_TRUE(prefs::SavePref(e.state));
         e.spots = std::make_unique<SpotService>(e.state);
         e.spots->attach(e.main);
         PacketSpotfrm* f = e.spots->loadSpotWindow();
         f->txtTelnetHost->setText(QStringLiteral("old.example"));
         f->cmdDone_Click();
       },
       [](Env& e) {
         PacketSpotfrm* f = e.spots->spotWindow();
         f->txtTelnetHost->setText(QStringLiteral("new.example"));
         f->cmdDone_Click();
       },
       [](Env& e) { return e.spots->spotWindow()->txtTelnetHost->text() == u"new.example" ? "yes" : "no"; },
       [](Env& e) {
         const auto f = SpotSettings::fromFile(readAll(e.file(QStringLiteral("PackSpot.txt"))));
         return f && f->TelnetHost == u"new.example";
       }},
      {"ADIF export", "fd.adi", "Unable to write file.",
       [](Env& e) {
         e.state.Log.append(kOld);
         e.fake.dialogs->inputs = {QStringLiteral("100"), QStringLiteral("c"), QStringLiteral("CW")};
         e.fake.dialogs->files = {e.file(QStringLiteral("fd.adi"))};
         output(e).mnuADIFExport_Click();
         e.state.Log.append(QsoRecord{QStringLiteral("W1NEW"), kOld.Class, kOld.Section, kOld.Date, kOld.Time,
                                      kOld.Band, kOld.Mode, kOld.Initials, kOld.Freq});
       },
       [](Env& e) {
         e.fake.dialogs->inputs = {QStringLiteral("100"), QStringLiteral("c"), QStringLiteral("CW")};
         e.fake.dialogs->files = {e.file(QStringLiteral("fd.adi"))};
         output(e).mnuADIFExport_Click();
       },
       [](Env&) { return "n/a"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("fd.adi"))).contains("W1NEW"); }},
      {"Tolva export (LogExp.txt)", "LogExp.txt", "Unable to write file.",
       [](Env& e) {
         e.state.Log.append(kOld);
         output(e).mnuTolvaExport_Click();
         e.state.Log.append(QsoRecord{QStringLiteral("W1NEW"), kOld.Class, kOld.Section, kOld.Date, kOld.Time,
                                      kOld.Band, kOld.Mode, kOld.Initials, kOld.Freq});
       },
       [](Env& e) { output(e).mnuTolvaExport_Click(); },
       [](Env&) { return "n/a"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("LogExp.txt"))).contains("W1NEW"); }},
      {"ASCII log file", "W1AW-ASCIILog.txt", "Unable to write file.",
       [](Env& e) {
         e.state.Log.append(kOld);
         e.fake.dialogs->files = {e.file(QStringLiteral("W1AW-ASCIILog.txt"))};
         output(e).mnuAsciiLog_Click();
         e.state.Log.append(QsoRecord{QStringLiteral("W1NEW"), kOld.Class, kOld.Section, kOld.Date, kOld.Time,
                                      kOld.Band, kOld.Mode, kOld.Initials, kOld.Freq});
       },
       [](Env& e) {
         e.fake.dialogs->files = {e.file(QStringLiteral("W1AW-ASCIILog.txt"))};
         output(e).mnuAsciiLog_Click();
       },
       [](Env&) { return "n/a"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("W1AW-ASCIILog.txt"))).contains("W1NEW"); }},
      {"archive (copy of the log)", "arch.dat", "Error Archiving Log",
       [](Env& e) {
         e.state.Log.append(kOld);
         ASSERT_TRUE(e.book.rewrite().ok);
         e.fake.dialogs->files = {e.file(QStringLiteral("arch.dat"))};
         output(e).mnuArchive_Click();
         ASSERT_TRUE(e.book.appendRecord(QsoRecord{QStringLiteral("W1NEW"), kOld.Class, kOld.Section, kOld.Date,
                                                   kOld.Time, kOld.Band, kOld.Mode, kOld.Initials, kOld.Freq})
                         .ok);
       },
       [](Env& e) {
         e.fake.dialogs->files = {e.file(QStringLiteral("arch.dat"))};
         output(e).mnuArchive_Click();
       },
       [](Env&) { return "n/a"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("arch.dat"))).contains("W1NEW"); }},
      {"summary file (CALL.sum)", "W1AW.sum", "Unable to write file.",
       [](Env& e) {
         e.state.PrefsPath = e.file(QStringLiteral("SharedUserPreferences.xml"));
         e.summary = std::make_unique<Form2>(e.state);
         e.summary->Text5->setText(QStringLiteral("OLD CLUB"));
         e.fake.dialogs->files = {e.file(QStringLiteral("W1AW.sum"))};
         e.summary->Command1_Click();
       },
       [](Env& e) {
         e.summary->Text5->setText(QStringLiteral("NEW CLUB"));
         e.fake.dialogs->files = {e.file(QStringLiteral("W1AW.sum"))};
         e.summary->Command1_Click();
       },
       [](Env& e) { return e.summary->Text5->text() == u"NEW CLUB" ? "yes" : "no"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("W1AW.sum"))).contains("NEW CLUB"); }},
      {"combine (append a file)", "fdlog.dat", "Append Error",
       [](Env& e) {
         e.state.Log.append(kOld);
         ASSERT_TRUE(e.book.rewrite().ok);
         QFile more(e.file(QStringLiteral("more.dat")));
         ASSERT_TRUE(more.open(QIODevice::WriteOnly));
         more.write(logfile::formatLine(QsoRecord{QStringLiteral("W1NEW"), kOld.Class, kOld.Section, kOld.Date,
                                                  kOld.Time, kOld.Band, kOld.Mode, kOld.Initials, kOld.Freq}));
       },
       [](Env& e) { output(e).appendFile(e.file(QStringLiteral("more.dat")), true); },
       [](Env&) { return "n/a"; },
       [](Env& e) {
         const logfile::LoadResult got = logfile::load(e.file(QStringLiteral("fdlog.dat")));
         return got.records.size() == 2 && got.records[1].Call == u"W1NEW";
       }},
      {"backup (LogBkUp.dat)", "LogBkUp.dat", "Unable to write backup to",
       [](Env& e) {
         e.state.Log.append(kOld);
         output(e).loadBackupWindow();
         e.state.BackupMinutes = 14;
         output(e).backupWindow->Timer1_Timer();
         ASSERT_EQ(e.state.LastBackupCount, 1);
         e.state.Log.append(QsoRecord{QStringLiteral("W1NEW"), kOld.Class, kOld.Section, kOld.Date, kOld.Time,
                                      kOld.Band, kOld.Mode, kOld.Initials, kOld.Freq});
       },
       [](Env& e) {
         e.state.BackupMinutes = 14;
         output(e).backupWindow->Timer1_Timer();
       },
       [](Env&) { return "n/a"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("LogBkUp.dat"))).contains("W1NEW"); }},
      {"backup to another folder", "LogBkUp.dat", "Unable to write backup to",
       [](Env& e) {
         e.state.Log.append(kOld);
         output(e).loadBackupWindow();
         frmBackup& b = *output(e).backupWindow;
         b.Check3->setChecked(true);
         b.Text1->setText(e.other);
         e.state.BackupMinutes = 14;
         b.Timer1_Timer();
         ASSERT_EQ(readAll(e.other + QStringLiteral("/LogBkUp.dat")), logfile::formatLine(kOld));
       },
       // The program folder's backup goes through and marks the log as backed
       // up, so the other copy is tried again at the next backup that has a
       // new contact: the step logs one first.
       [](Env& e) {
         e.state.Log.append(QsoRecord{QStringLiteral("W1NEW"), kOld.Class, kOld.Section, kOld.Date, kOld.Time,
                                      kOld.Band, kOld.Mode, kOld.Initials, kOld.Freq});
         e.state.BackupMinutes = 14;
         output(e).backupWindow->Timer1_Timer();
       },
       [](Env&) { return "n/a"; },
       [](Env& e) {
         const QByteArray got = readAll(e.other + QStringLiteral("/LogBkUp.dat"));
         return got.contains("W1NEW") && got.count('\n') == e.state.QsoCount();
       },
       true},
      {"cw.txt (Done)", "cw.txt", "Unable to write file.",
       [](Env& e) {
         CWFrm& f = keying(e).loadCWFrm();
         f.Text[1]->setText(QStringLiteral("CQ OLD"));
         f.Command1_Click();
       },
       [](Env& e) {
         CWFrm& f = keying(e).loadCWFrm();
         f.Text[1]->setText(QStringLiteral("CQ NEW"));
         f.Command1_Click();
       },
       [](Env& e) { return keying(e).loadCWFrm().Text[1]->text() == u"CQ NEW" ? "yes" : "no"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("cw.txt"))).contains("CQ NEW"); }},
      {"wave2.txt (Done)", "wave2.txt", "Unable to write file.",
       [](Env& e) {
         PhoneFrm& f = keying(e).phoneFrm();
         f.Text[0]->setText(QStringLiteral("/w/old.wav"));
         f.Command1_Click();
       },
       [](Env& e) {
         PhoneFrm& f = keying(e).phoneFrm();
         f.Text[0]->setText(QStringLiteral("/w/new.wav"));
         f.Command1_Click();
       },
       [](Env& e) { return keying(e).phoneFrm().Text[0]->text() == u"/w/new.wav" ? "yes" : "no"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("wave2.txt"))).contains("/w/new.wav"); }},
      {"WK.txt (Done)", "WK.txt", "Unable to write file.",
       [](Env& e) {
         keying(e).winKeyer().ensureLoaded(e.state.FieldDayDir);
         keying(e).winKeyer().box.txtWeight = QStringLiteral("40");
         QString why;
         ASSERT_TRUE(keying(e).winKeyer().writeWkTxt(e.state.FieldDayDir, &why));
       },
       [](Env& e) {
         frmWinKey f(keying(e).winKeyer(), e.state.FieldDayDir);
         f.txtWeight->setText(QStringLiteral("60"));
         f.txtWeight->onLostFocus();
         f.cmdDone->click();
       },
       [](Env& e) { return keying(e).winKeyer().box.txtWeight == u"60" ? "yes" : "no"; },
       [](Env& e) { return readAll(e.file(QStringLiteral("WK.txt"))).contains("\"60\""); }},
  };
}

// What one attempt under one condition came to.
struct Outcome {
  QString told;  // the boxes' titles and any status text, "-" when nothing
  bool oldWhole = false;
  const char* kept = "n/a";
  bool savedAfter = false;
};

Outcome attempt(const Writer& wr, Way way, bool full) {
  Outcome out;
  Trap trap(way);
  EXPECT_TRUE(trap.ok());
  QTemporaryDir roomy;  // the program folder when the trap is the other backup folder
  {
    Env e(wr.trapOther ? roomy.path() : trap.path());
    if (wr.trapOther) e.other = trap.path();
    wr.prepare(e);
    const QString file = QDir(wr.trapOther ? trap.path() : e.state.ProgDir).filePath(QString::fromLatin1(wr.file));
    const QByteArray before = readAll(file);
    EXPECT_NE(before, "<missing>") << wr.name << ": no old file";
    e.fake.dialogs->clear();
    e.main.status.clear();
    if (full) trap.fullDisk();
    else trap.readOnly();
    wr.step(e);
    if (full) trap.spaceBack();
    else trap.writable();
    // The refused write left no temporary file behind.
    for (const QString& f : QDir(trap.path()).entryList(QDir::Files | QDir::Hidden))
      EXPECT_FALSE(f.contains(QLatin1String(".saving-"))) << "left: " << f.toStdString();
    QStringList told = e.fake.dialogs->titles();
    if (!e.main.status.trimmed().isEmpty())
      told << QStringLiteral("status \"%1\"").arg(QString(e.main.status)
                                                   .replace(trap.path(), QStringLiteral("<trap>"))
                                                   .replace(roomy.path(), QStringLiteral("<program folder>")));
    out.told = told.isEmpty() ? QStringLiteral("-") : told.join(QStringLiteral("; "));
    out.oldWhole = readAll(file) == before;
    out.kept = wr.kept(e);
    // Room again: the same step saves.
    e.fake.dialogs->clear();
    wr.step(e);
    out.savedAfter = wr.saved(e) && e.fake.dialogs->titles().filter(QStringLiteral("Unable")).isEmpty() &&
                     e.fake.dialogs->titles().filter(QStringLiteral("Not Saved")).isEmpty();
  }
  return out;
}

TEST(FullDiskAndReadOnlyFolder, EveryWriterTellsKeepsTheOldFileAndSavesOnceThereIsRoom) {
  QString why;
  Way way = Way::Limits;
  QString how;
  if (qgetenv("FD_DISK_WAY") != "limits" && mountsAllowed(&why)) {
    way = Way::Tmpfs;
    how = QStringLiteral("a 256 KB tmpfs in a mount namespace of its own: filled to the last page, then remounted "
                         "read-only");
  } else {
    how = QStringLiteral("a file-size limit of 1 byte (RLIMIT_FSIZE) for the full disk; a folder of mode 555 for "
                         "the read-only folder, written to as %1%2")
              .arg(::geteuid() == 0 ? QStringLiteral("the user nobody") : QStringLiteral("this user"))
              .arg(why.isEmpty() ? QString() : QStringLiteral(" (mounting refused: %1)").arg(why));
  }
  std::printf("ran with %s\n", qPrintable(how));
  std::printf("%-26s | %-58s | %-5s | %-6s | %-5s || %-58s | %-5s | %-6s | %-5s\n", "writer",
              "full disk: told", "old", "kept", "saves", "read-only folder: told", "old", "kept", "saves");
  std::printf("(told: the boxes shown and the status line; old: the old file after the failure; kept: the typed "
              "values after it; saves: the same process, the same step, once there is room or the folder is "
              "writable)\n");
  for (const Writer& wr : writers()) {
    SCOPED_TRACE(wr.name);
    const Outcome full = attempt(wr, way, true);
    const Outcome ro = attempt(wr, way, false);
    auto yn = [](bool b) { return b ? "whole" : "LOST"; };
    std::printf("%-26s | %-58s | %-5s | %-6s | %-5s || %-58s | %-5s | %-6s | %-5s\n", wr.name, qPrintable(full.told),
                yn(full.oldWhole), full.kept, full.savedAfter ? "yes" : "NO", qPrintable(ro.told), yn(ro.oldWhole),
                ro.kept, ro.savedAfter ? "yes" : "NO");
    for (const Outcome* o : {&full, &ro}) {
      EXPECT_TRUE(o->told.contains(QLatin1String(wr.tells))) << "the failure was not told: " << o->told.toStdString();
      EXPECT_TRUE(o->oldWhole);
      EXPECT_STRNE(o->kept, "no");
      EXPECT_TRUE(o->savedAfter);
    }
  }
}

}  // namespace
}  // namespace fd
