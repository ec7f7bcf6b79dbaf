#include "log/keyrules.h"

namespace fd::keyrules {

int capital(int k) {
  if (k == 34) return 0;
  if (k >= 'a' && k <= 'z') return k - 32;
  return k;
}

int number(int k) { return (k == 8 || (k >= '0' && k <= '9')) ? k : 0; }

bool callCarriesKey(const QString& call, int k, int selStart) {
  if (call.size() < 3 || k < '0' || k > '9' || selStart != call.size()) return false;
  int digits = 0, lastDigit = -1;
  for (int i = 1; i < call.size(); ++i) {  // the first character is never examined
    const char16_t c = call[i].unicode();
    if (c < '0') return false;
    if (c <= '9') {
      ++digits;
      lastDigit = i;
    }
  }
  return digits > 0 && lastDigit < call.size() - 1;
}

bool classCarriesKey(const QString& cls, int k) {
  const char16_t last = cls.isEmpty() ? u'1' : cls.back().unicode();
  return last > '9' && k > '9';
}

bool validClassDesignator(const QString& cls) {
  if (cls.isEmpty()) return true;  // nothing to check yet; the save step asks for it
  return cls.front().isDigit() && cls.front().unicode() <= '9' && cls.back().unicode() >= 'A';
}

bool deltaPair(const QString& ownClass, const QString& entered) {
  return !ownClass.isEmpty() && !entered.isEmpty() && ownClass.endsWith(u'D') && entered.endsWith(u'D');
}

int dateKey(int k) { return (k == 8 || k == '/' || (k >= '0' && k <= '9')) ? k : 0; }
int timeKey(int k) { return (k == 8 || k == ':' || (k >= '0' && k <= '9')) ? k : 0; }

QString colonTime(const QString& t) {
  if (t.size() < 3 || t.size() > 4) return t;
  for (QChar c : t)
    if (c < u'0' || c > u'9') return t;
  return t.left(t.size() - 2) + u':' + t.right(2);
}

}  // namespace fd::keyrules
