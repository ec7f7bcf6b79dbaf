#pragma once
// The settings files hold one value per line or comma-separated records:
// a text between double quotes with nothing escaped, a number bare in the C
// locale. A quoted item is taken whole, commas included. Nothing can stand
// for a double quote or a line end inside an item: the writers leave them out.
#include <QString>
#include <QStringList>
#include <optional>

namespace fd::items {

struct Item {
  QString text;
  bool quoted = false;
};

// Splits one line into items. Returns nullopt when a quote is left open.
std::optional<QList<Item>> splitLine(const QString& line);

// The same split, but a quote left open (a line cut short) gives a last item
// running to the end of the line, and lastOpen says so.
struct Split {
  QList<Item> items;
  bool lastOpen = false;
};
Split splitItems(const QString& line);

// A double quote would end the item early, CR or LF the line.
inline bool breaksItem(QChar c) { return c == u'"' || c == u'\r' || c == u'\n'; }
// "text", less any character that breaks the item; every settings file's
// writer quotes its texts here.
QString quote(const QString& text);
// An item's text as a value: a double quote inside a bare item, or a CR
// inside an item, is dropped, since the writer has no way to write it back;
// every settings file's reader takes its texts here, so a value reads the
// same after the next save.
QString storedText(QString item);
QString number(double value);                // 5.5, -3.5, 255 (C locale, shortest form)
QString number(qint64 value);

// Bare item to number; nullopt when it does not convert.
std::optional<double> toDouble(const QString& item);
std::optional<qint64> toInteger(const QString& item);

// Splits file text into lines; CR LF and LF both end a line, a trailing
// line end gives no extra empty line.
QStringList lines(const QString& text);

}  // namespace fd::items
