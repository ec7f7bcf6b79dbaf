// The backup window's place in the run: loaded hidden by the main window's
// load step, shown by "&Backup Options", unloaded when the program closes.
#include "output/backup_window.h"
#include "output/outputservice.h"
#include "platform/forms.h"

namespace fd {

void OutputService::loadBackupWindow() {
  if (!backupWindow && main) backupWindow = new frmBackup(s, *main, main->window());
}

void OutputService::showBackupOptions() {
  loadBackupWindow();
  if (!backupWindow) return;
  backupWindow->Check2->setFocus();  // the first control the operator can change
  showModal(backupWindow.data());
}

}  // namespace fd
