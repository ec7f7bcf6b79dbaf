#include "output/bandstats_window.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>

#include "core/windowrules.h"
#include "output/bandstats.h"
#include "output/outputservice.h"
#include "platform/forms.h"
#include "platform/platform.h"

namespace fd {
namespace {

// lblcon indices of each group's count and percentage (V/Uhf last; the total is 12).
constexpr std::array<int, BandStats::kGroups> kCountLabel = {0, 1, 2, 3, 4, 5, 13};
constexpr std::array<int, BandStats::kGroups> kPercentLabel = {6, 7, 8, 9, 10, 11, 14};
constexpr int kTotalLabel = 12;

}  // namespace

frmbndstats::frmbndstats(const QsoLog& log, QWidget* parent) : QDialog(parent), log_(log) {
  setWindowTitle(QStringLiteral(" Field Day Statistics"));
  applyWindowRule(this, "frmbndstats");
  layout.width = 6270;
  layout.height = 5145;
  const QString arial = QStringLiteral("Arial");
  auto label = [&](const QString& text, double l, double t, double w, double h, double pt, bool bold,
                   Qt::Alignment align) {
    auto* lab = new QLabel(text, this);
    lab->setFont(designFont(arial, pt, bold));
    lab->setAlignment(align | Qt::AlignVCenter);
    layout.add(lab, ControlKind::Label, l, t, w, h, pt);
    return lab;
  };
  auto line = [&](double x1, double y1, double x2, double y2) {
    auto* f = new QFrame(this);
    f->setFrameShape(y1 == y2 ? QFrame::HLine : QFrame::VLine);
    f->setFrameShadow(QFrame::Plain);
    layout.add(f, ControlKind::Line, x1, y1, x2 - x1, y2 - y1);
  };

  Label1 = label(QStringLiteral("Total Contacts by Band and Operator"), 240, 120, 5775, 375, 12, true, Qt::AlignHCenter);
  const std::array<QString, 6> heads = {QStringLiteral("160"), QStringLiteral("  80"), QStringLiteral("  40"),
                                        QStringLiteral("  20"), QStringLiteral("  15"), QStringLiteral("  10")};
  for (int i = 0; i < 6; ++i)
    Label2[static_cast<size_t>(i)] = label(heads[static_cast<size_t>(i)], 360, 1560 + 360 * i, 480, 255, 9.75, true, Qt::AlignLeft);
  Label2[6] = label(QStringLiteral("Total"), 240, 4200, 600, 255, 9.75, true, Qt::AlignLeft);
  Label2[7] = label(QStringLiteral("  V/Uhf"), 0, 3720, 840, 255, 9.75, true, Qt::AlignLeft);
  Label3[0] = label(QStringLiteral("Contacts"), 840, 960, 855, 255, 9.75, true, Qt::AlignHCenter);
  Label3[1] = label(QStringLiteral("Total"), 840, 720, 855, 255, 9.75, true, Qt::AlignHCenter);
  Label3[2] = label(QStringLiteral(" %"), 2280, 960, 480, 255, 9.75, true, Qt::AlignLeft);
  Label3[3] = label(QStringLiteral("Operator"), 3480, 960, 2295, 255, 9.75, true, Qt::AlignHCenter);

  const std::array<double, 8> rowTop = {1560, 1920, 2280, 2640, 3000, 3360, 3720, 4200};
  for (int g = 0; g < BandStats::kGroups; ++g) {
    const double top = rowTop[static_cast<size_t>(g)];
    lblcon[static_cast<size_t>(kCountLabel[static_cast<size_t>(g)])] = label(QStringLiteral("0"), 840, top, 855, 255, 9, false, Qt::AlignRight);
    lblcon[static_cast<size_t>(kPercentLabel[static_cast<size_t>(g)])] = label(QStringLiteral("0"), 1920, top, 855, 255, 9, false, Qt::AlignRight);
  }
  lblcon[kTotalLabel] = label(QStringLiteral("0"), 840, rowTop[7], 855, 255, 9, false, Qt::AlignRight);

  line(240, 1320, 3000, 1320);
  line(240, 4080, 3000, 4080);
  line(1800, 1320, 1800, 4080);
  line(3240, 720, 3240, 4440);

  ListView1 = new QTreeWidget(this);
  ListView1->setRootIsDecorated(false);
  ListView1->setColumnCount(2);
  ListView1->header()->setStretchLastSection(false);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setFont(designFont(arial, 8.25));
  TwipControl& lv = layout.add(ListView1, ControlKind::ListView, 3480, 1440, 2295, 2655, 8.25);

  Command1 = new QPushButton(QStringLiteral("Close"), this);
  Command1->setFont(designFont(arial, 8.25));
  Command1->setAutoDefault(false);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  layout.add(Command1, ControlKind::Button, 2880, 4560, 855, 495, 8.25);

  // Column widths in twips, scaled with the layout by the width factor.
  lv.columns = {1000, 800};
  Form_Load();
}

void frmbndstats::Form_Load() {
  ResizeFormByWidth(layout, display(), Placement::QuarterTop);
  layout.apply(this, display().twipsPerPixel());

  auto* head = new QTreeWidgetItem;
  head->setText(0, QStringLiteral("Initials"));
  head->setText(1, QStringLiteral("Contacts"));
  head->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  ListView1->setHeaderItem(head);

  const BandStats st = computeBandStats(log_);
  if (st.total == 0) return;
  lblcon[kTotalLabel]->setText(QString::number(st.total));
  for (int g = 0; g < BandStats::kGroups; ++g) {
    lblcon[static_cast<size_t>(kCountLabel[static_cast<size_t>(g)])]->setText(QString::number(st.count[static_cast<size_t>(g)]));
    lblcon[static_cast<size_t>(kPercentLabel[static_cast<size_t>(g)])]->setText(QString::number(st.percent[static_cast<size_t>(g)]));
  }
  for (const auto& [initials, n] : st.operators) {
    auto* item = new QTreeWidgetItem(ListView1);
    item->setText(0, initials);
    item->setText(1, QString::number(n));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
}

void OutputService::showStats() {
  auto w = std::make_unique<frmbndstats>(s.Log, main ? main->window() : nullptr);
  showModal(w.get());
}

}  // namespace fd
