#include "varnholt/file.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <random>

#include "platform/windows/system.h"
#include "platform/failures.h"
#include "varnholt/model/error.h"

namespace varnholt::mapfile {

namespace {

namespace windows = platform::windows;

using windows::reason;
using windows::widen;

// Where an output file goes: the file replaced or created (path itself, or
// what a link at path points to) and its directory.
struct Destination {
  std::wstring file;
  std::wstring directory;
};

// The system refused to let a file be created beside path.
[[noreturn]] void throwSystemError(DWORD error, const std::string& path, Wording wording) {
  failures::cannotCreate(reason(error), path, wording);
}

// Path names something that cannot take a file.
[[noreturn]] void refuse(const std::string& path, const std::string& what, Wording wording) {
  failures::refuse(path, what, wording);
}

// Writing, syncing or renaming the file failed.
[[noreturn]] void throwWriteError(DWORD error, const std::string& path, Wording wording) {
  failures::cannotWrite(reason(error), path, wording);
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
std::wstring finalPath(HANDLE handle, const std::string& path, Wording wording) {
  const DWORD length = ::GetFinalPathNameByHandleW(handle, nullptr, 0, VOLUME_NAME_DOS);
  if (length == 0) throwSystemError(::GetLastError(), path, wording);
  std::wstring resolved(length, L'\0');
  const DWORD written =
      ::GetFinalPathNameByHandleW(handle, resolved.data(), length, VOLUME_NAME_DOS);
  if (written == 0 || written >= length) throwSystemError(::GetLastError(), path, wording);
  resolved.resize(written);
  return resolved;
}

std::wstring directoryOf(const std::wstring& file) {
  const std::wstring parent = std::filesystem::path(file).parent_path().wstring();
  return parent.empty() ? L"." : parent;
}

Destination destination(const std::string& path, Wording wording) {
  const std::wstring name = widen(path);
  if (isDeviceName(name)) refuse(path, "a device, not a regular file", wording);
  Destination d{name, {}};
  // Opening for attributes only follows links and works on folders as well.
  const Handle existing(::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (existing.valid()) {
    const DWORD type = ::GetFileType(existing.get());
    if (type == FILE_TYPE_CHAR) refuse(path, "a device, not a regular file", wording);
    if (type == FILE_TYPE_PIPE) refuse(path, "a pipe, not a regular file", wording);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(existing.get(), &info)) {
      throwSystemError(::GetLastError(), path, wording);
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      refuse(path, "a directory, not a regular file", wording);
    }
    if (isStandardStream(info)) {
      refuse(path, "it is this program's standard output or error", wording);
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
      throwSystemError(ERROR_ACCESS_DENIED, path, wording);
    }
    const DWORD named = ::GetFileAttributesW(name.c_str());
    if (named != INVALID_FILE_ATTRIBUTES && (named & FILE_ATTRIBUTE_REPARSE_POINT)) {
      d.file = finalPath(existing.get(), path, wording);
    }
  } else {
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) throwSystemError(error, path, wording);
    const DWORD named = ::GetFileAttributesW(name.c_str());
    if (named != INVALID_FILE_ATTRIBUTES && (named & FILE_ATTRIBUTE_REPARSE_POINT)) {
      refuse(path, "a link to a missing file", wording);
    }
  }
  d.directory = directoryOf(d.file);
  const DWORD directory = ::GetFileAttributesW(d.directory.c_str());
  if (directory == INVALID_FILE_ATTRIBUTES) throwSystemError(::GetLastError(), path, wording);
  if (!(directory & FILE_ATTRIBUTE_DIRECTORY)) throwSystemError(ERROR_DIRECTORY, path, wording);
  return d;
}

// A temporary file that runs find unchanged this long and can remove was left
// behind by a run that was killed: a live run holds its file open without
// sharing, so removing that one fails.
constexpr int64_t kStaleTemporarySeconds = 60;

std::wstring randomHex(std::random_device& source) {
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  const uint64_t value = (uint64_t{source()} << 32) ^ source();
  std::wstring hex(16, L'0');
  for (int digit = 0; digit < 16; ++digit) hex[digit] = kHex[(value >> (60 - 4 * digit)) & 15];
  return hex;
}

// Removes the temporary files in directory that killed runs left behind.
// Nothing here fails: what cannot be removed stays.
void removeStaleTemporaries(const std::wstring& directory) {
  WIN32_FIND_DATAW entry{};
  const std::wstring pattern = (std::filesystem::path(directory) / L".varnholt-*.tmp").wstring();
  const HANDLE listing = ::FindFirstFileW(pattern.c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) return;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& time) {  // 100 ns since 1601
    return uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
  };
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (ticks(now) - ticks(entry.ftLastWriteTime) < uint64_t{kStaleTemporarySeconds} * 10000000) {
      continue;
    }
    ::DeleteFileW((std::filesystem::path(directory) / entry.cFileName).wstring().c_str());
  } while (::FindNextFileW(listing, &entry));
  ::FindClose(listing);
}

