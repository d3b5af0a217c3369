// tarvelo: the desktop program. `tarvelo [FILE.cis]` opens the window and the file it names.
//   --from INCH          show the roll from this inch on
//   --zoom LEVEL         show the roll at zoom level 1 to 9 (5: 63 pixels an inch)
//   --tracking           start with "Show Tracking Corrections" on
//   --screenshot FILE    save a picture of the window as the screen shows it, then quit
#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileOpenEvent>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QWindow>
#include <cstdio>
#include <exception>

#include "app/ControlBar.h"
#include "app/DesktopLook.h"
#include "app/MainWindow.h"
#include "app/MessagePresenter.h"
#include "app/ProgramIcon.h"
#include "app/RollViewWidget.h"
#include "rolltypes/RollTypeLibrary.h"
#include "support/ProcessEnvironment.h"

using namespace tarvelo;
using namespace tarvelo::app;

namespace {

// The application: catches what a command did not, and opens the files the system hands over.
class TarveloApplication : public QApplication {
 public:
  using QApplication::QApplication;

  // Where files that the system hands over while the program runs are opened.
  void SetWindow(MainWindow* window) { window_ = window; }

  // macOS hands the files a user opens with the program (a double click in the Finder, Open
  // With, a drop on the Dock icon) as file-open events, not as arguments.
  bool event(QEvent* event) override {
    if (event->type() == QEvent::FileOpen && window_) {
      window_->OpenFile(static_cast<QFileOpenEvent*>(event)->file());
      return true;
    }
    return QApplication::event(event);
  }

  // Whatever a command did not catch (out of memory in the middle of drawing, say) ends that
  // command with a message, not the program.
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "tarvelo: %s\n", failure.what());
      MessageWindowPresenter().Present(MessageKind::kError,
                                       std::string("The command could not be finished: ") + failure.what());
    }
    return false;
  }

 private:
  QPointer<MainWindow> window_;
};

// Waits until the window system shows `window` (at most `limit_ms`), then lets it paint.
void WaitUntilShown(QWidget& window, int limit_ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < limit_ms && !(window.windowHandle() && window.windowHandle()->isExposed()))
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  for (int round = 0; round < 5; ++round) QApplication::processEvents();
}

// The window's area of the screen, as the window system shows it, saved whole or not at all.
int SaveScreenshot(QWidget& window, const QString& path) {
  WaitUntilShown(window, 5000);
  window.repaint();
  QApplication::processEvents();
  QScreen* screen = window.screen();
  const QRect area = window.geometry();
  const QPixmap shot = screen ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()) : QPixmap();
  QSaveFile file(path);
  if (shot.isNull() || !file.open(QIODevice::WriteOnly) || !shot.save(&file, "PNG") || !file.commit()) {
    std::fprintf(stderr, "tarvelo: cannot write the screenshot %s: %s\n", qPrintable(path),
                 shot.isNull() ? "the screen could not be read" : qPrintable(file.errorString()));
    return 1;
  }
  return 0;
}

int Run(TarveloApplication& application) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Tarvelo: player-piano roll scans (CIS files) to MIDI files"));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A CIS file to open"),
                               QStringLiteral("[FILE.cis]"));
  const QCommandLineOption tracking(QStringLiteral("tracking"), QStringLiteral("Show the tracking corrections"));
  const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                      QStringLiteral("Save a picture of the window as shown, then quit"),
                                      QStringLiteral("PNG"));
  const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("Show the roll from this inch on"),
                                QStringLiteral("INCH"));
  const QCommandLineOption zoom(QStringLiteral("zoom"), QStringLiteral("Show the roll at this zoom level, 1 to 9"),
                                QStringLiteral("LEVEL"));
  parser.addOption(from);
  parser.addOption(zoom);
  parser.addOption(tracking);
  parser.addOption(screenshot);
  parser.process(application);

  MainWindowOptions options;
  options.UserProfile = true;
  options.RollTypeCandidates = RollTypeDefinitionsCandidates(WorkingFolder(), ExecutablePath());
  // A run that only takes a picture waits for no one: the roll information of the file it opens
  // is taken as it comes, without the roll information dialog, and messages go to standard
  // error instead of a window that would wait for an answer.
  StandardErrorPresenter to_standard_error;
  if (parser.isSet(screenshot)) {
    options.EditRollInfo = [](RollInfo&) { return true; };
    options.Presenter = &to_standard_error;
  }
  MainWindow window(options);
  window.show();
  application.SetWindow(&window);
  if (parser.isSet(zoom)) {
    bool is_number = false;
    const int level = parser.value(zoom).toInt(&is_number);
    if (!is_number || level < ZoomLevel::kSmallest || level > ZoomLevel::kLargest) {
      std::fprintf(stderr, "tarvelo: --zoom wants a level from %d to %d, not \"%s\"\n", ZoomLevel::kSmallest,
                   ZoomLevel::kLargest, qPrintable(parser.value(zoom)));
      return 2;
    }
    window.SetZoomLevel(level);
  }
  if (!parser.positionalArguments().isEmpty()) window.OpenFile(parser.positionalArguments().first());
  if (parser.isSet(from)) {
    bool is_number = false;
    const double inches = parser.value(from).toDouble(&is_number);
    if (!is_number) {
      std::fprintf(stderr, "tarvelo: --from wants a number of inches, not \"%s\"\n", qPrintable(parser.value(from)));
      return 2;
    }
    QApplication::processEvents();  // the view at its final size
    window.View()->ScrollToInch(inches);
  }
  if (parser.isSet(tracking) && window.Bar()->TrackingCorrectionsBox()->isEnabled())
    window.Bar()->TrackingCorrectionsBox()->click();
  if (parser.isSet(screenshot)) return SaveScreenshot(window, parser.value(screenshot));
  return application.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Re-processing a roll frees and allocates its lines' values again: keep the memory.
  tarvelo::KeepFreedMemoryInProcess();
  TarveloApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvelo"));
  QApplication::setApplicationVersion(QStringLiteral(TARVELO_VERSION));
  // The desktop entry (tarvelo.desktop) that Wayland compositors match the window with.
  QGuiApplication::setDesktopFileName(QStringLiteral("tarvelo"));
  QApplication::setWindowIcon(ProgramIcon());
  ApplyDesktopLook(application);
  try {
    return Run(application);
  } catch (const std::exception& failure) {
    // Out of memory or a file system failure the core could not turn into a message.
    std::fprintf(stderr, "tarvelo: %s\n", failure.what());
    return 1;
  }
}
