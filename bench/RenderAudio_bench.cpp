// render-audio's work on a three-minute roll: the eRoll MIDI file of a real scan played into
// a WAV file by the software synthesizer, on one core. Target: at least 20 times faster than
// the music plays. The conversion before it is timed apart (Convert_bench is its benchmark).
//
//   RenderAudio_bench [FILE.cis [SOUNDFONT.sf2]]
#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "audio/AudioFileRenderer.h"
#include "audio/ScratchFolder.h"
#include "audio/SoundFontFile.h"
#include "audio/Synthesizer.h"
#include "document/TarveloDoc.h"
#include "midi/ERollMidi.h"
#include "midi/MidiFileReader.h"

using namespace tarvelo;

int main(int argc, char** argv) {
  KeepFreedMemoryInProcess();
  const std::string path = argc > 1 ? argv[1] : bench::RealCis("stepper_single.CIS").string();
  const std::string soundfont = argc > 2 ? argv[2] : kInstalledSoundFont;
  if (!std::filesystem::exists(path) || !CheckSoundFont(soundfont).ok()) {
    std::printf("skipped: %s or %s not found\n", path.c_str(), soundfont.c_str());
    return 0;
  }
  const ScratchFolder scratch;
  bench::QuietFrontEnd ui;
  TarveloDoc doc(ui);
  doc.SetSpacingHistogramWanted(false);
  doc.SetScanImageMidiSkipped(true);
  doc.SetOutputFolder(scratch.Path().string());
  double convert_ms = bench::BestMs(1, [&] { doc.Load(path, ui.settings).Ignore(); });
  MidiFileContents file;
  const auto& outputs = doc.Summary().Outputs;
  std::string bytes;
  if (outputs.empty() || !ReadWholeFile(outputs.back().Path, bytes).ok() || !ReadMidiFile(bytes, file).ok()) {
    std::printf("failed: no eRoll MIDI file from %s\n", path.c_str());
    return 1;
  }
  const RollTiming timing = ERollFileTiming(doc.ERollEvents(), ui.settings.ERoll, doc.ScanData().Header.Tempo);
  PlaybackSchedule schedule = PlaybackSchedule::OfMidiFile(file, timing);
  LowerVelocitiesUnderSoftPedal(schedule);
  int notes = 0;
  for (const ScheduledMessage& message : schedule.Messages()) notes += message.Message.IsNoteOn() ? 1 : 0;

  AudioRenderRequest request;
  request.Path = (scratch.Path() / "render.wav").string();
  double render_ms = 1e30;
  for (int round = 0; round < 3; ++round) {
    std::unique_ptr<Synthesizer> synthesizer;
    if (const Result made = Synthesizer::Create(soundfont, synthesizer); !made.ok()) {
      std::printf("failed: %s\n", made.message().c_str());
      return 1;
    }
    render_ms = std::min(render_ms, bench::BestMs(1, [&] {
                           if (const Result rendered = RenderAudioFile(*synthesizer, schedule, request); !rendered.ok())
                             std::printf("failed: %s\n", rendered.message().c_str());
                         }));
  }
  const double music_seconds = schedule.EndSeconds();
  const double factor = music_seconds / (render_ms / 1000);
  std::printf("%s: %.1f s of music, %d notes; conversion %.0f ms\n", path.c_str(), music_seconds, notes, convert_ms);
  std::printf("render-audio (WAV, one core): %.0f ms, %.1f times faster than real time (target: at least 20) %s\n",
              render_ms, factor, factor >= 20 ? "ok" : "MISSED");
  return 0;
}
