// Documents on different threads share nothing but read-only data: converting two real scans
// at once gives the same files as converting them one after the other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "document/TarveloDoc.h"
#include "helpers/Environment.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeLibrary.h"

namespace tarvelo {
namespace {

using testing::ReadBytes;
using testing::RealCisDir;
using testing::RecordingFrontEnd;
using testing::TempDir;

// Converts `scan` into `folder` with `roll` and the given settings; returns the two MIDI files.
std::pair<std::string, std::string> Convert(const std::filesystem::path& scan, const std::string& folder,
                                            const RollTypeDefinition& roll, const RunSettings& settings) {
  RecordingFrontEnd front_end;
  front_end.record_status = false;
  TarveloDoc doc(front_end, front_end);
  doc.SetRollType(roll);
  doc.SetOutputFolder(folder);
  EXPECT_TRUE(doc.Load(scan.string(), settings).ok()) << scan;
  const std::string name = scan.stem().string();
  return {ReadBytes(folder + "/" + name + "_ScanImageMIDI.mid"), ReadBytes(folder + "/" + name + "_eRollMIDI.mid")};
}

TEST(ConcurrentDocuments, TwoThreadsWriteTheSameFilesAsOneAfterTheOther) {
  TARVELO_REQUIRE_REAL_CIS();
  // The credit date must not change between runs.
  const testing::ScopedEnvironment date("SOURCE_DATE_EPOCH", "1700000000");
  // One roll type, applied once and copied into every document: the shared read-only data.
  XmlDocument library;
  std::vector<std::string> names;
  RecordingFrontEnd loader;
  ASSERT_TRUE(
      LoadRollTypeDefinitions({std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml"}, library, names));
  RollTypeDefinition ampico;
  ASSERT_TRUE(ApplyActiveRollType(ampico, "Ampico B", library, loader));
  const RunSettings settings = loader.settings;

  const std::filesystem::path first = RealCisDir() / "stepper_bicolor.CIS";
  const std::filesystem::path second = RealCisDir() / "stepper_twin.CIS";
  TempDir one_by_one, at_once;
  const auto first_alone = Convert(first, one_by_one.Path().string(), ampico, settings);
  const auto second_alone = Convert(second, one_by_one.Path().string(), ampico, settings);

  std::pair<std::string, std::string> first_threaded, second_threaded;
  std::thread a([&] { first_threaded = Convert(first, at_once.Path().string(), ampico, settings); });
  std::thread b([&] { second_threaded = Convert(second, at_once.Path().string(), ampico, settings); });
  a.join();
  b.join();

  ASSERT_FALSE(first_alone.first.empty());
  EXPECT_TRUE(first_threaded == first_alone);
  EXPECT_TRUE(second_threaded == second_alone);
}

}  // namespace
}  // namespace tarvelo
