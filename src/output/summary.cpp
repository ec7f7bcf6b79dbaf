#include "output/summary.h"

#include "core/state.h"
#include "output/columns_interim.h"

namespace fd {

namespace {
using interim::Lines;

std::int64_t value(const QString& t) { return isNumericText(t) ? t.toLongLong() : 0; }

QString mark(bool on) { return on ? QStringLiteral("X") : QStringLiteral(" "); }

// A count whose last digit stands in column `last`.
void countAt(Lines& l, int last, std::int64_t n) {
  const QString t = Lines::num(n);
  l.tab(last + 1 - (static_cast<int>(t.size()) - 1)).text(t);
}
}  // namespace

BandModeCounts countBandModes(const QsoLog& log) {
  BandModeCounts c{};
  for (const QsoRecord& r : log.records()) {
    const auto b = kBands.indexOf(r.Band);
    const auto m = kModes.indexOf(r.Mode);
    if (b >= 0 && m >= 0) ++c[static_cast<size_t>(b)][static_cast<size_t>(m)];
  }
  return c;
}

bool isNumericText(const QString& t) {
  if (t.isEmpty()) return false;
  for (QChar ch : t)
    if (ch < u'0' || ch > u'9') return false;
  return true;
}

SummaryScore scoreSummary(const SummaryForm& f, const BandModeCounts& counts) {
  SummaryScore s;
  for (const auto& band : counts) {
    s.cw += band[0];
    s.dig += band[1];
    s.ph += band[2];
  }
  s.cw += value(f.Text11);
  s.dig += value(f.Text12);
  s.ph += value(f.Text13);
  s.gotaSum = value(f.Text11) + value(f.Text12) + value(f.Text13);
  s.points = 2 * s.cw + 2 * s.dig + s.ph;
  switch (f.power) {
    case SummaryForm::Power::Qrp: s.multiplier = 5, s.powerText = QStringLiteral("5"); break;
    case SummaryForm::Power::Low: s.multiplier = 2, s.powerText = QStringLiteral("150"); break;
    case SummaryForm::Power::High: s.multiplier = 1, s.powerText = QStringLiteral("150 +"); break;
  }
  s.claimed = s.multiplier * s.points;  // the bonus is claimed apart, never added here
  return s;
}

QStringList summaryLines(const SummaryForm& f, const BandModeCounts& counts, const Station& st, const QDate& today) {
  const SummaryScore sc = scoreSummary(f, counts);
  const QString letter = st.cls.right(1);  // compared exactly: "2a" marks no class line
  Lines l;
  l.text(QStringLiteral("ARRL Field Day")).end().end();
  l.text(QStringLiteral("1. Field Day Call Used: ") + st.call).at(45, QStringLiteral("GOTA Station Call: ") + f.Text9).end().end();
  l.text(QStringLiteral("2. Club or Group Name: ") + f.Text10).end().end();
  l.text(QStringLiteral("3. Number of Participants: ") + f.Text3).end().end();
  l.text(QStringLiteral("4. Number of transmitters in simultaneous operation: ") + st.cls.left(st.cls.size() - 1)).end().end();
  l.text(QStringLiteral("5. Entry Class: Check only one.")).end().end();
  l.text(mark(letter == u"A") + QStringLiteral(" A. Club or non-club portable")).end();
  l.text(mark(letter == u"B") + QStringLiteral(" B. 1 or 2 person non-club group portable")).end();
  l.text(QStringLiteral("  List calls of operators: ") + f.Text2).end();
  l.text(mark(letter == u"C") + QStringLiteral(" C. Mobile")).end();
  l.text(mark(letter == u"D") + QStringLiteral(" D. Home station commercial power")).end();
  l.text(mark(letter == u"E") + QStringLiteral(" E. Home station emergency power")).end();
  l.text(mark(letter == u"F") + QStringLiteral(" F. Emergency Operations Center")).end().end();
  l.text(QStringLiteral("6. Check All power sources used.")).end().end();
  l.text(mark(f.Check2) + QStringLiteral(" Generator")).end();
  l.text(mark(f.Check4) + QStringLiteral(" Commercial mains")).end();
  l.text(mark(f.Check3) + QStringLiteral(" Battery")).end();
  l.text(mark(f.Check5) + QStringLiteral(" Other (list) ") + f.Text15).end().end();
  l.text(QStringLiteral("7. ARRL / RAC Section: ") + st.section).end().end();
  l.text(QStringLiteral("8. Total CW QSO's: ")).number(sc.cw).text(QStringLiteral(" X 2 =  Total CW QSO points: ")).number(2 * sc.cw).end();
  l.text(QStringLiteral("9. Total Digital QSO's: ")).number(sc.dig)
      .text(QStringLiteral(" X 2 =  Total Digital QSO points: ")).number(2 * sc.dig).end();
  l.text(QStringLiteral("10. Total Phone QSO's: ")).number(sc.ph).text(QStringLiteral(" X 1 =  Total Phone QSO points: ")).number(sc.ph).end().end();
  l.text(QStringLiteral("11. Total QSO points: ")).number(sc.points).end().end();
  l.text(QStringLiteral("12. Power Multiplier (select only one)")).end().end();
  l.text(mark(f.power == SummaryForm::Power::Qrp) + QStringLiteral(" 5 Watts or less and Battery powered = 5")).end();
  l.text(mark(f.power == SummaryForm::Power::Low) + QStringLiteral(" 150 Watts or less = 2")).end();
  l.text(mark(f.power == SummaryForm::Power::High) + QStringLiteral(" Over 150 Watts = 1")).end().end();
  l.text(QStringLiteral("13. Power Multiplier: ")).number(sc.multiplier).end().end();
  l.text(QStringLiteral("14. Claimed Score: ")).number(sc.claimed).end().end();
  l.text(QStringLiteral("15. Bonus points claimed:  Please check each block as appropriate and")).end();
  l.text(QStringLiteral("include required proof of points with your submission.  All bonus points")).end();
  l.text(QStringLiteral("will be verified at ARRL HQ and added to your score.")).end().end();
  l.text(mark(f.Check6) + QStringLiteral(" 100% Emergency power")).end();
  l.text(mark(f.Check8) + QStringLiteral(" Media Publicity")).end();
  l.text(mark(f.Check10) + QStringLiteral(" Set-up in Public Place")).end();
  l.text(mark(f.Check12) + QStringLiteral(" Information Booth")).end();
  l.text(mark(f.Check14) + QStringLiteral(" NTS message to ARRL SM/SEC")).end();
  l.text(mark(f.Check7) + QStringLiteral(" W1AW Field Day Message")).end();
  l.text(mark(f.Check9) + QStringLiteral(" Formal NTS messages handled (# ") + f.Text4 + u')').end();
  l.text(mark(f.Check11) + QStringLiteral(" Satellite QSO completed")).end();
  l.text(mark(f.Check13) + QStringLiteral(" Natural Power QSO's Completed")).end();
  l.text(mark(f.Check15) + QStringLiteral(" Site Visited by invited officials")).end();
  l.text(mark(sc.gotaSum >= 400) + QStringLiteral(" GOTA maximum QSO's achieved")).end();
  l.text(mark(f.Check16) + QStringLiteral(" Non-Traditional mode: ") + f.Text14).end();
  l.text(mark(f.Check17) + QStringLiteral(" Youth Participation (# ") + f.Text18 + u')').end().end();
  l.text(QStringLiteral("Total Bonus Points Claimed: ") + f.Text16).end().end();
  l.text(QStringLiteral("16. I/We have observed all competition rules as well as all regulations")).end();
  l.text(QStringLiteral("for amateur radio in my/our country.  My/our report is correct and true")).end();
  l.text(QStringLiteral("to the best of my/our knowledge.  I/We agree to be bound by the")).end();
  l.text(QStringLiteral("decisions of the ARRL Awards Committee.")).end().end();
  l.text(QStringLiteral("Date: ") + today.toString(QStringLiteral("MM/dd/yyyy"))).end().end();
  l.text(QStringLiteral("Call: ") + st.call).end().end();
  l.text(QStringLiteral("Signature: ") + f.Text5).end();
  l.text(QStringLiteral("Address: ") + f.Text6).end();
  l.text(QStringLiteral("Address: ") + f.Text7).end().end();
  l.text(QStringLiteral("E-Mail Address: ") + f.Text8).end().end();
  l.at(20, QStringLiteral("CW")).at(35, QStringLiteral("Digital")).at(50, QStringLiteral("Phone")).end();
  l.at(20, QStringLiteral("QSO   Power")).at(35, QStringLiteral("QSO   Power")).at(50, QStringLiteral("QSO   Power")).end();
  for (size_t b = 0; b < counts.size(); ++b) {
    l.text(kBands[static_cast<int>(b)]);
    countAt(l, 22, counts[b][0]);
    l.at(27, sc.powerText);
    countAt(l, 37, counts[b][1]);
    l.at(42, sc.powerText);
    countAt(l, 52, counts[b][2]);
    l.at(57, sc.powerText).end();
  }
  // The GOTA station runs at most 150 W, so its row never shows "150 +".
  const QString gotaPower = f.power == SummaryForm::Power::High ? QStringLiteral("150") : sc.powerText;
  auto boxAt = [&l](int last, const QString& t) { l.tab(last + 1 - static_cast<int>(t.size())).text(t); };
  l.text(QStringLiteral("GOTA"));
  boxAt(22, f.Text11);
  l.at(27, gotaPower);
  boxAt(37, f.Text12);
  l.at(42, gotaPower);
  boxAt(52, f.Text13);
  l.at(57, gotaPower).end();
  l.text(QStringLiteral("Totals"));
  countAt(l, 22, sc.cw);
  l.at(27, QStringLiteral("CW"));
  countAt(l, 37, sc.dig);
  l.at(42, QStringLiteral("Dig"));
  countAt(l, 52, sc.ph);
  l.at(57, QStringLiteral("Phone")).end().end();
  l.text(QStringLiteral("18. List all callsigns of all operators and number of QSO's completed")).end();
  l.text(QStringLiteral("of the GOTA Station:")).end().end();
  l.text(f.Text17).end();
  return l.take();
}

}  // namespace fd
