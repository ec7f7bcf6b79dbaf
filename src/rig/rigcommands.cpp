#include "rig/rigcommands.h"

#include <cmath>

#include "platform/numtext.h"

namespace fd::rig {
namespace {

// Digit text of N, zero-padded; nullopt when N does not fit or is not above 0.
std::optional<QString> digitText(float mhz, double scale, int digits, int base = 10) {
  const double n = std::nearbyint(static_cast<double>(mhz) * scale);
  if (!(n > 0)) return std::nullopt;
  const QString d = QString::number(static_cast<qulonglong>(n), base).toUpper();
  if (d.size() > digits) return std::nullopt;
  return d.rightJustified(digits, u'0');
}

QString reversedPairs(const QString& d) {
  QString out;
  for (qsizetype i = d.size() - 2; i >= 0; i -= 2) out += d.mid(i, 2);
  return out;
}

// The CI-V address: characters 7 and 8 of the frequency request, two hex digits.
std::optional<QString> civAddress(const cat::Requests& r) {
  const QString a = r.freq.mid(6, 2);
  bool ok = false;
  a.toInt(&ok, 16);
  if (a.size() != 2 || !ok || a.contains(u'+') || a.contains(u'-')) return std::nullopt;
  return a;
}

std::optional<QByteArray> bytes(const QString& hexPairs) {
  const QByteArray b = HexPairsToBytes(hexPairs);
  if (b.isEmpty()) return std::nullopt;
  return b;
}

}  // namespace

QByteArray HexPairsToBytes(const QString& text) {
  QByteArray out;
  for (qsizetype i = 0; i < text.size(); i += 2) {
    const QString pair = text.mid(i, 2);
    bool ok = false;
    const int b = pair.toInt(&ok, 16);
    if (!ok || pair.contains(u' ') || pair.contains(u'+') || pair.contains(u'-')) return {};
    out.append(static_cast<char>(b));
  }
  return out;
}

std::optional<QByteArray> frequencyCommand(const RigFamily& f, float mhz, const cat::Requests& r, int vfo) {
  const double scale = f.tensOfHz ? 100000.0 : 1000000.0;
  switch (f.freqCmd) {
    case FreqCmd::None:
    case FreqCmd::Pegasus: return std::nullopt;
    case FreqCmd::KenwoodMarker:
    case FreqCmd::FTdxMarker: {
      const auto d = digitText(mhz, scale, f.digits);
      const QString marker = r.freq.left(2);
      if (!d || marker.size() < 2) return std::nullopt;
      return (marker + *d + u';').toLatin1();
    }
    case FreqCmd::KenwoodVfo:
    case FreqCmd::ElecraftFA: {
      const auto d = digitText(mhz, scale, f.digits);
      if (!d) return std::nullopt;
      const QString marker = f.freqCmd == FreqCmd::KenwoodVfo && vfo == 1 ? QStringLiteral("FB") : QStringLiteral("FA");
      return (marker + *d + u';').toLatin1();
    }
    case FreqCmd::Civ: {
      const auto d = digitText(mhz, scale, f.digits);
      const auto a = civAddress(r);
      if (!d || !a) return std::nullopt;
      return bytes(QStringLiteral("FEFE") + *a + QStringLiteral("E005") + reversedPairs(*d) + QStringLiteral("FD"));
    }
    case FreqCmd::YaesuBcd: {
      const auto d = digitText(mhz, scale, f.digits);
      if (!d) return std::nullopt;
      return bytes(*d + QStringLiteral("01"));
    }
    case FreqCmd::YaesuReversed: {
      const auto d = digitText(mhz, scale, f.digits);
      if (!d) return std::nullopt;
      return bytes(reversedPairs(*d) + QStringLiteral("0A"));
    }
    case FreqCmd::PanelHex: {
      const auto h = digitText(mhz, scale, f.digits, 16);
      if (!h) return std::nullopt;
      return bytes(QStringLiteral("2A41") + *h + QStringLiteral("0D"));
    }
    case FreqCmd::OrionHz: {
      // Whole hertz, as the radio's own answers carry.
      const auto d = digitText(mhz, 1000000.0, 10);
      if (!d) return std::nullopt;
      return QByteArray("*AF") + QByteArray::number(d->toLongLong()) + '\r';
    }
  }
  return std::nullopt;
}

std::optional<QByteArray> modeCommand(const RigFamily& f, const QString& mode, const cat::Requests& r) {
  struct Row { const char* mode; const char* kenwood; const char* ftdx; const char* civ; const char* yaesu; const char* old; };
  static const Row rows[] = {
      {"LSB", "MD1;", "1", "E00600FD", "0000000007", "000000000C"},
      {"USB", "MD2;", "2", "E00601FD", "0100000007", "000000010C"},
      {"CW", "MD3;", "3", "E00603FD", "0200000007", "000000020C"},
      {"CW-R", nullptr, "7", "E00607FD", nullptr, "000000030C"},
      {"FM", "MD4;", "4", "E00605FD", "0800000007", "000000060C"},
      {"AM", "MD5;", "5", "E00602FD", "0400000007", "000000040C"},
      {"RTTY", "MD6;", "6", "E00604FD", "0A00000007", "000000080C"},
      {"RTTY-R", nullptr, nullptr, "E00608FD", nullptr, nullptr},
      {"FSK", "MD6;", nullptr, nullptr, nullptr, nullptr},
      {"DIG", nullptr, nullptr, nullptr, "0A00000007", nullptr},
      {"PKT", nullptr, nullptr, nullptr, "0C00000007", "0000000A0C"},
  };
  const Row* row = nullptr;
  for (const Row& x : rows)
    if (mode == QLatin1String(x.mode)) row = &x;
  if (!row) return std::nullopt;
  switch (f.modeCmd) {
    case ModeCmd::None: return std::nullopt;
    case ModeCmd::Kenwood:
      if (!row->kenwood) return std::nullopt;
      return QByteArray(row->kenwood);
    case ModeCmd::FTdx: {
      const QString prefix = r.mode.left(3);
      if (!row->ftdx || prefix.size() < 3) return std::nullopt;
      return (prefix + QLatin1String(row->ftdx) + u';').toLatin1();
    }
    case ModeCmd::Civ: {
      const auto a = civAddress(r);
      if (!row->civ || !a) return std::nullopt;
      return bytes(QStringLiteral("FEFE") + *a + QLatin1String(row->civ));
    }
    case ModeCmd::Yaesu:
      if (!row->yaesu) return std::nullopt;
      return bytes(QLatin1String(row->yaesu));
    case ModeCmd::YaesuOld:
      if (!row->old) return std::nullopt;
      return bytes(QLatin1String(row->old));
  }
  return std::nullopt;
}

QByteArray pegasusCommandFile(float mhz, const QString& mode) {
  return (numtext::fromSingle(mhz) + QStringLiteral("\r\n") + mode.trimmed() + QStringLiteral("\r\n")).toLatin1();
}

}  // namespace fd::rig
