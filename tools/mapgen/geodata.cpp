#include "mapgen/geodata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace fd::mapgen {

GeoLine Topology::ring(const std::vector<int>& refs) const {
  GeoLine out;
  for (int ref : refs) {
    const bool backwards = ref < 0;
    const GeoLine& arc = arcs[static_cast<size_t>(backwards ? ~ref : ref)];
    const size_t n = arc.size();
    for (size_t i = out.empty() ? 0 : 1; i < n; ++i) out.push_back(arc[backwards ? n - 1 - i : i]);
  }
  return out;
}

namespace {

std::vector<int> refsOf(const QJsonArray& a) {
  std::vector<int> out;
  out.reserve(static_cast<size_t>(a.size()));
  for (const QJsonValue& v : a) out.push_back(v.toInt());
  return out;
}

}  // namespace

std::optional<Topology> readTopology(const QString& path, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("cannot read %1 (installed by `scripts/install-deps test`)").arg(path);
    return std::nullopt;
  }
  QJsonParseError parse{};
  const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parse);
  const QJsonObject root = doc.object();
  const QJsonObject transform = root.value(QLatin1String("transform")).toObject();
  const QJsonArray scale = transform.value(QLatin1String("scale")).toArray();
  const QJsonArray translate = transform.value(QLatin1String("translate")).toArray();
  const QJsonArray counties =
      root.value(QLatin1String("objects")).toObject().value(QLatin1String("counties")).toObject().value(QLatin1String("geometries")).toArray();
  if (parse.error != QJsonParseError::NoError || scale.size() != 2 || translate.size() != 2 || counties.isEmpty()) {
    *error = QStringLiteral("%1 is not the county topology (%2)").arg(path, parse.errorString());
    return std::nullopt;
  }
  Topology t;
  // Quantized arcs: each point is the sum of the deltas before it.
  const double sx = scale[0].toDouble(), sy = scale[1].toDouble();
  const double tx = translate[0].toDouble(), ty = translate[1].toDouble();
  for (const QJsonValue& arcValue : root.value(QLatin1String("arcs")).toArray()) {
    GeoLine arc;
    long long x = 0, y = 0;
    for (const QJsonValue& p : arcValue.toArray()) {
      const QJsonArray d = p.toArray();
      x += d[0].toInteger();
      y += d[1].toInteger();
      arc.push_back({static_cast<double>(x) * sx + tx, static_cast<double>(y) * sy + ty});
    }
    t.arcs.push_back(std::move(arc));
  }
  for (const QJsonValue& gv : counties) {
    const QJsonObject g = gv.toObject();
    County c;
    c.fips = g.value(QLatin1String("id")).toString();
    c.name = g.value(QLatin1String("properties")).toObject().value(QLatin1String("name")).toString();
    const QString type = g.value(QLatin1String("type")).toString();
    const QJsonArray arcs = g.value(QLatin1String("arcs")).toArray();
    if (type == QLatin1String("Polygon")) {
      for (const QJsonValue& r : arcs) c.rings.push_back(refsOf(r.toArray()));
    } else if (type == QLatin1String("MultiPolygon")) {
      for (const QJsonValue& poly : arcs)
        for (const QJsonValue& r : poly.toArray()) c.rings.push_back(refsOf(r.toArray()));
    }
    for (const auto& ring : c.rings)
      for (int ref : ring)
        if ((ref < 0 ? ~ref : ref) >= static_cast<int>(t.arcs.size())) {
          *error = QStringLiteral("%1: county %2 names a missing arc").arg(path, c.fips);
          return std::nullopt;
        }
    t.counties.push_back(std::move(c));
  }
  return t;
}

namespace {

// gmt takes settings from a gmt.conf in its working folder, in its user
// folder (GMT_USERDIR, else ~/.gmt) and in the home folder, and from GMT_*
// variables: none of the user's may reach the picture. It runs in an empty
// folder of its own (where it would also leave its history file), which is
// its home and user folder too, with no GMT_* variable of the environment.
QProcessEnvironment gmtEnvironment(const QString& work) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const QString& key : env.keys())
    if (key.startsWith(QLatin1String("GMT_"))) env.remove(key);
  env.insert(QStringLiteral("HOME"), work);
  env.insert(QStringLiteral("GMT_USERDIR"), work);
  return env;
}

