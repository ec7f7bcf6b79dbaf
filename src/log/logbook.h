#pragma once
// The log as the program keeps it: the memory copy, the file, and everything
// derived from them (per-mode totals, score, worked sections). The window
// parts are reached through LogView, which the main window fills.
#include <QString>

#include "core/state.h"
#include "platform/safefile.h"

namespace fd {

class LogView {
 public:
  virtual ~LogView() = default;
  virtual void paintSection(int /*row*/, ColorValue /*color*/) {}
  virtual void showTotals(int /*cw*/, int /*dig*/, int /*ph*/, int /*score*/) {}
  virtual void fillList() {}
  virtual void timeStats() {}
};

class LogBook {
 public:
  explicit LogBook(ProgramState& s, LogView* view = nullptr) : s_(s), view_(view) {}
  void setView(LogView* view) { view_ = view; }

  // mnuopen2: rebuilds the memory log and everything derived from fdlog.dat.
  // Returns false when the file could not be opened.
  bool mnuopen2();
  // NewLog: the confirmed emptying of the log.
  void NewLog();
  // Appends record QsoCount to the file; on failure the caller takes it back.
  FileResult appendLast();
  // The whole append of one new contact: adds it as record QsoCount + 1 and
  // writes its line. Refused (nothing added) when the log is full; when the
  // line cannot be written the record is taken back out of memory. The error
  // holds the reason; path() names the file. Counts are left to the caller.
  FileResult appendRecord(const QsoRecord& r);
  // Rewrites fdlog.dat from the memory log (kept lines after the records).
  FileResult rewrite();
  // Adds one contact's counts (the save step).
  void countRecord(const QsoRecord& r);
  // Worked state of a section row: its count of logged contacts.
  int worked(int row) const { return row >= 1 && row <= 100 ? s_.SecWorked[static_cast<size_t>(row)] : 0; }

  QString path() const { return s_.progFile(QStringLiteral("fdlog.dat")); }

 private:
  void showTotals();
  ProgramState& s_;
  LogView* view_;
};

}  // namespace fd
