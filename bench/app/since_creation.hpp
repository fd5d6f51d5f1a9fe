// The start-up benchmarks' clock for the loader's share: the time since the
// process was created, as the system recorded it.
#pragma once

#include <windows.h>

// Milliseconds from the creation of this process until now.
inline double SinceProcessCreation() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  // Windows 8 and Wine have the precise clock; Windows 7's ticks every 15.6 ms.
  using PreciseTime = void(WINAPI*)(FILETIME*);
  auto precise = reinterpret_cast<PreciseTime>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
  (precise != nullptr ? precise : GetSystemTimeAsFileTime)(&now);
  auto ticks = [](const FILETIME& time) {
    return static_cast<double>(ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart);
  };
  return (ticks(now) - ticks(created)) / 10000.0;  // 100 ns ticks
}
