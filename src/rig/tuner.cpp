#include "rig/tuner.h"

namespace fd {
namespace {

class NoTuner final : public Tuner {
 public:
  void ChangeFrequency(const float&) override {}
};

Tuner*& current() {
  static Tuner* t = nullptr;
  return t;
}

}  // namespace

Tuner& tuner() {
  static NoTuner none;
  return current() ? *current() : none;
}

void setTuner(Tuner* t) { current() = t; }

}  // namespace fd
