#include "spots/spectrummap.h"

#include <QApplication>
#include <QFrame>

#include "core/windowrules.h"
#include "platform/platform.h"
#include "rig/tuner.h"

namespace fd {

SpectrumMap::SpectrumMap(SpotStore& store, ProgramState& state, MainWindow* main, QWidget* parent)
    : QDialog(parent), store_(store), s_(state), main_(main) {
  setWindowTitle(QStringLiteral(" HF Spectrum Map"));
  applyWindowRule(this, "SpectrumMap");
  setStyleSheet(QStringLiteral("QDialog { background: black; }"));
  layout.width = 9600;
  layout.height = 7200;
  const QFont serif = designFont(QStringLiteral("MS Serif"), 6.75);
  for (int b = 0; b < kSpectrumBands; ++b) {
    auto* strip = new ClickLabel(this);
    strip->setBackColor(kNavy);
    layout.add(strip, ControlKind::Label, 120, 120 + 600.0 * b, 9255, 495);
    lblHFSpots[static_cast<size_t>(b)] = strip;
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(QStringLiteral("color: white; background: white;"));
    TwipControl& c = layout.add(line, ControlKind::Line, 360, 360 + 600.0 * b, 8760, 0);
    c.x1 = 360, c.x2 = 9120, c.y1 = c.y2 = 360 + 600.0 * b;
    lineHF[static_cast<size_t>(b)] = line;
  }
  for (size_t k = 0; k < lblFreqSpot.size(); ++k) {
    auto* l = new ClickLabel(this);
    l->setFont(serif);
    l->setAlignment(Qt::AlignCenter);
    l->setForeColor(rgbValue(255, 255, 255));
    l->setBackColor(kNavy);
    layout.add(l, ControlKind::Label, 0, 0, 615, 180, 6.75).fitText = false;  // scale marks: data
    lblFreqSpot[k] = l;
  }
  for (size_t i = 0; i < lblDXSpot.size(); ++i) {
    auto* l = new ClickLabel(this);
    l->setText(QStringLiteral("DXLBL"));
    l->setFont(serif);
    l->setAlignment(Qt::AlignCenter);
    l->setBackColor(kNavy);
    l->hide();
    layout.add(l, ControlKind::Label, 0, 0, 600, 180, 6.75).fitText = false;  // spots: data
    const int index = static_cast<int>(i);
    l->onMouseDown = [this, index](int button) { lblDXSpot_MouseDown(index, button); };
    lblDXSpot[i] = l;
  }
  Form_Load();
}

void SpectrumMap::Form_Load() {
  // Design to the screen, then to its work area (ResizeSpectrumMap).
  const double sw = display().widthTwips(), sh = display().heightTwips();
  const double wx = sw / 9600.0, hy = sh / 7200.0;
  layout.width *= wx;
  layout.height *= hy;
  for (TwipControl& c : layout.controls) {
    if (c.kind == ControlKind::Line) {
      c.x1 *= wx, c.x2 *= wx, c.y1 *= hy, c.y2 *= hy;
      continue;
    }
    c.left *= wx, c.width *= wx, c.top *= hy, c.height *= hy;
    c.fontSize *= std::min(wx, 1.5);
  }
  lblDXSpot[SpotStore::kSlots - 1]->raise();
  SetSpectrumScale();
  for (ClickLabel* l : lblFreqSpot) l->show();
  ResizeSpectrumMap();
}

void SpectrumMap::ResizeSpectrumMap() {
  const double w0 = layout.width, h0 = layout.height;
  layout.width = display().workWidthTwips();
  layout.height = display().workHeightTwips();
  layout.left = layout.top = 0;
  const double rw = layout.width / w0, rh = layout.height / h0;
  for (TwipControl& c : layout.controls) {
    if (c.kind == ControlKind::Line) {
      c.x1 *= rw, c.x2 *= rw, c.y1 *= rh, c.y2 *= rh;
      continue;
    }
    c.left *= rw, c.width *= rw, c.top *= rh, c.height *= rh;
  }
  SetSpectrumScale();
  layout.apply(this, display().twipsPerPixel());
}

void SpectrumMap::SetSpectrumScale() {
  const auto captions = spectrumScale(store_);
  const double tpp = display().twipsPerPixel();
  for (int b = 0; b < kSpectrumBands; ++b) {
    const TwipControl* line = layout.find(lineHF[static_cast<size_t>(b)]);
    for (int k = 0; k < 5; ++k) {
      ClickLabel* l = lblFreqSpot[static_cast<size_t>(5 * b + k)];
      l->setText(captions[static_cast<size_t>(5 * b + k)]);
      TwipControl* c = layout.find(l);
      if (!line || !c) continue;
      c->top = line->y1 + 0.004 * layout.height;
      c->left = line->x1 + (line->x2 - line->x1) * 0.25 * k - c->width / 2;
      layout.applyControl(*c, tpp);
    }
  }
}

void SpectrumMap::BandMapLabelDisplay() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  for (ClickLabel* l : lblDXSpot) l->hide();
  SetSpectrumScale();
  const SpectrumLayout l = layoutSpectrum(store_, clock().localNow(), s_.UTCOffset);
  const double tpp = display().twipsPerPixel();
  for (int i = SpotStore::kSlots - 1; i >= 0; --i) {
    const SpectrumMark& m = l.marks[static_cast<size_t>(i)];
    ClickLabel* d = lblDXSpot[static_cast<size_t>(i)];
    if (!m.visible) continue;
    const TwipControl* line = layout.find(lineHF[static_cast<size_t>(m.band)]);
    TwipControl* c = layout.find(d);
    if (!line || !c) continue;
    d->setToolTip(m.tooltip);
    d->setText(m.caption);
    d->setForeColor(m.color);
    c->top = line->y1 - c->height;
    c->left = line->x1 + m.fraction * (line->x2 - line->x1) - c->width / 2;
    layout.applyControl(*c, tpp);
    d->show();
  }
  // Restored on every exit of the pass.
  QApplication::restoreOverrideCursor();
}

void SpectrumMap::lblDXSpot_MouseDown(int index, int button) {
  if (index < 0 || index >= SpotStore::kSlots) return;
  if (button != 2) {
    store_.remove(index);
    BandMapLabelDisplay();
    return;
  }
  // Copied first: spots that arrive while the radio is tuned shift the store.
  const float copy = store_.slot[static_cast<size_t>(index)].freq;
  const QString call = store_.slot[static_cast<size_t>(index)].call;
  tuner().ChangeFrequency(copy);
  if (main_) main_->setFieldText(MainWindow::Field::Call, call);
  hide();
  if (main_) main_->focusCall();
}

void SpectrumMap::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) BandMapLabelDisplay();
}

}  // namespace fd
