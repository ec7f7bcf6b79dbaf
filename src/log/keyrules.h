#pragma once
// The key rules of the entry fields, free of any window: the two key filters
// every box uses, when a typed key jumps to the next field, and the checks made
// when a field is left.
#include <QString>

namespace fd::keyrules {

// Upper-case entry: a double quote is dropped (stored texts are quoted and
// never escaped), "a".."z" become upper case, every other code passes.
int capital(int keyAscii);
// Digits-only entry: Backspace and "0".."9" pass, every other code becomes 0.
int number(int keyAscii);

// A digit typed at the end of a complete call starts the class instead. The
// call is complete when it has at least 3 characters and, from its second
// character on, holds a digit that a suffix follows and nothing below "0"
// ("/", "-", "." or a blank, which mark portable and similar calls).
bool callCarriesKey(const QString& callBefore, int keyAscii, int selStart);
// A letter (any code above "9") typed after a class that already ends in one
// starts the section. An empty class counts as ending in "1".
bool classCarriesKey(const QString& classText, int keyAscii);

// "2A", "1E", "10A" pass: a digit first and a last character from "A" on.
bool validClassDesignator(const QString& cls);
// Delta stations may not work each other: both classes end in "D".
bool deltaPair(const QString& ownClass, const QString& enteredClass);

// Post-contest fields: the date takes Backspace, "/" and digits; the time
// Backspace, ":" and digits. Everything else becomes 0.
int dateKey(int keyAscii);
int timeKey(int keyAscii);
// "1805" -> "18:05", "934" -> "9:34"; any other text is returned unchanged.
QString colonTime(const QString& text);

}  // namespace fd::keyrules
