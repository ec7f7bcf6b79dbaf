// The radio link's files, the first byte choosing the reader (the rest is the
// file): RigCntrl.txt (read, written and read again gives the same values),
// BandPlan.txt as the rig window and the privileges chart load it (the
// chart's segment geometry included), and the Pegasus control program's
// PEGASUS.OUT (its frequency goes to CurFreq).
#include <QDir>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzzsupport.h"
#include "readbackcheck.h"
#include "rig/bandplan.h"
#include "rig/catparse.h"
#include "rig/rigsettings.h"

using namespace fd;

namespace {

bool same(const rig::RigFile& a, const rig::RigFile& b) {
  const rig::RigSettings &x = a.settings, &y = b.settings;
  return x.Baud == y.Baud && x.Parity == y.Parity && x.DataBits == y.DataBits && x.StopBits == y.StopBits &&
         x.ModeRequest == y.ModeRequest && x.FreqRequest == y.FreqRequest && x.PortSettings == y.PortSettings &&
         x.PortNumber == y.PortNumber && x.PowerLine == y.PowerLine && x.PollRate == y.PollRate &&
         a.rigType == b.rigType && a.convToHex == b.convToHex && a.useFrequency == b.useFrequency &&
         a.modeBy == b.modeBy;
}

void rigFile(const QByteArray& bytes) {
  const QString path = fuzz::writeScratch("RigCntrl.txt", bytes);
  rig::RigFile first;
  first.rigType = QStringLiteral("None");
  rig::loadRigFile(path, first);
  fuzz::check(first.valuesRead >= 0 && first.valuesRead <= 14, "at most fourteen values are read");
  fuzz::check(first.settings.Baud.size() == 5, "the baud field is five characters");
  const QString again = fuzz::scratchPath("RigCntrl2.txt");
  fuzz::check(rig::saveRigFile(again, first).ok, "the settings are written");
  rig::RigFile second;
  rig::loadRigFile(again, second);
  fuzz::check(second.valuesRead == 14, "a written file holds all fourteen values");
  fuzz::check(same(first, second), "read, write, read gives the same values");
}

void bandPlan(const QByteArray& bytes) {
  const QString path = fuzz::writeScratch("BandPlan.txt", bytes);
  const rig::BandPlanFile f = rig::readBandPlan(path);
  fuzz::check(f.opened, "the file opens");
  fuzz::check(f.records.size() <= 200, "at most 200 records");
  // The rig window: the extra class's records pick a mode for a new frequency.
  const QList<rig::BandPlanEntry> extra = rig::extraRecords(f);
  for (const rig::BandPlanEntry& e : extra) {
    fuzz::check(e.cls == u"E", "only class E records");
    for (float mhz : {e.low, e.high, (e.low + e.high) / 2, 14.025f}) {
      QString mode;
      rig::ModeFromBandPlan(extra, mhz, mode);
    }
  }
  // The privileges chart, for the classes it draws.
  for (const char* cls : {"E", "A", "G", "T", "N"}) {
    const QList<rig::PrivilegeRow> rows = rig::privilegeRows(f.records, QLatin1String(cls));
    fuzz::check(rows.size() <= 20, "at most twenty chart rows");
    for (const rig::PrivilegeRow& r : rows) {
      fuzz::check(r.high != r.low, "a chart row spans its band");
      rig::edgeText(r.low);
      rig::edgeText(r.high);
      for (const rig::PrivilegeRow::Segment& seg : r.segments) {
        const rig::SegmentPlace place = rig::segmentPlace(r, seg, 96, 1632);
        fuzz::check(std::abs(place.left) <= 1000000 && std::abs(place.width) <= 1000000,
                    "a segment stays within reach of the screen");
      }
    }
  }
}

void pegasus(const QByteArray& bytes) {
  static const QString folder = [] {
    const QString home = fuzz::scratchPath("home");
    QDir().mkpath(home + QStringLiteral("/Pegasus"));
    setenv("HOME", home.toLocal8Bit().constData(), 1);
    return QDir(cat::pegasusFolder()).filePath(QStringLiteral("PEGASUS.OUT"));
  }();
  QFile out(folder);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size()) std::abort();
  out.close();
  cat::RigValues v;
  cat::ReadPegasusStatus(v);
  fuzz::checkReadBack(v.freq);
  fuzz::check(v.mode.isEmpty() || v.mode == u"CW" || v.mode == u"PH", "the mode is CW or PH");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  if (size < 1) return 0;
  const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  switch (data[0] % 3) {
    case 0: rigFile(rest); break;
    case 1: bandPlan(rest); break;
    case 2: pegasus(rest); break;
  }
  return 0;
}
