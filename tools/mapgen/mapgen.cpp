#include "mapgen/mapgen.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numeric>
#include <optional>

#include "mapgen/detmath.h"
#include "mapgen/geodata.h"
#include "mapgen/projection.h"
#include "mapgen/raster.h"
#include "mapgen/sections.h"
#include "output/sectionmap.h"

#ifndef FD_MAPDATA
#define FD_MAPDATA "/usr/local/share/fieldday-mapdata"
#endif

namespace fd::mapgen {

QString defaultCountyData() { return QStringLiteral(FD_MAPDATA "/node_modules/us-atlas/counties-10m.json"); }

QString versionNote(const QString& countyData) {
  return QStringLiteral("the committed picture was drawn from gmt 6.4.0, gmt-gshhg-low 2.3.7-6, us-atlas 3.0.1; found %1")
      .arg(sourceVersions(countyData));
}

QString areaOfLabel(int label) {
  const QLatin1String s(kMapLabels[static_cast<size_t>(label)].section);
  if (s == QLatin1String("ONN") || s == QLatin1String("ONS") || s == QLatin1String("ONE") || s == QLatin1String("GTA"))
    return QStringLiteral("ON");
  if (s == QLatin1String("NWT")) return QStringLiteral("NT");
  return s;
}

namespace {

constexpr int kW = kMapWidth, kH = kMapHeight;
const QString kWater = QStringLiteral("water");

// The main map: an equal-area conic for the United States and Canada; the
// central meridian and standard parallels are those that, fitted to the
// labels, left the fewest and smallest moves under labels.
const Conic kMainConic(-94.0, 45.0, 40.0, 60.0);

// Smoothing of the regional correction, in squared pixels: it follows
// regions of labels, not single ones.
constexpr double kRegionalSmoothing = 3e3;

constexpr int kAlaskaLabel = 59, kHawaiiLabel = 37, kPuertoRicoLabel = 40, kVirginIslandsLabel = 41, kNwtLabel = 90;
bool insetLabel(int k) { return k == kAlaskaLabel || k == kHawaiiLabel || k == kPuertoRicoLabel || k == kVirginIslandsLabel; }

// An inset shows one state or territory in its own frame, on its own conic,
// at the largest scale at which all of it fits the frame while one of its
// places lies under the label's centre.
struct Inset {
  const char* state;
  int label;
  QRect frame;  // the frame line; the drawing stays inside it
  std::vector<LonLat> places;  // places that may go under the label
  double lon0, lat1, lat2;
  double westEdge;  // nothing west of this longitude (the far Aleutians, the northwestern Hawaiian islands)
};
const std::vector<Inset> kInsets = {
    {"02", kAlaskaLabel, QRect(QPoint(2, 375), QPoint(114, 439)), {{-150.0, 64.0}, {-153.0, 63.0}, {-156.0, 65.5}, {-155.0, 61.5}}, -152.0, 55.0, 65.0, -171.0},
    // The island of Hawaii under the label: the largest area to paint.
    {"15", kHawaiiLabel, QRect(QPoint(398, 306), QPoint(458, 354)), {{-155.5, 19.6}, {-155.3, 19.7}, {-155.7, 19.8}}, -157.0, 19.0, 22.0, -160.5},
    {"72", kPuertoRicoLabel, QRect(QPoint(384, 366), QPoint(462, 416)), {{-66.45, 18.22}, {-66.2, 18.2}, {-66.0, 18.25}, {-66.7, 18.2}}, -66.0, 18.0, 18.5, -67.4},
    // The Virgin Islands, enlarged in a frame of their own inside Puerto Rico's.
    {"78", kVirginIslandsLabel, QRect(QPoint(424, 368), QPoint(460, 414)), {{-64.75, 17.73}, {-64.9, 17.72}, {-64.93, 18.34}}, -64.8, 17.5, 18.5, -65.2},
};

bool inInset(QPoint p) {
  for (const Inset& i : kInsets)
    if (i.frame.contains(p)) return true;
  return false;
}

// Where an inset draws: inside its frame, outside a frame nested in it.
bool insetDraws(const Inset& inset, QPoint p) {
  if (!inset.frame.adjusted(1, 1, -1, -1).contains(p)) return false;
  for (const Inset& other : kInsets)
    if (&other != &inset && inset.frame.contains(other.frame) && other.frame.contains(p)) return false;
  return true;
}

bool onFrame(QPoint p) {
  if (p.x() == 0 || p.y() == 0 || p.x() == kW - 1 || p.y() == kH - 1) return true;
  for (const Inset& inset : kInsets) {
    const QRect& r = inset.frame;
    if (r.contains(p) && (p.x() == r.left() || p.x() == r.right() || p.y() == r.top() || p.y() == r.bottom())) return true;
  }
  return false;
}

// A label's centre as a point of the continuous picture plane (pixel x
// covers x up to x + 1).
QPointF centreOf(int k) { return QPointF(labelCentre(kMapLabels[static_cast<size_t>(k)])) + QPointF(0.5, 0.5); }

bool mainState(const QString& fips) {
  static const QSet<QString> elsewhere = {QStringLiteral("02"), QStringLiteral("15"), QStringLiteral("60"), QStringLiteral("66"),
                                          QStringLiteral("69"), QStringLiteral("72"), QStringLiteral("78")};
  return !elsewhere.contains(fips.left(2));
}

double ringArea(const std::vector<QPointF>& r) {
  double a = 0;
  for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++) a += r[j].x() * r[i].y() - r[i].x() * r[j].y();
  return a / 2;
}

// The easternmost longitude of a ring (the date line unwrapped): a ring
// lying wholly west of an inset's edge is left out.
double ringEastEdge(const Topology& t, const std::vector<int>& ring) {
  double east = -1e9;
  for (const LonLat& p : t.ring(ring)) east = std::max(east, p.lon > 0 ? p.lon - 360 : p.lon);
  return east;
}

// ---- Sources ---------------------------------------------------------------

// GSHHG lines of Canada: which points to keep from each kind of line.
enum class Kind { Coast, Lake, Border, National };
bool keepCanadian(Kind kind, LonLat p) {
  if (p.lat < 41.5) return false;  // Mexico, the Caribbean, the southern coasts of the US
  if ((p.lat > 59.0 && p.lon > -58.0) || (p.lat > 74.0 && p.lon > -73.5)) return false;  // Greenland
  switch (kind) {
    case Kind::National:
      return p.lon < -129.5 && p.lat > 54.5;  // Alaska's border; the rest comes with the US counties
    case Kind::Border:
      // The line between the Northwest Territories and Nunavut is left out:
      // one section, with one label over the territories' mainland.
      return !(p.lat > 60.05 && p.lon > -121.0 && p.lon < -101.5);
    default:
      return true;
  }
}

std::optional<std::vector<GeoLine>> canadaLines(QString* error) {
  // Shores of islands from 5000 km2 and of lakes from 15000 km2 (the Great
  // Lakes, Great Bear, Great Slave, Winnipeg): smaller ones would be specks.
  const QString region = QStringLiteral("-R-145/-50/41/84");
  const std::pair<Kind, QStringList> runs[] = {
      {Kind::Coast, {region, QStringLiteral("-Dl"), QStringLiteral("-W"), QStringLiteral("-A5000/1/1")}},
      {Kind::Lake, {region, QStringLiteral("-Dl"), QStringLiteral("-W"), QStringLiteral("-A15000/2/2")}},
      {Kind::Border, {region, QStringLiteral("-Dl"), QStringLiteral("-N2")}},
      {Kind::National, {region, QStringLiteral("-Dl"), QStringLiteral("-N1")}},
  };
  std::vector<GeoLine> out;
  for (const auto& [kind, args] : runs) {
    const auto lines = readGmtCoast(args, error);
    if (!lines) return std::nullopt;
    for (const GeoLine& line : *lines) {
      GeoLine piece;
      for (const LonLat& p : line) {
        if (keepCanadian(kind, p)) {
          piece.push_back(p);
          continue;
        }
        if (piece.size() >= 2) out.push_back(piece);
        piece.clear();
      }
      if (piece.size() >= 2) out.push_back(piece);
    }
  }
  return out;
}

struct Sources {
  Topology topo;
  std::vector<QString> section;  // per county; empty: not on the map
  std::vector<std::array<int, 2>> owners;  // per arc: the (up to two) counties along it
  std::vector<GeoLine> canada;
  QStringList areas;  // area names, numbered in the owner grids
};

std::optional<Sources> readSources(const QString& countyData, QString* error) {
  Sources s;
  auto topo = readTopology(countyData, error);
  if (!topo) return std::nullopt;
  s.topo = std::move(*topo);
  *error = checkCountyTable(s.topo.counties);
  if (!error->isEmpty()) return std::nullopt;
  for (const County& c : s.topo.counties) s.section.push_back(sectionOfCounty(c.fips, c.name));
  s.owners.assign(s.topo.arcs.size(), {-1, -1});
  for (size_t i = 0; i < s.topo.counties.size(); ++i)
    for (const auto& ring : s.topo.counties[i].rings)
      for (int ref : ring) {
        auto& o = s.owners[static_cast<size_t>(ref < 0 ? ~ref : ref)];
        (o[0] < 0 ? o[0] : o[1]) = static_cast<int>(i);
      }
  auto canada = canadaLines(error);
  if (!canada) return std::nullopt;
  s.canada = std::move(*canada);
  for (int k = 0; k < static_cast<int>(kMapLabels.size()); ++k)
    if (!s.areas.contains(areaOfLabel(k))) s.areas << areaOfLabel(k);
  return s;
}

// ---- The fit ---------------------------------------------------------------

// Each label of the main map and the point of the data it stands for: the
// centre of its section's piece (US counties joined where they share a
// border inside the section) or its Canadian place.
struct Fit {
  Placement place;
  std::vector<QPointF> km, px;  // the points (projected) and their labels' centres
};

Fit fitMainMap(const Sources& s, std::map<QString, double>& landKm2, QString* error) {
  const Topology& t = s.topo;
  std::vector<double> km2(t.counties.size(), 0);
  std::vector<QPointF> centroid(t.counties.size());
  for (size_t i = 0; i < t.counties.size(); ++i) {
    double a = 0;
    QPointF m;
    for (const auto& ring : t.counties[i].rings) {
      std::vector<QPointF> pts;
      for (const LonLat& p : t.ring(ring)) pts.push_back(kMainConic(p));
      const double ra = ringArea(pts);
      QPointF rc;
      for (const QPointF& p : pts) rc += p;
      a += ra;
      m += ra * rc / static_cast<double>(pts.size());
    }
    km2[i] = std::fabs(a);  // holes run the other way round
    centroid[i] = a != 0 ? m / a : m;
    if (!s.section[i].isEmpty() && mainState(t.counties[i].fips)) landKm2[s.section[i]] += km2[i];
  }
  std::vector<int> parent(t.counties.size());
  std::iota(parent.begin(), parent.end(), 0);
  std::function<int(int)> root = [&](int i) {
    int& p = parent[static_cast<size_t>(i)];
    return p == i ? i : p = root(p);
  };
  for (const auto& o : s.owners)
    if (o[1] >= 0 && s.section[static_cast<size_t>(o[0])] == s.section[static_cast<size_t>(o[1])])
      parent[static_cast<size_t>(root(o[0]))] = root(o[1]);
  struct Piece {
    QString section;
    double km2 = 0;
    QPointF sum;
    QPointF centre() const { return sum / km2; }
  };
  std::map<int, Piece> pieces;
  for (size_t i = 0; i < t.counties.size(); ++i) {
    if (s.section[i].isEmpty() || !mainState(t.counties[i].fips)) continue;
    Piece& p = pieces[root(static_cast<int>(i))];
    p.section = s.section[i];
    p.km2 += km2[i];
    p.sum += km2[i] * centroid[i];
  }
  auto largest = [&](const QString& sec, size_t n) {
    std::vector<const Piece*> mine;
    for (const auto& [id, p] : pieces)
      if (p.section == sec) mine.push_back(&p);
    std::stable_sort(mine.begin(), mine.end(), [](const Piece* a, const Piece* b) { return a->km2 > b->km2; });
    mine.resize(std::min(n, mine.size()));
    return mine;
  };

  Fit fit;
  std::vector<int> several;  // labels of a section with more than one (Michigan's two)
  for (int k = 0; k < static_cast<int>(kMapLabels.size()); ++k) {
    const bool ontarioAgain = areaOfLabel(k) == QLatin1String("ON") && k != 74;  // the four share one area
    if (insetLabel(k) || ontarioAgain || k == kNwtLabel) continue;
    const QString sec = QLatin1String(kMapLabels[static_cast<size_t>(k)].section);
    const auto place = std::find_if(kCanadaPlaces.begin(), kCanadaPlaces.end(), [k](const Place& p) { return p.label == k; });
    if (place != kCanadaPlaces.end()) {
      fit.km.push_back(kMainConic(place->at));
      fit.px.push_back(centreOf(k));
      continue;
    }
    const auto labels = std::count_if(kMapLabels.begin(), kMapLabels.end(), [&](const MapLabel& l) { return sec == QLatin1String(l.section); });
    const auto mine = largest(sec, 1);
    if (mine.empty()) {
      *error = QStringLiteral("no county of section %1").arg(sec);
      return fit;
    }
    if (labels > 1) {
      several.push_back(k);
      continue;
    }
    fit.km.push_back(mine.front()->centre());
    fit.px.push_back(centreOf(k));
  }
  const std::vector<double> weights(fit.km.size(), 1.0);
  fit.place = fitPlacement(fit.km, fit.px, weights);
  // Each such label takes the nearest of its section's largest pieces.
  for (int k : several) {
    const QString sec = QLatin1String(kMapLabels[static_cast<size_t>(k)].section);
    const Piece* best = nullptr;
    double bestD = 1e18;
    for (const Piece* p : largest(sec, 2)) {
      const QPointF d = fit.place(p->centre()) - centreOf(k);
      if (detmath::hypot(d.x(), d.y()) < bestD) bestD = detmath::hypot(d.x(), d.y()), best = p;
    }
    fit.km.push_back(best->centre());
    fit.px.push_back(centreOf(k));
  }
  fit.place = fitPlacement(fit.km, fit.px, std::vector<double>(fit.km.size(), 1.0));
  return fit;
}

double rmsResidual(const Fit& fit, const std::function<QPointF(QPointF)>& toPixel) {
  double sq = 0;
  for (size_t i = 0; i < fit.km.size(); ++i) {
    const QPointF d = toPixel(fit.km[i]) - fit.px[i];
    sq += d.x() * d.x() + d.y() * d.y();
  }
  return std::sqrt(sq / static_cast<double>(fit.km.size()));
}

// ---- The layout --------------------------------------------------------------

std::vector<QPointF> warped(const Warp& w, const std::vector<QPointF>& pts) {
  std::vector<QPointF> out;
  out.reserve(pts.size());
  for (const QPointF& p : pts) out.push_back(w(p));
  return out;
}

// Everything placed on the picture: the main map's lines in pixels before
// the warps and after them, and each inset's placement.
struct Layout {
  std::vector<std::vector<QPointF>> arcs;  // per county arc; empty: not on the main map
  std::vector<std::vector<QPointF>> canada;
  std::vector<QPointF> places, water;  // kCanadaPlaces, kWaterPlaces
  std::vector<Warp> warps;  // applied in turn
  std::vector<std::vector<QPointF>> warpedArcs, warpedCanada;
  std::vector<Placement> insets;

