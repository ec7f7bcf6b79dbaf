#include "rig/catparse.h"

#include <QDir>
#include <QFile>
#include <cmath>

#include "platform/items.h"

namespace fd::cat {
namespace {

bool allDigits(const QByteArray& s) {
  if (s.isEmpty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A BCD digit text: every nibble 0-9.
bool bcdOk(const QString& hex) {
  for (QChar c : hex)
    if (c < u'0' || c > u'9') return false;
  return !hex.isEmpty();
}

// Hz text through single precision, then to MHz at 10 Hz.
void setHzViaSingle(const QByteArray& digits, RigValues& v) {
  const float hz = static_cast<float>(digits.toDouble());
  v.freq = static_cast<float>(round5(static_cast<double>(hz) / 1000000.0));
}

int indexOf(const QByteArray& a, const QString& marker) {
  if (marker.isEmpty()) return -1;
  return a.indexOf(marker.toLatin1());
}

// Hex positions (1-based, inclusive) of the hex text.
QString hexSpan(const QString& hex, int from, int to) { return hex.mid(from - 1, to - from + 1); }

// The older Yaesu status blocks: one shape, four position sets.
struct StatusLayout {
  int from, to;     // frequency hex positions
  double divisor;
  bool cwOnOne;     // the 920: "1" is CW, any other digit phone
};

void parseStatusBlock(const QByteArray& a, const StatusLayout& l, RigValues& v) {
  if (a.size() < 5) return;
  const QString hex = BytesToHexText(a);
  bool ok = false;
  const qulonglong n = hexSpan(hex, l.from, l.to).toULongLong(&ok, 16);
  if (!ok) return;
  v.freq = static_cast<float>(round5(static_cast<double>(n) / l.divisor));
  if (a.size() < 8) return;  // the block ends before its mode byte
  const QChar d = hex.at(15);
  if (l.cwOnOne) {
    v.mode = d == u'1' ? QStringLiteral("CW") : QStringLiteral("PH");
  } else if (d == u'2') {
    v.mode = QStringLiteral("CW");
  } else if (d >= u'0' && d <= u'7') {
    v.mode = QStringLiteral("PH");
  }
}

}  // namespace

double round5(double mhz) { return std::nearbyint(mhz * 100000.0) / 100000.0; }

QString HexDigit(int n) {
  if (n < 0 || n > 15) return {};
  return QString(QChar(n < 10 ? '0' + n : 'A' + n - 10));
}

QString StringToHexDisplay(const QByteArray& text) {
  QString out;
  for (char c : text) {
    const int b = static_cast<quint8>(c);
    out += HexDigit(b / 16) + HexDigit(b % 16) + u' ';
  }
  return out;
}

QString BytesToHexText(const QByteArray& text) { return QString::fromLatin1(text.toHex().toUpper()); }

QByteArray HexTextToBytes(const QString& text) {
  QByteArray out;
  for (int i = 0; i < text.size(); i += 3) {
    bool ok = false;
    const int b = text.mid(i, 2).toInt(&ok, 16);
    if (!ok || text.mid(i, 2).contains(u' ') || text.mid(i, 2).startsWith(u'+') || text.mid(i, 2).startsWith(u'-'))
      return {};
    out.append(static_cast<char>(b));
  }
  return out;
}

QByteArray FixedHexBytes(const QString& request, int n) {
  // The last pair may be a lone digit ("3F 41 0" is three bytes).
  if (request.size() < 3 * n - 2) return {};
  const QByteArray all = HexTextToBytes(request.left(3 * n - 1));
  return all.size() == n ? all : QByteArray();
}

QString FormatBcdFrequency(const QString& d) {
  QString out;
  if (d.mid(0, 1) != u"0") out += d.mid(0, 1);
  if (d.mid(0, 2) != u"00") out += d.mid(1, 1);
  if (d.mid(0, 3) != u"000") out += d.mid(2, 1);
  return out + u'.' + d.mid(3, 5);
}

QString PadBcdDigits(const QString& d) {
  QString out;
  if (d.mid(0, 1) != u"0") out += d.mid(0, 1);
  if (d.mid(0, 2) != u"00") out += d.mid(1, 1);
  if (d.mid(0, 3) != u"000") out += d.mid(2, 1);
  return out + d.mid(3, 1) + u'.' + d.mid(4, 6);
}

void ParseKenwoodFrequency(const QByteArray& a, const Requests& r, RigValues& v) {
  if (r.freq.size() < 3) return;
  const int i = indexOf(a, r.freq.left(2));
  if (i < 0 || a.size() <= i + 13) return;
  const QByteArray digits = a.mid(i + 2, 11);
  if (!allDigits(digits)) return;
  setHzViaSingle(digits, v);
}

void ParseKenwoodMode(const QByteArray& a, const Requests&, RigValues& v) {
  const int i = a.indexOf("MD");
  if (i < 0 || a.size() <= i + 2) return;
  const char d = a.at(i + 2);
  v.mode = (d == '3' || d == '7') ? QStringLiteral("CW") : QStringLiteral("PH");
}

void ParseKenwoodIF(const QByteArray& a, const Requests&, RigValues& v) {
  const int i = a.indexOf("IF");
  if (i < 0 || a.size() <= i + 13) return;
  const QByteArray digits = a.mid(i + 2, 11);
  if (!allDigits(digits)) return;
  setHzViaSingle(digits, v);
  if (a.size() <= i + 29) return;  // cut before the mode digit
  v.mode = a.at(i + 29) == '3' ? QStringLiteral("CW") : QStringLiteral("PH");
  if (a.size() <= i + 30) return;
  const char vfo = a.at(i + 30);
  if (vfo >= '0' && vfo <= '9') v.vfo = vfo - '0';
}

void ParseFTdx9000Answer(const QByteArray& a, const Requests& r, RigValues& v) {
  // The frequency part may fail; the mode part runs all the same.
  const QString fm = r.freq.left(2);
  if (fm.size() == 2) {
    const int i = indexOf(a, fm);
    if (i >= 0 && a.size() > i + 10 && a.at(i + 10) == ';' && allDigits(a.mid(i + 2, 8)))
      setHzViaSingle(a.mid(i + 2, 8), v);
  }
  const QString mm = r.mode.left(3);
  if (mm.size() == 3) {
    const int i = indexOf(a, mm);
    if (i >= 0 && a.size() > i + 3) v.mode = a.at(i + 3) == '3' ? QStringLiteral("CW") : QStringLiteral("PH");
  }
}

QList<CivFrame> civFrames(const QByteArray& a) {
  QList<CivFrame> frames;
  enum { Empty, GotFirstFE, GotSecondFE, WaitForFD } state = Empty;
  int skip = 0;
  CivFrame cur;
  for (char ch : a) {
    const quint8 b = static_cast<quint8>(ch);
    switch (state) {
      case Empty:
        if (b == 0xFE) state = GotFirstFE;
        break;
      case GotFirstFE:
        if (b == 0xFE) {
          state = GotSecondFE;
          skip = 2;  // the two addresses
        } else {
          state = Empty;
        }
        break;
      case GotSecondFE:
        if (skip > 0) { --skip; break; }
        cur = CivFrame{b, {}};
        state = b == 0xFD ? Empty : WaitForFD;
        break;
      case WaitForFD:
        if (b == 0xFD) {
          frames << cur;
          state = Empty;
        } else {
          cur.data.append(ch);
        }
        break;
    }
  }
  return frames;
}

void ParseIcomFrequency(const QByteArray& a, int dataBytes, RigValues& v) {
  // Only a whole reply: the last frame closed by FD with the full count of
  // BCD bytes (an echo of the request carries none).
  const QList<CivFrame> frames = civFrames(a);
  for (qsizetype k = frames.size() - 1; k >= 0; --k) {
    const CivFrame& f = frames[k];
    if (f.command != 0x03 || f.data.size() != dataBytes) continue;
    QString digits;
    for (char c : f.data) digits = BytesToHexText(QByteArray(1, c)) + digits;
    if (!bcdOk(digits)) return;
    const QString text = PadBcdDigits(dataBytes == 4 ? QStringLiteral("00") + digits : digits);
    bool ok = false;
    const double mhz = text.toDouble(&ok);
    if (ok) v.freq = static_cast<float>(mhz);
    return;
  }
}

void ParseIcomMode(const QByteArray& a, RigValues& v) {
  for (const CivFrame& f : civFrames(a)) {
    if (f.command != 0x04 || f.data.isEmpty()) continue;
    v.mode = static_cast<quint8>(f.data.at(0)) == 0x03 ? QStringLiteral("CW") : QStringLiteral("PH");
    return;
  }
}

void ParseYaesuStatus(const QByteArray& a, RigValues& v) {
  if (a.size() < 5) return;
  const QString digits = BytesToHexText(a.left(4));
  if (!bcdOk(digits)) return;
  v.freq = static_cast<float>(FormatBcdFrequency(digits).toDouble());
  static const QStringList ph = {"00", "01", "04", "08", "84", "88"};
  static const QStringList cw = {"02", "03", "82", "83"};
  const QString code = BytesToHexText(a.mid(4, 1));
  if (ph.contains(code)) v.mode = QStringLiteral("PH");
  else if (cw.contains(code)) v.mode = QStringLiteral("CW");
}

void ParseYaesu757Status(const QByteArray& a, RigValues& v) {
  if (a.size() < 10) return;  // frequency and mode code end at byte 10
  const QString hex = BytesToHexText(a);
  const QString digits = hexSpan(hex, 17, 18) + hexSpan(hex, 15, 16) + hexSpan(hex, 13, 14) + hexSpan(hex, 11, 12);
  if (!bcdOk(digits)) return;
  v.freq = static_cast<float>(round5(digits.toDouble() / 100000.0));
  // The mode code by its leading decimal digits ("0A" reads 0).
  const QString code = hexSpan(hex, 19, 20);
  int n = 0;
  for (QChar c : code) {
    if (!c.isDigit()) break;
    n = n * 10 + c.digitValue();
  }
  static const char* modes[] = {"PH", "PH", "CW", "CW", "AM", "FM"};
  if (n >= 0 && n <= 5) v.mode = QString::fromLatin1(modes[n]);
}

void ParseYaesu890Status(const QByteArray& a, RigValues& v) { parseStatusBlock(a, {5, 10, 100000.0, false}, v); }
void ParseYaesu920Status(const QByteArray& a, RigValues& v) { parseStatusBlock(a, {3, 10, 1000000.0, true}, v); }
void ParseYaesu990Status(const QByteArray& a, RigValues& v) { parseStatusBlock(a, {3, 8, 100000.0, false}, v); }
void ParseYaesu1000Status(const QByteArray& a, RigValues& v) { parseStatusBlock(a, {4, 9, 100000.0, false}, v); }

void ParseTenTecPanelFrequency(const QByteArray& a, RigValues& v) {
  if (a.size() < 5) return;
  bool ok = false;
  const qulonglong hz = BytesToHexText(a.mid(1, 4)).toULongLong(&ok, 16);
  if (ok) v.freq = static_cast<float>(round5(static_cast<double>(hz) / 1000000.0));
}

void ParseTenTecPanelMode(const QByteArray& a, RigValues& v) {
  if (a.size() < 3) return;
  const int d = static_cast<quint8>(a.at(1)) & 0x0F;
  if (d == 3) v.mode = QStringLiteral("CW");
  else if (d <= 4) v.mode = QStringLiteral("PH");
}

void ParseOrionFrequency(const QByteArray& a, RigValues& v) {
  const int p = a.indexOf("@AF");
  if (p < 0) return;
  const int q = a.indexOf('\r', p);
  if (q < 0) return;
  const QByteArray digits = a.mid(p + 3, q - p - 3);
  if (!allDigits(digits)) return;
  // A number past single precision would reach CurFreq as "inf".
  bool ok = false;
  const float mhz = static_cast<float>(round5(digits.toDouble(&ok) / 1000000.0));
  if (!ok || !std::isfinite(mhz)) return;
  v.freq = mhz;
}

void ParseOrionMode(const QByteArray& a, RigValues& v) {
  const int p = a.indexOf("@RMM");
  if (p < 0 || a.size() <= p + 4) return;
  const char d = a.at(p + 4);
  v.mode = (d == '2' || d == '3') ? QStringLiteral("CW") : QStringLiteral("PH");
}

QString pegasusFolder() { return QDir::home().filePath(QStringLiteral("Pegasus")); }

void ReadPegasusStatus(RigValues& v) {
  QFile f(QDir(pegasusFolder()).filePath(QStringLiteral("PEGASUS.OUT")));
  if (!f.open(QIODevice::ReadOnly)) return;
  const QByteArray bytes = f.read(4096);
  f.close();
  QList<items::Item> all;
  for (const QString& line : items::lines(QString::fromLatin1(bytes))) all += items::splitItems(line).items;
  if (all.isEmpty()) return;
  const auto mhz = items::toDouble(all[0].text);
  if (all[0].quoted || !mhz) return;
  const float single = static_cast<float>(*mhz);
  if (!std::isfinite(single)) return;  // past single precision: no frequency
  v.freq = single;
  if (all.size() < 2) return;
  v.mode = all[1].text;
  if (!v.mode.isEmpty() && v.mode != u"CW") v.mode = QStringLiteral("PH");
}

QString ModeByFrequency(float mhz) {
  struct Row { float lo, hi; const char* mode; };
  static const Row rows[] = {
      {3.5f, 3.6f, "CW"},       {3.6f, 4.0f, "PH"},       {7.0f, 7.125f, "CW"},    {7.125f, 7.3f, "PH"},
      {10.1f, 10.15f, "CW"},    {14.0f, 14.15f, "CW"},    {14.15f, 14.35f, "PH"},  {18.068f, 18.11f, "CW"},
      {18.11f, 18.168f, "PH"},  {21.0f, 21.2f, "CW"},     {21.2f, 21.45f, "PH"},   {24.89f, 24.93f, "CW"},
      {24.93f, 24.99f, "PH"},   {28.0f, 28.3f, "CW"},     {28.3f, 29.7f, "PH"},    {50.0f, 50.1f, "CW"},
      {50.1f, 54.0f, "PH"},     {144.0f, 144.1f, "CW"},   {144.1f, 148.0f, "PH"},
  };
  for (const Row& r : rows)
    if (mhz > r.lo && mhz < r.hi) return QString::fromLatin1(r.mode);
  return {};
}

}  // namespace fd::cat
