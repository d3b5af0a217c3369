#pragma once
// The files a convert command works on, and the files each one will write.
//
// Inputs may be files and folders. A file is taken as named (whatever its name: the
// conversion refuses what is neither a CIS file nor a picture, with its message). A folder gives
// the files in it whose names end in ".cis" in any letter case (with `images` also the pictures:
// ".png", ".tif", ".tiff", ".jpg", ".jpeg"), and with `recursive` those of every folder
// below it (symbolic links to folders are not followed), in the order of their paths. Each
// file is taken once, however often it is named or found.
//
// Outputs: the MIDI files (and the diagnostic files when the settings ask for them) land
// beside the input, or in the output folder; with `keep_tree` in the output folder below the
// input's own folder relative to the working folder (a folder outside it keeps its whole
// path below the root). Two inputs whose outputs would have the same path (compared without
// regard to letter case, as many archive disks compare them) are refused before anything is
// converted.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/RunSettings.h"
#include "support/Result.h"

namespace tarvelo::cli {

struct BatchInput {
  std::string Path;                  // as named, or as found below a named folder
  std::string Shown;                 // found below a named folder: its name there ("" when named)
  std::string Problem;               // not empty: this named path cannot be used (the reason)
  uintmax_t Bytes = 0;               // the file's size (0 when unknown), for the time estimate
  std::string OutputFolder;          // where its MIDI files go, ending in "/"; "" beside the input
  std::vector<std::string> Outputs;  // every file its conversion writes
};

// The inputs in the order named; a folder's files in the order of their paths.
std::vector<BatchInput> CollectInputs(const std::vector<std::string>& named, bool recursive, bool images = false);

struct OutputPlan {
  std::string OutputDir;  // --output-dir ("" beside each input)
  bool KeepTree = false;  // --keep-tree
  bool ScanImage = true;  // the ScanImage MIDI file is written
  bool ERoll = true;      // the eRoll MIDI file is written
};

// Fills OutputFolder and Outputs of every usable input for `settings` (names, diagnostic
// files). kInvalid naming both inputs and the path when two inputs would write one file.
Result PlanOutputs(std::vector<BatchInput>& inputs, const OutputPlan& plan, const RunSettings& settings);

}  // namespace tarvelo::cli
