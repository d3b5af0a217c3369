#include "helpers/SoundFile.h"

#include <cmath>
#include <sstream>

#include "helpers/RunCommand.h"

namespace tarvelo::testing {

namespace {

// Prints the header's values, then one window's loudness a line.
constexpr const char* kWaveScript = R"(import sys, wave, array, math, warnings
warnings.simplefilter('ignore')
try:
    import audioop
except ImportError:
    audioop = None
w = wave.open(sys.argv[1], 'rb')
channels, width, rate, frames = w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes()
print(channels, width, rate, frames)
if width != 2: sys.exit(0)
step = max(1, int(round(float(sys.argv[2]) * rate)))
while True:
    data = w.readframes(step)
    if not data: break
    if audioop:
        print(audioop.rms(data, 2) / 32768.0)
        continue
    samples = array.array('h', data)
    if sys.byteorder == 'big': samples.byteswap()
    print(math.sqrt(sum(s * s for s in samples) / len(samples)) / 32768.0)
)";

}  // namespace

bool ReadWaveFile(const std::string& path, double window_seconds, WaveFacts& facts, std::string& error) {
  facts = WaveFacts{};
  std::ostringstream seconds;
  seconds << window_seconds;
  const CommandResult run =
      RunCommand("/usr/bin/python3 -c " + ShellQuote(kWaveScript) + " " + ShellQuote(path) + " " + seconds.str());
  if (run.status != 0) {
    error = "python3's wave module cannot read " + path + ": " + run.err;
    return false;
  }
  std::istringstream out(run.out);
  if (!(out >> facts.Channels >> facts.SampleBytes >> facts.FrameRate >> facts.Frames)) {
    error = "no header from python3: " + run.out;
    return false;
  }
  for (double rms = 0; out >> rms;) facts.WindowRms.push_back(rms);
  return true;
}

bool ReadSoundFileWithSox(const std::string& path, WaveFacts& facts, std::string& error) {
  facts = WaveFacts{};
  const std::string file = ShellQuote(path);
  const CommandResult run =
      RunCommand("{ soxi -c " + file + " && soxi -r " + file + " && soxi -s " + file + " && soxi -b " + file + "; }");
  std::istringstream out(run.out);
  int bits = 0;
  if (run.status != 0 || !(out >> facts.Channels >> facts.FrameRate >> facts.Frames >> bits)) {
    error = "soxi cannot read " + path + ": " + run.err;
    return false;
  }
  facts.SampleBytes = bits / 8;
  return true;
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
  const size_t n = std::min(a.size(), b.size());
  if (n < 2) return 0;
  double mean_a = 0, mean_b = 0;
  for (size_t i = 0; i < n; ++i) {
    mean_a += a[i] / static_cast<double>(n);
    mean_b += b[i] / static_cast<double>(n);
  }
  double ab = 0, aa = 0, bb = 0;
  for (size_t i = 0; i < n; ++i) {
    ab += (a[i] - mean_a) * (b[i] - mean_b);
    aa += (a[i] - mean_a) * (a[i] - mean_a);
    bb += (b[i] - mean_b) * (b[i] - mean_b);
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

}  // namespace tarvelo::testing
