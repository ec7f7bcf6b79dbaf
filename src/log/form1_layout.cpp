// The main window's layout table (twips on the 9600 x 7200 design) and the
// load-step scaling, fit and size steps.
#include <QFrame>
#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMoveEvent>
#include <QWindow>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "log/datetime.h"
#include "log/form1.h"
#include "platform/items.h"
#include "platform/platform.h"

namespace fd {
namespace {

struct GridGroup {
  const char* caption;
  double left, top;
  std::vector<const char*> leftColumn, rightColumn;
};

// The section grid: heading, its position, and the two columns under it.
const std::vector<GridGroup>& gridGroups() {
  static const std::vector<GridGroup> groups = {
      {"1", 4200, 3120, {"CT", "EMA", "ME", "NH"}, {"RI", "VT", "WMA"}},
      {"2", 4200, 4560, {"NNY", "ENY", "NLI"}, {"NNJ", "SNJ", "WNY"}},
      {"3", 5280, 3120, {"DE", "EPA"}, {"MDC", "WPA"}},
      {"4", 5280, 4080, {"AL", "GA", "KY", "NC", "NFL", "SC"}, {"SFL", "WCF", "TN", "VA", "PR", "VI"}},
      {"5", 6360, 2640, {"AR", "LA", "MS", "NM"}, {"NTX", "OK", "STX", "WTX"}},
      {"6", 6360, 4080, {"EB", "LAX", "ORG", "SB", "SCV"}, {"SDG", "SF", "SJV", "SV", "PAC"}},
      {"7", 7440, 2640, {"AZ", "EWA", "ID", "MT", "NV"}, {"OR", "UT", "WWA", "WY", "AK"}},
      {"8", 7440, 4320, {"MI", "OH"}, {"WV"}},
      {"9", 7440, 5280, {"IL", "IN"}, {"WI"}},
      {"0", 8520, 2640, {"CO", "IA", "KS", "MN"}, {"MO", "NE", "ND", "SD"}},
      {"Canada", 8520, 4080, {"NL", "MAR", "QC", "ONN", "ONE", "ONS"}, {"GTA", "MB", "SK", "AB", "BC", "NT"}},
  };
  return groups;
}

}  // namespace

void Form1::buildControls() {
  surface = new QWidget(this);
  setCentralWidget(surface);
  layout = TwipLayout{};
  layout.fontSize = 8.25;

  auto label = [this](const QString& text, double l, double t, double w, double h, double font = 8.25,
                      const QString& family = QStringLiteral("MS Sans Serif"), bool bold = false) {
    auto* lb = new ClickLabel(surface);
    lb->setText(text);
    lb->setFont(designFont(family, font, bold));
    layout.add(lb, ControlKind::Label, l, t, w, h, font);
    return lb;
  };
  auto box = [this](int maxLen, double l, double t, double w, double h) {
    auto* b = new KeyBox(surface);
    b->setMaxLength(maxLen);
    b->preview = this;
    b->editKeys = false;  // Ctrl arms the hot-key suppression in this window
    b->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    layout.add(b, ControlKind::TextBox, l, t, w, h, 9.75);
    return b;
  };
  auto button = [this](const QString& caption, const QString& tip, double l, double t, double w, double h) {
    auto* b = new QPushButton(caption, surface);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::ClickFocus);  // buttons take focus by click only
    b->setAutoDefault(false);
    b->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    layout.add(b, ControlKind::Button, l, t, w, h, 8.25);
    return b;
  };
  auto list = [this](double l, double t, double w, double h) {
    auto* v = new QTreeWidget(surface);
    v->setRootIsDecorated(false);
    v->setUniformRowHeights(true);
    v->setFocusPolicy(Qt::ClickFocus);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25));
    v->header()->setStretchLastSection(false);
    layout.add(v, ControlKind::ListView, l, t, w, h, 8.25);
    return v;
  };

  // Station identity, band and mode.
  Label2 = label(QString(), 120, 60, 1800, 375, 12, QStringLiteral("Arial"), true);
  Label1 = label(QString(), 1980, 60, 700, 375, 12, QStringLiteral("Arial"), true);
  Label4 = label(QString(), 2740, 60, 760, 375, 12, QStringLiteral("Arial"), true);
  lblBandSwitch = label(QStringLiteral("Band"), 120, 450, 540, 285);
  Label30 = label(QStringLiteral("160"), 720, 450, 700, 285, 9.75, QStringLiteral("Arial"), true);
  Label3 = label(QStringLiteral("Mode"), 1560, 450, 540, 285);
  Label12 = label(QStringLiteral("SSB"), 2160, 450, 700, 285, 9.75, QStringLiteral("Arial"), true);
  Label30->setToolTip(QStringLiteral("Click to change band"));
  Label12->setToolTip(QStringLiteral("Click to change mode"));

  // Clocks and rates.
  lblClockCaption[0] = label(QStringLiteral("Local"), 120, 800, 540, 240);
  lblCurTime = label(QString(), 720, 800, 840, 240, 8.25, QStringLiteral("Arial"), true);
  Label16 = label(QString(), 1620, 800, 420, 240, 8.25, QStringLiteral("Arial"), true);
  lblClockCaption[1] = label(QStringLiteral("UTC"), 2100, 800, 360, 240);
  lblutctime = label(QString(), 2520, 800, 900, 240, 8.25, QStringLiteral("Arial"), true);
  lblClockCaption[2] = label(QStringLiteral("QSOs / Hr (last 60 min)"), 120, 1060, 2400, 240);
  lblAQSO60 = label(QStringLiteral("0"), 2580, 1060, 700, 240, 8.25, QStringLiteral("Arial"), true);
  lblClockCaption[3] = label(QStringLiteral("QSOs / Hr (last 20 min)"), 120, 1300, 2400, 240);
  lblAQSO20 = label(QStringLiteral("0"), 2580, 1300, 700, 240, 8.25, QStringLiteral("Arial"), true);

  // Score block: captions in this order, value labels beside them.
  const char* captions[4] = {"Total CW Contacts.......", "Total Digital Contacts...", "Total Phone Contacts...",
                             "Total QSO Points........."};
  std::array<ClickLabel**, 4> values = {&lblTotCon, &lblTotSec, &lblsectogo, &lblTotScore};
  for (int i = 0; i < 4; ++i) {
    const double top = 1560 + 240 * i;
    lblScoreCaption[static_cast<size_t>(i)] = label(QString::fromLatin1(captions[i]), 120, top, 2400, 240);
    *values[static_cast<size_t>(i)] = label(QStringLiteral("0"), 2580, top, 700, 240, 8.25, QStringLiteral("Arial"), true);
  }

  // Recent contacts.
  lblRecentContacts = label(QStringLiteral("Recent Contacts"), 3600, 0, 2000, 255);
  ListView1 = list(3600, 255, 5950, 2025);
  ListView1->setToolTip(QStringLiteral("Click record to edit or delete."));
  cmdList = button(QStringLiteral("Last 20"), QStringLiteral("List all or last 20 contacts"), 3600, 2330, 900, 285);
  cmdFind = button(QStringLiteral("Find"), QStringLiteral("Search for Call in log"), 4560, 2330, 900, 285);
  cmdEdit = button(QStringLiteral("Edit"), QString(), 5520, 2330, 900, 285);
  cmdDelete = button(QStringLiteral("Delete"), QString(), 6480, 2330, 900, 285);
  cmdEdit->hide();
  cmdDelete->hide();

  // Entry fields and their captions.
  lblStation[0] = label(QStringLiteral("Call"), 0, 2640, 1215, 285, 9.75, QStringLiteral("Arial"), true);
  lblStation[1] = label(QStringLiteral("Class"), 1440, 2640, 885, 285, 9.75, QStringLiteral("Arial"), true);
  lblStation[2] = label(QStringLiteral("Section"), 2520, 2640, 855, 285, 9.75, QStringLiteral("Arial"), true);
  txtCall = box(12, 0, 2950, 1215, 285);
  txtCK = box(3, 1440, 2950, 885, 285);
  txtSec = box(20, 2520, 2950, 855, 285);
  cmdClear = button(QStringLiteral("&Clear"), QStringLiteral("Click to clear entry fields or press ALT C or Esc"),
                    3480, 2950, 660, 285);

  // Status line.
  lblDialog = label(QString(), 0, 3360, 4100, 420, 9.75, QStringLiteral("Arial"), true);
  lblDialog->setBackColor(kStatusNormal);
  lblDialog->setWordWrap(true);

  // Post-contest fields (hidden until the mode is switched on).
  lblPostConTime = label(QStringLiteral("Time"), 120, 3975, 735, 285, 8.25, QStringLiteral("MS Sans Serif"), true);
  txtPostConTime = box(8, 885, 3980, 540, 285);
  lblPostConDate = label(QStringLiteral("Date"), 1560, 3975, 645, 285, 8.25, QStringLiteral("MS Sans Serif"), true);
  txtPostConDate = box(10, 2280, 3980, 885, 285);
  for (ClickLabel* l : {lblPostConTime, lblPostConDate}) {
    l->setBackColor(kNavy);
    l->setForeColor(rgbValue(255, 255, 255));
  }
  for (QWidget* w : std::initializer_list<QWidget*>{lblPostConTime, txtPostConTime, lblPostConDate, txtPostConDate}) w->hide();
  cmdDup = button(QStringLiteral("On"), QStringLiteral("Displaying partial dupes slows the program on older pc's."),
                  3300, 3975, 700, 285);

  // Possible duplicates and the section hover box.
  lblPossDup = label(QStringLiteral("               Possible Duplicates"), 0, 4440, 3975, 375, 9.75,
                     QStringLiteral("Arial"), true);
  lblDupe = label(QString(), 0, 5040, 3975, 975, 9, QStringLiteral("Arial"), true);
  lblDupe->setWordWrap(true);
  lblDupe->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout.find(lblDupe)->fitText = false;  // a list that grows: its font stays

  // Section grid.
  lblSecWkd = label(QStringLiteral("  Sections Worked"), 4200, 2640, 1935, 375, 9.75, QStringLiteral("Arial"), true);
  lblSecWkd->setBackColor(kNavy);
  lblSecWkd->setForeColor(rgbValue(255, 255, 255));
  const auto& groups = gridGroups();
  for (size_t g = 0; g < groups.size(); ++g) {
    const GridGroup& grp = groups[g];
    const bool canada = QLatin1String(grp.caption) == QLatin1String("Canada");
    const bool nine = QLatin1String(grp.caption) == QLatin1String("9");
    auto* h = label(QString::fromLatin1(grp.caption), grp.left, grp.top, 855, canada ? 375 : 280, 8.25,
                    QStringLiteral("MS Sans Serif"), true);
    h->setBackColor(kNavy);
    h->setForeColor(rgbValue(255, 255, 255));
    lblSecHeading[g] = h;
    const double firstRow = grp.top + (canada ? 480 : nine ? 315 : 360);
    const double rowStep = nine ? 210 : 240;
    for (int column = 0; column < 2; ++column) {
      const auto& names = column == 0 ? grp.leftColumn : grp.rightColumn;
      for (size_t r = 0; r < names.size(); ++r) {
        const QString name = QString::fromLatin1(names[r]);
        const int row = sectionRow(name);
        const double width = name == QLatin1String("WCF") ? 450 : name == QLatin1String("ENY") ? 375 : 495;
        auto* cell = label(QStringLiteral("WWW"), grp.left + 480 * column, firstRow + rowStep * static_cast<double>(r),
                           width, 255, 6.75, QStringLiteral("MS Serif"));
        cell->setBackColor(kLightGrey);
        Label10[static_cast<size_t>(row)] = cell;
        cell->onClick = [this, row] { Label10_Click(row); };
        cell->onMouseMove = [this, row] { Label10_MouseMove(row); };
      }
    }
  }

  // Spot area: laid out and shown by the spotting subsystem. Until it first
  // opens it stands where a closed area stands (top 1000), so that its own
  // controls never reach below the others when the opening squeezes them.
  lblDX = label(QString(), 0, 1000, 9600, 380);
  txtDX = list(0, 1000, 9600, 380);
  lblDX->hide();
  txtDX->hide();
  lblDX->setBackColor(kNavy);  // pale-yellow spot labels read on it
  {
    auto* line = new QFrame(surface);
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(QStringLiteral("color: white; background: white;"));
    TwipControl& c = layout.add(line, ControlKind::Line, 100, 1000, 9400, 0);
    c.x1 = 100, c.y1 = 1000, c.x2 = 9500, c.y2 = 1000;
    line->hide();
    LineDX = line;
  }
  for (size_t i = 0; i < lblDXSpot.size(); ++i) {
    ClickLabel* l = label(QStringLiteral("DXLBL"), 0, 1000, 600, 195, 6.75);
    layout.find(l)->fitText = false;  // spots: data, not captions
    l->setAlignment(Qt::AlignCenter);
    l->setBackColor(kNavy);
    l->setMouseTracking(true);
    l->hide();
    lblDXSpot[i] = l;
  }
  for (size_t k = 0; k < lblFreqSpot.size(); ++k) {
    ClickLabel* l = label(QString(), 0, 1000, 700, 195, 6.75);
    layout.find(l)->fitText = false;
    l->setAlignment(Qt::AlignCenter);
    l->setBackColor(kNavy);
    l->setForeColor(rgbValue(255, 255, 255));
    l->hide();
    lblFreqSpot[k] = l;
  }

  // Only the entry fields are tab stops, in the order call, class, section, time, date.
  for (QWidget* w : surface->findChildren<QWidget*>())
    if (!qobject_cast<KeyBox*>(w)) w->setFocusPolicy(w->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
  setTabOrder(txtCall, txtCK);
  setTabOrder(txtCK, txtSec);
  setTabOrder(txtSec, txtPostConTime);
  setTabOrder(txtPostConTime, txtPostConDate);

  Label30->onMouseDown = [this](int b) { Label30_MouseDown(b); };
  Label12->onClick = [this] { Label12_Click(); };
  connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
  connect(cmdDup, &QPushButton::clicked, this, [this] { cmdDup_Click(); });
  connect(cmdList, &QPushButton::clicked, this, [this] { cmdList_Click(); });
  connect(cmdFind, &QPushButton::clicked, this, [this] { cmdFind_Click(); });
  connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
  connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });

  layout.width = 9600;
  layout.height = 7200;
  applyLayout();
}


