// SharedUserPreferences.xml: any file survives a read, an element set and a
// rewrite with every other byte as it was.
#include <cstddef>
#include <cstdint>

#include "core/sharedprefs.h"
#include "fuzzsupport.h"

using namespace fd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString path = fuzz::writeScratch("shared.xml", bytes);
  static ProgramState s, again;  // a state reserves room for a whole log: built once
  ReadSharedPrefs(s, path);
  const QString before = s.PrefsXml;
  fuzz::check(WriteSharedPrefs(s, path).ok, "the rewrite succeeds");
  ReadSharedPrefs(again, path);
  fuzz::check(again.PrefsXml == before, "a read and rewrite changes no byte");
  SetPrefTag(again, QStringLiteral("call"), QStringLiteral("W1AW"), 0);
  fuzz::check(again.PrefsXml.contains(QStringLiteral("<CALL>W1AW</CALL>")), "the element holds its new value");
  return 0;
}
