// The main window's spot area: the band map drawn from the spot store, the
// switching of the area between closed, band map and list (PacketResize),
// and the mouse on spots and rows.
#include <QEvent>
#include <QMouseEvent>
#include <QTreeWidget>
#include <functional>

#include "core/scaling.h"
#include "platform/platform.h"
#include "platform/widgets.h"
#include "rig/tuner.h"
#include "spots/bandmap.h"
#include "spots/spotline.h"
#include "spots/spotservice.h"

namespace fd {

namespace {

// Controls whose top and height the spot area squeezes and stretches.
bool squeezed(ControlKind k) {
  return k == ControlKind::Label || k == ControlKind::TextBox || k == ControlKind::ListBox ||
         k == ControlKind::Button || k == ControlKind::ListView;
}

struct BandMapControls {
  SpotView* v;
  TwipLayout& lay;
  TwipControl* line;
  TwipControl* area;
  TwipControl* list;
  explicit BandMapControls(SpotView* view)
      : v(view),
        lay(view->layoutTable()),
        line(lay.find(view->bandMapLine())),
        area(lay.find(view->bandMapArea())),
        list(lay.find(view->spotList())) {}
  bool ok() const { return line && area && list; }
  template <class F>
  void eachBandMapWidget(F f) {
    f(v->bandMapArea());
    f(v->bandMapLine());
    for (int i = 0; i < SpotStore::kSlots; ++i) f(v->spotLabel(i));
    for (int k = 0; k < 5; ++k) f(v->scaleLabel(k));
  }
};

// A click or double click on the spot list where there is no row counts as
// one on the list (a row's own go through the list's item signals).
class ListGapFilter : public QObject {
 public:
  ListGapFilter(QTreeWidget* list, std::function<void()> click, std::function<void()> doubleClick)
      : QObject(list), list_(list), click_(std::move(click)), doubleClick_(std::move(doubleClick)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::MouseButtonRelease && e->type() != QEvent::MouseButtonDblClick) return false;
    const auto* m = static_cast<QMouseEvent*>(e);
    if (m->button() != Qt::LeftButton || list_->itemAt(m->position().toPoint())) return false;
    if (e->type() == QEvent::MouseButtonRelease) click_();
    else doubleClick_();
    return false;
  }

 private:
  QTreeWidget* list_;
  std::function<void()> click_, doubleClick_;
};

}  // namespace

bool SpotService::bandMapVisible() const {
  SpotView* v = view();
  return v && !v->bandMapArea()->isHidden();
}

bool SpotService::spotListVisible() const {
  SpotView* v = view();
  return v && !v->spotList()->isHidden();
}

void SpotService::bandMapScale() {
  SpotView* v = view();
  if (!v) return;
  const auto captions = fd::bandMapScale(store, s.CurBand);
  for (int k = 0; k < 5; ++k) v->scaleLabel(k)->setText(captions[static_cast<size_t>(k)]);
}

void SpotService::displayBandMapLabels() {
  SpotView* v = view();
  if (!v || !bandMapVisible()) return;
  BandMapControls c(v);
  if (!c.ok()) return;
  for (int i = 0; i < SpotStore::kSlots; ++i) v->spotLabel(i)->hide();
  const BandMapLayout l = layoutBandMap(store, s.CurBand, clock().localNow(), s.UTCOffset);
  for (int k = 0; k < 5; ++k) v->scaleLabel(k)->setText(l.captions[static_cast<size_t>(k)]);
  const double tpp = display().twipsPerPixel();
  for (int i = SpotStore::kSlots - 1; i >= 0; --i) {
    const BandMapMark& m = l.marks[static_cast<size_t>(i)];
    if (!m.visible) continue;
    ClickLabel* label = v->spotLabel(i);
    TwipControl* tc = c.lay.find(label);
    if (!tc) continue;
    label->setText(m.caption);
    label->setToolTip(m.tooltip);
    label->setForeColor(m.color);
    tc->top = c.line->y1 - tc->height - 0.004 * c.lay.height;
    tc->left = m.fraction * (c.line->x2 - c.line->x1) - tc->width / 2 + c.line->x1;
    c.lay.applyControl(*tc, tpp);
    label->show();
  }
  // Oldest first, so where spots meet the newest label is drawn on top and
  // takes the click.
  for (int i = 0; i < SpotStore::kSlots; ++i)
    if (!v->spotLabel(i)->isHidden()) v->spotLabel(i)->raise();
}

void SpotService::refreshBandMap() {
  if (bandMapVisible()) displayBandMapLabels();
}

