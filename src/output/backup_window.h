#pragma once
// frmBackup, "Backup Options": the backup choices and the one-minute timer
// that runs the backups. Loaded hidden at start and kept for the whole run;
// Done (and the close box, and Esc) only hides it, so the timer never depends
// on whether the window is shown.
#include <QCheckBox>
#include <QDialog>
#include <QTimer>

#include "core/mainwindow.h"
#include "core/scaling.h"
#include "core/state.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QPushButton;

namespace fd {

class frmBackup : public QDialog {
  Q_OBJECT
 public:
  frmBackup(ProgramState& state, MainWindow& main, QWidget* parent = nullptr);

  TwipLayout layout;
  PathLabel *Label1 = nullptr, *Label2 = nullptr;  // the program folder's path inside
  ClickLabel *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr;
  QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr;
  KeyBox* Text1 = nullptr;
  QPushButton* Command1 = nullptr;
  QTimer Timer1;
  QString BackupYearFolder;

  void Form_Load();
  void Command1_Click();
  void Timer1_Timer();
  bool Backup();
  void PermanentBackup();
  void OtherLocationBackup();

  // What a typed or pasted character becomes in the folder box (0: dropped).
  static int folderChar(int keyAscii);

 private:
  void failed(const QString& where);
  ProgramState& s_;
  MainWindow& main_;
};

}  // namespace fd
