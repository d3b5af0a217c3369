#pragma once
// The subcommands of tarvelo-cli. Each returns the process exit status (cli/ExitStatus.h).

#include <memory>
#include <string>
#include <vector>

#include "cis/CisHeaderEdit.h"
#include "cli/ExitStatus.h"
#include "settings/OverlayProfile.h"
#include "settings/RunSettings.h"
#include "settings/UserProfile.h"

namespace tarvelo::cli {

// Options every command that reads settings shares.
struct ProfileOptions {
  std::string profile_path;       // --profile; empty: the default profile (settings/UserProfile.h)
  std::vector<std::string> sets;  // --set "Section/Key=Value", this run only
  int preset = -1;                // --preset N, this run only
  int max_scan_mb = 256;          // --max-scan-mb N: a larger CIS file is refused
  std::string image_holes;        // --image-holes light|dark: which pixels of a picture are holes
  std::string image_start;        // --image-start bottom|top: the picture's row played first
  int image_lpi = 0;              // --image-lpi N: a picture's rows per inch (0: its DPI)
};

// The profile of one run: the stored profile, overridden for this run only by --set and
// --preset; nothing the run does is written back.
class RunProfile {
 public:
  // Returns null and prints the reason when an override is malformed or refused.
  static std::unique_ptr<RunProfile> Open(const ProfileOptions& options);
  ProfileStore& Store() { return overlay_; }
  ProfileStore& Stored() { return *stored_.Store; }
  // The stored profile's file or registry key.
  const std::string& Location() const { return stored_.Location; }
  // The settings of a run with this profile. What could not be read of the stored profile (a
  // line dropped, a file refused) is one of its findings, so that every file reports it.
  RunSettings Settings() const;