void SpotService::PacketResize(const QString& transport, bool optList) {
  SpotView* v = view();
  if (!v) return;
  BandMapControls c(v);
  if (!c.ok()) return;
  auto showBandMap = [&](bool on) { c.eachBandMapWidget([on](QWidget* w) { w->setVisible(on); }); };
  // 1. Switch the view.
  if (spotListVisible() && !optList) {
    v->spotList()->hide();
    showBandMap(true);
    // The labels with nothing to show hide again now, whether or not the
    // main window is activated afterwards.
    displayBandMapLabels();
  } else if (bandMapVisible() && optList) {
    v->spotList()->show();
    showBandMap(false);
  }
  const bool none = transport.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0;
  // 2. Open the area below the squeezed controls.
  if (!bandMapVisible() && !spotListVisible() && !none) {
    double bottom = 0;
    for (TwipControl& tc : c.lay.controls) {
      if (squeezed(tc.kind)) {
        tc.top *= 0.9;
        tc.height *= 0.9;
        bottom = std::max(bottom, tc.top + tc.height);
      } else if (tc.kind == ControlKind::Line) {
        tc.y1 *= 0.9;
        tc.y2 *= 0.9;
      }
    }
    // The window's real client area: under a window manager the area stays on screen.
    c.list->top = bottom;
    c.list->height = std::max(0.0, v->clientHeightTwips() - bottom);
    c.list->left = 0.01 * c.lay.width;
    c.list->width = 0.97 * c.lay.width;
    c.area->top = c.list->top;
    c.area->height = c.list->height;
    c.area->left = c.list->left;
    c.area->width = c.list->width;
    const TwipControl* first = c.lay.find(v->spotLabel(0));
    const double half = first ? first->width / 2 : 0;
    c.line->x1 = c.area->left + half;
    c.line->x2 = c.area->left + c.area->width - half;
    c.line->y1 = c.line->y2 = c.area->top + c.area->height / 2;
    bandMapScale();
    for (int k = 0; k < 5; ++k) {
      if (TwipControl* sc = c.lay.find(v->scaleLabel(k))) {
        sc->top = c.line->y1 + 0.004 * c.lay.height;
        sc->left = c.line->x1 + k * 0.25 * (c.line->x2 - c.line->x1) - sc->width / 2;
      }
    }
    v->applyLayout();
    if (optList) {
      v->spotList()->show();
      showBandMap(false);
    } else {
      v->spotList()->hide();
      v->bandMapArea()->show();
      v->bandMapLine()->show();
      for (int k = 0; k < 5; ++k) v->scaleLabel(k)->show();
      v->bandMapArea()->lower();
    }
    return;
  }
  // 3. Close it.
  if (none && (bandMapVisible() || spotListVisible())) {
    for (TwipControl& tc : c.lay.controls) {
      if (squeezed(tc.kind)) {
        tc.top *= 1.1111111;
        tc.height *= 1.1111111;
      } else if (tc.kind == ControlKind::Line) {
        tc.y1 *= 1.1111111;
        tc.y2 *= 1.1111111;
      }
    }
    v->spotList()->hide();
    c.list->top = 1000;
    c.area->top = 1000;
    c.line->y1 = c.line->y2 = 1000;
    showBandMap(false);
    for (int i = 0; i < SpotStore::kSlots; ++i)
      if (TwipControl* tc = c.lay.find(v->spotLabel(i))) tc->top = 1000;
    for (int k = 0; k < 5; ++k)
      if (TwipControl* tc = c.lay.find(v->scaleLabel(k))) tc->top = 1000;
    v->applyLayout();
  }
}

void SpotService::lblDXSpot_MouseDown(int index, int button) {
  if (index < 0 || index >= SpotStore::kSlots) return;
  if (button != 2) {
    store.remove(index);
    displayBandMapLabels();
    return;
  }
  // Copied first: spots that arrive while the radio is tuned shift the store.
  const float f = store.slot[static_cast<size_t>(index)].freq;
  const QString call = store.slot[static_cast<size_t>(index)].call;
  tuner().ChangeFrequency(f);
  if (!main) return;
  main->focusCall();
  main->setFieldText(MainWindow::Field::Call, call);
  if (SpotView* v = view()) v->tabFromCall();
}

void SpotService::lblDXSpot_MouseMove(int index) {
  SpotView* v = view();
  if (!v || index < 0 || index >= SpotStore::kSlots) return;
  v->setDupeLine(v->spotLabel(index)->toolTip(), v->dupeBack());
}

void SpotService::lblDX_Click() { showSpottingSetup(); }

void SpotService::txtDX_Click() {
  SpotView* v = view();
  if (!v || !main) return;
  main->focusCall();
  QTreeWidget* list = v->spotList();
  if (list->topLevelItemCount() == 0) return;
  QTreeWidgetItem* row = list->currentItem();
  if (!row) return;
  // Both texts first: a spot that arrives while the radio is tuned may take
  // the row away (the list keeps 200).
  const QString freq = row->text(1);
  const QString call = row->text(0);
  if (!spotline::isPlainDecimal(freq)) return;
  const float mhz = freq.toFloat();
  if (s.RigType != QLatin1String("None")) tuner().ChangeFrequency(mhz);
  main->focusCall();
  main->setFieldText(MainWindow::Field::Call, call);
}

void SpotService::wireSpotArea() {
  SpotView* v = view();
  if (!v) return;
  for (int i = 0; i < SpotStore::kSlots; ++i) {
    ClickLabel* l = v->spotLabel(i);
    l->onMouseDown = [this, i](int button) { lblDXSpot_MouseDown(i, button); };
    l->onMouseMove = [this, i] { lblDXSpot_MouseMove(i); };
  }
  // The area's click waits for a possible second press: the setup window it
  // shows would otherwise take that press from the double click.
  v->bandMapArea()->onClick = [this] { lblDX_Click(); };
  v->bandMapArea()->onDoubleClick = [this] { showSpectrumMap(); };
  QObject::connect(v->spotList(), &QTreeWidget::itemClicked, v->spotList(), [this] { txtDX_Click(); });
  QObject::connect(v->spotList(), &QTreeWidget::itemDoubleClicked, v->spotList(), [this] { showSpectrumMap(); });
  v->spotList()->viewport()->installEventFilter(
      new ListGapFilter(v->spotList(), [this] { txtDX_Click(); }, [this] { showSpectrumMap(); }));
}

}  // namespace fd
