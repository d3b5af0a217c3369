// tarvelo-cli render-audio ROLL.cis -o ROLL.wav: the roll converted and played offline by the
// software synthesizer into a sound file, as fast as the processor allows.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "audio/AudioFileRenderer.h"
#include "audio/SoundFontFile.h"
#include "audio/Synthesizer.h"
#include "cli/Commands.h"
#include "cli/ListenRun.h"
#include "cli/ProgressLine.h"
#include "cli/StopSignals.h"
#include "settings/AudioSettings.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace {

bool EndsWithFlac(const std::string& path) {
  std::string extension = Utf8FromPath(PathFromUtf8(path).extension());
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".flac";
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int RunRenderAudio(const RenderAudioOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  auto profile = RunProfile::Open(options.listen.profile);
  if (!profile) return kExitUsage;
  const AudioFileFormat format = options.format == "flac" || (options.format.empty() && EndsWithFlac(options.output))
                                     ? AudioFileFormat::kFlac
                                     : AudioFileFormat::kWav;
  const std::filesystem::path folder = PathFromUtf8(options.output).parent_path();
  std::error_code error;
  if (!std::filesystem::is_directory(folder.empty() ? std::filesystem::path(".") : folder, error) ||
      std::filesystem::is_directory(PathFromUtf8(options.output), error)) {
    std::fprintf(stderr, "tarvelo-cli: -o %s: no folder to write it in\n", options.output.c_str());
    return kExitUsage;
  }
  // The SoundFont before the conversion: a missing one should not cost a conversion.
  const std::string soundfont = ChooseSoundFont(options.soundfont, AudioSettings(profile->Store()).SoundFont);
  std::unique_ptr<Synthesizer> synthesizer;
  if (const Result made = Synthesizer::Create(soundfont, synthesizer); !made.ok()) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", made.message().c_str());
    return kExitUsage;
  }

  HeardRoll heard;
  if (const int status = ConvertForListening(options.listen, *profile, heard); status != kExitOk) return status;
  const double playing_time = heard.Schedule.EndSeconds();
  if (options.from > 0 && options.from >= playing_time) {
    std::fprintf(stderr, "tarvelo-cli: --from %g: the %s file of %s plays for %s only\n", options.from,
                 heard.Source.c_str(), options.listen.file.c_str(), FormatDuration(playing_time).c_str());
    return kExitUsage;
  }
  LowerVelocitiesUnderSoftPedal(heard.Schedule);

  AudioRenderRequest request;
  request.Path = options.output;
  request.Format = format;
  request.FromSeconds = options.from;
  request.LengthSeconds = options.length;
  ProgressLine progress_line(!options.quiet);
  const auto on_progress = [&](double rendered, double total) {
    if (StopSignal() != 0) return false;
    if (progress_line.Enabled()) {
      progress_line.Show(FitToColumns(
          "rendering " + options.listen.file + ": " + FormatDuration(rendered) + " of " + FormatDuration(total),
          progress_line.Columns()));
    }
    return true;
  };
  const Result rendered = RenderAudioFile(*synthesizer, heard.Schedule, request, on_progress);
  progress_line.Clear();
  if (!rendered.ok()) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", rendered.message().c_str());
    return kExitFileFailed;
  }
  if (!options.quiet) {
    std::fprintf(stderr, "wrote %s: %s of the %s file, 44.1 kHz 16-bit stereo %s; %.1f s\n", options.output.c_str(),
                 FormatDuration(RenderedSeconds(heard.Schedule, request)).c_str(), heard.Source.c_str(),
                 format == AudioFileFormat::kFlac ? "FLAC" : "WAV", SecondsSince(start));
  }
  return heard.ConversionStatus;
}

}  // namespace tarvelo::cli
