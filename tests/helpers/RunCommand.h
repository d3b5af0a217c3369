#pragma once
// Runs a command line through the shell and captures its exit status and output.

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace tarvelo::testing {

struct CommandResult {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `command` with /bin/sh; standard input is empty. On Windows the command is split into
// words as the shell would quote them (no redirection, pipes or variables) and its program
// started directly.
CommandResult RunCommand(const std::string& command);

// The tarvelo-cli program of this build, quoted for the shell.
std::string CliPath();

#ifndef _WIN32
// Starts `argv` (argv[0] a path) without a shell, standard input empty, standard output and
// error into the two files, with SIGINT and SIGTERM at their default handling. Returns the
// process id, or -1 when it could not be started.
pid_t StartProcess(const std::vector<std::string>& argv, const std::string& out_path, const std::string& err_path);

// Waits for `pid` to end: its exit status, or 128 + the signal that ended it.
int WaitProcess(pid_t pid);
#endif

// Quotes a word for the shell.
std::string ShellQuote(const std::string& word);

}  // namespace tarvelo::testing
