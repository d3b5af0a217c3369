// Writes the sample roll as a CIS file: tarvelo-synth OUT.cis
#include <cstdio>
#include <string>

#include "SyntheticRoll.h"
#include "support/AtomicFile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarvelo-synth OUT.cis\n");
    return 2;
  }
  const tarvelo::Result written =
      tarvelo::WriteFileAtomically(argv[1], tarvelo::synth::RenderSyntheticCis(tarvelo::synth::SampleRollSpec()));
  if (!written.ok()) {
    std::fprintf(stderr, "tarvelo-synth: %s\n", written.message().c_str());
    return 1;
  }
  return 0;
}
