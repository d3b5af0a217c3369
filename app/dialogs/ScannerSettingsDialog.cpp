#include "app/dialogs/ScannerSettingsDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialogs/AlignmentText.h"
#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"
#include "support/NumberFormat.h"

namespace tarvelo::app {

namespace {

// The scanner modes offered; the list is sorted and also takes any other name.
QComboBox* NewModeList() {
  auto* modes = new QComboBox;
  modes->setObjectName(QStringLiteral("ScannerModeType"));
  modes->setEditable(true);
  modes->setInsertPolicy(QComboBox::NoInsert);
  for (const char* mode : {kModeNoEncoding, kModeCountDown, kModeCountUp, kModeShaftEncoder})
    modes->addItem(QString::fromLatin1(mode));
  modes->model()->sort(0);
  return modes;
}

QWidget* WithHint(QLineEdit* field, const QString& hint) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(field);
  layout->addWidget(NoteLabel(hint));
  return box;
}

}  // namespace

ScannerSettingsDialog::ScannerSettingsDialog(ScannerPresets& presets, ProfileStore& store, QWidget* parent)
    : CheckedDialog(tr("Scanner Settings Dialog"), parent), presets_(presets), store_(store) {
  edit_.PresetName = presets_.CurrentPreset().PresetName;
  presets_.BeginPresetEdit(edit_);
  const char* section = ScannerPresets::kSection;

  preset_list_ = new QComboBox;
  preset_list_->setObjectName(QStringLiteral("PresetList"));
  for (int index = 0; index < kPresetCount; ++index)
    preset_list_->addItem(ToQString(presets_.Preset(index).PresetName));
  name_ = NamedLineEdit("PresetName", QString());
  auto* preset_group = new QGroupBox(
      tr("Store frequently used CIS file processing settings corresponding to different source scanners"));
  auto* preset_form = new QFormLayout(preset_group);
  preset_form->addRow(SettingLabel(section, "CurrentPreset"), preset_list_);
  preset_form->addRow(SettingLabel(section, name_), name_);

  dpi_ = NamedLineEdit("ScannerDPI", QString());
  offset_ = NamedLineEdit("ScannerOffset", QString());
  stretch_ = NamedLineEdit("ScannerAlignStretch", QString());
  mode_ = NewModeList();
  auto* geometry = new QFormLayout;
  geometry->addRow(SettingLabel(section, dpi_), dpi_);
  geometry->addRow(SettingLabel(section, offset_), WithHint(offset_, tr("Sets Position for Left Edge of Roll")));
  geometry->addRow(SettingLabel(section, stretch_),
                   WithHint(stretch_, tr("Expand/Shrink to Align Right Edge of Roll")));
  geometry->addRow(SettingLabel(section, mode_), mode_);

  align_ = new QPushButton(tr("Align to This Roll"));
  align_->setObjectName(QStringLiteral("AlignToRoll"));
  align_->setAutoDefault(false);
  align_->setEnabled(false);
  align_->setToolTip(
      tr("Measure the open roll and fill in the DPI, offset and stretch that put its holes on the "
         "tracks of the roll type in use"));
  measured_ = NoteLabel(QString());
  measured_->setObjectName(QStringLiteral("AlignmentMeasured"));
  measured_->setTextFormat(Qt::PlainText);
  measured_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  connect(align_, &QPushButton::clicked, this, &ScannerSettingsDialog::OnAlignToRoll);

  remove_acceleration_ = SettingCheckBox(section, "RemoveTakeupAccel", false);
  takeup_percent_ = NamedLineEdit("TakeupAccelPct", QString());
  auto* takeup_group = new QGroupBox(tr("Takeup Spool Drive Compensation"));
  auto* takeup_form = new QFormLayout(takeup_group);
  takeup_form->addRow(remove_acceleration_);
  takeup_form->addRow(SettingLabel(section, takeup_percent_), takeup_percent_);

  tracking_ = SettingCheckBox(section, "ActiveTracking", false);
  auto_tweak_ = SettingCheckBox(section, "AutoTweakSettings", edit_.AutoTweakSettings);
  auto* tracking_group = new QGroupBox(tr("Active Tracking"));
  auto* tracking_layout = new QVBoxLayout(tracking_group);
  tracking_layout->addWidget(tracking_);
  tracking_layout->addWidget(auto_tweak_);

  lighting_ = new QButtonGroup(this);
  auto* lighting_group = new QGroupBox(SettingLabel(section, "ScanLightingMethod"));
  auto* lighting_layout = new QVBoxLayout(lighting_group);
  const QString lighting_names[] = {tr("AutoDetect"), tr("Reflective"), tr("Transmissive")};
  for (int method = 0; method < 3; ++method) {
    auto* button = new QRadioButton(lighting_names[method]);
    button->setObjectName(QStringLiteral("ScanLightingMethod%1").arg(method));
    lighting_->addButton(button, method);
    lighting_layout->addWidget(button);
  }

  overlap_ = NamedLineEdit("TwinArrayOverlap", QString());
  vertical_offset_ = NamedLineEdit("TwinArrayVertOffset", QString());
  old_format_ = SettingCheckBox(section, "ForceOldCisFormat", false);
  auto* twin_group = new QGroupBox(tr("Twin Array Scanner Parameters"));
  auto* twin_form = new QFormLayout(twin_group);
  twin_form->addRow(SettingLabel(section, overlap_), overlap_);
  twin_form->addRow(SettingLabel(section, vertical_offset_), vertical_offset_);
  twin_form->addRow(old_format_);

  auto* left = new QVBoxLayout;
  left->addWidget(preset_group);
  left->addLayout(geometry);
  left->addWidget(align_, 0, Qt::AlignLeft);
  left->addWidget(measured_);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(takeup_group);
  right->addWidget(tracking_group);
  right->addWidget(lighting_group);
  right->addWidget(twin_group);
  auto* body = new QGridLayout;
  body->addLayout(left, 0, 0);
  body->addLayout(right, 0, 1);
  SetBody(body, tr("Apply"));

  // The fields the preset checks refuse values of.
  for (QWidget* field : std::initializer_list<QWidget*>{name_, dpi_, offset_, stretch_, mode_, takeup_percent_,
                                                        overlap_, vertical_offset_})
    AddSettingField(field);
  AddSettingField("ScanLightingMethod", lighting_->button(0));

  ShowPreset(presets_.CurrentIndex());
  connect(preset_list_, &QComboBox::currentIndexChanged, this, &ScannerSettingsDialog::OnPresetSelected);
}

