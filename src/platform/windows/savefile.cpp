#include "platform/savefile.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <initializer_list>

#include "model/error.h"
#include "platform/windows/system.h"

namespace varnholt::platform {

namespace {

using windows::reason;
using windows::widen;

// Where an output file goes: the file replaced or created (path itself, or
// what a link at path points to) and its directory.
struct Destination {
  std::wstring file;
  std::wstring directory;
};

[[noreturn]] void throwSystemError(DWORD error, const std::string& path) {
  throw exception(reason(error) + "\nAdditional info: " + path);
}

[[noreturn]] void refuse(const std::string& path, const std::string& what) {
  throw exception("Refusing output path " + path + ": " + what);
}

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The name the system resolves path to; device names (NUL, CON, COM1, also
// with a folder or an extension before Windows 11) come back as "\\.\NUL".
std::wstring fullPath(const std::wstring& path) {
  const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  full.resize(written < length ? written : 0);
  return full;
}

bool isDeviceName(const std::wstring& path) { return fullPath(path).starts_with(L"\\\\.\\"); }

// True when file is what standard output or error is open on: a file written
// there would be mixed with the console lines.
bool isStandardStream(const BY_HANDLE_FILE_INFORMATION& file) {
  for (DWORD stream : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
    const HANDLE handle = ::GetStdHandle(stream);
    BY_HANDLE_FILE_INFORMATION open{};
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE &&
        ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileInformationByHandle(handle, &open) &&
        open.dwVolumeSerialNumber == file.dwVolumeSerialNumber &&
        open.nFileIndexHigh == file.nFileIndexHigh && open.nFileIndexLow == file.nFileIndexLow) {
      return true;
    }
  }
  return false;
}

// The file a link resolves to, by the name its volume's drive letter gives.
std::wstring finalPath(HANDLE handle, const std::string& path) {
  const DWORD length = ::GetFinalPathNameByHandleW(handle, nullptr, 0, VOLUME_NAME_DOS);
  if (length == 0) throwSystemError(::GetLastError(), path);
  std::wstring resolved(length, L'\0');
  const DWORD written =
      ::GetFinalPathNameByHandleW(handle, resolved.data(), length, VOLUME_NAME_DOS);
  if (written == 0 || written >= length) throwSystemError(::GetLastError(), path);
  resolved.resize(written);
  return resolved;
}

std::wstring directoryOf(const std::wstring& file) {
  const std::wstring parent = std::filesystem::path(file).parent_path().wstring();
  return parent.empty() ? L"." : parent;
}

Destination destination(const std::string& path) {
  const std::wstring name = widen(path);
  if (isDeviceName(name)) refuse(path, "a device, not a regular file");
  Destination d{name, {}};
  // Opening for attributes only follows links and works on folders as well.
  const Handle existing(::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (existing.valid()) {
    const DWORD type = ::GetFileType(existing.get());
    if (type == FILE_TYPE_CHAR) refuse(path, "a device, not a regular file");
    if (type == FILE_TYPE_PIPE) refuse(path, "a pipe, not a regular file");
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(existing.get(), &info)) {
      throwSystemError(::GetLastError(), path);
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      refuse(path, "a directory, not a regular file");
    }
    if (isStandardStream(info)) refuse(path, "it is this program's standard output or error");
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) throwSystemError(ERROR_ACCESS_DENIED, path);
    const DWORD named = ::GetFileAttributesW(name.c_str());
    if (named != INVALID_FILE_ATTRIBUTES && (named & FILE_ATTRIBUTE_REPARSE_POINT)) {
      d.file = finalPath(existing.get(), path);
    }
  } else {
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) throwSystemError(error, path);
    const DWORD named = ::GetFileAttributesW(name.c_str());
    if (named != INVALID_FILE_ATTRIBUTES && (named & FILE_ATTRIBUTE_REPARSE_POINT)) {
      refuse(path, "a link to a missing file");
    }
  }
  d.directory = directoryOf(d.file);
  const DWORD directory = ::GetFileAttributesW(d.directory.c_str());
  if (directory == INVALID_FILE_ATTRIBUTES) throwSystemError(::GetLastError(), path);
  if (!(directory & FILE_ATTRIBUTE_DIRECTORY)) throwSystemError(ERROR_DIRECTORY, path);
  return d;
}

// Creates a new file in directory under a name no other run uses (the
// process id and a count). Returns INVALID_HANDLE_VALUE with the error set
// when it cannot.
HANDLE createTemporary(const Destination& d, std::wstring& name) {
  static std::atomic<uint64_t> count{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring file = L".varnholt-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(count.fetch_add(1)) + L".tmp";
    name = (std::filesystem::path(d.directory) / file).wstring();
    const HANDLE handle = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

// Writes all of bytes; false with the error set when a write fails.
bool writeAll(HANDLE handle, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data() + done, piece, &written, nullptr)) return false;
    if (written == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

void checkOutputPath(const std::string& path) { destination(path); }

void saveFile(std::span<const uint8_t> bytes, const std::string& path) {
  const Destination d = destination(path);
  std::wstring temporary;
  const HANDLE handle = createTemporary(d, temporary);
  if (handle == INVALID_HANDLE_VALUE) throwSystemError(::GetLastError(), path);
  DWORD error = 0;
  if (!writeAll(handle, bytes) || !::FlushFileBuffers(handle)) error = ::GetLastError();
  if (!::CloseHandle(handle) && error == 0) error = ::GetLastError();
  // The old file is replaced by the complete new one in one step, and the
  // call returns only when the move is on disk.
  if (error == 0 && !::MoveFileExW(temporary.c_str(), d.file.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = ::GetLastError();
  }
  if (error != 0) {
    ::DeleteFileW(temporary.c_str());
    throw exception("Failed to write path " + path + ": " + reason(error));
  }
}

}  // namespace varnholt::platform
