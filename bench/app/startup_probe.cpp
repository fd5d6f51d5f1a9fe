// Prints the milliseconds from the creation of this process to main: the
// loader's share of a program with the bare window's imports and no manifest.
// startup_steps_bench.exe runs it beside its own runs.
//
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/startup_probe.exe
#include <windows.h>

#include <cstdio>

#include "bench/app/clock.hpp"

int main() {
  std::printf("%f\n", SinceProcessCreation());
  // bare_window.exe imports user32, so the probe does too.
  return GetDesktopWindow() != nullptr ? 0 : 1;
}
