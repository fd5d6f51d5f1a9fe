// Each step's share of the program's start-up, in the order of app/main.cpp,
// from the creation of the process to the painted main window. Every run is a
// new process (this benchmark started again with --once), so each step pays
// its first-use costs as in the program: this benchmark links the same windows
// library, imports the same DLLs (check with objdump -p) and carries the same
// icon and manifest.
//
// The loader's step runs from the process creation (GetProcessTimes) to main.
// startup_probe.exe, with the bare window's imports and no manifest, is timed
// the same way in between, for comparison.
//
// ToolkitStart's services and the first control of each costly kind are
// split out by paying their first use just before: the services one by one
// (ToolkitStart then finds them started), the controls in a hidden scratch
// window that is closed again outside the timing. OpenMainWindow is split at
// the creation of each control of the main window (a CBT hook) and at the
// window's WM_SHOWWINDOW: a control's line runs from its creation to the next
// mark, so it holds what the program sets in it, its items or its text.
//
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/startup_steps_bench.exe
//   [runs]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.hpp"
#include "bench/app/clock.hpp"
#include "imaging/image_codecs.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/toolkit_start.hpp"
#include "toolkit/windows.hpp"

namespace {

// ----- One start-up (--once) -------------------------------------------------

// Times the steps one after the other; a step named again adds to its line.
class StepClock {
 public:
  StepClock() : last_(NowMs()) {}
  void Step(const std::string& name, double ms) {
    auto step = std::find_if(steps_.begin(), steps_.end(),
                             [&name](const Entry& known) { return known.name == name; });
    if (step == steps_.end()) step = steps_.insert(steps_.end(), Entry{name, 0, 0});
    step->ms += ms;
    step->count += 1;
  }
  void Step(const std::string& name) {
    double now = NowMs();
    Step(name, now - last_);
    last_ = now;
  }
  void Skip() { last_ = NowMs(); }
  // "name<TAB>ms" lines; a name that came more than once says how often.
  std::string Lines() const {
    std::string lines;
    for (const Entry& step : steps_) {
      std::string times = step.count > 1 ? " (" + std::to_string(step.count) + ")" : "";
      lines += step.name + times + '\t' + std::to_string(step.ms) + '\n';
    }
    return lines;
  }

 private:
  struct Entry {
    std::string name;
    double ms;
    int count;
  };
  double last_;
  std::vector<Entry> steps_;
};

// ToolkitStart's services one by one, as toolkit/toolkit_start.cpp starts them.
void StartServices(StepClock& clock) {
  RegisterImageDecoder(PngDecoder);
  clock.Step("images: decoder registry");
  LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  clock.Step("windows: icon, cursor");
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_HOTKEY_CLASS |
                                                   ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                   ICC_INTERNET_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  clock.Step("InitCommonControlsEx");
  ToolkitStart();
  clock.Step("ToolkitStart, the rest");
}

// The first control of each kind that loads or registers something.
void CreateFirstControls(StepClock& clock) {
  int scratch = static_cast<int>(
      WindowOpen(AutoId, 0, 0, 450, 432, "", StartHidden | WS_CAPTION | CentreOnScreen, nullptr));
  clock.Step("first window (hidden)");
  CreateDropDownList(AutoId, 0, 0, 100, 22);
  clock.Step("first drop-down list");
  CreateTextEntry(AutoId, 0, 30, 100, 22, "0");
  clock.Step("first text entry");
  CreateAddressEntry(AutoId, 0, 60, 100, 22);
  clock.Step("first address entry");
  CreateTextArea(AutoId, 0, 90, 100, 100, TextAreaReadOnly);
  clock.Step("first text area");
  WindowClose(scratch);
  clock.Skip();
}

// Splits OpenMainWindow at the creation of each control of the main window and
// at the main window's WM_SHOWWINDOW.
struct MainWindowMarks {
  StepClock* clock = nullptr;
  std::string running = "main window: opening";  // the step since the last mark
  HWND window = nullptr;
  WNDPROC procedure = nullptr;

  void Mark(std::string next) {
    clock->Step(running);
    running = std::move(next);
  }
};
MainWindowMarks marks;

LRESULT CALLBACK MarkShowing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SHOWWINDOW && wParam != FALSE) marks.Mark("main window: showing");
  return CallWindowProcA(marks.procedure, window, message, wParam, lParam);
}

