#pragma once
// The conversion document: one opened CIS file and everything computed from it. Loading
// checks the file name, reads the file and runs the pipeline once; RunPipeline is the one
// place that orders the conversion stages, and may be run again ("Re-Process") after a
// settings change: every run starts again from the lines as read.

#include <string>

#include "cis/CisReader.h"
#include "cis/CisScanData.h"
#include "cis/RollInfo.h"
#include "document/KeywordList.h"
#include "services/UiServices.h"

namespace tarvelo {

enum class LoadStatus {
  kLoaded,        // read and converted (possibly with damaged lines reported)
  kRefused,       // the header was refused (width or line count); the pipeline ran on no lines
  kWrongType,     // not a ".cis" file: nothing read
  kUnreadable,    // the file could not be read, or is shorter than a CIS header
};

class CTarveloDoc {
 public:
  explicit CTarveloDoc(UiServices& ui);

  // Opens `path`: name checks, reading, the pristine copy of the lines, and one pipeline run.
  LoadStatus Load(const std::string& path);
  // Runs every conversion stage in order on the current scan data.
  void RunPipeline();

  const CCisScanData& ScanData() const { return scan_; }
  CCisScanData& ScanData() { return scan_; }
  const CKeywordList& Keywords() const { return keywords_; }
  // The roll information embedded into the outputs; kept from file to file (its template
  // entries carry over), reset for each newly read file.
  const CRollInfo& RollInfo() const { return roll_info_; }
  CRollInfo& RollInfo() { return roll_info_; }

  const std::string& FileName() const { return file_name_; }
  const std::string& FolderName() const { return folder_name_; }
  const std::string& FilePath() const { return file_path_; }
  const std::string& FileExtension() const { return file_extension_; }
  const std::string& FileNameWithExtension() const { return file_name_with_extension_; }
  const std::string& LastErrorText() const { return last_error_text_; }
  const std::string& ScannerModeApplied() const { return scanner_mode_applied_; }

  // Name of the roll type in use.
  const std::string& RollTypeName() const { return roll_type_name_; }
  void SetRollTypeName(std::string name) { roll_type_name_ = std::move(name); }

  // Header edits of the "CIS File Embedded Data" display.
  void SetTitle(std::string title) { scan_.Title = std::move(title); }
  void SetTempo(int tempo) { scan_.Tempo = static_cast<int16_t>(tempo); }
  void SetLinesPerInch(int lpi);

 private:
  void RestoreLinesAndFlags();
  void RecordHeaderKeywords();

  UiServices& ui_;
  CKeywordList keywords_;
  std::string file_name_;
  std::string folder_name_;
  std::string file_path_;
  std::string file_extension_;
  std::string file_name_with_extension_;
  std::string last_error_text_;
  CCisScanData scan_;
  CRollInfo roll_info_;
  std::string roll_type_name_ = "Fail-Safe";
  std::string scanner_mode_applied_;
};

}  // namespace tarvelo
