// BandMapSpots: every accepted spot ends here; the own-call alert, the spot
// store, the band maps and a new top row of the spot list.
#include <QTreeWidget>

#include "platform/numtext.h"
#include "platform/platform.h"
#include "platform/widgets.h"
#include "spots/spotline.h"
#include "spots/spectrummap.h"
#include "spots/spotservice.h"

namespace fd {

namespace {
constexpr ColorValue kWhite = rgbValue(255, 255, 255);
}

void SpotService::BandMapSpots(QString call, QString freq, QString record) {
  SpotView* view = main ? main->spotView() : nullptr;
  // An empty call is never the own call (an empty MyCall would match it).
  if (!call.isEmpty() && call == s.MyCall) {
    dialogs().beep();
    if (main) main->setStatus(QStringLiteral("You've been spotted! "), kWhite);
    if (view) view->setDupeLine(QStringLiteral("You've been spotted!  ") + record, kWhite);
  }
  const std::optional<double> accepted = spotline::acceptedMhz(freq, call);
  if (!accepted) return;
  const double mhz = *accepted;
  const qsizetype cr = record.indexOf(u'\r');
  if (cr >= 0) record.truncate(cr);
  store.add(call, mhz, clock().localNow());
  redrawMaps();

  QTreeWidget* list = view ? view->spotList() : nullptr;
  if (!list) return;
  using spotline::column;
  using spotline::trimBlanks;
  while (list->topLevelItemCount() > kMaxListRows - 1) delete list->takeTopLevelItem(list->topLevelItemCount() - 1);
  auto* row = new TextItem;
  row->setText(0, call);
  row->setText(1, numtext::fromDouble(mhz));
  row->setText(2, QString());
  row->setText(3, QString());
  row->setText(4, trimBlanks(column(record, 1, 11)) + QStringLiteral("  ") + trimBlanks(column(record, 35, 25)));
  row->setText(5, trimBlanks(column(record, 62, 5)));
  row->setText(6, column(record, 68, 4));
  row->setText(7, trimBlanks(column(record, 73, 4)));
  list->insertTopLevelItem(0, row);
}

void SpotService::redrawMaps() {
  if (burstDepth_ > 0) {
    redrawPending_ = true;
    return;
  }
  if (bandMapVisible()) displayBandMapLabels();
  if (SpectrumMap* m = spectrumMap(); m && m->isVisible()) m->BandMapLabelDisplay();
}

void SpotService::beginBurst() { ++burstDepth_; }

void SpotService::endBurst() {
  if (burstDepth_ > 0) --burstDepth_;
  if (burstDepth_ == 0 && redrawPending_) {
    redrawPending_ = false;
    redrawMaps();
  }
}

}  // namespace fd
