#include "output/dupesheet.h"

#include <algorithm>

#include "core/state.h"

namespace fd {

QString dupeSortKey(const QString& call) {
  for (QChar ch : call)
    if (ch >= u'0' && ch <= u'9') return ch + call;
  return u' ' + call;
}

const QStringList& printedDupeBands() {
  static const QStringList bands = kBands.mid(0, 12);
  return bands;
}

std::vector<DupeGroup> dupeGroups(const QsoLog& log, const QStringList& bands) {
  const int modes = static_cast<int>(kModes.size());
  std::vector<QStringList> keys(static_cast<size_t>(bands.size() * modes));
  for (const QsoRecord& r : log.records()) {
    const auto b = bands.indexOf(r.Band);
    const auto m = kModes.indexOf(r.Mode);
    if (b >= 0 && m >= 0) keys[static_cast<size_t>(b * modes + m)] << dupeSortKey(r.Call);
  }
  std::vector<DupeGroup> groups;
  for (int b = 0; b < bands.size(); ++b)
    for (int m = 0; m < modes; ++m) {
      QStringList& k = keys[static_cast<size_t>(b * modes + m)];
      if (k.isEmpty()) continue;
      // Character-code order (never the locale's); equal keys are equal
      // calls, so any sort gives the same sheet.
      std::sort(k.begin(), k.end());
      DupeGroup g{bands[b], kModes[m], {}};
      g.calls.reserve(k.size());
      for (const QString& key : k) g.calls << key.mid(1);
      groups.push_back(std::move(g));
    }
  return groups;
}

}  // namespace fd
