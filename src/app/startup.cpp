#include "app/startup.h"

#include <QDir>
#include <QFileInfo>

#include "core/ownfiles.h"
#include "core/pictures.h"
#include "core/scaling.h"
#include "core/sharedprefs.h"
#include "core/windowrules.h"
#include "log/form1.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "platform/forms.h"
#include "platform/platform.h"
#include "platform/widgets.h"

namespace fd {
namespace {

const QString kCompany = QStringLiteral("\\Varik Software");
const QString kFieldDay = QStringLiteral("\\Field Day");
const QString kShared = QStringLiteral("\\Shared");

// The logo window's size, in twips (a 400 x 240 pixel window at 96 dpi).
constexpr double kLogoWidth = 6000, kLogoHeight = 3600, kBannerHeight = 840;

// Why a folder could not be made, in the words the operator knows.
QString mkdirFailure(const QString& local) {
  const QFileInfo parent(QFileInfo(local).absolutePath());
  if (!parent.exists() || !parent.isDir()) return QStringLiteral("Path not found");
  if (!parent.isWritable()) return QStringLiteral("Permission denied");
  return QStringLiteral("Path/File access error");
}

void ensureFolder(const QString& path) {
  if (!folders::entryPresent(path)) MakeDirectory(path, 1);
}

}  // namespace

void MakeDirectory(const QString& path, std::uint8_t showErrors) {
  if (path.isEmpty()) {
    dialogs().message(QStringLiteral("Unable to Create Directory"), QStringLiteral("Invalid Path"), Buttons::Ok);
    return;
  }
  if (folders::entryPresent(path)) return;
  const QString local = folders::localPath(path);
  if (QDir().mkdir(local)) return;
  if (showErrors == 1)
    dialogs().message(QStringLiteral("Unable to create directory."), mkdirFailure(local) + QStringLiteral("  ") + local,
                      Buttons::Ok);
}

void GetDocumentsFolder(QString& baseFolder, const QString& company, const QString& sub) {
  // The profile folder is USERPROFILE, else the home folder: never empty here,
  // so there is no fixed "c:\My Documents" fallback on this system.
  const QString profile = folders::profileFolder();
  const QString docs = folders::localPath(profile + QStringLiteral("\\My Documents"));
  if (!folders::entryPresent(docs)) MakeDirectory(docs, 0);
  if (folders::entryPresent(docs)) {
    ensureFolder(docs + company);
    ensureFolder(docs + company + sub);
    baseFolder = folders::localPath(docs + company);
    return;
  }
  // No documents folder and none could be made: both the profile's and the
  // APPDATA folder's copies are made, and the APPDATA one is used.
  ensureFolder(profile + company);
  ensureFolder(profile + company + sub);
  baseFolder = folders::localPath(profile + company);
  const QString appData = folders::appDataFolder();
  ensureFolder(appData + company);
  ensureFolder(appData + company + sub);
  baseFolder = folders::localPath(appData + company);
}

bool displayReachable(const QString& platform, bool display, bool wayland) {
  if (platform.trimmed().isEmpty()) return display || wayland;
  for (const QString& entry : platform.split(u';', Qt::SkipEmptyParts)) {
    const QString name = entry.section(u':', 0, 0).trimmed();
    if (name == QLatin1String("xcb")) {
      if (display) return true;
    } else if (name.startsWith(QLatin1String("wayland"))) {
      if (wayland) return true;
    } else {
      return true;  // offscreen, vnc, a framebuffer...: nothing to reach, or Qt says what is wrong
    }
  }
  return false;
}

frmVarikLogo::frmVarikLogo(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setWindowTitle(QStringLiteral("Varik Software"));
  applyWindowRule(this, "frmVarikLogo");  // Esc closes it as a click does
  const double tpp = display().twipsPerPixel();
  const int w = static_cast<int>(kLogoWidth / tpp), h = static_cast<int>(kLogoHeight / tpp);
  const int bannerH = static_cast<int>(kBannerHeight / tpp);
  setFixedSize(w, h);

  Image1 = new ClickLabel(this);
  Image1->setGeometry(0, 0, w, h);
  Image1->setPixmap(builtInLogo(QSize(w, h)));
  Image1->onClick = [this] { Image1_Click(); };
  Image2 = new ClickLabel(this);
  Image2->setGeometry(0, h - bannerH, w, bannerH);
  Image2->setPixmap(builtInBanner(QSize(w, bannerH)));
  Image2->onClick = [this] { Image1_Click(); };  // it covers part of the logo
  Image2->hide();

  Timer1.setInterval(1900);
  Timer2.setInterval(1100);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(&Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });
  Timer1.start();
  Timer2.start();
  Form_Load();
}

void frmVarikLogo::Form_Load() {
  const double tpp = display().twipsPerPixel();
  const double sw = display().widthTwips(), sh = display().heightTwips();
  const double left = (sw - kLogoWidth) / 2, top = (sh - kLogoHeight) / 2 - 170;
  move(static_cast<int>(left / tpp), static_cast<int>(top / tpp));

  QString base;
  GetDocumentsFolder(base, kCompany, kShared);
  const QString path = folders::localPath(base + kShared) + QStringLiteral("/splash.jpg");
  const QFileInfo info(path);
  if (!info.isFile() || info.isHidden()) return;
  // A picture that cannot be read leaves the built-in logo and its timings.
  QPixmap picture;
  if (!picture.load(path) || picture.isNull()) return;
  Image1->setPixmap(picture.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setStyleSheet(QStringLiteral("background-color: black;"));
  userPicture_ = true;
  Timer1.stop();
  Timer1.setInterval(2700);
  Timer1.start();
  Timer2.stop();
}

void frmVarikLogo::Image1_Click() { Timer1_Timer(); }

void frmVarikLogo::Timer1_Timer() {
  Timer1.stop();
  Timer2.stop();
  close();
}

void frmVarikLogo::Timer2_Timer() {
  Timer2.stop();
  Image2->show();
}

std::unique_ptr<Form1> frmSplash_Load(ProgramState& s, Services& sv) {
  s.ProgDir = QDir::currentPath();
  s.ProgDrive = s.ProgDir.left(1);

  {
    frmVarikLogo logo;
    showModal(&logo);
  }

  // The start-up step has no window of its own to fit: it is never shown.
  QString base;
  GetDocumentsFolder(base, kCompany, kFieldDay);
  GetDocumentsFolder(base, kCompany, kShared);
  s.SharedDir = folders::localPath(base + kShared);
  s.FieldDayDir = folders::localPath(base + kFieldDay);
  // A kill inside a whole-file write leaves its temporary file behind.
  RemoveLeftoverTemporaries(s);

  ReadSharedPrefs(s, s.SharedDir + QStringLiteral("/SharedUserPreferences.xml"));

  auto form = std::make_unique<Form1>(s, sv);
  sv.attach(*form);
  form->Form_Load();
  if (!form->isVisible()) form->show();
  return form;
}

}  // namespace fd
