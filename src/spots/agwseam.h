#pragma once
// The AGW engine as the spotting window sees it (platform/agwclient.h), and a
// recording one for tests.
#include <QStringList>
#include <deque>
#include <functional>

#include "platform/agwclient.h"

namespace fd {

using AgwSeam = AgwEngine;

class RecordingAgwSeam final : public AgwEngine {
 public:
  QStringList calls;  // "start N0CALL", "d K1TTT-5", "D K1TTT-5 text", "close"
  bool accept = true;
  bool gone = false;
  std::deque<agw::Frame> incoming;
  std::function<void()> registering;  // runs inside startPoll, as the engine's wait lets events run
  bool startPoll(const QString& call) override {
    calls << QStringLiteral("start ") + call;
    if (registering) registering();
    return accept;
  }
  std::optional<agw::Frame> getData() override {
    while (!incoming.empty()) {
      agw::Frame f = incoming.front();
      incoming.pop_front();
      if (auto w = agw::forWindow(f)) return w;
    }
    return std::nullopt;
  }
  bool putData(char kind, const QString& to, const QByteArray& data) override {
    if (!agw::headerCall(to)) return false;
    calls << QString(QChar(kind)) + u' ' + to + (data.isEmpty() ? QString() : u' ' + QString::fromLatin1(data));
    return true;
  }
  bool vanished() const override { return gone; }
  void closeLink() override { calls << QStringLiteral("close"); }
};

}  // namespace fd
