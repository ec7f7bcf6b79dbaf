#include "settingsfiles.h"

#include <QDir>
#include <QFileInfo>

#include "core/state.h"
#include "keying/cwsettings.h"
#include "keying/phonefrm_settings.h"
#include "keying/winkeyer.h"
#include "log/logfile.h"
#include "output/backup.h"
#include "platform/serial.h"
#include "rig/rigsettings.h"
#include "spots/spotsettings.h"

namespace fd::sim {

namespace {

const char* const kNames[] = {"RigCntrl.txt", "PackSpot.txt", "cw.txt", "wave2.txt", "WK.txt", "LogBkUp.dat",
                              "other/LogBkUp.dat"};
constexpr int kCount = 7;

QString g(int gen) { return QString::number(gen); }
// A long text on odd generations, so a file alternates between two sizes.
QString pad(int gen) { return gen % 2 ? QString(300, u'x') : QString(); }

rig::RigFile rigFile(int gen) {
  rig::RigFile f;
  f.settings.FreqRequest = QStringLiteral("FA%1;").arg(pad(gen));
  f.settings.PortNumber = gen % 10 + 1;
  f.rigType = QStringLiteral("R") + g(gen);
  f.modeBy = gen % 3 + 1;
  return f;
}

SpotSettings spotFile(int gen) {
  SpotSettings s;
  s.Baud = QStringLiteral("9600");
  s.Parity = QStringLiteral("N");
  s.DataBits = QStringLiteral("8");
  s.StopBits = QStringLiteral("1");
  s.PortNumber = gen % 10;
  s.PowerLine = QStringLiteral("N");
  s.Transport = QStringLiteral("Telnet");
  s.Handshake = gen % 4;
  s.OptList = gen % 2;
  s.Hex = QStringLiteral("03");
  s.TelnetPort = g(gen);
  s.TelnetHost = QStringLiteral("h%1.example%2").arg(gen).arg(pad(gen));
  return s;
}

CWSettings cwFile(int gen) {
  CWSettings c;
  c.Text[1] = QStringLiteral("CQ FD %1%2").arg(gen).arg(pad(gen));
  c.Text[9] = QStringLiteral("VVV DE W1AW");  // an empty one reads back as this text
  c.Text[11] = QString::number(gen % 30 + 10);
  return c;
}

WaveSettings waveFile(int gen) {
  WaveSettings w;
  w.Text[0] = QStringLiteral("/m/f%1%2.wav").arg(gen).arg(pad(gen));
  w.option = gen % 3;
  return w;
}

void wkBoxes(WinKeyer& k, int gen) {
  k.WinKeyPort = gen % 9 + 1;
  k.box.txtLeadIn = g(gen);
  k.box.txtRatio = pad(gen).isEmpty() ? QStringLiteral("50") : pad(gen);
}

struct Ports {
  FakeSerialPort a, b, c;
};

std::vector<QsoRecord> backupRecords(int gen) {
  std::vector<QsoRecord> v;
  for (int i = 0; i < gen % 7 + 1; ++i)
    v.push_back({QStringLiteral("B%1").arg(gen), QStringLiteral("2A"), QStringLiteral("ENY"),
                 QStringLiteral("2024/06/22"), QStringLiteral("18:00:00"), QStringLiteral("20"), QStringLiteral("CW"),
                 QString(), QString::number(i)});
  return v;
}

std::optional<int> readBackup(const QString& path, bool* damaged) {
  if (!QFileInfo::exists(path)) return std::nullopt;
  const logfile::LoadResult got = logfile::load(path);
  if (got.records.empty() || !got.kept.isEmpty() || !got.records[0].Call.startsWith(u'B')) {
    *damaged = true;
    return std::nullopt;
  }
  const int gen = got.records[0].Call.mid(1).toInt();
  if (got.records != backupRecords(gen)) {
    *damaged = true;
    return std::nullopt;
  }
  return gen;
}

// The generation a text "<prefix><gen><rest>" names.
int genOf(const QString& text, const QString& prefix) {
  int end = static_cast<int>(prefix.size());
  while (end < text.size() && text[end].isDigit()) ++end;
  return text.mid(prefix.size(), end - prefix.size()).toInt();
}

}  // namespace

int settingsFileCount() { return kCount; }
QString settingsFileName(int index) { return QString::fromLatin1(kNames[index]); }

FileResult writeSettingsFile(const QString& folder, int index, int gen) {
  const QString path = QDir(folder).filePath(settingsFileName(index));
  switch (index) {
    case 0: return rig::saveRigFile(path, rigFile(gen));
    case 1: return writeWholeFile(path, spotFile(gen).toFile());
    case 2: return writeWholeFile(path, cwTxtBytes(cwFile(gen), gen % 2));
    case 3: return writeWholeFile(path, writeWave2(waveFile(gen)));
    case 4: {
      ProgramState s;
      Ports p;
      WinKeyer k(s, p.a, p.b, p.c);
      wkBoxes(k, gen);
      QString why;
      return k.writeWkTxt(folder, &why) ? FileResult{} : FileResult{false, why};
    }
    case 5: {
      ProgramState s;
      s.ProgDir = folder;
      for (const QsoRecord& r : backupRecords(gen)) s.Log.append(r);
      return backup::writeBackup(s);
    }
    default:
      QDir(folder).mkpath(QStringLiteral("other"));
      return copyWholeFile(backup::backupPath([&] {
                             ProgramState s;
                             s.ProgDir = folder;
                             return s;
                           }()),
                           path);
  }
}

std::optional<int> readSettingsFile(const QString& folder, int index, bool* damaged) {
  *damaged = false;
  const QString path = QDir(folder).filePath(settingsFileName(index));
  if (index >= 5) return readBackup(path, damaged);
  if (!QFileInfo::exists(path)) return std::nullopt;
  QByteArray bytes;
  if (!readWholeFile(path, bytes).ok) {
    *damaged = true;
    return std::nullopt;
  }
  int gen = 0;
  bool whole = false;
  switch (index) {
    case 0: {
      rig::RigFile f;
      rig::loadRigFile(path, f);
      gen = genOf(f.rigType, QStringLiteral("R"));
      const rig::RigFile want = rigFile(gen);
      whole = f.valuesRead == 14 && f.rigType == want.rigType && f.settings.FreqRequest == want.settings.FreqRequest &&
              f.settings.PortNumber == want.settings.PortNumber && f.modeBy == want.modeBy;
      break;
    }
    case 1: {
      const std::optional<SpotSettings> f = SpotSettings::fromFile(bytes);
      if (!f) break;
      gen = f->TelnetPort.toInt();
      const SpotSettings want = spotFile(gen);
      whole = f->TelnetHost == want.TelnetHost && f->PortNumber == want.PortNumber &&
              f->Handshake == want.Handshake && f->OptList == want.OptList && f->Hex == want.Hex;
      break;
    }
    case 2: {
      CWSettings f;
      const CWRestore r = restoreCwTxt(bytes, f);
      gen = genOf(f.Text[1], QStringLiteral("CQ FD "));
      const CWSettings want = cwFile(gen);
      whole = r.complete && r.keyingType == gen % 2 && f.Text == want.Text;
      break;
    }
    case 3: {
      WaveSettings f;
      const bool complete = readWave2(bytes, f);
      gen = genOf(f.Text[0], QStringLiteral("/m/f"));
      const WaveSettings want = waveFile(gen);
      whole = complete && f.Text == want.Text && f.option == want.option;
      break;
    }
    case 4: {
      ProgramState s;
      Ports p;
      WinKeyer got(s, p.a, p.b, p.c), want(s, p.a, p.b, p.c);
      got.load(folder);
      gen = got.box.txtLeadIn.toInt();
      wkBoxes(want, gen);
      whole = got.WinKeyPort == want.WinKeyPort && got.box.txtLeadIn == want.box.txtLeadIn &&
              got.box.txtRatio == want.box.txtRatio && got.WinKeyMode == want.WinKeyMode &&
              got.WinKeyPinCfg == want.WinKeyPinCfg;
      break;
    }
  }
  if (!whole || gen <= 0) {
    *damaged = true;
    return std::nullopt;
  }
  return gen;
}

}  // namespace fd::sim
