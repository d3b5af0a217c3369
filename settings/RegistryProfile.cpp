#include "settings/RegistryProfile.h"

#ifdef _WIN32

#include <cstring>
#include <optional>
#include <vector>

#include "support/LenientNumber.h"
#include "support/TextEncoding.h"
#include "support/WindowsApi.h"
#include "support/WindowsText.h"

namespace tarvelo {

namespace {

// A stored value as the registry holds it.
struct StoredValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

std::optional<StoredValue> ReadValue(const std::string& root, std::string_view section, std::string_view key) {
  HKEY handle = nullptr;
  const std::wstring path = WideFromUtf8(root + "\\" + std::string(section));
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return std::nullopt;
  const std::wstring name = WideFromUtf8(key);
  StoredValue value;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(handle, name.c_str(), nullptr, &value.type, nullptr, &size);
  // The value may grow between the two calls; ask again until it fits.
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    value.data.resize(size);
    status = RegQueryValueExW(handle, name.c_str(), nullptr, &value.type, value.data.data(), &size);
    if (status == ERROR_SUCCESS) {
      value.data.resize(size);
      break;
    }
  }
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

// The text of a REG_SZ value: its UTF-16 code units up to the terminating NUL the registry
// usually (but not always) stores.
std::string TextOf(const StoredValue& value) {
  std::u16string text(value.data.size() / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), value.data.data(), text.size() * 2);
  if (!text.empty() && text.back() == u'\0') text.pop_back();
  return Utf16ToUtf8(text);
}

bool IsText(const StoredValue& value) { return value.type == REG_SZ || value.type == REG_EXPAND_SZ; }

bool IsInteger(const StoredValue& value) { return value.type == REG_DWORD && value.data.size() == sizeof(DWORD); }

int IntegerOf(const StoredValue& value) {
  DWORD number = 0;
  std::memcpy(&number, value.data.data(), sizeof number);
  return static_cast<int>(number);
}

}  // namespace

RegistryProfile::RegistryProfile(std::string key) : key_(std::move(key)) {}

std::string RegistryProfile::Location() const { return "HKEY_CURRENT_USER\\" + key_; }

int RegistryProfile::GetProfileInt(std::string_view section, std::string_view key, int default_value) const {
  const std::optional<StoredValue> value = ReadValue(key_, section, key);
  if (!value) return default_value;
  if (IsInteger(*value)) return IntegerOf(*value);
  int number = 0;
  if (IsText(*value) && ParseStrictInt(TextOf(*value), number)) return number;
  return default_value;
}

std::string RegistryProfile::GetProfileString(std::string_view section, std::string_view key,
                                              std::string_view default_value) const {
  const std::optional<StoredValue> value = ReadValue(key_, section, key);
  if (value && IsText(*value)) return TextOf(*value);
  if (value && IsInteger(*value)) return std::to_string(IntegerOf(*value));
  return std::string(default_value);
}

std::optional<std::string> RegistryProfile::Find(std::string_view section, std::string_view key) const {
  const std::optional<StoredValue> value = ReadValue(key_, section, key);
  if (value && IsText(*value)) return TextOf(*value);
  if (value && IsInteger(*value)) return std::to_string(IntegerOf(*value));
  return std::nullopt;  // missing, or of a type that reads as the default
}

namespace {

Result WriteValue(const std::string& root, std::string_view section, std::string_view key, DWORD type, const BYTE* data,
                  DWORD size) {
  const std::string where = "HKEY_CURRENT_USER\\" + root + "\\" + std::string(section);
  HKEY handle = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(root + "\\" + std::string(section)).c_str(), 0,
                                   nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(handle, WideFromUtf8(key).c_str(), 0, type, data, size);
    RegCloseKey(handle);
  }
  if (status == ERROR_SUCCESS) return Result::Ok();
  return Result::IoError("the profile could not be saved: cannot write " + std::string(key) + " in " + where + ": " +
                         SystemErrorText(static_cast<unsigned long>(status)));
}

}  // namespace

Result RegistryProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  const DWORD number = static_cast<DWORD>(value);
  return WriteValue(key_, section, key, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

Result RegistryProfile::WriteProfileString(std::string_view section, std::string_view key, std::string_view value) {
  const std::wstring text = WideFromUtf8(value);
  // With its terminating NUL, as the registry's texts are stored.
  return WriteValue(key_, section, key, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace tarvelo

#endif  // _WIN32
