#include "helpers/RunCommand.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <vector>

#include "support/TextEncoding.h"
#include "support/WindowsApi.h"
#else
#include <sys/wait.h>
#endif

#include "helpers/TestPaths.h"

namespace tarvelo::testing {

std::string ShellQuote(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string CliPath() { return ShellQuote(TARVELO_CLI_PATH); }

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

// The words of a command line written for the POSIX shell: blanks separate words, single
// quotes keep everything, double quotes keep all but \" and \\, a backslash keeps the next
// character. Nothing else of the shell is understood.
std::vector<std::string> SplitShellWords(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  for (size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (c == ' ' || c == '\t' || c == '\n') {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\'') {
      const size_t end = command.find('\'', i + 1);
      word += command.substr(i + 1, end - i - 1);
      i = end == std::string::npos ? command.size() : end;
    } else if (c == '"') {
      for (++i; i < command.size() && command[i] != '"'; ++i) {
        if (command[i] == '\\' && i + 1 < command.size() && (command[i + 1] == '"' || command[i + 1] == '\\')) ++i;
        word += command[i];
      }
    } else if (c == '\\' && i + 1 < command.size()) {
      word += command[++i];
    } else {
      word += c;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

// One argument quoted the way Windows programs split their command line.
std::string WindowsQuote(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

HANDLE OpenForChild(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(Wide(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

// Windows has no POSIX shell: the command's words are split here and the program started
// directly, with standard input from NUL and the outputs in files.
CommandResult RunCommand(const std::string& command) {
  TempDir dir;
  const std::string out = dir.File("out"), err = dir.File("err");
  CommandResult result;
  const std::vector<std::string> words = SplitShellWords(command);
  if (words.empty()) return result;
  std::string line;
  for (const std::string& word : words) line += (line.empty() ? "" : " ") + WindowsQuote(word);
  std::wstring wide_line = Wide(line);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = OpenForChild("NUL", false);
  startup.hStdOutput = OpenForChild(out, true);
  startup.hStdError = OpenForChild(err, true);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, wide_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  result.out = ReadBytes(out);
  result.err = ReadBytes(err);
  return result;
}

#else

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

#endif

}  // namespace tarvelo::testing
