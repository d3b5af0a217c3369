#pragma once
// Checks a MIDI file with an independent reader: midicsv (Debian package midicsv) lists it
// as text, and csvmidi, from the same package, encodes that listing again with its range
// checks on every value. A sound file lists without a word on standard error, re-encodes
// without complaint, and re-encodes to the very same bytes (our files never use running
// status, so csvmidi -x writes them exactly as we do).

#include <string>
#include <string_view>
#include <vector>

namespace tarvelo::testing {

struct MidiCsvListing {
  std::vector<std::string> lines;     // midicsv's records, one per line ("1, 480, Note_on_c, 0, 60, 70")
  std::vector<std::string> problems;  // every complaint found; empty for a sound file
};

// True when midicsv and csvmidi can be run.
bool MidiCsvAvailable();

// Lists `midi_path` with midicsv and checks it as described above.
MidiCsvListing RunMidiCsv(const std::string& midi_path);

// The records of one kind ("Note_on_c", "Text_t", ...) without the track and time fields'
// spacing changed: each as midicsv wrote it.
std::vector<std::string> RecordsOfKind(const MidiCsvListing& listing, std::string_view kind);

// Lists the file, adds a test failure for every problem, and returns the listing.
MidiCsvListing ExpectSoundMidiFile(const std::string& midi_path);

}  // namespace tarvelo::testing

// Skips the current test when midicsv is not installed.
#define TARVELO_REQUIRE_MIDICSV()                                                            \
  do {                                                                                       \
    if (!::tarvelo::testing::MidiCsvAvailable()) GTEST_SKIP() << "midicsv is not installed"; \
  } while (0)
