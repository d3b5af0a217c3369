// Loading the shipped roll type library (read, convert, parse, list the names) and applying
// a roll type (its values, then the roll view's strip images drawn from them) must together
// stay under 5 ms.
//
// Usage: RollTypes_bench [RollTypeDefinitions.xml]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "helpers/RecordingFrontEnd.h"
#include "rolltypes/ApplyRollType.h"
#include "rolltypes/RollTypeDefinition.h"
#include "rolltypes/RollTypeLibrary.h"
#include "view/TrackStrips.h"
#include "xml/XmlDocument.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml";
  tarvelo::testing::RecordingFrontEnd ui;
  ui.record_status = false;

  constexpr int kRuns = 50;
  std::vector<double> load_times;
  tarvelo::XmlDocument doc;
  std::vector<std::string> names;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    if (!tarvelo::LoadRollTypeDefinitions({path}, doc, names)) return 2;
    load_times.push_back(Milliseconds(Clock::now() - start));
  }

  tarvelo::RollTypeDefinition record;
  tarvelo::TrackStrips strips = tarvelo::InitialTrackStrips();
  double worst_apply = 0;
  std::string worst_name;
  for (const std::string& name : names) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
      const auto start = Clock::now();
      tarvelo::ApplyActiveRollType(record, name, doc, ui).Ignore();
      tarvelo::RenderTrackStrips(record, strips);
      times.push_back(Milliseconds(Clock::now() - start));
    }
    const double median = Median(times);
    std::printf("apply %-26s %8.3f ms\n", name.c_str(), median);
    if (median > worst_apply) worst_apply = median, worst_name = name;
  }
  const double load = Median(load_times);
  const double total = load + worst_apply;
  std::printf("load %s: %.3f ms (%zu roll types)\n", path.c_str(), load, names.size() - 1);
  std::printf("load + slowest apply (%s): %.3f ms, budget 5 ms: %s\n", worst_name.c_str(), total,
              total < 5.0 ? "ok" : "OVER");
  for (const std::string& message : ui.messages) std::fprintf(stderr, "message: %s\n", message.c_str());
  if (!ui.messages.empty()) return 2;
  return total < 5.0 ? 0 : 1;
}
