#include "platform/process.h"

// shellapi.h needs windows.h before it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <mutex>

#include "platform/windows/system.h"

namespace varnholt::platform {

namespace {

// The console's code page before the program set UTF-8; the console outlives
// the program, so it gets its own back at exit.
UINT previousCodePage = 0;

void restoreCodePage() { ::SetConsoleOutputCP(previousCodePage); }

// Whether a TerminationHeld lives, and the file a RemovedOnTermination
// removes; the console's handler thread waits while a hold lasts.
std::mutex holdMutex;
std::condition_variable holdEnded;
bool holding = false;
const mapfile::PendingFile* removed = nullptr;

// Runs in a thread of its own on Ctrl-C, Ctrl-Break or the console closing.
// It returns only when no file is being put in place, after removing a
// temporary file that would be left behind; returning FALSE passes the event
// on to the system's handler, which ends the process.
BOOL WINAPI onConsoleEvent(DWORD) {
  std::unique_lock<std::mutex> lock(holdMutex);
  holdEnded.wait(lock, [] { return !holding; });
  if (removed != nullptr) removed->removeTemporary();
  return FALSE;
}

}  // namespace

struct TerminationHeld::State {};
struct RemovedOnTermination::State {};

std::vector<std::string> commandLineArguments(int, char**) {
  // The narrow argv holds the arguments in the system's ANSI code page, which
  // cannot carry every name; the wide command line can.
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(windows::narrow(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

void prepareStandardStreams() {
  // Lines end in "\n" as on every other system; text mode would add "\r".
  // A stream the program was started without has no descriptor to set.
  for (std::FILE* stream : {stdout, stderr}) {
    if (::_fileno(stream) >= 0) ::_setmode(::_fileno(stream), _O_BINARY);
  }
  previousCodePage = ::GetConsoleOutputCP();
  if (previousCodePage != 0 && previousCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
    std::atexit(restoreCodePage);
  }
  // A drive that is not ready fails the call instead of asking in a window.
  ::SetErrorMode(SEM_FAILCRITICALERRORS);
  ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

TerminationHeld::TerminationHeld() : state_(std::make_unique<State>()) {
  const std::lock_guard<std::mutex> lock(holdMutex);
  holding = true;
}

TerminationHeld::~TerminationHeld() {
  {
    const std::lock_guard<std::mutex> lock(holdMutex);
    holding = false;
  }
  holdEnded.notify_all();
}

RemovedOnTermination::RemovedOnTermination(const mapfile::PendingFile& file)
    : state_(std::make_unique<State>()) {
  const std::lock_guard<std::mutex> lock(holdMutex);
  removed = &file;
}

RemovedOnTermination::~RemovedOnTermination() {
  const std::lock_guard<std::mutex> lock(holdMutex);
  removed = nullptr;
}

}  // namespace varnholt::platform
