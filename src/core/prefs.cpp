#include "core/prefs.h"

#include <cmath>
#include <limits>

#include "platform/cp1252.h"
#include "platform/items.h"
#include "platform/platform.h"

namespace fd::prefs {
namespace {

QString num(double v) { return items::number(v); }

// A bare number that does not convert or lies outside its type's range takes
// the value the program has when the file is not read; the others still load.
template <class T>
void readInteger(const QString& line, T& target, qint64 lo, qint64 hi, T fallback) {
  const auto v = items::toInteger(line);
  target = (v && *v >= lo && *v <= hi) ? static_cast<T>(*v) : fallback;
}

// A quoted item is taken whole, commas included; a quote left open runs to the
// end of the line.
QString readText(const QString& line) {
  const items::Split it = items::splitItems(line);
  if (it.items.isEmpty()) return {};
  return items::storedText(it.items.first().text);
}

constexpr qint64 kByteMax = 255;
constexpr qint64 kColorMax = 16777215;

}  // namespace

bool validOffset(double hours) { return std::isfinite(hours) && hours >= -24 && hours <= 24; }

QByteArray format(const ProgramState& s) {
  const QStringList lines = {
      items::quote(s.MyCall), items::quote(s.MyClass), items::quote(s.MySection),
      num(static_cast<double>(s.UTCOffset)), items::quote(s.CurMode), items::quote(s.CurBand),
      num(s.WorkedColor), num(s.RemainingColor), num(s.FormSizePct), num(s.VoiceNavMode),
      items::quote(s.RigType), num(s.TaskbarOn), num(s.ListPrevOn), items::quote(s.OpInitials),
      num(s.BackupPermanent), num(s.BackupOther), items::quote(s.BackupOtherDir)};
  return cp1252::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

int parse(const QByteArray& text, ProgramState& s) {
  const QStringList lines = items::lines(cp1252::decode(text));
  const int n = static_cast<int>(std::min<qsizetype>(lines.size(), 17));
  for (int i = 0; i < n; ++i) {
    const QString& l = lines[i];
    switch (i + 1) {
      case 1: s.MyCall = readText(l); break;
      case 2: s.MyClass = readText(l); break;
      case 3: s.MySection = readText(l); break;
      case 4: {
        // Only the type's range applies here (a finite single-precision
        // number); what offsets make sense is the station setup's rule.
        const auto v = items::toDouble(l);
        const bool fits = v && std::fabs(*v) <= static_cast<double>(std::numeric_limits<float>::max());
        s.UTCOffset = fits ? static_cast<float>(*v) : 0.0f;
        break;
      }
      case 5: s.CurMode = readText(l); break;
      case 6: s.CurBand = readText(l); break;
      case 7: readInteger<ColorValue>(l, s.WorkedColor, 0, kColorMax, 0); break;
      case 8: readInteger<ColorValue>(l, s.RemainingColor, 0, kColorMax, 0); break;
      case 9: readInteger<std::uint8_t>(l, s.FormSizePct, 0, kByteMax, 100); break;
      case 10: readInteger<std::uint8_t>(l, s.VoiceNavMode, 0, kByteMax, 0); break;
      case 11: s.RigType = readText(l); break;
      case 12: readInteger<std::uint8_t>(l, s.TaskbarOn, 0, kByteMax, 0); break;
      case 13: readInteger<std::uint8_t>(l, s.ListPrevOn, 0, kByteMax, 0); break;
      case 14: s.OpInitials = readText(l); break;
      case 15: readInteger<std::uint8_t>(l, s.BackupPermanent, 0, kByteMax, 0); break;
      case 16: readInteger<std::uint8_t>(l, s.BackupOther, 0, kByteMax, 0); break;
      case 17: s.BackupOtherDir = readText(l); break;
    }
  }
  return n;
}

ReadResult read(const QString& path, ProgramState& s) {
  QByteArray data;
  if (!readWholeFile(path, data).ok) return {};
  return {true, parse(data, s)};
}

FileResult write(const QString& path, const ProgramState& s) { return writeWholeFile(path, format(s)); }

bool SavePref(ProgramState& s) {
  const QString path = s.progFile(QStringLiteral("fdpref.dat"));
  const FileResult r = write(path, s);
  if (r.ok) {
    s.PrefSaveFailing = false;
    return true;
  }
  if (!s.PrefSaveFailing) {
    s.PrefSaveFailing = true;
    dialogs().message(QStringLiteral("Preferences Not Saved"),
                      QStringLiteral("The preferences could not be written to %1: %2\r\n\r\n"
                                     "The program goes on; the settings are saved at the next successful save.")
                          .arg(path, r.error),
                      Buttons::Ok);
  }
  return false;
}

}  // namespace fd::prefs
