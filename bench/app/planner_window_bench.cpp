// How fast the VLSM planner plans: from the Plan click to the painted
// window, its list and its map of the block, for 100 and for 10,000 wanted
// sub-networks of 10.0.0.0/8. Each run opens the window in this process while
// a helper thread puts the lines into it, clicks Plan, waits for the rows and
// the status that follows the map, has everything that is pending painted,
// and takes the time. Prints the figures; the goal for 10,000 lines is under
// 150 ms.
//
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/planner_window_bench.exe
//   [runs]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "bench/app/clock.hpp"
#include "net/planner.hpp"
#include "toolkit/toolkit_start.hpp"
#include "toolkit/windows.hpp"

namespace {

constexpr const char* PlannedBlock = "10.0.0.0/8";
constexpr int LineCounts[] = {100, 10000};

// "site1 100" to "siteN 100" (each a /25), one a line, as typed in the window.
std::string SiteLines(int count) {
  std::string lines;
  for (int i = 1; i <= count; ++i)
    lines += "site" + std::to_string(i) + " 100\r\n";
  return lines;
}

// The planner's parts once all exist (they appear one by one), else a null window.
struct PlannerParts {
  HWND window = nullptr;
  HWND lines = nullptr;
  HWND plan = nullptr;
  HWND list = nullptr;
  HWND map = nullptr;
  HWND status = nullptr;
};

PlannerParts FindPlannerParts() {
  const HWND window = FindWindowA(nullptr, PlannerTitle);
  if (window == nullptr) return PlannerParts{};
  PlannerParts parts{window, FindWindowExA(window, nullptr, "RichEdit20A", nullptr),
                     FindWindowExA(window, nullptr, "Button", "Plan"),
                     FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr),
                     FindWindowExA(window, nullptr, "VelkorBlockMap", nullptr)};
  RECT lowest{};  // the status is the lowest label
  for (HWND label = nullptr; (label = FindWindowExA(window, label, "Static", nullptr));) {
    RECT area{};
    GetWindowRect(label, &area);
    if (area.top > lowest.top) lowest = area, parts.status = label;
  }
  // Close comes after the status.
  const HWND close = FindWindowExA(window, nullptr, "Button", "Close");
  return parts.lines && parts.plan && parts.list && parts.map && close ? parts : PlannerParts{};
}

// The rows of the plan: the wanted sub-networks, then the free blocks.
LRESULT PlanRows(const std::string& lines) {
  const PlannerOutcome outcome = RunPlanner(PlannedBlock, lines);
  return static_cast<LRESULT>(outcome.items.size() + std::get<VlsmPlan>(outcome.plan).free.size());
}

DWORD WINAPI RunWork(LPVOID work) {
  (*static_cast<std::function<void()>*>(work))();
  return 0;
}

// One opening: the lines go in, then the time from the Plan click to the
// painted list.
double TimeOnePlan(int owner, const std::string& lines, LRESULT rows) {
  double taken = 0;
  std::function<void()> work = [&] {
    PlannerParts parts;
    while ((parts = FindPlannerParts()).window == nullptr)
      SwitchToThread();
    SendMessageA(parts.lines, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lines.c_str()));
    const double start = NowMs();
    // The button's click notification; the window has planned once its list
    // answers with the plan's rows (sent messages wait while it is busy).
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(parts.plan), BN_CLICKED),
                 reinterpret_cast<LPARAM>(parts.plan));
    char status[8] = "";
    while (SendMessageA(parts.list, LVM_GETITEMCOUNT, 0, 0) != rows ||
           (GetWindowTextA(parts.status, status, sizeof status), std::strncmp(status, "Used", 4)))
      SwitchToThread();
    RedrawWindow(parts.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    taken = NowMs() - start;
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
    // The typed lines are changes: the window asks before it closes.
    HWND question = nullptr;
    while (!(question = FindWindowA(nullptr, SaveChangesTitle)))
      SwitchToThread();
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(SaveChoiceDontSaveCommand, 1), 0);
  };
  HANDLE helper = CreateThread(nullptr, 0, RunWork, &work, 0, nullptr);
  ShowPlannerWindow(WindowHandle(owner), PlannedBlock, 640, 460);
  WaitForSingleObject(helper, INFINITE);
  CloseHandle(helper);
  return taken;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
  if (runs < 1 || !ToolkitStart()) return 1;
  int owner = static_cast<int>(WindowOpen(AutoId, 0, 0, 450, 432, "Owner", WS_CAPTION, nullptr));
  std::printf("VLSM planner, %s, %d plans per list (Plan click to painted list and map):\n",
              PlannedBlock, runs);
  for (int count : LineCounts) {
    const std::string lines = SiteLines(count);
    const LRESULT rows = PlanRows(lines);
    TimeOnePlan(owner, lines, rows);  // loads the libraries and fills the caches
    std::vector<double> times;
    for (int run = 0; run < runs; ++run)
      times.push_back(TimeOnePlan(owner, lines, rows));
    std::printf("  %6d lines, %6ld rows: median %8.2f ms   min %8.2f ms   max %8.2f ms\n", count,
                static_cast<long>(rows), Median(times),
                *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
  }
  std::printf("goal: 10,000 lines under 150 ms\n");
  WindowClose(owner);
  ToolkitStop();
  return 0;
}
