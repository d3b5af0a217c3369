#pragma once
// Reads a sound file with readers of its own: Python's wave module for WAV files (with the
// system's /usr/bin/python3) and sox's soxi for any format it knows (FLAC). Neither shares a
// line of code with FluidSynth or libsndfile's writer.

#include <string>
#include <vector>

namespace tarvelo::testing {

struct WaveFacts {
  int Channels = 0;
  int SampleBytes = 0;  // bytes per sample of one channel
  int FrameRate = 0;
  long Frames = 0;
  std::vector<double> WindowRms;  // root mean square of each window, both channels, full scale 1
  double Seconds() const { return FrameRate > 0 ? static_cast<double>(Frames) / FrameRate : 0; }
};

// Reads a 16-bit WAV file with Python's wave module; the loudness of each window of
// `window_seconds`. False (with the reason in `error`) when it cannot be read.
bool ReadWaveFile(const std::string& path, double window_seconds, WaveFacts& facts, std::string& error);

// The frames, channels and rate soxi reads from a sound file of any format it knows. False
// when soxi cannot read it (or is not installed).
bool ReadSoundFileWithSox(const std::string& path, WaveFacts& facts, std::string& error);

// Pearson's correlation of two series of one length.
double Correlation(const std::vector<double>& a, const std::vector<double>& b);

}  // namespace tarvelo::testing
