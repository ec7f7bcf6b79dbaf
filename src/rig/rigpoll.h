#pragma once
// The poll loop's two ticks over the serial port, without the window: a send
// tick writes the family's read requests, the next tick (a read tick) takes
// what the radio answered and runs the family's parsers.
//
// Answers are assembled across reads: a read tick whose bytes do not yet make
// the whole answer to the requests sent keeps them, the next send tick sends
// nothing, and the next read tick parses kept and new bytes together; after
// that one extra cycle what is there is parsed as it stands. Bytes that arrive
// after a parsed answer and before the next request are the tail of that
// answer and are dropped.
#include <QByteArray>
#include <optional>

#include "platform/serial.h"
#include "rig/catparse.h"
#include "rig/rigfamilies.h"

namespace fd::rig {

class RigPoll {
 public:
  SerialPort* port = nullptr;         // not owned
  const RigFamily* fam = nullptr;     // nullptr: an unknown family (sends and parses nothing)
  cat::Requests req;                  // FreqRequest, ModeRequest
  bool convToHex = false;             // "Other": requests are hex text
  cat::RigValues values;              // RigFrequency, RigMode, RigVfo
  int ReadTickDue = 0;
  int FreqRequestSent = 0;

  // One send tick. False when a port operation failed (the tick ends there;
  // ReadTickDue keeps its value).
  bool sendTick();
  // One read tick: the answer parsed this tick (for display), or nullopt when
  // there is nothing to show. Sets ok false when a port operation failed.
  std::optional<QByteArray> readTick(bool& ok);
  // Forget kept bytes and the answer awaited (input discarded by a radio
  // command, or gone with a lost port): the next tick sends a request.
  void discard();

  static constexpr int kKeptLimit = 4096;

 private:
  bool whole(const QByteArray& a) const;
  bool write(const QByteArray& bytes);
  QByteArray kept_;
  bool keeping_ = false;     // bytes kept for one extra cycle
  bool sinceParse_ = false;  // an answer was parsed and no request sent since
  int textSent_ = 0;         // text requests written by the last send tick
  int lastSentFreq_ = 1;     // which request the last send tick wrote (alternating)
};

}  // namespace fd::rig
