#pragma once
// What the spotting window asks of the AGW packet engine link when it closes
// a link or unloads: the disconnect frame to the connected station and the
// closing of the link. The engine link itself fills it; tests record.
#include <QString>
#include <QStringList>

namespace fd {

class AgwSeam {
 public:
  virtual ~AgwSeam() = default;
  virtual void putDisconnect(const QString& call) = 0;  // AGWPutData(call, "", 'd', 0, 0)
  virtual void closeLink() = 0;                         // AGWClose
};

class RecordingAgwSeam final : public AgwSeam {
 public:
  QStringList calls;  // "d K1TTT-5", "close"
  void putDisconnect(const QString& call) override { calls << QStringLiteral("d ") + call; }
  void closeLink() override { calls << QStringLiteral("close"); }
};

}  // namespace fd
