#include "cli/HelpText.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "cis/RollInfo.h"
#include "support/ProgramVersion.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace {

std::string program_name = "tarvelo-cli";

// Replaces every "%p" of `text` with the program's name.
std::string WithProgramName(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'p') {
      out += program_name;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The roll information entry names, comma-separated, in lines of at most 90 columns.
std::string RollInfoNames() {
  std::string lines = "  ";
  size_t column = 2;
  bool first = true;
  for (const RollInfo::Field& field : RollInfo::Fields()) {
    const std::string name = field.name;
    if (!first) {
      lines += ",";
      ++column;
      if (column + 1 + name.size() > 90) {
        lines += "\n  ";
        column = 2;
      } else {
        lines += " ";
        ++column;
      }
    }
    lines += name;
    column += name.size();
    first = false;
  }
  return lines;
}

// Lines of a help page: `term` in a column of `width` blanks after two, `text` beside it, its
// later lines below it.
std::string TermLines(const std::vector<HelpEntry>& entries, size_t width) {
  std::string lines;
  for (const HelpEntry& entry : entries) {
    std::string term = "  " + entry.Term;
    term.resize(std::max(term.size() + 1, width + 2), ' ');
    std::string text = entry.Text;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
      text.insert(at + 1, std::string(term.size(), ' '));
    lines += term + text + "\n";
  }
  return lines;
}

std::string CommonFooter() {
  return "Exit statuses:\n" + TermLines(ExitStatusEntries(), 5) + "\nEnvironment:\n" +
         TermLines(EnvironmentEntries(), 19) +
         WithProgramName(
             "\n"
             "Names: settings for --set and 'settings': %p settings list\n"
             "       roll types for --roll-type: %p roll-types\n");
}

const std::map<std::string, std::string>& Examples() {
  static const std::map<std::string, std::string> examples = {
      {"info",
       "  %p info roll.cis\n"
       "  %p info --json scans/*.cis > headers.json\n"},
      {"convert",
       "  %p convert roll.cis\n"
       "  %p convert --output-dir midi scans/\n"
       "  %p convert --recursive --keep-tree --output-dir midi --jobs 4 --log run.log archive/\n"
       "  %p convert --recursive --output-dir midi --catalog catalogue.csv archive/\n"
       "  %p convert --no-clobber --strict --quiet --output-dir midi scans/\n"
       "  %p convert --roll-type 'Duo-Art' --set 'Scanner Settings/ScannerDPI0=200' roll.cis\n"
       "  %p convert --json --info 'composer=Scott Joplin' roll.cis > report.json\n"},
      {"align",
       "  %p align roll.cis\n"
       "  %p align --roll-type auto --json scans/*.cis\n"
       "  %p align --write-preset 3 roll.cis\n"},
      {"roll-types",
       "  %p roll-types\n"
       "  %p roll-types 'Ampico B'\n"
       "  %p roll-types --roll-types my/RollTypeDefinitions.xml\n"},
      {"edit",
       "  %p edit roll.cis --title 'Maple Leaf Rag' --tempo 85\n"
       "  %p edit roll.cis --lpi 300 -o corrected.cis\n"},
      {"render",
       "  %p render roll.cis -o roll.png\n"
       "  %p render roll.cis -o detail.png --from 120 --zoom 8 --tracking\n"
       "  %p render roll.cis --overview --width 400 -o thumbnail.png\n"},
      {"histogram", "  %p histogram roll.cis -o spacing.png\n"},
      {"render-audio",
       "  %p render-audio roll.cis -o roll.wav\n"
       "  %p render-audio --roll-type auto --from 30 --length 20 roll.cis -o excerpt.flac\n"
       "  %p render-audio --soundfont ~/sf2/Salamander.sf2 --source scanimage roll.cis -o holes.wav\n"},
      {"play",
       "  %p play roll.cis\n"
       "  %p play --list-ports\n"
       "  %p play --port 'Disklavier' --from 95 roll.cis\n"},
      {"settings",
       "  %p settings list\n"
       "  %p settings get 'Scanner Settings/ScannerDPI0'\n"
       "  %p settings set 'Roll Settings/ActiveRollTypeName=Duo-Art'\n"},
  };
  return examples;
}

}  // namespace

