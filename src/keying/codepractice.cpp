#include "keying/codepractice.h"

#include <chrono>
#include <cmath>

#include "keying/cwsettings.h"

namespace fd {

const QStringList& CodePracticeChars() {
  static const QStringList table = [] {
    QStringList t{QString()};
    for (QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-")) t << QString(c);
    return t;
  }();
  return table;
}

std::optional<QString> generatePractice(QString& countText, QString& lengthText, bool lettersOnly, std::mt19937& rng) {
  if (!numericValue(countText)) countText = QStringLiteral("10");
  if (!numericValue(lengthText)) lengthText = QStringLiteral("5");
  const double groups = std::floor(*numericValue(countText)), length = std::floor(*numericValue(lengthText));
  if (groups <= 0 || length < 0) return QString();
  if (groups * (length + 1) > static_cast<double>(kMaxPracticeChars)) return std::nullopt;
  const int n = lettersOnly ? 26 : 41;
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  QString text;
  for (int g = 0; g < static_cast<int>(groups); ++g) {
    for (int c = 0; c < static_cast<int>(length); ++c) {
      const int index = std::min(n, static_cast<int>(std::floor(n * uniform(rng))) + 1);
      text += CodePracticeChars().at(index);
    }
    text += u' ';
  }
  return text;
}

std::mt19937 clockSeededGenerator() {
  return std::mt19937(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

}  // namespace fd
