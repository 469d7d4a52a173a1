#include "platform/inputfile.h"

#include <algorithm>

#include "varnholt/model/error.h"
#include "platform/windows/system.h"

namespace varnholt::platform {

namespace {

[[noreturn]] void cannotRead(const std::string& path, const std::string& reason) {
  throw exception("cannot read " + path + ": " + reason);
}

HANDLE handleOf(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
  // Folders open only with backup semantics, so they come back as a handle
  // to be told apart rather than as an access error.
  const HANDLE handle = ::CreateFileW(windows::widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) cannotRead(path, windows::reason(::GetLastError()));
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::CloseHandle(handle);
    cannotRead(path, "not a regular file");
  }
  handle_ = reinterpret_cast<intptr_t>(handle);
  size_ = uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
}

InputFile::~InputFile() { ::CloseHandle(handleOf(handle_)); }

void InputFile::read(std::span<uint8_t> out) {
  size_t done = 0;
  while (done < out.size()) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(handleOf(handle_), out.data() + done, piece, &got, nullptr)) {
      cannotRead(path_, windows::reason(::GetLastError()));
    }
    if (got == 0) cannotRead(path_, "the file shrank while it was read");
    done += got;
  }
}

}  // namespace varnholt::platform
