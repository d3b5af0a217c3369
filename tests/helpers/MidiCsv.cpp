#include "helpers/MidiCsv.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <sstream>

#include "helpers/TestPaths.h"

namespace tarvelo::testing {

namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

// Runs a shell command; returns its exit status (-1 when it could not run).
int Run(const std::string& command) {
#ifdef _WIN32
  (void)command;
  return -1;
#else
  const int status = std::system(command.c_str());
  if (status == -1) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

bool MidiCsvAvailable() {
#ifdef _WIN32
  return false;  // midicsv and csvmidi are programs of the build machine
#else
  static const bool available = Run("command -v midicsv >/dev/null 2>&1 && command -v csvmidi >/dev/null 2>&1") == 0;
  return available;
#endif
}

MidiCsvListing RunMidiCsv(const std::string& midi_path) {
  MidiCsvListing listing;
  TempDir work;
  const std::string csv = work.File("listing.csv");
  const std::string csv_errors = work.File("midicsv.err");
  const std::string again = work.File("again.mid");
  const std::string again_errors = work.File("csvmidi.err");

  const int listed = Run("midicsv " + Quote(midi_path) + " " + Quote(csv) + " 2>" + Quote(csv_errors));
  const std::string errors = ReadBytes(csv_errors);
  if (listed != 0) listing.problems.push_back("midicsv exited with status " + std::to_string(listed));
  if (!errors.empty()) listing.problems.push_back("midicsv: " + errors);
  listing.lines = SplitLines(ReadBytes(csv));
  if (listed != 0) return listing;

  if (listing.lines.empty() || listing.lines.front().find(", Header, ") == std::string::npos)
    listing.problems.push_back("the listing does not start with a header record");
  if (listing.lines.empty() || listing.lines.back() != "0, 0, End_of_file")
    listing.problems.push_back("the listing does not end with End_of_file");

  const int encoded = Run("csvmidi -x -z " + Quote(csv) + " " + Quote(again) + " 2>" + Quote(again_errors));
  const std::string encode_errors = ReadBytes(again_errors);
  if (encoded != 0) listing.problems.push_back("csvmidi exited with status " + std::to_string(encoded));
  if (!encode_errors.empty()) listing.problems.push_back("csvmidi: " + encode_errors);
  if (encoded == 0 && ReadBytes(again) != ReadBytes(midi_path))
    listing.problems.push_back("the listing encodes to other bytes than the file holds");
  return listing;
}

std::vector<std::string> RecordsOfKind(const MidiCsvListing& listing, std::string_view kind) {
  const std::string field = ", " + std::string(kind);
  std::vector<std::string> records;
  for (const std::string& line : listing.lines) {
    // Records are "track, time, kind[, values]".
    const size_t first = line.find(", ");
    const size_t second = first == std::string::npos ? first : line.find(", ", first + 2);
    if (second == std::string::npos) continue;
    if (line.compare(second, field.size(), field) != 0) continue;
    const size_t end = second + field.size();
    if (end == line.size() || line[end] == ',') records.push_back(line);
  }
  return records;
}

MidiCsvListing ExpectSoundMidiFile(const std::string& midi_path) {
  MidiCsvListing listing = RunMidiCsv(midi_path);
  for (const std::string& problem : listing.problems) ADD_FAILURE() << midi_path << ": " << problem;
  return listing;
}

}  // namespace tarvelo::testing
