// Cold start of the program against a bare Win32 window (bare_window.cpp),
// side by side: the two are started in turn, so that a slower stretch of the
// machine hits both. Each run starts the program as a new process, waits until
// it is painted, closes it with WM_CLOSE and waits for its exit.
//
// "Painted" is the same test for both programs: the process is idle for input
// (WaitForInputIdle) and has a visible top-level window that, like each of its
// visible child windows, has nothing left to paint (an empty update region).
// The time runs from just before CreateProcess to the start of the first check
// that finds this. The window is checked only while the program counts as
// idle, at most once a millisecond, so that the checks' requests to the window
// server slow a working program down as little as possible. (Wine: a program
// is idle from when its thread finds no message until it next waits for one
// and wakes; on Windows only the first wait waits.)
//
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/startup_bench.exe
//   [runs [program [baseline]]]
//
// runs defaults to 7; program to the desktop program of the same build and
// baseline to bare_window.exe beside this benchmark. One untimed start of each
// comes first, so that every timed one finds the files in the page cache.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/app/clock.hpp"

namespace {

constexpr DWORD StartLimitMs = 30000;
constexpr DWORD ExitLimitMs = 10000;

// The folder of this benchmark, ending in a backslash.
std::string OwnFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

struct Search {
  DWORD process = 0;
  HWND painted = nullptr;  // a visible window of the process with nothing left to paint
  bool pending = false;    // a window being checked still has something to paint
};

bool NeedsPaint(HWND window) {
  return IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE);
}

BOOL CALLBACK CheckChild(HWND child, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  search->pending = NeedsPaint(child);
  return search->pending ? FALSE : TRUE;
}

BOOL CALLBACK CheckTopLevel(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  search->pending = NeedsPaint(window);
  if (!search->pending) EnumChildWindows(window, CheckChild, lParam);
  if (!search->pending) search->painted = window;
  return search->painted == nullptr ? TRUE : FALSE;
}

HWND PaintedWindow(DWORD process) {
  Search search;
  search.process = process;
  EnumWindows(CheckTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.painted;
}

// Closes the process's window and waits for the process to end.
bool CloseAndWait(HWND window, HANDLE process) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process, ExitLimitMs) == WAIT_OBJECT_0) return true;
  TerminateProcess(process, 1);
  return false;
}

// Milliseconds from `start` to the first check that finds the process's
// window painted while the process waits for input; negative when none does.
double PaintedAt(const PROCESS_INFORMATION& process, double start, HWND& window) {
  while (NowMs() - start < StartLimitMs && WaitForInputIdle(process.hProcess, StartLimitMs) == 0) {
    double checked = NowMs();
    window = PaintedWindow(process.dwProcessId);
    if (window != nullptr) return checked - start;
    if (WaitForSingleObject(process.hProcess, 1) != WAIT_TIMEOUT) break;
  }
  return -1;
}

// Milliseconds from the start of `program` to its painted window; a negative
// figure, with the reason on stderr, when it did not get there or did not close.
double TimeOneStart(const std::string& program) {
  std::string commandLine = '"' + program + '"';
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  double start = NowMs();
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "%s did not start (error %lu)\n", program.c_str(), GetLastError());
    return -1;
  }
  HWND window = nullptr;
  double elapsed = PaintedAt(process, start, window);
  const char* failure = nullptr;
  if (window == nullptr) {
    failure = "showed no painted window";
  } else if (!CloseAndWait(window, process.hProcess)) {
    failure = "did not end after WM_CLOSE";
  }
  if (failure != nullptr) std::fprintf(stderr, "%s %s\n", program.c_str(), failure);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return failure == nullptr ? elapsed : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRow(const char* what, const std::vector<double>& times) {
  std::printf("  %-12s %8.1f %8.1f %8.1f\n", what, *std::min_element(times.begin(), times.end()),
              Median(times), *std::max_element(times.begin(), times.end()));
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::atoi(argv[1]) : 7;
  std::string program = argc > 2 ? argv[2] : OwnFolder() + "..\\..\\app\\velkor-subnetting.exe";
  std::string baseline = argc > 3 ? argv[3] : OwnFolder() + "bare_window.exe";
  if (runs < 1) return 1;
  if (TimeOneStart(program) < 0 || TimeOneStart(baseline) < 0) {
    std::fprintf(stderr, "%s or %s did not start, paint and close\n", program.c_str(),
                 baseline.c_str());
    return 1;
  }
  std::vector<double> programTimes, baselineTimes, ratios;
  std::printf("%-4s %12s %12s\n", "run", "program", "bare window");
  for (int run = 1; run <= runs; ++run) {
    programTimes.push_back(TimeOneStart(program));
    baselineTimes.push_back(TimeOneStart(baseline));
    std::printf("%-4d %9.1f ms %9.1f ms\n", run, programTimes.back(), baselineTimes.back());
    if (programTimes.back() < 0 || baselineTimes.back() < 0) return 1;
    ratios.push_back(programTimes.back() / baselineTimes.back());
  }
  std::printf("\nStart until painted and idle, %d runs each (ms):\n", runs);
  std::printf("  %-12s %8s %8s %8s\n", "", "min", "median", "max");
  PrintRow("program", programTimes);
  PrintRow("bare window", baselineTimes);
  std::printf("  ratio of the medians: %.2f\n", Median(programTimes) / Median(baselineTimes));
  // Each run's pair started one after the other, so its ratio is less swayed
  // by what else the machine is doing.
  std::printf("  median of the runs' ratios: %.2f\n", Median(ratios));
  return 0;
}
