#pragma once
// The clock a player keeps time by: the steady clock of the system, or a test's clock that
// moves only when it is waited on.

#include <chrono>
#include <thread>

namespace tarvelo {

class PlaybackClock {
 public:
  virtual ~PlaybackClock() = default;
  // Seconds since some fixed moment.
  virtual double Now() = 0;
  // Returns at `seconds` on this clock (at once when that has passed).
  virtual void WaitUntil(double seconds) = 0;
};

class SteadyPlaybackClock : public PlaybackClock {
 public:
  double Now() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  }
  void WaitUntil(double seconds) override {
    const double left = seconds - Now();
    if (left > 0) std::this_thread::sleep_for(std::chrono::duration<double>(left));
  }
};

}  // namespace tarvelo
