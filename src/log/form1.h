#pragma once
// The main window: entry fields, status line, score, clocks and rates, the
// recent-contacts list, the section grid, band and mode, menus and hot keys.
// The class is one, its code lives in files by concern:
//   form1.cpp            construction, LogView
//   form1_layout.cpp     the layout table, load-step scaling, fit and size
//   form1_menus.cpp      the menu tree and the window-opening handlers
//   form1_bandmode.cpp   band and mode commands
//   form1_grid.cpp       section grid, hover, colours
//   form1_entry.cpp      entry fields, key rules, clear
//   form1_dupe.cpp       duplicate and partial-call checks
//   form1_save.cpp       the save step and the score
//   form1_clock.cpp      clocks, rates, duplicate hold
//   form1_list.cpp       the recent-contacts list
//   form1_postcontest.cpp post-contest entry
//   form1_hotkeys.cpp    hot keys and keyboard CW
//   form1_load.cpp       load, activation and close steps, station setup
//   form1_maint.cpp      edit, delete, find, operator
#include <QHash>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <functional>
#include <memory>

#include "core/scaling.h"
#include "core/mainwindow.h"
#include "core/services.h"
#include "core/spotview.h"
#include "core/state.h"
#include "core/title.h"
#include "log/logbook.h"
#include "platform/keys.h"
#include "platform/widgets.h"

class QAction;
class QMenu;

namespace fd {

class Form1 : public QMainWindow, public LogView, public KeyPreview, public MainWindow {
  Q_OBJECT
 public:
  Form1(ProgramState& state, Services& services, QWidget* parent = nullptr);
  ~Form1() override;

  ProgramState& s;
  Services& sv;
  LogBook book;

  // ---- controls (public: other windows and tests read and write them) ----
  QWidget* surface = nullptr;  // the client area; controls sit on it at twip positions
  TwipLayout layout;           // every control, in the window's control order

  KeyBox *txtCall = nullptr, *txtCK = nullptr, *txtSec = nullptr;
  KeyBox *txtPostConTime = nullptr, *txtPostConDate = nullptr;
  ClickLabel *lblPostConTime = nullptr, *lblPostConDate = nullptr;
  std::array<ClickLabel*, 3> lblStation{};   // "Call", "Class", "Section"
  ClickLabel *lblDialog = nullptr, *lblDupe = nullptr, *lblPossDup = nullptr;
  // Score block: value labels and their captions.
  ClickLabel *lblTotCon = nullptr, *lblTotSec = nullptr, *lblsectogo = nullptr, *lblTotScore = nullptr;
  std::array<ClickLabel*, 4> lblScoreCaption{};
  // Clocks and rates.
  ClickLabel *lblCurTime = nullptr, *Label16 = nullptr, *lblutctime = nullptr;
  ClickLabel *lblAQSO60 = nullptr, *lblAQSO20 = nullptr;
  std::array<ClickLabel*, 4> lblClockCaption{};  // "Local", "UTC", the two rate captions
  // Identity, band and mode.
  ClickLabel *Label1 = nullptr, *Label2 = nullptr, *Label4 = nullptr;
  ClickLabel *Label30 = nullptr, *Label12 = nullptr, *lblBandSwitch = nullptr, *Label3 = nullptr;
  // Lists.
  ClickLabel* lblRecentContacts = nullptr;
  QTreeWidget* ListView1 = nullptr;
  QTreeWidget* txtDX = nullptr;     // spot list (filled by the spotting subsystem)
  ClickLabel* lblDX = nullptr;      // band-map area (spotting subsystem)
  QWidget* LineDX = nullptr;        // band-map axis
  std::array<ClickLabel*, 50> lblDXSpot{};
  std::array<ClickLabel*, 5> lblFreqSpot{};
  // Buttons.
  QPushButton *cmdClear = nullptr, *cmdEdit = nullptr, *cmdDelete = nullptr, *cmdList = nullptr;
  QPushButton *cmdFind = nullptr, *cmdDup = nullptr;
  // Section grid: Label10[1..83], its title and eleven headings.
  std::array<ClickLabel*, kSecTotal + 1> Label10{};
  ClickLabel* lblSecWkd = nullptr;
  std::array<ClickLabel*, 11> lblSecHeading{};
  // Timers.
  QTimer Timer1;  // 60 s: TimeStats
  QTimer Timer2;  // 1 s: clocks

