#pragma once
// Runs a command line through the shell and captures its exit status and output.

#include <string>

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

// Quotes a word for the shell.
std::string ShellQuote(const std::string& word);

}  // namespace tarvelo::testing
