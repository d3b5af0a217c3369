#include "app/ControlBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>

#include "app/LampWidget.h"
#include "app/QtText.h"
#include "midi/VersionText.h"
#include "support/RgbImage.h"

namespace tarvelo::app {

namespace {

// A display field. Fields that grow with the bar (added with a stretch factor) take `width` as
// their least width and cut long texts rather than widening the bar; the others are `width`
// wide.
enum class FieldWidth { kFixed, kGrows };
QLabel* Field(const char* name, int width, FieldWidth kind) {
  auto* field = new QLabel;
  field->setObjectName(name);
  field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  field->setTextFormat(Qt::PlainText);
  if (kind == FieldWidth::kGrows) {
    field->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    field->setMinimumWidth(width);
  } else {
    field->setFixedWidth(width);
  }
  return field;
}

QPushButton* Button(const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromLatin1(text));
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* CheckBox(const char* text, const char* name) {
  auto* box = new QCheckBox(QString::fromLatin1(text));
  box->setObjectName(name);
  return box;
}

QFrame* Separator() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

// A lamp with its text, as one row of the scanner display.
QHBoxLayout* LampRow(LampWidget* lamp, QWidget* text) {
  auto* row = new QHBoxLayout;
  row->setSpacing(4);
  row->addWidget(lamp);
  row->addWidget(text);
  return row;
}

// The least time between two paints of the status and progress while a conversion runs.
constexpr qint64 kPaintIntervalMs = 20;

constexpr const char* kRecogniseEntryText = "Recognise From This Roll";

}  // namespace

ControlBar::ControlBar(QWidget* parent) : QWidget(parent) {
  setObjectName("controlBar");
  version_ = new QLabel(ToQString(VersionText().FullText()));
  version_->setObjectName("versionText");
  status_ = Field("statusField", 180, FieldWidth::kGrows);
  progress_ = new QProgressBar;
  progress_->setObjectName("progressBar");
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  progress_->setFixedWidth(200);
  progress_->setMaximumHeight(16);

  auto* file_label = new QLabel(QStringLiteral("File : "));
  file_ = Field("fileField", 110, FieldWidth::kGrows);
  title_ = Field("titleField", 130, FieldWidth::kGrows);

  dpi_ = Field("dpiField", 64, FieldWidth::kFixed);
  offset_ = Field("offsetField", 104, FieldWidth::kFixed);
  stretch_ = Field("stretchField", 104, FieldWidth::kFixed);
  mode_ = Field("modeField", 120, FieldWidth::kGrows);
  preset_ = Field("presetField", 80, FieldWidth::kGrows);
  tracking_lamp_ = new LampWidget;
  tracking_lamp_->setObjectName("trackingLamp");
  tracking_ = new QLabel;
  tracking_->setObjectName("trackingText");
  nudge_left_ = Button("<--", "nudgeLeft");
  nudge_right_ = Button("-->", "nudgeRight");
  nudge_left_->setToolTip(QStringLiteral("Move the scanner offset 0.025 inch to the left"));
  nudge_right_->setToolTip(QStringLiteral("Move the scanner offset 0.025 inch to the right"));
  nudge_left_->setFixedWidth(34);
  nudge_right_->setFixedWidth(34);
  scanner_settings_ = Button("Scanner Settings", "scannerSettings");

  auto* skew_lamp = new LampWidget;
  auto* skew = new QLabel(QString::fromLatin1(kSkewCorrectionText));
  auto* punch_fit_lamp = new LampWidget;
  auto* punch_fit = new QLabel(QString::fromLatin1(kPunchFittingText));
  skew->setEnabled(false);
  punch_fit->setEnabled(false);

  auto* roll_type_label = new QLabel(QStringLiteral("Roll Type "));
  roll_type_ = new QComboBox;
  roll_type_->setObjectName("rollType");
  roll_type_->setMinimumWidth(150);
  roll_type_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  roll_type_->setMinimumContentsLength(14);
  reprocess_ = Button("Re-Process", "reprocess");
  reprocess_->setToolTip(QStringLiteral("Convert the roll again with the changed settings (F5)"));

  scan_midi_ = CheckBox("ScanMIDI", "scanMidi");
  scan_midi_lamp_ = new LampWidget;
  scan_midi_lamp_->setObjectName("scanMidiLamp");
  eroll_midi_ = CheckBox("eRollMIDI", "eRollMidi");
  eroll_midi_lamp_ = new LampWidget;
  eroll_midi_lamp_->setObjectName("eRollMidiLamp");
  punch_midi_ = CheckBox("PunchMIDI", "punchMidi");
  punch_midi_->setEnabled(false);

  zoom_in_ = Button("Zoom In", "zoomIn");
  zoom_out_ = Button("Zoom Out", "zoomOut");
  zoom_in_->setToolTip(QStringLiteral("Ctrl++"));
  zoom_out_->setToolTip(QStringLiteral("Ctrl+-"));
  tracking_corrections_ = CheckBox("Show Tracking Corrections", "trackingCorrections");
  histogram_ = Button("View Spacing Histogram", "viewHistogram");
  cis_data_ = Button("CIS Data", "cisData");
  embedded_text_ = Button("View/Set Embedded Text", "embeddedText");

  // Row 1: version, status, progress and the first feature indicator.
  auto* top = new QHBoxLayout;
  top->addWidget(version_);
  top->addWidget(status_, 1);
  top->addWidget(progress_);
  top->addWidget(Separator());
  top->addLayout(LampRow(skew_lamp, skew));
  // Row 2: the file, the roll type, the conversion and the file's texts.
  auto* file_row = new QHBoxLayout;
  file_row->addWidget(file_label);
  file_row->addWidget(file_, 2);
  file_row->addWidget(title_, 3);
  file_row->addWidget(Separator());
  file_row->addWidget(roll_type_label);
  file_row->addWidget(roll_type_);
  file_row->addWidget(reprocess_);
  file_row->addWidget(Separator());
  file_row->addWidget(cis_data_);
  file_row->addWidget(embedded_text_);
  // Row 3: the scanner display.
  auto* scanner_row = new QHBoxLayout;
  scanner_row->addWidget(dpi_);
  scanner_row->addWidget(offset_);
  scanner_row->addWidget(nudge_left_);
  scanner_row->addWidget(nudge_right_);
  scanner_row->addWidget(stretch_);
  scanner_row->addWidget(mode_, 2);
  scanner_row->addWidget(preset_, 1);
  scanner_row->addLayout(LampRow(tracking_lamp_, tracking_));
  scanner_row->addWidget(scanner_settings_);
  // Row 4: outputs, view commands and the second feature indicator.
  auto* view_row = new QHBoxLayout;
  view_row->addWidget(scan_midi_);
  view_row->addWidget(scan_midi_lamp_);
  view_row->addSpacing(6);
  view_row->addWidget(eroll_midi_);
  view_row->addWidget(eroll_midi_lamp_);
  view_row->addSpacing(6);
  view_row->addWidget(punch_midi_);
  view_row->addWidget(Separator());
  view_row->addWidget(zoom_in_);
  view_row->addWidget(zoom_out_);
  view_row->addWidget(tracking_corrections_);
  view_row->addWidget(histogram_);
  view_row->addStretch(1);
  view_row->addWidget(Separator());
  view_row->addLayout(LampRow(punch_fit_lamp, punch_fit));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(3);
  layout->addLayout(top);
  layout->addLayout(file_row);
  layout->addLayout(scanner_row);
  layout->addLayout(view_row);

  connect(roll_type_, &QComboBox::activated, this, &ControlBar::OnRollTypeActivated);
  connect(nudge_left_, &QPushButton::clicked, this, [this] { emit OffsetNudged(-kOffsetNudgeInches); });
  connect(nudge_right_, &QPushButton::clicked, this, [this] { emit OffsetNudged(kOffsetNudgeInches); });
  connect(scanner_settings_, &QPushButton::clicked, this, &ControlBar::ScannerSettingsRequested);
  connect(reprocess_, &QPushButton::clicked, this, &ControlBar::ReprocessRequested);
  connect(scan_midi_, &QCheckBox::clicked, this, &ControlBar::ScanMidiToggled);
  connect(eroll_midi_, &QCheckBox::clicked, this, &ControlBar::ERollMidiToggled);
  connect(zoom_in_, &QPushButton::clicked, this, &ControlBar::ZoomInRequested);
  connect(zoom_out_, &QPushButton::clicked, this, &ControlBar::ZoomOutRequested);
  connect(tracking_corrections_, &QCheckBox::clicked, this, &ControlBar::TrackingCorrectionsToggled);
  connect(histogram_, &QPushButton::clicked, this, &ControlBar::HistogramRequested);
  connect(cis_data_, &QPushButton::clicked, this, &ControlBar::CisDataRequested);
  connect(embedded_text_, &QPushButton::clicked, this, &ControlBar::EmbeddedTextRequested);

  ShowState(WindowState());
}

void ControlBar::ShowState(const WindowState& state) {
  reprocess_->setEnabled(state.IsReprocessPending());
  zoom_in_->setEnabled(state.Zoom().CanZoomIn());
  zoom_out_->setEnabled(state.Zoom().CanZoomOut());
  tracking_corrections_->setEnabled(state.CanShowTrackingCorrections());
  tracking_corrections_->setChecked(state.ShowTrackingCorrections());
  scan_midi_->setChecked(state.ScanMidi());
  eroll_midi_->setChecked(state.ERollMidi());
  scan_midi_lamp_->SetLamp(state.ScanMidiLamp());
  eroll_midi_lamp_->SetLamp(state.ERollMidiLamp());
  status_->setText(ToQString(state.StatusText()));
  ShowProgress(state.ProgressColour(), state.ProgressPosition());
}

void ControlBar::ShowStatus(const std::string& text) {
  status_->setText(ToQString(text));
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
  dpi_->setText(ToQString(display.Dpi));
  offset_->setText(ToQString(display.Offset));
  stretch_->setText(ToQString(display.Stretch));
  mode_->setText(ToQString(display.Mode));
  preset_->setText(ToQString(display.PresetName));
  tracking_->setText(ToQString(display.Tracking));
  tracking_->setEnabled(display.TrackingOn);
  tracking_lamp_->SetLamp(display.TrackingLamp);
}

void ControlBar::ShowFile(const std::string& file_name_with_extension, const std::string& title) {
  file_->setText(ToQString(file_name_with_extension));
  title_->setText(ToQString(title));
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

void ControlBar::ShowPunchMidi(bool on) { punch_midi_->setChecked(on); }

}  // namespace tarvelo::app
