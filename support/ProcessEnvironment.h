#pragma once
// What the process is given by the system, as UTF-8 text: its arguments, environment
// variables, working folder and the file of its own program. On Windows these come from the
// wide-character calls, so names outside the local code page arrive whole.

#include <optional>
#include <string>
#include <vector>

namespace tarvelo {

// The command-line arguments, argv[0] first. On Windows `argv` (in the local code page) is
// replaced by the wide command line the process was started with.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The value of environment variable `name`; nothing when it is not set.
std::optional<std::string> EnvironmentValue(const char* name);

// The working folder; empty when it cannot be found.
std::string WorkingFolderPath();

// The program file of this process; empty when the system does not tell.
std::string ExecutableFilePath();

// Keeps memory the process frees for its next use instead of handing it back to the system:
// a conversion allocates and frees tens of megabytes, and a batch or a re-process would
// otherwise fault in fresh pages every time. Only where the C library lets it be set (glibc).
void KeepFreedMemoryInProcess();

}  // namespace tarvelo