LRESULT CALLBACK MarkCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HCBT_CREATEWND) return CallNextHookEx(nullptr, code, wParam, lParam);
  auto* window = reinterpret_cast<HWND>(wParam);
  HWND parent = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->hwndParent;
  if (parent == nullptr && marks.window == nullptr) {
    marks.window = window;
    marks.procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MarkShowing)));
  } else if (parent == marks.window && parent != nullptr) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    marks.Mark(std::string("main window: ") + name);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool OpenMarkedMainWindow(MainWindow& window, StepClock& clock) {
  marks.clock = &clock;
  HHOOK hook = SetWindowsHookExA(WH_CBT, MarkCreation, nullptr, GetCurrentThreadId());
  bool opened = OpenMainWindow(window);
  marks.Mark(std::string());
  UnhookWindowsHookEx(hook);
  return opened;
}

// Dispatches until the queue is empty, which is when a program waiting for
// input is idle: every pending paint is done by then.
void DispatchUntilIdle() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int RunOnce() {
  StepClock clock;
  clock.Step("loader: process creation to main", SinceProcessCreation());
  MainWindow window;
  StartServices(clock);
  window.reportFont = CreateTextFont(AutoId, "Courier New", 8, 0);
  clock.Step("report font");
  window.plan = CreateSubnetPlan();
  clock.Step("calculator");
  CreateFirstControls(clock);
  bool opened = OpenMarkedMainWindow(window, clock);
  DispatchUntilIdle();
  clock.Step("first paint");
  std::fputs(clock.Lines().c_str(), stdout);
  ToolkitStop();
  window.plan->Release();
  return opened ? 0 : 1;
}

// ----- The runs --------------------------------------------------------------

// Runs `commandLine` and returns what it prints; empty when it fails.
std::string RunAndRead(std::string commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return std::string();
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &process);
  CloseHandle(writeEnd);
  std::string output;
  char buffer[4096];
  DWORD read = 0;
  while (started && ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
    output.append(buffer, read);
  CloseHandle(readEnd);
  if (!started) return std::string();
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode == 0 ? output : std::string();
}

using StepTimes = std::vector<std::pair<std::string, std::vector<double>>>;

// Adds one run's "step<TAB>ms" lines, keeping the order of the first run.
void AddRun(const std::string& output, StepTimes& steps) {
  size_t start = 0;
  for (size_t row = 0; start < output.size(); ++row) {
    size_t end = output.find('\n', start);
    std::string line = output.substr(start, end - start);
    start = end == std::string::npos ? output.size() : end + 1;
    size_t tab = line.find('\t');
    if (row == steps.size()) steps.emplace_back(line.substr(0, tab), std::vector<double>());
    steps[row].second.push_back(std::atof(line.c_str() + tab + 1));
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintTable(const StepTimes& steps, const std::vector<double>& probe, int runs) {
  double total = 0;
  for (const auto& step : steps)
    total += Median(step.second);
  std::printf("Start-up steps, %d runs, each a new process:\n", runs);
  std::printf("  %-40s %9s %7s %9s\n", "step", "median ms", "share", "min ms");
  for (const auto& step : steps) {
    double median = Median(step.second);
    std::printf("  %-40s %9.1f %6.1f%% %9.1f\n", step.first.c_str(), median, 100 * median / total,
                *std::min_element(step.second.begin(), step.second.end()));
  }
  std::printf("  %-40s %9.1f %6.1f%%\n", "sum of the medians", total, 100.0);
  std::printf(
      "\nLoader, process creation to main, with the bare window's imports: median %.1f ms, "
      "min %.1f ms\n",
      Median(probe), *std::min_element(probe.begin(), probe.end()));
}

std::string OwnPath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--once") return RunOnce();
  int runs = argc > 1 ? std::atoi(argv[1]) : 7;
  if (runs < 1) return 1;
  std::string self = OwnPath();
  std::string probe = self.substr(0, self.find_last_of('\\') + 1) + "startup_probe.exe";
  StepTimes steps;
  std::vector<double> probeTimes;
  // One untimed run of each first, so that every timed one finds the files in the page cache.
  for (int run = 0; run <= runs; ++run) {
    std::string once = RunAndRead('"' + self + "\" --once");
    std::string bare = RunAndRead('"' + probe + '"');
    if (once.empty() || bare.empty()) {
      std::fprintf(stderr, "a run failed\n");
      return 1;
    }
    if (run == 0) continue;
    AddRun(once, steps);
    probeTimes.push_back(std::atof(bare.c_str()));
  }
  PrintTable(steps, probeTimes, runs);
  return 0;
}