// Runs gmt with ARGS; its standard output, or empty with *error set.
std::optional<QByteArray> runGmt(const QStringList& args, QString* error) {
  QTemporaryDir work;
  QProcess gmt;
  gmt.setWorkingDirectory(work.path());
  gmt.setProcessEnvironment(gmtEnvironment(work.path()));
  gmt.start(QStringLiteral("gmt"), args);
  if (!gmt.waitForFinished(60000) || gmt.exitStatus() != QProcess::NormalExit || gmt.exitCode() != 0) {
    *error = QStringLiteral("gmt %1 failed (gmt and gmt-gshhg-low are installed by `scripts/install-deps test`): %2 %3")
                 .arg(args.join(QLatin1Char(' ')), gmt.errorString(), QString::fromLocal8Bit(gmt.readAllStandardError()));
    gmt.kill();
    gmt.waitForFinished(2000);
    return std::nullopt;
  }
  return gmt.readAllStandardOutput();
}

// The first line a program writes, or "none" when it cannot run.
QString firstLineOf(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    p.kill();
    p.waitForFinished(2000);
    return QStringLiteral("none");
  }
  const QString line = QString::fromLocal8Bit(p.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
  return line.isEmpty() ? QStringLiteral("none") : line;
}

}  // namespace

std::optional<std::vector<GeoLine>> readGmtCoast(const QStringList& args, QString* error) {
  const auto out = runGmt(QStringList{QStringLiteral("coast")} + args +
                              QStringList{QStringLiteral("-M"), QStringLiteral("--GMT_HISTORY=false")},
                          error);
  if (!out) return std::nullopt;
  std::vector<GeoLine> lines;
  for (const QByteArray& raw : out->split('\n')) {
    const QByteArray line = raw.trimmed();
    if (line.isEmpty()) continue;
    if (line.startsWith('>')) {
      lines.emplace_back();
      continue;
    }
    const QList<QByteArray> f = line.simplified().split(' ');
    bool okLon = false, okLat = false;
    const LonLat p{f.value(0).toDouble(&okLon), f.value(1).toDouble(&okLat)};
    if (!okLon || !okLat) {
      *error = QStringLiteral("gmt coast wrote an unreadable line: %1").arg(QString::fromLatin1(line));
      return std::nullopt;
    }
    if (lines.empty()) lines.emplace_back();
    lines.back().push_back(p);
  }
  std::erase_if(lines, [](const GeoLine& l) { return l.size() < 2; });
  if (lines.empty()) {
    *error = QStringLiteral("gmt coast %1 wrote no lines").arg(args.join(QLatin1Char(' ')));
    return std::nullopt;
  }
  return lines;
}

QString sourceVersions(const QString& countyData) {
  QTemporaryDir work;
  const QString gmt = firstLineOf(QStringLiteral("gmt"), {QStringLiteral("--version")}, gmtEnvironment(work.path()));
  const QString gshhg = firstLineOf(QStringLiteral("dpkg-query"),
                                    {QStringLiteral("-W"), QStringLiteral("-f=${Version}"), QStringLiteral("gmt-gshhg-low")},
                                    QProcessEnvironment::systemEnvironment());
  QString atlas = QStringLiteral("none");
  QFile json(QFileInfo(countyData).dir().filePath(QStringLiteral("package.json")));
  if (json.open(QIODevice::ReadOnly)) {
    const QString v = QJsonDocument::fromJson(json.readAll()).object().value(QStringLiteral("version")).toString();
    if (!v.isEmpty()) atlas = v;
  }
  return QStringLiteral("gmt %1, gmt-gshhg-low %2, us-atlas %3").arg(gmt, gshhg, atlas);
}

}  // namespace fd::mapgen
