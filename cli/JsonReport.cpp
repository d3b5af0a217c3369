#include "cli/JsonReport.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace tarvelo::cli {

namespace {

const char* StatusName(const Result& loaded) {
  switch (loaded.kind()) {
    case Result::Kind::kOk:
      return "converted";
    case Result::Kind::kInvalid:
      return "wrong type";
    case Result::Kind::kCorrupt:
      return "refused";
    case Result::Kind::kNotFound:
    case Result::Kind::kIoError:
      return "unreadable";
    case Result::Kind::kCancelled:
      return "cancelled";
  }
  return "unknown";
}

}  // namespace

void JsonReport::AddFile(const std::string& path, const Result& loaded, const TarveloDoc& doc,
                         const std::vector<ReportedMessage>& messages, double seconds) {
  using nlohmann::json;
  const ConversionSummary& summary = doc.Summary();
  json file = {{"input", path}, {"status", StatusName(loaded)}};
  if (!loaded.ok()) file["error"] = loaded.message();
  json outputs = json::array();
  for (const OutputFileRecord& output : summary.Outputs) {
    json record = {{"kind", output.Kind}, {"path", output.Path}, {"written", output.Outcome.ok()}};
    if (!output.Outcome.ok()) record["error"] = output.Outcome.message();
    outputs.push_back(std::move(record));
  }
  file["outputs"] = std::move(outputs);
  json keywords = json::array();
  for (int i = 0; i < doc.Keywords().Count(); ++i) keywords.push_back(doc.Keywords().ItemText(i));
  file["keywords"] = std::move(keywords);
  json reported = json::array();
  for (const ReportedMessage& message : messages)
    reported.push_back({{"kind", MessageKindName(message.Kind)}, {"text", message.Text}});
  file["messages"] = std::move(reported);
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
