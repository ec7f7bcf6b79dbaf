#pragma once
// The radio families, one row each: presets, read requests and how they are
// sent, the bytes at open and at unload, the answer parsers and when an
// answer is whole, and the set commands with their pauses. Every family
// difference of the rig link is a column here.
#include <QByteArray>
#include <QString>
#include <vector>

#include "rig/catparse.h"

namespace fd::rig {

// How one send tick writes the read requests.
enum class SendKind {
  Nothing,     // no serial requests (None, Pegasus, unknown)
  TextBoth,    // frequency then mode request as typed, each when not empty
  TextBothCR,  // the same, each followed by CR
  TextAlt,     // frequency or mode request as typed, in turn (>= minLength)
  HexAlt,      // frequency or mode request as hexBytes bytes, in turn (>= minLength)
  HexFreq,     // the frequency request as hexBytes bytes (>= minLength)
  Other,       // as typed, or through HexTextToBytes with "Convert to Hex"
};

// When the bytes taken so far are the whole answer.
enum class Whole {
  Always,      // nothing to wait for (no parser)
  Semicolons,  // one ";" per text request sent
  Returns,     // one CR per text request sent
  CivReply,    // a frame closed by FD other than the request's echo
  Bytes,       // at least wholeBytes (wholeBytesMode after a mode request)
};

enum class FreqCmd { None, KenwoodMarker, KenwoodVfo, ElecraftFA, FTdxMarker, Civ, YaesuBcd, YaesuReversed, PanelHex, OrionHz, Pegasus };
enum class ModeCmd { None, Kenwood, FTdx, Civ, Yaesu, YaesuOld };

using Parser = void (*)(const QByteArray& answer, const cat::Requests& r, cat::RigValues& v);

struct RigFamily {
  const char* name;
  // Presets of the family click: 0 / '\0' leaves the option as it is.
  int baud;
  int dataBits;
  int stopBits;
  char parity;
  const char* freqRequest;
  const char* modeRequest;
  bool convToHex;        // "Convert to Hex" value
  bool label10;          // the CI-V address note
  bool opensPort;
  int handshake;         // at every open
  const char* openHex;   // bytes sent after open (hex text)
  const char* unloadHex; // bytes sent at unload while polling
  SendKind send;
  int hexBytes;
  int minLength;
  bool alternates;       // FreqRequestSent flips each send tick
  Parser freqParser;     // both run in order unless alternating
  Parser modeParser;
  Whole whole;
  int wholeBytes;
  int wholeBytesMode;
  // Set commands.
  FreqCmd freqCmd;
  int digits;            // of the frequency number
  bool tensOfHz;
  int pause1, pause2;    // ms before the frequency command
  ModeCmd modeCmd;
};

// The nineteen families in list order.
const std::vector<RigFamily>& families();
// The row for a family text (exact, case-sensitive); nullptr for none.
const RigFamily* family(const QString& name);

}  // namespace fd::rig
