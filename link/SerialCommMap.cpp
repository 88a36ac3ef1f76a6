#include "link/SerialCommMap.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "link/WideText.h"

namespace zorv {

std::vector<SerialCommEntry> ReadSerialCommMap() {
  std::vector<SerialCommEntry> entries;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return entries;
  }
  DWORD values = 0;
  DWORD longestName = 0;
  DWORD largestData = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                       &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS) {
    RegCloseKey(key);
    return entries;
  }
  std::wstring name(longestName + 1, L'\0');
  // Data in bytes, plus room for a terminator the registry does not promise.
  std::wstring data(largestData / sizeof(wchar_t) + 2, L'\0');
  for (DWORD i = 0; i < values; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataBytes = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    DWORD type = 0;
    if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &dataBytes) != ERROR_SUCCESS) {
      continue;
    }
    if (type != REG_SZ) continue;
    std::wstring_view text(data.data(), dataBytes / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    entries.push_back({Utf8FromWide(std::wstring_view(name.data(), nameLength)),
                       Utf8FromWide(text)});
  }
  RegCloseKey(key);
  return entries;
}

std::string SerialCommDeviceOf(const std::string& portName) {
  std::string_view wanted = portName;
  constexpr std::string_view kDevicePrefix = "\\\\.\\";
  if (wanted.substr(0, kDevicePrefix.size()) == kDevicePrefix) wanted.remove_prefix(kDevicePrefix.size());
  const auto sameLetters = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::toupper(static_cast<unsigned char>(x)) ==
                    std::toupper(static_cast<unsigned char>(y));
           });
  };
  for (const SerialCommEntry& entry : ReadSerialCommMap()) {
    if (sameLetters(entry.portName, wanted)) return entry.driverDevice;
  }
  return {};
}

}  // namespace zorv
#endif