  QPointF warp(QPointF p) const {
    for (const Warp& w : warps) p = w(p);
    return p;
  }
  void addWarp(Warp w) {
    warps.push_back(std::move(w));
    const Warp& last = warps.back();
    if (warpedArcs.empty()) warpedArcs = arcs, warpedCanada = canada;
    for (auto& a : warpedArcs) a = warped(last, a);
    for (auto& l : warpedCanada) l = warped(last, l);
  }
};

Layout layoutOf(const Sources& s, const Placement& place) {
  Layout layout;
  auto toPixel = [&](LonLat p) { return place(kMainConic(p)); };
  layout.arcs.resize(s.topo.arcs.size());
  for (size_t a = 0; a < s.topo.arcs.size(); ++a) {
    const auto& o = s.owners[a];
    if (o[0] < 0 || !mainState(s.topo.counties[static_cast<size_t>(o[0])].fips)) continue;
    for (const LonLat& p : s.topo.arcs[a]) layout.arcs[a].push_back(toPixel(p));
    layout.arcs[a] = simplified(layout.arcs[a], 0.2);  // finer than the fine grid is wasted
  }
  for (const GeoLine& line : s.canada) {
    std::vector<QPointF> pts;
    for (const LonLat& p : line) pts.push_back(toPixel(p));
    layout.canada.push_back(simplified(pts, 0.2));
  }
  for (const Place& p : kCanadaPlaces) layout.places.push_back(toPixel(p.at));
  for (const LonLat& p : kWaterPlaces) layout.water.push_back(toPixel(p));
  return layout;
}

// An inset's placements, largest first: for each of its places, the scale
// at which the drawing just fits the frame (a pixel clear of the frame line)
// with the place under the label.
std::vector<Placement> insetPlacements(const Topology& t, const Inset& inset) {
  const Conic conic(inset.lon0, 0.0, inset.lat1, inset.lat2);
  std::vector<QPointF> pts;
  for (const County& c : t.counties)
    if (c.fips.startsWith(QLatin1String(inset.state)))
      for (const auto& ring : c.rings)
        if (ringEastEdge(t, ring) >= inset.westEdge)
          for (LonLat p : t.ring(ring)) {
            if (p.lon > 0) p.lon -= 360;
            pts.push_back(conic(p));
          }
  QRectF room = QRectF(inset.frame.adjusted(2, 2, -2, -2));
  const QPointF c = centreOf(inset.label);
  for (const Inset& other : kInsets)  // a frame nested right of the label keeps the drawing left of it
    if (&other != &inset && inset.frame.contains(other.frame) && other.frame.left() > c.x())
      room.setRight(std::min(room.right(), other.frame.left() - 2.0));
  std::vector<Placement> out;
  for (const LonLat& at : inset.places) {
    const QPointF o = conic(at);
    double scale = 1e9;
    for (const QPointF& p : pts) {
      const QPointF d(p.x() - o.x(), o.y() - p.y());  // km right and down from the place
      if (d.x() > 0) scale = std::min(scale, (room.right() - c.x()) / d.x());
      if (d.x() < 0) scale = std::min(scale, (room.left() - c.x()) / d.x());
      if (d.y() > 0) scale = std::min(scale, (room.bottom() - c.y()) / d.y());
      if (d.y() < 0) scale = std::min(scale, (room.top() - c.y()) / d.y());
    }
    out.push_back({scale, c.x() - scale * o.x(), c.y() + scale * o.y()});
  }
  std::stable_sort(out.begin(), out.end(), [](const Placement& a, const Placement& b) { return a.scale > b.scale; });
  return out;
}

// ---- Drawing -----------------------------------------------------------------

// The drawing is made on a fine grid, three by three cells per pixel, and
// then sampled at each pixel's centre: a narrow island or strait a pixel or
// two wide keeps an area of its own instead of collapsing into a blot of ink.
constexpr int kFine = 3;
constexpr int kFW = kW * kFine, kFH = kH * kFine;
constexpr int kFrameArea = -2;  // the area number of frame pixels

QPoint pixelOfCell(QPoint cell) { return {cell.x() / kFine, cell.y() / kFine}; }

std::vector<QPointF> toCells(const std::vector<QPointF>& pts) {
  std::vector<QPointF> out;
  out.reserve(pts.size());
  for (const QPointF& p : pts) out.push_back(p * kFine);
  return out;
}

// Fills the owner grid (fine cells) with the area number of each county's
// section over the cells whose centres it covers, where the pixel is allowed.
void fillCounties(std::vector<int>& owner, const Sources& s, const std::function<bool(const County&)>& onMap,
                  const std::function<bool(const std::vector<int>&)>& ringShown,
                  const std::function<std::vector<QPointF>(int)>& arcPixels, const std::function<bool(QPoint)>& allowed) {
  const Topology& t = s.topo;
  for (size_t i = 0; i < t.counties.size(); ++i) {
    const County& c = t.counties[i];
    if (s.section[i].isEmpty() || !onMap(c)) continue;
    std::vector<std::vector<QPointF>> rings;
    for (const auto& ring : c.rings) {
      if (!ringShown(ring)) continue;
      std::vector<QPointF> pts;
      for (int ref : ring) {
        std::vector<QPointF> a = toCells(arcPixels(ref < 0 ? ~ref : ref));
        if (ref < 0) std::reverse(a.begin(), a.end());
        pts.insert(pts.end(), a.begin() + (pts.empty() ? 0 : 1), a.end());
      }
      rings.push_back(std::move(pts));
    }
    const int id = static_cast<int>(s.areas.indexOf(s.section[i]));
    fillRings(rings, kFW, kFH, [&](QPoint cell) {
      if (allowed(pixelOfCell(cell))) owner[static_cast<size_t>(cell.y() * kFW + cell.x())] = id;
    });
  }
}

// Canada's lines, except where they run along the US (there the county
// outlines are the border): a line cut short there is joined to the nearest
// US outline, so no area is left open.
void drawCanada(Canvas& canvas, const Canvas& usInk, const std::vector<std::uint8_t>& nearUs,
                const std::vector<std::vector<QPointF>>& lines) {
  constexpr int reach = 4 * kFine;
  auto nearestUsInk = [&](QPoint from) -> std::optional<QPoint> {
    std::optional<QPoint> best;
    int bestD = 1 << 30;
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx) {
        const QPoint q = from + QPoint(dx, dy);
        if (usInk.ink(q) && dx * dx + dy * dy < bestD) bestD = dx * dx + dy * dy, best = q;
      }
    return best;
  };
  for (const auto& pixels : lines) {
    const std::vector<QPointF> line = toCells(pixels);
    std::vector<QPoint> path;
    for (size_t i = 1; i < line.size(); ++i)
      for (const QPoint& p : linePixels(pixelOf(line[i - 1]), pixelOf(line[i])))
        if (path.empty() || path.back() != p) path.push_back(p);
    auto suppressed = [&](size_t i) { return !canvas.contains(path[i]) || nearUs[canvas.index(path[i])] != 0; };
    for (size_t i = 0; i < path.size(); ++i) {
      if (suppressed(i)) continue;
      canvas.dot(path[i]);
      const bool cutBefore = i > 0 && suppressed(i - 1) && canvas.contains(path[i - 1]);
      const bool cutAfter = i + 1 < path.size() && suppressed(i + 1) && canvas.contains(path[i + 1]);
      if (cutBefore || cutAfter)
        if (const auto to = nearestUsInk(path[i])) canvas.line(path[i], *to);
    }
  }
}

