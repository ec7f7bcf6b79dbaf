// The main window's menu bar: the fixed tree of items (names, captions,
// order, nesting), which handler each item runs, and which items are on.
// No item has a shortcut: the hot keys are the window's own key handling.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "log/form1.h"
#include "log/form5.h"
#include "platform/forms.h"
#include "platform/platform.h"
#include "platform/wait.h"

namespace fd {
namespace {

using Out = OutputServices::Feature;
using Key = KeyingServices::Feature;
using Rig = RigServices::Feature;
using Spot = SpotServices::Feature;

// One row of the tree: depth 0 is the menu bar. A caption "-" is a separator.
struct MenuRow {
  int depth;
  const char* name;
  const char* caption;
};

const MenuRow kMenuTree[] = {
    {0, "mnuFile", "&File"},
    {1, "mnuBackupOptions", "&Backup Options"},
    {1, "mnuLine12", "-"},
    {1, "mnuNew", "&New"},
    {1, "mnuprintrec", "&Print"},
    {1, "mnuPrntlog", "Print Log"},
    {1, "mnuPrntdupe", "Print Dupe Sheet"},
    {1, "mnuPrntSum", "Print Summary Sheet"},
    {1, "mnuSep", "-"},
    {1, "mnuArchive", "A&rchive Current Log"},
    {1, "mnuLine21", "-"},
    {1, "mnuAsciiLog", "Write ASCII Log File (ASCIILog.txt)"},
    {1, "mnuAsciiDupe", "Write ASCII Dupe File"},
    {1, "mnuWriteSumm", "Write Summary Sheet"},
    {1, "mnuLine", "-"},
    {1, "mnuTolvaExport", "Export for Tolva Import"},
    {1, "mnuADIFExport", "Export &ADIF Format"},
    {1, "mnuLine4", "-"},
    {1, "mnuCombine", "&Combine or Restore from Backup"},
    {1, "mnuLine22", "-"},
    {1, "mnuCopyListtoClipboard", "Copy &Listed Items to Clipboard"},
    {1, "mnuLine5", "-"},
    {1, "mnuExit", "&Exit"},
    {0, "mnuOptions", "&Options"},
    {1, "mnuTransmit", "&Transmit"},
    {2, "mnuCWtransmit", "&CW Setup"},
    {2, "mnuPhone", "&Phone Setup"},
    {2, "mnuZell", "Connect to &Zell RTTY"},
    {1, "mnuLine9", "-"},
    {1, "mnuAppearance", "&Appearance"},
    {2, "mnuColors", "&Colors"},
    {2, "mnuFormsize", "&Form Size"},
    {2, "mnuTaskbar", "&Taskbar"},
    {1, "mnuLine6", "-"},
    {1, "murigInterface", "&Rig Interface"},
    {1, "mnuLine7", "-"},
    {1, "mnuDXSpottingMain", "&DX Spotting"},
    {2, "mnuDXSpotting", "&Configure"},
    {2, "mnuViewSpectrumMap", "&View Spectrum Map"},
    {1, "mnuLine8", "-"},
    {1, "mnuBlind", "&Voice Navigation"},
    {1, "mnuLine11", "-"},
    {1, "mnuListPrevious", "&List Previous Contacts"},
    {1, "mnuLine29", "-"},
    {1, "mnuPostContest", "&Post Contest Mode"},
    {0, "mnuSetup", "&Setup"},
    {0, "mnuBand", "&Band"},
    {1, "mnu160", "160"},
    {1, "mnu80", "  80"},
    {1, "mnu40", "  40"},
    {1, "mnu20", "  20"},
    {1, "mnu15", "  15"},
    {1, "mnu10", "  10"},
    {1, "mnu6", "    6"},
    {1, "mnu2", "    2"},
    {1, "mnu125", "1.25"},
    {1, "mnu70", "   70"},
    {1, "mnu33", "   33"},
    {1, "mnu23", "   23"},
    {1, "mnuLine20", "-"},
    {1, "mnuSatellite", "Satellite"},
    {1, "sep1", "-"},
    {1, "mnuStats", "&Statistics"},
    {1, "mnuLine14", "-"},
    {1, "mnuPrivileges", "&Privileges"},
    {0, "mnuMode", "&Mode"},
    {1, "mnuCW", "&CW"},
    {1, "mnuDigital", "&DIG(ital)"},
    {1, "mnuSSB", "&PH(one)"},
    {0, "mnuGraph", "&Graph"},
    {0, "mnuMap", "M&ap"},
    {0, "mnuOperator", "O&perator"},
    {0, "mnuHelp", "&Help"},
};

// Switched off in the window's design and never switched on.
const char* const kAlwaysOff[] = {"mnuprintrec", "mnuPrntlog", "mnuPrntdupe", "mnuPrntSum", "mnuTolvaExport", "mnuLine20"};

const char* const kCheckable[] = {"mnu160", "mnu80", "mnu40", "mnu20", "mnu15", "mnu10", "mnu6",
                                  "mnu2", "mnu125", "mnu70", "mnu33", "mnu23", "mnuSatellite",
                                  "mnuCW", "mnuDigital", "mnuSSB", "mnuListPrevious", "mnuPostContest", "mnuTaskbar"};

bool hasChildren(size_t i) {
  return i + 1 < std::size(kMenuTree) && kMenuTree[i + 1].depth > kMenuTree[i].depth;
}

}  // namespace

void Form1::buildMenus() {
  QMenuBar* bar = menuBar();
  bar->clear();
  menu.clear();
  QMenu* parents[3] = {nullptr, nullptr, nullptr};
  for (size_t i = 0; i < std::size(kMenuTree); ++i) {
    const MenuRow& row = kMenuTree[i];
    const QString name = QString::fromLatin1(row.name);
    const QString caption = QString::fromLatin1(row.caption);
    QAction* action = nullptr;
    if (hasChildren(i)) {
      QMenu* sub = row.depth == 0 ? bar->addMenu(caption) : parents[row.depth - 1]->addMenu(caption);
      sub->setObjectName(name);
      parents[row.depth] = sub;
      action = sub->menuAction();
    } else if (caption == QLatin1String("-")) {
      action = parents[row.depth - 1]->addSeparator();
    } else {
      action = row.depth == 0 ? bar->addAction(caption) : parents[row.depth - 1]->addAction(caption);
    }
    action->setObjectName(name);
    menu.insert(name, action);
  }
  for (const char* name : kCheckable) menu.value(QString::fromLatin1(name))->setCheckable(true);
  for (const char* name : kAlwaysOff) menu.value(QString::fromLatin1(name))->setEnabled(false);

  // Qt flips a checkable item's mark before its handler runs; the handlers
  // here set their marks themselves and read the mark as it was before the
  // click, so the automatic flip is undone first.
  auto on = [this](const char* name, std::function<void()> handler) {
    QAction* a = menu.value(QString::fromLatin1(name));
    connect(a, &QAction::triggered, this, [a, handler = std::move(handler)] {
      if (a->isCheckable()) a->setChecked(!a->isChecked());
      handler();
    });
  };

  on("mnuBackupOptions", [this] { sv.output->showBackupOptions(); });
  on("mnuNew", [this] { mnuNew_Click(); });
  on("mnuArchive", [this] { sv.output->archive(); });
  on("mnuAsciiLog", [this] { sv.output->asciiLog(); });
  on("mnuAsciiDupe", [this] { sv.output->asciiDupe(); });
  on("mnuWriteSumm", [this] { mnuWriteSumm_Click(); });
  on("mnuADIFExport", [this] { sv.output->adifExport(); });
  on("mnuCombine", [this] { sv.output->showCombine(); });
  on("mnuCopyListtoClipboard", [this] { mnuCopyListtoClipboard_Click(); });
  on("mnuExit", [this] { mnuExit_Click(); });

  on("mnuCWtransmit", [this] { sv.keying->showCWSetup(true); });
  on("mnuPhone", [this] { sv.keying->showPhoneSetup(true); });
  on("mnuZell", [this] { mnuZell_Click(); });
  on("mnuColors", [this] { mnuColors_Click(); });
  on("mnuFormsize", [this] { mnuFormsize_Click(); });
  on("mnuTaskbar", [this] { mnuTaskbar_Click(); });
  on("murigInterface", [this] { murigInterface_Click(); });
  on("mnuDXSpotting", [this] { mnuDXSpotting_Click(); });
  on("mnuViewSpectrumMap", [this] { sv.spots->showSpectrumMap(); });
  on("mnuBlind", [this] { sv.keying->showVoiceNav(); });
  on("mnuListPrevious", [this] { mnuListPrevious_Click(); });
  on("mnuPostContest", [this] { mnuPostContest_Click(); });
  on("mnuSetup", [this] { mnuSetup_Click(); });

  static const char* const bandItems[] = {"mnu160", "mnu80", "mnu40", "mnu20", "mnu15", "mnu10", "mnu6",
                                          "mnu2",   "mnu125", "mnu70", "mnu33", "mnu23", "mnuSatellite"};
  for (int row = 1; row <= 13; ++row) on(bandItems[row - 1], [this, row] { BandCommand(row); });
  on("mnuStats", [this] { sv.output->showStats(); });
  on("mnuPrivileges", [this] { mnuPrivileges_Click(); });
  on("mnuCW", [this] { mnuCW_Click(); });
  on("mnuDigital", [this] { mnuDigital_Click(); });
  on("mnuSSB", [this] { mnuSSB_Click(); });
  on("mnuGraph", [this] { sv.output->showGraph(); });
  on("mnuMap", [this] { sv.output->showSectionMap(); });
  on("mnuOperator", [this] { mnuOperator_Click(); });
  on("mnuHelp", [this] { mnuHelp_Click(); });

  updateMenuAvailability();
}

// An item of another subsystem is on once that subsystem serves it.
void Form1::updateMenuAvailability() {
  const struct {
    const char* name;
    bool on;
  } items[] = {
      {"mnuBackupOptions", sv.output->provides(Out::BackupOptions)},
      {"mnuArchive", sv.output->provides(Out::Archive)},
      {"mnuAsciiLog", sv.output->provides(Out::AsciiLog)},
      {"mnuAsciiDupe", sv.output->provides(Out::AsciiDupe)},
      {"mnuWriteSumm", sv.output->provides(Out::WriteSummary)},
      {"mnuADIFExport", sv.output->provides(Out::AdifExport)},
      {"mnuCombine", sv.output->provides(Out::Combine)},
      {"mnuStats", sv.output->provides(Out::Stats)},
      {"mnuGraph", sv.output->provides(Out::Graph)},
      {"mnuMap", sv.output->provides(Out::SectionMap)},
      {"mnuCWtransmit", sv.keying->provides(Key::CWSetup)},
      {"mnuPhone", sv.keying->provides(Key::PhoneSetup)},
      {"mnuZell", sv.keying->provides(Key::Zell)},
      {"mnuBlind", sv.keying->provides(Key::VoiceNav)},
      {"murigInterface", sv.rig->provides(Rig::RigInterface)},
      {"mnuPrivileges", sv.rig->provides(Rig::Privileges)},
      {"mnuDXSpotting", sv.spots->provides(Spot::DXSpotting)},
      {"mnuViewSpectrumMap", sv.spots->provides(Spot::SpectrumMap)},
  };
  for (const auto& item : items)
    if (QAction* a = menu.value(QString::fromLatin1(item.name))) a->setEnabled(item.on);
}

void Form1::mnuNew_Click() {
  book.NewLog();
  TimeStats();
}

// Ends at once: no close check, no window's unload step. exit() rather than
// quit(), which would send the close events that run the close check.
void Form1::mnuExit_Click() {
  sv.keying->releaseAll();  // no transmitter may stay keyed
  SavePref();
  QCoreApplication::exit(0);
}

void Form1::mnuHelp_Click() {
  auto help = std::make_unique<Form5>(s, this);
  showModal(help.get());
}

void Form1::mnuWriteSumm_Click() {
  if (s.MyCall.size() >= 2 && s.MyClass.size() >= 2 && s.MySection.size() >= 2) {
    sv.output->showSummary();
    return;
  }
  dialogs().beep();
  dialogs().message(QStringLiteral("Need Call, Class & Section!"),
                    QStringLiteral("Please enter your Call, Class and Section in Setup!"), Buttons::Ok);
}

void Form1::mnuZell_Click() {
  // The link's hidden window gets one pass of the event loop before it
  // connects; what the operator typed meanwhile waits for the connection.
  runPendingEvents();
  sv.keying->connectZell();
}

void Form1::mnuDXSpotting_Click() {
  SavePref();
  sv.spots->showSpottingSetup();
}

void Form1::murigInterface_Click() {
  sv.rig->showRigInterface();
}

void Form1::mnuPrivileges_Click() {
  sv.rig->showPrivileges();
}

}  // namespace fd