  // Menu items by their names ("mnuNew", "mnu160", ...), and the top-level menus.
  QHash<QString, QAction*> menu;
  QAction* menuItem(const QString& name) const { return menu.value(name); }

  // ---- layout and load-step pieces (form1_layout.cpp) ----
  void buildControls();
  void ScaleToScreen();        // load step 3 and 4
  void SetStartStatus();       // load step 5
  void AddListColumns();       // load step 6
  void FillSectionGrid();      // load step 7
  void SetStartDefaults();     // load step 8
  void ShowBandAndMode();      // load steps 14 and 15 (form1_bandmode.cpp)
  void ShowStationIdentity();  // load step 18
  void FitFormToScreen();
  void fitToScreenArea();
  void ScaleFormControls();
  void mnuFormsize_Click();
  void mnuTaskbar_Click();
  void applyLayout();          // twips to pixels
  void fitListColumns(QTreeWidget* list);
  void fitBoxFont(KeyBox* box);
  static std::uint8_t clampedFormSize(int pct);  // 30..100

  // ---- menus (form1_menus.cpp) ----
  void buildMenus();
  void updateMenuAvailability();
  void mnuNew_Click();
  void mnuExit_Click();
  void mnuHelp_Click();
  void mnuWriteSumm_Click();
  void mnuZell_Click();
  void mnuDXSpotting_Click();
  void murigInterface_Click();
  void mnuPrivileges_Click();

  // ---- band and mode (form1_bandmode.cpp) ----
  void BandCommand(int row);             // rows 1..13 of the band list ("160" .. "SAT")
  void ModeCommand(const QString& mode); // "CW", "DIG", "PH"
  void mnuCW_Click() { ModeCommand(QStringLiteral("CW")); }
  void mnuDigital_Click() { ModeCommand(QStringLiteral("DIG")); }
  void mnuSSB_Click() { ModeCommand(QStringLiteral("PH")); }
  void Label30_MouseDown(int button);
  void Label12_Click();

  // ---- section grid and colours (form1_grid.cpp) ----
  void Label10_Click(int index);
  void Label10_MouseMove(int index);
  void Form_MouseMove();
  void mnuColors_Click();

  // ---- entry fields (form1_entry.cpp) ----
  static void Capital(int& keyAscii);
  static void number(int& keyAscii);
  void txtCall_KeyPress(int& keyAscii);
  void txtCK_KeyPress(int& keyAscii);
  void txtSec_KeyPress(int& keyAscii);
  void enterOrSpace(int& keyAscii, const std::function<void()>& moveOn);
  void txtCall_Change();
  void txtCall_Pasted();       // text pasted or dropped into the call field
  void fitDupeFont();
  void txtCall_GotFocus();
  void txtCall_LostFocus();
  void txtCK_GotFocus();
  void txtCK_LostFocus();
  void txtSec_GotFocus();
  void cmdClear_Click();
  void sendTab();              // focus to the next visible entry field
  void connectEntry();
  QList<KeyBox*> entryFields() const;  // in tab order, the post-contest pair included

  // ---- duplicate checks (form1_dupe.cpp) ----
  void dupcheck();
  void PartialCheck(int& keyAscii);
  void partialCheckFor(const QString& before, int keyAscii);  // as if keyAscii were typed after before
  void cmdDup_Click();
  bool listPreviousChecked() const;
  int dupesFound = 0;          // duplicates reported so far; a carry looks whether its focus move found one
  bool keepStatusOnce = false; // a refusal's message outlives the partial check of its own key press

