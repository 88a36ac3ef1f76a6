#pragma once
// UTF-8 <-> UTF-16 for the Win32 calls, which take and give wide text. Windows only.
#ifdef _WIN32
#include <string>
#include <string_view>

namespace zorv {

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The system's message for a Win32 error code, without the trailing line break.
std::string SystemMessage(unsigned long code);

}  // namespace zorv
#endif
