#pragma once
// The edit window's field rules and duplicate search, free of any window.
#include <QString>
#include <optional>

#include "core/state.h"

namespace fd {

// The field rules, without a window. Each takes the box's text and the value
// the record held when the window opened: an unchanged value always passes as
// it is, so a record saved with an unknown section, an imported mode or an
// old date form can still be opened and stored.
namespace editcheck {

// The value to store ("yyyy/mm/dd"), nullopt when the text is no date.
std::optional<QString> date(const QString& text, const QString& stored);
// The value to store ("hh:mm:ss"), nullopt when the text is no time of day.
std::optional<QString> time(const QString& text, const QString& stored);
bool mode(const QString& text, const QString& stored);
bool section(const ProgramState& s, const QString& text, const QString& stored);

// The first record before recNo and the first after it with this call, band
// and mode (exact); 0 where there is none.
struct Dupes {
  int before = 0, after = 0;
  bool any() const { return before || after; }
};
Dupes dupes(const QsoLog& log, int recNo, const QString& call, const QString& band, const QString& mode);

}  // namespace editcheck

}  // namespace fd
