#include "cis/CisWriter.h"

#include <cstdint>

#include "cis/CisFormat.h"
#include "support/AtomicFile.h"

namespace tarvelo {

namespace {

void Append16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void Append32(std::string& out, uint32_t value) {
  Append16(out, static_cast<uint16_t>(value & 0xFFFF));
  Append16(out, static_cast<uint16_t>(value >> 16));
}

// A line reads back as written only when every run fits 16 bits and the record ends at its
// last transition: the earlier ones lie below the width, the last one reaches it.
bool LineIsWritable(const ScanLineArray& lines, int index, int32_t width) {
  const auto transitions = lines.Transitions(index);
  if (transitions.empty()) return false;
  int64_t previous = 0;
  for (size_t i = 0; i < transitions.size(); ++i) {
    const int64_t run = static_cast<int64_t>(transitions[i]) - previous;
    if (run < 0 || run > UINT16_MAX) return false;
    const bool last = i + 1 == transitions.size();
    if (last ? transitions[i] < width : transitions[i] >= width) return false;
    previous = transitions[i];
  }
  return true;
}

}  // namespace

Result EncodeCisFile(CisScanData& data, std::string& bytes) {
  if (data.Header.ScanWidth < 1 || data.Header.HeaderLineCount < 1) {
    return Result::Invalid(
        "The file's header was refused when it was read, so its scan lines were not read; saving it "
        "would lose them.");
  }
  const ScanLineArray& lines = data.LinesAsRead;
  for (int i = 0; i < lines.Size(); ++i) {
    if (!LineIsWritable(lines, i, data.Header.ScanWidth)) {
      return Result::Invalid("Scan line " + std::to_string(i) + " cannot be stored in a CIS file of width " +
                             std::to_string(data.Header.ScanWidth) + ".");
    }
  }

  // The title area: the title's first 32 bytes, padded with blanks.
  data.Header.HeaderText.resize(cis::kHeaderTextSize, '\0');
  for (size_t i = 0; i < cis::kTitleAreaSize; ++i)
    data.Header.HeaderText[i] = i < data.Header.Title.size() ? data.Header.Title[i] : ' ';

  int32_t stated_width = data.Header.ScanWidth;
  if (data.Header.TwinArray) stated_width /= 2;
  if (data.Header.ReverseImage) stated_width /= 2;

  bytes.clear();
  bytes.reserve(cis::kHeaderSize + 2 * (lines.TotalTransitions() + static_cast<size_t>(lines.Size())));
  bytes += data.Header.HeaderText;
  Append16(bytes, static_cast<uint16_t>(stated_width));
  Append16(bytes, static_cast<uint16_t>(data.Header.ChangeoverPixel));
  Append16(bytes, static_cast<uint16_t>(data.Header.Tempo));
  Append16(bytes, static_cast<uint16_t>(data.Header.LinesPerInch));
  Append32(bytes, static_cast<uint32_t>(data.Header.HeaderLineCount));
  for (int i = 0; i < lines.Size(); ++i) {
    int32_t previous = 0;
    for (const int32_t t : lines.Transitions(i)) {
      Append16(bytes, static_cast<uint16_t>(t - previous));
      previous = t;
    }
    Append16(bytes, lines.LineWord(i));
  }
  return Result::Ok();
}

namespace {

// A name that ends like a picture's: saving a scan read from a picture under the name it was
// opened by would replace the picture with a CIS file.
bool HasPictureExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension == "png" || extension == "tif" || extension == "tiff" || extension == "jpg" || extension == "jpeg";
}

}  // namespace

Result WriteCisFile(CisScanData& data, const std::string& path) {
  if (HasPictureExtension(path)) {
    return Result::Invalid("The CIS file " + path +
                           " was not written: that name is a picture's; save the scan under a name ending in .cis.");
  }
  std::string bytes;
  if (Result encoded = EncodeCisFile(data, bytes); !encoded.ok()) {
    return Result::Invalid("The CIS file " + path + " was not written: " + encoded.message());
  }
  if (Result written = WriteFileAtomically(path, bytes); !written.ok()) {
    return Result::IoError("The CIS file " + path + " could not be written (" + written.message() + ").");
  }
  return Result::Ok();
}

}  // namespace tarvelo