namespace {

int px(double twips, double tpp) { return static_cast<int>(std::lround(twips / tpp)); }

bool scaledByLoadStep(ControlKind k) {
  return k == ControlKind::ListView || k == ControlKind::Button || k == ControlKind::TextBox || k == ControlKind::Label;
}

// List views, buttons, text boxes and labels move, size and change font with
// the window; lines move their end points; everything else stays.
void scaleControls(TwipLayout& layout, double wx, double hy, double fontFactor) {
  for (TwipControl& c : layout.controls) {
    if (scaledByLoadStep(c.kind)) {
      c.left *= wx;
      c.width *= wx;
      c.top *= hy;
      c.height *= hy;
      c.fontSize *= fontFactor;
    } else if (c.kind == ControlKind::Line) {
      c.x1 *= wx;
      c.x2 *= wx;
      c.y1 *= hy;
      c.y2 *= hy;
    }
  }
}

// Base widths in twips; the spot list's "Status" column stays hidden at 0.
struct Column {
  const char* heading;
  double width;
  Qt::Alignment align;
};
const Column kListColumns[] = {{"Rec#", 600, Qt::AlignLeft}, {"Call", 940, Qt::AlignLeft}, {"Class", 650, Qt::AlignLeft},
                               {"Sec", 600, Qt::AlignLeft},  {"Date", 700, Qt::AlignLeft}, {"Time", 800, Qt::AlignLeft},
                               {"Bnd", 500, Qt::AlignLeft},  {"Mode", 600, Qt::AlignLeft}, {"Opr", 560, Qt::AlignLeft}};
const Column kSpotColumns[] = {{"Call", 1040, Qt::AlignLeft},    {"Frequency", 880, Qt::AlignRight},
                               {"QTH", 2000, Qt::AlignLeft},     {"Status", 0, Qt::AlignHCenter},
                               {"Comments", 3400, Qt::AlignLeft}, {"Prefix", 520, Qt::AlignLeft},
                               {"Time", 600, Qt::AlignLeft},     {"From", 520, Qt::AlignLeft}};

template <size_t N>
void addColumns(QTreeWidget* list, TwipControl* c, const Column (&cols)[N], double factor) {
  QStringList headings;
  for (const Column& col : cols) headings << QString::fromLatin1(col.heading);
  list->setColumnCount(static_cast<int>(N));
  list->setHeaderLabels(headings);
  c->columns.clear();
  for (size_t i = 0; i < N; ++i) {
    list->headerItem()->setTextAlignment(static_cast<int>(i), cols[i].align | Qt::AlignVCenter);
    c->columns.push_back(cols[i].width * factor);
  }
}

}  // namespace

