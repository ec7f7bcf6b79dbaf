// The save step: checks, the UTC stamp, the record in memory and in
// fdlog.dat, totals, score, worked mark, list and rates. The totals and the
// worked marks are counted by the log book, as the loader counts them.
#include "core/bands.h"
#include "log/datetime.h"
#include "log/form1.h"
#include "log/keyrules.h"
#include "log/logfile.h"
#include "platform/platform.h"
#include "platform/wait.h"

namespace fd {
namespace {
constexpr ColorValue kButtonFace = -1;

// Pending paints and timers run; typing waits until the step is done, so no
// second Enter can act on a contact that is half saved.
void letEventsRun() { runPendingEvents(); }

// The radio's last frequency outlives a silent radio or a lost port; after a
// band changed by hand it would give the contact a frequency of another band.
// It goes with a band of the twelve only when it lies in that band; SAT and
// a band without a range keep it as it came.
QString frequencyOnBand(const QString& band, const QString& mhz) {
  if (mhz.isEmpty() || !bandHasRange(band)) return mhz;
  bool ok = false;
  const float f = mhz.toFloat(&ok);  // QString's conversion is the C locale's
  return ok && bandOfFrequency(f) == band ? mhz : QString();
}
}  // namespace

void Form1::Mains() {
  if (programMovesCursor) {  // from inside a running save step: the outer one enters the final field
    saveStepBody();
    return;
  }
  QWidget* const startField = focusWidget();
  programMovesCursor = true;
  saveStepBody();
  programMovesCursor = false;
  QWidget* const endField = focusWidget();
  if (endField == startField) return;
  if (endField == txtCall) txtCall_GotFocus();
  else if (endField == txtCK) txtCK_GotFocus();
  else if (endField == txtSec) txtSec_GotFocus();
  else if (endField == txtPostConTime) txtPostConTime_GotFocus();
  else if (endField == txtPostConDate) txtPostConDate_GotFocus();
}

void Form1::saveStepBody() {
  if (postContestMode()) {
    const auto date = datetime::parseDate(txtPostConDate->text());
    if (!date) {
      setStatus(QStringLiteral("Invalid date format!"));
      dialogs().beep();
      return;
    }
    txtPostConDate->setText(datetime::formatDate(*date));
    txtPostConTime->setText(keyrules::colonTime(txtPostConTime->text()));
    const auto time = datetime::parseTime(txtPostConTime->text());
    if (!time) {
      setStatus(QStringLiteral("Invalid time format!"));
      dialogs().beep();
      return;
    }
    txtPostConTime->setText(datetime::formatTime(*time));
  }

  frmcmp();
  CheckSection();
  dupcheck();

  if (s.MissingFlag == 0 && s.DupeFlag == 0 && s.BadSecFlag == 1) {
    dialogs().beep();
    const Answer a = dialogs().message(QStringLiteral("Invalid section!"),
                                       txtSec->text() + QStringLiteral(" is not a valid section.  Do you want to edit the section?"),
                                       Buttons::YesNo, Answer::Yes);  // Esc edits the section, saves nothing
    if (a == Answer::No)
      s.BadSecFlag = 0;
    else
      txtSec->setFocus(Qt::OtherFocusReason);
  }

  if (s.MissingFlag == 0 && s.DupeFlag == 0 && s.BadSecFlag == 0) {
    QsoRecord r;
    r.Call = txtCall->text();
    r.Class = txtCK->text();
    r.Section = txtSec->text();
    if (postContestMode()) {
      r.Date = txtPostConDate->text();
      r.Time = txtPostConTime->text();
    } else {
      const QDateTime utc = datetime::utcFromLocal(clock(), s.UTCOffset);
      r.Date = datetime::formatDate(utc.date());
      r.Time = datetime::formatTime(utc.time());
    }
    r.Band = s.CurBand;
    r.Mode = s.CurMode;
    r.Initials = s.OpInitials;
    r.Freq = s.CurFreq;
    logfile::cleanRecord(r);  // whatever wrote the boxes, the line keeps its fields apart
    r.Freq = frequencyOnBand(r.Band, r.Freq);

    // A contact that cannot be stored is taken back whole and the entry kept
    // for another try: nothing in memory may claim what the file lacks.
    if (s.Log.full()) {
      dialogs().beep();
      dialogs().message(QStringLiteral("Contact Not Saved"),
                        QStringLiteral("The log already holds %1 contacts, the most it can hold. This contact was not saved.")
                            .arg(QsoLog::kMaxRecords),
                        Buttons::Ok);
      return;
    }
    const FileResult written = book.appendRecord(r);
    if (!written.ok) {
      dialogs().beep();
      dialogs().message(QStringLiteral("Contact Not Saved"),
                        QStringLiteral("The contact could not be written to %1: %2\r\n\r\nIt was not logged; the entry is kept "
                                       "so that you can press Enter again.")
                            .arg(book.path(), written.error),
                        Buttons::Ok);
      return;
    }

    setStatus(QString(), kStatusNormal);
    FillList();
    letEventsRun();
    book.countRecord(r);  // the loader's own counting: per-mode totals and the worked mark
    letEventsRun();
    showTotals(s.CWCount, s.DigCount, s.PhCount, s.score());
    setStatus(QStringLiteral(" "));
  }

  if (s.BadSecFlag == 0 && s.MissingFlag == 0) {
    txtCall->clear();
    txtCK->clear();
    txtSec->clear();
    txtCall->setFocus(Qt::OtherFocusReason);
    letEventsRun();
  }

  lblDupe->setBackColor(kButtonFace);
  lblDupe->setText(QString());
  TimeStats();
  s.CurFreq.clear();
}

void Form1::frmcmp() {
  s.MissingFlag = 0;
  auto missing = [this](const QString& message, KeyBox* field) {
    setStatus(message);
    s.MissingFlag = 1;
    field->setFocus(Qt::OtherFocusReason);
    dialogs().beep();
  };
  if (txtSec->text().isEmpty()) missing(QStringLiteral("Need Section!"), txtSec);
  if (txtCK->text().isEmpty()) missing(QStringLiteral("Need Class!"), txtCK);
  if (txtCall->text().size() < 3) missing(QStringLiteral("Need Call Sign!"), txtCall);
}

void Form1::CheckSection() {
  s.BadSecFlag = 0;
  const QString sec = txtSec->text();
  if (sec == QLatin1String("DX")) return;
  const int row = sectionRow(sec);
  if (row < 1 || row > s.SecTotal) {
    s.BadSecFlag = 1;
    setStatus(QStringLiteral("Invalid Section"));
  }
}

}  // namespace fd
