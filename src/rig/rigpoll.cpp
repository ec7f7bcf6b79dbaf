#include "rig/rigpoll.h"

namespace fd::rig {

bool RigPoll::write(const QByteArray& bytes) {
  if (bytes.isEmpty()) return true;
  if (!port || !port->output(bytes)) return false;
  sinceParse_ = false;
  return true;
}

void RigPoll::discard() {
  kept_.clear();
  keeping_ = false;
  sinceParse_ = false;
  ReadTickDue = 0;
}

bool RigPoll::sendTick() {
  if (!port) return false;
  if (port->inBufferCount() != 0) {
    if (sinceParse_) {  // the tail of the answer already parsed
      QByteArray tail;
      if (!port->input(tail)) return false;
    }
    ReadTickDue = 1;
    return true;
  }
  if (keeping_) {  // the answer is still coming
    ReadTickDue = 1;
    return true;
  }
  textSent_ = 0;
  if (fam) {
    const QByteArray cr("\r");
    auto text = [&](const QString& r, const QByteArray& end) {
      if (r.isEmpty()) return true;
      ++textSent_;
      return write(r.toLatin1() + end);
    };
    auto alternate = [&](auto convert) {
      const bool freq = FreqRequestSent == 0;
      const QString& r = freq ? req.freq : req.mode;
      FreqRequestSent = freq ? 1 : 0;  // flips even when the request is too short
      lastSentFreq_ = FreqRequestSent;
      if (r.size() < fam->minLength) return true;
      ++textSent_;
      return write(convert(r));
    };
    bool ok = true;
    switch (fam->send) {
      case SendKind::Nothing: break;
      case SendKind::TextBoth: ok = text(req.freq, {}) && text(req.mode, {}); break;
      case SendKind::TextBothCR: ok = text(req.freq, cr) && text(req.mode, cr); break;
      case SendKind::TextAlt: ok = alternate([](const QString& r) { return r.toLatin1(); }); break;
      case SendKind::HexAlt:
        ok = alternate([this](const QString& r) { return cat::FixedHexBytes(r, fam->hexBytes); });
        break;
      case SendKind::HexFreq:
        if (req.freq.size() >= fam->minLength) ok = write(cat::FixedHexBytes(req.freq, fam->hexBytes));
        break;
      case SendKind::Other: {
        auto conv = [this](const QString& r) { return convToHex ? cat::HexTextToBytes(r) : r.toLatin1(); };
        if (!req.freq.isEmpty()) ok = write(conv(req.freq));
        if (ok && !req.mode.isEmpty()) ok = write(conv(req.mode));
        break;
      }
    }
    if (!ok) return false;
  }
  ReadTickDue = 1;
  return true;
}

bool RigPoll::whole(const QByteArray& a) const {
  if (!fam) return true;
  switch (fam->whole) {
    case Whole::Always: return true;
    case Whole::Semicolons: return a.count(';') >= qMax(1, textSent_);
    case Whole::Returns: return a.count('\r') >= qMax(1, textSent_);
    case Whole::CivReply: {
      for (const cat::CivFrame& f : cat::civFrames(a)) {
        const quint8 asked = lastSentFreq_ == 1 ? 0x03 : 0x04;
        if (f.command != asked || !f.data.isEmpty()) return true;
      }
      return false;
    }
    case Whole::Bytes:
      return a.size() >= (fam->alternates && lastSentFreq_ == 0 ? fam->wholeBytesMode : fam->wholeBytes);
  }
  return true;
}

std::optional<QByteArray> RigPoll::readTick(bool& ok) {
  ok = true;
  const bool pegasus = fam && fam->send == SendKind::Nothing && fam->freqParser;
  QByteArray bytes;
  if (!pegasus) {
    if (!port || !port->input(bytes)) {
      ok = false;
      return std::nullopt;
    }
  }
  ReadTickDue = 0;
  if (!pegasus) {
    if (bytes.isEmpty() && kept_.isEmpty()) return std::nullopt;
    if (sinceParse_ && kept_.isEmpty()) return std::nullopt;  // tail of the parsed answer: dropped
    QByteArray answer = kept_ + bytes;
    if (!keeping_ && !whole(answer)) {
      kept_ = answer.right(kKeptLimit);
      keeping_ = true;
      return std::nullopt;
    }
    kept_.clear();
    keeping_ = false;
    bytes = answer;
  }
  sinceParse_ = !pegasus;
  if (fam && fam->freqParser) {
    if (fam->alternates && fam->modeParser) {
      (FreqRequestSent == 1 ? fam->freqParser : fam->modeParser)(bytes, req, values);
    } else {
      fam->freqParser(bytes, req, values);
      if (fam->modeParser) fam->modeParser(bytes, req, values);
    }
  }
  return bytes;
}

}  // namespace fd::rig
