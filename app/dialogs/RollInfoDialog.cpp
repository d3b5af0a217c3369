#include "app/dialogs/RollInfoDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <string_view>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

namespace {

// The label of an entry: its keyword as embedded ("/composer:"; the misc info, embedded as its
// text alone, is "/misc_info:" as in ANN files), with "(*)" for a template entry.
QString EntryLabel(const RollInfo::Field& field) {
  QString label = QStringLiteral("/%1:").arg(QString::fromLatin1(field.name));
  if (field.template_key) label += QStringLiteral(" (*)");
  return label;
}

// The explanations the dialog gives beside some entries.
QString EntryHint(std::string_view name) {
  if (name == "roll_type") return QObject::tr("Processing type - should match XML template type used");
  if (name == "roll_class") return QObject::tr("A/B for Ampico, Licensee for Welte, etc.");
  if (name == "roll_manufacturer") return QObject::tr("The Roll Manufacturer Name");
  return QString();
}

}  // namespace

RollInfoDialog::RollInfoDialog(RollInfo& info, ProfileStore& store, QWidget* parent)
    : CheckedDialog(tr("Embed Keyword Data Text Items Into MIDI file"), parent), info_(info), store_(store) {
  // Two columns of entries; an explanation stands under the entry it explains.
  QFormLayout* columns[2] = {new QFormLayout, new QFormLayout};
  const auto fields = RollInfo::Fields();
  const size_t first_column_rows = (fields.size() + 1) / 2;
  for (size_t index = 0; index < fields.size(); ++index) {
    const RollInfo::Field& field = fields[index];
    QFormLayout* column = columns[index < first_column_rows ? 0 : 1];
    auto* entry = NamedLineEdit(field.name, ToQString(info_.*field.entry));
    entry->setMinimumWidth(entry->fontMetrics().averageCharWidth() * 32);
    entry->setToolTip(tr("At most %1 characters").arg(field.max_characters));
    column->addRow(EntryLabel(field), entry);
    if (const QString hint = EntryHint(field.name); !hint.isEmpty()) column->addRow(QString(), NoteLabel(hint));
    entries_.push_back(entry);
    AddCheckedField(field.name, entry);
  }
  auto* entries = new QHBoxLayout;
  entries->addLayout(columns[0]);
  entries->addSpacing(12);
  entries->addLayout(columns[1]);
  save_template_ =
      NamedCheckBox(tr("Save (*) Entry Values As New Default Template"), "SaveAsTemplate", info_.SaveAsTemplate);

  auto* body = new QVBoxLayout;
  auto* headline = new QLabel(tr("ROLL INFORMATION ENTERED BELOW WILL BE EMBEDDED INTO THE MIDI FILE"));
  QFont bold = headline->font();
  bold.setBold(true);
  headline->setFont(bold);
  body->addWidget(headline);
  body->addWidget(new QLabel(tr("Unknown or Irrelevant Entries Should Be Left Blank")));
  body->addLayout(entries);
  body->addWidget(save_template_);
  SetBody(body);
}

Result RollInfoDialog::KeepEdits() {
  RollInfo entered = info_;
  const auto fields = RollInfo::Fields();
  for (size_t index = 0; index < fields.size(); ++index) entered.*fields[index].entry = ToUtf8(entries_[index]->text());
  entered.SaveAsTemplate = save_template_->isChecked();
  if (Result checked = entered.Validate(); !checked.ok()) return checked;

  info_ = std::move(entered);
  DialogOutcome& outcome = MutableOutcome();
  outcome.ReprocessPending = true;
  outcome.Repaint = true;
  if (info_.SaveAsTemplate) {
    if (const Result saved = info_.SaveTemplate(store_); !saved.ok()) ReportSaveFailure(saved);
  }
  return Result::Ok();
}

}  // namespace tarvelo::app
