// The main window's load step, activation and closing, and the station setup
// with the UTC offset check.
#include <QAction>
#include <QDir>
#include <cmath>

#include "core/prefs.h"
#include "log/form1.h"
#include "log/frmstationid.h"
#include "platform/forms.h"
#include "platform/items.h"
#include "platform/platform.h"

namespace fd {

// Every step stands on its own: a missing or short fdpref.dat, or a missing
// settings file of another subsystem, leaves its defaults and the load goes
// on, so the station setup always shows, the log is always loaded (a later
// rewrite must never find it empty) and every subsystem gets started.
void Form1::Form_Load() {
  // The start-up step names the program folder; every file of the program's
  // own is opened by its full path there, whatever folder is current.
  if (s.ProgDir.isEmpty()) s.ProgDir = QDir::currentPath();
  s.ProgDrive = s.ProgDir.left(1);
  s.FormSizePct = 100;
  ScaleToScreen();
  SetStartStatus();
  AddListColumns();
  FillSectionGrid();
  SetStartDefaults();

  prefs::read(s.progFile(QStringLiteral("fdpref.dat")), s);
  // A stored offset that is no sensible number would stamp every contact wrong.
  if (!prefs::validOffset(static_cast<double>(s.UTCOffset))) s.UTCOffset = 0;
  CheckUtcOffset();
  if (s.ListPrevOn == 1)
    if (QAction* a = menuItem(QStringLiteral("mnuListPrevious"))) a->setChecked(true);
  FitFormToScreen();
  if (s.FormSizePct < 100) ScaleFormControls();
  ShowBandAndMode();

  ApplyStationID();
  book.mnuopen2();
  ShowStationIdentity();

  sv.keying->loadWaveSettings();
  sv.keying->loadCWSettings();
  if (s.RigType != QLatin1String("None")) sv.rig->startRadioLink();
  sv.output->loadBackupWindow();

  txtCall->setFocus(Qt::OtherFocusReason);
}

void Form1::Form_Activate() { sv.spots->refreshBandMap(); }

bool Form1::Form_QueryUnload() {
  s.CWBuffer.clear();
  return s.CWSending == 1;
}

void Form1::Form_Unload() {
  // Each side window closes its own ports and links as it unloads.
  sv.keying->unload(SideWindow::PhoneFrm);
  sv.keying->unload(SideWindow::CWFrm);
  sv.keying->unload(SideWindow::BlindFrm);
  sv.rig->unload(SideWindow::RigControlfrm);
  sv.spots->unload(SideWindow::PacketSpotfrm);
  sv.spots->unload(SideWindow::SpectrumMap);
  sv.output->unload(SideWindow::SectionMap);
  sv.output->unload(SideWindow::frmBackup);
  sv.keying->unload(SideWindow::frmCWStrings);
  sv.keying->unload(SideWindow::frmDigitalSource);
  sv.keying->unload(SideWindow::frmWinKey);
}

void Form1::Form_Terminate() {
  if (terminated_) return;
  terminated_ = true;
  SavePref();
}

void Form1::showStationWindow() {
  auto window = std::make_unique<frmStationID>(s, this);
  if (!isVisible()) show();  // the main window stands behind the station window
  showModal(window.get());
  s.MyCall = window->Text1->text();
  s.MyClass = window->Text3->text();
  s.MySection = window->Text5->text();
  if (const auto offset = readOffset(window->Text6->text())) s.UTCOffset = *offset;
  s.OpInitials = window->Text4->text();
  Label1->setText(s.MyClass);
  Label2->setText(s.MyCall);
  Label4->setText(s.MySection);
  window.reset();
  SavePref();
}

void Form1::ApplyStationID() {
  showStationWindow();
  book.mnuopen2();
}

void Form1::mnuSetup_Click() { showStationWindow(); }

void Form1::CheckUtcOffset() {
  const float before = s.UTCOffset;
  // Local time and UTC from one instant, so a minute cannot turn between them.
  const auto [local, utc] = clock().localAndUtcNow();
  auto wholeMinute = [](const QDateTime& t) {
    return plainDateTime(t.date(), QTime(t.time().hour(), t.time().minute()));
  };
  const qint64 minutes = wholeMinute(local).secsTo(wholeMinute(utc)) / 60;
  const float recommended = static_cast<float>(std::round(static_cast<double>(minutes) / 60.0 * 100.0) / 100.0);
  if (s.UTCOffset == recommended) return;

  const QString recommendedText = items::number(static_cast<double>(recommended));
  const QString crlf2 = QStringLiteral("\r\n\r\n");
  const QString prompt =
      QStringLiteral("Would you like to adjust the UTC offset in this program for your local time setting?") + crlf2 +
      QStringLiteral("Current System Time: ") + utc.toString(QStringLiteral("HH:mm")) + crlf2 +
      QStringLiteral("Current Local Time: ") + local.toString(QStringLiteral("HH:mm")) + crlf2 +
      QStringLiteral("Recommended Offset Setting: ") + recommendedText + crlf2 +
      QStringLiteral("Current Offset Setting: ") + items::number(static_cast<double>(before)) + crlf2 +
      QStringLiteral("Please click OK to accept the recommended change or Cancel to keep the current setting.");
  const QString answer =
      dialogs().input(QStringLiteral("Update the Local Time / UTC Offset?"), prompt, recommendedText);
  // Cancel, letters or an offset beyond a day keep the stored value.
  const auto offset = readOffset(answer);
  if (!offset) return;
  s.UTCOffset = *offset;
  if (!prefs::SavePref(s)) s.UTCOffset = before;
}

}  // namespace fd
