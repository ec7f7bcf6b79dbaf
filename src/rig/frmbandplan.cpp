#include "rig/frmbandplan.h"

#include <QLabel>
#include <QPushButton>

#include "core/windowrules.h"
#include "platform/platform.h"

namespace fd {
namespace {
// The class buttons and Done share one row at the foot of the client area.
constexpr double kButtonTop = 6380;
}  // namespace

frmBandPlan::frmBandPlan(ProgramState& state, QWidget* parent) : QDialog(parent), s_(state) {
  setWindowTitle(QStringLiteral("Frequency Privileges"));
  applyWindowRule(this, "frmBandPlan");
  layout.width = 9600;
  layout.height = 7200;
  auto label = [&](const QString& t, double l, double top, double w, double h, const QString& font, double pt) {
    auto* x = new QLabel(t, this);
    x->setAlignment(Qt::AlignCenter);
    x->setFont(designFont(font, pt, true));
    layout.add(x, ControlKind::Label, l, top, w, h, pt);
    return x;
  };
  Label1 = label(QStringLiteral("Frequencies Effective"), 120, 120, 9300, 300, QStringLiteral("Arial"), 10);
  Label2 = label(QString(), 120, 450, 9300, 450, QStringLiteral("Arial Narrow"), 16);
  for (QLabel* l : {Label1, Label2})
    l->setStyleSheet(QStringLiteral("background-color: rgb(0,0,128); color: white;"));
  Line1 = new QFrame(this);
  Line1->setFrameShape(QFrame::HLine);
  layout.add(Line1, ControlKind::Line, 120, 1000, 9300, 30);
  Label3 = label(QStringLiteral("CW"), 7400, 6430, 900, 300, QStringLiteral("Arial"), 8.25);
  Label4 = label(QStringLiteral("Phone"), 8450, 6430, 900, 300, QStringLiteral("Arial"), 8.25);
  const struct { const char* caption; const char* title; const char* cls; } buttons[] = {
      {"Novice", "Novice Frequency Privileges", "N"},
      {"Technician", "Technician Frequency Privileges", "T"},
      {"Tech +", "Technician Plus Frequency Privileges", "P"},
      {"General", "General Frequency Privileges", "G"},
      {"Advanced", "Advanced Frequency Privileges", "A"},
      {"Extra", "Extra Frequency Privileges", "E"},
  };
  QPushButton** buttonSlots[] = {&Command1, &Command2, &Command3, &Command4, &Command5, &Command6};
  for (int i = 0; i < 6; ++i) {
    auto* b = new QPushButton(QString::fromLatin1(buttons[i].caption), this);
    b->setAutoDefault(false);
    layout.add(b, ControlKind::Button, 120 + i * 1000, kButtonTop, 950, 400, 8.25);
    const QString title = QString::fromLatin1(buttons[i].title), cls = QString::fromLatin1(buttons[i].cls);
    connect(b, &QPushButton::clicked, this, [this, title, cls] {
      Label2->setText(title);
      DrawPrivileges(cls);
    });
    *buttonSlots[i] = b;
  }
  Command7 = new QPushButton(QStringLiteral("Done"), this);
  Command7->setAutoDefault(false);
  layout.add(Command7, ControlKind::Button, 6120, kButtonTop, 950, 400, 8.25);
  connect(Command7, &QPushButton::clicked, this, [this] { hide(); });
  Form_Load();
}

void frmBandPlan::Form_Load() {
  // The whole work area, top left; controls scaled by width and height.
  const Screen& sc = display();
  const double tpp = sc.twipsPerPixel();
  factor_ = std::min(1.5, sc.widthTwips() / 9600.0);
  const double fx = sc.workWidthTwips() / layout.width, fy = sc.workHeightTwips() / layout.height;
  for (TwipControl& c : layout.controls) {
    c.left *= fx, c.width *= fx, c.top *= fy, c.height *= fy;
    c.x1 *= fx, c.x2 *= fx, c.y1 *= fy, c.y2 *= fy;
    if (c.fontSize > 0) c.fontSize *= factor_;
  }
  layout.width = sc.workWidthTwips();
  layout.height = sc.workHeightTwips();
  layout.left = layout.top = 0;
  layout.apply(this, tpp);
  Label3->setStyleSheet(QStringLiteral("background-color: rgb(0,0,255); color: white;"));
  Label4->setStyleSheet(QStringLiteral("background-color: rgb(0,255,0); color: black;"));
  const rig::BandPlanFile f = rig::readBandPlan(s_.progFile(QStringLiteral("BandPlan.txt")));
  if (f.opened) Label1->setText(QStringLiteral("Frequencies Effective: ") + f.date);
  if (!f.opened || f.malformed || f.tooMany) {
    dialogs().message(QStringLiteral("Band Data Not Available."), QStringLiteral("Band data not available."),
                      Buttons::Ok);
    return;
  }
  records = f.records;
  Label2->setText(QStringLiteral("Extra Frequency Privileges"));
  DrawPrivileges(QStringLiteral("E"));
}

QList<QLabel*> frmBandPlan::chartLabels(const QString& prefix) const {
  QList<QLabel*> out;
  for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    if (l->objectName().startsWith(prefix)) out << l;
  std::sort(out.begin(), out.end(), [&](QLabel* a, QLabel* b) {
    return a->objectName().mid(4).toInt() < b->objectName().mid(4).toInt();
  });
  return out;
}

void frmBandPlan::DrawPrivileges(const QString& cls) {
  for (const QString& p : {QStringLiteral("blbl"), QStringLiteral("priv"), QStringLiteral("bnlb")})
    for (QLabel* l : chartLabels(p)) delete l;
  const QList<rig::PrivilegeRow> rows = rig::privilegeRows(records, cls);
  if (rows.isEmpty()) return;
  const double W = width(), H = height();
  const double y0 = Line1->geometry().center().y();
  const double step = 0.8 * (H - y0) / rows.size();
  const QString border = QStringLiteral("border: 1px solid black;");
  int n = 0;
  for (qsizetype k = 0; k < rows.size(); ++k) {
    const rig::PrivilegeRow& r = rows[k];
    const QString tip = r.band + QStringLiteral("  ") + rig::edgeText(r.low) + QStringLiteral(" - ") + rig::edgeText(r.high);
    const QRect bar(int(0.10 * W), int(y0 + (k + 1) * step), int(0.85 * W), int(0.04 * H));
    auto* b = new QLabel(r.band, this);
    b->setObjectName(QStringLiteral("blbl%1").arg(k + 1));
    b->setToolTip(tip);
    b->setAlignment(Qt::AlignCenter);
    b->setStyleSheet(QStringLiteral("background-color: black; color: black;") + border);
    b->setGeometry(bar);
    b->show();
    auto* t = new QLabel(r.band, this);
    t->setObjectName(QStringLiteral("bnlb%1").arg(k + 1));
    t->setToolTip(tip);
    t->setAlignment(Qt::AlignCenter);
    t->setFont(designFont(QStringLiteral("Arial"), 8 * factor_, true));
    t->setStyleSheet(QStringLiteral("background-color: yellow; color: black;") + border);
    t->setGeometry(int(0.04 * W), bar.top(), int(0.05 * W), bar.height());
    t->show();
    for (const auto& seg : r.segments) {
      const rig::SegmentPlace place = rig::segmentPlace(r, seg, bar.left(), bar.width());
      const QString caption = rig::edgeText(seg.low) + QStringLiteral(" - ") + rig::edgeText(seg.high);
      auto* p = new QLabel(caption, this);
      p->setObjectName(QStringLiteral("priv%1").arg(++n));
      p->setToolTip((seg.cw ? QStringLiteral("CW  ") : QStringLiteral("PH  ")) + caption);
      p->setAlignment(Qt::AlignCenter);
      p->setFont(designFont(QStringLiteral("Arial Narrow"), 7 * factor_));
      p->setStyleSheet((seg.cw ? QStringLiteral("background-color: blue; color: white;")
                               : QStringLiteral("background-color: rgb(0,255,0); color: black;")) + border);
      p->setGeometry(place.left, bar.top(), place.width, bar.height());
      p->show();
      p->raise();
    }
  }
}

}  // namespace fd
