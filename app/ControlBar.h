#pragma once
// The control bar: version and status texts, the progress bar, the file and title fields, the
// scanner display with the offset arrows, the feature indicators, the roll type box and the
// conversion, output, zoom and view commands. It shows a WindowState and turns each click into
// a signal; it decides nothing itself. Its controls stand in groups (conversion, file, roll
// type, header, scanner, outputs, view, listening, features) that wrap onto more rows in a narrow window;
// a new control joins the group it belongs to in the constructor.

#include <QElapsedTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "app/ElidedLabel.h"
#include "app/WindowState.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace tarvelo::app {

class LampWidget;

class ControlBar : public QWidget {
  Q_OBJECT

 public:
  explicit ControlBar(QWidget* parent = nullptr);

  // Enabled and checked states, lamps and zoom buttons as `state` says.
  void ShowState(const WindowState& state);
  // The status field and the progress bar. A conversion does not return to the event loop until
  // it ends, so both are painted at once, as often as a screen can show it (every 20 ms at most:
  // a stage may report hundreds of steps a second); PaintStatusAndProgress paints them now.
  void ShowStatus(const std::string& text);
  void ShowProgress(uint32_t colour, int position);
  void PaintStatusAndProgress();
  // The scanner values, their mark ("Auto-Tweak" or "Preset") and its tip, the mode, the preset
  // and the tracking.
  void ShowScanner(const ScannerDisplay& display);
  // The "File : " field and the title field.
  void ShowFile(const std::string& file_name_with_extension, const std::string& title);
  // Fills the "Roll Type " box with `names`, then "Recognise From This Roll" (below a
  // separator), and selects entry `selected` of `names`. Box indexes below the count of names
  // are those of `names`; choosing one emits RollTypeChosen with it. Choosing the recognition
  // entry puts the selection back where it was and emits RecogniseRollTypeRequested.
  void ShowRollTypes(const std::vector<std::string>& names, int selected);
  // Selects entry `index` of the names without emitting anything.
  void SelectRollType(int index);
  // The recognition entry is usable only while a roll is open.
  void SetRecogniseEnabled(bool enabled);
  // The box index of "Recognise From This Roll".
  int RecogniseEntryIndex() const { return roll_type_count_ + 1; }
  // "PunchMIDI" shows its stored switch and is always greyed.
  void ShowPunchMidi(bool on);
  // The "Go to inch" box: the roll's length (its largest inch) and the inch at the top of the
  // view (not while the user is typing in the box).
  void SetRollLength(double inches);
  void ShowInchAtTop(double inches);
  // "Play" usable when a roll can be played and nothing plays; "Stop" while it plays.
  void ShowPlayback(bool can_play, bool playing);

  // The controls, for the window's shortcuts and for tests.
  QPushButton* ReprocessButton() const { return reprocess_; }
  QPushButton* ZoomInButton() const { return zoom_in_; }
  QPushButton* ZoomOutButton() const { return zoom_out_; }
  QPushButton* NudgeLeftButton() const { return nudge_left_; }
  QPushButton* NudgeRightButton() const { return nudge_right_; }
  QPushButton* ScannerSettingsButton() const { return scanner_settings_; }
  QPushButton* HistogramButton() const { return histogram_; }
  QPushButton* CisDataButton() const { return cis_data_; }
  QPushButton* EmbeddedTextButton() const { return embedded_text_; }
  QPushButton* PlayButton() const { return play_; }
  QPushButton* StopButton() const { return stop_; }
  QCheckBox* ScanMidiBox() const { return scan_midi_; }
  QCheckBox* ERollMidiBox() const { return eroll_midi_; }
  QCheckBox* ExpressionMidiBox() const { return expression_midi_; }
  QCheckBox* PunchMidiBox() const { return punch_midi_; }
  QCheckBox* TrackingCorrectionsBox() const { return tracking_corrections_; }
  QComboBox* RollTypeBox() const { return roll_type_; }
  LampWidget* ScanMidiLamp() const { return scan_midi_lamp_; }
  LampWidget* ERollMidiLamp() const { return eroll_midi_lamp_; }
  LampWidget* ExpressionMidiLamp() const { return expression_midi_lamp_; }
  LampWidget* TrackingLamp() const { return tracking_lamp_; }
  QProgressBar* Progress() const { return progress_; }
  ElidedLabel* StatusField() const { return status_; }
  ElidedLabel* FileField() const { return file_; }
  ElidedLabel* TitleField() const { return title_; }
  ElidedLabel* OffsetField() const { return offset_; }
  ElidedLabel* StretchField() const { return stretch_; }
  ElidedLabel* DpiField() const { return dpi_; }
  QLabel* ValuesMark() const { return values_mark_; }
  QDoubleSpinBox* GoToInchBox() const { return go_to_inch_; }
  // The group of the output check boxes and their lamps.
  QWidget* OutputsGroup() const { return outputs_; }

 signals:
  void RollTypeChosen(int index);
  void RecogniseRollTypeRequested();
  void OffsetNudged(double inches);
  void ScannerSettingsRequested();
  void ReprocessRequested();
  void ScanMidiToggled(bool on);
  void ERollMidiToggled(bool on);
  void ExpressionMidiToggled(bool on);
  void ZoomInRequested();
  void ZoomOutRequested();
  void TrackingCorrectionsToggled(bool on);
  void HistogramRequested();
  void CisDataRequested();
  void EmbeddedTextRequested();
  // An inch entered in the "Go to inch" box.
  void GoToInchRequested(double inches);
  void PlayRequested();
  void StopRequested();

 private:
  void PaintSoon();
  void OnRollTypeActivated(int index);

  QElapsedTimer last_paint_;
  QLabel* version_;
  ElidedLabel* status_;
  QProgressBar* progress_;
  ElidedLabel* file_;
  ElidedLabel* title_;
  QLabel* values_mark_;  // whose values the DPI, offset and stretch fields show
  ElidedLabel* dpi_;
  ElidedLabel* offset_;
  ElidedLabel* stretch_;
  ElidedLabel* mode_;
  ElidedLabel* preset_;
  LampWidget* tracking_lamp_;
  QLabel* tracking_;
  QPushButton* nudge_left_;
  QPushButton* nudge_right_;
  QPushButton* scanner_settings_;
  QComboBox* roll_type_;
  int roll_type_count_ = 0;  // the roll type names in the box (the entries before the separator)
  int selected_roll_type_ = 0;
  QPushButton* reprocess_;
  QCheckBox* scan_midi_;
  LampWidget* scan_midi_lamp_;
  QCheckBox* eroll_midi_;
  LampWidget* eroll_midi_lamp_;
  QCheckBox* expression_midi_;
  LampWidget* expression_midi_lamp_;
  QCheckBox* punch_midi_;
  QWidget* outputs_;
  QPushButton* zoom_in_;
  QPushButton* zoom_out_;
  QDoubleSpinBox* go_to_inch_;
  bool showing_inch_ = false;  // the box follows the view: no request
  QCheckBox* tracking_corrections_;
  QPushButton* histogram_;
  QPushButton* cis_data_;
  QPushButton* embedded_text_;
  QPushButton* play_;
  QPushButton* stop_;
};

}  // namespace tarvelo::app
