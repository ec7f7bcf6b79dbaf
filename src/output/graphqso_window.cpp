#include "output/graphqso_window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <memory>

#include "core/windowrules.h"
#include "output/outputservice.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace fd {
namespace {

// The hourglass for a scope, restored on every way out.
struct BusyCursor {
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

constexpr double kFrameLeft = 480, kFrameRight = 9240, kFrameTop = 120, kFrameBottom = 5880;

}  // namespace

void LineControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QPen pen(color, 1, dotted ? Qt::DotLine : Qt::SolidLine);
  p.setPen(pen);
  if (width() >= height()) p.drawLine(0, 0, width() - 1, 0);
  else p.drawLine(0, 0, 0, height() - 1);
}

GraphQSO::GraphQSO(const QsoLog& log, QWidget* parent) : QDialog(parent), log_(log) {
  setWindowTitle(QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
  applyWindowRule(this, "GraphQSO");
  layout.width = 9465;
  layout.height = 6825;
  const QString arial = QStringLiteral("Arial");

  auto addLine = [&](double x1, double y1, double x2, double y2, bool dotted, bool visible) {
    auto* l = new LineControl(this);
    l->dotted = dotted;
    l->color = dotted ? QColor(128, 128, 128) : QColor(Qt::white);
    l->setVisible(visible);
    layout.add(l, ControlKind::Line, x1, y1, x2 - x1, y2 - y1);
    return l;
  };
  Line1 = addLine(kFrameLeft, kFrameTop, kFrameRight, kFrameTop, false, true);
  Line2 = addLine(kFrameLeft, kFrameBottom, kFrameRight, kFrameBottom, false, true);
  Line3 = addLine(kFrameRight, kFrameTop, kFrameRight, kFrameBottom, false, true);
  Line4 = addLine(kFrameLeft, kFrameTop, kFrameLeft, kFrameBottom, false, true);
  lines[0] = Line1, lines[1] = Line2, lines[2] = Line3, lines[3] = Line4;
  for (int i = 0; i < 15; ++i) lines[static_cast<size_t>(4 + i)] = addLine(500, 480 + 360 * i, kFrameRight, 480 + 360 * i, true, true);
  Line8 = addLine(kFrameLeft, 5900, kFrameRight, 5900, false, false);
  Line9 = addLine(kFrameLeft, 6000, kFrameRight, 6000, false, false);
  lines[19] = Line8, lines[20] = Line9;

  auto addLabel = [&](const QString& text, double l, double t, double w, Qt::Alignment align, const QColor& c) {
    auto* lab = new QLabel(text, this);
    lab->setFont(designFont(arial, 7.5));
    lab->setAlignment(align | Qt::AlignVCenter);
    setTextColor(lab, c);
    layout.add(lab, ControlKind::Label, l, t, w, 195, 7.5);
    return lab;
  };
  for (int k = 0; k <= 16; ++k)
    lblY[static_cast<size_t>(k)] = addLabel(QStringLiteral("0"), 0, 30 + (16 - k) * 360, 450, Qt::AlignRight, Qt::white);
  for (int k = 0; k < 15; ++k) {
    const double centre = kFrameLeft + k * (kFrameRight - kFrameLeft) / 14;
    lblTime[static_cast<size_t>(k)] = addLabel(QStringLiteral("00:00"), centre - 225, 6080, 450, Qt::AlignHCenter, Qt::white);
    lblDate[static_cast<size_t>(k)] = addLabel(QStringLiteral("MM/DD"), centre - 225, 6290, 450, Qt::AlignHCenter, Qt::white);
  }
  // The axes' values are the graph's data: their font stays the layout's.
  auto asData = [this](const auto& labels) {
    for (QLabel* l : labels) layout.find(l)->fitText = false;
  };
  asData(lblY);
  asData(lblTime);
  asData(lblDate);
  Label1 = addLabel(QStringLiteral("Band "), kFrameLeft, 6495, 600, Qt::AlignRight, Qt::white);
  for (int i = 0; i < 7; ++i) {
    const LegendEntry& e = kRateLegend[static_cast<size_t>(i)];
    lblBnd[static_cast<size_t>(i)] =
        addLabel(QString::fromLatin1(e.caption), 1140 + i * 600, 6495, 540, Qt::AlignLeft, QColor::fromRgb(e.color));
  }

  Command1 = new QPushButton(QStringLiteral("Black Background"), this);
  Command1->setFont(designFont(arial, 8.25));
  Command1->setAutoDefault(false);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  layout.add(Command1, ControlKind::Button, 7440, 6490, 1800, 330, 8.25);  // below the date row

  Form_Load();
}

void GraphQSO::setTextColor(QLabel* l, const QColor& c) {
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, c);
  l->setPalette(pal);
}

void GraphQSO::Form_Load() {
  ResizeForm(layout, display());
  layout.apply(this, display().twipsPerPixel());
  setFixedSize(size());
  DrawQSORateGraph();
}

void GraphQSO::DrawQSORateGraph() {
  surface_ = QPixmap(size());
  surface_.fill(background_);
  graph = computeRateGraph(log_, background_.rgb());
  if (graph.outcome == RateGraph::Outcome::TooFew) {
    update();
    dialogs().message(QStringLiteral("Not Enough Contacts to Graph."),
                      QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more "
                                     "meaningful as several hours of contest logging are accumulated."),
                      Buttons::Ok);
    return;
  }
  for (int k = 0; k < 15; ++k) {
    lblTime[static_cast<size_t>(k)]->setText(graph.timeLabel[static_cast<size_t>(k)]);
    lblDate[static_cast<size_t>(k)]->setText(graph.dateLabel[static_cast<size_t>(k)]);
  }
  if (graph.outcome != RateGraph::Outcome::Instant)
    for (int k = 0; k <= 16; ++k) lblY[static_cast<size_t>(k)]->setText(graph.valueLabel[static_cast<size_t>(k)]);

  const double tpp = display().twipsPerPixel();
  auto at = [&](LineControl* l) { return layout.find(l); };
  RateFrame f;
  f.left = at(Line4)->x1 / tpp;
  f.right = at(Line3)->x1 / tpp;
  f.top = at(Line1)->y1 / tpp;
  f.bottom = at(Line2)->y1 / tpp;
  f.stripTop = at(Line8)->y1 / tpp;
  f.stripBottom = at(Line9)->y1 / tpp;
  f.inset = 10 * (at(Line3)->x1 - at(Line4)->x1) / (kFrameRight - kFrameLeft) / tpp;
  QPainter p(&surface_);
  paintRateGraph(p, graph, f);
  p.end();
  update();
}

void GraphQSO::Command1_Click() {
  BusyCursor busy;
  const bool toBlack = Command1->text() != QStringLiteral("Black Background");
  Command1->setText(toBlack ? QStringLiteral("Black Background") : QStringLiteral("White Background"));
  background_ = toBlack ? QColor(Qt::black) : QColor(Qt::white);
  const QColor ink = toBlack ? QColor(Qt::white) : QColor(Qt::black);
  for (QLabel* l : lblDate) setTextColor(l, ink);
  for (QLabel* l : lblTime) setTextColor(l, ink);
  for (QLabel* l : lblY) setTextColor(l, ink);
  setTextColor(Label1, ink);
  for (LineControl* l : lines) {
    l->color = ink;
    l->update();
  }
  DrawQSORateGraph();
}

void GraphQSO::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, surface_);
}

void OutputService::showGraph() {
  auto w = std::make_unique<GraphQSO>(s.Log, main ? main->window() : nullptr);
  showModal(w.get());
}

}  // namespace fd
