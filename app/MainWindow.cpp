#include "app/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaObject>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <new>

#include "align/OffTrackCheck.h"
#include "app/AboutBox.h"
#include "app/ControlBar.h"
#include "app/DesktopFrontEnd.h"
#include "app/HistogramWindow.h"
#include "app/MessageWindow.h"
#include "app/ProgramIcon.h"
#include "app/QtText.h"
#include "app/RollNoticeBanner.h"
#include "app/RollViewWidget.h"
#include "app/WindowPlace.h"
#include "app/dialogs/ActiveTrackingSettingsDialog.h"
#include "app/dialogs/AlignmentText.h"
#include "app/dialogs/AudioSettingsDialog.h"
#include "app/dialogs/CisDataDialog.h"
#include "app/dialogs/DiagnosticSettingsDialog.h"
#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/ERollSettingsDialog.h"
#include "app/dialogs/GeneralSettingsDialog.h"
#include "app/dialogs/RollInfoDialog.h"
#include "app/dialogs/ScannerSettingsDialog.h"
#include "app/dialogs/TwinArraySettingsDialog.h"
#include "cis/CisWriter.h"
#include "rolltypes/RollTypeLibrary.h"
#include "settings/IniProfile.h"

namespace tarvelo::app {

namespace {

constexpr const char* kProgramName = "Tarvelo";
constexpr const char* kRollFileFilter = "Roll Files (*.cis *.CIS)";
// How often the play line and the view follow a roll that plays.
constexpr int kFollowIntervalMs = 30;
// Open also takes pictures of rolls; Save always writes a CIS file.
constexpr const char* kOpenFileFilter =
    "Roll Files and Pictures (*.cis *.CIS *.png *.PNG *.tif *.TIF *.tiff *.TIFF *.jpg *.JPG *.jpeg *.JPEG)";

QString LatinText(const char* text) { return QString::fromLatin1(text); }

// Runs `work`, turning what the standard library may throw (out of memory, a file system
// failure) into `failure`, so that a command ends with a message rather than ending the program.
bool RunCaught(const std::function<void()>& work, std::string& failure) {
  try {
    work();
    return true;
  } catch (const std::bad_alloc&) {
    failure = "there is not enough memory";
  } catch (const std::exception& caught) {
    failure = caught.what();
  }
  return false;
}

// Keeps the messages of a measurement's preparation (shown with its result, not on their own);
// status and progress are left as the last conversion set them.
class MessageCollector : public Reporter {
 public:
  void SetStatusText(std::string_view) override {}
  void SetProgress(int, int) override {}
  void ShowMessage(MessageKind kind, std::string_view text) override { messages.push_back({kind, std::string(text)}); }