std::uint8_t Form1::clampedFormSize(int pct) { return static_cast<std::uint8_t>(std::clamp(pct, 30, 100)); }

void Form1::applyLayout() {
  const double tpp = display().twipsPerPixel();
  layout.apply(nullptr, tpp);
  // Each edge is rounded on its own, so controls that meet in twips never
  // overlap by a pixel after scaling.
  for (const TwipControl& c : layout.controls) {
    if (!c.widget || c.kind == ControlKind::Line) continue;
    const int l = px(c.left, tpp), t = px(c.top, tpp);
    c.widget->setGeometry(l, t, std::max(0, px(c.left + c.width, tpp) - l), std::max(0, px(c.top + c.height, tpp) - t));
  }
  fitListColumns(ListView1);
  for (KeyBox* b : {txtPostConTime, txtPostConDate}) fitBoxFont(b);
  // The twip size is the window's whole client area, menu bar included.
  resize(std::max(1, px(layout.width, tpp)), std::max(1, px(layout.height, tpp)));
  move(px(layout.left, tpp), px(layout.top, tpp));
}

// The columns' twip widths add up to the list's whole width; its frame and a
// vertical scroll bar would push the last one out and bring a horizontal bar.
// The pixel widths shrink in proportion to fit inside.
void Form1::fitListColumns(QTreeWidget* list) {
  const TwipControl* c = layout.find(list);
  if (!c || c->columns.empty()) return;
  int total = 0;
  for (int i = 0; i < list->columnCount(); ++i)
    if (!list->isColumnHidden(i)) total += list->columnWidth(i);
  const int room = list->width() - 2 * list->frameWidth() -
                   list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
  if (total <= room || total <= 0 || room <= 0) return;
  const double k = static_cast<double>(room) / total;
  for (int i = 0; i < list->columnCount(); ++i)
    if (!list->isColumnHidden(i)) list->setColumnWidth(i, static_cast<int>(list->columnWidth(i) * k));
}

