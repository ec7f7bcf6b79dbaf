#pragma once
// The program's one date and time parser and formatter, and the UTC reading
// every stamp, clock and rate uses.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

namespace fd {
class Clock;
}

namespace fd::datetime {

// "yyyy/mm/dd" and "m/d/yyyy" (month and day with one or two digits).
std::optional<QDate> parseDate(const QString& text);
// An hour of one or two digits, minutes, optional seconds ("9:07", "18:05",
// "18:05:30"); with bareDigits also "934" and "1805".
std::optional<QTime> parseTime(const QString& text, bool bareDigits = false);

QString formatDate(const QDate& d);   // "yyyy/mm/dd"
QString formatTime(const QTime& t);   // "hh:mm:ss"
QString listDate(const QString& stored);   // "M/DD" as the list shows it ("6/22"); as stored when unreadable
QString listTime(const QString& stored);   // "h:mm" ("9:07"); as stored when unreadable

// A record's stored date and time as one plain date-time; nullopt when unreadable.
std::optional<QDateTime> recordDateTime(const QString& date, const QString& time);

// Local wall-clock reading plus offset hours, as offset x 60 minutes rounded
// half to even to a whole minute; plain arithmetic, no time zones. An offset
// that is not finite or beyond a billion hours gives an invalid QDateTime.
QDateTime addOffset(const QDateTime& local, double offsetHours);
QDateTime utcFromLocal(const Clock& clock, double offsetHours);

// Integer conversion of a fraction, half to even (22.5 -> 22, 13.5 -> 14).
long long roundHalfEven(double v);

}  // namespace fd::datetime
