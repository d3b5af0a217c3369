#pragma once
// The common frame of the settings dialogs: a body above a button box (OK or "Apply", and
// Cancel, in the platform's order with its default button), and the check made when the
// dialog is accepted. Each dialog keeps its edits in KeepEdits(); a refusal there keeps the
// dialog open, shows the check's message and puts the focus and the selection on the field it
// names. Cancel closes without calling KeepEdits, so nothing is changed or written.

#include <QDialog>
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "app/dialogs/DialogOutcome.h"
#include "settings/ProfileStore.h"
#include "support/Result.h"

class QDialogButtonBox;
class QLayout;
class QWidget;

namespace tarvelo::app {

class CheckedDialog : public QDialog {
  Q_OBJECT

 public:
  // What the dialog changed when it was accepted (all false otherwise).
  const DialogOutcome& Outcome() const { return outcome_; }

 protected:
  CheckedDialog(const QString& caption, QWidget* parent);

  // Puts `body` above the buttons; `accept_text` renames the OK button ("Apply").
  void SetBody(QLayout* body, const QString& accept_text = QString());
  // The field whose check is named `label` in a refusal's message ("label: ..."), for checks
  // that name no setting (the CIS header data, the roll information).
  void AddCheckedField(std::string label, QWidget* field);
  // The field that edits the setting `key`: a refusal that carries the key (Result::key())
  // puts the focus there. Without a key, the field's name is the key (DialogWidgets.h).
  void AddSettingField(std::string key, QWidget* field);
  void AddSettingField(QWidget* field);

  // Checks the fields and, when they pass, keeps and stores the edits and fills the outcome.
  // A refusal (kInvalid, the check's message) keeps the dialog open with nothing changed.
  virtual Result KeepEdits() = 0;

  // Tells the user that the profile could not store the values (they stay in force for this
  // session).
  void ReportSaveFailure(const Result& saved);

  DialogOutcome& MutableOutcome() { return outcome_; }

  // What OK does with a settings group as entered: refused when its check fails; else saved to
  // `store`, made the `live` group and re-processing marked pending. A failed save is reported
  // and the entered values stay in force for this session all the same.
  template <typename Group>
  Result KeepCheckedGroup(Group entered, Group& live, ProfileStore& store) {
    if (Result checked = entered.Validate(); !checked.ok()) return checked;
    const Result saved = entered.Save(store);
    live = std::move(entered);
    outcome_.ReprocessPending = true;
    if (!saved.ok()) ReportSaveFailure(saved);
    return Result::Ok();
  }

 private:
  void OnAccept();
  void ShowRefusal(const Result& refusal);
  // The field a refusal is about: by the setting's key it carries, else by the label that
  // starts its message; nullptr when it names none of the dialog's fields.
  QWidget* RefusedField(const Result& refusal) const;

  QDialogButtonBox* buttons_ = nullptr;
  std::vector<std::pair<std::string, QWidget*>> checked_fields_;
  std::vector<std::pair<std::string, QWidget*>> setting_fields_;
  DialogOutcome outcome_;
};

}  // namespace tarvelo::app