void drawFrames(Canvas& canvas, int cell) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (onFrame({x, y}))
        for (int dy = 0; dy < cell; ++dy)
          for (int dx = 0; dx < cell; ++dx) canvas.dot({x * cell + dx, y * cell + dy});
}

// Anchors of the US sections: for each piece of a section (its pixels by
// the county polygons, not by the drawing), the pixel deepest inside.
void usAnchors(const std::vector<int>& owner, const QStringList& areas, std::vector<Anchor>& out) {
  std::vector<std::uint8_t> seen(owner.size(), 0);
  std::vector<QPoint> piece;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const size_t i = static_cast<size_t>(y * kW + x);
      if (owner[i] < 0 || seen[i]) continue;
      const int id = owner[i];
      piece.assign(1, QPoint(x, y));
      seen[i] = 1;
      QRect box(x, y, 1, 1);
      for (size_t n = 0; n < piece.size(); ++n) {
        box = box.united(QRect(piece[n], piece[n]));
        for (const QPoint& d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
          const QPoint q = piece[n] + d;
          if (q.x() < 0 || q.y() < 0 || q.x() >= kW || q.y() >= kH) continue;
          const size_t j = static_cast<size_t>(q.y() * kW + q.x());
          if (seen[j] || owner[j] != id) continue;
          seen[j] = 1;
          piece.push_back(q);
        }
      }
      if (piece.size() < 8) continue;  // a speck of an island: no area of its own
      const int bw = box.width() + 2, bh = box.height() + 2;
      std::vector<std::uint8_t> mask(static_cast<size_t>(bw * bh), 0);
      for (const QPoint& p : piece) mask[static_cast<size_t>((p.y() - box.top() + 1) * bw + p.x() - box.left() + 1)] = 1;
      const std::vector<int> depth = depthInside(mask, bw, bh);
      const size_t best = static_cast<size_t>(std::max_element(depth.begin(), depth.end()) - depth.begin());
      out.push_back({areas[id], QPoint(static_cast<int>(best % static_cast<size_t>(bw)) + box.left() - 1,
                                       static_cast<int>(best / static_cast<size_t>(bw)) + box.top() - 1)});
    }
}

