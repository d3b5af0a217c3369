#include "helpers/RunCommand.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "helpers/TestPaths.h"

namespace tarvelo::testing {

std::string ShellQuote(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string CliPath() { return ShellQuote(TARVELO_CLI_PATH); }

CommandResult RunCommand(const std::string& command) {
  TempDir dir;
  const std::string out = dir.File("out"), err = dir.File("err");
  const std::string full = command + " </dev/null >" + ShellQuote(out) + " 2>" + ShellQuote(err);
  const int raw = std::system(full.c_str());
  CommandResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadBytes(out);
  result.err = ReadBytes(err);
  return result;
}

}  // namespace tarvelo::testing
