// Moving about a roll as in a viewer: the inch at the top stays there through resizes and zooms;
// Home and End go to the roll's ends; Ctrl with the wheel and a pinch zoom; the "Go to inch" box
// goes to an inch and follows the view.
#include <QDoubleSpinBox>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include "DesktopTestSupport.h"
#include "SyntheticRoll.h"
#include "app/ControlBar.h"
#include "app/RollViewWidget.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

// A 300-inch roll at 100 lines per inch with a hole every two inches.
QString WriteLongRoll(const testing::TempDir& dir) {
  synth::SyntheticRollSpec plan;
  plan.length_inch = 300;
  for (int inch = 1; inch < 300; inch += 2) plan.holes.push_back({40 + inch % 20, double(inch), 0.2});
  testing::WriteBytes(dir.File("LongRoll.cis"), synth::RenderSyntheticCis(plan));
  return QString::fromStdString(dir.File("LongRoll.cis"));
}

void Wheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers) {
  const QPointF at(100, 100);
  QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(target, &wheel);
}

void Pinch(QWidget* target, Qt::NativeGestureType type, double value) {
  const QPointF at(100, 100);
  QNativeGestureEvent gesture(type, QPointingDevice::primaryPointingDevice(), 2, at, at, target->mapToGlobal(at), value,
                              QPointF());
  QApplication::sendEvent(target, &gesture);
}

}  // namespace

class DesktopNavigationTest : public QObject {
  Q_OBJECT

 private slots:
  void TheInchAtTheTopStaysThroughResizesAndZooms() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.resize(900, 560);
    window.show();
    QVERIFY(window.OpenFile(WriteLongRoll(dir)));
    RollViewWidget& view = *window.View();
    view.ScrollToInch(100);
    QVERIFY(std::abs(view.InchAtTop() - 100) < 0.1);
    for (const QSize size : {QSize(900, 760), QSize(900, 380), QSize(700, 520), QSize(900, 560)}) {
      window.resize(size);
      QApplication::processEvents();
      QVERIFY2(std::abs(view.InchAtTop() - 100) < 0.1, qPrintable(QString::number(view.InchAtTop())));
    }
    for (int click = 0; click < 4; ++click) QTest::mouseClick(window.Bar()->ZoomOutButton(), Qt::LeftButton);
    QTest::mouseClick(window.Bar()->ZoomInButton(), Qt::LeftButton);
    QVERIFY(std::abs(view.InchAtTop() - 100) < 0.1);
    // Scrolling by hand makes the line now at the top the one kept.
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + 300);
    const double scrolled = view.InchAtTop();
    QVERIFY(scrolled > 110);
    window.resize(900, 700);
    QApplication::processEvents();
    QVERIFY(std::abs(view.InchAtTop() - scrolled) < 0.1);
    QVERIFY(presenter.texts.empty());
  }

  void HomeEndAndTheGoToInchBox() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(WriteLongRoll(dir)));
    RollViewWidget& view = *window.View();
    view.horizontalScrollBar()->setValue(200);
    QTest::keyClick(&view, Qt::Key_End);
    QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    QCOMPARE(view.horizontalScrollBar()->value(), 200);
    QTest::keyClick(&view, Qt::Key_Home);
    QCOMPARE(view.InchAtTop(), 0.0);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
    QCOMPARE(view.horizontalScrollBar()->value(), 0);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(view.verticalScrollBar()->value(), 0);

    // The box goes to the inch entered, and shows the inch at the top as the view scrolls.
    QDoubleSpinBox& box = *window.Bar()->GoToInchBox();
    QVERIFY(box.maximum() > 299);
    box.setFocus();
    box.selectAll();
    QTest::keyClicks(&box, "150");
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY2(std::abs(view.InchAtTop() - 150) < 0.1, qPrintable(QString::number(view.InchAtTop())));
    view.setFocus();
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->value() + 500);
    QVERIFY(std::abs(box.value() - view.InchAtTop()) < 0.1);
  }

  void CtrlWithTheWheelAndAPinchZoom() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(WriteLongRoll(dir)));
    RollViewWidget& view = *window.View();
    QCOMPARE(window.State().Zoom().Level(), 5);
    Wheel(view.viewport(), 120, Qt::ControlModifier);
    QCOMPARE(window.State().Zoom().Level(), 6);
    // A touchpad's small turns add up to a step.
    for (int turn = 0; turn < 8; ++turn) Wheel(view.viewport(), -30, Qt::ControlModifier);
    QCOMPARE(window.State().Zoom().Level(), 4);
    QCOMPARE(view.verticalScrollBar()->value(), 0);  // zooming does not scroll
    // Without Ctrl the wheel scrolls.
    Wheel(view.viewport(), -120, Qt::NoModifier);
    QCOMPARE(window.State().Zoom().Level(), 4);
    QVERIFY(view.verticalScrollBar()->value() > 0);
    // Spreading two fingers to twice the size: two steps in; at the largest zoom nothing more.
    Pinch(view.viewport(), Qt::BeginNativeGesture, 0);
    for (int step = 0; step < 10; ++step) Pinch(view.viewport(), Qt::ZoomNativeGesture, 0.0718);
    Pinch(view.viewport(), Qt::EndNativeGesture, 0);
    QCOMPARE(window.State().Zoom().Level(), 6);
    for (int turn = 0; turn < 6; ++turn) Wheel(view.viewport(), 120, Qt::ControlModifier);
    QCOMPARE(window.State().Zoom().Level(), 9);
    QVERIFY(!window.Bar()->ZoomInButton()->isEnabled());
  }
};

QTEST_MAIN(DesktopNavigationTest)
#include "DesktopNavigation_test.moc"
