// The quoted-item reader and the date and time parser on any text.
#include <cstddef>
#include <cstdint>

#include "fuzzsupport.h"
#include "log/datetime.h"
#include "platform/cp1252.h"
#include "platform/items.h"

using namespace fd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QString text = cp1252::decode(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  fuzz::check(cp1252::encode(text).size() == static_cast<qsizetype>(size), "one byte per character");
  for (const QString& line : items::lines(text)) {
    const items::Split split = items::splitItems(line);
    const auto strict = items::splitLine(line);
    fuzz::check(!strict || !split.lastOpen, "a line with an open quote is not split strictly");
    for (const items::Item& it : split.items) {
      if (!it.quoted) {
        items::toDouble(it.text);
        items::toInteger(it.text);
      }
    }
    if (const auto d = datetime::parseDate(line)) fuzz::check(d->isValid(), "a parsed date is valid");
    if (const auto t = datetime::parseTime(line)) fuzz::check(t->isValid(), "a parsed time is valid");
    datetime::parseTime(line, true);
    datetime::listDate(line);
    datetime::listTime(line);
  }
  return 0;
}
