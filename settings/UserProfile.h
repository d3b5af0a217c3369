#pragma once
// The settings profile a front end opens: one function, so that every front end keeps its
// settings in the same place.
//
// The default profile is the Windows registry on Windows (the key
// HKEY_CURRENT_USER\Software\Quenby_Software\Tarvelo, settings/RegistryProfile.h) and the INI
// file of DefaultProfilePath() elsewhere. The environment variable TARVELO_PROFILE names an INI file to use instead, on
// every system; so does a file the user names (the command line's --profile).

#include <memory>
#include <string>
#include <vector>

#include "settings/ProfileStore.h"

namespace tarvelo {

struct OpenedProfile {
  std::unique_ptr<ProfileStore> Store;
  std::string Location;               // the INI file's path or the registry key, for messages
  std::vector<std::string> Problems;  // what could not be read while opening ("line 7: ...")
};

// The INI profile `named_file` when it is not empty, else the user's default profile.
OpenedProfile OpenProfile(const std::string& named_file);

// The user's default profile: OpenProfile("").
OpenedProfile OpenDefaultProfile();

}  // namespace tarvelo