struct Drawing {
  Canvas canvas{kW, kH};
  std::vector<Anchor> anchors;
};

Drawing render(const Sources& s, const Layout& layout) {
  Drawing d;
  std::vector<int> owner(static_cast<size_t>(kFW * kFH), -1);
  // The US: the main map outside the insets, each inset inside its frame.
  auto every = [](const std::vector<int>&) { return true; };
  auto mainArc = [&](int a) { return layout.warpedArcs[static_cast<size_t>(a)]; };
  fillCounties(owner, s, [](const County& c) { return mainState(c.fips); }, every, mainArc, [](QPoint p) { return !inInset(p); });
  for (size_t i = 0; i < kInsets.size(); ++i) {
    const Inset& inset = kInsets[i];
    const Conic conic(inset.lon0, 0.0, inset.lat1, inset.lat2);
    auto arc = [&](int a) {
      std::vector<QPointF> out;
      for (LonLat p : s.topo.arcs[static_cast<size_t>(a)]) {
        if (p.lon > 0) p.lon -= 360;  // the Aleutians beyond the date line
        out.push_back(layout.insets[i](conic(p)));
      }
      return out;
    };
    auto onMap = [&](const County& c) { return c.fips.startsWith(QLatin1String(inset.state)); };
    auto ringShown = [&](const std::vector<int>& ring) { return ringEastEdge(s.topo, ring) >= inset.westEdge; };
    fillCounties(owner, s, onMap, ringShown, arc, [&inset](QPoint p) { return insetDraws(inset, p); });
  }
  Canvas us(kFW, kFH);
  outline(us, owner, kFrameArea);
  // Canada, joined to the US outline where it meets it.
  std::vector<std::uint8_t> nearUs(owner.size(), 0);
  for (int y = 0; y < kFH; ++y)
    for (int x = 0; x < kFW; ++x) {
      if (!us.ink({x, y}) && owner[us.index({x, y})] < 0) continue;
      for (int dy = -kFine; dy <= kFine; ++dy)
        for (int dx = -kFine; dx <= kFine; ++dx)
          if (us.contains({x + dx, y + dy})) nearUs[us.index({x + dx, y + dy})] = 1;
    }
  Canvas fine = us;
  fine.setClip([](QPoint cell) { return !inInset(pixelOfCell(cell)); });
  drawCanada(fine, us, nearUs, layout.warpedCanada);
  fine.setClip({});
  drawFrames(fine, kFine);
  // Each pixel takes the area under its centre; outlines are drawn between
  // areas and thinned.
  const std::vector<int> fineAreas = areasOf(fine);
  std::vector<int> area(static_cast<size_t>(kW * kH)), usOwner(static_cast<size_t>(kW * kH));
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const size_t centre = static_cast<size_t>((y * kFine + kFine / 2) * kFW + x * kFine + kFine / 2);
      const size_t i = static_cast<size_t>(y * kW + x);
      area[i] = onFrame({x, y}) ? kFrameArea : fineAreas[centre];
      usOwner[i] = owner[centre];
    }
  std::vector<std::uint8_t> underLabel(area.size(), 0);
  for (const MapLabel& l : kMapLabels) underLabel[static_cast<size_t>(labelCentre(l).y() * kW + labelCentre(l).x())] = 1;
  dropSpecks(area, kW, kH, 5, [&](QPoint p) { return underLabel[static_cast<size_t>(p.y() * kW + p.x())] != 0; });
  outline(d.canvas, area, kFrameArea);
  drawFrames(d.canvas, 1);
  slim(d.canvas, onFrame);

  usAnchors(usOwner, s.areas, d.anchors);
  for (size_t i = 0; i < kCanadaPlaces.size(); ++i) {
    QPoint p = pixelOf(layout.warp(layout.places[i]));
    // A place a pixel off a narrow island's outline still names the island.
    for (int r = 1; r <= 2 && d.canvas.ink(p); ++r)
      for (int dy = -r; dy <= r && d.canvas.ink(p); ++dy)
        for (int dx = -r; dx <= r; ++dx)
          if (d.canvas.contains(p + QPoint(dx, dy)) && !d.canvas.ink(p + QPoint(dx, dy))) {
            p += QPoint(dx, dy);
            break;
          }
    const Place& place = kCanadaPlaces[i];
    const QString name = QLatin1String(place.section) == QLatin1String("ONN") ? QStringLiteral("ON") : QString::fromLatin1(place.section);
    if (d.canvas.contains(p) && !inInset(p)) d.anchors.push_back({name, p, place.label});
  }
  for (const QPointF& w : layout.water) {
    const QPoint p = pixelOf(layout.warp(w));
    if (d.canvas.contains(p) && !inInset(p) && !d.canvas.ink(p)) d.anchors.push_back({kWater, p, -1});
  }
  return d;
}

