#include "support/StopRequest.h"

#include <atomic>

namespace tarvelo {

namespace {

// A lock-free atomic is safe to store from a signal handler.
std::atomic<int> stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

void RequestStop(int signal_number) {
  int none = 0;
  stop_signal.compare_exchange_strong(none, signal_number);
}

int StopRequested() { return stop_signal.load(); }

}  // namespace tarvelo
