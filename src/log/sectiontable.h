#pragma once
// The 83 ARRL and RAC sections in their fixed order. "DX" is accepted beside them.
#include <QString>
#include <array>

namespace fd {

struct SectionRow {
  const char* name;
  const char* fullName;
};

inline constexpr int kSecTotal = 83;
extern const std::array<SectionRow, kSecTotal> kSectionRows;

// Row 1..83 of the section, 0 when it is not in the table (exact, case-sensitive).
int sectionRow(const QString& name);
// In the table or "DX".
bool isValidSection(const QString& name);

}  // namespace fd
