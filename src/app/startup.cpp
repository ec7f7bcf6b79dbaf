#include "app/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/scaling.h"
#include "app/sharedprefs.h"
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

namespace {

void paintSky(QPainter& p, const QRect& r) {
  QLinearGradient sky(0, r.top(), 0, r.bottom());
  sky.setColorAt(0, QColor(11, 30, 74));
  sky.setColorAt(1, QColor(31, 79, 143));
  p.fillRect(r, sky);
}

// A lattice tower with its signal going out on both sides, in the box given.
void paintTower(QPainter& p, const QRectF& box) {
  const double w = box.width(), h = box.height();
  const QPointF top(box.center().x(), box.top() + h * 0.18);
  const double base = box.top() + h * 0.9, half = w * 0.18;
  p.setPen(QPen(QColor(210, 215, 225), std::max(1.0, w / 80)));
  p.drawLine(top, QPointF(top.x() - half, base));
  p.drawLine(top, QPointF(top.x() + half, base));
  for (int i = 1; i <= 5; ++i) {
    const double y = top.y() + (base - top.y()) * i / 6.0;
    const double dx = half * (y - top.y()) / (base - top.y());
    p.drawLine(QPointF(top.x() - dx, y), QPointF(top.x() + dx, y));
  }
  p.setPen(QPen(QColor(255, 236, 140), std::max(1.0, w / 64)));
  const double step = std::min(w * 0.16, h * 0.08);
  for (int i = 1; i <= 3; ++i) {
    const double r = step * i;
    const QRectF arc(top.x() - r, top.y() - r, 2 * r, 2 * r);
    p.drawArc(arc, -40 * 16, 80 * 16);
    p.drawArc(arc, 140 * 16, 80 * 16);
  }
  p.setBrush(QColor(255, 80, 60));
  p.setPen(Qt::NoPen);
  p.drawEllipse(top, w / 36, w / 36);
}

}  // namespace

QPixmap builtInLogo(const QSize& size) {
  QPixmap pm(size);
  const double w = size.width(), h = size.height();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  paintSky(p, pm.rect());
  paintTower(p, QRectF(0, 0, w * 0.4, h));

  QFont big = designFont(QStringLiteral("Arial"), 10, true);
  big.setPixelSize(std::max(8, static_cast<int>(h * 0.24)));
  p.setFont(big);
  p.setPen(Qt::white);
  const QRectF textArea(w * 0.36, h * 0.12, w * 0.62, h * 0.4);
  p.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("VARIK"));
  QFont small = designFont(QStringLiteral("Arial"), 10, false);
  small.setPixelSize(std::max(6, static_cast<int>(h * 0.1)));
  small.setLetterSpacing(QFont::PercentageSpacing, 130);
  p.setFont(small);
  p.setPen(QColor(200, 210, 230));
  p.drawText(QRectF(w * 0.365, h * 0.54, w * 0.62, h * 0.16), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("SOFTWARE"));
  return pm;
}

QPixmap builtInTower(const QSize& size) {
  QPixmap pm(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  paintSky(p, pm.rect());
  paintTower(p, QRectF(pm.rect()));
  return pm;
}

QPixmap builtInBanner(const QSize& size) {
  QPixmap pm(size);
  const double w = size.width(), h = size.height();
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 0, h);
  band.setColorAt(0, QColor(255, 196, 60));
  band.setColorAt(1, QColor(224, 140, 20));
  p.fillRect(pm.rect(), band);
  QFont f = designFont(QStringLiteral("Arial"), 10, true);
  f.setPixelSize(std::max(6, static_cast<int>(h * 0.5)));
  p.setFont(f);
  p.setPen(QColor(40, 24, 0));
  p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, QStringLiteral("Field Day Log"));
  return pm;
}

frmVarikLogo::frmVarikLogo(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setWindowTitle(QStringLiteral("Varik Software"));
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

  ReadSharedPrefs(s, s.SharedDir + QStringLiteral("/SharedUserPreferences.xml"));
  QDir::setCurrent(s.ProgDir);

  auto form = std::make_unique<Form1>(s, sv);
  form->Form_Load();
  if (!form->isVisible()) form->show();
  return form;
}

}  // namespace fd
