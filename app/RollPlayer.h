#pragma once
// Plays one schedule on a thread of its own, so that the window never waits for the music: the
// window starts it, follows the second being played and asks it to stop. The player owns what
// it plays (a copy of the schedule, the instrument and the clock), so the document may be
// converted again or replaced while it plays.
//
// Threads: Start, Stop, Finish and the queries are called from one thread (the window's); the
// playing thread only reads the schedule, sends to the instrument and writes the position.

#include <atomic>
#include <memory>
#include <thread>

#include "app/Listening.h"
#include "midi/PlaybackSchedule.h"

namespace tarvelo::app {

class RollPlayer {
 public:
  RollPlayer() = default;
  ~RollPlayer() { Stop(); }
  RollPlayer(const RollPlayer&) = delete;
  RollPlayer& operator=(const RollPlayer&) = delete;

  // Starts playing `schedule` from `from_seconds` to `instrument` by `clock` (a player already
  // playing is stopped first).
  void Start(PlaybackSchedule schedule, double from_seconds, PlaybackInstrument instrument,
             std::unique_ptr<PlaybackClock> clock);
  // Asks the playing to stop and waits until the instrument is silent with its pedals up (at
  // most a few hundredths of a second), then closes it. Nothing happens when nothing plays.
  void Stop();
  // After the schedule has played to its end: waits for the thread and closes the instrument.
  void Finish() { Stop(); }

  // Started and not yet stopped or finished (it may have just played its last note).
  bool IsStarted() const { return thread_.joinable(); }
  // The playing thread has ended on its own: the schedule played to its end.
  bool HasEnded() const { return ended_.load(); }
  // The second of the schedule being played.
  double Position() const { return position_.load(); }

 private:
  PlaybackSchedule schedule_;
  PlaybackInstrument instrument_;
  std::unique_ptr<PlaybackClock> clock_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> ended_{false};
  std::atomic<double> position_{0};
};

}  // namespace tarvelo::app
