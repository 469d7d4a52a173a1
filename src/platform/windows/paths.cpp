#include "platform/paths.h"

#include <cerrno>

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

std::FILE* openForWriting(const std::string& path) {
  std::wstring name;
  try {
    name = windows::widen(path);
  } catch (const std::exception&) {
    errno = EINVAL;
    return nullptr;
  }
  return ::_wfopen(name.c_str(), L"wb");
}

void removeRegularFile(const std::string& path) {
  const std::wstring name = windows::widen(path);
  const DWORD attributes = ::GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  const HANDLE handle = ::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
  ::CloseHandle(handle);
  if (disk) ::DeleteFileW(name.c_str());
}

}  // namespace varnholt::platform