// ---- Labels ------------------------------------------------------------------

// The labels whose fill does not stay in an area of their own (one that
// holds anchors of their area and of no other, not shared with another
// label of the same section, the very area a Canadian label names), and for
// each the nearest pixel that would do, clear of outlines and of other
// labels' centres.
struct LabelCheck {
  std::vector<int> failing;
  std::vector<QPoint> target;  // per label; QPoint() when none was found
};

LabelCheck checkLabels(const Drawing& d, bool insets) {
  int count = 0;
  const std::vector<int> areas = whiteAreas(d.canvas, &count);
  std::vector<QSet<QString>> holds(static_cast<size_t>(count));
  std::vector<QSet<int>> meantFor(static_cast<size_t>(count));
  for (const Anchor& a : d.anchors) {
    const int id = areas[d.canvas.index(a.at)];
    if (id < 0) continue;
    holds[static_cast<size_t>(id)].insert(a.area);
    if (a.label >= 0) meantFor[static_cast<size_t>(id)].insert(a.label);
  }
  std::vector<QString> sole(static_cast<size_t>(count));  // the one area an area's anchors name
  for (size_t i = 0; i < holds.size(); ++i)
    if (holds[i].size() == 1) sole[i] = *holds[i].begin();
  std::vector<std::uint8_t> white(areas.size());
  for (size_t i = 0; i < areas.size(); ++i) white[i] = areas[i] >= 0;
  const std::vector<int> depth = depthInside(white, kW, kH);
  std::vector<bool> placed(kMapLabels.size(), false);
  for (const Place& p : kCanadaPlaces)
    if (p.label >= 0) placed[static_cast<size_t>(p.label)] = true;

  LabelCheck check;
  check.target.assign(kMapLabels.size(), QPoint());
  for (int k = 0; k < static_cast<int>(kMapLabels.size()); ++k) {
    if (insets != insetLabel(k)) continue;
    const QPoint c = labelCentre(kMapLabels[static_cast<size_t>(k)]);
    const QString own = areaOfLabel(k);
    std::vector<int> taken;  // areas under the other labels of the section
    for (int o = 0; o < static_cast<int>(kMapLabels.size()); ++o)
      if (o != k && areaOfLabel(o) == own && own != QLatin1String("ON") && k != kNwtLabel && o != kNwtLabel)
        taken.push_back(areas[d.canvas.index(labelCentre(kMapLabels[static_cast<size_t>(o)]))]);
    auto good = [&](QPoint p) {
      const int id = areas[d.canvas.index(p)];
      if (id < 0 || sole[static_cast<size_t>(id)] != own) return false;
      if (placed[static_cast<size_t>(k)] && !meantFor[static_cast<size_t>(id)].contains(k)) return false;
      return std::find(taken.begin(), taken.end(), id) == taken.end();
    };
    if (good(c)) continue;
    check.failing.push_back(k);
    auto free = [&](QPoint p) {
      for (const MapLabel& l : kMapLabels) {
        const QPoint oc = labelCentre(l);
        if (oc != c && std::abs(oc.x() - p.x()) <= 2 && std::abs(oc.y() - p.y()) <= 2) return false;
      }
      return true;
    };
    double best = 1e18;
    for (int minDepth : {6, 3}) {  // two pixels clear of the outline, else one
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const QPoint p(x, y);
          if (depth[d.canvas.index(p)] < minDepth || inInset(p) != insets || !good(p)) continue;
          const double dist = detmath::hypot(x - c.x(), y - c.y());
          if (dist < best && free(p)) best = dist, check.target[static_cast<size_t>(k)] = p;
        }
      if (best < 1e17) break;
    }
  }
  return check;
}

}  // namespace

