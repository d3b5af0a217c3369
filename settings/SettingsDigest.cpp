#include "settings/SettingsDigest.h"

#include "settings/IniProfile.h"
#include "support/Sha256.h"

namespace tarvelo {

namespace {

void WriteScanner(const ScannerSettings& scanner, IniProfile& out) {
  ProfileWriter writer(out, ScannerPresets::kSection);
  writer.String("ScannerDPI", std::to_string(scanner.ScannerDPI));
  writer.Real("ScannerOffset", scanner.ScannerOffset, 17);
  writer.Real("ScannerAlignStretch", scanner.ScannerAlignStretch, 17);
  writer.String("ScannerModeType", scanner.ScannerModeType);
  writer.Switch("RemoveTakeupAccel", scanner.RemoveTakeupAccel);
  writer.Real("TakeupAccelPct", scanner.TakeupAccelPct, 17);
  writer.Switch("ActiveTracking", scanner.ActiveTracking);
  writer.Switch("AutoTweakSettings", scanner.AutoTweakSettings);
  writer.Int("ScanLightingMethod", scanner.ScanLightingMethod);
  writer.Real("TwinArrayOverlap", scanner.TwinArrayOverlap, 17);
  writer.Real("TwinArrayVertOffset", scanner.TwinArrayVertOffset, 17);
  writer.Switch("ForceOldCisFormat", scanner.ForceOldCisFormat);
  // Held in memory: the writes cannot fail.
  writer.Outcome().Ignore();
}

}  // namespace

std::string SettingsText(const RunSettings& settings) {
  IniProfile out;
  WriteScanner(settings.Scanner, out);
  // `out` is held in memory: its writes cannot fail.
  settings.General.Save(out).Ignore();
  settings.ERoll.Save(out).Ignore();
  settings.Diagnostic.Save(out).Ignore();
  settings.Tracking.Save(out).Ignore();
  settings.TwinArray.Save(out).Ignore();
  settings.Outputs.SaveAll(out).Ignore();
  settings.Roll.Save(out).Ignore();
  // Only when they differ from their defaults, so that the digest of every run that never met a
  // picture setting stays what it was.
  if (!settings.Picture.IsDefault()) settings.Picture.Save(out).Ignore();

  std::string text;
  for (const IniProfile::Entry& entry : out.Entries())
    text += entry.section + "/" + entry.key + "=" + entry.value + "\n";
  return text;
}

std::string SettingsDigest(const RunSettings& settings) { return Sha256Hex(SettingsText(settings)).substr(0, 16); }

}  // namespace tarvelo