  std::vector<AlignmentNote> messages;
};

// The profile the options name; an empty INI profile in memory when they name none.
OpenedProfile OpenWindowProfile(const MainWindowOptions& options) {
  if (options.UserProfile) return OpenDefaultProfile();
  if (!options.ProfilePath.empty()) return OpenProfile(options.ProfilePath);
  OpenedProfile in_memory;
  in_memory.Store = std::make_unique<IniProfile>();
  return in_memory;
}

}  // namespace

MainWindow::MainWindow(const MainWindowOptions& options, QWidget* parent)
    : QMainWindow(parent),
      profile_(OpenWindowProfile(options)),
      session_(*profile_.Store),
      desktop_profile_(*profile_.Store),
      recent_(desktop_profile_.LoadRecentFiles()),
      state_(session_.Outputs),
      strips_(InitialTrackStrips()) {
  if (options.Presenter) {
    presenter_ = options.Presenter;
  } else {
    own_presenter_ = std::make_unique<MessageWindowPresenter>(this);
    presenter_ = own_presenter_.get();
  }
  setAcceptDrops(true);
  BuildBars();
  front_end_ = std::make_unique<DesktopFrontEnd>(state_, *bar_, *presenter_);
  audio_ = AudioSettings(*profile_.Store);
  open_instrument_ = options.OpenInstrument ? options.OpenInstrument : OpenPlaybackInstrument;
  make_clock_ = options.MakeClock ? options.MakeClock : [] { return std::make_unique<SteadyPlaybackClock>(); };
  play_timer_ = new QTimer(this);
  play_timer_->setInterval(kFollowIntervalMs);
  connect(play_timer_, &QTimer::timeout, this, &MainWindow::FollowPlaying);
  edit_roll_info_ = options.EditRollInfo;
  if (!edit_roll_info_) {
    edit_roll_info_ = [this](RollInfo& info) {
      RollInfoDialog dialog(info, *profile_.Store, this);
      return dialog.exec() == QDialog::Accepted;
    };
  }
  BuildMenus();
  ReportProfileProblems();

  // The roll types, then the control bar as they and the profile say.
  LoadRollTypes(options.RollTypeCandidates);
  bar_->ShowPunchMidi(session_.Outputs.PunchMidi);
  front_end_->ShowState();
  ShowScannerDisplay();

  // An empty document with the active roll type applied, as the view first shows it.
  doc_ = std::make_unique<TarveloDoc>(*front_end_, *front_end_, RollInfo(*profile_.Store));
  ApplyRollTypeChange();
  front_end_->RefreshControlBar("", "");
  view_->SetSource(&doc_->ScanData(), &strips_);
  UpdateView();
  UpdateTitle();
  UpdateRecentFilesMenu();
  RestoreGeometry();
}

MainWindow::~MainWindow() {
  // The view draws from the document; let it go first.
  if (view_) view_->SetSource(nullptr, nullptr);
}

void MainWindow::BuildBars() {
  bar_ = new ControlBar;
  view_ = new RollViewWidget;
  // The control bar above the view, as wide as the window: it wraps its groups onto more rows
  // where the window is narrow.
  auto* centre = new QWidget;
  centre->setObjectName("centre");
  auto* column = new QVBoxLayout(centre);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(bar_);
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  column->addWidget(line);
  banner_ = new RollNoticeBanner;
  column->addWidget(banner_);
  column->addWidget(view_, 1);
  setCentralWidget(centre);

  toolbar_ = new QToolBar(QStringLiteral("Toolbar"));
  toolbar_->setObjectName("toolbar");
  addToolBar(Qt::TopToolBarArea, toolbar_);
  statusBar()->setObjectName("statusBar");

  connect(bar_, &ControlBar::RollTypeChosen, this, &MainWindow::OnRollTypeChosen);
  connect(bar_, &ControlBar::RecogniseRollTypeRequested, this, &MainWindow::OnRecogniseRollType);
  connect(bar_, &ControlBar::OffsetNudged, this, &MainWindow::OnOffsetNudged);
  connect(bar_, &ControlBar::ScannerSettingsRequested, this, &MainWindow::OnScannerSettings);
  connect(bar_, &ControlBar::ReprocessRequested, this, &MainWindow::OnReprocess);
  connect(bar_, &ControlBar::ScanMidiToggled, this, &MainWindow::OnScanMidiToggled);
  connect(bar_, &ControlBar::ERollMidiToggled, this, &MainWindow::OnERollMidiToggled);
  connect(bar_, &ControlBar::ExpressionMidiToggled, this, &MainWindow::OnExpressionMidiToggled);
  connect(bar_, &ControlBar::ZoomInRequested, this, &MainWindow::OnZoomIn);
  connect(bar_, &ControlBar::ZoomOutRequested, this, &MainWindow::OnZoomOut);
  connect(bar_, &ControlBar::TrackingCorrectionsToggled, this, &MainWindow::OnTrackingCorrectionsToggled);
  connect(bar_, &ControlBar::HistogramRequested, this, &MainWindow::OnViewHistogram);
  connect(bar_, &ControlBar::CisDataRequested, this, &MainWindow::OnCisData);
  connect(bar_, &ControlBar::EmbeddedTextRequested, this, &MainWindow::OnEmbeddedText);
  connect(bar_, &ControlBar::PlayRequested, this, &MainWindow::OnPlay);
  connect(bar_, &ControlBar::StopRequested, this, &MainWindow::OnStop);
  connect(banner_, &RollNoticeBanner::AlignRequested, this, &MainWindow::OnAlignFromBanner);
  connect(banner_, &RollNoticeBanner::RecogniseRequested, this, &MainWindow::OnRecogniseFromBanner);
  connect(bar_, &ControlBar::GoToInchRequested, view_, &RollViewWidget::ScrollToInch);
  connect(view_, &RollViewWidget::InchAtTopChanged, bar_, &ControlBar::ShowInchAtTop);
  connect(view_, &RollViewWidget::ZoomStepRequested, this, [this](int steps) {
    for (; steps > 0; --steps) OnZoomIn();
    for (; steps < 0; ++steps) OnZoomOut();
  });
}

void MainWindow::BuildMenus() {
  QStyle* look = style();
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* file_new =
      file->addAction(look->standardIcon(QStyle::SP_FileIcon), QStringLiteral("&New"), this, &MainWindow::OnFileNew);
  file_new->setShortcut(QKeySequence::New);
  file_new->setStatusTip(QStringLiteral("Create a new document"));
  QAction* open = file->addAction(look->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("&Open..."), this,
                                  &MainWindow::OnFileOpen);
  open->setShortcut(QKeySequence::Open);
  open->setStatusTip(QStringLiteral("Open a roll scan (CIS file) and convert it"));
  save_action_ = file->addAction(look->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("&Save"), this,
                                 &MainWindow::OnFileSave);
  save_action_->setShortcut(QKeySequence::Save);
  save_action_->setStatusTip(QStringLiteral("Save the CIS file with its corrected header"));
  save_as_action_ = file->addAction(QStringLiteral("Save &As..."), this, &MainWindow::OnFileSaveAs);
  save_as_action_->setStatusTip(QStringLiteral("Save the CIS file under a new name"));
  recent_separator_ = file->addSeparator();
  for (int index = 0; index < kRecentFileCount; ++index) {
    QAction* recent = file->addAction(QString(), this, [this, index] { OnRecentFile(index); });
    recent->setObjectName(QStringLiteral("recentFile%1").arg(index + 1));
    recent_actions_.push_back(recent);
  }
  file->addSeparator();
  QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
  exit->setShortcut(QKeySequence::Quit);
  exit->setStatusTip(QStringLiteral("Quit the application"));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  QAction* toolbar = toolbar_->toggleViewAction();
  toolbar->setText(QStringLiteral("&Toolbar"));
  toolbar->setStatusTip(QStringLiteral("Show or hide the toolbar"));
  view->addAction(toolbar);
  QAction* status = view->addAction(QStringLiteral("&Status Bar"));
  status->setCheckable(true);
  status->setChecked(true);
  status->setStatusTip(QStringLiteral("Show or hide the status bar"));
  connect(status, &QAction::toggled, statusBar(), &QWidget::setVisible);
  view->addSeparator();
  off_track_action_ = view->addAction(QStringLiteral("Show &Off-Track Holes"));
  off_track_action_->setObjectName(QStringLiteral("showOffTrackHoles"));
  off_track_action_->setCheckable(true);
  off_track_action_->setChecked(desktop_profile_.ShowOffTrackHoles());
  off_track_action_->setStatusTip(
      QStringLiteral("Mark in orange the holes that lie off their tracks: where the settings do not fit the scan"));
  connect(off_track_action_, &QAction::toggled, this, &MainWindow::OnShowOffTrackHolesToggled);

  QMenu* listen = menuBar()->addMenu(QStringLiteral("&Listen"));
  // Space plays and stops: only one of the two is usable at a time.
  play_action_ = listen->addAction(QStringLiteral("&Play"), this, &MainWindow::OnPlay);
  play_action_->setShortcut(QKeySequence(Qt::Key_Space));
  play_action_->setStatusTip(QStringLiteral("Hear the converted roll from the reference line or the top of the view"));
  stop_action_ = listen->addAction(QStringLiteral("&Stop"), this, &MainWindow::OnStop);
  stop_action_->setShortcut(QKeySequence(Qt::Key_Space));
  stop_action_->setStatusTip(QStringLiteral("Stop playing"));
  for (QAction* action : {play_action_, stop_action_}) action->setShortcutContext(Qt::WindowShortcut);

  QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
  settings->addAction(QStringLiteral("&ScanImageMIDI Settings"), this, &MainWindow::OnScanImageMidiSettings);
  settings->addAction(QStringLiteral("&eRoll MIDI settings"), this, &MainWindow::OnERollMidiSettings);
  settings->addAction(QStringLiteral("&Diagnostics"), this, &MainWindow::OnDiagnosticSettings);
  settings->addAction(QStringLiteral("&ActiveTracking"), this, &MainWindow::OnActiveTrackingSettings);
  settings->addAction(QStringLiteral("&Twin Array Settings"), this, &MainWindow::OnTwinArraySettings);
  settings->addSeparator();
  QAction* audio = settings->addAction(QStringLiteral("A&udio Settings..."), this, &MainWindow::OnAudioSettings);
  audio->setStatusTip(
      QStringLiteral("What Play plays the roll to: the software synthesizer and its SoundFont, or a "
                     "MIDI port"));

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  QAction* about = help->addAction(ProgramIcon(), QStringLiteral("&About Tarvelo..."), this, &MainWindow::OnAbout);
  about->setStatusTip(QStringLiteral("Display program information and version"));

  toolbar_->addAction(file_new);
  toolbar_->addAction(open);
  toolbar_->addAction(save_action_);
  toolbar_->addSeparator();
  toolbar_->addAction(about);

  // Keys for the control bar's commands; a greyed button ignores its key too.
  auto add_key = [this](const QKeySequence& key, QPushButton* button) {
    auto* action = new QAction(this);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, button, &QPushButton::click);
    addAction(action);
  };
  add_key(QKeySequence(Qt::Key_F5), bar_->ReprocessButton());
  add_key(QKeySequence(Qt::CTRL | Qt::Key_Plus), bar_->ZoomInButton());
  add_key(QKeySequence(Qt::CTRL | Qt::Key_Equal), bar_->ZoomInButton());
  add_key(QKeySequence(Qt::CTRL | Qt::Key_Minus), bar_->ZoomOutButton());
}

