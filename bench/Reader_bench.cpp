// Reading the largest real scan against the floor program, timed in the same run.
// Targets: the reader takes at most 1.5 times the floor's time, and the lines it keeps
// take less than three times the file's size in memory.
#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "cis/CisReader.h"

using namespace tarvelo;

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : bench::RealCis("stepper_bicolor.CIS").string();
  if (!std::filesystem::exists(path)) {
    std::printf("skipped: %s not found\n", path.c_str());
    return 0;
  }
  const auto file_size = std::filesystem::file_size(path);
  bench::QuietFrontEnd ui;
  std::vector<int32_t> sums;
  size_t floor_lines = 0;
  int reader_lines = 0;
  size_t memory = 0;
  auto floor = [&] { floor_lines = bench::FloorRead(path, sums); };
  auto reader = [&] {
    std::string bytes;
    ReadWholeFile(path, bytes).Ignore();  // an unreadable file reads as no lines, and fails below
    CisScanData data;
    data.Header.Names.Name = "bench";
    data.Header.Names.Extension = "cis";
    ReadCisFile({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, false, data, ui).Ignore();
    reader_lines = data.Lines.Size();
    memory = data.Lines.MemoryBytes();
  };
  // Interleave the two so that both see the same machine state.
  double floor_ms = 1e30, reader_ms = 1e30;
  for (int round = 0; round < 5; ++round) {
    floor_ms = std::min(floor_ms, bench::BestMs(3, floor));
    reader_ms = std::min(reader_ms, bench::BestMs(3, reader));
  }
  const double time_ratio = reader_ms / floor_ms;
  const double memory_ratio = static_cast<double>(memory) / static_cast<double>(file_size);
  std::printf("file            %s (%ju bytes, %d lines; floor counted %zu)\n", path.c_str(),
              static_cast<uintmax_t>(file_size), reader_lines, floor_lines);
  std::printf("floor           %8.2f ms\n", floor_ms);
  std::printf("reader          %8.2f ms   %.2f x floor (target <= 1.5)\n", reader_ms, time_ratio);
  std::printf("lines memory    %8.2f MB   %.2f x file size (target < 3)\n", memory / 1e6, memory_ratio);
  const bool ok = reader_lines > 0 && time_ratio <= 1.5 && memory_ratio < 3.0;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
