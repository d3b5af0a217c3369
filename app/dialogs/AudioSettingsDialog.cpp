#include "app/dialogs/AudioSettingsDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/DialogWidgets.h"
#include "app/dialogs/FieldText.h"

namespace tarvelo::app {

AudioSettingsDialog::AudioSettingsDialog(AudioSettings& settings, ProfileStore& store, AudioChoices choices,
                                         QWidget* parent)
    : CheckedDialog(tr("Audio Settings"), parent), settings_(settings), store_(store), choices_(std::move(choices)) {
  output_ = new QComboBox;
  output_->setObjectName(QStringLiteral("MidiOutput"));
  output_->setToolTip(
      tr("Where Play sends the roll: the software synthesizer on the audio output, or an instrument "
         "(a player piano, a keyboard, a synthesizer program) on a MIDI port"));
  output_->addItem(tr("Software synthesizer"), QString());
  for (const auto& [address, name] : choices_.Ports)
    output_->addItem(ToQString(address + "  " + name), ToQString(address));
  int selected = output_->findData(ToQString(settings_.MidiOutput));
  if (selected < 0) {
    // A port stored earlier that is not there now stays chosen until the user picks another.
    output_->addItem(tr("%1 (not found now)").arg(ToQString(settings_.MidiOutput)), ToQString(settings_.MidiOutput));
    selected = output_->count() - 1;
  }
  output_->setCurrentIndex(selected);

  soundfont_ = NamedLineEdit("SoundFont", ToQString(settings_.SoundFont));
  soundfont_->setPlaceholderText(ToQString(choices_.InstalledSoundFont));
  soundfont_->setToolTip(
      tr("The SoundFont (.sf2) the software synthesizer plays with; empty: the installed "
         "General MIDI SoundFont"));
  soundfont_->setMinimumWidth(soundfont_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
  auto* browse = new QPushButton(tr("Browse..."));
  browse->setObjectName(QStringLiteral("BrowseSoundFont"));
  browse->setAutoDefault(false);
  browse->setToolTip(tr("Choose a SoundFont file"));
  connect(browse, &QPushButton::clicked, this, &AudioSettingsDialog::ChooseSoundFontFile);
  auto* soundfont_row = new QHBoxLayout;
  soundfont_row->addWidget(soundfont_, 1);
  soundfont_row->addWidget(browse);

  auto* form = new QFormLayout;
  form->addRow(SettingLabel(AudioSettings::kSection, output_), output_);
  form->addRow(SettingLabel(AudioSettings::kSection, soundfont_), soundfont_row);
  auto* body = new QVBoxLayout;
  body->addLayout(form);
  body->addWidget(
      NoteLabel(tr("A piano on a MIDI port plays its own soft pedal; the software synthesizer has none, "
                   "so notes under the soft pedal are played softer instead.")));
  SetBody(body);
  AddSettingField(soundfont_);
}

void AudioSettingsDialog::ChooseSoundFontFile() {
  const QString start = soundfont_->text().isEmpty() ? ToQString(choices_.InstalledSoundFont) : soundfont_->text();
  const QString path = QFileDialog::getOpenFileName(this, tr("SoundFont"), QFileInfo(start).absolutePath(),
                                                    tr("SoundFonts (*.sf2 *.SF2);;All Files (*)"));
  if (!path.isEmpty()) soundfont_->setText(path);
}

Result AudioSettingsDialog::KeepEdits() {
  AudioSettings entered = settings_;
  entered.SoundFont = ToUtf8(soundfont_->text().trimmed());
  entered.MidiOutput = ToUtf8(output_->currentData().toString());
  // The SoundFont is checked whenever one is named (rendering into sound files uses it too) and
  // when the synthesizer would load the installed one; a port needs none.
  if ((!entered.SoundFont.empty() || entered.MidiOutput.empty()) && choices_.CheckSoundFont) {
    if (Result checked = choices_.CheckSoundFont(entered.SoundFont); !checked.ok())
      return Result::Invalid(ToUtf8(SettingLabel(AudioSettings::kSection, soundfont_)) + ": " + checked.message())
          .WithKey(ToUtf8(soundfont_->objectName()));
  }
  const Result saved = entered.Save(store_);
  settings_ = std::move(entered);
  if (!saved.ok()) ReportSaveFailure(saved);
  return Result::Ok();
}

}  // namespace tarvelo::app
