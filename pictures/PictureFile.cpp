#include "pictures/PictureFile.h"

#include "pictures/PngFile.h"

namespace tarvelo {

Result WritePictureFile(const std::string& path, const Picture& picture, const LabelFont& font) {
  RgbImage image = picture.Image;
  for (const TextLabel& label : picture.Labels) font.Draw(label, image);
  return WritePngFile(path, image);
}

}  // namespace tarvelo
