#include "settings/UserProfile.h"

#include "settings/IniProfile.h"

#ifdef _WIN32
#include "settings/RegistryProfile.h"
#include "support/ProcessEnvironment.h"
#endif

namespace tarvelo {

namespace {

OpenedProfile OpenIniProfile(const std::string& path) {
  auto profile = std::make_unique<IniProfile>(path);
  OpenedProfile opened;
  opened.Location = profile->Path();
  opened.Problems = profile->Problems();
  opened.Store = std::move(profile);
  return opened;
}

}  // namespace

OpenedProfile OpenProfile(const std::string& named_file) {
  if (!named_file.empty()) return OpenIniProfile(named_file);
#ifdef _WIN32
  if (const auto file = EnvironmentValue("TARVELO_PROFILE"); !file || file->empty()) {
    auto registry = std::make_unique<RegistryProfile>();
    OpenedProfile opened;
    opened.Location = registry->Location();
    opened.Store = std::move(registry);
    return opened;
  }
#endif
  return OpenIniProfile(DefaultProfilePath());
}

OpenedProfile OpenDefaultProfile() { return OpenProfile(""); }

}  // namespace tarvelo
