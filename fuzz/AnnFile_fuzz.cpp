// Feeds arbitrary bytes to the ANN file reader, both as text and through a file, and checks
// that the entries it fills are single trimmed lines and that both ways agree.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "cis/RollInfo.h"

namespace {

// ANN keywords and values are trimmed of blanks, the space character only.
bool IsBlank(char c) { return c == ' '; }

const std::string& AnnPath() {
  static const std::string path = [] {
    char folder[] = "/tmp/tarvelo-ann-fuzz-XXXXXX";
    if (!mkdtemp(folder)) std::abort();
    return std::string(folder) + "/roll.ann";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  tarvelo::RollInfo from_text;
  from_text.ReadAnnText(text);

  for (const auto& field : tarvelo::RollInfo::Fields()) {
    const std::string& entry = from_text.*field.entry;
    if (!field.in_ann_file && !entry.empty()) std::abort();
    if (entry.find('\r') != std::string::npos || entry.find('\n') != std::string::npos) std::abort();
    if (!entry.empty() && (IsBlank(entry.front()) || IsBlank(entry.back()))) std::abort();
  }

  FILE* file = std::fopen(AnnPath().c_str(), "wb");
  if (!file) return 0;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  tarvelo::RollInfo from_file;
  if (!from_file.ReadAnnFile(AnnPath())) std::abort();
  if (from_file.EmbeddedTexts() != from_text.EmbeddedTexts()) std::abort();
  return 0;
}
