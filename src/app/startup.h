#pragma once
// Start-up: the program folder, the logo window, the documents folders
// ("Varik Software" with "Field Day" and "Shared" beneath it), the shared
// preferences, then the main window.
#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "core/services.h"
#include "core/state.h"

namespace fd {

class ClickLabel;
class Form1;

// Creates the folder when no entry of that name is present (a file of that
// name counts as present). Its parent must exist. With showErrors 1 a failure
// is reported in a message box; with 0 it stays silent.
void MakeDirectory(const QString& path, std::uint8_t showErrors);

// Finds the user's documents folder (profile "My Documents", which is
// "Documents" here; failing that the profile and APPDATA folders), makes sure
// company and company/sub exist beneath it, and sets baseFolder to the
// documents folder's company folder. company and sub carry a leading "\".
void GetDocumentsFolder(QString& baseFolder, const QString& company, const QString& sub);

// The logo window shown while the program starts: the built-in logo, with
// the banner after 1.1 s, closing after 1.9 s; or the user's "splash.jpg"
// from the Shared folder for 2.7 s. A click closes it at once.
class frmVarikLogo : public QDialog {
  Q_OBJECT
 public:
  explicit frmVarikLogo(QWidget* parent = nullptr);

  ClickLabel* Image1 = nullptr;
  ClickLabel* Image2 = nullptr;
  QTimer Timer1;
  QTimer Timer2;
  bool showsUserPicture() const { return userPicture_; }

  void Image1_Click();
  void Timer1_Timer();
  void Timer2_Timer();

 private:
  void Form_Load();
  bool userPicture_ = false;
};

// Whether the window system the program would start on can be reached:
// platform is QT_QPA_PLATFORM (empty: the default, which needs an X or a
// Wayland display; a list "a;b" is tried in order), display and wayland
// whether DISPLAY and WAYLAND_DISPLAY are set. Without one Qt would abort
// with its own lines about its plugin.
bool displayReachable(const QString& platform, bool display, bool wayland);

// The start-up sequence: records the program folder, shows the logo window,
// finds the documents folders, removes the temporary files that writes cut
// short left there, reads the shared preferences, returns to the
// program folder and opens the main window, whose load step runs at once.
std::unique_ptr<Form1> frmSplash_Load(ProgramState& s, Services& sv);

}  // namespace fd
