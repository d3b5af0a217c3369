// The read floor as a process of its own: `floor-read FILE.cis` reads the file and makes the
// floor's one pass, then prints how many lines it found. Process_bench times it against
// tarvelo-cli's conversion, each as a whole process (start, libraries, work, exit).
#include <cstdio>

#include "FloorRead.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: floor-read FILE.cis\n");
    return 2;
  }
  std::vector<int32_t> sums;
  const size_t lines = tarvelo::bench::FloorRead(argv[1], sums);
  std::printf("%zu lines\n", lines);
  return lines > 0 ? 0 : 1;
}
