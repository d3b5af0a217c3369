#include "app/DesktopProfile.h"

#include <algorithm>

namespace tarvelo::app {

namespace {

std::string RecentFileKey(int index) { return "RecentFile" + std::to_string(index + 1); }

// The first failure of a sequence of writes (every write is still tried).
void KeepFirstFailure(Result& first, Result next) {
  if (first.ok() && !next.ok()) first = std::move(next);
}

}  // namespace

void RecentFiles::Add(std::string_view path) {
  if (path.empty()) return;
  Remove(path);
  paths_.insert(paths_.begin(), std::string(path));
  if (paths_.size() > static_cast<size_t>(kRecentFileCount)) paths_.resize(kRecentFileCount);
}

void RecentFiles::Remove(std::string_view path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

std::optional<WindowGeometry> DesktopProfile::Geometry() const {
  WindowGeometry geometry;
  geometry.Width = store_.GetProfileInt(kSection, "WindowWidth", 0);
  geometry.Height = store_.GetProfileInt(kSection, "WindowHeight", 0);
  if (geometry.Width <= 0 || geometry.Height <= 0) return std::nullopt;
  geometry.Left = store_.GetProfileInt(kSection, "WindowLeft", 0);
  geometry.Top = store_.GetProfileInt(kSection, "WindowTop", 0);
  geometry.Maximized = store_.GetProfileInt(kSection, "WindowMaximized", 0) != 0;
  return geometry;
}

Result DesktopProfile::SaveGeometry(const WindowGeometry& geometry) {
  Result result = store_.WriteProfileInt(kSection, "WindowLeft", geometry.Left);
  KeepFirstFailure(result, store_.WriteProfileInt(kSection, "WindowTop", geometry.Top));
  KeepFirstFailure(result, store_.WriteProfileInt(kSection, "WindowWidth", geometry.Width));
  KeepFirstFailure(result, store_.WriteProfileInt(kSection, "WindowHeight", geometry.Height));
  KeepFirstFailure(result, store_.WriteProfileInt(kSection, "WindowMaximized", geometry.Maximized ? 1 : 0));
  return result;
}

std::string DesktopProfile::LastFolder() const { return store_.GetProfileString(kSection, "LastFolder", ""); }

Result DesktopProfile::SaveLastFolder(std::string_view folder) {
  return store_.WriteProfileString(kSection, "LastFolder", folder);
}

bool DesktopProfile::ShowOffTrackHoles() const { return store_.GetProfileInt(kSection, "ShowOffTrackHoles", 1) != 0; }

Result DesktopProfile::SaveShowOffTrackHoles(bool on) {
  return store_.WriteProfileInt(kSection, "ShowOffTrackHoles", on ? 1 : 0);
}

RecentFiles DesktopProfile::LoadRecentFiles() const {
  std::vector<std::string> stored;
  for (int index = 0; index < kRecentFileCount; ++index) {
    std::string path = store_.GetProfileString(kSection, RecentFileKey(index), "");
    if (!path.empty()) stored.push_back(std::move(path));
  }
  RecentFiles recent;
  // Added oldest first, so that the first stored entry ends at the front.
  for (auto path = stored.rbegin(); path != stored.rend(); ++path) recent.Add(*path);
  return recent;
}

Result DesktopProfile::SaveRecentFiles(const RecentFiles& recent) {
  Result result = Result::Ok();
  const std::vector<std::string>& paths = recent.Paths();
  for (int index = 0; index < kRecentFileCount; ++index) {
    const std::string path = index < static_cast<int>(paths.size()) ? paths[static_cast<size_t>(index)] : "";
    KeepFirstFailure(result, store_.WriteProfileString(kSection, RecentFileKey(index), path));
  }
  return result;
}

}  // namespace tarvelo::app
