// The spotting link's readers, the first byte choosing one (the rest is its
// input): PackSpot.txt (read, written and read again gives the same values,
// "List DX Only" aside: the window never applies it), the spot lines as the
// store takes them, the TNC's line splitter, the telnet line assembly, the
// AGW frame reassembler and the poll's handling of frame text. The stream
// readers take their input in chunks: a length byte, then that many bytes.
// An accepted spot has a frequency above 0 and a call without a line break;
// every buffer stays bounded.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "fuzzsupport.h"
#include "platform/agwframe.h"
#include "spots/spotintake.h"
#include "spots/spotline.h"
#include "spots/spotsettings.h"
#include "spots/spotstore.h"

using namespace fd;

namespace {

void forChunks(const QByteArray& in, const std::function<void(const QByteArray&)>& f) {
  qsizetype at = 0;
  while (at < in.size()) {
    const qsizetype n = static_cast<uint8_t>(in[at++]);
    f(in.mid(at, n));
    at += n;
  }
}

// The store of the input being run. Everything an input makes is freed when
// it ends: memory left over from one input sets off a leak search of the
// whole heap after every run.
SpotStore* store = nullptr;

// What the store would take from a posted spot.
void checkSpot(const QString& freq, const QString& call) {
  static const QDateTime when = QDateTime::fromSecsSinceEpoch(0);
  const std::optional<double> mhz = spotline::acceptedMhz(freq, call);
  if (!mhz) return;
  const float f = static_cast<float>(*mhz);
  fuzz::check(std::isfinite(f) && f > 0, "an accepted spot's frequency is finite and above 0");
  fuzz::check(!call.contains(u'\r') && !call.contains(u'\n'), "an accepted spot's call holds no line break");
  store->add(call, *mhz, when);
  fuzz::check(store->slot[SpotStore::kSlots - 1].freq > 0, "the new spot is in the newest slot");
}

bool sameSettings(const SpotSettings& a, const SpotSettings& b) {
  return a.Baud == b.Baud && a.Parity == b.Parity && a.DataBits == b.DataBits && a.StopBits == b.StopBits &&
         a.PortNumber == b.PortNumber && a.PowerLine == b.PowerLine && a.Transport == b.Transport &&
         a.ConvToHex == b.ConvToHex && a.Handshake == b.Handshake && a.OptList == b.OptList && a.Hex == b.Hex &&
         a.TelnetPort == b.TelnetPort && a.TelnetHost == b.TelnetHost;
}

void packSpot(const QByteArray& bytes) {
  const auto first = SpotSettings::fromFile(bytes);
  if (!first) return;
  fuzz::check(first->PortNumber >= 0 && first->PortNumber <= 255, "the port number is 0 to 255");
  fuzz::check(first->Handshake >= 0 && first->Handshake <= 255, "the handshaking is 0 to 255");
  const QByteArray written = first->toFile();
  const auto second = SpotSettings::fromFile(written);
  fuzz::check(second.has_value(), "a written file reads");
  fuzz::check(sameSettings(*first, *second), "read, write, read gives the same values");
  fuzz::check(second->toFile() == written, "a second write gives the same file");
}

void spotLines(const QByteArray& bytes) {
  for (const QString& line : QString::fromLatin1(bytes).split(u'\n')) {
    if (!spotline::isSpotLine(line)) continue;
    const spotline::Fields f = spotline::fields(line);
    fuzz::check(f.freq.size() <= 9 && f.call.size() <= 13, "the fields are their columns");
    QString record;
    // A bare "DX" is a spot line with nothing after it: no record, nothing posted.
    fuzz::check(spotline::record(line, record) == (line.size() >= 3), "a spot line with text gives a record");
    checkSpot(f.freq, f.call);
  }
}

void wire(SpotIntake& intake, bool dxOnly) {
  intake.dxOnly = dxOnly;
  intake.post = [&intake](const QString& freq, const QString& call, const QString& line) {
    fuzz::check(spotline::isSpotLine(line), "only spot lines are posted");
    fuzz::check(spotline::fields(line).call == call && spotline::fields(line).freq == freq,
                "a post carries the line's fields");
    // A line just shown is found by the duplicate test.
    if (line.size() <= 800 && !intake.monitor().isEmpty())
      fuzz::check(intake.seenRecently(line) || !intake.monitor().endsWith(line), "a shown line is seen");
    checkSpot(freq, call);
  };
}

void serial(const QByteArray& bytes, bool dxOnly) {
  SpotIntake in;
  wire(in, dxOnly);
  forChunks(bytes, [&](const QByteArray& chunk) {
    in.receiveSerial(QString::fromLatin1(chunk));
    fuzz::check(in.RxBuffer.startsWith(u'\n'), "the buffer opens with a line feed");
    fuzz::check(in.RxBuffer.size() <= SpotIntake::kMaxPartialLine + 1, "the partial line stays bounded");
    fuzz::check(in.monitor().size() <= 10000, "the monitor stays bounded");
  });
}

void telnet(const QByteArray& bytes, bool dxOnly) {
  SpotIntake in;
  wire(in, dxOnly);
  forChunks(bytes, [&](const QByteArray& chunk) {
    in.receiveTelnet(QString::fromLatin1(chunk));
    fuzz::check(!in.telnetPartial().contains(u'\n'), "the partial line holds no line end");
    fuzz::check(in.telnetPartial().size() <= SpotIntake::kMaxPartialLine, "the partial line stays bounded");
    fuzz::check(in.monitor().size() <= 10000, "the monitor stays bounded");
  });
}

void agwFrames(SpotIntake& in, const agw::Frame& f, QString& connected, SpotIntake::AgwLine& partial) {
  const auto w = agw::forWindow(f);
  if (!w) return;
  fuzz::check(w->data.size() <= agw::kMaxDataKept && !w->data.endsWith('\0'), "a frame's data is cut and stripped");
  in.receiveAgw(*w, connected, partial);
  fuzz::check(partial.held.size() <= SpotIntake::kMaxPartialLine, "the partial line stays bounded");
  fuzz::check(partial.held.isEmpty() || !partial.shown, "a line held back has not been shown");
  fuzz::check(in.monitor().size() <= 10000, "the monitor stays bounded");
}

void agwStream(const QByteArray& bytes, bool dxOnly) {
  SpotIntake in;
  wire(in, dxOnly);
  QString connected;
  SpotIntake::AgwLine partial;
  agw::Reassembler r;
  forChunks(bytes, [&](const QByteArray& chunk) {
    const bool wasBroken = r.broken();
    r.feed(chunk);
    if (wasBroken) fuzz::check(r.frames.empty(), "a broken link hands out nothing more");
    while (!r.frames.empty()) {
      const agw::Frame f = r.frames.front();
      r.frames.pop_front();
      fuzz::check(f.data.size() <= static_cast<qsizetype>(agw::kMaxDataLength), "a frame's data is bounded");
      // A frame whose calls the header holds encodes to bytes that read the same.
      if (const auto enc = agw::encode(f)) {
        agw::Reassembler again;
        again.feed(*enc);
        fuzz::check(again.frames.size() == 1, "an encoded frame reads as one frame");
        const agw::Frame& g = again.frames.front();
        fuzz::check(g.port == f.port && g.kind == f.kind && g.pid == f.pid && g.callFrom == f.callFrom &&
                        g.callTo == f.callTo && g.data == f.data,
                    "an encoded frame reads the same");
      }
      agwFrames(in, f, connected, partial);
    }
  });
}

// Frames as the engine hands them to the poll: each chunk a kind byte, a
// byte choosing the sender (the connected station or another), the data.
void agwText(const QByteArray& bytes, bool dxOnly) {
  SpotIntake in;
  wire(in, dxOnly);
  QString connected;
  SpotIntake::AgwLine partial;
  forChunks(bytes, [&](const QByteArray& chunk) {
    if (chunk.size() < 2) return;
    agw::Frame f;
    f.kind = chunk[0];
    f.callFrom = (chunk[1] & 1) ? QStringLiteral("K1TTT-5") : QStringLiteral("W3LPL");
    f.data = chunk.mid(2);
    agwFrames(in, f, connected, partial);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureApp();
  if (size < 1) return 0;
  const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  const bool dxOnly = data[0] & 0x80;
  SpotStore spots;
  store = &spots;
  switch ((data[0] & 0x7F) % 6) {
    case 0: packSpot(rest); break;
    case 1: spotLines(rest); break;
    case 2: serial(rest, dxOnly); break;
    case 3: telnet(rest, dxOnly); break;
    case 4: agwStream(rest, dxOnly); break;
    case 5: agwText(rest, dxOnly); break;
  }
  return 0;
}
