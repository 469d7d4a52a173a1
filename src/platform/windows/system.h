#pragma once

#include <windows.h>

#include <string>

// What the Windows implementations share: text between UTF-8 and the
// system's UTF-16, and the system's reasons in the words the POSIX build
// uses, so both programs report a failure alike on every system.
namespace varnholt::platform::windows {

// utf8 as UTF-16 for the wide-character calls. Throws Exception when utf8 is
// not valid UTF-8.
std::wstring widen(const std::string& utf8);

// The UTF-8 form of UTF-16 text.
std::string narrow(const std::wstring& utf16);

// The reason for a system error code (GetLastError()): the C library's
// message where the code has an errno counterpart ("No such file or
// directory", "Permission denied", "No space left on device" …), the
// system's own message otherwise.
std::string reason(DWORD error);

}  // namespace varnholt::platform::windows
