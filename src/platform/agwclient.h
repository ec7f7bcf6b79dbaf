#pragma once
// The AGW packet engine as the spotting window uses it: register and turn
// monitoring on, take the frames that came, send frames, close. The real
// engine speaks TCP (agwframe.h states the bytes) on 127.0.0.1:8000, or where
// the environment variable FIELDDAY_AGW ("host:port") points.
#include <QString>
#include <memory>
#include <optional>

#include "platform/agwframe.h"

namespace fd {

class AgwEngine {
 public:
  virtual ~AgwEngine() = default;
  // AGWStartPoll: true when the engine accepted the own call.
  virtual bool startPoll(const QString& ownCall) { (void)ownCall; return false; }
  // AGWGetData: the next frame the window takes (agw::forWindow), if any.
  virtual std::optional<agw::Frame> getData() { return std::nullopt; }
  // AGWPutData: kind, destination and data; false when nothing was sent.
  virtual bool putData(char kind, const QString& to, const QByteArray& data) {
    (void)kind, (void)to, (void)data;
    return false;
  }
  // The engine went away (closed the connection or sent a broken frame).
  virtual bool vanished() const { return false; }
  // The disconnect frame to a station, and AGWClose.
  virtual void putDisconnect(const QString& call) { putData('d', call, {}); }
  virtual void closeLink() {}
};

std::unique_ptr<AgwEngine> makeTcpAgwEngine();

}  // namespace fd
