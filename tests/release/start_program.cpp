// start_program PROGRAM: starts an installed or unpacked copy of the program,
// waits for its main window, closes it as a person would (the close request)
// and checks that it ended with exit code 0. Prints what it saw; exits with 0
// only when all of that held.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/app_driver.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: start_program PROGRAM\n", stderr);
    return 2;
  }
  AppProcess app;
  std::string error;
  bool shown = StartApp(app, error, argv[1]);
  DWORD exitCode = 1;
  bool ended = false;
  if (shown) {
    PostMessageA(app.main, WM_CLOSE, 0, 0);
    ended = WaitForExit(app, 10000, exitCode);
  }
  StopApp(app);
  if (!shown) {
    std::printf("%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  std::printf("%s: main window shown; %s\n", argv[1],
              !ended ? "did not end when closed"
                     : (exitCode == 0 ? "ended with exit code 0" : "ended with an error"));
  return ended && exitCode == 0 ? 0 : 1;
}
