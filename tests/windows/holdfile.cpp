// Test helper for the Windows programs: opens the file its argument names
// the way a running game holds a map, sharing reading only, so that no other
// process may write, replace or delete it. Prints "held" once it holds the
// file and keeps it until its standard input ends.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const HANDLE file = ::CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::puts("held");
  std::fflush(stdout);
  while (std::getchar() != EOF) {
  }
  ::CloseHandle(file);
  return 0;
}
