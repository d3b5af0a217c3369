#pragma once
// Pixels of a decoded row turned into brightness, 0 black .. 255 white.

#include <cstdint>
#include <cstring>

namespace tarvelo {

// `channels` 1 (grey), 2 (grey and alpha: the alpha is left out), 3 (RGB) or 4 (RGB and alpha)
// 8-bit samples per pixel; RGB by the Rec. 601 weights, in integers.
inline void ToBrightness(const uint8_t* pixels, int channels, int32_t width, uint8_t* grey) {
  if (channels == 1) {
    std::memcpy(grey, pixels, static_cast<size_t>(width));
    return;
  }
  if (channels == 2) {
    for (int32_t x = 0; x < width; ++x) grey[x] = pixels[x * channels];
    return;
  }
  for (int32_t x = 0; x < width; ++x) {
    const uint8_t* p = pixels + x * channels;
    grey[x] = static_cast<uint8_t>((299u * p[0] + 587u * p[1] + 114u * p[2] + 500u) / 1000u);
  }
}

}  // namespace tarvelo
