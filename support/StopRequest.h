#pragma once
// The process's request to stop (Ctrl-C, SIGTERM): a front end's signal handler makes it, and
// the core's long waits (the lock of the settings profile) poll it, so that a wait ends when the
// user asks and the write it waited for is not made.

namespace tarvelo {

// Records `signal_number` (non-zero) as the reason to stop, unless one is recorded already.
// Async-signal-safe.
void RequestStop(int signal_number);

// The signal that asked the process to stop, 0 while none has. Any thread may ask.
int StopRequested();

}  // namespace tarvelo
