// A whole conversion of the largest real scan through the document (reading, every stage
// and both MIDI files written to a temporary folder) against the floor program, timed in
// the same run. Target: the conversion takes at most 4 times the floor's time.
//
//   Convert_bench [FILE.cis [OUTPUT-FOLDER]]
// The MIDI files go to a new folder in the system's temporary folder, or in OUTPUT-FOLDER
// (for instance /dev/shm, to leave out the time the disk takes to make them durable).
#include <cstdio>
#include <filesystem>
#include <random>

#include "BenchSupport.h"
#include "document/TarveloDoc.h"

#include "events/EventBuilding.h"
#include "events/SpacingHistogram.h"
#include "midi/ERollMidi.h"
#include "midi/ScanImageMidi.h"

using namespace tarvelo;

int main(int argc, char** argv) {
  KeepFreedMemoryInProcess();  // as the programs do
  const std::string path = argc > 1 ? argv[1] : bench::RealCis("stepper_bicolor.CIS").string();
  if (!std::filesystem::exists(path)) {
    std::printf("skipped: %s not found\n", path.c_str());
    return 0;
  }
  namespace fs = std::filesystem;
  const fs::path parent = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
  const fs::path out = parent / ("tarvelo-convert-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(out);

  bench::QuietFrontEnd ui;
  const RunSettings& settings = ui.settings;
  std::vector<int32_t> sums;
  size_t floor_lines = 0;
  ConversionSummary summary;
  auto floor = [&] { floor_lines = bench::FloorRead(path, sums); };
  auto convert = [&] {
    TarveloDoc doc(ui);
    doc.SetSpacingHistogramWanted(false);  // as tarvelo-cli, which never shows it
    doc.SetOutputFolder(out.string());
    doc.Load(path, settings).Ignore();  // a failed load writes no outputs: reported below
    summary = doc.Summary();
  };
  double floor_ms = 1e30, convert_ms = 1e30;
  for (int round = 0; round < 5; ++round) {
    floor_ms = std::min(floor_ms, bench::BestMs(3, floor));
    convert_ms = std::min(convert_ms, bench::BestMs(1, convert));
  }

  // The share of the conversion after the per-line pass: hole clean-up, both event lists,
  // the histogram and both MIDI files, from the holes of one conversion.
  TarveloDoc doc(ui);
  doc.SetSpacingHistogramWanted(false);
  doc.SetOutputFolder(out.string());
  doc.Load(path, settings).Ignore();
  const HoleList holes = doc.Holes();
  double outputs_ms = 1e30;
  for (int round = 0; round < 5; ++round) {
    outputs_ms = std::min(
        outputs_ms, bench::BestMs(1, [&] {
          HoleList work = holes;
          KeywordList keywords = doc.Keywords();
          const GeneralSettings& general = settings.General;
          MergeScanGlitches(work, general.GlitchThresholdDistance);
          RemoveSpecks(work, doc.RollType(), general.SpeckThresholdLength, general.SpeckThresholdWidthPct,
                       static_cast<int>(settings.Scanner.ScannerDPI));
          const EventList scan_image = BuildScanImageEvents(work, doc.RollType(), doc.ScanData().Header.Title, ui);
          SpacingHistogramStore histogram;
          BuildSpacingHistogram(scan_image, doc.RollType(), settings.Diagnostic.HistogramSameTrackOnly, histogram, ui);
          const std::string folder = doc.OutputFolder();
          const MidiOutputSource source{folder,         doc.FileName(),        doc.ScanData().Header.Tempo,
                                        doc.RollType(), doc.RollInformation(), settings.General,
                                        settings.ERoll, settings.Outputs};
          WriteScanImageMidi(source, scan_image, keywords, ui);
          EventList eroll = BuildERollEvents(work, doc.RollType(), doc.ScanData().Header.Title, ui);
          RemoveWebbing(eroll, doc.RollType(), doc.ScanData().Header.Tempo);
          WriteERollMidi(source, eroll, keywords, ui);
        }));
  }

  int written = 0;
  for (const OutputFileRecord& record : summary.Outputs) {
    const bool file_written = record.Outcome.ok();
    if (file_written) ++written;
    std::printf("output          %s (%ju bytes)%s\n", record.Path.c_str(),
                static_cast<uintmax_t>(file_written ? fs::file_size(record.Path) : 0),
                file_written ? "" : " NOT WRITTEN");
  }
  std::error_code ec;
  fs::remove_all(out, ec);

  const double ratio = convert_ms / floor_ms;
  std::printf("file            %s (%d lines, %d holes kept; floor counted %zu lines)\n", path.c_str(), summary.Lines,
              summary.HolesKept, floor_lines);
  std::printf("floor           %8.2f ms\n", floor_ms);
  std::printf("conversion      %8.2f ms   %.2f x floor (target <= 4)\n", convert_ms, ratio);
  std::printf("  of which events, histogram and MIDI files %8.2f ms (%.2f x floor)\n", outputs_ms,
              outputs_ms / floor_ms);
  for (const std::string& message : ui.messages) std::printf("message         %s\n", message.c_str());
  const bool ok = ratio <= 4.0 && written == 2;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