// Creates a new file in directory under a name no one can predict, open for
// writing and deleting and shared with no one, so that no other run removes
// it while it lives. Returns INVALID_HANDLE_VALUE with the error set when it
// cannot.
HANDLE createTemporary(const std::wstring& directory, std::wstring& path, std::string& name) {
  std::random_device source;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::wstring file = L".varnholt-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              randomHex(source) + L".tmp";
    path = (std::filesystem::path(directory) / file).wstring();
    name = windows::narrow(file);
    const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
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

struct PendingFile::System {
  std::wstring target;     // the file replaced or created
  std::wstring temporary;  // where the bytes are written first
  HANDLE handle = INVALID_HANDLE_VALUE;  // of the temporary file until commit
  DWORD writeError = 0;                  // of the first failed write
};

PendingFile::PendingFile(const std::string& path, Wording wording)
    : path_(path), wording_(wording), system_(std::make_unique<System>()) {
  const Destination d = destination(path, wording);
  removeStaleTemporaries(d.directory);
  system_->target = d.file;
  system_->handle = createTemporary(d.directory, system_->temporary, temporary_);
  if (system_->handle == INVALID_HANDLE_VALUE) throwSystemError(::GetLastError(), path, wording);
}

PendingFile::~PendingFile() {
  if (!committed_) removeTemporary();
  if (system_->handle != INVALID_HANDLE_VALUE) ::CloseHandle(system_->handle);
}

void PendingFile::write(std::span<const uint8_t> bytes) noexcept {
  if (system_->writeError == 0 && !writeAll(system_->handle, bytes)) {
    system_->writeError = ::GetLastError();
  }
}

bool PendingFile::failed() const { return system_->writeError != 0; }

void PendingFile::removeTemporary() const noexcept {
  if (system_->handle == INVALID_HANDLE_VALUE) {
    ::DeleteFileW(system_->temporary.c_str());
    return;
  }
  // Through the open handle: the file goes when the handle is closed, at the
  // latest when the process ends.
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  ::SetFileInformationByHandle(system_->handle, FileDispositionInfo, &disposition,
                               sizeof disposition);
}

void PendingFile::commit() {
  System& s = *system_;
  DWORD error = s.writeError;
  if (error == 0 && !::FlushFileBuffers(s.handle)) error = ::GetLastError();
  if (!::CloseHandle(s.handle) && error == 0) error = ::GetLastError();
  s.handle = INVALID_HANDLE_VALUE;
  // The old file is replaced by the complete new one in one step, and the
  // call returns only when the move is on disk.
  if (error == 0 && !::MoveFileExW(s.temporary.c_str(), s.target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = ::GetLastError();
  }
  if (error != 0) throwWriteError(error, path_, wording_);
  committed_ = true;
}

}  // namespace varnholt::mapfile
