#include "app/dialogs/CheckedDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

CheckedDialog::CheckedDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
  setWindowTitle(caption);
  setModal(true);
}

void CheckedDialog::SetBody(QLayout* body, const QString& accept_text) {
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  if (!accept_text.isEmpty()) buttons_->button(QDialogButtonBox::Ok)->setText(accept_text);
  connect(buttons_, &QDialogButtonBox::accepted, this, &CheckedDialog::OnAccept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addWidget(buttons_);
}

void CheckedDialog::AddCheckedField(std::string label, QWidget* field) {
  checked_fields_.emplace_back(std::move(label), field);
}

void CheckedDialog::AddSettingField(std::string key, QWidget* field) {
  setting_fields_.emplace_back(std::move(key), field);
}

void CheckedDialog::AddSettingField(QWidget* field) { AddSettingField(field->objectName().toStdString(), field); }

void CheckedDialog::OnAccept() {
  const Result kept = KeepEdits();
  if (!kept.ok()) {
    ShowRefusal(kept);
    return;
  }
  accept();
}

QWidget* CheckedDialog::RefusedField(const Result& refusal) const {
  if (!refusal.key().empty()) {
    for (const auto& [key, widget] : setting_fields_)
      if (SameProfileName(key, refusal.key())) return widget;
  }
  const std::string& message = refusal.message();
  // The check names its field first ("Title: enter ..." or "Tempo must be ..."); the longest
  // label that starts the message is the field.
  QWidget* field = nullptr;
  size_t longest = 0;
  for (const auto& [label, widget] : checked_fields_) {
    if (label.size() >= longest && message.size() > label.size() && message.compare(0, label.size(), label) == 0 &&
        (message[label.size()] == ':' || message[label.size()] == ' ')) {
      field = widget;
      longest = label.size();
    }
  }
  return field;
}

void CheckedDialog::ShowRefusal(const Result& refusal) {
  const std::string& message = refusal.message();
  QWidget* field = RefusedField(refusal);
  QMessageBox::warning(this, windowTitle(), ToQString(message));
  if (!field) return;
  // A field the dialog shows but does not let the user edit (a hand-edited profile value) is
  // opened for editing, so that the refusal can be answered by correcting it.
  field->setEnabled(true);
  field->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(field)) {
    edit->setReadOnly(false);
    edit->selectAll();
  } else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) {
    combo->lineEdit()->selectAll();
  }
}

void CheckedDialog::ReportSaveFailure(const Result& saved) {
  QMessageBox::critical(
      this, windowTitle(),
      tr("The settings are in force for this session but could not be saved:\n%1").arg(ToQString(saved.message())));
}

}  // namespace tarvelo::app
