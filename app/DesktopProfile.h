#pragma once
// What the desktop keeps between sessions in the profile's section "Desktop": the window's
// place and size, the folder the last file was opened from, the six most recently used files
// (most recent first) and whether the view marks the holes off their tracks. Every write goes through the profile
// store, which saves the whole profile through a temporary file and a rename.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ProfileStore.h"
#include "support/Result.h"

namespace tarvelo::app {

inline constexpr int kRecentFileCount = 6;
inline constexpr int kFirstWindowWidth = 1000;
inline constexpr int kFirstWindowHeight = 700;

struct WindowGeometry {
  int Left = 0;
  int Top = 0;
  int Width = kFirstWindowWidth;
  int Height = kFirstWindowHeight;
  bool Maximized = false;
};

// The recent files list: a file opened or saved moves to the front; a path appears once;
// at most kRecentFileCount entries.
class RecentFiles {
 public:
  void Add(std::string_view path);
  void Remove(std::string_view path);
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

class DesktopProfile {
 public:
  static constexpr const char* kSection = "Desktop";

  explicit DesktopProfile(ProfileStore& store) : store_(store) {}

  // The stored geometry; none at the first start (or when the stored size is not positive).
  std::optional<WindowGeometry> Geometry() const;
  Result SaveGeometry(const WindowGeometry& geometry);

  std::string LastFolder() const;
  Result SaveLastFolder(std::string_view folder);

  // "ShowOffTrackHoles": on unless stored as 0.
  bool ShowOffTrackHoles() const;
  Result SaveShowOffTrackHoles(bool on);

  // RecentFile1 .. RecentFile6; empty entries are skipped.
  RecentFiles LoadRecentFiles() const;
  Result SaveRecentFiles(const RecentFiles& recent);

 private:
  ProfileStore& store_;
};

}  // namespace tarvelo::app
