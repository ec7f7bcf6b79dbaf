#pragma once
// The one way to tune the radio, for the windows of the rig and spotting
// subsystems (band map, spot list, spectrum map, tune and test windows).
// The rig service provides the real one; tests use RecordingTuner.
#include <QList>
#include <functional>

namespace fd {

class Tuner {
 public:
  virtual ~Tuner() = default;
  // Tunes the radio to mhz (its mode first, from the band plan) while polling
  // runs; otherwise does nothing. The caller's value is left unchanged.
  virtual void ChangeFrequency(const float& mhz) = 0;
};

class RecordingTuner final : public Tuner {
 public:
  QList<float> calls;
  std::function<void()> during;  // runs inside the call, as events do in a tune's waits
  void ChangeFrequency(const float& mhz) override {
    calls << mhz;
    if (during) during();
  }
};

// The program's tuner (the rig service sets it when it is built); a tuner
// that does nothing until then.
Tuner& tuner();
void setTuner(Tuner* t);  // nullptr: back to the one that does nothing

}  // namespace fd