 private:
  explicit RunProfile(OpenedProfile stored)
      : stored_(std::move(stored)), overlay_(*stored_.Store, OverlayProfile::Writes::kHeld) {}
  OpenedProfile stored_;
  OverlayProfile overlay_;
};

// Splits "Section/Key=Value" (value optional) at the first "/" and the first "=".
bool SplitSettingName(const std::string& text, std::string& section, std::string& key, std::string* value);

struct InfoOptions {
  ProfileOptions profile;
  std::vector<std::string> files;  // files and folders, as convert takes them
  bool recursive = false;          // --recursive: folders below named folders too
  bool images = false;             // --images: pictures in named folders too (*.png *.tif *.tiff *.jpg *.jpeg)
  bool json = false;               // --json: one JSON document on standard output
};
int RunInfo(const InfoOptions& options);

struct ConvertOptions {
  ProfileOptions profile;
  std::vector<std::string> files;         // files and folders
  std::string library;                    // --roll-types FILE
  std::string roll_type;                  // --roll-type NAME (or "auto", which aligns), this run only
  bool align = false;                     // --align: convert each file with its own measured settings
  bool no_align = false;                  // --no-align: the preset's values, whatever Auto-Tweak says
  std::vector<std::string> info;          // --info KEY=VALUE: roll information entries for this run
  std::string output_dir;                 // --output-dir: outputs there instead of next to the input
  bool keep_tree = false;                 // --keep-tree: below --output-dir, the inputs' folders
  bool recursive = false;                 // --recursive: folders below named folders too
  bool images = false;                    // --images: pictures in named folders too (*.png *.tif *.tiff *.jpg *.jpeg)
  bool no_clobber = false;                // --no-clobber: a file with an output already there is skipped
  int jobs = 0;                           // --jobs N; 0: the number of cores
  bool no_scan_midi = false;              // --no-scan-midi
  bool no_eroll_midi = false;             // --no-eroll-midi
  bool expression_midi = false;           // --expression-midi: write the expression files this run
  bool no_expression_midi = false;        // --no-expression-midi
  bool json = false;                      // --json
  bool strict = false;                    // --strict: warnings fail the run (exit 1 instead of 3)
  bool quiet = false;                     // --quiet: only warnings and errors
  bool verbose = false;                   // --verbose: every output written, with notes and minutes
  std::string log;                        // --log FILE: the report as text
  std::string catalog;                    // --catalog FILE.csv|FILE.jsonl: a row per input
  std::vector<std::string> command_line;  // the words as typed, for the log's header
};
int RunConvert(const ConvertOptions& options);

struct AlignOptions {
  ProfileOptions profile;
  std::vector<std::string> files;  // files and folders, as convert takes them
  bool recursive = false;          // --recursive: folders below named folders too
  bool images = false;             // --images: pictures in named folders too (*.png *.tif *.tiff *.jpg *.jpeg)
  std::string library;             // --roll-types FILE
  std::string roll_type;           // --roll-type NAME or "auto"; empty: the profile's active roll type
  bool json = false;               // --json
  int write_preset = -1;           // --write-preset N: store the suggestion in preset N
};
int RunAlign(const AlignOptions& options);

struct RollTypesOptions {
  ProfileOptions profile;
  std::string library;             // --roll-types FILE
  std::vector<std::string> names;  // none: list the names
};
int RunRollTypes(const RollTypesOptions& options);

struct EditOptions {
  ProfileOptions profile;
  std::string file;
  CisHeaderEdit edit;
  std::string output;  // -o; empty: replace the file
};
int RunEdit(const EditOptions& options);

// The picture commands: one file converted (no MIDI files written), one PNG picture written.
struct PictureOptions {
  ProfileOptions profile;
  std::string file;
  std::string output;     // -o
  std::string library;    // --roll-types FILE
  std::string roll_type;  // --roll-type NAME (or "auto", which aligns), this run only
  bool align = false;     // --align: convert with the DPI, offset and stretch the scan suggests
  bool no_align = false;  // --no-align: the preset's values (no Auto-Tweak)
};

struct RenderOptions {
  PictureOptions picture;
  double from_inch = 0;   // --from: this inch of the roll at the top
  int zoom_level = 5;     // --zoom 1..9
  int height = 0;         // --height: rows of the view (0: 600), or the overview's most rows (0: 2000)
  bool tracking = false;  // --tracking: show the tracking corrections
  bool overview = false;  // --overview: the whole roll in one picture
  int width = 600;        // --width: the overview's width in pixels
};
int RunRender(const RenderOptions& options);
int RunHistogram(const PictureOptions& options);

// The listening commands: one file converted (no MIDI files left), the MIDI output heard.
struct ListenOptions {
  ProfileOptions profile;
  std::string file;
  std::string library;    // --roll-types FILE
  std::string roll_type;  // --roll-type NAME or "auto", this run only
  bool align = false;     // --align
  bool no_align = false;  // --no-align
  std::string source;     // --source: expression, eroll or scanimage; empty: the one a roll is heard by
};

struct RenderAudioOptions {
  ListenOptions listen;
  std::string output;     // -o
  std::string soundfont;  // --soundfont; empty: "Audio Settings/SoundFont" or the installed one
  double from = 0;        // --from SECONDS
  double length = -1;     // --length SECONDS; below 0: to the end
  std::string format;     // --format wav|flac; empty: from the output's name
  bool quiet = false;     // --quiet: no progress line, no summary
};
int RunRenderAudio(const RenderAudioOptions& options);

struct PlayOptions {
  ListenOptions listen;
  std::string port;         // --port; empty: "Audio Settings/MidiOutput", else the software synthesizer
  std::string soundfont;    // --soundfont, for the software synthesizer
  double from = 0;          // --from SECONDS
  bool list_ports = false;  // --list-ports
  bool quiet = false;       // --quiet: no progress line
};
int RunPlay(const PlayOptions& options);

struct SettingsOptions {
  std::string profile_path;
  std::string action;  // get, set, list
  std::vector<std::string> arguments;
};
int RunSettingsCommand(const SettingsOptions& options);

}  // namespace tarvelo::cli
