#pragma once
// The CIS file layout. All multi-byte values are little-endian.
//
//   offset size  field
//   0      40    header text: the roll title up to the first zero byte (bytes 0..31 are the
//                title area; 32..39 belong to it only when no zero byte ends it sooner)
//   34     1     scanner type byte: low nibble scanner type (2 = shaft encoder),
//                0x20 twin-array ("Dual"), 0x40 bi-colour (each line carries a second channel
//                of the same width)
//   35     1     encoder byte: low nibble encoder exponent, 0x10 image mirrored (scanned with
//                treble and bass reversed)
//   36     2     twin-array separation (signed)
//   38     2     horizontal DPI (signed; informational)
//   40     2     scan width in pixels of one sensor array (signed)
//   42     2     changeover pixel (signed)
//   44     2     tempo (signed)
//   46     2     lines per inch (signed)
//   48     4     scan line count (signed)
//   52 ...       one record per scan line: unsigned 16-bit run lengths of alternating
//                pixel runs until their sum reaches the scan width, then a 16-bit line word
//                (bit 0x0080 carries the shaft encoder signal).
//
// In files of the old format bytes 34..39 may hold title text and are not interpreted.

#include <cstddef>
#include <cstdint>

namespace tarvelo::cis {

inline constexpr size_t kHeaderSize = 52;
inline constexpr size_t kHeaderTextSize = 40;
inline constexpr size_t kTitleAreaSize = 32;

inline constexpr size_t kScannerTypeOffset = 34;
inline constexpr size_t kEncoderOffset = 35;
inline constexpr size_t kArraySeparationOffset = 36;
inline constexpr size_t kHorizontalDpiOffset = 38;
inline constexpr size_t kScanWidthOffset = 40;
inline constexpr size_t kChangeoverOffset = 42;
inline constexpr size_t kTempoOffset = 44;
inline constexpr size_t kLinesPerInchOffset = 46;
inline constexpr size_t kLineCountOffset = 48;

inline constexpr uint8_t kTypeMask = 0x0F;
inline constexpr uint8_t kTwinArrayBit = 0x20;
inline constexpr uint8_t kBiColourBit = 0x40;
inline constexpr uint8_t kEncoderExponentMask = 0x0F;
inline constexpr uint8_t kMirrorImageBit = 0x10;

inline constexpr uint16_t kEncoderSignalBit = 0x0080;

inline uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline int16_t ReadI16(const uint8_t* p) { return static_cast<int16_t>(ReadU16(p)); }
inline int32_t ReadI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

}  // namespace tarvelo::cis
