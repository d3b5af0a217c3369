#pragma once
// What the desktop tests share: a message presenter that answers at once and keeps what it was
// shown, window options for tests, the sample roll in a temporary folder, and answering the next
// modal dialog from the event loop.

#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "app/MessagePresenter.h"
#include "helpers/TestPaths.h"

namespace tarvelo::testing {

class RecordingPresenter : public app::MessagePresenter {
 public:
  void Present(MessageKind kind, std::string_view text) override {
    kinds.push_back(kind);
    texts.emplace_back(text);
  }
  // Whether a message starting with `start` was shown.
  bool Saw(std::string_view start) const;
  void Clear() {
    kinds.clear();
    texts.clear();
  }

  std::vector<MessageKind> kinds;
  std::vector<std::string> texts;
};

// Messages through `presenter`, the repository's roll type library, the profile at
// `profile_path` ("" keeps it in memory), and the roll information of an opened file accepted
// as it comes (no dialog).
app::MainWindowOptions TestWindowOptions(RecordingPresenter& presenter, const std::string& profile_path = "");

// A file of the repository.
std::string SourceFile(const std::string& relative);

// Turns the current preset's Auto-Tweak off in the profile at `path`: its conversions place the
// holes with the preset's values, as a test of a misplaced roll needs. False when it cannot write.
bool KeepPresetPlacement(const std::string& path);
// Copies data/sample/SampleRoll.cis into `dir` (its outputs then go there too).
QString CopySampleRoll(const TempDir& dir);

// The window's title as the title bar shows it: "*" after the file name for unsaved edits.
QString ShownTitle(const QWidget& window);

// Once the event loop runs a modal dialog, hands it to `check` and closes it with accept().
void AnswerNextModal(std::function<void(QDialog*)> check);

}  // namespace tarvelo::testing