// The post-contest boxes keep their places; their font is made small enough
// for a whole time or date to show at any screen size.
void Form1::fitBoxFont(KeyBox* box) {
  const QString sample = box == txtPostConTime ? QStringLiteral("00:00:00") : QStringLiteral("0000/00/00");
  const int room = box->width() - 2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box) - 6;
  QFont f = box->font();
  while (f.pointSizeF() > 4.0 && QFontMetrics(f).horizontalAdvance(sample) > room) f.setPointSizeF(f.pointSizeF() - 0.25);
  box->setFont(f);
}

void Form1::ScaleToScreen() {
  const double sw = display().widthTwips(), sh = display().heightTwips();
  layout.width = sw;
  layout.height = sh;
  layout.left = (sw - layout.width) / 2;
  layout.top = (sh - layout.height) / 2;
  layout.fontSize *= layout.width / 9600.0;
  const double wx = layout.width / 9600.0, hy = layout.height / 7200.0;
  const double fontFactor = std::min(sw / 9600.0, sh / 7200.0);
  scaleControls(layout, wx, hy, fontFactor);
  applyLayout();
}

void Form1::SetStartStatus() { lblDialog->setText(QStringLiteral("Select a band and mode from the menu bar!")); }

void Form1::AddListColumns() {
  const double factor = layout.width / 9600.0;
  addColumns(ListView1, layout.find(ListView1), kListColumns, factor);
  addColumns(txtDX, layout.find(txtDX), kSpotColumns, factor);
  applyLayout();
}

