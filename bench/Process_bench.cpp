// tarvelo-cli as its users run it, one process per roll: a conversion of the largest real scan
// with default settings, and its roll view drawn by `render`, each timed as a whole process
// (processor time of start, libraries, work and exit, from wait4) against the read floor run
// as a process of its own (floor-read). Targets: the conversion at most 1.8 times the floor;
// its peak memory above the process's own base (the same conversion of the bundled sample roll,
// 21 KB: the program, its settings and the roll type library) at most 3.5 times the file's size; `render` at most 1.5
// times `convert`.
//
//   Process_bench [FILE.cis]
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"

extern char** environ;

namespace {

struct ProcessCost {
  double CpuMs = 1e30;    // least user + system time over the runs
  double PeakBytes = 0;   // largest resident set of the runs
  bool Succeeded = true;  // every run exited with 0
};

// Runs `arguments` (the program first) `runs` times with standard output and error sent to
// /dev/null, each as a process of its own.
ProcessCost Measure(const std::vector<std::string>& arguments, int runs) {
  ProcessCost cost;
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  for (int run = 0; run < runs; ++run) {
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
      cost.Succeeded = false;
      break;
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      cost.Succeeded = false;
    }
    const auto ms = [](const timeval& at) { return static_cast<double>(at.tv_sec) * 1e3 + at.tv_usec / 1e3; };
    cost.CpuMs = std::min(cost.CpuMs, ms(usage.ru_utime) + ms(usage.ru_stime));
    cost.PeakBytes = std::max(cost.PeakBytes, static_cast<double>(usage.ru_maxrss) * 1024.0);
  }
  posix_spawn_file_actions_destroy(&actions);
  return cost;
}

bool Report(const char* what, double value, double target, const char* unit) {
  const bool met = value <= target;
  std::printf("%-34s %6.2f %s (target <= %.1f) %s\n", what, value, unit, target, met ? "met" : "MISSED");
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const std::string path = argc > 1 ? argv[1] : tarvelo::bench::RealCis("stepper_bicolor.CIS").string();
  if (!fs::exists(path)) {
    std::printf("skipped: %s not found\n", path.c_str());
    return 0;
  }
  const fs::path out = fs::temp_directory_path() / ("tarvelo-process-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(out);
  // Default settings: a profile that does not exist yet, which the conversion does not write.
  setenv("TARVELO_PROFILE", (out / "profile.ini").c_str(), 1);
  const std::string cli = TARVELO_CLI_PATH;
  const int runs = 10;

  ProcessCost floor, base, convert, render;
  for (int round = 0; round < 2; ++round) {  // alternated, so that both see the same machine state
    const ProcessCost floor_now = Measure({TARVELO_FLOOR_PATH, path}, runs);
    const ProcessCost base_now =
        Measure({cli, "convert", "--output-dir", out.string(), TARVELO_SOURCE_DIR "/data/sample/SampleRoll.cis"}, runs);
    const ProcessCost convert_now = Measure({cli, "convert", "--output-dir", out.string(), path}, runs);
    const ProcessCost render_now = Measure({cli, "render", path, "-o", (out / "roll.png").string()}, runs);
    auto keep = [](ProcessCost& best, const ProcessCost& now) {
      best.CpuMs = std::min(best.CpuMs, now.CpuMs);
      best.PeakBytes = std::max(best.PeakBytes, now.PeakBytes);
      best.Succeeded = best.Succeeded && now.Succeeded;
    };
    keep(floor, floor_now);
    keep(base, base_now);
    keep(convert, convert_now);
    keep(render, render_now);
  }
  fs::remove_all(out);
  if (!floor.Succeeded || !base.Succeeded || !convert.Succeeded || !render.Succeeded) {
    std::printf("FAIL: a process did not run to success (floor %d, base %d, convert %d, render %d)\n", floor.Succeeded,
                base.Succeeded, convert.Succeeded, render.Succeeded);
    return 1;
  }
  const double file_bytes = static_cast<double>(fs::file_size(path));
  std::printf("file            %s (%.2f MB)\n", path.c_str(), file_bytes / 1e6);
  std::printf("floor-read      %6.2f ms, peak %.1f MB\n", floor.CpuMs, floor.PeakBytes / 1e6);
  std::printf("sample roll     %6.2f ms, peak %.1f MB (the process's own base)\n", base.CpuMs, base.PeakBytes / 1e6);
  std::printf("convert         %6.2f ms, peak %.1f MB\n", convert.CpuMs, convert.PeakBytes / 1e6);
  std::printf("render          %6.2f ms, peak %.1f MB\n", render.CpuMs, render.PeakBytes / 1e6);
  bool ok = true;
  ok &= Report("convert / floor-read", convert.CpuMs / floor.CpuMs, 1.8, "x");
  ok &= Report("convert's peak above base / file", (convert.PeakBytes - base.PeakBytes) / file_bytes, 3.5, "x");
  ok &= Report("render / convert", render.CpuMs / convert.CpuMs, 1.5, "x");
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
