#include "app/ControlBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <utility>

#include "app/ElidedLabel.h"
#include "app/FlowLayout.h"
#include "app/LampWidget.h"
#include "app/QtText.h"
#include "midi/VersionText.h"
#include "support/RgbImage.h"

namespace tarvelo::app {

namespace {

// A display field: the whole text when there is room, else cut in the middle, with the whole
// text as its tool tip. It asks for the width of `preferred` and makes do with that of `least`.
ElidedLabel* Field(const char* name, const char* least, const char* preferred, const char* tip) {
  auto* field = new ElidedLabel(QString::fromLatin1(least), QString::fromLatin1(preferred));
  field->setObjectName(name);
  field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  field->setMargin(1);
  field->setStatusTip(QString::fromLatin1(tip));
  field->setWhatsThis(QString::fromLatin1(tip));
  return field;
}

QPushButton* Button(const char* text, const char* name, const QString& tip) {
  auto* button = new QPushButton(QString::fromLatin1(text));
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setToolTip(tip);
  return button;
}

QCheckBox* CheckBox(const char* text, const char* name, const QString& tip) {
  auto* box = new QCheckBox(QString::fromLatin1(text));
  box->setObjectName(name);
  box->setToolTip(tip);
  return box;
}

// One group of the bar: its controls side by side, kept together when the bar wraps. Items
// given with a stretch above 0 take the group's room to spare.
struct Item {
  QWidget* widget;
  int stretch = 0;
};
QWidget* Group(const char* name, std::initializer_list<Item> items) {
  auto* group = new QWidget;
  group->setObjectName(name);
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  for (const Item& item : items) row->addWidget(item.widget, item.stretch);
  return group;
}

// A lamp and its text as one control.
QWidget* LampWithText(LampWidget* lamp, QWidget* text) {
  auto* pair = new QWidget;
  auto* row = new QHBoxLayout(pair);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(4);
  row->addWidget(lamp);
  row->addWidget(text);
  return pair;
}

// The mark before the scanner values: "Auto-Tweak" in bold on the notice banner's information
// colours when a conversion used Auto-Tweak's values, a plain "Preset" otherwise. It keeps the
// width of the bold text either way, so the bar keeps its rows when the mark changes.
QLabel* MakeValuesMark() {
  auto* mark = new QLabel(QString::fromLatin1(kPresetValuesText));
  mark->setObjectName("scannerValuesMark");
  mark->setAlignment(Qt::AlignCenter);
  QFont bold = mark->font();
  bold.setBold(true);
  mark->setFixedWidth(QFontMetrics(bold).horizontalAdvance(QString::fromLatin1(kAutoTweakValuesText)) + 12);
  return mark;
}

void ShowValuesMark(QLabel& mark, bool tweaked) {
  mark.setText(QString::fromLatin1(tweaked ? kAutoTweakValuesText : kPresetValuesText));
  mark.setStyleSheet(tweaked ? QStringLiteral("#scannerValuesMark { font-weight: bold; background: #dceafa; "
                                              "border: 1px solid #6e96c8; }")
                             : QStringLiteral("#scannerValuesMark { border: 1px solid transparent; }"));
}

// The least time between two paints of the status and progress while a conversion runs.
constexpr qint64 kPaintIntervalMs = 20;

constexpr const char* kRecogniseEntryText = "Recognise From This Roll";

}  // namespace

ControlBar::ControlBar(QWidget* parent) : QWidget(parent) {
  setObjectName("controlBar");
  version_ = new QLabel(ToQString(VersionText().FullText()));
  version_->setObjectName("versionText");
  version_->setToolTip(QStringLiteral("The converter's version, as the MIDI files record it"));
  status_ = Field("statusField", "Computing", "Computing Scan", "What the conversion is doing, or Ready");
  progress_ = new QProgressBar;
  progress_->setObjectName("progressBar");
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  progress_->setMinimumWidth(80);
  progress_->setMaximumHeight(16);
  progress_->setToolTip(QStringLiteral("How far the conversion is"));

  auto* file_label = new QLabel(QStringLiteral("File : "));
  file_ = Field("fileField", "Duo-Art…", "Duo-Art 6064 The Swan.CIS", "The roll scan open");
  title_ = Field("titleField", "The Swan…", "The Swan (Saint-Saens)", "The roll's title in the scan's header");

  values_mark_ = MakeValuesMark();
  dpi_ = Field("dpiField", "300 DPI", "1200 DPI", "The scanner's pixels per inch across the roll");
  offset_ = Field("offsetField", "Offset = 1.134", "Offset = -1.12345678", "The scanner offset in use, in inches");
  stretch_ = Field("stretchField", "Stretch = 1.00", "Stretch = 0.99999999", "The scanner stretch in use");
  mode_ = Field("modeField", "Mode1…", "Mode1 - no encoding", "The scanner mode in use");
  preset_ = Field("presetField", "My Sc…", "My Scanner", "The scanner preset in use");
  tracking_lamp_ = new LampWidget;
  tracking_lamp_->setObjectName("trackingLamp");
  tracking_ = new QLabel;
  tracking_->setObjectName("trackingText");
  tracking_->setToolTip(QStringLiteral("Whether the tracking follows the paper's sideways wander (Scanner Settings)"));
  // The arrows move the preset's offset; a conversion with Auto-Tweak on measures its own.
  const QString anew = QStringLiteral(" (Auto-Tweak, when on, measures the offset anew at each conversion)");
  nudge_left_ =
      Button("<--", "nudgeLeft", QStringLiteral("Move the preset's scanner offset 0.025 inch to the left") + anew);
  nudge_right_ =
      Button("-->", "nudgeRight", QStringLiteral("Move the preset's scanner offset 0.025 inch to the right") + anew);
  for (QPushButton* nudge : {nudge_left_, nudge_right_})
    nudge->setFixedWidth(nudge->fontMetrics().horizontalAdvance(QStringLiteral("-->")) + 18);
  scanner_settings_ = Button("Scanner Settings", "scannerSettings",
                             QStringLiteral("Edit the scanner presets, or align the scanner values to this roll"));

  auto* skew_lamp = new LampWidget;
  auto* skew = new QLabel(QString::fromLatin1(kSkewCorrectionText));
  auto* punch_fit_lamp = new LampWidget;
  auto* punch_fit = new QLabel(QString::fromLatin1(kPunchFittingText));
  skew->setEnabled(false);
  punch_fit->setEnabled(false);
  const QString not_offered = QStringLiteral("Not offered by this program");
  skew->setToolTip(not_offered);
  punch_fit->setToolTip(not_offered);

  auto* roll_type_label = new QLabel(QStringLiteral("Roll Type "));
  roll_type_ = new QComboBox;
  roll_type_->setObjectName("rollType");
  // As wide as its longest entry, so no roll type's name is cut.
  roll_type_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  roll_type_->setToolTip(QStringLiteral("The roll type the holes are mapped through"));
  roll_type_label->setBuddy(roll_type_);
  reprocess_ =
      Button("Re-Process", "reprocess", QStringLiteral("Convert the roll again with the changed settings (F5)"));

  scan_midi_ = CheckBox("ScanMIDI", "scanMidi", QStringLiteral("Write the ScanImage MIDI file, every hole as a note"));
  scan_midi_lamp_ = new LampWidget;
  scan_midi_lamp_->setObjectName("scanMidiLamp");
  eroll_midi_ = CheckBox("eRollMIDI", "eRollMidi",
                         QStringLiteral("Write the eRoll MIDI file, the holes mapped through the roll type"));
  eroll_midi_lamp_ = new LampWidget;
  eroll_midi_lamp_->setObjectName("eRollMidiLamp");
  expression_midi_ = CheckBox("ExpressionMIDI", "expressionMidi",
                              QStringLiteral("Write the expression MIDI file: the eRoll notes played with the dynamics "
                                             "and pedals of the roll type's expression system"));
  expression_midi_lamp_ = new LampWidget;
  expression_midi_lamp_->setObjectName("expressionMidiLamp");
  for (LampWidget* lamp : {scan_midi_lamp_, eroll_midi_lamp_, expression_midi_lamp_})
    lamp->setToolTip(QStringLiteral("Green: written by the last conversion; yellow: still to be written"));
  punch_midi_ = CheckBox("PunchMIDI", "punchMidi", not_offered);
  punch_midi_->setEnabled(false);

  zoom_in_ = Button("Zoom In", "zoomIn", QStringLiteral("Show the roll larger (Ctrl++, Ctrl+wheel)"));
  zoom_out_ = Button("Zoom Out", "zoomOut", QStringLiteral("Show more of the roll (Ctrl+-, Ctrl+wheel)"));
  auto* go_to_label = new QLabel(QStringLiteral("Go to inch"));
  go_to_inch_ = new QDoubleSpinBox;
  go_to_inch_->setObjectName("goToInch");
  go_to_inch_->setDecimals(1);
  go_to_inch_->setRange(0, 0);
  go_to_inch_->setKeyboardTracking(false);
  go_to_inch_->setAccelerated(true);
  go_to_inch_->setToolTip(
      QStringLiteral("The inch of the roll at the top of the view; enter another to go there (Home, End: the roll's "
                     "ends)"));
  go_to_label->setBuddy(go_to_inch_);
  tracking_corrections_ = CheckBox("Show Tracking Corrections", "trackingCorrections",
                                   QStringLiteral("Show each scan line where the tracking put it"));
  histogram_ = Button("View Spacing Histogram", "viewHistogram",
                      QStringLiteral("The spacing between holes, a check of the take-up spool acceleration setting"));
  cis_data_ =
      Button("CIS Data", "cisData", QStringLiteral("The scan's header: correct its title, tempo and lines per inch"));
  embedded_text_ = Button("View/Set Embedded Text", "embeddedText",
                          QStringLiteral("The roll information embedded into the MIDI files"));
  play_ = Button("Play", "play",
                 QStringLiteral("Hear the converted roll from the reference line (right button) or the top of the "
                                "view: its expression file when the roll type has an expression system, else its "
                                "eRoll notes (Space)"));
  stop_ = Button("Stop", "stop", QStringLiteral("Stop playing (Space)"));

  // The bar wraps its groups onto more rows where the window is narrow.
  auto* layout = new FlowLayout(this, 12);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->AddWidget(Group("conversionGroup", {{version_}, {status_, 1}, {progress_, 1}}), 3);
  layout->AddWidget(
      Group("featureGroup", {{LampWithText(skew_lamp, skew)}, {LampWithText(punch_fit_lamp, punch_fit)}}));
  layout->AddWidget(Group("fileGroup", {{file_label}, {file_, 1}, {title_, 1}}), 3);
  layout->AddWidget(Group("rollTypeGroup", {{roll_type_label}, {roll_type_}, {reprocess_}}));
  layout->AddWidget(Group("headerGroup", {{cis_data_}, {embedded_text_}}));
  layout->AddWidget(
      Group("scannerValuesGroup", {{values_mark_}, {dpi_}, {offset_}, {nudge_left_}, {nudge_right_}, {stretch_}}));
  layout->AddWidget(
      Group("scannerGroup", {{mode_, 2}, {preset_, 1}, {LampWithText(tracking_lamp_, tracking_)}, {scanner_settings_}}),
      2);
  outputs_ = Group("outputsGroup", {{scan_midi_},
                                    {scan_midi_lamp_},
                                    {eroll_midi_},
                                    {eroll_midi_lamp_},
                                    {expression_midi_},
                                    {expression_midi_lamp_},
                                    {punch_midi_}});
  layout->AddWidget(outputs_);
  layout->AddWidget(Group("zoomGroup", {{zoom_in_}, {zoom_out_}, {go_to_label}, {go_to_inch_}}));
  layout->AddWidget(Group("viewGroup", {{tracking_corrections_}, {histogram_}}));
  layout->AddWidget(Group("listenGroup", {{play_}, {stop_}}));

  connect(roll_type_, &QComboBox::activated, this, &ControlBar::OnRollTypeActivated);
  connect(nudge_left_, &QPushButton::clicked, this, [this] { emit OffsetNudged(-kOffsetNudgeInches); });
  connect(nudge_right_, &QPushButton::clicked, this, [this] { emit OffsetNudged(kOffsetNudgeInches); });
  connect(scanner_settings_, &QPushButton::clicked, this, &ControlBar::ScannerSettingsRequested);
  connect(reprocess_, &QPushButton::clicked, this, &ControlBar::ReprocessRequested);
  connect(scan_midi_, &QCheckBox::clicked, this, &ControlBar::ScanMidiToggled);
  connect(eroll_midi_, &QCheckBox::clicked, this, &ControlBar::ERollMidiToggled);
  connect(expression_midi_, &QCheckBox::clicked, this, &ControlBar::ExpressionMidiToggled);
  connect(zoom_in_, &QPushButton::clicked, this, &ControlBar::ZoomInRequested);
  connect(zoom_out_, &QPushButton::clicked, this, &ControlBar::ZoomOutRequested);
  connect(go_to_inch_, &QDoubleSpinBox::valueChanged, this, [this](double inches) {
    if (!showing_inch_) emit GoToInchRequested(inches);
  });
  connect(tracking_corrections_, &QCheckBox::clicked, this, &ControlBar::TrackingCorrectionsToggled);
  connect(histogram_, &QPushButton::clicked, this, &ControlBar::HistogramRequested);
  connect(cis_data_, &QPushButton::clicked, this, &ControlBar::CisDataRequested);
  connect(embedded_text_, &QPushButton::clicked, this, &ControlBar::EmbeddedTextRequested);
  connect(play_, &QPushButton::clicked, this, &ControlBar::PlayRequested);
  connect(stop_, &QPushButton::clicked, this, &ControlBar::StopRequested);

  ShowState(WindowState());
  ShowPlayback(false, false);
}

void ControlBar::ShowState(const WindowState& state) {
  reprocess_->setEnabled(state.IsReprocessPending());
  zoom_in_->setEnabled(state.Zoom().CanZoomIn());
  zoom_out_->setEnabled(state.Zoom().CanZoomOut());
  tracking_corrections_->setEnabled(state.CanShowTrackingCorrections());
  tracking_corrections_->setChecked(state.ShowTrackingCorrections());
  scan_midi_->setChecked(state.ScanMidi());
  eroll_midi_->setChecked(state.ERollMidi());
  expression_midi_->setChecked(state.ExpressionMidi());
  scan_midi_lamp_->SetLamp(state.ScanMidiLamp());
  eroll_midi_lamp_->SetLamp(state.ERollMidiLamp());
  expression_midi_lamp_->SetLamp(state.ExpressionMidiLamp());
  status_->SetFullText(ToQString(state.StatusText()));
  ShowProgress(state.ProgressColour(), state.ProgressPosition());
}

void ControlBar::ShowStatus(const std::string& text) {
  status_->SetFullText(ToQString(text));
  PaintSoon();
}

void ControlBar::ShowProgress(uint32_t colour, int position) {
  const QColor bar(ColourRed(colour), ColourGreen(colour), ColourBlue(colour));
  QPalette palette = progress_->palette();
  if (palette.color(QPalette::Highlight) != bar) {
    palette.setColor(QPalette::Highlight, bar);
    progress_->setPalette(palette);
  }
  // QProgressBar paints itself at once on a visible step; the paints are paced here instead.
  progress_->setUpdatesEnabled(false);
  progress_->setValue(position);
  progress_->setUpdatesEnabled(true);
  PaintSoon();
}

void ControlBar::PaintSoon() {
  if (!last_paint_.isValid() || last_paint_.elapsed() >= kPaintIntervalMs) PaintStatusAndProgress();
}

void ControlBar::PaintStatusAndProgress() {
  if (!isVisible()) return;
  status_->repaint();
  progress_->repaint();
  last_paint_.start();
}

void ControlBar::ShowScanner(const ScannerDisplay& display) {
  const QString tip = ToQString(display.ValuesTip);
  ShowValuesMark(*values_mark_, display.AutoTweaked);
  values_mark_->setToolTip(tip);
  // Each value's tip: the value whole, then whose it is.
  for (const auto& [field, text] :
       {std::pair{dpi_, &display.Dpi}, std::pair{offset_, &display.Offset}, std::pair{stretch_, &display.Stretch}}) {
    field->SetFullText(ToQString(*text));
    field->setToolTip(field->text() + QStringLiteral("\n") + tip);
  }
  mode_->SetFullText(ToQString(display.Mode));
  mode_->setToolTip(mode_->text() + QStringLiteral("\n") + ToQString(display.ModeTip));
  preset_->SetFullText(ToQString(display.PresetName));
  tracking_->setText(ToQString(display.Tracking));
  tracking_->setEnabled(display.TrackingOn);
  tracking_lamp_->SetLamp(display.TrackingLamp);
}

void ControlBar::ShowFile(const std::string& file_name_with_extension, const std::string& title) {
  file_->SetFullText(ToQString(file_name_with_extension));
  title_->SetFullText(ToQString(title));
}

void ControlBar::SetRollLength(double inches) {
  const QSignalBlocker quiet(go_to_inch_);
  go_to_inch_->setRange(0, std::max(inches, 0.0));
}

void ControlBar::ShowInchAtTop(double inches) {
  if (go_to_inch_->hasFocus()) return;  // the user is typing an inch to go to
  showing_inch_ = true;
  go_to_inch_->setValue(inches);
  showing_inch_ = false;
}

void ControlBar::ShowRollTypes(const std::vector<std::string>& names, int selected) {
  const QSignalBlocker quiet(roll_type_);
  roll_type_->clear();
  for (const std::string& name : names) roll_type_->addItem(ToQString(name));
  roll_type_count_ = static_cast<int>(names.size());
  roll_type_->insertSeparator(roll_type_count_);
  roll_type_->addItem(QString::fromLatin1(kRecogniseEntryText));
  roll_type_->setItemData(RecogniseEntryIndex(),
                          QStringLiteral("Measure the open roll and choose the roll type whose tracks and "
                                         "control holes fit it best"),
                          Qt::ToolTipRole);
  SetRecogniseEnabled(false);
  roll_type_->setCurrentIndex(-1);
  SelectRollType(selected);
}

void ControlBar::SelectRollType(int index) {
  if (index < 0 || index >= roll_type_count_) return;
  const QSignalBlocker quiet(roll_type_);
  selected_roll_type_ = index;
  roll_type_->setCurrentIndex(index);
}

void ControlBar::SetRecogniseEnabled(bool enabled) {
  auto* model = qobject_cast<QStandardItemModel*>(roll_type_->model());
  if (QStandardItem* entry = model ? model->item(RecogniseEntryIndex()) : nullptr) entry->setEnabled(enabled);
}

void ControlBar::OnRollTypeActivated(int index) {
  if (index >= 0 && index < roll_type_count_) {
    selected_roll_type_ = index;
    emit RollTypeChosen(index);
    return;
  }
  // The recognition entry (or the separator) never stays selected: the roll type in use does
  // until the recognition chooses another.
  SelectRollType(selected_roll_type_);
  if (index == RecogniseEntryIndex()) emit RecogniseRollTypeRequested();
}

void ControlBar::ShowPlayback(bool can_play, bool playing) {
  play_->setEnabled(can_play && !playing);
  stop_->setEnabled(playing);
}

void ControlBar::ShowPunchMidi(bool on) { punch_midi_->setChecked(on); }

}  // namespace tarvelo::app
