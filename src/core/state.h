#pragma once
// The program-wide state every window shares, under the names the design
// gives them. Owned by the main program and handed to the windows.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "log/qsolog.h"
#include "log/sectiontable.h"
#include "platform/colors.h"

namespace fd {

inline const QStringList kBands = {"160", "80", "40", "20", "15", "10", "6", "2", "1.25", "70", "33", "23", "SAT"};
inline const QStringList kModes = {"CW", "DIG", "PH"};

struct ProgramState {
  // The log.
  QsoLog Log;
  int QsoCount() const { return Log.count(); }
  int CWCount = 0, DigCount = 0, PhCount = 0;
  // Lines of fdlog.dat the loader did not take (and lines past the 14000th
  // record); written back unchanged after the records by every rewrite.
  QList<QByteArray> KeptLines;
  int KeptLinesReported = 0;      // count last reported to the operator
  int OverLimitReported = 0;      // their count when last reported

  // The section table (row 0 unused).
  QStringList SecName = QStringList(101);
  QStringList SecFullName = QStringList(kSecTotal + 1);
  int SecTotal = 0;
  std::array<int, 101> SecWorked{};  // contacts per section row
  // Worked state of a section row (1..SecTotal): its count of logged contacts.
  // Windows ask this, never the label colour: with two equal colours every
  // label would look worked.
  int sectionWorked(int row) const {
    return row >= 1 && row <= SecTotal ? SecWorked[static_cast<size_t>(row)] : 0;
  }

  // Station identity.
  QString MyCall, MyClass, MySection, OpInitials;
  float UTCOffset = 0;

  // Current band and mode.
  QString CurBand = "40";
  QString CurMode = "PH";

  // Entry state.
  std::uint8_t DupeFlag = 0;
  std::int64_t DupeTime = 0;        // monotonic milliseconds of the last duplicate
  std::uint8_t MissingFlag = 0, BadSecFlag = 0;
  std::uint8_t PartialOn = 1;
  std::uint8_t ListPrevOn = 0;
  std::uint8_t ShowWholeLog = 0;
  std::uint8_t KeyState = 0;
  QString KeyCarry;
  QString CallText;
  std::uint8_t FindActive = 0;

  // Display preferences.
  std::uint8_t FormSizePct = 100;
  std::uint8_t TaskbarOn = 0;
  // A first start (no fdpref.dat) shows worked sections red and the others
  // blue; with both 0 a worked section would never change colour.
  ColorValue WorkedColor = 255, RemainingColor = 16711680;

  // Folders.
  QString ProgDir, ProgDrive, FieldDayDir, SharedDir;

  // Shared preferences file (start-up reads it, the summary sheet writes it).
  QString PrefsXml, PrefsPath;

  // Log output and interchange.
  float LastBackupCount = 0;
  float BackupMinutes = 0;
  std::uint8_t BackupPermanent = 0, BackupOther = 0;
  QString BackupOtherDir;

  // Keying and audio.
  QString CWBuffer;
  std::uint8_t CWSending = 0;
  std::uint8_t KeyingType = 0;      // 0 none, 1 serial RTS, 2 serial DTR, 3 parallel, 5 WinKey
  std::uint8_t CWRepeat = 0, PhoneRepeat = 0;
  std::uint8_t WinKeyOpen = 0;
  std::int32_t WinKeyStatus = 0;
  std::uint8_t DigLinkUp = 0;
  std::uint8_t KeyboardCW = 0;
  std::uint8_t VoiceNavMode = 0;    // 0 off, 1 call only, 2 all data fields

  // Rig control.
  QString RigType;
  QString CurFreq;

  // Preferences writer: true while saves fail (one message, then quiet).
  bool PrefSaveFailing = false;

  // A file of the program's own, by absolute path. Never built from an empty
  // ProgDir (that would be the root folder): the current folder stands in.
  QString progFile(const QString& name) const;
  int score() const { return 2 * CWCount + 2 * DigCount + PhCount; }
};

// Fills rows 1..83 of the section table and sets SecTotal.
void fillSectionTable(ProgramState& s);

}  // namespace fd
