#include "helpers/PngReader.h"

#include <sstream>

#include "helpers/RunCommand.h"

namespace tarvelo::testing {

std::string PythonWithPil() {
  static const std::string found = [] {
    // The python3 on the path may be a private one without the system's packages.
    for (const char* candidate : {"python3", "/usr/bin/python3"})
      if (RunCommand(std::string(candidate) + " -c 'import PIL.Image'").status == 0) return std::string(candidate);
    return std::string();
  }();
  return found;
}

bool ReadPngWithPil(const std::string& path, RgbImage& image, std::string& error) {
  const std::string python = PythonWithPil();
  if (python.empty()) {
    error = "no python3 with PIL";
    return false;
  }
  // Prints the format, mode and size, then the raw pixels as a portable pixmap.
  const std::string script =
      "import sys\n"
      "from PIL import Image\n"
      "im = Image.open(sys.argv[1]); im.load()\n"
      "sys.stdout.buffer.write(b'%s %s %d %d\\n' % (im.format.encode(), im.mode.encode(), im.width, im.height))\n"
      "sys.stdout.buffer.write(im.tobytes())\n";
  const CommandResult result = RunCommand(python + " -c " + ShellQuote(script) + " " + ShellQuote(path));
  if (result.status != 0) {
    error = "PIL cannot read " + path + ": " + result.err;
    return false;
  }
  const size_t end_of_line = result.out.find('\n');
  std::istringstream header(result.out.substr(0, end_of_line));
  std::string format, mode;
  int width = 0, height = 0;
  header >> format >> mode >> width >> height;
  if (format != "PNG" || mode != "RGB") {
    error = path + " is " + format + " " + mode + ", not an RGB PNG";
    return false;
  }
  image = RgbImage(width, height, 0);
  if (result.out.size() - end_of_line - 1 != image.pixels.size()) {
    error = "PIL gave a wrong number of pixel bytes for " + path;
    return false;
  }
  std::copy(result.out.begin() + static_cast<std::ptrdiff_t>(end_of_line) + 1, result.out.end(), image.pixels.begin());
  return true;
}

}  // namespace tarvelo::testing
