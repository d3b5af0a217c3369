#pragma once
// The main window: menus, toolbar, the control bar, the roll view and the status bar around one
// document. It owns the session's settings, the roll type library and the document, and offers
// the commands (one slot each); every conversion runs in the core, inside the command that
// starts it, and the window shows what the core reports.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "align/AlignOpenedScan.h"
#include "app/DesktopProfile.h"
#include "app/Listening.h"
#include "app/RollPlayer.h"
#include "app/RollToHear.h"
#include "app/WindowState.h"
#include "app/dialogs/DialogOutcome.h"
#include "document/TarveloDoc.h"
#include "settings/AudioSettings.h"
#include "settings/SessionSettings.h"
#include "settings/UserProfile.h"
#include "view/TrackStrips.h"
#include "xml/XmlDocument.h"

class QAction;
class QMenu;
class QTimer;
class QToolBar;

namespace tarvelo::app {

class ControlBar;
class DesktopFrontEnd;
class MessagePresenter;
class MessageWindowPresenter;
class RollNoticeBanner;
class RollViewWidget;

struct MainWindowOptions {
  // The settings profile: the user's own when UserProfile is set (the registry on Windows, the INI
  // file elsewhere: settings/UserProfile.h), else the INI file ProfilePath ("": held in memory only).
  bool UserProfile = false;
  std::string ProfilePath;
  std::vector<std::string> RollTypeCandidates;  // where RollTypeDefinitions.xml is looked for, in order
  MessagePresenter* Presenter = nullptr;        // how messages are shown; null: the modal message window
  // How the roll information of a file just opened is completed, once the roll is shown, when
  // the settings ask for it (true: accepted); null: the roll information dialog.
  std::function<bool(RollInfo&)> EditRollInfo;
  // How Play opens its instrument and keeps time; null: the instrument the "Audio Settings"
  // name (OpenPlaybackInstrument) and the system's steady clock. Tests put in a recorder and a
  // clock of their own, so that nothing needs a sound device.
  std::function<Result(const AudioSettings&, PlaybackInstrument&)> OpenInstrument;
  std::function<std::unique_ptr<PlaybackClock>()> MakeClock;
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(const MainWindowOptions& options, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Opens `path` as File Open does: the document's load runs the conversion, then the roll
  // information is completed (when the settings ask for it) and, when changed, the roll converted
  // again with it. Unsaved header edits of the open document are offered to be saved first
  // (MayReplaceDocument). A file that cannot be opened (its message has been shown) leaves the
  // open document as it was. Returns whether the file became the document.
  bool OpenFile(const QString& path);
  // Saves the scan as a CIS file at `path` (written whole or not at all). Returns whether it was
  // written; a failure has been shown.
  bool SaveDocumentAs(const QString& path);
  // Whether the scan's header holds edits ("CIS Data") not yet saved to a CIS file: the title
  // bar's modified mark.
  bool HasUnsavedEdits() const;
  // Before the document is closed (quit, open, New, a dropped file): with unsaved edits, asks
  // "Save", "Discard" or "Cancel". Returns whether the document may go (saved, or discarded).
  bool MayReplaceDocument();

  // After a settings dialog closed with OK (or a preset was applied): its values are stored;
  // the window shows the settings-changed state and repaints.
  void ApplySettingsChange();
  // The view's zoom level (held to 1..9), as that many Zoom In or Zoom Out clicks would set it.
  void SetZoomLevel(int level);

  ControlBar* Bar() const { return bar_; }
  DesktopFrontEnd& FrontEnd() const { return *front_end_; }
  RollViewWidget* View() const { return view_; }
  RollNoticeBanner* Banner() const { return banner_; }
  const TarveloDoc& Document() const { return *doc_; }
  const WindowState& State() const { return state_; }
  SessionSettings& Session() { return session_; }
  const std::vector<std::string>& RollTypeNames() const { return roll_type_names_; }
  const RecentFiles& Recent() const { return recent_; }
  // The File menu's entries of the recent files (hidden when unused).
  const std::vector<QAction*>& RecentFileActions() const { return recent_actions_; }
  // Whether the roll is being played, and what of it (valid while it plays).
  bool IsPlaying() const { return player_.IsStarted(); }
  const RollToHear& Heard() const { return heard_; }
  const AudioSettings& Audio() const { return audio_; }
  QAction* OffTrackHolesAction() const { return off_track_action_; }

 public slots:
  // File menu.
  void OnFileNew();
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();
  void OnRecentFile(int index);
  // Settings menu: the settings dialogs.
  void OnScanImageMidiSettings();
  void OnERollMidiSettings();
  void OnDiagnosticSettings();
  void OnActiveTrackingSettings();
  void OnTwinArraySettings();
  void OnAudioSettings();
  // Play: the roll heard from the reference line when one is drawn, else from the inch at the
  // top of the view (from its start when that is past its last note), on the instrument of the
  // "Audio Settings", the view following it. The status bar says what is heard on what; a
  // message says why nothing can be.
  void OnPlay();
  // Stop (also before Re-Process, opening another file, New and quitting): the instrument is
  // left silent with its pedals up.
  void OnStop();
  // Help menu.
  void OnAbout();
  // Control bar.
  void OnRollTypeChosen(int index);
  // "Recognise From This Roll": measures the open roll with every roll type of the library and
  // chooses the recognised one as a choice in the box would; the status bar says what it found.
  void OnRecogniseRollType();
  void OnOffsetNudged(double inches);
  void OnScannerSettings();
  void OnReprocess();
  void OnScanMidiToggled(bool on);
  void OnERollMidiToggled(bool on);
  void OnExpressionMidiToggled(bool on);
  void OnZoomIn();
  void OnZoomOut();
  void OnTrackingCorrectionsToggled(bool on);
  void OnViewHistogram();
  void OnCisData();
  void OnEmbeddedText();
  // View menu: "Show Off-Track Holes" marks the holes the last conversion found off their
  // tracks in their own colour (stored in the profile's "Desktop" section).
  void OnShowOffTrackHolesToggled(bool on);
  // The banner's buttons: the scanner dialog with the open roll measured ("Apply" converts the
  // roll with the values found), and the roll type recognised and the roll converted as it.
  void OnAlignFromBanner();
  void OnRecogniseFromBanner();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  // While playing: the play line and the view follow the roll; at its end the playing stops.
  void FollowPlaying();
  void ShowPlayback();
  // Keeps what the run just made was made with, for Play to hear it.
  void RememberRun(const RunSettings& settings);
  // The control bar's file name and title as the open scan has them.
  void RefreshFileFields();
  // The view's marks of the off-track holes, as the last conversion placed them (none when
  // the marks are off).
  void MarkOffTrackHoles();
  void BuildBars();
  void LoadRollTypes(const std::vector<std::string>& candidates);
  void RestoreGeometry();
  void ApplyRollTypeChange();
  void UpdateView();
  void UpdateTitle();
  void UpdateRecentFilesMenu();
  void RememberFile(const QString& path);
  // The scanner display and the view with the live preset's values (after a scanner setting
  // changed: what the next conversion is handed), or with the values the last conversion placed
  // the holes with (Auto-Tweak's when it tweaked), marked as such.
  void ShowScannerDisplay();
  void ShowScannerOfRun();
  // The scanner values the display and the view show.
  ScannerSettings ShownScanner() const;
  // The "Go to inch" box's range: the open roll's length.
  void ShowRollLength();
  void ReportProfileProblems();
  // A failed profile write is shown as an error message; the window goes on.
  void ReportIfFailed(const Result& result);
  // What the window does after a dialog closed with OK: the settings-changed state, the scanner
  // display, the title field, the view.
  void ActOn(const DialogOutcome& outcome);
  // Whether a roll is open: a file was read and has scan lines to measure.
  bool HasRoll() const;
  // Measures a newly opened roll with every roll type of the library, for the banner to say
  // whether the roll type in use is the one its holes show.
  void CheckRollType();
  // The banner as the last conversion and the roll type check leave it.
  void ShowRollNotice();
  // Once a newly opened roll is shown: the roll information completed by the user; when it
  // changed, the roll is converted again so that its files carry it.
  void CompleteRollInfo();
  // The header values a save writes, as they were when the file was opened or saved last.
  struct SavedHeader {
    std::string Title;
    int Tempo = 0;
    int LinesPerInch = 0;
    int RawLinesPerInch = 0;
    bool operator==(const SavedHeader&) const = default;
  };
  SavedHeader HeaderNow() const;
  // Measures the open roll with the session's settings (the scanner values `edited` instead of
  // the live ones, when given) and the roll type in use; `recognise` ranks the library's roll
  // types too and suggests for the recognised one. The warnings of preparing the lines join the
  // report's notes; nothing is shown.
  MeasuredAlignment MeasureOpenRoll(const ScannerSettings* edited, bool recognise);
  // The library's roll types, filled once when first needed.
  const std::vector<RollTypeDefinition>& LibraryRollTypes();

  OpenedProfile profile_;
  SessionSettings session_;
  DesktopProfile desktop_profile_;
  RecentFiles recent_;
  WindowState state_;
  std::unique_ptr<MessageWindowPresenter> own_presenter_;
  MessagePresenter* presenter_;
  ControlBar* bar_ = nullptr;
  RollViewWidget* view_ = nullptr;
  RollNoticeBanner* banner_ = nullptr;
  // The roll types ranked on the open roll when it was opened (none: not measured).
  std::optional<RollTypeRanking> ranking_;
  std::unique_ptr<DesktopFrontEnd> front_end_;
  XmlDocument library_;
  std::vector<std::string> roll_type_names_;
  std::vector<RollTypeDefinition> library_types_;
  bool library_types_filled_ = false;
  TrackStrips strips_;
  bool shows_run_scanner_ = false;  // ShowScannerOfRun until a scanner setting changes
  std::unique_ptr<TarveloDoc> doc_;
  QString save_path_;  // where Save writes: the file opened or saved last
  SavedHeader saved_header_;
  std::function<bool(RollInfo&)> edit_roll_info_;

  // Listening.
  AudioSettings audio_;
  std::function<Result(const AudioSettings&, PlaybackInstrument&)> open_instrument_;
  std::function<std::unique_ptr<PlaybackClock>()> make_clock_;
  // What the document's last run was made with: its settings, tempo and roll type.
  struct LastRun {
    RunSettings Settings;
    int Tempo = 0;
    RollTypeDefinition RollType;
  };
  std::optional<LastRun> last_run_;
  RollToHear heard_;
  RollPlayer player_;
  QTimer* play_timer_ = nullptr;
  QAction* play_action_ = nullptr;
  QAction* stop_action_ = nullptr;
  QAction* off_track_action_ = nullptr;

  QToolBar* toolbar_ = nullptr;
  QAction* save_action_ = nullptr;
  QAction* save_as_action_ = nullptr;
  std::vector<QAction*> recent_actions_;
  QAction* recent_separator_ = nullptr;
};

}  // namespace tarvelo::app
