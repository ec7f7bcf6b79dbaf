#pragma once
// Code practice groups: the character table and the generator of random
// groups (the window that sends them is not built yet).
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <random>

namespace fd {

// Entries 1..41: "A"-"Z", "0"-"9", ".", ",", "?", "/", "-" (index 0 unused).
const QStringList& CodePracticeChars();

// Generate: count groups of length characters, each group followed by one
// blank. Non-numeric texts become "10" and "5" (the boxes are corrected in
// place); a fractional number counts its whole part; 0 or negative gives
// nothing. Beyond kMaxPracticeChars (groups x (length + 1)) the result is
// nullopt and the text box stays as it is.
inline constexpr std::int64_t kMaxPracticeChars = 30000;
std::optional<QString> generatePractice(QString& countText, QString& lengthText, bool lettersOnly, std::mt19937& rng);
// The generator seeded from the clock, as at every click.
std::mt19937 clockSeededGenerator();

}  // namespace fd
