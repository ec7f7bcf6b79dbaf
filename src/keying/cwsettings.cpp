#include "keying/cwsettings.h"

#include <QStringList>
#include <cmath>

#include "platform/cp1252.h"
#include "platform/items.h"

namespace fd {

std::optional<double> numericValue(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  // Only the classic number shapes: no "inf", "nan" or hex.
  for (QChar c : t)
    if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E')) return std::nullopt;
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

double roundHalfEven(double v) { return std::nearbyint(v); }

QByteArray cwTxtBytes(const CWSettings& s, int keyingType) {
  QStringList l;
  for (int i = 1; i <= 9; ++i) l << items::quote(s.Text[i]);
  l << items::quote(s.Text[10]) << items::quote(s.Text[11]) << items::quote(s.Text[12])
    << items::quote(s.Text[13]) << items::quote(s.txtSpace) << QString::number(keyingType)
    << items::quote(s.Text[14]) << QString::number(s.Check1) << items::quote(s.txtCWLoop);
  return cp1252::encode(l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

CWRestore restoreCwTxt(const QByteArray& bytes, CWSettings& s) {
  CWRestore r;
  const QStringList lines = items::lines(cp1252::decode(bytes));
  // One item per line: a quoted text whole, else the bare text.
  auto item = [&](int line) -> std::optional<QString> {
    if (line > lines.size()) return std::nullopt;
    const items::Split sp = items::splitItems(lines[line - 1]);
    return sp.items.isEmpty() ? QString() : items::storedText(sp.items[0].text);
  };
  auto number = [&](int line) -> std::optional<double> {
    const std::optional<QString> t = item(line);
    if (!t) return std::nullopt;
    if (t->trimmed().isEmpty()) return 0.0;  // an empty item reads as 0
    return numericValue(*t);
  };
  auto text = [&](int line, QString& into) {
    const std::optional<QString> t = item(line);
    if (!t) return false;
    into = *t;
    ++r.linesPlaced;
    return true;
  };
  for (int i = 1; i <= 8; ++i)
    if (!text(i, s.Text[i])) return r;
  if (!text(9, s.Text[9])) return r;
  if (s.Text[9].isEmpty()) s.Text[9] = QStringLiteral("VVV DE ");
  if (!text(10, s.Text[10]) || !text(11, s.Text[11]) || !text(12, s.Text[12]) || !text(13, s.Text[13]) ||
      !text(14, s.txtSpace))
    return r;
  const std::optional<double> kt = number(15);
  if (!kt || *kt < 0 || *kt > 255) return r;
  r.keyingType = static_cast<int>(roundHalfEven(*kt));
  ++r.linesPlaced;
  if (!text(16, s.Text[14])) return r;
  const std::optional<double> check = number(17);
  if (!check || std::abs(*check) > 32767) return r;
  s.Check1 = static_cast<int>(roundHalfEven(*check));
  ++r.linesPlaced;
  const std::optional<double> secs = number(18);
  if (!secs) return r;
  s.txtCWLoop = *item(18);
  ++r.linesPlaced;
  // A negative or huge interval is one the timer refuses: the restore ends.
  if (*secs < 0 || *secs * 1000 > 2147483647.0) return r;
  s.repeatMs = static_cast<int>(roundHalfEven(*secs * 1000));
  r.complete = true;
  return r;
}

QString timingName(CWTiming t) {
  switch (t) {
    case CWTiming::Timer: return QStringLiteral("Timer");
    case CWTiming::Sleep: return QStringLiteral("Sleep");
    case CWTiming::Loop: return QStringLiteral("Loop");
  }
  return QStringLiteral("Timer");
}

std::optional<CWTiming> timingFromName(const QString& name) {
  if (name == QLatin1String("Timer")) return CWTiming::Timer;
  if (name == QLatin1String("Sleep")) return CWTiming::Sleep;
  if (name == QLatin1String("Loop")) return CWTiming::Loop;
  return std::nullopt;
}

bool refusedInCwText(QChar c) { return c == u'"' || !cp1252::canEncode(c); }

}  // namespace fd
