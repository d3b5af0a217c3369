#include "dialogs/DialogTestKit.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace tarvelo::testing {

Result CountingProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  ++writes;
  written_keys.emplace_back(key);
  if (fail_writes) return Result::IoError("cannot write the test profile: disk full");
  return IniProfile::WriteProfileInt(section, key, value);
}

Result CountingProfile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
  ++writes;
  written_keys.emplace_back(key);
  if (fail_writes) return Result::IoError("cannot write the test profile: disk full");
  return IniProfile::WriteProfileString(section, key, value);
}

QPushButton* AcceptButton(QDialog& dialog) {
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  return buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
}

QPushButton* CancelButton(QDialog& dialog) {
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  return buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
}

QString ClickAnsweringMessage(QPushButton* button) {
  QString text;
  // The message box runs its own event loop; this timer answers it from inside that loop.
  QTimer answer;
  answer.setInterval(10);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      text += box->text();
      box->accept();
    }
  });
  answer.start();
  QTest::mouseClick(button, Qt::LeftButton);
  answer.stop();
  return text;
}

void ShowDialog(QDialog& dialog) {
  dialog.show();
  dialog.activateWindow();
  (void)QTest::qWaitForWindowExposed(&dialog);
}

void ClickBox(QAbstractButton* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

void TypeInto(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->clear();
  QTest::keyClicks(field, text);
}

bool NamesFieldAndRange(const QString& message, const QString& label, const QString& limits) {
  if (!message.startsWith(label)) return false;
  for (const QString& limit : limits.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    if (!message.contains(limit)) return false;
  return true;
}

bool HasFocusAndSelection(QDialog& dialog, QLineEdit* field) {
  QWidget* focus = dialog.focusWidget();
  return focus && (focus == field || focus->isAncestorOf(field)) && field->selectedText() == field->text() &&
         !field->text().isEmpty();
}

}  // namespace tarvelo::testing
