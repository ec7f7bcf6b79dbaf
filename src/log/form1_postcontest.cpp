// Post-contest entry: contacts from paper logs with a typed date and time.
#include <QAction>

#include "log/datetime.h"
#include "log/form1.h"
#include "log/keyrules.h"
#include "platform/platform.h"

namespace fd {

// The mode is the fields' visibility; the menu check only shows it (a
// checkable action may already have flipped its mark when it reports the click).
bool Form1::postContestMode() const { return !txtPostConTime->isHidden(); }

void Form1::mnuPostContest_Click() {
  const bool on = !postContestMode();
  for (QWidget* w : std::initializer_list<QWidget*>{lblPostConTime, txtPostConTime, lblPostConDate, txtPostConDate})
    w->setVisible(on);
  if (QAction* a = menuItem(QStringLiteral("mnuPostContest"))) a->setChecked(on);
}

void Form1::txtPostConDate_GotFocus() {
  if (!txtPostConDate->text().isEmpty()) return;
  txtPostConDate->setText(datetime::formatDate(clock().localNow().date()));
  txtPostConDate->selectAllText();
}

void Form1::txtPostConTime_GotFocus() { txtPostConTime->selectAllText(); }

// Both fields: Space moves on, Enter saves, then the field's own character rule.
void Form1::postContestKey(int& keyAscii, int (*allowed)(int)) {
  if (keyAscii == 32) {
    keyAscii = 0;
    sendTab();
  }
  if (keyAscii == 13) {
    keyAscii = 0;
    Mains();
  }
  keyAscii = allowed(keyAscii);
}

void Form1::txtPostConDate_KeyPress(int& keyAscii) { postContestKey(keyAscii, keyrules::dateKey); }
void Form1::txtPostConTime_KeyPress(int& keyAscii) { postContestKey(keyAscii, keyrules::timeKey); }

}  // namespace fd
