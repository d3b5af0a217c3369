// JPEG pictures through libjpeg(-turbo): decoded straight to grey, one row at a time. libjpeg
// reports errors by a long jump: each call into it is made from a function that holds nothing
// but plain values, so the jump skips no destructor.
#if TARVELO_HAVE_PICTURE_DECODERS
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <vector>

#include "images/PictureRows.h"

namespace tarvelo {

namespace {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool warned;  // the decoder met damaged data (a file cut short decodes grey rows with a warning)
};

void OnJpegError(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->jump, 1);
}

void OnJpegMessage(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace messages
  auto* error = reinterpret_cast<JpegError*>(info->err);
  if (!error->warned) (*info->err->format_message)(info, error->message);
  error->warned = true;
}

struct JpegState {
  jpeg_decompress_struct info;
  JpegError error;
  bool created = false;
  std::FILE* file = nullptr;
};

bool ReadJpegHeader(JpegState& state) {
  if (setjmp(state.error.jump)) return false;
  state.info.err = jpeg_std_error(&state.error.manager);
  state.error.manager.error_exit = OnJpegError;
  state.error.manager.emit_message = OnJpegMessage;
  jpeg_create_decompress(&state.info);
  state.created = true;
  // A progressive or multi-scan JPEG is decoded from coefficients of the whole picture held in
  // memory: no more than 256 MB of them (the decoder stops with "backing store" beyond).
  state.info.mem->max_memory_to_use = 256L * 1024 * 1024;
  jpeg_stdio_src(&state.info, state.file);
  jpeg_read_header(&state.info, TRUE);
  // Only the brightness is wanted: the decoder leaves out the colour planes' work.
  state.info.out_color_space = JCS_GRAYSCALE;
  jpeg_start_decompress(&state.info);
  return true;
}

bool ReadJpegRow(JpegState& state, uint8_t* grey) {
  if (setjmp(state.error.jump)) return false;
  JSAMPROW row = grey;
  return jpeg_read_scanlines(&state.info, &row, 1) == 1;
}

class JpegRows final : public PictureRows {
 public:
  explicit JpegRows(std::FILE* file) { state_.file = file; }
  ~JpegRows() override {
    if (state_.created) jpeg_destroy_decompress(&state_.info);
    if (state_.file) std::fclose(state_.file);
  }
  JpegRows(const JpegRows&) = delete;
  JpegRows& operator=(const JpegRows&) = delete;

  Result Open(const std::string& path) {
    path_ = path;
    state_.error.message[0] = '\0';
    state_.error.warned = false;
    if (!ReadJpegHeader(state_) || state_.error.warned)
      return Result::Corrupt("The JPEG picture " + path + " cannot be read: " + state_.error.message);
    if (state_.info.output_components != 1)
      return Result::Corrupt("The JPEG picture " + path + " cannot be read as grey");
    layout_.Format = "JPEG";
    layout_.Width = static_cast<int32_t>(state_.info.output_width);
    layout_.Rows = state_.info.output_height;
    layout_.BitsPerSample = 8;
    if (state_.info.saw_JFIF_marker) {
      if (state_.info.density_unit == 1) layout_.StoredDpi = PlausibleStoredDpi(state_.info.X_density);
      if (state_.info.density_unit == 2) layout_.StoredDpi = PlausibleStoredDpi(state_.info.X_density * 2.54);
    }
    return Result::Ok();
  }

  Result ReadRow(uint8_t* grey) override {
    if (failed_ || !ReadJpegRow(state_, grey) || state_.error.warned) {
      failed_ = true;
      return Result::Corrupt("The JPEG picture " + path_ + " is damaged after row " + std::to_string(rows_read_) +
                             (state_.error.message[0] ? std::string(": ") + state_.error.message : ""));
    }
    ++rows_read_;
    return Result::Ok();
  }

 private:
  JpegState state_{};
  std::string path_;
  int64_t rows_read_ = 0;
  bool failed_ = false;
};

}  // namespace

Result OpenJpegRows(std::FILE* file, const std::string& path, std::unique_ptr<PictureRows>& rows) {
  auto jpeg = std::make_unique<JpegRows>(file);
  if (Result opened = jpeg->Open(path); !opened.ok()) return opened;
  rows = std::move(jpeg);
  return Result::Ok();
}

}  // namespace tarvelo
#else
// Built without the decoder: the picture is refused, with the reason.
#include <cstdio>

#include "images/PictureRows.h"

namespace tarvelo {

Result OpenJpegRows(std::FILE* file, const std::string& path, std::unique_ptr<PictureRows>& /*rows*/) {
  if (file) std::fclose(file);
  return Result::Invalid("The JPEG picture " + path +
                         " cannot be read: this build of the program reads no JPEG pictures");
}

}  // namespace tarvelo
#endif
