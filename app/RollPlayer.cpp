#include "app/RollPlayer.h"

#include <chrono>
#include <exception>
#include <utility>

namespace tarvelo::app {

void RollPlayer::Start(PlaybackSchedule schedule, double from_seconds, PlaybackInstrument instrument,
                       std::unique_ptr<PlaybackClock> clock) {
  Stop();
  schedule_ = std::move(schedule);
  instrument_ = std::move(instrument);
  clock_ = std::move(clock);
  stop_ = false;
  ended_ = false;
  position_ = from_seconds;
  thread_ = std::thread([this, from_seconds] {
    PlaybackControl control;
    control.StopRequested = [this] { return stop_.load(); };
    control.Position = [this](double seconds) { position_ = seconds; };
    try {
      const PlaybackEnd end = PlayOn(schedule_, from_seconds, *instrument_.Sink, *clock_, control);
      // The last notes ring on a little before the instrument is closed; a stop cuts them off.
      if (end == PlaybackEnd::kFinished && instrument_.ReleaseSeconds > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(instrument_.ReleaseSeconds));
    } catch (const std::exception&) {
      // Out of memory part way: the playing ends there (an exception must not end the program).
    }
    ended_ = true;
  });
}

void RollPlayer::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  thread_.join();
  instrument_ = PlaybackInstrument{};
  clock_.reset();
}

}  // namespace tarvelo::app
