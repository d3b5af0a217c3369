// The "CIS File Embedded Data" dialog driven through its controls: the header entries, the
// checks and conversions of the three editable ones, and a save of the corrected file.

#include <QTest>
#include <filesystem>

#include "app/dialogs/CisDataDialog.h"
#include "cis/CisFile.h"
#include "cis/CisWriter.h"
#include "dialogs/DialogTestKit.h"
#include "helpers/CisBytes.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"

using namespace tarvelo;
using tarvelo::app::CisDataDialog;
using namespace tarvelo::testing;

namespace {

// A small twin-array scan: three lines of a stated width of 50 (100 after doubling).
std::string DualScanBytes() {
  tarvelo::testing::CisTestHeader header;
  header.title = "Maple Leaf Rag";
  header.type_byte = 0x20;
  header.separation = 200;
  header.width = 50;
  header.changeover = 48;
  header.tempo = 80;
  header.lines_per_inch = 0;
  return MakeCisBytes(header, {{{10, 20, 70}, 0x0080}, {{0, 100}, 0}, {{50, 50}, 0x0080}});
}

struct OpenScan {
  explicit OpenScan(const std::string& path) {
    if (!OpenCisFile(path, false, scan, front).ok()) return;
    scan.KeepAsRead();  // as the document does right after reading
    summary = SummarizeHeader(scan.Header);
    opened = true;
  }
  tarvelo::testing::RecordingFrontEnd front;
  CisScanData scan;
  CisHeaderSummary summary;
  bool opened = false;
};

QLineEdit* Entry(QDialog& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }

}  // namespace

class CisDataDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheHeaderWithThreeEditableEntries() {
    tarvelo::testing::TempDir dir;
    tarvelo::testing::WriteBytes(dir.File("dual.cis"), DualScanBytes());
    OpenScan open(dir.File("dual.cis"));
    QVERIFY(open.opened);
    CisDataDialog dialog(open.summary, &open.scan);
    QCOMPARE(dialog.windowTitle(), QString("CIS File Embedded Data"));
    QCOMPARE(Entry(dialog, "Title")->text(), QString("Maple Leaf Rag"));
    QCOMPARE(Entry(dialog, "Tempo")->text(), QString("80"));
    QCOMPARE(Entry(dialog, "LinesPerInch")->text(), QString("0"));
    QCOMPARE(Entry(dialog, "SingleDualCIS")->text(), QString("Dual"));
    QCOMPARE(Entry(dialog, "ArraySeparation")->text(), QString("200"));
    QCOMPARE(Entry(dialog, "ChangeoverPixel")->text(), QString("48"));
    QCOMPARE(Entry(dialog, "ScanWidth")->text(), QString("100"));
    QCOMPARE(Entry(dialog, "LinesInFile")->text(), QString("3"));
    for (const char* editable : {"Title", "Tempo", "LinesPerInch"}) QVERIFY(!Entry(dialog, editable)->isReadOnly());
    for (const char* shown : {"ScannerType", "EncoderExponent", "SingleDualCIS", "ArraySeparation", "ChangeoverPixel",
                              "NormalReverse", "MonoBicolor", "HorizDPI", "ScanWidth", "LinesInFile"})
      QVERIFY2(Entry(dialog, shown) && Entry(dialog, shown)->isReadOnly(), shown);
  }

  void refusesOutOfRangeEntries_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("range");
    const auto row = [](const char* name, const char* field, const QString& text, const char* named,
                        const char* range) { QTest::newRow(name) << field << text << named << range; };
    row("tempo 10001", "Tempo", "10001", "Tempo", "0 10000");
    row("tempo -1", "Tempo", "-1", "Tempo", "0 10000");
    row("tempo words", "Tempo", "fast", "Tempo", "0 10000");
    row("lines per inch -1", "LinesPerInch", "-1", "Lines Per Inch", "0 32767");
    row("lines per inch 32768", "LinesPerInch", "32768", "Lines Per Inch", "0 32767");
    row("lines per inch 1.5", "LinesPerInch", "1.5", "Lines Per Inch", "0 32767");
    row("title of 51", "Title", QString(51, QLatin1Char('t')), "Title", "50");
  }
  void refusesOutOfRangeEntries() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    QFETCH(QString, range);
    tarvelo::testing::TempDir dir;
    tarvelo::testing::WriteBytes(dir.File("dual.cis"), DualScanBytes());
    OpenScan open(dir.File("dual.cis"));
    CisDataDialog dialog(open.summary, &open.scan);
    ShowDialog(dialog);
    QLineEdit* edit = Entry(dialog, field.toLatin1().constData());
    TypeInto(edit, text);
    const QString message = ClickAnsweringMessage(AcceptButton(dialog));
    QVERIFY2(NamesFieldAndRange(message, named, range), qPrintable(message));
    QVERIFY(dialog.isVisible());
    QVERIFY(HasFocusAndSelection(dialog, edit));
    QCOMPARE(open.scan.Header.Title, std::string("Maple Leaf Rag"));
    QCOMPARE(open.scan.Header.Tempo, int16_t{80});
    QCOMPARE(open.scan.Header.RawLinesPerInch, int16_t{0});
  }

  void okConvertsTempoAndLinesPerInchAndCancelChangesNothing() {
    tarvelo::testing::TempDir dir;
    tarvelo::testing::WriteBytes(dir.File("dual.cis"), DualScanBytes());
    OpenScan open(dir.File("dual.cis"));
    {
      CisDataDialog dialog(open.summary, &open.scan);
      ShowDialog(dialog);
      TypeInto(Entry(dialog, "Tempo"), "95");
      QTest::mouseClick(CancelButton(dialog), Qt::LeftButton);
      QCOMPARE(open.scan.Header.Tempo, int16_t{80});
      QVERIFY(!dialog.Outcome().ReprocessPending);
    }
    CisDataDialog dialog(open.summary, &open.scan);
    ShowDialog(dialog);
    TypeInto(Entry(dialog, "Tempo"), "72.9");
    TypeInto(Entry(dialog, "LinesPerInch"), "0");
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(open.scan.Header.Tempo, int16_t{72});
    QCOMPARE(open.scan.Header.LinesPerInch, int16_t{100});
    QCOMPARE(open.scan.Header.RawLinesPerInch, int16_t{100});
    QVERIFY(dialog.Outcome().ReprocessPending);
    QVERIFY(!dialog.Outcome().TitleChanged);
    // The next opening shows what the document now holds.
    CisDataDialog again(open.summary, &open.scan);
    QCOMPARE(Entry(again, "Tempo")->text(), QString("72"));
    QCOMPARE(Entry(again, "LinesPerInch")->text(), QString("100"));
  }

  void aSaveReadsBackIdenticalButForTheEditedEntries_data() {
    QTest::addColumn<QString>("source");
    QTest::newRow("hand-made twin array scan") << QString();
    QTest::newRow("sample roll") << QString(TARVELO_SOURCE_DIR "/data/sample/SampleRoll.cis");
  }
  void aSaveReadsBackIdenticalButForTheEditedEntries() {
    QFETCH(QString, source);
    tarvelo::testing::TempDir dir;
    const std::string input = dir.File("roll.cis");
    const std::string bytes = source.isEmpty() ? DualScanBytes() : tarvelo::testing::ReadBytes(source.toStdString());
    QVERIFY(bytes.size() > 52);
    tarvelo::testing::WriteBytes(input, bytes);
    OpenScan open(input);
    QVERIFY(open.opened);

    CisDataDialog dialog(open.summary, &open.scan);
    ShowDialog(dialog);
    TypeInto(Entry(dialog, "Title"), "Edited Title");
    TypeInto(Entry(dialog, "Tempo"), "72.9");
    TypeInto(Entry(dialog, "LinesPerInch"), "0");
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QVERIFY(dialog.Outcome().TitleChanged);

    const std::string output = dir.File("saved.cis");
    QVERIFY(WriteCisFile(open.scan, output).ok());
    const std::string saved = tarvelo::testing::ReadBytes(output);
    QCOMPARE(saved.size(), bytes.size());
    QCOMPARE(saved.substr(0, 32), std::string("Edited Title") + std::string(20, ' '));
    QCOMPARE(saved.substr(32, 12), bytes.substr(32, 12));               // bytes 32..39, width, changeover
    QCOMPARE(saved.substr(44, 4), std::string("\x48\x00\x64\x00", 4));  // tempo 72, lines per inch 100
    QVERIFY(saved.compare(48, std::string::npos, bytes, 48, std::string::npos) == 0);

    OpenScan reread(output);
    QVERIFY(reread.opened);
    QCOMPARE(reread.scan.Header.Title, std::string("Edited Title"));
    QCOMPARE(reread.scan.Header.Tempo, int16_t{72});
    QCOMPARE(reread.scan.Header.LinesPerInch, int16_t{100});
    QCOMPARE(reread.scan.LinesAsRead.Size(), open.scan.LinesAsRead.Size());
  }

  void withoutAFileEverythingIsReadOnly() {
    CisDataDialog dialog(CisHeaderSummary{}, nullptr);
    ShowDialog(dialog);
    QVERIFY(Entry(dialog, "Tempo")->isReadOnly());
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.Outcome().ReprocessPending);
  }
};

QTEST_MAIN(CisDataDialogTest)
#include "CisDataDialog_test.moc"
