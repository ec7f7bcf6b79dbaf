// The six settings files hold texts between double quotes with nothing
// escaped, one value a line: a double quote, CR or LF inside a text would cut
// the item or add a line, and every value after it would be read from the
// wrong place. Each text of each file is saved holding each of the three
// through the file's own writer and read back through its own reader: the
// characters are gone and every value comes back as it was.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/prefs.h"
#include "keying/cwsettings.h"
#include "keying/phonefrm_settings.h"
#include "keying/winkeysettings.h"
#include "platform/items.h"
#include "rig/rigsettings.h"
#include "spots/spotsettings.h"
#include "testenv.h"

namespace fd {
namespace {

// What a save and a read back left: the file's bytes and every value the
// reader set, in file order.
struct Trip {
  QByteArray bytes;
  QStringList values;
};

struct SettingsFile {
  const char* name;
  int texts;  // the quoted values
  // Saves with text `field` (none when -1) holding `c` twice, reads back.
  std::function<Trip(const QString& path, int field, QChar c)> roundTrip;
  // Every value the reader sets from the file as it stands.
  std::function<QStringList(const QString& path)> read;
};

template <class T>
using TextOf = std::function<QString&(T&)>;

// `start` gives each value something other than what a fresh reader starts
// from, so a value the reader never reached shows.
template <class T>
SettingsFile file(const char* name, T start, std::vector<TextOf<T>> texts,
                  std::function<void(const QString&, const T&)> save, std::function<T(const QString&)> load,
                  std::function<QStringList(const T&)> values) {
  return {name, static_cast<int>(texts.size()), [=](const QString& path, int field, QChar c) {
            T s = start;
            if (field >= 0) {
              QString& t = texts[static_cast<size_t>(field)](s);
              t = c + t.left(1) + c + t.mid(1);
            }
            save(path, s);
            QByteArray bytes;
            EXPECT_TRUE(readWholeFile(path, bytes).ok);
            return Trip{bytes, values(load(path))};
          },
          [=](const QString& path) { return values(load(path)); }};
}

QByteArray readAll(const QString& path) {
  QByteArray b;
  readWholeFile(path, b);
  return b;
}
void writeAll(const QString& path, const QByteArray& b) { ASSERT_TRUE(writeWholeFile(path, b).ok); }
QString n(double v) { return QString::number(v); }

std::vector<SettingsFile> settingsFiles() {
  ProgramState p;
  p.MyCall = "W1AW", p.MyClass = "2A", p.MySection = "ENY", p.UTCOffset = -4, p.CurMode = "CW", p.CurBand = "20";
  p.WorkedColor = 255, p.RemainingColor = 65280, p.FormSizePct = 80, p.VoiceNavMode = 1, p.RigType = "Kenwood";
  p.TaskbarOn = 1, p.ListPrevOn = 1, p.OpInitials = "JB", p.BackupPermanent = 1, p.BackupOther = 1;
  p.BackupOtherDir = "/media/usb";
  using P = ProgramState;
  SettingsFile prefsFile = file<P>(
      "fdpref.dat", p,
      {[](P& s) -> QString& { return s.MyCall; }, [](P& s) -> QString& { return s.MyClass; },
       [](P& s) -> QString& { return s.MySection; }, [](P& s) -> QString& { return s.CurMode; },
       [](P& s) -> QString& { return s.CurBand; }, [](P& s) -> QString& { return s.RigType; },
       [](P& s) -> QString& { return s.OpInitials; }, [](P& s) -> QString& { return s.BackupOtherDir; }},
      [](const QString& path, const P& s) { ASSERT_TRUE(prefs::write(path, s).ok); },
      [](const QString& path) {
        P s;
        prefs::read(path, s);
        return s;
      },
      [](const P& s) {
        return QStringList{s.MyCall,          s.MyClass,          s.MySection,         n(s.UTCOffset),
                           s.CurMode,         s.CurBand,          n(s.WorkedColor),    n(s.RemainingColor),
                           n(s.FormSizePct),  n(s.VoiceNavMode),  s.RigType,           n(s.TaskbarOn),
                           n(s.ListPrevOn),   s.OpInitials,       n(s.BackupPermanent), n(s.BackupOther),
                           s.BackupOtherDir};
      });

  // cw.txt: the key line's type is written beside the settings.
  struct Cw {
    CWSettings s;
    int keyingType = 0;
  };
  Cw cw;
  for (int i = 1; i <= 13; ++i) cw.s.Text[i] = QStringLiteral("F%1 TEXT").arg(i);
  cw.s.Text[10] = "3", cw.s.Text[11] = "25", cw.s.Text[14] = "&H278";
  cw.s.txtSpace = "2", cw.s.Check1 = 0, cw.s.txtCWLoop = "2.5", cw.keyingType = 2;
  std::vector<TextOf<Cw>> cwTexts;
  for (int i = 1; i <= 14; ++i) cwTexts.push_back([i](Cw& c) -> QString& { return c.s.Text[static_cast<size_t>(i)]; });
  cwTexts.push_back([](Cw& c) -> QString& { return c.s.txtSpace; });
  cwTexts.push_back([](Cw& c) -> QString& { return c.s.txtCWLoop; });
  SettingsFile cwFile = file<Cw>(
      "cw.txt", cw, cwTexts, [](const QString& path, const Cw& c) { writeAll(path, cwTxtBytes(c.s, c.keyingType)); },
      [](const QString& path) {
        Cw c;
        c.keyingType = restoreCwTxt(readAll(path), c.s).keyingType.value_or(-1);
        return c;
      },
      [](const Cw& c) {
        QStringList v;
        for (int i = 1; i <= 13; ++i) v << c.s.Text[static_cast<size_t>(i)];
        return v << c.s.txtSpace << n(c.keyingType) << c.s.Text[14] << n(c.s.Check1) << c.s.txtCWLoop;
      });

  WaveSettings w;
  for (int i = 0; i < 9; ++i) w.Text[static_cast<size_t>(i)] = QStringLiteral("/home/op/f%1.wav").arg(i + 1);
  w.Text10 = "2", w.option = WaveSettings::DTR, w.txtPHLoop = "3.5", w.Text11 = "&H278";
  std::vector<TextOf<WaveSettings>> waveTexts;
  for (int i = 0; i < 9; ++i)
    waveTexts.push_back([i](WaveSettings& s) -> QString& { return s.Text[static_cast<size_t>(i)]; });
  waveTexts.push_back([](WaveSettings& s) -> QString& { return s.Text10; });
  waveTexts.push_back([](WaveSettings& s) -> QString& { return s.txtPHLoop; });
  waveTexts.push_back([](WaveSettings& s) -> QString& { return s.Text11; });
  SettingsFile waveFile = file<WaveSettings>(
      "wave2.txt", w, waveTexts, [](const QString& path, const WaveSettings& s) { writeAll(path, writeWave2(s)); },
      [](const QString& path) {
        WaveSettings s;
        readWave2(readAll(path), s);
        return s;
      },
      [](const WaveSettings& s) {
        QStringList v(s.Text.begin(), s.Text.end());
        return v << s.Text10 << n(s.option) << s.txtPHLoop << s.Text11;
      });

  WKSettings k{7, {"", "22", "45", "10", "5", "60"}, 2, 4};
  using K = WKSettings;
  SettingsFile wkFile = file<K>(
      "WK.txt", k,
      {[](K& s) -> QString& { return s.box.txtWKWPM; }, [](K& s) -> QString& { return s.box.txtWeight; },
       [](K& s) -> QString& { return s.box.txtLeadIn; }, [](K& s) -> QString& { return s.box.txtTail; },
       [](K& s) -> QString& { return s.box.txtRatio; }},
      [](const QString& path, const K& s) { writeAll(path, wkTxtBytes(s)); },
      [](const QString& path) {
        K s;
        readWkTxt(readAll(path), s);
        return s;
      },
      [](const K& s) {
        return QStringList{n(s.port),     s.box.txtWKWPM, s.box.txtWeight, s.box.txtLeadIn,
                           s.box.txtTail, s.box.txtRatio, n(s.pinCfg),     n(s.mode)};
      });

  rig::RigFile r;
  r.settings = {"4800 ", "E", "7", "2", "MD;", "FA;", "4800,E,7,2", 5, "R", "S"};
  r.rigType = "Kenwood", r.convToHex = 1, r.useFrequency = 0, r.modeBy = 3;
  using R = rig::RigFile;
  SettingsFile rigFile = file<R>(
      "RigCntrl.txt", r,
      {[](R& f) -> QString& { return f.settings.Baud; }, [](R& f) -> QString& { return f.settings.Parity; },
       [](R& f) -> QString& { return f.settings.DataBits; }, [](R& f) -> QString& { return f.settings.StopBits; },
       [](R& f) -> QString& { return f.settings.ModeRequest; },
       [](R& f) -> QString& { return f.settings.FreqRequest; },
       [](R& f) -> QString& { return f.settings.PortSettings; },
       [](R& f) -> QString& { return f.settings.PowerLine; }, [](R& f) -> QString& { return f.settings.PollRate; },
       [](R& f) -> QString& { return f.rigType; }},
      [](const QString& path, const R& f) { ASSERT_TRUE(rig::saveRigFile(path, f).ok); },
      [](const QString& path) {
        R f;
        rig::loadRigFile(path, f);
        return f;
      },
      [](const R& f) {
        const rig::RigSettings& s = f.settings;
        return QStringList{s.Baud,           s.Parity,       s.DataBits,     s.StopBits,        s.ModeRequest,
                           s.FreqRequest,    s.PortSettings, n(s.PortNumber), s.PowerLine,      s.PollRate,
                           f.rigType,        n(f.convToHex), n(f.useFrequency), n(f.modeBy)};
      });

  SpotSettings sp;
  sp.Baud = "9600", sp.Parity = "N", sp.DataBits = "8", sp.StopBits = "1", sp.PortNumber = 3, sp.PowerLine = "R";
  sp.Transport = "Telnet", sp.ConvToHex = 1, sp.Handshake = 2, sp.ListDXOnly = 1, sp.OptList = true;
  sp.Hex = "03", sp.TelnetPort = "7300", sp.TelnetHost = "dx.example.net";
  using S = SpotSettings;
  SettingsFile spotFile = file<S>(
      "PackSpot.txt", sp,
      {[](S& s) -> QString& { return s.Baud; }, [](S& s) -> QString& { return s.Parity; },
       [](S& s) -> QString& { return s.DataBits; }, [](S& s) -> QString& { return s.StopBits; },
       [](S& s) -> QString& { return s.PowerLine; }, [](S& s) -> QString& { return s.Transport; },
       [](S& s) -> QString& { return s.Hex; }, [](S& s) -> QString& { return s.TelnetPort; },
       [](S& s) -> QString& { return s.TelnetHost; }},
      [](const QString& path, const S& s) { writeAll(path, s.toFile()); },
      [](const QString& path) {
        int read = 0;
        return S::readValues(readAll(path), read);
      },
      [](const S& s) {
        return QStringList{s.Baud,         s.Parity,       s.DataBits,      s.StopBits,    n(s.PortNumber),
                           s.PowerLine,    s.Transport,    n(s.ConvToHex),  n(s.Handshake), n(s.ListDXOnly),
                           n(s.OptList),   s.Hex,          s.TelnetPort,    s.TelnetHost};
      });

  return {prefsFile, cwFile, waveFile, wkFile, rigFile, spotFile};
}

TEST(SettingsFiles, QuoteAndLineEndsInATextAreDroppedOnSave) {
  const std::vector<SettingsFile> files = settingsFiles();
  ASSERT_EQ(files.size(), 6u);
  QTemporaryDir dir;
  for (const SettingsFile& f : files) {
    SCOPED_TRACE(f.name);
    const QString path = dir.filePath(QString::fromLatin1(f.name));
    const Trip plain = f.roundTrip(path, -1, {});
    // The table names every value and every text the file holds.
    const QStringList lines = items::lines(QString::fromLatin1(plain.bytes));
    ASSERT_EQ(plain.values.size(), lines.size());
    ASSERT_EQ(f.texts, lines.filter(QRegularExpression(QStringLiteral("^\".*\"$"))).size());
    for (int field = 0; field < f.texts; ++field)
      for (QChar c : {u'"', u'\r', u'\n'}) {
        SCOPED_TRACE(testing::Message() << "text " << field + 1 << ", character " << int(c.unicode()));
        const Trip t = f.roundTrip(path, field, c);
        EXPECT_EQ(t.values.join(u'|').toStdString(), plain.values.join(u'|').toStdString());
      }
  }
}

// A hand-edited file may hold a lone CR inside a text, which no save can
// write back: each reader drops it, so what is read is what the next save
// writes and reads again.
TEST(SettingsFiles, ALoneCRInsideAHandEditedTextIsDroppedOnReading) {
  QTemporaryDir dir;
  for (const SettingsFile& f : settingsFiles()) {
    SCOPED_TRACE(f.name);
    const QString path = dir.filePath(QString::fromLatin1(f.name));
    const Trip plain = f.roundTrip(path, -1, {});
    QList<QByteArray> lines = plain.bytes.split('\n');
    int edited = 0;
    for (QByteArray& line : lines)
      if (line.startsWith('"') && line.endsWith("\"\r")) {
        line.insert(line.size() > 3 ? 2 : 1, '\r');
        ++edited;
      }
    ASSERT_EQ(edited, f.texts);
    writeAll(path, lines.join('\n'));
    EXPECT_EQ(f.read(path).join(u'|').toStdString(), plain.values.join(u'|').toStdString());
  }
}

}  // namespace
}  // namespace fd
