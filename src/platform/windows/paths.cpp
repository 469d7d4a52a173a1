#include "platform/paths.h"

#include "platform/windows/system.h"

namespace varnholt::platform {

namespace {

// The identity of the file at path; false when it cannot be opened.
bool identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  const HANDLE handle =
      ::CreateFileW(windows::widen(path).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  return known;
}

}  // namespace

bool sameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION first{};
  BY_HANDLE_FILE_INFORMATION second{};
  if (!identify(a, first) || !identify(b, second)) return false;
  return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace varnholt::platform