void MainWindow::ReportProfileProblems() {
  if (profile_.Problems.empty()) return;
  std::string text =
      "The settings profile " + profile_.Location + " has lines that cannot be read; they are kept as they are:";
  for (const std::string& problem : profile_.Problems) text += "\n" + problem;
  front_end_->ShowMessage(MessageKind::kWarning, text);
}

void MainWindow::LoadRollTypes(const std::vector<std::string>& candidates) {
  if (const Result loaded = LoadRollTypeDefinitions(candidates, library_, roll_type_names_); !loaded.ok())
    front_end_->ShowMessage(MessageKind::kError, loaded.message());
  bar_->ShowRollTypes(roll_type_names_, SelectedRollTypeIndex(roll_type_names_, session_.Roll.ActiveRollTypeName));
}

void MainWindow::RestoreGeometry() {
  QScreen* screen = QGuiApplication::primaryScreen();
  const std::optional<WindowGeometry> stored = desktop_profile_.Geometry();
  if (stored) {
    // Only where a screen still shows it (a screen may have gone since).
    const QPoint corner(stored->Left, stored->Top);
    if (QScreen* showing = QGuiApplication::screenAt(corner + QPoint(40, 40))) screen = showing;
  }
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, kFirstWindowWidth, kFirstWindowHeight);
  const QSize least = minimumSizeHint();
  const WindowGeometry place = WindowPlace({available.x(), available.y(), available.width(), available.height()},
                                           stored, least.width(), least.height());
  resize(place.Width, place.Height);
  move(place.Left, place.Top);
  if (place.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!MayReplaceDocument()) {
    event->ignore();
    return;
  }
  OnStop();
  const QRect normal = isMaximized() ? normalGeometry() : geometry();
  WindowGeometry geometry;
  geometry.Left = normal.x();
  geometry.Top = normal.y();
  geometry.Width = normal.width();
  geometry.Height = normal.height();
  geometry.Maximized = isMaximized();
  ReportIfFailed(desktop_profile_.SaveGeometry(geometry));
  event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && event->mimeData()->urls().first().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  event->acceptProposedAction();
  // The drag ends first: the file is opened once the drop has been answered, so that a message
  // or dialog the opening shows does not hold the drag (and the program it came from) up.
  const QString path = urls.first().toLocalFile();
  QTimer::singleShot(0, this, [this, path] { OpenFile(path); });
}

