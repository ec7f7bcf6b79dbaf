#include "output/adif.h"

#include <QHash>
#include <QRegularExpression>

#include "core/bands.h"
#include "log/datetime.h"
#include "output/textwriter.h"
#include "platform/cp1252.h"

namespace fd::adif {

namespace {

const QHash<QString, QString>& stateTable() {
  static const QHash<QString, QString> t = [] {
    QHash<QString, QString> m;
    const std::pair<const char*, QStringList> rows[] = {
        {"MA", {"EMA", "WMA"}},
        {"NY", {"ENY", "NNY", "WNY", "NLI"}},
        {"NJ", {"NNJ", "SNJ"}},
        {"PA", {"EPA", "WPA"}},
        {"FL", {"NFL", "SFL", "WCF"}},
        {"MD", {"MDC"}},
        {"TX", {"NTX", "STX", "WTX"}},
        {"CA", {"EB", "LAX", "ORG", "SB", "SCV", "SDG", "SF", "SJV", "SV"}},
        {"HI", {"PAC"}},
        {"WA", {"EWA", "WWA"}},
        {"", {"PR", "VI"}},
    };
    for (const auto& [st, secs] : rows)
      for (const QString& sec : secs) m.insert(sec, QString::fromLatin1(st));
    return m;
  }();
  return t;
}

// Sections with their own entity; a section not here counts by its call.
const QHash<QString, int>& dxccTable() {
  static const QHash<QString, int> t = [] {
    QHash<QString, int> m{{"PR", 202}, {"VI", 285}, {"PAC", 110}, {"AK", 6}};
    for (const char* sec : {"MAR", "NL", "QC", "ON", "MB", "SK", "AB", "BC", "NWT", "ONN", "ONS", "ONE", "GTA", "NT"})
      m.insert(QString::fromLatin1(sec), 1);
    return m;
  }();
  return t;
}

// The band designators whose ADIF name is not the designator and "M".
const QHash<QString, QString>& bandTable() {
  static const QHash<QString, QString> t{{"1.25", "1.25M"}, {"70", "70CM"}, {"33", "33CM"}, {"23", "23CM"},
                                         {"2.3", "13CM"},   {"3.3", "9CM"},  {"5.6", "6CM"}};
  return t;
}

// One item: the tag, the value's length in bytes, ">", the value.
void item(TextWriter& w, const char* tag, const QString& value, bool blankAfter = true) {
  w.text(QStringLiteral("<%1:%2>").arg(QLatin1String(tag)).arg(cp1252::encode(value).size()) + value);
  if (blankAfter) w.text(QStringLiteral(" "));
}

// An older record can hold the radio's last frequency of another band (the
// band changed by hand after the radio went quiet): beside the band it would
// make a contact no logger can place. The band weighed is the one a reader
// takes from the Band item written (an odd stored "15C" goes out as "15CM",
// read as 15 cm). A band the table does not know (SAT, an imported one) keeps
// its frequency, and so does a blank one.
bool frequencyFitsBand(const QString& stored, const QString& freq) {
  if (freq.trimmed().isEmpty()) return true;
  const bool asStored = stored == QLatin1String("SAT") || bandTable().contains(stored);
  const QString band = asStored ? stored : bandFromName(bandName(stored));
  const QString ofFreq = bandFromFrequency(freq);
  if (ofFreq.isEmpty()) return !bandHasRange(band);
  return ofFreq == band || !frequencyTableHas(band);
}

}  // namespace

QString sectionState(const QString& section) { return stateTable().value(section, section); }

int dxcc(const QString& call, const QString& section) {
  // A DX station is not counted by its call: an A-prefixed DX call is not the USA.
  if (section == QLatin1String("DX")) return 0;
  if (const auto it = dxccTable().constFind(section); it != dxccTable().constEnd()) return *it;
  if (!call.isEmpty() && QStringLiteral("AKNW").contains(call.front())) return 291;
  return 0;
}

QString state(int dxccNumber, const QString& section) {
  return dxccNumber == 291 || dxccNumber == 110 || dxccNumber == 6 ? sectionState(section) : QString();
}

QString timeDigits(const QString& stored) {
  // Hours and minutes alone (as an import stores a four-digit time) are the
  // start of the six digits, not their end.
  static const QRegularExpression hm(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
  QString t = stored.trimmed();
  if (const auto m = hm.match(t); m.hasMatch())
    return m.captured(1).rightJustified(2, u'0') + m.captured(2) + QStringLiteral("00");
  t.remove(u':');
  // A blank that stood beside a colon (an imported time that is no time)
  // would now end the value, and the reader trims values: it goes, so the
  // value reads back as written.
  return t.trimmed().rightJustified(6, u'0');
}

QString bandName(const QString& stored) {
  if (stored.isEmpty() || stored == QLatin1String("SAT")) return {};
  if (const auto it = bandTable().constFind(stored); it != bandTable().constEnd()) return *it;
  if (stored.endsWith(u'M', Qt::CaseInsensitive)) return stored;  // an imported "6CM"
  return stored + u'M';
}

QString exportMode(const QString& stored, const QString& phoneDesignation) {
  return stored == QLatin1String("PH") ? phoneDesignation : stored.toUpper();
}

QString programTitle(const QString& caption) { return caption.left(50).trimmed(); }

QByteArray exportFile(const std::vector<QsoRecord>& records, const ExportTexts& texts, const QString& caption,
                      const QDate& today) {
  const QString title = programTitle(caption);
  const QString programId = title.left(title.size() - 4).trimmed();
  TextWriter w;
  w.line(QStringLiteral("ADIF Export from ") + title);
  w.line(QStringLiteral("Written by the Varik Software Field Day Log program"));
  w.line(QStringLiteral("For help, see Help in the program's main window"));
  item(w, "PROGRAMID", programId, false);
  w.lineEnd();
  w.line(QStringLiteral("Log exported on: ") + today.toString(QStringLiteral("yyyy-MM-dd")));
  w.line();
  w.line(QStringLiteral("<EOH>"));

  for (const QsoRecord& r : records) {
    if (!r.Call.isEmpty()) item(w, "Call", r.Call);
    if (const auto d = datetime::parseDate(r.Date))
      w.text(QStringLiteral("<Qso_Date:8:d>") + d->toString(QStringLiteral("yyyyMMdd")) + u' ');
    if (r.Band == QLatin1String("SAT")) item(w, "Prop_Mode", QStringLiteral("SAT"));
    else if (const QString band = bandName(r.Band); !band.isEmpty()) item(w, "Band", band);
    if (const QString mode = exportMode(r.Mode, texts.phone); !mode.isEmpty()) {
      item(w, "Mode", mode, false);
      w.lineEnd();
    }
    if (!texts.power.isEmpty()) item(w, "Tx_Pwr", texts.power);
    if (const QString time = timeDigits(r.Time); !(time < QLatin1String("0000"))) item(w, "Time_On", time);
    const int entity = dxcc(r.Call, r.Section);
    if (entity > 0) item(w, "DXCC", QString::number(entity));
    if (const QString st = state(entity, r.Section); !st.isEmpty()) {
      item(w, "State", st);
      w.lineEnd();
    }
    if (!r.Section.isEmpty()) item(w, "ARRL_SECT", r.Section);
    if (!r.Class.isEmpty()) {
      item(w, "CLASS", r.Class);
      w.lineEnd();
    }
    if (!r.Freq.isEmpty() && frequencyFitsBand(r.Band, r.Freq)) item(w, "Freq", r.Freq.trimmed());
    if (!r.Initials.isEmpty()) item(w, "VARIK_FDInitials", r.Initials);
    if (r.Section != QLatin1String("DX")) item(w, "Cont", QStringLiteral("NA"));
    if (!texts.comment.isEmpty()) {
      item(w, "Comment", texts.comment, false);
      w.lineEnd();
    }
    w.line(QStringLiteral("<eor>"));
    w.line();
  }
  return w.bytes();
}

}  // namespace fd::adif
