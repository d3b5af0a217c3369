#include "cli/Catalog.h"

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "cis/RollInfo.h"
#include "cli/RollMeasures.h"
#include "support/NumberFormat.h"
#include "support/TextTrim.h"

namespace tarvelo::cli {

namespace {

// The roll information entries a row holds, by name: all but the roll type, which is the
// roll type used.
std::vector<std::string> RollInformationColumns() {
  std::vector<std::string> names;
  for (const RollInfo::Field& field : RollInfo::Fields())
    if (field.entry != &RollInfo::RollType) names.emplace_back(field.name);
  return names;
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos && text == TrimWhiteSpace(text)) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// `value` with at most `decimals` decimals, without trailing zeros ("300", "27.51").
std::string Decimal(double value, int decimals) {
  std::string text = FormatFixed(value, decimals);
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

bool CatalogFormatOf(const std::string& path, CatalogFormat& format) {
  const std::string lower = ToLowerAscii(path);
  const auto ends_with = [&lower](const std::string& tail) {
    return lower.size() > tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (ends_with(".csv")) {
    format = CatalogFormat::kCsv;
    return true;
  }
  if (ends_with(".jsonl")) {
    format = CatalogFormat::kJsonLines;
    return true;
  }
  return false;
}

std::vector<std::string> Catalog::Columns() {
  std::vector<std::string> columns = {"path", "size_bytes", "sha256", "duplicate_of"};
  for (const std::string& name : RollInformationColumns()) columns.push_back(name);
  for (const char* name : {"scanner_type", "dpi", "length_feet", "playing_minutes", "roll_type_used",
                           "roll_type_recognised", "recognition_score", "alignment", "holes_on_track_percent",
                           "placement", "status", "warnings", "errors", "message", "outputs"})
    columns.emplace_back(name);
  return columns;
}

void Catalog::Add(const FileOutcome& outcome) {
  const RollFacts& facts = outcome.Facts;
  std::vector<Cell> row;
  const auto add = [&row](std::string value, bool is_number) {
    Cell cell;
    cell.Text = std::move(value);
    cell.Number = is_number;
    row.push_back(std::move(cell));
  };
  const auto text = [&add](std::string value) { add(std::move(value), false); };
  const auto number = [&add](bool known, std::string value) { add(known ? std::move(value) : std::string(), true); };
  text(outcome.Input);
  number(!facts.Sha256.empty(), std::to_string(outcome.Bytes));
  text(facts.Sha256);
  std::string duplicate_of;
  if (!facts.Sha256.empty()) {
    const auto [first, inserted] = first_with_.emplace(facts.Sha256, outcome.Input);
    if (!inserted) duplicate_of = first->second;
  }
  text(duplicate_of);
  for (const std::string& name : RollInformationColumns()) {
    std::string value;
    for (const auto& [entry, entry_value] : facts.RollInformation)
      if (entry == name) value = TrimWhiteSpace(entry_value);
    text(value);
  }
  text(facts.ScannerType >= 0 ? std::to_string(facts.ScannerType) + " (" + ScannerTypeName(facts.ScannerType) + ")"
                              : "");
  number(facts.Dpi > 0, Decimal(facts.Dpi, 4));
  number(facts.Feet >= 0, FormatFixed(facts.Feet, 2));
  number(facts.Minutes >= 0, FormatFixed(facts.Minutes, 2));
  text(facts.RollTypeUsed);
  text(facts.RollTypeRecognised);
  number(facts.RecognitionScore >= 0, FormatFixed(facts.RecognitionScore, 3));
  text(facts.Alignment);
  const double on_track = HolesOnTrackPercent(facts);
  number(on_track >= 0, FormatFixed(on_track, 2));
  text(PlacementColumn(facts));
  text(FileStatusName(outcome.Status));
  int warnings = 0, errors = 0;
  for (const ReportedMessage& message : outcome.Messages) {
    if (message.Kind == MessageKind::kWarning) ++warnings;
    if (message.Kind == MessageKind::kError) ++errors;
  }
  number(true, std::to_string(warnings));
  number(true, std::to_string(errors));
  text(outcome.Status == FileStatus::kConverted ? "" : outcome.Deciding);
  Cell outputs;
  outputs.List = true;
  for (const OutputReport& output : outcome.Outputs)
    if (output.Record.Outcome.ok()) outputs.Items.push_back(output.Record.Path);
  row.push_back(std::move(outputs));
  rows_.push_back(std::move(row));
}

std::string Catalog::Text(CatalogFormat format) const {
  const std::vector<std::string> columns = Columns();
  std::string text;
  if (format == CatalogFormat::kCsv) {
    for (size_t i = 0; i < columns.size(); ++i) text += (i ? "," : "") + columns[i];
    text += "\r\n";
    for (const std::vector<Cell>& row : rows_) {
      for (size_t i = 0; i < row.size(); ++i) {
        std::string value = row[i].Text;
        if (row[i].List) {
          value.clear();
          for (const std::string& item : row[i].Items) value += (value.empty() ? "" : "; ") + item;
        }
        text += (i ? "," : "") + CsvField(value);
      }
      text += "\r\n";
    }
    return text;
  }
  for (const std::vector<Cell>& row : rows_) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (size_t i = 0; i < row.size(); ++i) {
      const Cell& cell = row[i];
      if (cell.List) {
        object[columns[i]] = cell.Items;
      } else if (cell.Text.empty()) {
        object[columns[i]] = nullptr;
      } else if (cell.Number) {
        // The texts are decimals this catalogue formatted: whole numbers stay whole.
        if (cell.Text.find('.') == std::string::npos) {
          object[columns[i]] = std::strtoll(cell.Text.c_str(), nullptr, 10);
        } else {
          object[columns[i]] = std::strtod(cell.Text.c_str(), nullptr);
        }
      } else {
        object[columns[i]] = cell.Text;
      }
    }
    // Texts from a scan may hold any bytes; invalid UTF-8 is replaced rather than refused.
    text += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  }
  return text;
}

}  // namespace tarvelo::cli
