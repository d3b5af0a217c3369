#include "cli/StopSignals.h"

#include <csignal>

#include "support/StopRequest.h"

namespace tarvelo::cli {

namespace {

// The first stop signal caught is kept as the process's request to stop (support/StopRequest.h),
// which the waits of the core poll too.
extern "C" void CatchStop(int signal_number) {
  RequestStop(signal_number);
#ifdef _WIN32
  // Windows puts the default handling back before calling a handler.
  std::signal(signal_number, CatchStop);
#endif
}

#ifndef _WIN32
void Catch(int signal_number, bool keep_if_ignored) {
  struct sigaction previous {};
  if (keep_if_ignored && ::sigaction(signal_number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = CatchStop;
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
  std::signal(SIGINT, CatchStop);
  std::signal(SIGTERM, CatchStop);
  std::signal(SIGBREAK, CatchStop);
#else
  std::signal(SIGXFSZ, SIG_IGN);
  Catch(SIGINT, true);
  Catch(SIGTERM, false);
#endif
}

int StopSignal() { return StopRequested(); }

}  // namespace tarvelo::cli
