// Duplicate check on leaving the call field and in the save step, and the
// partial-call list under every key of the call field.
#include <QAction>

#include "log/dupecheck.h"
#include "log/form1.h"
#include "platform/platform.h"
#include "platform/wait.h"

namespace fd {
namespace {
constexpr ColorValue kButtonFace = -1;
constexpr int kPromptWaitMs = 10000;  // the "Dupe" prompt is short; a stuck player must not hold us longer
constexpr int kPromptPollMs = 20;
int promptSite;
}  // namespace

bool Form1::listPreviousChecked() const {
  if (QAction* a = menuItem(QStringLiteral("mnuListPrevious"))) return a->isChecked();
  return s.ListPrevOn == 1;
}

void Form1::dupcheck() {
  s.DupeFlag = 0;
  const bool listing = listPreviousChecked();
  if (listing) ListView1->clear();

  const dupecheck::Scan found = dupecheck::scan(s.Log, txtCall->text(), s.CurBand, s.CurMode);
  if (listing)
    for (int n : found.matches) addListRow(n, false);
  if (txtCK->text().isEmpty() && !found.fillClass.isEmpty()) {
    txtCK->setText(found.fillClass);
    txtCK->selectAllText();
  }
  if (txtSec->text().isEmpty() && !found.fillSection.isEmpty()) {
    txtSec->setText(found.fillSection);
    txtSec->selectAllText();
  }

  if (found.duplicate > 0) {
    setStatus(dupecheck::message(s.Log.rec(found.duplicate), found.duplicate), kStatusDupe);
    lblDupe->setBackColor(kButtonFace);
    lblDupe->setText(QString());
    dialogs().beep();
    // Flag first: nothing that runs during the prompt may take the entry.
    s.DupeFlag = 1;
    ++dupesFound;
    sv.keying->blindKeyPhone(QStringLiteral("Dupe"));
    if (s.VoiceNavMode != 0) {
      // The player needs the event loop to report its end; typing waits.
      waitUntil([this] { return !sv.keying->promptPlaying(); },
                {kPromptWaitMs, WaitInput::Hold, &promptSite, kPromptPollMs});
    }
    // The hold runs from the end of the prompt, so it keeps its full length.
    s.DupeTime = clock().monotonicMs();
  }

  if (s.DupeFlag == 1) {
    txtCall->clear();
    txtCK->clear();
    txtSec->clear();
    // Putting the cursor back is not the operator entering the field: the
    // earlier contacts just listed stay until the field is entered again.
    const bool outer = std::exchange(programMovesCursor, true);
    txtCall->setFocus(Qt::OtherFocusReason);
    programMovesCursor = outer;
  }
}

void Form1::PartialCheck(int& keyAscii) { partialCheckFor(txtCall->text(), keyAscii); }

void Form1::partialCheckFor(const QString& before, int keyAscii) {
  const bool keepStatus = std::exchange(keepStatusOnce, false);
  if (!keepStatus) lblDialog->setBackColor(kStatusNormal);
  lblDupe->setBackColor(kButtonFace);
  lblDupe->setText(QString());

  const QString partial = before + QChar(static_cast<char16_t>(keyAscii));
  const bool listable = dupecheck::buildsPartialList(keyAscii);
  QString list;
  if (s.PartialOn == 1 && listable) {
    list = dupecheck::partialList(s.Log, partial, s.CurBand, s.CurMode);
    if (!list.isEmpty()) lblDupe->setBackColor(kStatusNormal);
    lblDupe->setText(list);
  }
  if (keepStatus) return;  // the refusal just reported stays readable

  setStatus(before.size() >= 3 && !list.isEmpty() ? QStringLiteral("Possible Duplicate!") : QStringLiteral(" "));
  if (partial.size() == 3 && listable) {
    if (dupecheck::callFormOk(partial)) {
      setStatus(QStringLiteral(" "));
    } else {
      dialogs().beep();
      setStatus(QStringLiteral("The second or third character is not numeric!"));
    }
  }
}

void Form1::cmdDup_Click() {
  lblDupe->setBackColor(kButtonFace);
  if (s.PartialOn == 1) {
    s.PartialOn = 0;
    cmdDup->setText(QStringLiteral("Off"));
  } else {
    s.PartialOn = 1;
    cmdDup->setText(QStringLiteral("On"));
  }
  txtCall->setFocus(Qt::OtherFocusReason);
}

}  // namespace fd
