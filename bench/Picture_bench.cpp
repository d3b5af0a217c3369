// Reading and converting a picture of a roll against the floor program for pictures (libpng
// decoding every row into nothing), timed in the same run; and the peak memory of reading, in
// a process of its own, against the scan lines kept and the decoded picture.
// Targets: converting the largest shared picture takes at most 1.5 times the floor's time, and
// the peak memory of reading it stays under three times the size of its scan lines (never near
// the decoded picture's size), for it and for a 100,000-row RGB picture made here.
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>

#include "BenchSupport.h"
#include "document/TarveloDoc.h"
#include "helpers/PictureWriting.h"
#include "helpers/TestPaths.h"
#include "images/ScanFile.h"

using namespace tarvelo;

namespace {

// The floor: libpng reads every row of the picture into one row's buffer, nothing more.
bool DecodeRows(png_structp png, png_infop info, std::FILE* file, size_t& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_user_limits(png, 1000000, 1000000000);
  png_read_info(png, info);
  png_read_update_info(png, info);
  std::vector<png_byte> row(png_get_rowbytes(png, info));
  const png_uint_32 height = png_get_image_height(png, info);
  for (png_uint_32 r = 0; r < height; ++r) png_read_row(png, row.data(), nullptr);
  rows = height;
  return true;
}

size_t FloorDecode(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  size_t rows = 0;
  if (!DecodeRows(png, info, file, rows)) rows = 0;
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return rows;
}

struct Reading {
  size_t LineBytes = 0;     // the scan lines kept
  size_t PeakBytes = 0;     // the reading process's peak resident memory
  size_t BaseBytes = 0;     // the same process's before it read
  size_t DecodedBytes = 0;  // the picture decoded whole, as 8-bit samples
};

size_t PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<size_t>(usage.ru_maxrss) * 1024;
}

// Reads `path` in a child process, which reports its line bytes and peak memory through a pipe.
Reading ReadInChild(const std::string& path) {
  int channel[2];
  Reading reading;
  if (pipe(channel) != 0) return reading;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    Reading measured;
    measured.BaseBytes = PeakResidentBytes();
    bench::QuietFrontEnd ui;
    CisScanData data;
    if (OpenScanFile(path, ScanOpenOptions{}, data, ui).ok()) {
      measured.LineBytes = data.Lines.MemoryBytes();
      measured.DecodedBytes =
          static_cast<size_t>(data.Header.Picture.Width) * static_cast<size_t>(data.Header.Picture.Rows);
    }
    measured.PeakBytes = PeakResidentBytes();
    if (write(channel[1], &measured, sizeof measured) != sizeof measured) _exit(1);
    _exit(0);
  }
  close(channel[1]);
  if (read(channel[0], &reading, sizeof reading) != sizeof reading) reading = Reading{};
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return reading;
}

bool ReportMemory(const char* what, const Reading& reading, size_t decoded_bytes) {
  const double grown = static_cast<double>(reading.PeakBytes - std::min(reading.PeakBytes, reading.BaseBytes));
  const double ratio = reading.LineBytes == 0 ? 1e9 : grown / static_cast<double>(reading.LineBytes);
  std::printf("%-15s lines %.1f MB, peak growth %.1f MB = %.2f x the lines (target < 3), decoded picture %.1f MB\n",
              what, reading.LineBytes / 1e6, grown / 1e6, ratio, decoded_bytes / 1e6);
  return reading.LineBytes > 0 && ratio < 3.0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path images = std::filesystem::path(TARVELO_SHARED_DIR) / "data" / "roll-images";
  const std::string path = argc > 1 ? argv[1] : (images / "stepper_bicolor.png").string();
  bool ok = true;
  if (!std::filesystem::exists(path)) {
    std::printf("skipped: %s not found\n", path.c_str());
  } else {
    bench::QuietFrontEnd ui;
    size_t floor_rows = 0;
    int lines = 0;
    auto floor = [&] { floor_rows = FloorDecode(path); };
    auto read = [&] {
      CisScanData data;
      OpenScanFile(path, ScanOpenOptions{}, data, ui).Ignore();  // no lines: fails below
      lines = data.Lines.Size();
    };
    testing::TempDir out;
    auto convert = [&] {
      bench::QuietFrontEnd quiet;
      TarveloDoc doc(quiet, quiet);
      doc.SetOutputFolder(out.Path().string());
      doc.Load(path, quiet.settings).Ignore();
    };
    double floor_ms = 1e30, read_ms = 1e30, convert_ms = 1e30;
    for (int round = 0; round < 3; ++round) {
      floor_ms = std::min(floor_ms, bench::BestMs(1, floor));
      read_ms = std::min(read_ms, bench::BestMs(1, read));
      convert_ms = std::min(convert_ms, bench::BestMs(1, convert));
    }
    std::printf("picture         %s (%d lines; floor decoded %zu rows)\n", path.c_str(), lines, floor_rows);
    std::printf("floor (decode)  %8.1f ms\n", floor_ms);
    std::printf("read to lines   %8.1f ms   %.2f x floor\n", read_ms, read_ms / floor_ms);
    std::printf("convert         %8.1f ms   %.2f x floor (target <= 1.5)\n", convert_ms, convert_ms / floor_ms);
    const Reading reading = ReadInChild(path);
    ok = lines > 0 && convert_ms / floor_ms <= 1.5;
    ok = ReportMemory("memory", reading, reading.DecodedBytes) && ok;
  }

  // A long RGB picture: 100,000 rows of 1824 pixels (547 MB decoded), holes in a few tracks.
  testing::TempDir dir;
  testing::PictureSheet sheet;
  sheet.Width = 1824;
  sheet.Rows = 100000;
  sheet.Colour = testing::PictureColour::kRgb;
  sheet.Row = [](int row) {
    std::vector<uint8_t> grey(1824, 120);
    for (int x = 0; x < 64; ++x) grey[static_cast<size_t>(x)] = grey[1823 - static_cast<size_t>(x)] = 250;
    for (int track = 0; track < 20; ++track)
      if ((row / 40 + track) % 3 == 0)
        for (int x = 100 + 80 * track; x < 110 + 80 * track; ++x) grey[static_cast<size_t>(x)] = 250;
    return grey;
  };
  const std::string long_path = dir.File("long.png");
  if (!testing::WritePng(long_path, sheet)) {
    std::printf("FAIL: the long picture could not be written\n");
    return 1;
  }
  ok = ReportMemory("long RGB", ReadInChild(long_path), static_cast<size_t>(sheet.Width) * sheet.Rows * 3) && ok;
  std::printf("%s\n", ok ? "PASS" : "FAIL");
  return ok ? 0 : 1;
}
