#include "midi/MidiOutputPath.h"

namespace tarvelo {

std::string MidiOutputPath(MidiOutputKind kind, const std::string& folder, const std::string& file_name,
                           const GeneralSettings& general, const ERollSettings& eroll, const OutputSettings& outputs) {
  switch (kind) {
    case MidiOutputKind::kScanImage:
      return folder + general.ScanMidiFilePrefix + file_name + general.ScanMidiFileSuffix + ".mid";
    case MidiOutputKind::kERoll:
      return folder + eroll.eRollMidiFilePrefix + file_name + eroll.eRollMidiFileSuffix + ".mid";
    case MidiOutputKind::kExpression:
      return folder + outputs.ExpressionMidiFilePrefix + file_name + outputs.ExpressionMidiFileSuffix + ".mid";
  }
  return {};
}

}  // namespace tarvelo
