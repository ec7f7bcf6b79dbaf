#pragma once
// What the main window reaches of the other subsystems: one small interface
// per subsystem. Until a subsystem is built its interface is this base class:
// every call does nothing and provides() says no, so its menu items and hot
// keys stay inactive. Tests install fakes. Each service is handed the main
// window (attach) once it stands, before its load step runs.
#include <QString>
#include <memory>

#include "core/mainwindow.h"

namespace fd {

// The windows the main window unloads when it closes, in its order.
enum class SideWindow {
  PhoneFrm, CWFrm, BlindFrm, RigControlfrm, PacketSpotfrm, SpectrumMap, SectionMap,
  frmBackup, frmCWStrings, frmDigitalSource, frmWinKey
};

class OutputServices {
 public:
  enum class Feature { BackupOptions, Archive, AsciiLog, AsciiDupe, WriteSummary, AdifExport, Combine, Stats, Graph, SectionMap };
  virtual ~OutputServices() = default;
  virtual void attach(MainWindow&) {}
  virtual bool provides(Feature) const { return false; }
  virtual void showBackupOptions() {}     // frmBackup, modal, stays loaded
  virtual void loadBackupWindow() {}      // frmBackup loaded hidden; its timer runs the backups
  virtual void archive() {}               // mnuArchive_Click
  virtual void asciiLog() {}              // mnuAsciiLog_Click
  virtual void asciiDupe() {}             // mnuAsciiDupe_Click
  virtual void showSummary() {}           // Form2, modal, unloaded after
  virtual void adifExport() {}            // mnuADIFExport_Click
  virtual void showCombine() {}           // Form3, modal, unloaded after
  virtual void showStats() {}             // frmbndstats, modal, unloaded after
  virtual void showGraph() {}             // GraphQSO, modal, unloaded after
  virtual void showSectionMap() {}        // SectionMap, modeless
  virtual void unload(SideWindow) {}
};

class KeyingServices {
 public:
  enum class Feature { CWSetup, PhoneSetup, Zell, VoiceNav, CWStrings, CWKeys, PhoneKeys };
  virtual ~KeyingServices() = default;
  virtual void attach(MainWindow&) {}
  virtual bool provides(Feature) const { return false; }
  // Voice navigation prompts.
  virtual void blindKeyPhone(const QString&) {}
  virtual bool promptPlaying() const { return false; }   // BlindFrm's player reports 526
  // Voice keyer.
  virtual void fKeyPhone(int&) {}
  virtual bool voicePlaying() const { return false; }    // PhoneFrm's player reports 526
  virtual void stopVoice() {}
  virtual void disablePhoneRepeat() {}
  virtual bool loadWaveSettings() { return true; }       // "wave2.txt" into PhoneFrm
  // CW keyer.
  virtual void fKeyCW(int&) {}
  virtual void loopThroughCWBuffer() {}
  virtual void cwSpeedUp() {}
  virtual void cwSpeedDown() {}
  virtual QString cwSpeedText() const { return {}; }     // CWFrm.Text11
  virtual void disableCWRepeat() {}
  virtual void loadCWSettings() {}
  // WinKey.
  virtual void wkClearBuf() {}
  virtual int wkGetStatus() { return 0; }
  virtual void wkBackspace() {}
  // Digital link.
  virtual void setDigitalCall(const QString&) {}         // frmDigitalSource.txtBUrCall
  virtual void setDigitalKey(const QString&) {}          // frmDigitalSource.txtBField8
  virtual void connectZell() {}                          // mnuZell_Click
  // Windows.
  virtual void showCWStrings() {}                        // Ctrl+W, modeless, normal state
  virtual void showCWSetup(bool /*modal*/) {}
  virtual void showPhoneSetup(bool /*modal*/) {}
  virtual void showVoiceNav() {}
  virtual void unload(SideWindow) {}
  // "&Exit" and the end of the program: every sending loop and repeat
  // stopped, every key and PTT line up, the keyers' devices closed.
  virtual void releaseAll() {}
};

class RigServices {
 public:
  enum class Feature { RigInterface, Privileges, RigTune };
  virtual ~RigServices() = default;
  virtual void attach(MainWindow&) {}
  virtual bool provides(Feature) const { return false; }
  virtual void startRadioLink() {}        // RigControlfrm.Command1_Click
  virtual void showRigInterface() {}      // modeless
  virtual void showPrivileges() {}        // frmBandPlan, modal, unloaded after
  virtual void showRigTune() {}           // frmRigTune, modal, unloaded after
  virtual void unload(SideWindow) {}
};

class SpotServices {
 public:
  enum class Feature { DXSpotting, SpectrumMap };
  virtual ~SpotServices() = default;
  virtual void attach(MainWindow&) {}
  virtual bool provides(Feature) const { return false; }
  virtual bool bandMapVisible() const { return false; }  // lblDX
  virtual bool spotListVisible() const { return false; } // txtDX
  virtual void bandMapScale() {}
  virtual void displayBandMapLabels() {}
  virtual void refreshBandMap() {}
  virtual void showSpottingSetup() {}     // PacketSpotfrm, modeless, normal state
  virtual void showSpectrumMap() {}       // modal, unloaded after
  virtual void unload(SideWindow) {}
};

struct Services {
  std::unique_ptr<OutputServices> output = std::make_unique<OutputServices>();
  std::unique_ptr<KeyingServices> keying = std::make_unique<KeyingServices>();
  std::unique_ptr<RigServices> rig = std::make_unique<RigServices>();
  std::unique_ptr<SpotServices> spots = std::make_unique<SpotServices>();
  void attach(MainWindow& w) {
    output->attach(w);
    keying->attach(w);
    rig->attach(w);
    spots->attach(w);
  }
};

}  // namespace fd
