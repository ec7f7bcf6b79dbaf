#include "spots/spotsettings.h"

#include <QStringList>
#include <cmath>

#include "platform/cp1252.h"
#include "platform/items.h"

namespace fd {

QByteArray SpotSettings::toFile() const {
  using items::quote;
  const QStringList values = {quote(Baud),       quote(Parity),
                              quote(DataBits),   quote(StopBits),
                              QString::number(PortNumber), quote(PowerLine),
                              quote(Transport),  QString::number(ConvToHex),
                              QString::number(Handshake), QString::number(ListDXOnly),
                              OptList ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#"),
                              quote(Hex),        quote(TelnetPort),
                              quote(TelnetHost)};
  return cp1252::encode(values.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

namespace {

struct Reader {
  QStringList lines;
  int at = 0;
  bool ok = true;

  std::optional<items::Item> next() {
    if (!ok || at >= lines.size()) { ok = false; return std::nullopt; }
    auto split = items::splitLine(lines[at++]);
    if (!split || split->isEmpty()) { ok = false; return std::nullopt; }
    return split->first();
  }
  QString text() {
    auto item = next();
    return item ? items::storedText(item->text) : QString();
  }
  int number(int lo, int hi) {
    auto item = next();
    if (!item) return 0;
    const auto v = item->quoted ? std::nullopt : items::toDouble(item->text);
    // A fraction rounds as an integer read does; out of range fails the read.
    if (!v || *v < lo - 0.5 || *v > hi + 0.5) { ok = false; return 0; }
    return static_cast<int>(std::nearbyint(*v));
  }
  bool truth() {
    auto item = next();
    if (!item) return false;
    const QString t = item->text.trimmed().toUpper();
    if (!item->quoted && t == QLatin1String("#TRUE#")) return true;
    if (!item->quoted && t == QLatin1String("#FALSE#")) return false;
    ok = false;
    return false;
  }
};

}  // namespace

SpotSettings SpotSettings::readValues(const QByteArray& bytes, int& read) {
  Reader r{items::lines(cp1252::decode(bytes))};
  SpotSettings s;
  read = 0;
  // Each value in turn; the first that is missing or not of its type stops
  // the reading, and the values before it stand.
  auto step = [&](auto value) {
    if (!r.ok) return;
    value();
    if (r.ok) ++read;
  };
  step([&] { s.Baud = r.text(); });
  step([&] { s.Parity = r.text(); });
  step([&] { s.DataBits = r.text(); });
  step([&] { s.StopBits = r.text(); });
  step([&] { s.PortNumber = r.number(0, 255); });
  step([&] { s.PowerLine = r.text(); });
  step([&] { s.Transport = r.text(); });
  step([&] { s.ConvToHex = r.number(-32768, 32767); });
  step([&] { s.Handshake = r.number(0, 255); });
  step([&] { s.ListDXOnly = r.number(-32768, 32767); });
  step([&] { s.OptList = r.truth(); });
  step([&] { s.Hex = r.text(); });
  step([&] { s.TelnetPort = r.text(); });
  step([&] { s.TelnetHost = r.text(); });
  return s;
}

std::optional<SpotSettings> SpotSettings::fromFile(const QByteArray& bytes) {
  int read = 0;
  SpotSettings s = readValues(bytes, read);
  if (read < kValues) return std::nullopt;
  return s;
}

}  // namespace fd
