#include "helpers/CisBytes.h"

#include <algorithm>

#include "SyntheticRoll.h"

namespace tarvelo::testing {

std::string MakeCisBytes(const CisTestHeader& header, const std::vector<CisTestLine>& lines) {
  synth::CisHeaderFields fields;
  fields.title = header.title;
  fields.type_byte = header.type_byte;
  fields.encoder_byte = header.encoder_byte;
  fields.separation = header.separation;
  fields.dpi = header.dpi;
  fields.width = header.width;
  fields.changeover = header.changeover;
  fields.tempo = header.tempo;
  fields.lines_per_inch = header.lines_per_inch;
  fields.line_count = header.line_count < 0 ? static_cast<int32_t>(lines.size()) : header.line_count;
  std::string bytes = synth::EncodeCisHeader(fields);
  // Files of the old format carry title text over the type fields: a title longer than 34
  // characters takes bytes 32..39 whole.
  if (header.title.size() > 32) {
    if (header.title.size() > 34) std::fill(bytes.begin() + 34, bytes.begin() + 40, '\0');
    const std::string tail = header.title.substr(32, std::min<size_t>(header.title.size(), 40) - 32);
    bytes.replace(32, tail.size(), tail);
  }
  for (const CisTestLine& line : lines)
    synth::AppendCisLine(bytes, std::vector<uint32_t>(line.runs.begin(), line.runs.end()), line.word);
  return bytes;
}

}  // namespace tarvelo::testing
