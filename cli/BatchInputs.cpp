#include "cli/BatchInputs.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "cis/CisFile.h"
#include "geometry/DiagnosticFiles.h"
#include "images/ScanFile.h"
#include "midi/MidiOutputPath.h"
#include "support/TextTrim.h"
#include "support/Utf8Path.h"

namespace tarvelo::cli {

namespace fs = std::filesystem;

namespace {

// The path a file is known by when comparing: absolute, with "." and ".." and symbolic
// links resolved as far as the file system allows.
std::string IdentityOf(const std::string& path) {
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(PathFromUtf8(path), error);
  if (error) resolved = fs::absolute(PathFromUtf8(path), error).lexically_normal();
  return error ? path : Utf8FromPath(resolved);
}

bool HasCisExtension(const fs::path& path) {
  const std::string name = Utf8FromPath(path.filename());
  return name.size() > 4 && ToLowerAscii(name.substr(name.size() - 4)) == ".cis";
}

// A file a folder gives: a CIS file, or with `images` a picture too.
bool IsScanInFolder(const fs::path& path, bool images) {
  return HasCisExtension(path) || (images && IsPictureFileName(Utf8FromPath(path.filename())));
}

// How the reports name `file`, found below the named `folder`: by the folder's own name and
// the path below it ("scans/box1/roll.cis" for the folder /mnt/archive/scans), so that a long
// path the files share is left out. "" (the path as found) where that cannot be worked out.
std::string ShownBelow(const std::string& folder, const fs::path& file) {
  fs::path root = PathFromUtf8(folder).lexically_normal();
  if (root.filename().empty()) root = root.parent_path();  // named with a trailing separator
  const fs::path base = root.parent_path();
  if (base.empty() || root.filename() == "." || root.filename() == "..") return "";
  const fs::path shown = file.lexically_normal().lexically_relative(base);
  if (shown.empty() || *shown.begin() == "..") return "";
  return Utf8FromPath(shown);
}

// The CIS files in `folder` (and below it when `recursive`), sorted; a folder that cannot be
// read becomes an entry with its problem, and the walk goes on beside it.
void CollectFolder(const std::string& folder, bool recursive, bool images, std::vector<BatchInput>& found) {
  std::vector<BatchInput> files;
  std::vector<fs::path> pending{PathFromUtf8(folder)};
  bool unreadable = false;
  while (!pending.empty()) {
    const fs::path current = pending.back();
    pending.pop_back();
    std::error_code error;
    fs::directory_iterator it(current, error);
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
      std::error_code type_error;
      const fs::file_status status = it->symlink_status(type_error);
      if (recursive && fs::is_directory(status)) {
        pending.push_back(it->path());
      } else if (IsScanInFolder(it->path(), images) && it->is_regular_file(type_error)) {
        BatchInput input;
        input.Path = Utf8FromPath(it->path());
        input.Shown = ShownBelow(folder, it->path());
        files.push_back(std::move(input));
      }
    }
    if (error) {
      unreadable = true;
      BatchInput input;
      input.Path = Utf8FromPath(current);
      input.Problem = "cannot read the folder " + input.Path + ": " + error.message();
      found.push_back(std::move(input));
    }
  }
  std::sort(files.begin(), files.end(), [](const BatchInput& a, const BatchInput& b) { return a.Path < b.Path; });
  if (files.empty() && !unreadable) {
    BatchInput input;
    input.Path = folder;
    input.Problem = std::string(images ? "no CIS files or pictures" : "no CIS files") + " in the folder " + folder +
                    (recursive ? "" : " (--recursive looks below it too)");
    found.push_back(std::move(input));
  }
  for (BatchInput& file : files) found.push_back(std::move(file));
}

}  // namespace

std::vector<BatchInput> CollectInputs(const std::vector<std::string>& named, bool recursive, bool images) {
  std::vector<BatchInput> found;
  for (const std::string& path : named) {
    std::error_code error;
    if (fs::is_directory(PathFromUtf8(path), error)) {
      CollectFolder(path, recursive, images, found);
    } else {
      BatchInput input;
      input.Path = path;
      found.push_back(std::move(input));
    }
  }
  // Each file once: the first time it is named or found.
  std::set<std::string> seen;
  std::vector<BatchInput> inputs;
  for (BatchInput& input : found) {
    if (input.Problem.empty() && !seen.insert(IdentityOf(input.Path)).second) continue;
    std::error_code error;
    const uintmax_t size = input.Problem.empty() ? fs::file_size(PathFromUtf8(input.Path), error) : 0;
    input.Bytes = error ? 0 : size;
    inputs.push_back(std::move(input));
  }
  return inputs;
}

namespace {

// The folder below the output folder that mirrors the folder of `path`.
std::string MirroredFolder(const std::string& path) {
  std::error_code error;
  const fs::path folder = fs::absolute(PathFromUtf8(path), error).lexically_normal().parent_path();
  const fs::path working = fs::current_path(error);
  fs::path relative = folder.lexically_relative(working);
  if (error || relative.empty() || *relative.begin() == "..") relative = folder.relative_path();
  if (relative == ".") return "";
  return WithTrailingSeparator(Utf8FromPath(relative));
}

}  // namespace

Result PlanOutputs(std::vector<BatchInput>& inputs, const OutputPlan& plan, const RunSettings& settings) {
  const std::string output_dir = WithTrailingSeparator(plan.OutputDir);
  // Which input claimed each output, by the output's folded identity.
  std::map<std::string, size_t> claimed;
  for (size_t index = 0; index < inputs.size(); ++index) {
    BatchInput& input = inputs[index];
    if (!input.Problem.empty()) continue;
    const CisFileName names = SplitCisFileName(input.Path);
    input.OutputFolder = output_dir.empty() ? "" : plan.KeepTree ? output_dir + MirroredFolder(input.Path) : output_dir;
    const std::string folder = input.OutputFolder.empty() ? names.Folder : input.OutputFolder;
    input.Outputs.clear();
    auto plan_output = [&](MidiOutputKind kind) {
      input.Outputs.push_back(
          MidiOutputPath(kind, folder, names.Name, settings.General, settings.ERoll, settings.Outputs));
    };
    if (plan.ScanImage && settings.Outputs.ScanMidi) plan_output(MidiOutputKind::kScanImage);
    if (plan.ERoll && settings.Outputs.eRollMidi) plan_output(MidiOutputKind::kERoll);
    if (settings.Outputs.WriteExpressionMidi) plan_output(MidiOutputKind::kExpression);
    // The diagnostic files stay beside the input whatever the output folder.
    if (settings.Diagnostic.WriteCISrawTransitionFile) input.Outputs.push_back(CisDiagnosticFilePath(names));
    if (settings.Diagnostic.WriteTrackLookUpMapFile) input.Outputs.push_back(LookupMapDiagnosticFilePath(names));

    for (const std::string& output : input.Outputs) {
      const auto [it, fresh] = claimed.emplace(ToLowerAscii(IdentityOf(output)), index);
      if (!fresh) {
        return Result::Invalid(inputs[it->second].Path + " and " + input.Path + " would both write " + output +
                               (output_dir.empty() || plan.KeepTree
                                    ? " (rename one of them)"
                                    : " (--keep-tree keeps their folders apart below the output folder)"));
      }
    }
  }
  return Result::Ok();
}

}  // namespace tarvelo::cli