void SetProgramName(const std::string& argv0) {
  const size_t slash = argv0.find_last_of(kPathSeparator == '/' ? "/" : "/\\");
  std::string base = slash == std::string::npos ? argv0 : argv0.substr(slash + 1);
  // On Windows the program is typed without its ".exe", so help shows it without.
  if (kPathSeparator != '/' && base.size() > 4) {
    std::string suffix = base.substr(base.size() - 4);
    for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (suffix == ".exe") base.resize(base.size() - 4);
  }
  if (!base.empty()) program_name = base;
}

const std::string& ProgramName() { return program_name; }

std::string ProgramVersionText() {
  const std::string build = ProgramBuild();
  return program_name + " " + ProgramVersion() + "\nbuild: " + (build.empty() ? "not known" : build);
}

std::vector<HelpEntry> ExitStatusEntries() {
  return {
      {"0", "every file converted, or the command did what it was asked"},
      {"1",
       "a file failed: unreadable, not a CIS scan, an error message, an output not written;\n"
       "or the profile could not be saved"},
      {"2",
       "usage: an option, setting, value, roll type or roll type library was refused;\n"
       "nothing was converted"},
      {"3",
       "convert: every file was converted, some with warnings (--strict makes this 1);\n"
       "render-audio, play: the roll was heard, its conversion gave warnings"},
      {"130",
       "stopped by Ctrl-C (SIGINT), 143 stopped by SIGTERM: the files being written are\n"
       "removed, every finished output and the profile stay as they are"},
  };
}

std::vector<HelpEntry> EnvironmentEntries() {
  return {
      {"TARVELO_PROFILE", "the settings profile file to use"},
      {"XDG_CONFIG_HOME",
       "the default profile is $XDG_CONFIG_HOME/Quenby_Software/Tarvelo.ini\n"
       "(~/.config/Quenby_Software/Tarvelo.ini when it is not set)"},
      {"SOURCE_DATE_EPOCH",
       "seconds since 1970 for the credit date in the MIDI files, so that\n"
       "runs on different days write the same bytes"},
  };
}

std::string CommandExamples(const std::string& command) {
  const auto found = Examples().find(command);
  return found == Examples().end() ? std::string() : WithProgramName(found->second);
}

std::string MainExamples() {
  return WithProgramName(
      "  %p convert --output-dir midi scans/\n"
      "  %p convert --recursive --keep-tree --output-dir midi --log run.log archive/\n"
      "  %p info roll.cis\n");
}

std::string CommandNotes(const std::string& command) {
  if (command == "convert") {
    return "Statuses: each file is \"converted\" (no message), \"converted with warnings\" (damaged lines, a\n"
           "safe value used in place of a bad setting, ...), \"failed\" (an error message, a refused or\n"
           "unreadable file, not a CIS scan, an output not written), or \"skipped\" (--no-clobber). A\n"
           "summary of the files that were not simply converted ends the run.\n"
           "\n"
           "Roll information entries for --info KEY=VALUE:\n" +
           RollInfoNames() + "\n";
  }
  if (command != "render-audio" && command != "play") return "";
  std::string notes =
      "What is heard: the roll converted as convert converts it (nothing is written beside it),\n"
      "its expression MIDI file when the roll type has an expression system, else its eRoll MIDI\n"
      "file (--source expression, eroll or scanimage chooses). The software synthesizer\n"
      "plays it with the SoundFont of --soundfont, else \"Audio Settings/SoundFont\", else the\n"
      "General MIDI SoundFont of Debian's timgm6mb-soundfont; it has no soft pedal, so notes\n"
      "under the soft pedal play 8 velocity steps softer. --from counts seconds of the MIDI file.\n";
  if (command == "play") {
    notes +=
        "A MIDI port (--port, else \"Audio Settings/MidiOutput\") gets the file's messages as they\n"
        "are, soft pedal and all. Ctrl-C stops: every note sounding is ended, then all notes off\n"
        "and the sustain and soft pedal up on every channel used.\n";
  }
  return notes;
}

std::string MainHelpFooter() {
  return "Examples:\n" + MainExamples() + WithProgramName("\nEach command has its own help: %p COMMAND --help\n\n") +
         CommonFooter();
}

std::string CommandHelpFooter(const std::string& command) {
  std::string footer = "Examples:\n" + CommandExamples(command) + "\n";
  if (const std::string notes = CommandNotes(command); !notes.empty()) footer += notes + "\n";
  return footer + CommonFooter();
}

}  // namespace tarvelo::cli
