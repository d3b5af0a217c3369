#pragma once
// Small builders for the dialogs' controls. Every control a test or a caller needs to find is
// named after the setting it edits (its profile key).

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <string>

#include "app/dialogs/FieldText.h"
#include "settings/SettingsTable.h"

namespace tarvelo::app {

// A field at least wide enough for a number of ten digits.
inline QLineEdit* NamedLineEdit(const char* object_name, const QString& text) {
  auto* edit = new QLineEdit(text);
  edit->setObjectName(QString::fromLatin1(object_name));
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
  return edit;
}

// A number field of a settings section, named after its key, showing the value as the profile
// holds it, or `absent_text` (the value in force) when the profile holds none.
inline QLineEdit* ProfileNumberField(const ProfileStore& store, const char* section, const char* key,
                                     const std::string& absent_text) {
  return NamedLineEdit(key, ProfileText(store, section, key, absent_text));
}

// The same, showing the table's default when the profile holds none.
inline QLineEdit* ProfileNumberField(const ProfileStore& store, const char* section, const char* key) {
  const SettingRule* rule = FindSettingRule(section, key);
  return ProfileNumberField(store, section, key, rule ? DefaultValue(*rule) : std::string());
}

inline QCheckBox* NamedCheckBox(const QString& label, const char* object_name, bool checked) {
  auto* box = new QCheckBox(label);
  box->setObjectName(QString::fromLatin1(object_name));
  box->setChecked(checked);
  return box;
}

// The label of a setting's field as the settings table spells it ("" for a key it does not know).
inline QString SettingLabel(std::string_view section, std::string_view key) {
  const SettingRule* rule = FindSettingRule(section, key);
  return rule ? ToQString(rule->Label) : QString();
}
// The label of the setting `field` edits (the field is named after its key).
inline QString SettingLabel(std::string_view section, const QWidget* field) {
  return SettingLabel(section, field->objectName().toStdString());
}

// A check box for a switch of `section`, named after its key and labelled as the table labels it.
inline QCheckBox* SettingCheckBox(std::string_view section, const char* key, bool checked) {
  return NamedCheckBox(SettingLabel(section, key), key, checked);
}

// An explanatory text that wraps to the dialog's width.
inline QLabel* NoteLabel(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  return label;
}

// The busy cursor for as long as it lives (a measurement or a conversion run in the command).
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace tarvelo::app
