#pragma once
// The signals that end a command early. SIGINT (Ctrl-C) and SIGTERM ask the command to stop:
// the conversions poll the request at each progress step and write nothing more, a write
// that is going on finishes or removes its temporary file, finished outputs and the profile
// stay as they are, and the command reports what was done and exits 128 + the signal's
// number. SIGXFSZ is ignored, so that a write past the file-size limit fails as an ordinary
// write error (with its message) instead of killing the process. A SIGINT that was ignored
// when the program started (a background job, nohup) stays ignored.

namespace tarvelo::cli {

// Installs the handlers; call once, before any thread starts.
void InstallStopSignals();

// The signal that asked the command to stop, 0 while none has. Any thread may ask.
int StopSignal();

}  // namespace tarvelo::cli
