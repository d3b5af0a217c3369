#include "app/dialogs/CisDataDialog.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"
#include "cis/CisHeaderEdit.h"

namespace tarvelo::app {

CisDataDialog::CisDataDialog(const CisHeaderSummary& summary, CisScanData* scan, QWidget* parent)
    : CheckedDialog(tr("CIS File Embedded Data"), parent), scan_(scan) {
  auto* form = new QFormLayout;
  for (const auto& [label, value] : HeaderSummaryEntries(summary)) {
    // Object names are the entry names without blanks or slashes ("LinesPerInch").
    QString name = ToQString(label);
    name.remove(QLatin1Char(' ')).remove(QLatin1Char('/'));
    auto* field = NamedLineEdit(name.toLatin1().constData(), ToQString(value));
    field->setReadOnly(true);
    field->setFrame(false);  // shown, not offered for editing
    form->addRow(ToQString(label), field);
    if (label == "Title") title_ = field;
    if (label == "Tempo") tempo_ = field;
    if (label == "Lines Per Inch") lines_per_inch_ = field;
  }
  if (scan_) {
    // The document's values: what the last OK put there, or the header as read.
    title_->setText(ToQString(scan_->Header.Title));
    tempo_->setText(QString::number(scan_->Header.Tempo));
    lines_per_inch_->setText(QString::number(scan_->Header.RawLinesPerInch));
    for (QLineEdit* editable : {title_, tempo_, lines_per_inch_}) {
      editable->setReadOnly(false);
      editable->setFrame(true);
    }
    title_->setMinimumWidth(title_->fontMetrics().averageCharWidth() * 40);
  }

  auto* body = new QVBoxLayout;
  body->addLayout(form);
  body->addWidget(
      NoteLabel(tr("Changes made here will override the embedded CIS file data for the current processing session.")));
  body->addWidget(
      NoteLabel(tr("To permanently save the changed information back to the CIS file, you must also save "
                   "the file using the SAVE option from the main FILE menu.")));
  SetBody(body);

  AddCheckedField("Title", title_);
  AddCheckedField("Tempo", tempo_);
  AddCheckedField("Lines Per Inch", lines_per_inch_);
}

Result CisDataDialog::KeepEdits() {
  if (!scan_) return Result::Ok();
  CisHeaderEdit edit;
  edit.Title = ToUtf8(title_->text());
  edit.Tempo = FieldReal(tempo_->text());
  edit.LinesPerInch = FieldInt(lines_per_inch_->text());
  if (Result checked = CheckCisHeaderEdit(edit); !checked.ok()) return checked;

  const std::string title_before = scan_->Header.Title;
  const int16_t tempo_before = scan_->Header.Tempo;
  const int16_t lines_before = scan_->Header.LinesPerInch;
  const int16_t raw_lines_before = scan_->Header.RawLinesPerInch;
  ApplyCisHeaderEdit(edit, scan_->Header);
  DialogOutcome& outcome = MutableOutcome();
  outcome.TitleChanged = scan_->Header.Title != title_before;
  // The next conversion reads tempo and lines per inch: offer "Re-Process" when they changed.
  outcome.ReprocessPending = outcome.TitleChanged || scan_->Header.Tempo != tempo_before ||
                             scan_->Header.LinesPerInch != lines_before ||
                             scan_->Header.RawLinesPerInch != raw_lines_before;
  return Result::Ok();
}

}  // namespace tarvelo::app
