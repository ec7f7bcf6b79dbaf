#include "output/backup_window.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QPushButton>

#include "core/windowrules.h"
#include "output/backup.h"
#include "platform/cp1252.h"
#include "platform/platform.h"

namespace fd {

frmBackup::frmBackup(ProgramState& state, MainWindow& main, QWidget* parent)
    : QDialog(parent), s_(state), main_(main) {
  setWindowTitle(QStringLiteral("Backup Options"));
  applyWindowRule(this, "frmBackup", [this] { Command1_Click(); });
  layout.width = 5340;
  layout.height = 6000;
  const QString sans = QStringLiteral("MS Sans Serif");
  auto place = [&](ClickLabel* lb, const QString& text, double l, double t, double w, double h) {
    lb->setText(text);
    lb->setWordWrap(true);
    lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lb->setFont(designFont(sans, 8.25));
    layout.add(lb, ControlKind::Label, l, t, w, h, 8.25);
    return lb;
  };
  auto label = [&](const QString& text, double l, double t, double w, double h) {
    return place(new ClickLabel(this), text, l, t, w, h);
  };
  auto check = [&](double t) {
    auto* c = new QCheckBox(this);
    layout.add(c, ControlKind::CheckBox, 120, t, 255, 255, 8.25);
    return c;
  };

  Label4 = label(QStringLiteral("The following backup routines are performed if your record count has increased since "
                                "the previous backup was written:"),
                 120, 120, 5100, 435);
  Check1 = check(720);
  Label1 = new PathLabel(this);
  place(Label1, QString(), 480, 720, 4740, 615);
  Check2 = check(1440);
  Label2 = new PathLabel(this);
  place(Label2, QString(), 480, 1440, 4740, 615);
  Check3 = check(2160);
  Label3 = label(QStringLiteral("Write a backup copy of your log file to a floppy or other location as specified below "
                                "every 15 minutes (this may cause a momentary lag with large data files)."),
                 480, 2160, 4740, 855);
  Text1 = new KeyBox(this);
  Text1->setFont(designFont(sans, 8.25));
  Text1->charFilter = [](int code) { return folderChar(code); };
  Text1->onKeyPress = [](int& k) { k = folderChar(k); };
  layout.add(Text1, ControlKind::TextBox, 480, 3120, 4740, 315, 8.25);
  Label5 = label(QStringLiteral("To restore from backup, click File, Combine or Restore from Backup from the menu "
                                "options on the main form."),
                 120, 3600, 5100, 435);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  TwipControl& lc = layout.add(line, ControlKind::Line, 120, 4140, 5100, 0);
  lc.x1 = 120, lc.y1 = 4140, lc.x2 = 5220, lc.y2 = 4140;
  Label6 = label(QStringLiteral("In addition to the backup options described above, your primary log file is updated "
                                "each time that you enter a contact.  The data saved in your primary log is always "
                                "current and up to date.  If for some reason you have to reboot your system, you "
                                "should be able to simply open this program, and your data should appear."),
                 120, 4260, 5100, 1095);
  Command1 = new QPushButton(QStringLiteral("Done"), this);
  Command1->setFont(designFont(sans, 8.25));
  Command1->setAutoDefault(false);
  layout.add(Command1, ControlKind::Button, 2040, 5460, 1260, 375, 8.25);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  setTabOrder(Check1, Check2);
  setTabOrder(Check2, Check3);
  setTabOrder(Check3, Text1);
  setTabOrder(Text1, Command1);

  Timer1.setInterval(60000);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  Form_Load();
}

// Reports nothing: a yearly folder that cannot be made shows when a copy fails.
void frmBackup::Form_Load() {
  // The paths first: the layout makes a caption's font smaller until it fits.
  BackupYearFolder = backup::yearFolderName(clock().localNow().date());
  Label1->setPath(QStringLiteral("Make a backup copy of your log file every 15 minutes saved in "), s_.ProgDir,
                  QStringLiteral(" (always enabled)."));
  Label2->setPath(QStringLiteral("Write a permanent backup of your log file every 15 minutes in "),
                  s_.ProgDir + u'/' + BackupYearFolder, QStringLiteral("."));
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  Check1->setChecked(true);
  Check1->setEnabled(false);
  Check2->setChecked(s_.BackupPermanent == 1);
  Check3->setChecked(s_.BackupOther == 1);
  Text1->setText(s_.BackupOtherDir);
  // By its exact name: a "bak2024" does not stand in for it on a case-sensitive file system.
  if (!s_.ProgDir.isEmpty()) QDir(s_.ProgDir).mkdir(BackupYearFolder);
  Timer1.start();
}

// The folder stands between double quotes in fdpref.dat: no quote, and only
// characters our 8-bit table holds.
int frmBackup::folderChar(int keyAscii) {
  if (keyAscii == 34) return 0;
  if (keyAscii > 0xFFFF || !cp1252::canEncode(QChar(static_cast<char16_t>(keyAscii)))) return 0;
  return keyAscii;
}

void frmBackup::Command1_Click() {
  s_.BackupPermanent = Check2->isChecked() ? 1 : 0;
  s_.BackupOther = Check3->isChecked() ? 1 : 0;
  s_.BackupOtherDir = Text1->text();
  hide();
  main_.SavePref();
}

void frmBackup::failed(const QString& where) {
  dialogs().beep();
  main_.setStatus(QStringLiteral("Unable to write backup to ") + where);
}

// The writes take milliseconds even for a full log (see the benchmarks), so
// the tick runs straight through without letting other events in between.
void frmBackup::Timer1_Timer() {
  if (!backup::checkDue(s_)) return;
  if (!Backup()) return;  // the counter stays: the next check tries again
  s_.LastBackupCount = static_cast<float>(s_.QsoCount());
  if (Check2->isChecked()) PermanentBackup();
  if (Check3->isChecked()) OtherLocationBackup();
}

bool frmBackup::Backup() {
  if (backup::writeBackup(s_).ok) return true;
  failed(s_.ProgDir);
  return false;
}

void frmBackup::PermanentBackup() {
  const QString folder = QDir(s_.ProgDir).filePath(BackupYearFolder);
  const QString to = folder + u'/' + backup::permanentName(clock().localNow());
  if (!QFileInfo(folder).isDir() || !copyWholeFile(backup::backupPath(s_), to).ok) failed(folder);
}

void frmBackup::OtherLocationBackup() {
  const QString to = backup::otherDestination(s_, Text1->text());
  if (to.isEmpty() || !copyWholeFile(backup::backupPath(s_), to).ok) failed(Text1->text());
}

}  // namespace fd