void Form1::FillSectionGrid() {
  fillSectionTable(s);
  for (int i = 1; i <= s.SecTotal; ++i) {
    ClickLabel* cell = Label10[static_cast<size_t>(i)];
    if (!cell) continue;
    cell->setText(s.SecName[i]);
    cell->setToolTip(s.SecFullName[i]);
    cell->setForeColor(kGridDarkRed);
  }
}

void Form1::SetStartDefaults() {
  s.CurBand = QStringLiteral("40");
  s.CurMode = QStringLiteral("PH");
  s.PartialOn = 1;
  // No radio until fdpref.dat names one: a first start (or a file that ends
  // before the radio's line) opens no port. An empty value read from the
  // file still starts the link.
  s.RigType = QStringLiteral("None");
}

void Form1::ShowStationIdentity() {
  Label2->setText(s.MyCall);
  Label1->setText(s.MyClass);
  Label4->setText(s.MySection);
}

void Form1::FitFormToScreen() {
  if (QAction* a = menuItem(QStringLiteral("mnuTaskbar"))) a->setChecked(s.TaskbarOn != 0);
  s.FormSizePct = clampedFormSize(s.FormSizePct);
  if (s.FormSizePct != 100) return;
  hide();
  fitToScreenArea();
  show();
}

// The window's outer size is the screen's (or the work area's): the frame the
// window manager draws around it comes off the client area, so the bottom of
// the window stays on screen.
void Form1::fitToScreenArea() {
  const double h0 = layout.height, w0 = layout.width;
  const bool workArea = s.TaskbarOn == 1;
  const double tpp = display().twipsPerPixel();
  const double w = (workArea ? display().workWidthTwips() : display().widthTwips()) - (frame_.left() + frame_.right()) * tpp;
  const double h = (workArea ? display().workHeightTwips() : display().heightTwips()) - (frame_.top() + frame_.bottom()) * tpp;
  layout.width = w;
  layout.height = h;
  layout.left = 0;
  layout.top = 0;
  if (w0 > 0 && h0 > 0) {
    const double rw = w / w0, rh = h / h0;
    for (TwipControl& c : layout.controls) {
      if (c.kind == ControlKind::Line) {
        c.x1 *= rw;
        c.x2 *= rw;
        c.y1 *= rh;
        c.y2 *= rh;
        continue;
      }
      c.height *= rh;
      c.left *= rw;
      c.top *= rh;
      c.width *= rw;
    }
    // The spot list's columns follow the width; the recent-contacts list keeps its own.
    if (TwipControl* dx = layout.find(txtDX))
      for (double& col : dx->columns) col *= rw;
  }
  applyLayout();
}

