// The clocks of the window benchmarks: milliseconds from the performance
// counter, and the time since the process was created, as the system recorded
// it (for the loader's share of a start-up).
#pragma once

#include <windows.h>

inline double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

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
