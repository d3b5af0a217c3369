// The roll information dialog driven through its controls: entries, their longest texts, the
// template marks, and the template written to the profile only when asked.

#include <QCheckBox>
#include <QLabel>
#include <QTest>

#include "app/dialogs/RollInfoDialog.h"
#include "dialogs/DialogTestKit.h"

using namespace tarvelo;
using tarvelo::app::RollInfoDialog;
using namespace tarvelo::testing;

namespace {

RollInfo FilledInfo(const ProfileStore& store) {
  RollInfo info(store);
  info.Title = "Kitten on the Keys";
  info.RollType = "88-Note";
  info.RollTempo = "80";
  return info;
}

QLineEdit* Entry(QDialog& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }

}  // namespace

class RollInfoDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsEveryEntryWithTheTemplateMarks() {
    CountingProfile profile;
    RollInfo info = FilledInfo(profile);
    RollInfoDialog dialog(info, profile);
    QCOMPARE(dialog.windowTitle(), QString("Embed Keyword Data Text Items Into MIDI file"));
    for (const RollInfo::Field& field : RollInfo::Fields()) {
      QLineEdit* entry = Entry(dialog, field.name);
      QVERIFY2(entry, field.name);
      QCOMPARE(entry->text().toStdString(), info.*field.entry);
    }
    QStringList marked;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
      if (label->text().endsWith("(*)")) marked << label->text();
    marked.sort();
    QCOMPARE(marked, QStringList({"/date_scanned: (*)", "/music_category: (*)", "/owner: (*)",
                                  "/printed_image_capture: (*)", "/scanned_by: (*)", "/scanning_system: (*)"}));
    QVERIFY(!dialog.findChild<QCheckBox*>("SaveAsTemplate")->isChecked());
  }

  void refusesAnEntryOverItsLongestText_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("length");
    QTest::newRow("roll type of 33") << "roll_type" << 33;
    QTest::newRow("printed image capture of 25") << "printed_image_capture" << 25;
    QTest::newRow("roll authenticity of 64") << "roll_authenticity" << 64;
    QTest::newRow("misc info of 129") << "misc_info" << 129;
  }
  void refusesAnEntryOverItsLongestText() {
    QFETCH(QString, field);
    QFETCH(int, length);
    CountingProfile profile;
    RollInfo info = FilledInfo(profile);
    const RollInfo before = info;
    RollInfoDialog dialog(info, profile);
    ShowDialog(dialog);
    QLineEdit* entry = Entry(dialog, field.toLatin1().constData());
    TypeInto(entry, QString(length, QLatin1Char('x')));
    ClickBox(dialog.findChild<QCheckBox*>("SaveAsTemplate"));
    const QString message = ClickAnsweringMessage(AcceptButton(dialog));
    QVERIFY2(NamesFieldAndRange(message, field, QString::number(length - 1)), qPrintable(message));
    QVERIFY(HasFocusAndSelection(dialog, entry));
    QCOMPARE(profile.writes, 0);
    QCOMPARE(info.EmbeddedTexts(), before.EmbeddedTexts());
    // One character less is accepted, counted in characters: the last one takes two bytes.
    entry->setText(QString(length - 2, QLatin1Char('x')) + QChar(0x00E9));
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }

  void theTemplateIsWrittenOnlyWhenAsked() {
    CountingProfile profile;
    RollInfo info = FilledInfo(profile);
    {
      RollInfoDialog dialog(info, profile);
      ShowDialog(dialog);
      TypeInto(Entry(dialog, "scanned_by"), "R. Archivist");
      TypeInto(Entry(dialog, "composer"), "Zez Confrey");
      QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
      QVERIFY(dialog.Outcome().ReprocessPending && dialog.Outcome().Repaint);
    }
    QCOMPARE(profile.writes, 0);
    QCOMPARE(info.ScannedBy, std::string("R. Archivist"));
    QCOMPARE(info.Composer, std::string("Zez Confrey"));
    QCOMPARE(RollInfo(profile).ScannedBy, std::string("Your Name Here"));

    RollInfoDialog dialog(info, profile);
    ShowDialog(dialog);
    TypeInto(Entry(dialog, "owner"), "The Roll Library");
    ClickBox(dialog.findChild<QCheckBox*>("SaveAsTemplate"));
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(profile.written_keys, (std::vector<std::string>{"ScannedBy", "MusicCategory", "DateScanned", "RollOwner",
                                                             "ScanningSystem", "PrintedImageCapture"}));
    const RollInfo next_start(profile);
    QCOMPARE(next_start.ScannedBy, std::string("R. Archivist"));
    QCOMPARE(next_start.Owner, std::string("The Roll Library"));
    QCOMPARE(next_start.Composer, std::string());  // not a template entry
  }

  void cancelKeepsTheEntries() {
    CountingProfile profile;
    RollInfo info = FilledInfo(profile);
    const RollInfo before = info;
    RollInfoDialog dialog(info, profile);
    ShowDialog(dialog);
    TypeInto(Entry(dialog, "title"), "Something Else");
    ClickBox(dialog.findChild<QCheckBox*>("SaveAsTemplate"));
    QTest::mouseClick(CancelButton(dialog), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(info.EmbeddedTexts(), before.EmbeddedTexts());
    QVERIFY(!info.SaveAsTemplate);
    QCOMPARE(profile.writes, 0);
    QVERIFY(!dialog.Outcome().ReprocessPending);
  }
};

QTEST_MAIN(RollInfoDialogTest)
#include "RollInfoDialog_test.moc"
