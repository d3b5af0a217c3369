#pragma once
// "CIS File Embedded Data": the header of the open CIS file. Title, tempo and lines per inch
// can be corrected; the other entries are shown read-only. OK checks the three and puts them
// into the scan data (the tempo without its fraction; lines per inch below 1 as 100), where the
// next conversion and the next save of the file use them. Without an open file every entry
// is read-only.

#include "app/dialogs/CheckedDialog.h"
#include "cis/CisScanData.h"
#include "cis/HeaderSummary.h"

class QLineEdit;

namespace tarvelo::app {

class CisDataDialog : public CheckedDialog {
  Q_OBJECT

 public:
  // `summary` is what the reader handed over for the open file; `scan` (may be null) is the
  // document's scan data the three editable entries are taken from and put into.
  CisDataDialog(const CisHeaderSummary& summary, CisScanData* scan, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  CisScanData* scan_;
  QLineEdit* title_ = nullptr;
  QLineEdit* tempo_ = nullptr;
  QLineEdit* lines_per_inch_ = nullptr;
};

}  // namespace tarvelo::app
