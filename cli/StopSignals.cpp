#include "cli/StopSignals.h"

#include <csignal>

#include <atomic>

namespace tarvelo::cli {

namespace {

// The first stop signal caught. A lock-free atomic is safe to store from a signal handler.
std::atomic<int> stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void RequestStop(int signal_number) {
  int none = 0;
  stop_signal.compare_exchange_strong(none, signal_number);
#ifdef _WIN32
  // Windows puts the default handling back before calling a handler.
  std::signal(signal_number, RequestStop);
#endif
}

#ifndef _WIN32
void Catch(int signal_number, bool keep_if_ignored) {
  struct sigaction previous {};
  if (keep_if_ignored && ::sigaction(signal_number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  // Reads and writes go on after the handler: the request is acted on at the next step.
  action.sa_flags = SA_RESTART;
  ::sigaction(signal_number, &action, nullptr);
}
#endif

}  // namespace

void InstallStopSignals() {
#ifdef _WIN32
  // Ctrl-C and Ctrl-Break in a console; Windows has no file-size signal.
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  std::signal(SIGBREAK, RequestStop);
#else
  std::signal(SIGXFSZ, SIG_IGN);
  Catch(SIGINT, true);
  Catch(SIGTERM, false);
#endif
}

int StopSignal() { return stop_signal.load(); }

}  // namespace tarvelo::cli
