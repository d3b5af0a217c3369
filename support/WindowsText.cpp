#include "support/WindowsText.h"

#ifdef _WIN32

#include "support/TextEncoding.h"
#include "support/WindowsApi.h"

namespace tarvelo {

std::wstring WideFromUtf8(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string Utf8FromWide(std::wstring_view text) { return Utf16ToUtf8(std::u16string(text.begin(), text.end())); }

std::string SystemErrorText(unsigned long code) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = length > 0 ? Utf8FromWide(std::wstring_view(text, length)) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!reason.empty() &&
         (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ' || reason.back() == '.'))
    reason.pop_back();
  return reason;
}

}  // namespace tarvelo

#endif
