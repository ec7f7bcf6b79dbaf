// The ADIF reader: a tokenizer over the whole file. A field is "<" name ":"
// length [":" type] ">" and exactly length characters; "<eor>" ends a record;
// everything before an <EOH> that comes ahead of the first <EOR> is header.
#include <QHash>
#include <QRegularExpression>

#include "core/bands.h"
#include "log/datetime.h"
#include "output/adif.h"
#include "platform/cp1252.h"

namespace fd::adif {

namespace {

bool isNumber(const QString& t) {
  static const QRegularExpression n(QStringLiteral("^\\d*\\.?\\d+$"));
  return n.match(t).hasMatch();
}

// Centimetre bands by their ADIF names; "35CM" is an older name of 33.
const QHash<QString, QString>& cmTable() {
  static const QHash<QString, QString> t{{"70", "70"}, {"33", "33"}, {"35", "33"}, {"23", "23"},
                                         {"13", "2.3"}, {"9", "3.3"}, {"6", "5.6"}};
  return t;
}

struct FreqRow {
  float low, high;
  const char* band;
};
// The bands an ADIF file may name beyond the twelve of core/bands.h, in the
// same single precision, low < f < high.
constexpr FreqRow kFreqRows[] = {
    {2300.0f, 2450.0f, "2.3"},  {3300.0f, 3500.0f, "3.3"},  {5650.0f, 5925.0f, "5.6"},
    {10.0999f, 10.1501f, "30"}, {18.0679f, 18.1681f, "17"}, {24.8899f, 24.9901f, "12"},
};

struct Field {
  QString value;
  int declared = 0;
};
using Fields = QHash<QString, Field>;  // by lower-case name, first occurrence

QString cleanValue(const QString& raw) {
  QString v;
  v.reserve(raw.size());
  for (QChar c : raw) {
    if (c.unicode() < 22) continue;
    v += c == u'"' ? u' ' : c;
  }
  return v.trimmed();
}

QsoRecord convert(const Fields& f) {
  QsoRecord r;
  const auto val = [&](const char* name) { return f.value(QString::fromLatin1(name)).value; };
  r.Call = val("call");
  r.Class = val("class");
  r.Section = val("arrl_sect");
  r.Initials = val("varik_fdinitials");
  r.Freq = val("freq");
  if (f.contains(QStringLiteral("qso_date"))) {
    const QString d = val("qso_date");
    const QString built = d.left(4) + u'/' + d.mid(4, 2) + u'/' + d.right(2);
    const auto date = datetime::parseDate(built);
    r.Date = date ? datetime::formatDate(*date) : built;
  }
  if (f.contains(QStringLiteral("time_on"))) {
    const Field t = f.value(QStringLiteral("time_on"));
    if (t.declared == 4) r.Time = t.value.left(2) + u':' + t.value.mid(2, 2);
    else if (t.declared == 6) r.Time = t.value.left(2) + u':' + t.value.mid(2, 2) + u':' + t.value.mid(4, 2);
  }
  const QString mode = val("mode");
  static const QStringList kPhone = {"FM", "SSB", "AM"};
  r.Mode = kPhone.contains(mode.toUpper()) ? QStringLiteral("PH") : mode.toUpper();
  if (val("prop_mode").compare(QLatin1String("SAT"), Qt::CaseInsensitive) == 0) r.Band = QStringLiteral("SAT");
  else if (const QString band = val("band"); !band.isEmpty()) r.Band = bandFromName(band);
  else if (!r.Freq.isEmpty()) r.Band = bandFromFrequency(r.Freq);
  return r;
}

}  // namespace

QString bandFromName(const QString& value) {
  if (value.size() <= 1) return value;
  const QString up = value.toUpper();
  if (up == QLatin1String("SATM")) return QStringLiteral("SAT");
  if (up.endsWith(QLatin1String("CM"))) {
    const QString n = value.left(value.size() - 2);
    if (isNumber(n)) return cmTable().value(n, n);
    return value;
  }
  if (up.endsWith(u'M')) {
    const QString n = value.left(value.size() - 1);
    if (isNumber(n)) return n;
  }
  return value;
}

QString bandFromFrequency(const QString& mhz) {
  bool ok = false;
  const float f = mhz.trimmed().toFloat(&ok);  // QString's conversion is the C locale's
  if (!ok) return {};
  if (QString band = bandOfFrequency(f); !band.isEmpty()) return band;
  for (const FreqRow& row : kFreqRows)
    if (row.low < f && f < row.high) return QString::fromLatin1(row.band);
  return {};
}

bool frequencyTableHas(const QString& band) {
  if (bandHasRange(band)) return true;
  for (const FreqRow& row : kFreqRows)
    if (band == QLatin1String(row.band)) return true;
  return false;
}

std::vector<QsoRecord> readRecords(const QByteArray& bytes) { return readFile(bytes).records; }

File readFile(const QByteArray& bytes) {
  const QString text = cp1252::decode(bytes);
  const qsizetype eoh = text.indexOf(QLatin1String("<eoh>"), 0, Qt::CaseInsensitive);
  const qsizetype eor = text.indexOf(QLatin1String("<eor>"), 0, Qt::CaseInsensitive);
  qsizetype pos = eoh >= 0 && (eor < 0 || eoh < eor) ? eoh + 5 : 0;

  File out;
  Fields fields;
  while (true) {
    const qsizetype lt = text.indexOf(u'<', pos);
    if (lt < 0) break;
    const qsizetype gt = text.indexOf(u'>', lt);
    if (gt < 0) break;
    // Every search stays inside the tag: a file of another kind holds many
    // tags and few colons, and a search to the end for each would make the
    // reading quadratic in the file's size.
    const QStringView tag = QStringView(text).mid(lt + 1, gt - lt - 1);
    const qsizetype inTag = tag.indexOf(u':');
    if (inTag < 0) {  // a tag without a value
      if (tag.trimmed().compare(QLatin1String("eor"), Qt::CaseInsensitive) == 0) {
        if (!fields.value(QStringLiteral("call")).value.isEmpty()) out.records.push_back(convert(fields));
        else if (!fields.isEmpty()) ++out.withoutCall;
        fields.clear();
      }
      pos = gt + 1;
      continue;
    }
    const QString name = tag.left(inTag).trimmed().toString().toLower();
    const QStringView lengthPart = tag.mid(inTag + 1);
    int n = 0;
    for (QChar c : lengthPart) {
      if (c < u'0' || c > u'9' || n > 100'000'000) break;
      n = n * 10 + c.digitValue();
    }
    if (!fields.contains(name)) fields.insert(name, Field{cleanValue(text.mid(gt + 1, n)), n});
    pos = gt + 1 + n;
  }
  out.lastRecordCut = !fields.isEmpty();
  return out;
}

}  // namespace fd::adif
