#include "cli/JsonReport.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace tarvelo::cli {

namespace {

const char* StatusName(LoadStatus status) {
  switch (status) {
    case LoadStatus::kLoaded: return "converted";
    case LoadStatus::kRefused: return "refused";
    case LoadStatus::kWrongType: return "wrong type";
    case LoadStatus::kUnreadable: return "unreadable";
  }
  return "unknown";
}

}  // namespace

void JsonReport::AddFile(const std::string& path, LoadStatus status, const TarveloDoc& doc,
                         const std::vector<std::string>& messages, double seconds) {
  using nlohmann::json;
  const ConversionSummary& summary = doc.Summary();
  json file = {{"input", path}, {"status", StatusName(status)}};
  if (status == LoadStatus::kUnreadable) file["error"] = doc.LastErrorText();
  json outputs = json::array();
  for (const OutputFileRecord& output : summary.Outputs) {
    json record = {{"kind", output.Kind}, {"path", output.Path}, {"written", output.Written}};
    if (!output.Written) record["error"] = output.Error;
    outputs.push_back(std::move(record));
  }
  file["outputs"] = std::move(outputs);
  json keywords = json::array();
  for (int i = 0; i < doc.Keywords().Count(); ++i) keywords.push_back(doc.Keywords().ItemText(i));
  file["keywords"] = std::move(keywords);
  file["messages"] = messages;
  file["counts"] = {{"lines", summary.Lines},
                    {"holes", summary.Holes},
                    {"holes_kept", summary.HolesKept},
                    {"glitches_merged", summary.GlitchesMerged},
                    {"specks_removed", summary.SpecksRemoved},
                    {"scanimage_events", summary.ScanImageEvents},
                    {"eroll_events", summary.ERollEvents}};
  file["seconds"] = seconds;
  // Texts from a scan may hold any bytes; invalid UTF-8 is replaced rather than refused.
  files_.push_back(file.dump(-1, ' ', false, json::error_handler_t::replace));
}

void JsonReport::Print(bool success, double seconds) const {
  std::string text = "{\"success\":" + std::string(success ? "true" : "false") + ",\"files\":[";
  for (size_t i = 0; i < files_.size(); ++i) text += (i ? "," : "") + files_[i];
  text += "],\"seconds\":" + nlohmann::json(seconds).dump() + "}\n";
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace tarvelo::cli