  // ---- save step (form1_save.cpp) ----
  void frmcmp();
  void CheckSection();
  // While the save step or the duplicate check moves the cursor, the fields'
  // enter and leave steps do not run; the save step enters the field it ends
  // in once when it is done.
  bool programMovesCursor = false;
  void saveStepBody();

  // ---- post-contest entry (form1_postcontest.cpp) ----
  void mnuPostContest_Click();
  void txtPostConDate_GotFocus();
  void txtPostConTime_GotFocus();
  void txtPostConDate_KeyPress(int& keyAscii);
  void txtPostConTime_KeyPress(int& keyAscii);
  void postContestKey(int& keyAscii, int (*allowed)(int));
  bool postContestMode() const;

  // ---- clocks and rates (form1_clock.cpp) ----
  void Timer1_Timer();
  void Timer2_Timer();
  void TimeStats();
  void DupeHoldDelay(int& keyAscii);

  // ---- recent-contacts list (form1_list.cpp) ----
  void FillList();
  void cmdList_Click();
  void ListView1_Click();
  void ListView1_ColumnClick(int column);   // 1-based position
  void ListView1_MouseUp(int button);
  void mnuCopyListtoClipboard_Click();
  void mnuListPrevious_Click();
  void addListRow(int recNo, bool withOperator = true);
  QTreeWidgetItem* makeListRow(int recNo, bool withOperator) const;
  void connectList();

  // ---- hot keys (form1_hotkeys.cpp) ----
  void Form_KeyDown(int& keyCode, int& shift);
  void Form_KeyPress(int& keyAscii);
  std::uint8_t KeyboardRTTY = 0;
  std::uint8_t SuppressKeyPress = 0;

  // ---- load, activation, close (form1_load.cpp) ----
  void Form_Load();
  void Form_Activate();
  bool Form_QueryUnload();     // true = cancel the close
  void Form_Unload();
  void Form_Terminate();
  void ApplyStationID();
  void mnuSetup_Click();
  void CheckUtcOffset();
  void showStationWindow();    // the station window, modal; its boxes become the identity

  // ---- maintenance (form1_maint.cpp) ----
  void cmdEdit_Click();
  void cmdDelete_Click();
  void cmdFind_Click();
  void mnuOperator_Click();
  int selectedRecord() const;  // record number of the selected row, 0 when none

  // ---- LogView ----
  void paintSection(int row, ColorValue color) override;
  void showTotals(int cw, int dig, int ph, int score) override;
  void fillList() override { FillList(); }
  void timeStats() override { TimeStats(); }

  // ---- KeyPreview ----
  void previewKeyDown(int& keyCode, int& shift) override { Form_KeyDown(keyCode, shift); }
  void previewKeyPress(int& keyAscii) override { Form_KeyPress(keyAscii); }

  // ---- MainWindow (form1_port.cpp): what the other subsystems reach ----
  KeyPreview* keyPreview() override { return this; }
  QString fieldText(Field f) const override;
  void setFieldText(Field f, const QString& text) override;
  void Mains() override;
  void selectBand(const QString& band) override;
  void selectMode(const QString& mode) override;
  void setCurFreq(const QString& mhz) override;
  void setStatus(const QString& text) override;
  void setStatus(const QString& text, ColorValue back) override;
  QString statusText() const override;
  void setRadioLost(bool lost) override;
  void mnuopen2() override;
  void SavePref() override;
  void focusCall() override;
  QWidget* window() override { return this; }
  QString caption() const override { return windowTitle(); }
  SpotView* spotView() override;
  KeyBox* field(Field f) const;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  KeyPreviewFilter previewFilter_{this};
  QMargins frame_;  // the window manager's frame around the window, once known
  bool terminated_ = false;
  bool closing_ = false;
  std::unique_ptr<SpotView> spotView_;
  // The radio's port lost: whether the status line took the notice, and
  // what it held before.
  bool radioLost_ = false;
  bool lossNoticeShown_ = false;
  QString heldStatus_;
  ColorValue heldStatusBack_ = 0;
};

}  // namespace fd
