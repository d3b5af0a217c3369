// The Windows registry profile: every setting keeps its section, key, value form and value, in
// the key where the program has always kept them. Windows only (the suite runs under wine).
#ifdef _WIN32

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "helpers/Environment.h"
#include "helpers/RunCommand.h"
#include "helpers/TestPaths.h"
#include "settings/IniProfile.h"
#include "settings/RegistryProfile.h"
#include "settings/SettingsCatalog.h"
#include "settings/UserProfile.h"
#include "support/TextEncoding.h"
#include "support/WindowsApi.h"

namespace tarvelo {
namespace {

std::wstring Wide(const std::string& text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

// A key of the test's own beside the program's, removed afterwards, so that a run on a real
// Windows machine leaves the user's settings alone.
class RegistryProfileTest : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key_).c_str()); }

  // Section -> value name -> registry type, as `reg query /s` lists the test's key.
  std::map<std::string, std::map<std::string, std::string>> QueryTypes() const {
    const auto listing = testing::RunCommand("reg query " + testing::ShellQuote("HKCU\\" + key_) + " /s");
    EXPECT_EQ(listing.status, 0) << listing.err;
    std::map<std::string, std::map<std::string, std::string>> types;
    std::istringstream lines(listing.out);
    std::string line, section;
    const std::string prefix = "HKEY_CURRENT_USER\\" + key_ + "\\";
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.rfind(prefix, 0) == 0) {
        section = line.substr(prefix.size());
      } else if (line.rfind("    ", 0) == 0) {
        // "    Name    REG_TYPE    data"
        const size_t name_end = line.find("    ", 4);
        if (name_end == std::string::npos) continue;
        const size_t type_end = line.find("    ", name_end + 4);
        types[section][line.substr(4, name_end - 4)] = line.substr(name_end + 4, type_end - name_end - 4);
      }
    }
    return types;
  }

  std::string key_ = "Software\\Quenby_Software\\Tarvelo Test " + std::to_string(GetCurrentProcessId());
};

TEST_F(RegistryProfileTest, EverySettingReadsBackAsTheIniProfileHoldsIt) {
  const std::vector<SettingValue> defaults = EffectiveSettings(IniProfile());
  ASSERT_GT(defaults.size(), 200u);
  RegistryProfile registry(key_);
  IniProfile ini;
  int count = 0;
  for (const SettingValue& setting : defaults) {
    ++count;
    if (setting.kind == SettingValue::kInteger) {
      const int value = count % 5 == 0 ? -count : count;
      ASSERT_TRUE(registry.WriteProfileInt(setting.section, setting.key, value)) << setting.key;
      ASSERT_TRUE(ini.WriteProfileInt(setting.section, setting.key, value));
    } else {
      // Reals stay numbers; texts carry a letter outside ASCII.
      const std::string value =
          setting.kind == SettingValue::kReal ? setting.value + "5" : setting.value + " \xC3\x89tude";
      ASSERT_TRUE(registry.WriteProfileString(setting.section, setting.key, value)) << setting.key;
      ASSERT_TRUE(ini.WriteProfileString(setting.section, setting.key, value));
    }
  }

  const RegistryProfile again(key_);
  for (const SettingValue& setting : defaults) {
    EXPECT_EQ(again.GetProfileString(setting.section, setting.key, "absent"),
              ini.GetProfileString(setting.section, setting.key, "absent"))
        << setting.section << "/" << setting.key;
    EXPECT_EQ(again.GetProfileInt(setting.section, setting.key, 12345),
              ini.GetProfileInt(setting.section, setting.key, 12345))
        << setting.section << "/" << setting.key;
  }
  // The settings groups read the same values from both.
  const std::vector<SettingValue> from_registry = EffectiveSettings(again);
  const std::vector<SettingValue> from_ini = EffectiveSettings(ini);
  ASSERT_EQ(from_registry.size(), from_ini.size());
  for (size_t i = 0; i < from_ini.size(); ++i) EXPECT_EQ(from_registry[i].value, from_ini[i].value) << from_ini[i].key;

  // The system's own registry tool finds each value in its section's key with its type:
  // integers as REG_DWORD, reals and texts as REG_SZ.
  const auto types = QueryTypes();
  for (const SettingValue& setting : defaults) {
    const auto section = types.find(setting.section);
    ASSERT_NE(section, types.end()) << setting.section;
    const auto value = section->second.find(setting.key);
    ASSERT_NE(value, section->second.end()) << setting.section << "/" << setting.key;
    EXPECT_EQ(value->second, setting.kind == SettingValue::kInteger ? "REG_DWORD" : "REG_SZ") << setting.key;
  }
}

TEST_F(RegistryProfileTest, NamesIgnoreLetterCaseAndForeignValueTypesGiveTheDefault) {
  RegistryProfile registry(key_);
  ASSERT_TRUE(registry.WriteProfileInt("Scanner Settings", "ScannerDPI0", 300));
  EXPECT_EQ(registry.GetProfileInt("scanner settings", "scannerdpi0", 0), 300);
  EXPECT_EQ(registry.GetProfileString("Scanner Settings", "ScannerDPI0", ""), "300");
  EXPECT_EQ(registry.GetProfileInt("Scanner Settings", "Missing", 42), 42);
  EXPECT_EQ(registry.GetProfileString("No Such Section", "Missing", "fallback"), "fallback");

  // Values a user or another program put there by hand.
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key_ + "\\Hand Made").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  const wchar_t digits[] = L" 250 ";
  RegSetValueExW(handle, L"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(digits), sizeof digits);
  const wchar_t unterminated[] = {L'a', L'b'};
  RegSetValueExW(handle, L"Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), sizeof unterminated);
  const BYTE bytes[] = {1, 2, 3, 4};
  RegSetValueExW(handle, L"Binary", 0, REG_BINARY, bytes, sizeof bytes);
  RegCloseKey(handle);
  EXPECT_EQ(registry.GetProfileInt("Hand Made", "Text", 0), 250);
  EXPECT_EQ(registry.GetProfileString("Hand Made", "Unterminated", ""), "ab");
  EXPECT_EQ(registry.GetProfileInt("Hand Made", "Binary", 7), 7);
  EXPECT_EQ(registry.GetProfileString("Hand Made", "Binary", "none"), "none");
}

TEST(UserProfile, OnWindowsTheRegistryIsTheDefaultUnlessTarveloProfileNamesAFile) {
  {
    const testing::ScopedEnvironment unset("TARVELO_PROFILE", std::nullopt);
    EXPECT_EQ(OpenDefaultProfile().Location, "HKEY_CURRENT_USER\\Software\\Quenby_Software\\Tarvelo");
  }
  testing::TempDir dir;
  const testing::ScopedEnvironment file("TARVELO_PROFILE", dir.File("profile.ini"));
  EXPECT_EQ(OpenDefaultProfile().Location, dir.File("profile.ini"));
}

}  // namespace
}  // namespace tarvelo

#endif  // _WIN32
