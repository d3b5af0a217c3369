#pragma once
// Shared pieces of the benchmarks: a quiet front end, the floor program (the least
// work that reads a CIS file and computes every line's running sums into one flat array),
// and best-of-N timing.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "FloorRead.h"
#include "align/PrepareScan.h"
#include "helpers/RecordingFrontEnd.h"
#include "rolltypes/RollTypeLibrary.h"
#include "support/AtomicFile.h"
#include "support/ProcessEnvironment.h"

namespace tarvelo::bench {

#ifndef NDEBUG
inline const bool kWarned = (std::fprintf(stderr, "warning: benchmark built without optimisation\n"), true);
#endif

// Default settings; keeps the messages only (status and progress would cost time).
struct QuietFrontEnd : testing::RecordingFrontEnd {
  QuietFrontEnd() { record_status = false; }
};

// Best wall time of `runs` calls of `work`, in milliseconds.
template <typename Work>
double BestMs(int runs, Work&& work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

// Least processor time of the whole process (every thread) over `runs` calls of `work`, in
// milliseconds: on a busy machine it varies far less than the wall time, as waiting for a core
// does not count.
template <typename Work>
double BestCpuMs(int runs, Work&& work) {
  auto now = [] {
    timespec at{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &at);
    return static_cast<double>(at.tv_sec) * 1e3 + static_cast<double>(at.tv_nsec) / 1e6;
  };
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const double start = now();
    work();
    best = std::min(best, now() - start);
  }
  return best;
}

// The shipped roll type library's types; empty (and said) when the library cannot be read.
inline std::vector<RollTypeDefinition> ShippedRollTypes(QuietFrontEnd& ui) {
  XmlDocument library;
  std::vector<std::string> names;
  const std::string path = std::string(TARVELO_SOURCE_DIR) + "/data/RollTypeDefinitions.xml";
  if (!LoadRollTypeDefinitions({path}, library, names)) {
    std::printf("skipped: no roll type library at %s\n", path.c_str());
    return {};
  }
  return FillRollTypes(library, names, ui);
}

inline std::filesystem::path RealCis(const char* name) {
  return std::filesystem::path(TARVELO_SHARED_DIR) / "data" / "real-cis" / name;
}

}  // namespace tarvelo::bench
