#include "helpers/AlignmentRolls.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "align/PrepareScan.h"
#include "helpers/RecordingFrontEnd.h"
#include "rolltypes/RollTypeLibrary.h"

namespace tarvelo::testing {

ScanLineArray SyntheticScanLines(const synth::SyntheticRollSpec& plan) {
  ScanLineArray lines;
  const int count = synth::SyntheticLineCount(plan);
  for (int i = 0; i < count; ++i) {
    LineGeometry geometry;
    geometry.Position = static_cast<double>(i) / plan.lines_per_inch;
    lines.AppendLine(synth::SyntheticLineTransitions(plan, i), 0, geometry);
  }
  return lines;
}

ScanForAlignment SyntheticScanView(const ScanLineArray& lines, const synth::SyntheticRollSpec& plan) {
  ScanForAlignment view;
  view.Lines = &lines;
  view.ImageFirst = 0;
  view.ImageLast = plan.scan_width;
  view.Polarity = HolePolarity::kEvenRuns;
  view.HeaderDpi = plan.header_dpi.value_or(static_cast<int16_t>(plan.dpi));
  return view;
}

synth::SyntheticRollSpec SystemRoll(synth::RollSystem system, double offset, double stretch, int dpi, double wander,
                                    double ragged, uint32_t seed) {
  synth::SyntheticRollSpec plan;
  plan.dpi = dpi;
  plan.offset = offset;
  plan.stretch = stretch;
  plan.scan_width = dpi * 3648 / 300;  // a 12.16-inch sensor
  plan.length_inch = 100;
  plan.ragged_margin = ragged;
  // Four waves along the roll: the paper's median place is where it would lie without them.
  plan.drift = [wander](double position) { return wander * std::sin(position * 2 * std::numbers::pi / 25.0); };
  plan.holes = synth::SystemRollHoles(system, plan.length_inch, seed);
  return plan;
}

const std::vector<RollTypeDefinition>& ShippedRollTypes() {
  static const std::vector<RollTypeDefinition> types = [] {
    RecordingFrontEnd front_end;
    XmlDocument library;
    std::vector<std::string> names;
    if (!LoadRollTypeDefinitions({std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml"}, library, names))
      throw std::runtime_error("the shipped roll type library does not load");
    return FillRollTypes(library, names, front_end);
  }();
  return types;
}

std::vector<const RollTypeDefinition*> ShippedLibrary() {
  std::vector<const RollTypeDefinition*> library;
  for (const RollTypeDefinition& type : ShippedRollTypes()) library.push_back(&type);
  return library;
}

const RollTypeDefinition& ShippedRollType(const char* name) {
  for (const RollTypeDefinition& type : ShippedRollTypes())
    if (type.Name == name) return type;
  throw std::runtime_error(std::string("no roll type ") + name);
}

}  // namespace tarvelo::testing