// The window manager's frame is known only once the window is shown; when it
// first shows or changes, the window is fitted again.
void Form1::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  const QMargins m = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  if (m == frame_ || !isVisible()) return;
  frame_ = m;
  if (clampedFormSize(s.FormSizePct) == 100) fitToScreenArea();
}

void Form1::ScaleFormControls() {
  s.FormSizePct = clampedFormSize(s.FormSizePct);
  const double p = s.FormSizePct / 100.0;
  hide();
  const double sw = display().widthTwips(), sh = display().heightTwips();
  layout.width = p * sw;
  layout.height = p * sh;
  layout.left = (sw - layout.width) / 2;
  layout.top = (sh - layout.height) / 2;
  layout.fontSize *= p;
  scaleControls(layout, p, p, p);
  for (QTreeWidget* list : {ListView1, txtDX})
    if (TwipControl* c = layout.find(list))
      for (double& col : c->columns) col *= p;
  applyLayout();
  show();
}

void Form1::mnuFormsize_Click() {
  const QString answer = dialogs().input(
      QStringLiteral("Please enter screen percentage."),
      QStringLiteral("Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
                     "results.  Values below 75 do not display well."),
      QString::number(s.FormSizePct));
  const auto value = items::toDouble(answer);
  if (!value) {
    dialogs().message(QStringLiteral("Numeric Values Required"), QStringLiteral("Please enter only numeric values."),
                      Buttons::Ok);
    return;
  }
  // Clamped first, then rounded half to even: 99.5 gives 100, 95.5 gives 96.
  s.FormSizePct = static_cast<std::uint8_t>(datetime::roundHalfEven(std::clamp(*value, 30.0, 100.0)));
  dialogs().message(QStringLiteral("For this setting to take effect please restart this program."),
                    QStringLiteral("This program must be closed and restarted for this setting to take effect."),
                    Buttons::Ok);
  SavePref();
}

void Form1::mnuTaskbar_Click() {
  if (clampedFormSize(s.FormSizePct) != 100) {
    dialogs().message(QStringLiteral("Please set your form size to 100% to use this option."),
                      QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
                      Buttons::Ok);
    return;
  }
  s.TaskbarOn = s.TaskbarOn == 0 ? 1 : 0;
  SavePref();
  FitFormToScreen();
}

}  // namespace fd
