#include "DesktopTestSupport.h"

#include <QApplication>
#include <QTimer>
#include <filesystem>

#include "settings/IniProfile.h"

namespace tarvelo::testing {

bool RecordingPresenter::Saw(std::string_view start) const {
  for (const std::string& text : texts)
    if (text.starts_with(start)) return true;
  return false;
}

app::MainWindowOptions TestWindowOptions(RecordingPresenter& presenter, const std::string& profile_path) {
  app::MainWindowOptions options;
  options.ProfilePath = profile_path;
  options.RollTypeCandidates = {SourceFile("data/RollTypeDefinitions.xml")};
  options.Presenter = &presenter;
  // Files open without the roll information dialog; the tests that want it clear this.
  options.EditRollInfo = [](RollInfo&) { return true; };
  return options;
}

bool KeepPresetPlacement(const std::string& path) {
  return IniProfile(path).WriteProfileString("Scanner Settings", "AutoTweakSettings0", "0").ok();
}

std::string SourceFile(const std::string& relative) { return std::string(TARVELO_SOURCE_DIR) + "/" + relative; }

QString CopySampleRoll(const TempDir& dir) {
  const std::string target = dir.File("SampleRoll.cis");
  std::filesystem::copy_file(SourceFile("data/sample/SampleRoll.cis"), target,
                             std::filesystem::copy_options::overwrite_existing);
  return QString::fromStdString(target);
}

QString ShownTitle(const QWidget& window) {
  QString title = window.windowTitle();
  return title.replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

void AnswerNextModal(std::function<void(QDialog*)> check) {
  // A zero timer fires from the dialog's own event loop, once the dialog is up.
  QTimer::singleShot(0, [check = std::move(check)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    check(dialog);
    dialog->accept();
  });
}

}  // namespace tarvelo::testing