MapBuild build(const QString& countyData) {
  MapBuild out;
  auto sources = readSources(countyData, &out.error);
  if (!sources) return out;
  const Sources& s = *sources;

  const Fit fit = fitMainMap(s, out.landKm2, &out.error);
  if (!out.error.isEmpty()) return out;
  out.notes << QStringLiteral("fit: %1 km per pixel, residual %2 pixels (root mean square over %3 labels)")
                   .arg(1 / fit.place.scale, 0, 'f', 2)
                   .arg(rmsResidual(fit, fit.place), 0, 'f', 1)
                   .arg(fit.km.size());
  Layout layout = layoutOf(s, fit.place);
  std::vector<std::vector<Placement>> insetChoices;
  for (const Inset& inset : kInsets) {
    insetChoices.push_back(insetPlacements(s.topo, inset));
    layout.insets.push_back(insetChoices.back().front());
  }

  // A smooth regional correction towards the labels' centres: a regularised
  // thin-plate spline over the fit's residuals.
  {
    std::vector<QPointF> from;
    for (const QPointF& k : fit.km) from.push_back(fit.place(k));
    layout.addWarp(Warp(from, fit.px, kRegionalSmoothing));
    out.notes << QStringLiteral("regional correction: residual %1 pixels").arg(rmsResidual(fit, [&](QPointF k) { return layout.warp(fit.place(k)); }), 0, 'f', 1);
  }

  // Where a label's centre still misses its area, the drawing moves under
  // it: a warp takes the nearest good pixel to the label's centre and keeps
  // every other label's centre where it is.
  Drawing d = render(s, layout);
  for (int round = 0; round < 8; ++round) {
    const LabelCheck check = checkLabels(d, false);
    if (check.failing.empty()) break;
    std::vector<QPointF> from, to;
    QSet<QPair<int, int>> done;
    for (int k = 0; k < static_cast<int>(kMapLabels.size()); ++k) {
      const QPoint c = labelCentre(kMapLabels[static_cast<size_t>(k)]);
      if (insetLabel(k) || done.contains({c.x(), c.y()})) continue;
      done.insert({c.x(), c.y()});
      const QPoint target = check.target[static_cast<size_t>(k)];
      const bool moves = std::find(check.failing.begin(), check.failing.end(), k) != check.failing.end() && target != QPoint();
      if (moves)
        out.notes << QStringLiteral("round %1: the drawing under %2 (label %3) moved by %4,%5")
                         .arg(round)
                         .arg(QLatin1String(kMapLabels[static_cast<size_t>(k)].section))
                         .arg(k)
                         .arg(c.x() - target.x())
                         .arg(c.y() - target.y());
      from.push_back(moves ? QPointF(target) + QPointF(0.5, 0.5) : centreOf(k));
      to.push_back(centreOf(k));
    }
    layout.addWarp(Warp(from, to));
    d = render(s, layout);
  }
  out.notes << QStringLiteral("warps: least Jacobian %1 (above zero: the map never folds)")
                   .arg(leastJacobian([&](QPointF p) { return layout.warp(p); }, kW, kH, 4), 0, 'f', 2);

  // Each inset takes the largest of its placements that puts its label on
  // its territory.
  for (size_t i = 0; i < kInsets.size(); ++i) {
    auto missed = [&] {
      const std::vector<int> failing = checkLabels(d, true).failing;
      return std::find(failing.begin(), failing.end(), kInsets[i].label) != failing.end();
    };
    for (size_t choice = 1; choice < insetChoices[i].size() && missed(); ++choice) {
      layout.insets[i] = insetChoices[i][choice];
      d = render(s, layout);
    }
    out.notes << QStringLiteral("inset %1: %2 km per pixel").arg(QLatin1String(kInsets[i].state)).arg(1 / layout.insets[i].scale, 0, 'f', 1);
  }

  out.picture = QImage(kW, kH, QImage::Format_RGB888);
  out.picture.fill(Qt::white);
  for (int y = 0; y < kH; ++y) {
    uchar* row = out.picture.scanLine(y);
    for (int x = 0; x < kW; ++x)
      if (d.canvas.ink({x, y})) row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = 0;
  }
  out.anchors = d.anchors;
  QStringList missing;
  for (bool insets : {false, true})
    for (int k : checkLabels(d, insets).failing) missing << QStringLiteral("%1 (label %2)").arg(QLatin1String(kMapLabels[static_cast<size_t>(k)].section)).arg(k);
  if (!missing.isEmpty()) out.error = QStringLiteral("labels outside their areas: %1").arg(missing.join(QStringLiteral(", ")));
  return out;
}

}  // namespace fd::mapgen
