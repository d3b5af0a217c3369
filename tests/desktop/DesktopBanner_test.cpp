// The banner above the roll view: a roll whose holes the settings misplace, and a roll whose
// holes show another roll type than the one in use (a Welte roll opened after a Duo-Art roll),
// each with the numbers and the button that mends it; gone once the next conversion is right.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "DesktopTestSupport.h"
#include "app/RollNoticeBanner.h"
#include "helpers/AlignmentRolls.h"
#include "settings/IniProfile.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

// A 40-inch roll of `system` scanned at `dpi` with the paper at offset 1 and stretch 1.
QString WriteSystemRoll(const testing::TempDir& dir, const char* name, synth::RollSystem system, int dpi = 300) {
  synth::SyntheticRollSpec plan = testing::SystemRoll(system, 1.0, 1.0, dpi);
  plan.length_inch = 40;
  plan.holes = synth::SystemRollHoles(system, 40, 5);
  testing::WriteBytes(dir.File(name), synth::RenderSyntheticCis(plan));
  return QString::fromStdString(dir.File(name));
}

std::string ProfileWithRollType(const testing::TempDir& dir, const char* roll_type) {
  const std::string path = dir.File("Tarvelo.ini");
  IniProfile profile(path);
  if (!profile.WriteProfileString("Roll Settings", "ActiveRollTypeName", roll_type).ok()) return "";
  return path;
}

}  // namespace

class DesktopBannerTest : public QObject {
  Q_OBJECT

 private slots:
  void AMisplacedRollIsShownAndAlignedFromTheBanner() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    const std::string profile = ProfileWithRollType(dir, "Duo-Art");
    QVERIFY(testing::KeepPresetPlacement(profile));  // converted with the preset's values
    MainWindow window(testing::TestWindowOptions(presenter, profile));
    window.show();
    RollNoticeBanner& banner = *window.Banner();
    QVERIFY(banner.isHidden());
    // Scanned at 200 DPI, converted with the preset's 300.
    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "DuoArt.cis", synth::RollSystem::kDuoArt, 200)));
    QVERIFY(!banner.isHidden());
    QVERIFY2(
        banner.Text().startsWith(QStringLiteral("The DPI does not fit the scan: at DPI 300 the holes spread over ")),
        qPrintable(banner.Text()));
    QVERIFY2(banner.Text().contains(QStringLiteral("they fit at DPI 200 (the file's header states 200). \"Align to "
                                                   "This Roll\" measures")),
             qPrintable(banner.Text()));
    QVERIFY(!banner.AlignButton()->isHidden());
    QVERIFY(banner.RecogniseButton()->isHidden());  // the holes show a Duo-Art roll

    // The banner's button opens the scanner dialog with the roll measured; Apply converts it.
    QString measured;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      QTRY_VERIFY(!dialog->findChild<QLabel*>("AlignmentMeasured")->text().isEmpty());
      measured = dialog->findChild<QLabel*>("AlignmentMeasured")->text();
      QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(banner.AlignButton(), Qt::LeftButton);
    QVERIFY2(measured.startsWith(QStringLiteral("Measured: ")), qPrintable(measured));
    QVERIFY(!window.State().IsReprocessPending());  // converted with the values found
    QVERIFY2(banner.isHidden(), qPrintable(banner.Text()));
    QVERIFY(window.Document().Summary().HolesOffTrack * 20 < window.Document().Summary().HolesMeasured);
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }

  void AWelteRollAfterADuoArtRollIsNotConvertedAsDuoArtUnnoticed() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter, ProfileWithRollType(dir, "Duo-Art")));
    window.show();
    RollNoticeBanner& banner = *window.Banner();
    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "DuoArt.cis", synth::RollSystem::kDuoArt)));
    QVERIFY2(banner.isHidden(), qPrintable(banner.Text()));

    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "Welte.cis", synth::RollSystem::kWelteLicensee)));
    QVERIFY(!banner.isHidden());
    QVERIFY2(banner.Text().contains(QStringLiteral("The holes show a Welte Licensee roll (score 0.")) &&
                 banner.Text().contains(QStringLiteral("but it was converted as \"Duo-Art\"")),
             qPrintable(banner.Text()));
    QVERIFY(!banner.RecogniseButton()->isHidden());

    QTest::mouseClick(banner.RecogniseButton(), Qt::LeftButton);
    QCOMPARE(window.Document().RollTypeName(), std::string("Welte Licensee"));
    QVERIFY(!window.State().IsReprocessPending());
    QVERIFY2(banner.isHidden(), qPrintable(banner.Text()));
    QVERIFY(testing::ReadBytes(dir.File("Welte_eRollMIDI.mid")).find("/CIS_converted_as_type: Welte Licensee") !=
            std::string::npos);
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }
};

QTEST_MAIN(DesktopBannerTest)
#include "DesktopBanner_test.moc"
