#include "log/datetime.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/clock.h"

namespace fd::datetime {

long long roundHalfEven(double v) {
  // Converting a value beyond the integer's range (or NaN) is undefined: clamp.
  if (std::isnan(v)) return 0;
  constexpr double kMax = 9.2e18;
  if (v >= kMax) return static_cast<long long>(kMax);
  if (v <= -kMax) return -static_cast<long long>(kMax);
  return static_cast<long long>(std::nearbyint(v));  // FE_TONEAREST: half to even
}

namespace {
// The dates and times below start with a digit and are at most `longest`
// characters long: anything else is told apart without a pattern match,
// which costs far more (the list and the exports call these for every row).
bool mayMatch(const QString& t, qsizetype longest) { return !t.isEmpty() && t.size() <= longest && t.front().isDigit(); }
}  // namespace

std::optional<QDate> parseDate(const QString& text) {
  static const QRegularExpression ymd(QStringLiteral("^(\\d{4})/(\\d{1,2})/(\\d{1,2})$"));
  static const QRegularExpression mdy(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
  const QString t = text.trimmed();
  if (!mayMatch(t, 10)) return std::nullopt;
  QDate d;
  if (auto m = ymd.match(t); m.hasMatch())
    d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  else if (auto m2 = mdy.match(t); m2.hasMatch())
    d = QDate(m2.captured(3).toInt(), m2.captured(1).toInt(), m2.captured(2).toInt());
  if (!d.isValid()) return std::nullopt;
  return d;
}

std::optional<QTime> parseTime(const QString& text, bool bareDigits) {
  static const QRegularExpression hm(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
  static const QRegularExpression bare(QStringLiteral("^(\\d{1,2})(\\d{2})$"));
  const QString t = text.trimmed();
  if (!mayMatch(t, 8)) return std::nullopt;
  QTime tm;
  if (auto m = hm.match(t); m.hasMatch())
    tm = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
  else if (bareDigits) {
    if (auto b = bare.match(t); b.hasMatch()) tm = QTime(b.captured(1).toInt(), b.captured(2).toInt(), 0);
  }
  if (!tm.isValid()) return std::nullopt;
  return tm;
}

QString formatDate(const QDate& d) { return d.toString(QStringLiteral("yyyy/MM/dd")); }
QString formatTime(const QTime& t) { return t.toString(QStringLiteral("HH:mm:ss")); }

QString listDate(const QString& stored) {
  const auto d = parseDate(stored);
  return d ? d->toString(QStringLiteral("M/dd")) : stored;
}

QString listTime(const QString& stored) {
  const auto t = parseTime(stored);
  return t ? t->toString(QStringLiteral("H:mm")) : stored;
}

std::optional<QDateTime> recordDateTime(const QString& date, const QString& time) {
  const auto d = parseDate(date);
  const auto t = parseTime(time);
  if (!d || !t) return std::nullopt;
  return plainDateTime(*d, *t);
}

QDateTime addOffset(const QDateTime& local, double offsetHours) {
  // An offset no date can carry (the station window takes any single-precision
  // number) gives no date-time rather than an overflow.
  if (!std::isfinite(offsetHours) || std::fabs(offsetHours) > 1.0e9) return QDateTime();
  const long long minutes = roundHalfEven(offsetHours * 60.0);
  return local.addSecs(minutes * 60);
}

QDateTime utcFromLocal(const Clock& clock, double offsetHours) { return addOffset(clock.localNow(), offsetHours); }

}  // namespace fd::datetime
