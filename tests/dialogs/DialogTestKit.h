#pragma once
// What the dialog tests share: a profile that counts its writes (and can be made to fail),
// finding a dialog's controls by name, and pressing a button while answering the message box
// the press may bring up.

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <string>
#include <vector>

#include "settings/IniProfile.h"

namespace tarvelo::testing {

// An in-memory profile that counts the values written to it; with `fail_writes` every write is
// refused as a disk would refuse it.
class CountingProfile : public IniProfile {
 public:
  Result WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  Result WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;

  // Forgets the writes a test made to set the profile up.
  void ForgetWrites() {
    writes = 0;
    written_keys.clear();
  }

  int writes = 0;
  std::vector<std::string> written_keys;  // in the order written
  bool fail_writes = false;
};

// The dialog's OK ("Apply") and Cancel buttons.
QPushButton* AcceptButton(QDialog& dialog);
QPushButton* CancelButton(QDialog& dialog);

// Clicks `button` with the mouse. When a message box comes up meanwhile, it is closed and its
// text returned (empty when none came up).
QString ClickAnsweringMessage(QPushButton* button);

// Shows `dialog` as the main window would (modal) and waits until it is on screen.
void ShowDialog(QDialog& dialog);

// Clicks a check box or radio button on its indicator (a click beside its text does nothing).
void ClickBox(QAbstractButton* box);

// Replaces the text of a line edit as typing would (select all, type).
void TypeInto(QLineEdit* field, const QString& text);

// Whether a refusal's message names the field first (`label`) and states the range or length
// wanted: every space-separated word of `limits` ("10 1000") appears in it.
bool NamesFieldAndRange(const QString& message, const QString& label, const QString& limits);

// Whether `field` (or the combo box it belongs to) holds the focus of its dialog with its whole text selected.
bool HasFocusAndSelection(QDialog& dialog, QLineEdit* field);

}  // namespace tarvelo::testing