void ScannerSettingsDialog::ShowPreset(int index) {
  const ScannerPreset& preset = presets_.Preset(index);
  {
    const QSignalBlocker blocker(preset_list_);
    preset_list_->setCurrentIndex(index);
  }
  name_->setText(ToQString(preset.PresetName));
  // The DPI as the profile holds it (the preset holds it only as a number).
  const std::string dpi_key = "ScannerDPI" + std::to_string(index);
  dpi_->setText(ProfileText(store_, ScannerPresets::kSection, dpi_key, std::to_string(preset.ScannerDPI)));
  offset_->setText(ToQString(preset.ScannerOffset));
  stretch_->setText(ToQString(preset.ScannerAlignStretch));
  mode_->setCurrentText(ToQString(preset.ScannerModeType));
  remove_acceleration_->setChecked(edit_.RemoveTakeupAccel);
  takeup_percent_->setText(ToQString(preset.TakeupAccelPct));
  tracking_->setChecked(edit_.ActiveTracking);
  auto_tweak_->setChecked(edit_.AutoTweakSettings);
  // A stored method outside the three choices leaves all three clear and is kept as it is.
  lighting_->setExclusive(false);
  for (QAbstractButton* button : lighting_->buttons())
    button->setChecked(lighting_->id(button) == edit_.ScanLightingMethod);
  lighting_->setExclusive(true);
  overlap_->setText(ToQString(preset.TwinArrayOverlap));
  vertical_offset_->setText(ToQString(preset.TwinArrayVertOffset));
  old_format_->setChecked(edit_.ForceOldCisFormat);
}

void ScannerSettingsDialog::OnPresetSelected(int index) {
  presets_.SelectPreset(index, edit_);
  ShowPreset(presets_.CurrentIndex());
}

void ScannerSettingsDialog::SetAlignmentMeasurer(AlignmentMeasurer measure) {
  measure_ = std::move(measure);
  align_->setEnabled(static_cast<bool>(measure_));
}

void ScannerSettingsDialog::OnAlignToRoll() {
  if (!measure_) return;
  MeasuredAlignment measured;
  {
    const BusyCursor busy;
    measured = measure_(EnteredValues());
  }
  if (!measured.Outcome.ok()) {
    measured_->setText(ToQString(measured.Outcome.message()));
    return;
  }
  // The values as Apply would store them.
  const ScannerSetting& suggestion = measured.Report.Suggestion.Fit.Setting;
  dpi_->setText(QString::number(suggestion.Dpi));
  offset_->setText(ToQString(FormatGcvt(suggestion.Offset, 8)));
  stretch_->setText(ToQString(FormatGcvt(suggestion.Stretch, 8)));
  measured_->setText(ToQString(MeasuredSettingsText(measured.Report)));
}

ScannerSettings ScannerSettingsDialog::EnteredValues() const {
  ScannerSettings entered = edit_;
  entered.PresetName = ToUtf8(name_->text());
  entered.ScannerDPI = FieldInt(dpi_->text());
  entered.ScannerOffset = FieldReal(offset_->text());
  entered.ScannerAlignStretch = FieldReal(stretch_->text());
  entered.ScannerModeType = ToUtf8(mode_->currentText());
  entered.RemoveTakeupAccel = remove_acceleration_->isChecked();
  entered.TakeupAccelPct = FieldReal(takeup_percent_->text());
  entered.ActiveTracking = tracking_->isChecked();
  entered.AutoTweakSettings = auto_tweak_->isChecked();
  if (lighting_->checkedId() >= 0) entered.ScanLightingMethod = lighting_->checkedId();
  entered.TwinArrayOverlap = FieldReal(overlap_->text());
  entered.TwinArrayVertOffset = FieldReal(vertical_offset_->text());
  entered.ForceOldCisFormat = old_format_->isChecked();
  return entered;
}

Result ScannerSettingsDialog::KeepEdits() {
  ScannerSettings entered = EnteredValues();
  if (Result checked = ValidatePresetEdit(entered); !checked.ok()) return checked;

  edit_ = std::move(entered);
  const Result saved = presets_.StorePreset(edit_, store_);
  DialogOutcome& outcome = MutableOutcome();
  outcome.ScannerDisplayChanged = true;
  outcome.ReprocessPending = true;
  outcome.Repaint = true;
  if (!saved.ok()) ReportSaveFailure(saved);
  return Result::Ok();
}

}  // namespace tarvelo::app