bool MainWindow::OpenFile(const QString& path) {
  if (path.isEmpty() || !MayReplaceDocument()) return false;
  OnStop();
  setWindowTitle(QStringLiteral("Reading File : ") + QFileInfo(path).fileName());
  statusBar()->clearMessage();  // it spoke of the roll open until now
  // The file is read into a new document: one that cannot be opened leaves the open one as
  // it was. The roll type and the roll information carry over, as they do from file to file.
  auto doc = std::make_unique<TarveloDoc>(*front_end_, *front_end_, doc_->RollInformation());
  doc->SetRollType(doc_->RollType());
  const WindowState before = state_;
  const RunSettings settings = session_.ForRun();
  Result loaded;
  std::string failure;
  if (!RunCaught([&] { loaded = doc->Load(ToFilePath(path), settings); }, failure)) {
    loaded = Result::IoError("The file " + ToUtf8(path) + " could not be converted: " + failure);
    front_end_->ShowMessage(MessageKind::kError, loaded.message());
  }
  if (!loaded.ok()) {
    // The load has shown why; put the window back as it was.
    state_ = before;
    front_end_->ShowState();
    RefreshFileFields();
    UpdateTitle();
    if (loaded.kind() == Result::Kind::kNotFound) {
      recent_.Remove(ToUtf8(path));
      ReportIfFailed(desktop_profile_.SaveRecentFiles(recent_));
      UpdateRecentFilesMenu();
    }
    return false;
  }
  view_->SetSource(nullptr, &strips_);
  doc_ = std::move(doc);
  view_->SetSource(&doc_->ScanData(), &strips_);
  RememberRun(settings);
  ShowScannerOfRun();
  save_path_ = path;
  saved_header_ = HeaderNow();
  RememberFile(path);
  ReportIfFailed(desktop_profile_.SaveLastFolder(ToUtf8(QFileInfo(path).absolutePath())));
  UpdateTitle();
  ShowRollLength();
  view_->ScrollToTop();
  view_->setFocus();
  view_->viewport()->repaint();
  CheckRollType();
  ShowRollNotice();
  if (front_end_->TakeRollInfoRequest()) CompleteRollInfo();
  return true;
}

void MainWindow::CheckRollType() {
  ranking_.reset();
  if (!HasRoll() || LibraryRollTypes().empty()) return;
  MeasuredAlignment measured;
  {
    const BusyCursor busy;
    measured = MeasureOpenRoll(nullptr, true);
  }
  if (!measured.Report.Ranking.Ranked.empty()) ranking_ = measured.Report.Ranking;
}

void MainWindow::ShowRollNotice() {
  // The values the conversion placed the holes with (Auto-Tweak's when it tweaked).
  const ScannerSettings live = ScannerOfRun(session_.Presets.Live(), doc_->Summary());
  const ScannerValuesUsed used{static_cast<int>(live.ScannerDPI), live.ScannerOffset, live.ScannerAlignStretch};
  banner_->Show(DescribeRoll(doc_->Summary(), session_.Diagnostic.OffTrackWarningPercent, doc_->RollTypeName(), used,
                             ranking_ ? &*ranking_ : nullptr));
}

void MainWindow::CompleteRollInfo() {
  RollInfo working = doc_->RollInformation();
  if (!edit_roll_info_(working)) return;
  const bool changed = working.EmbeddedTexts() != doc_->RollInformation().EmbeddedTexts();
  doc_->RollInformation() = std::move(working);
  if (changed) OnReprocess();
}

bool MainWindow::SaveDocumentAs(const QString& path) {
  Result written;
  std::string failure;
  if (!RunCaught([&] { written = WriteCisFile(doc_->ScanData(), ToFilePath(path)); }, failure))
    written = Result::IoError("cannot write " + ToUtf8(path) + ": " + failure);
  if (!written.ok()) {
    front_end_->ShowMessage(MessageKind::kError, written.message());
    return false;
  }
  save_path_ = path;
  saved_header_ = HeaderNow();
  RememberFile(path);
  UpdateTitle();
  return true;
}

MainWindow::SavedHeader MainWindow::HeaderNow() const {
  const CisScanData& scan = doc_->ScanData();
  return {scan.Header.Title, scan.Header.Tempo, scan.Header.LinesPerInch, scan.Header.RawLinesPerInch};
}

bool MainWindow::HasUnsavedEdits() const { return !save_path_.isEmpty() && HeaderNow() != saved_header_; }

