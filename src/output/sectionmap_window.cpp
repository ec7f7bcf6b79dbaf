#include "output/sectionmap_window.h"

#include <QLabel>
#include <QPainter>
#include <memory>
#include <random>

#include "core/windowrules.h"
#include "output/outputservice.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace fd {

void MapPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.drawImage(0, 0, image);
}

SectionMap::SectionMap(const ProgramState& state, QWidget* parent) : QWidget(parent), s_(state) {
  setWindowTitle(QStringLiteral(" Section Map"));
  applyWindowRule(this, "SectionMap");
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(484, 455);

  Picture1 = new MapPicture(this);
  Picture1->setGeometry(0, 4, 483, 445);
  Label1 = new QLabel(QStringLiteral("Sections will change color when worked."), Picture1);
  Label1->setGeometry(368, 8, 105, 33);
  Label1->setWordWrap(true);
  // Created in index order, so where rectangles overlap the later label is on top.
  for (size_t k = 0; k < kMapLabels.size(); ++k) {
    auto* spot = new QWidget(Picture1);
    spot->setGeometry(kMapLabels[k].rect());
    lblCounty[k] = spot;
  }
  Timer1.setInterval(1);  // the first tick right after the window shows
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  Form_Load();
}

void SectionMap::Form_Load() {
  const double tpp = display().twipsPerPixel();
  move(static_cast<int>((display().widthTwips() / tpp - width()) / 2),
       static_cast<int>((display().heightTwips() / tpp - height()) / 2));
  Picture1->image = loadSectionMapPicture();
  for (size_t k = 0; k < kMapLabels.size(); ++k) lblCounty[k]->setToolTip(QString::fromLatin1(kMapLabels[k].section));
  if (s_.QsoCount() > 0) Label1->hide();
  auto engine = std::make_shared<std::mt19937>(static_cast<std::uint32_t>(clock().monotonicMs() ^ clock().utcNow().toSecsSinceEpoch()));
  random = [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
  Timer1.start();
}

void SectionMap::Timer1_Timer() {
  Timer1.setInterval(60000);
  paintWorkedSections(Picture1->image, s_, random);
  Picture1->update();
}

void OutputService::showSectionMap() {
  if (!sectionMap) sectionMap = new SectionMap(s, main ? main->window() : nullptr);
  showModeless(sectionMap);
}

void OutputService::unloadSectionMap() { delete sectionMap.data(); }

}  // namespace fd
