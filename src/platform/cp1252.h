#pragma once
// The program's files are 8-bit text in the Windows-1252 code page. Qt 6.4 has
// no codec for it, so we keep our own table: every byte maps to one character
// and back, the five bytes the code page leaves undefined to the control
// character of the same value, so any file round-trips byte for byte.
#include <QByteArray>
#include <QChar>
#include <QString>

namespace fd::cp1252 {

QString decode(const QByteArray& bytes);
QByteArray encode(const QString& text);   // characters outside the table become '?'
bool canEncode(QChar c);
char16_t toUnicode(unsigned char byte);

}  // namespace fd::cp1252
