#include "audio/AudioFileRenderer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "audio/FluidSynthLibrary.h"
#include "audio/ScratchFolder.h"
#include "support/AtomicFile.h"
#include "support/Utf8Path.h"

namespace tarvelo {

namespace {

class FileRenderer {
 public:
  explicit FileRenderer(const Synthesizer& synthesizer)
      : fluid_(synthesizer.Library()), renderer_(fluid_.NewFileRenderer(synthesizer.Handle())) {}
  ~FileRenderer() { Close(); }
  FileRenderer(const FileRenderer&) = delete;
  FileRenderer& operator=(const FileRenderer&) = delete;
  bool IsOpen() const { return renderer_ != nullptr; }
  bool ProcessBlock() { return fluid_.FileRendererProcessBlock(renderer_) == FLUID_OK; }
  // Finishes the file (its header holds the length only from then on).
  void Close() {
    if (renderer_ != nullptr) fluid_.DeleteFileRenderer(renderer_);
    renderer_ = nullptr;
  }

 private:
  const FluidSynthLibrary& fluid_;
  fluid_file_renderer_t* renderer_;
};

std::string Reason() {
  const std::string message = LastSynthesizerMessage();
  return message.empty() ? "" : " (" + message + ")";
}

}  // namespace

double RenderedSeconds(const PlaybackSchedule& schedule, const AudioRenderRequest& request) {
  const double to_end = std::max(0.0, schedule.EndSeconds() - std::max(0.0, request.FromSeconds));
  return request.LengthSeconds < 0 ? to_end : std::min(to_end, request.LengthSeconds);
}

Result RenderAudioFile(Synthesizer& synthesizer, const PlaybackSchedule& schedule, const AudioRenderRequest& request,
                       const RenderProgress& progress) {
  const ScratchFolder scratch;
  if (scratch.Path().empty()) {
    return Result::IoError("cannot write " + request.Path + ": no scratch folder can be made for the render");
  }
  const bool flac = request.Format == AudioFileFormat::kFlac;
  const std::filesystem::path scratch_file = scratch.Path() / (flac ? "render.flac" : "render.wav");
  const FluidSynthLibrary& fluid = synthesizer.Library();
  fluid_settings_t* settings = synthesizer.Settings();
  fluid.SettingsSetStr(settings, "audio.file.name", Utf8FromPath(scratch_file).c_str());
  fluid.SettingsSetStr(settings, "audio.file.type", flac ? "flac" : "wav");
  fluid.SettingsSetStr(settings, "audio.file.format", "s16");
  fluid.SettingsSetStr(settings, "audio.file.endian", "auto");
  int block = 64;
  fluid.SettingsGetInt(settings, "audio.period-size", &block);
  block = std::max(block, 1);

  const double from = std::max(0.0, request.FromSeconds);
  const double seconds = RenderedSeconds(schedule, request);
  const auto total_frames = static_cast<int64_t>(std::llround(seconds * kAudioSampleRate));
  {
    FileRenderer renderer(synthesizer);
    if (!renderer.IsOpen()) return Result::IoError("cannot write " + request.Path + Reason());
    for (const MidiMessage& message : schedule.StateAt(from)) synthesizer.Send(message);
    const std::vector<ScheduledMessage>& messages = schedule.Messages();
    size_t next = schedule.FirstAt(from);
    int64_t next_report = kAudioSampleRate;
    for (int64_t frame = 0; frame < total_frames; frame += block) {
      // Every message that falls within this block starts it: timing to the block (64 frames,
      // 1.5 ms), the same on every run.
      const double block_end = from + static_cast<double>(frame + block) / kAudioSampleRate;
      for (; next < messages.size() && messages[next].Seconds < block_end; ++next)
        synthesizer.Send(messages[next].Message);
      if (!renderer.ProcessBlock()) return Result::IoError("cannot write " + request.Path + Reason());
      if (progress && frame >= next_report) {
        next_report += kAudioSampleRate;
        if (!progress(static_cast<double>(frame) / kAudioSampleRate, seconds)) {
          return Result::Cancelled("the render of " + request.Path + " was stopped; no file was written");
        }
      }
    }
    renderer.Close();
  }
  if (progress && !progress(seconds, seconds)) {
    return Result::Cancelled("the render of " + request.Path + " was stopped; no file was written");
  }
  std::string bytes;
  if (Result read = ReadWholeFile(Utf8FromPath(scratch_file), bytes); !read.ok()) {
    return Result::IoError("cannot write " + request.Path + ": " + read.message());
  }
  return WriteFileAtomically(request.Path, bytes, Flush::kNo);
}

}  // namespace tarvelo
