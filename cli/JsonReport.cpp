#include "cli/JsonReport.h"

#include <cstdio>

#include <nlohmann/json.hpp>

namespace tarvelo::cli {

void JsonReport::AddFile(const FileOutcome& outcome) {
  using nlohmann::json;
  const ConversionSummary& summary = outcome.Counts;
  json file = {{"input", outcome.Input}, {"status", FileStatusName(outcome.Status)}};
  if (!outcome.LoadError.empty()) file["error"] = outcome.LoadError;
  json outputs = json::array();
  for (const OutputReport& output : outcome.Outputs) {
    const OutputFileRecord& record = output.Record;
    json entry = {{"kind", record.Kind}, {"path", record.Path}, {"written", record.Outcome.ok()}};
    if (!record.Outcome.ok()) entry["error"] = record.Outcome.message();
    if (output.Notes >= 0) entry["notes"] = output.Notes;
    if (output.Minutes >= 0) entry["minutes"] = output.Minutes;
    outputs.push_back(std::move(entry));
  }
  file["outputs"] = std::move(outputs);
  file["keywords"] = outcome.Keywords;
  json reported = json::array();
  for (const ReportedMessage& message : outcome.Messages)
    reported.push_back({{"kind", MessageKindName(message.Kind)}, {"text", message.Text}});
  file["messages"] = std::move(reported);
  file["counts"] = {{"lines", summary.Lines},
                    {"holes", summary.Holes},
                    {"holes_kept", summary.HolesKept},
                    {"glitches_merged", summary.GlitchesMerged},
                    {"specks_removed", summary.SpecksRemoved},
                    {"scanimage_events", summary.ScanImageEvents},
                    {"eroll_events", summary.ERollEvents}};
  if (summary.PlacementChecked) {
    const PlacementVerdict& verdict = summary.Placement;
    static constexpr const char* kFindings[] = {"right", "tracks off", "DPI misfit", "no holes", "unchecked"};
    json placement = {{"finding", kFindings[static_cast<int>(verdict.Finding)]},
                      {"tracks_off", verdict.TracksOff},
                      {"on_track_percent", 100 * verdict.InForceShare},
                      {"auto_tweaked", !summary.AutoTweak.empty()}};
    if (verdict.Confident) {
      placement["fitted"] = {{"dpi", verdict.Fitted.Dpi},
                             {"offset", verdict.Fitted.Offset},
                             {"stretch", verdict.Fitted.Stretch},
                             {"on_track_percent", 100 * verdict.FittedShare}};
    }
    file["placement"] = std::move(placement);
  }
  file["seconds"] = outcome.Seconds;
  // Texts from a scan may hold any bytes; invalid UTF-8 is replaced rather than refused.
  files_.push_back(file.dump(-1, ' ', false, json::error_handler_t::replace));
}

void JsonReport::Print(const BatchSummary& summary, int exit_status, int stop_signal, double seconds) const {
  using nlohmann::json;
  const bool success = summary.Count(FileStatus::kFailed) == 0 && stop_signal == 0;
  std::string text = "{\"success\":" + std::string(success ? "true" : "false") + ",\"files\":[";
  for (size_t i = 0; i < files_.size(); ++i) text += (i ? "," : "") + files_[i];
  json totals = {{"files", summary.Files()},
                 {"converted", summary.Count(FileStatus::kConverted)},
                 {"converted_with_warnings", summary.Count(FileStatus::kConvertedWithWarnings)},
                 {"failed", summary.Count(FileStatus::kFailed)},
                 {"skipped", summary.Count(FileStatus::kSkipped)},
                 {"stopped", summary.Count(FileStatus::kStopped)}};
  text += "],\"summary\":" + totals.dump() + ",\"exit_status\":" + std::to_string(exit_status);
  if (stop_signal != 0) text += ",\"stopped_by\":" + json(SignalName(stop_signal)).dump();
  text += ",\"seconds\":" + json(seconds).dump() + "}\n";
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace tarvelo::cli
