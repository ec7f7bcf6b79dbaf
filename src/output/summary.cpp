#include "output/summary.h"

#include "core/state.h"
#include "output/textlines.h"

namespace fd {

namespace {
std::int64_t value(const QString& t) { return isNumericText(t) ? t.toLongLong() : 0; }

QString mark(bool on) { return on ? QStringLiteral("X") : QStringLiteral(" "); }

// A count whose last digit stands in column `last`.
void countAt(TextWriter& w, int last, std::int64_t n) {
  const QString t = columnNumber(static_cast<double>(n));
  w.column(last + 1 - (static_cast<int>(t.size()) - 1));
  w.text(t);
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

TextWriter summaryText(const SummaryForm& f, const BandModeCounts& counts, const Station& st, const QDate& today) {
  const SummaryScore sc = scoreSummary(f, counts);
  const QString letter = st.cls.right(1);  // compared exactly: "2a" marks no class line
  TextWriter w;
  w.line(QStringLiteral("ARRL Field Day"));
  w.line();
  w.text(QStringLiteral("1. Field Day Call Used: ") + st.call);
  w.column(45);
  w.line(QStringLiteral("GOTA Station Call: ") + f.Text9);
  w.line();
  w.line(QStringLiteral("2. Club or Group Name: ") + f.Text10);
  w.line();
  w.line(QStringLiteral("3. Number of Participants: ") + f.Text3);
  w.line();
  w.line(QStringLiteral("4. Number of transmitters in simultaneous operation: ") + st.cls.left(st.cls.size() - 1));
  w.line();
  w.line(QStringLiteral("5. Entry Class: Check only one."));
  w.line();
  w.line(mark(letter == u"A") + QStringLiteral(" A. Club or non-club portable"));
  w.line(mark(letter == u"B") + QStringLiteral(" B. 1 or 2 person non-club group portable"));
  w.line(QStringLiteral("  List calls of operators: ") + f.Text2);
  w.line(mark(letter == u"C") + QStringLiteral(" C. Mobile"));
  w.line(mark(letter == u"D") + QStringLiteral(" D. Home station commercial power"));
  w.line(mark(letter == u"E") + QStringLiteral(" E. Home station emergency power"));
  w.line(mark(letter == u"F") + QStringLiteral(" F. Emergency Operations Center"));
  w.line();
  w.line(QStringLiteral("6. Check All power sources used."));
  w.line();
  w.line(mark(f.Check2) + QStringLiteral(" Generator"));
  w.line(mark(f.Check4) + QStringLiteral(" Commercial mains"));
  w.line(mark(f.Check3) + QStringLiteral(" Battery"));
  w.line(mark(f.Check5) + QStringLiteral(" Other (list) ") + f.Text15);
  w.line();
  w.line(QStringLiteral("7. ARRL / RAC Section: ") + st.section);
  w.line();
  w.text(QStringLiteral("8. Total CW QSO's: "));
  w.number(static_cast<double>(sc.cw));
  w.text(QStringLiteral(" X 2 =  Total CW QSO points: "));
  w.number(static_cast<double>(2 * sc.cw));
  w.line();
  w.text(QStringLiteral("9. Total Digital QSO's: "));
  w.number(static_cast<double>(sc.dig));
  w.text(QStringLiteral(" X 2 =  Total Digital QSO points: "));
  w.number(static_cast<double>(2 * sc.dig));
  w.line();
  w.text(QStringLiteral("10. Total Phone QSO's: "));
  w.number(static_cast<double>(sc.ph));
  w.text(QStringLiteral(" X 1 =  Total Phone QSO points: "));
  w.number(static_cast<double>(sc.ph));
  w.line();
  w.line();
  w.text(QStringLiteral("11. Total QSO points: "));
  w.number(static_cast<double>(sc.points));
  w.line();
  w.line();
  w.line(QStringLiteral("12. Power Multiplier (select only one)"));
  w.line();
  w.line(mark(f.power == SummaryForm::Power::Qrp) + QStringLiteral(" 5 Watts or less and Battery powered = 5"));
  w.line(mark(f.power == SummaryForm::Power::Low) + QStringLiteral(" 150 Watts or less = 2"));
  w.line(mark(f.power == SummaryForm::Power::High) + QStringLiteral(" Over 150 Watts = 1"));
  w.line();
  w.text(QStringLiteral("13. Power Multiplier: "));
  w.number(static_cast<double>(sc.multiplier));
  w.line();
  w.line();
  w.text(QStringLiteral("14. Claimed Score: "));
  w.number(static_cast<double>(sc.claimed));
  w.line();
  w.line();
  w.line(QStringLiteral("15. Bonus points claimed:  Please check each block as appropriate and"));
  w.line(QStringLiteral("include required proof of points with your submission.  All bonus points"));
  w.line(QStringLiteral("will be verified at ARRL HQ and added to your score."));
  w.line();
  w.line(mark(f.Check6) + QStringLiteral(" 100% Emergency power"));
  w.line(mark(f.Check8) + QStringLiteral(" Media Publicity"));
  w.line(mark(f.Check10) + QStringLiteral(" Set-up in Public Place"));
  w.line(mark(f.Check12) + QStringLiteral(" Information Booth"));
  w.line(mark(f.Check14) + QStringLiteral(" NTS message to ARRL SM/SEC"));
  w.line(mark(f.Check7) + QStringLiteral(" W1AW Field Day Message"));
  w.line(mark(f.Check9) + QStringLiteral(" Formal NTS messages handled (# ") + f.Text4 + u')');
  w.line(mark(f.Check11) + QStringLiteral(" Satellite QSO completed"));
  w.line(mark(f.Check13) + QStringLiteral(" Natural Power QSO's Completed"));
  w.line(mark(f.Check15) + QStringLiteral(" Site Visited by invited officials"));
  w.line(mark(sc.gotaSum >= 400) + QStringLiteral(" GOTA maximum QSO's achieved"));
  w.line(mark(f.Check16) + QStringLiteral(" Non-Traditional mode: ") + f.Text14);
  w.line(mark(f.Check17) + QStringLiteral(" Youth Participation (# ") + f.Text18 + u')');
  w.line();
  w.line(QStringLiteral("Total Bonus Points Claimed: ") + f.Text16);
  w.line();
  w.line(QStringLiteral("16. I/We have observed all competition rules as well as all regulations"));
  w.line(QStringLiteral("for amateur radio in my/our country.  My/our report is correct and true"));
  w.line(QStringLiteral("to the best of my/our knowledge.  I/We agree to be bound by the"));
  w.line(QStringLiteral("decisions of the ARRL Awards Committee."));
  w.line();
  w.line(QStringLiteral("Date: ") + today.toString(QStringLiteral("MM/dd/yyyy")));
  w.line();
  w.line(QStringLiteral("Call: ") + st.call);
  w.line();
  w.line(QStringLiteral("Signature: ") + f.Text5);
  w.line(QStringLiteral("Address: ") + f.Text6);
  w.line(QStringLiteral("Address: ") + f.Text7);
  w.line();
  w.line(QStringLiteral("E-Mail Address: ") + f.Text8);
  w.line();
  w.column(20);
  w.text(QStringLiteral("CW"));
  w.column(35);
  w.text(QStringLiteral("Digital"));
  w.column(50);
  w.line(QStringLiteral("Phone"));
  w.column(20);
  w.text(QStringLiteral("QSO   Power"));
  w.column(35);
  w.text(QStringLiteral("QSO   Power"));
  w.column(50);
  w.line(QStringLiteral("QSO   Power"));
  for (size_t b = 0; b < counts.size(); ++b) {
    w.text(kBands[static_cast<int>(b)]);
    countAt(w, 22, counts[b][0]);
    w.column(27);
    w.text(sc.powerText);
    countAt(w, 37, counts[b][1]);
    w.column(42);
    w.text(sc.powerText);
    countAt(w, 52, counts[b][2]);
    w.column(57);
    w.line(sc.powerText);
  }
  // The GOTA station runs at most 150 W, so its row never shows "150 +".
  const QString gotaPower = f.power == SummaryForm::Power::High ? QStringLiteral("150") : sc.powerText;
  auto boxAt = [&w](int last, const QString& t) {
    w.column(last + 1 - static_cast<int>(t.size()));
    w.text(t);
  };
  w.text(QStringLiteral("GOTA"));
  boxAt(22, f.Text11);
  w.column(27);
  w.text(gotaPower);
  boxAt(37, f.Text12);
  w.column(42);
  w.text(gotaPower);
  boxAt(52, f.Text13);
  w.column(57);
  w.line(gotaPower);
  w.text(QStringLiteral("Totals"));
  countAt(w, 22, sc.cw);
  w.column(27);
  w.text(QStringLiteral("CW"));
  countAt(w, 37, sc.dig);
  w.column(42);
  w.text(QStringLiteral("Dig"));
  countAt(w, 52, sc.ph);
  w.column(57);
  w.line(QStringLiteral("Phone"));
  w.line();
  w.line(QStringLiteral("18. List all callsigns of all operators and number of QSO's completed"));
  w.line(QStringLiteral("of the GOTA Station:"));
  w.line();
  w.line(f.Text17);
  return w;
}

QStringList summaryLines(const SummaryForm& f, const BandModeCounts& counts, const Station& st, const QDate& today) {
  return textLines(summaryText(f, counts, st, today));
}

}  // namespace fd
