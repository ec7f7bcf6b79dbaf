#include "rig/rigfamilies.h"

namespace fd::rig {
namespace {

using cat::Requests;
using cat::RigValues;

void kenwoodFreq(const QByteArray& a, const Requests& r, RigValues& v) { cat::ParseKenwoodFrequency(a, r, v); }
void kenwoodMode(const QByteArray& a, const Requests& r, RigValues& v) { cat::ParseKenwoodMode(a, r, v); }
void kenwoodIF(const QByteArray& a, const Requests& r, RigValues& v) { cat::ParseKenwoodIF(a, r, v); }
void ftdx(const QByteArray& a, const Requests& r, RigValues& v) { cat::ParseFTdx9000Answer(a, r, v); }
void icomFreq(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseIcomFrequency(a, 5, v); }
void icom735Freq(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseIcomFrequency(a, 4, v); }
void icomMode(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseIcomMode(a, v); }
void yaesu(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseYaesuStatus(a, v); }
void yaesu757(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseYaesu757Status(a, v); }
void yaesu890(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseYaesu890Status(a, v); }
void yaesu920(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseYaesu920Status(a, v); }
void yaesu990(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseYaesu990Status(a, v); }
void yaesu1000(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseYaesu1000Status(a, v); }
void panelFreq(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseTenTecPanelFrequency(a, v); }
void panelMode(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseTenTecPanelMode(a, v); }
void orionFreq(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseOrionFrequency(a, v); }
void orionMode(const QByteArray& a, const Requests&, RigValues& v) { cat::ParseOrionMode(a, v); }
void pegasus(const QByteArray&, const Requests&, RigValues& v) { cat::ReadPegasusStatus(v); }

constexpr const char* kCatOn = "00 00 00 00 00";
constexpr const char* kCatOff = "00 00 00 00 80";
constexpr const char* kOld = "00 00 00 02 10";

// Row helper for the older Yaesu status families.
RigFamily oldYaesu(const char* name, Parser p, int pause) {
  return {name, 4800, 8, 2, 'N', kOld, "", true, false, true, 0, kCatOn, kCatOff, SendKind::HexFreq, 5, 14, false,
          p, nullptr, Whole::Bytes, 8, 8, FreqCmd::YaesuReversed, 8, true, pause, 0, ModeCmd::YaesuOld};
}

}  // namespace

const std::vector<RigFamily>& families() {
  static const std::vector<RigFamily> table = {
      // name, baud, data, stop, parity, txtFreq, txtMode, hex, Label10, opens, handshake, open, unload,
      // send, bytes, min, alternates, freq parser, mode parser, whole, bytes, bytes(mode),
      // set frequency, digits, tens of Hz, pauses, set mode
      {"None", 0, 0, 0, 0, "", "", false, false, false, 0, "", "", SendKind::Nothing, 0, 0, false, nullptr, nullptr,
       Whole::Always, 0, 0, FreqCmd::None, 0, false, 0, 0, ModeCmd::None},
      {"Elecraft", 4800, 8, 2, 'N', "FA;", "MD;", false, false, true, 0, "", "", SendKind::TextBoth, 0, 0, false,
       kenwoodFreq, kenwoodMode, Whole::Semicolons, 0, 0, FreqCmd::ElecraftFA, 11, false, 205, 1000, ModeCmd::Kenwood},
      {"Icom", 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, true, true, 0, "", "", SendKind::HexAlt,
       6, 17, true, icomFreq, icomMode, Whole::CivReply, 0, 0, FreqCmd::Civ, 10, false, 140, 0, ModeCmd::Civ},
      {"Icom 735", 1200, 8, 1, 'N', "FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD", true, true, true, 0, "", "",
       SendKind::HexAlt, 6, 17, true, icom735Freq, icomMode, Whole::CivReply, 0, 0, FreqCmd::Civ, 8, false, 140, 0,
       ModeCmd::None},
      {"Kenwood", 4800, 8, 2, 'N', "FA;", "MD;", false, false, true, 0, "", "", SendKind::TextBoth, 0, 0, false,
       kenwoodFreq, kenwoodMode, Whole::Semicolons, 0, 0, FreqCmd::KenwoodMarker, 11, false, 205, 0, ModeCmd::Kenwood},
      {"Kenwood 2", 4800, 8, 2, 'N', "IF;", "", false, false, true, 0, "", "", SendKind::TextBoth, 0, 0, false,
       kenwoodIF, nullptr, Whole::Semicolons, 0, 0, FreqCmd::KenwoodVfo, 11, false, 205, 0, ModeCmd::Kenwood},
      {"Ten Tec Omni VI", 1200, 8, 1, 'N', "FE FE 04 E0 03 FD", "FE FE 04 E0 04 FD", true, false, true, 0, "", "",
       SendKind::HexAlt, 6, 17, true, icomFreq, icomMode, Whole::CivReply, 0, 0, FreqCmd::Civ, 10, false, 140, 220,
       ModeCmd::Civ},
      {"Ten Tec Orion", 56000, 8, 1, 'N', "?AF", "?RMM", false, false, true, 2, "58 0D", "", SendKind::TextBothCR, 0,
       0, false, orionFreq, orionMode, Whole::Returns, 0, 0, FreqCmd::OrionHz, 0, false, 205, 0, ModeCmd::None},
      {"Ten Tec Fnt Pnl", 56000, 8, 1, 'N', "3F 41 0D", "3F 4D 0D", true, false, true, 2, "", "", SendKind::HexAlt, 3,
       7, true, panelFreq, panelMode, Whole::Bytes, 5, 3, FreqCmd::PanelHex, 8, false, 205, 0, ModeCmd::None},
      {"Ten Tec Pegasus", 0, 0, 0, 0, "", "", false, false, false, 0, "", "", SendKind::Nothing, 0, 0, false, pegasus,
       nullptr, Whole::Always, 0, 0, FreqCmd::Pegasus, 0, false, 205, 0, ModeCmd::None},
      {"Yaesu", 4800, 8, 2, 'N', "00 00 00 00 03", "", true, false, true, 0, kCatOn, kCatOff, SendKind::HexFreq, 5, 14,
       false, yaesu, nullptr, Whole::Bytes, 5, 5, FreqCmd::YaesuBcd, 8, true, 205, 0, ModeCmd::Yaesu},
      {"Yaesu 757 GX II", 4800, 8, 2, 'N', "00 00 00 00 10", "", true, false, true, 0, kCatOn, kCatOff,
       SendKind::HexFreq, 5, 14, false, yaesu757, nullptr, Whole::Bytes, 10, 10, FreqCmd::YaesuReversed, 8, true, 205,
       0, ModeCmd::YaesuOld},
      oldYaesu("Yaesu 890", yaesu890, 205),
      oldYaesu("Yaesu 920", yaesu920, 205),
      oldYaesu("Yaesu 990", yaesu990, 205),
      oldYaesu("Yaesu 1000 D", yaesu990, 205),
      oldYaesu("Yaesu 1000", yaesu1000, 10),
      {"Yaesu FTdx9000", 4800, 0, 0, 0, "FA;", "MD0;", false, false, true, 0, "", "", SendKind::TextAlt, 0, 2, true,
       ftdx, nullptr, Whole::Semicolons, 0, 0, FreqCmd::FTdxMarker, 8, false, 205, 0, ModeCmd::FTdx},
      {"Other", 0, 0, 0, 0, "", "", false, false, true, 0, "", "", SendKind::Other, 0, 0, false, nullptr, nullptr,
       Whole::Always, 0, 0, FreqCmd::None, 0, false, 0, 0, ModeCmd::None},
  };
  return table;
}

const RigFamily* family(const QString& name) {
  for (const RigFamily& f : families())
    if (name == QLatin1String(f.name)) return &f;
  return nullptr;
}

}  // namespace fd::rig