bool MainWindow::MayReplaceDocument() {
  if (!HasUnsavedEdits()) return true;
  QMessageBox question(QMessageBox::Warning, LatinText(kProgramName),
                       QStringLiteral("The header of %1 was changed in CIS Data (title, tempo or lines per inch). "
                                      "Save the changes to the CIS file?")
                           .arg(QFileInfo(save_path_).fileName()),
                       QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  question.setObjectName("savePrompt");
  question.setDefaultButton(QMessageBox::Save);
  switch (question.exec()) {
    case QMessageBox::Save:
      return SaveDocumentAs(save_path_);
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

void MainWindow::RememberFile(const QString& path) {
  recent_.Add(ToUtf8(QFileInfo(path).absoluteFilePath()));
  ReportIfFailed(desktop_profile_.SaveRecentFiles(recent_));
  UpdateRecentFilesMenu();
}

void MainWindow::UpdateRecentFilesMenu() {
  const std::vector<std::string>& paths = recent_.Paths();
  for (size_t index = 0; index < recent_actions_.size(); ++index) {
    QAction* action = recent_actions_[index];
    if (index < paths.size()) {
      action->setText(QStringLiteral("&%1 %2").arg(index + 1).arg(ToQString(paths[index])));
      action->setVisible(true);
    } else {
      action->setVisible(false);
    }
  }
  recent_separator_->setVisible(!paths.empty());
}

void MainWindow::UpdateTitle() {
  const bool has_file = !save_path_.isEmpty();
  const QString name = has_file ? QFileInfo(save_path_).fileName() : QStringLiteral("Untitled");
  setWindowTitle(name + QStringLiteral("[*] - ") + LatinText(kProgramName));
  setWindowModified(HasUnsavedEdits());
  save_action_->setEnabled(has_file);
  save_as_action_->setEnabled(has_file);
  bar_->SetRecogniseEnabled(HasRoll());
  ShowPlayback();
}

void MainWindow::ShowRollLength() {
  const ScanLineArray& lines = doc_->ScanData().Lines;
  bar_->SetRollLength(lines.Empty() ? 0 : lines.Position(lines.Size() - 1));
}

bool MainWindow::HasRoll() const {
  return !doc_->FileNameWithExtension().empty() && !doc_->ScanData().LinesAsRead.Empty();
}

const std::vector<RollTypeDefinition>& MainWindow::LibraryRollTypes() {
  if (!library_types_filled_) {
    library_types_ = FillRollTypes(library_, roll_type_names_, *front_end_);
    library_types_filled_ = true;
  }
  return library_types_;
}

MeasuredAlignment MainWindow::MeasureOpenRoll(const ScannerSettings* edited, bool recognise) {
  RunSettings settings = session_.ForRun();
  if (edited) settings.Scanner = *edited;
  AlignRequest request;
  request.RollType = &doc_->RollType();
  if (recognise) {
    for (const RollTypeDefinition& type : LibraryRollTypes()) request.Library.push_back(&type);
    request.Recognise = !request.Library.empty();
  }
  MeasuredAlignment measured;
  MessageCollector preparation;
  std::string failure;
  if (!RunCaught([&] { measured = AlignOpenedScan(doc_->ScanData(), settings, std::move(request), preparation); },
                 failure)) {
    measured = MeasuredAlignment{};
    measured.Outcome = Result::IoError("The roll could not be measured: " + failure);
    return measured;
  }
  for (AlignmentNote& message : preparation.messages)
    if (message.Kind != MessageKind::kInformation) measured.Report.Notes.push_back(std::move(message));
  return measured;
}

void MainWindow::ReportIfFailed(const Result& result) {
  if (!result.ok()) front_end_->ShowMessage(MessageKind::kError, result.message());
}

void MainWindow::RefreshFileFields() {
  front_end_->RefreshControlBar(doc_->FileNameWithExtension(), doc_->ScanData().Header.Title);
}

void MainWindow::ActOn(const DialogOutcome& outcome) {
  if (outcome.ReprocessPending) front_end_->SetReprocessPending(true);
  if (outcome.ScannerDisplayChanged) ShowScannerDisplay();
  if (outcome.TitleChanged) RefreshFileFields();
  if (outcome.Repaint) {
    UpdateView();
    view_->viewport()->update();
  }
}

void MainWindow::ShowScannerDisplay() {
  shows_run_scanner_ = false;
  bar_->ShowScanner(DescribeScanner(session_.Presets.Live(), session_.Presets.CurrentPreset().PresetName));
}

void MainWindow::ShowScannerOfRun() {
  shows_run_scanner_ = true;
  bar_->ShowScanner(
      DescribeScannerOfRun(session_.Presets.Live(), session_.Presets.CurrentPreset().PresetName, doc_->Summary()));
  UpdateView();
}

ScannerSettings MainWindow::ShownScanner() const {
  const ScannerSettings& live = session_.Presets.Live();
  return shows_run_scanner_ ? ScannerOfRun(live, doc_->Summary()) : live;
}

void MainWindow::UpdateView() {
  RollViewSettings settings = view_->ViewSettings();
  // The holes drawn against the tracks as the scanner display's values place them.
  const ScannerSettings live = ShownScanner();
  settings.ScannerDPI = static_cast<int>(live.ScannerDPI);
  settings.ScannerOffset = live.ScannerOffset;
  settings.ScannerAlignStretch = live.ScannerAlignStretch;
  settings.ZoomFactor = state_.Zoom().Factor();
  settings.ShowTrackingCorrections = state_.ShowTrackingCorrections();
  settings.ShowCrossoverLine = session_.TwinArray.ShowCrossoverLine;
  view_->SetViewSettings(settings);
}

void MainWindow::ApplyRollTypeChange() {
  const std::string& name = session_.Roll.ActiveRollTypeName;
  doc_->ApplyRollType(library_, name).Ignore();  // an unknown name is the document's message
  doc_->RollInformation().SetRollType(name);
  RenderTrackStrips(doc_->RollType(), strips_);
  view_->viewport()->update();
}

void MainWindow::ApplySettingsChange() {
  front_end_->SetReprocessPending(true);
  ShowScannerDisplay();
  UpdateView();
}

// File menu ---------------------------------------------------------------------------------

void MainWindow::OnFileNew() {
  if (!MayReplaceDocument()) return;
  OnStop();
  view_->SetSource(nullptr, &strips_);
  auto doc = std::make_unique<TarveloDoc>(*front_end_, *front_end_, doc_->RollInformation());
  doc->SetRollType(doc_->RollType());
  doc_ = std::move(doc);
  view_->SetSource(&doc_->ScanData(), &strips_);
  save_path_.clear();
  last_run_.reset();
  MarkOffTrackHoles();
  ShowScannerDisplay();  // no conversion to show the values of
  UpdateView();
  ranking_.reset();
  ShowRollNotice();
  statusBar()->clearMessage();
  front_end_->RefreshControlBar("", "");
  UpdateTitle();
  ShowRollLength();
  view_->ScrollToTop();
}

void MainWindow::OnFileOpen() {
  const QString folder = ToQString(desktop_profile_.LastFolder());
  const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), folder,
                                                    LatinText(kOpenFileFilter) + QStringLiteral(";;All Files (*)"));
  if (!path.isEmpty()) OpenFile(path);
}

void MainWindow::OnFileSave() {
  if (save_path_.isEmpty()) {
    OnFileSaveAs();
    return;
  }
  SaveDocumentAs(save_path_);
}

void MainWindow::OnFileSaveAs() {
  QFileDialog dialog(this, QStringLiteral("Save As"), save_path_, LatinText(kRollFileFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("cis"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveDocumentAs(dialog.selectedFiles().first());
}

void MainWindow::OnRecentFile(int index) {
  const std::vector<std::string>& paths = recent_.Paths();
  if (index < 0 || index >= static_cast<int>(paths.size())) return;
  OpenFile(ToQString(paths[static_cast<size_t>(index)]));
}

// Settings menu: each dialog checks and stores its values on OK and says what changed.

void MainWindow::OnScanImageMidiSettings() {
  GeneralSettingsDialog dialog(session_.General, *profile_.Store, this);
  if (dialog.exec() == QDialog::Accepted) ActOn(dialog.Outcome());
}

void MainWindow::OnERollMidiSettings() {
  ERollSettingsDialog dialog(session_.ERoll, *profile_.Store, this);
  if (dialog.exec() == QDialog::Accepted) ActOn(dialog.Outcome());
}

void MainWindow::OnDiagnosticSettings() {
  DiagnosticSettingsDialog dialog(session_.Diagnostic, *profile_.Store, this);
  if (dialog.exec() == QDialog::Accepted) ActOn(dialog.Outcome());
}

void MainWindow::OnActiveTrackingSettings() {
  ActiveTrackingSettingsDialog dialog(session_.Tracking, *profile_.Store, this);
  if (dialog.exec() == QDialog::Accepted) ActOn(dialog.Outcome());
}

void MainWindow::OnTwinArraySettings() {
  TwinArraySettingsDialog dialog(session_.TwinArray, *profile_.Store, this);
  if (dialog.exec() == QDialog::Accepted) ActOn(dialog.Outcome());
}

void MainWindow::OnAudioSettings() {
  AudioChoices choices;
  for (const PortChoice& port : PlaybackPorts()) choices.Ports.emplace_back(port.Address, port.Name);
  if (CanPlay()) choices.CheckSoundFont = CheckSoundFontChoice;
  choices.InstalledSoundFont = InstalledSoundFontPath();
  AudioSettingsDialog dialog(audio_, *profile_.Store, std::move(choices), this);
  dialog.exec();
}

void MainWindow::OnAbout() {
  AboutBox about(this);
  about.exec();
}

// Control bar --------------------------------------------------------------------------------

void MainWindow::OnRollTypeChosen(int index) {
  if (index < 0 || index >= static_cast<int>(roll_type_names_.size())) return;
  session_.Roll.ActiveRollTypeName = roll_type_names_[static_cast<size_t>(index)];
  ReportIfFailed(session_.Roll.Save(*profile_.Store));
  ApplyRollTypeChange();
  front_end_->SetReprocessPending(true);
  UpdateView();
}

void MainWindow::OnRecogniseRollType() {
  if (!HasRoll()) return;
  if (LibraryRollTypes().empty()) {
    statusBar()->showMessage(QStringLiteral("The roll type library holds no roll types to recognise."));
    return;
  }
  MeasuredAlignment measured;
  {
    const BusyCursor busy;
    measured = MeasureOpenRoll(nullptr, true);
  }
  if (!measured.Outcome.ok()) {
    statusBar()->showMessage(ToQString(measured.Outcome.message()));
    return;
  }
  statusBar()->showMessage(ToQString(RecognitionText(measured.Report, doc_->RollTypeName())));
  if (!measured.Report.Ranking.Decided) return;
  const auto found = std::find(roll_type_names_.begin(), roll_type_names_.end(), measured.Report.Ranking.Recognised);
  if (found == roll_type_names_.end()) return;
  const int index = static_cast<int>(found - roll_type_names_.begin());
  bar_->SelectRollType(index);
  OnRollTypeChosen(index);
}

void MainWindow::OnOffsetNudged(double inches) {
  session_.Presets.NudgeOffset(inches);
  ShowScannerDisplay();
  front_end_->SetReprocessPending(true);
  UpdateView();
}

void MainWindow::OnScannerSettings() {
  ScannerSettingsDialog dialog(session_.Presets, *profile_.Store, this);
  if (HasRoll()) {
    dialog.SetAlignmentMeasurer([this](const ScannerSettings& edited) { return MeasureOpenRoll(&edited, false); });
  }
  if (dialog.exec() == QDialog::Accepted) ActOn(dialog.Outcome());
}

void MainWindow::OnReprocess() {
  OnStop();
  statusBar()->clearMessage();  // it spoke of the conversion before
  const RunSettings settings = session_.ForRun();
  std::string failure;
  const bool finished = RunCaught([&] { doc_->RunPipeline(settings); }, failure);
  RememberRun(settings);
  if (!finished) {
    front_end_->ShowMessage(MessageKind::kError, "The conversion could not be finished: " + failure);
    front_end_->SetReprocessPending(true);  // the outputs were not all written: offer it again
  }
  if (finished) {
    ShowScannerOfRun();
  } else {
    ShowScannerDisplay();
    UpdateView();
  }
  ShowRollLength();
  ShowRollNotice();
  ShowPlayback();
  view_->viewport()->repaint();
}

void MainWindow::OnAlignFromBanner() {
  if (!HasRoll()) return;
  ScannerSettingsDialog dialog(session_.Presets, *profile_.Store, this);
  dialog.SetAlignmentMeasurer([this](const ScannerSettings& edited) { return MeasureOpenRoll(&edited, false); });
  // The dialog opens with the roll measured: its fields hold the values found.
  if (auto* align = dialog.findChild<QPushButton*>(QStringLiteral("AlignToRoll")))
    QMetaObject::invokeMethod(align, &QPushButton::click, Qt::QueuedConnection);
  if (dialog.exec() != QDialog::Accepted) return;
  ActOn(dialog.Outcome());
  if (state_.IsReprocessPending()) OnReprocess();
}

void MainWindow::OnRecogniseFromBanner() {
  const std::string before = doc_->RollTypeName();
  OnRecogniseRollType();
  if (doc_->RollTypeName() != before) OnReprocess();
}

void MainWindow::OnScanMidiToggled(bool on) {
  state_.SetScanMidi(on);
  session_.Outputs.ScanMidi = on;
  ReportIfFailed(session_.Outputs.SaveScanMidi(*profile_.Store));
  front_end_->ShowState();
  RefreshFileFields();
}

void MainWindow::OnERollMidiToggled(bool on) {
  state_.SetERollMidi(on);
  session_.Outputs.eRollMidi = on;
  ReportIfFailed(session_.Outputs.SaveERollMidi(*profile_.Store));
  front_end_->ShowState();
  RefreshFileFields();
}

void MainWindow::OnExpressionMidiToggled(bool on) {
  state_.SetExpressionMidi(on);
  session_.Outputs.WriteExpressionMidi = on;
  ReportIfFailed(session_.Outputs.SaveWriteExpressionMidi(*profile_.Store));
  front_end_->ShowState();
  RefreshFileFields();
}

void MainWindow::OnZoomIn() {
  if (!state_.Zoom().CanZoomIn()) return;
  state_.ZoomIn();
  front_end_->ShowState();
  UpdateView();
}

void MainWindow::OnZoomOut() {
  if (!state_.Zoom().CanZoomOut()) return;
  state_.ZoomOut();
  front_end_->ShowState();
  UpdateView();
}

void MainWindow::SetZoomLevel(int level) {
  state_.SetZoom(level);
  front_end_->ShowState();
  UpdateView();
}

void MainWindow::OnTrackingCorrectionsToggled(bool on) {
  state_.SetShowTrackingCorrections(on);
  front_end_->ShowState();
  UpdateView();
}

void MainWindow::OnViewHistogram() {
  HistogramWindow window(doc_->Summary().SpacingHistogram, session_.Diagnostic, doc_->FileName(), this);
  window.exec();
}

void MainWindow::OnCisData() {
  // The header of the open file; without one the entries are only shown.
  CisScanData* scan = doc_->FileNameWithExtension().empty() ? nullptr : &doc_->ScanData();
  const SavedHeader before = HeaderNow();
  CisDataDialog dialog(SummarizeHeader(doc_->ScanData().Header), scan, this);
  if (dialog.exec() != QDialog::Accepted) return;
  // The roll information the files embed says what the header says: a corrected title or
  // tempo replaces the one the roll information took from the header as read.
  const SavedHeader after = HeaderNow();
  RollInfo& info = doc_->RollInformation();
  if (after.Title != before.Title) info.Title = after.Title;
  if (after.Tempo != before.Tempo) info.RollTempo = std::to_string(after.Tempo);
  ActOn(dialog.Outcome());
  UpdateTitle();
}

void MainWindow::OnEmbeddedText() {
  RollInfoDialog dialog(doc_->RollInformation(), *profile_.Store, this);
  if (dialog.exec() == QDialog::Accepted) ActOn(dialog.Outcome());
  view_->viewport()->update();
}

}  // namespace tarvelo::app

namespace tarvelo::app {

// Listening ------------------------------------------------------------------------------------

void MainWindow::RememberRun(const RunSettings& settings) {
  last_run_ = LastRun{settings, doc_->ScanData().Header.Tempo, doc_->RollType()};
  MarkOffTrackHoles();
}

// Off-track holes ----------------------------------------------------------------------------

void MainWindow::OnShowOffTrackHolesToggled(bool on) {
  ReportIfFailed(desktop_profile_.SaveShowOffTrackHoles(on));
  MarkOffTrackHoles();
}

void MainWindow::MarkOffTrackHoles() {
  std::vector<MarkedHole> marks;
  // The holes as the last run placed them: with the roll type it ran with.
  if (off_track_action_ && off_track_action_->isChecked() && last_run_ && HasRoll()) {
    std::string failure;
    const BusyCursor busy;
    const bool listed = RunCaught(
        [&] {
          for (const OffTrackHole& hole : ListOffTrackHoles(doc_->ScanData(), doc_->LookupMap(), last_run_->RollType))
            marks.push_back({hole.Start, hole.End, hole.Left, hole.Right, hole.FirstLine});
        },
        failure);
    if (!listed) marks.clear();  // the view goes without its marks
  }
  view_->SetMarkedHoles(std::move(marks));
}

void MainWindow::ShowPlayback() {
  const bool playing = IsPlaying();
  const bool can_play = HasRoll() && last_run_.has_value();
  bar_->ShowPlayback(can_play, playing);
  if (play_action_) play_action_->setEnabled(can_play && !playing);
  if (stop_action_) stop_action_->setEnabled(playing);
}

void MainWindow::OnPlay() {
  if (IsPlaying() || !HasRoll() || !last_run_) return;
  RollToHear heard;
  Result chosen;
  std::string failure;
  {
    const BusyCursor busy;
    if (!RunCaught(
            [&] {
              chosen = ChooseRollToHear(*doc_, last_run_->Settings, last_run_->Tempo, last_run_->RollType, heard);
            },
            failure))
      chosen = Result::IoError("the roll could not be made ready to play: " + failure);
  }
  if (!chosen.ok()) {
    front_end_->ShowMessage(MessageKind::kWarning, "Nothing can be played: " + chosen.message());
    return;
  }
  PlaybackInstrument instrument;
  Result opened;
  if (!RunCaught([&] { opened = open_instrument_(audio_, instrument); }, failure))
    opened = Result::IoError("the instrument could not be opened: " + failure);
  if (!opened.ok() || !instrument.Sink) {
    front_end_->ShowMessage(MessageKind::kError, "The roll cannot be played: " + opened.message() +
                                                     ". Settings, Audio Settings chooses what it is played to.");
    return;
  }
  // From the reference line when one is drawn, else from the inch at the top of the view; from
  // the start when that is past the last note.
  const double inch = view_->ReferenceInch().value_or(view_->InchAtTop());
  double from = SecondsAtRollInch(heard.Timing, inch);
  if (from >= heard.Schedule.EndSeconds()) from = 0;
  // A piano on a port has a soft pedal of its own; the software synthesizer has none.
  if (!instrument.HasSoftPedal) LowerVelocitiesUnderSoftPedal(heard.Schedule);
  const std::string description = instrument.Description;
  heard_ = heard;
  player_.Start(std::move(heard.Schedule), from, std::move(instrument), make_clock_());
  play_timer_->start();
  // What is heard is the last conversion: changed settings are heard after Re-Process.
  statusBar()->showMessage(
      QStringLiteral("Playing the %1 file from inch %2 on %3%4")
          .arg(ToQString(heard_.Source))
          .arg(from > 0 ? inch : 0.0, 0, 'f', 1)
          .arg(ToQString(description))
          .arg(state_.IsReprocessPending()
                   ? QStringLiteral(", as last converted (Re-Process to hear the changed settings)")
                   : QString()));
  ShowPlayback();
  // The space bar stops it again: the focus goes to the view, not to a button (a button takes
  // the space bar for itself).
  view_->setFocus();
  FollowPlaying();
}

void MainWindow::OnStop() {
  if (!IsPlaying()) return;
  player_.Stop();
  play_timer_->stop();
  view_->ShowPlayLine(std::nullopt);
  statusBar()->showMessage(QStringLiteral("Stopped."));
  ShowPlayback();
  if (bar_->StopButton()->hasFocus()) view_->setFocus();
}

void MainWindow::FollowPlaying() {
  if (!IsPlaying()) return;
  if (player_.HasEnded()) {
    player_.Finish();
    play_timer_->stop();
    view_->ShowPlayLine(std::nullopt);
    statusBar()->showMessage(QStringLiteral("Played to the end of the roll."));
    ShowPlayback();
    return;
  }
  // The inch under the tracker bar, at the top of the view.
  const double inches = heard_.Timing.RollInchesAtSeconds(player_.Position());
  view_->ScrollToInch(std::max(inches, 0.0));
  view_->ShowPlayLine(inches);
}

}  // namespace tarvelo::app
