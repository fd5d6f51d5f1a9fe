// How fast the Sub-networks window opens, pages and goes to a sub-network for
// the largest plan (class A, 4,194,304 wanted subnets: 8,388,608
// sub-networks) compared with a plan of 64 sub-networks; both fill whole
// pages, and the go-to jumps to a full page (for the largest plan, across
// 262,160 pages). Each run opens the window in
// this process while a helper thread waits for the page, has everything that
// is pending painted, and takes the time. Prints the figures and the ratios.
//
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/subnets_window_bench.exe
//   [runs]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "bench/app/clock.hpp"
#include "calc/enumeration.hpp"
#include "calc/find.hpp"
#include "tests/app/subnets_window_parts.hpp"
#include "toolkit/toolkit_start.hpp"
#include "toolkit/windows.hpp"

namespace {

struct PlanCase {
  const char* name;
  int classIndex;
  int a, b, c;  // the network's first three octets
  int wantedSubnets;
  const char* goTo;  // typed into the go-to dialog from page 2
};
constexpr PlanCase PlanCases[] = {
    {"class C 192.168.1.0, 62 wanted subnets", 0, 192, 168, 1, 62, "10"},
    {"class A 10.0.0.0, 4194304 wanted subnets", 2, 10, 0, 0, 4194304, "10.200.3.77"}};

struct Timed {
  SubnetPlan* plan = nullptr;
  std::vector<double> open;      // ms from the call to the painted first page
  std::vector<double> nextPage;  // ms from the command to the painted second page
  std::vector<double> goTo;      // ms from the go-to dialog's Enter to the painted page
  const char* target = nullptr;
};

// Sent messages wait while the window's thread is busy, so the page has been
// filled once they show it. Then everything pending is painted.
double PageShownAt(const SubnetsWindowParts& parts, const std::string& label, LRESULT rows) {
  for (;;) {
    char text[64] = "";
    SendMessageA(parts.label, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (label == text && SendMessageA(parts.list, LVM_GETITEMCOUNT, 0, 0) == rows) break;
    SwitchToThread();
  }
  RedrawWindow(parts.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return NowMs();
}

DWORD WINAPI RunWork(LPVOID work) {
  (*static_cast<std::function<void()>*>(work))();
  return 0;
}

std::string PageLabel(int32_t page, int32_t pages) {
  return "Page " + std::to_string(page) + "/" + std::to_string(pages);
}

// Opens the go-to dialog, types `target` and times from its Enter to the
// painted page of the target.
double TimeGoTo(const SubnetsWindowParts& parts, const SubnetPlan& plan, const char* target) {
  const int32_t lastIndex = plan.TotalSubnets() - 1;
  const int32_t page = PageOfIndex(FindSubnetTarget(plan, target).index, SubnetPageSize);
  IndexRange rows;
  PageRange(lastIndex, SubnetPageSize, page, rows);
  PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(GoToCommand, 1), 0);
  HWND dialog = nullptr, entry = nullptr;
  while ((dialog = FindWindowA(nullptr, GoToTitle)) == nullptr)
    SwitchToThread();
  while ((entry = FindWindowExA(dialog, nullptr, "Edit", nullptr)) == nullptr)
    SwitchToThread();
  SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target));
  double start = NowMs();
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GoToEnterCommand, 1), 0);
  return PageShownAt(parts, PageLabel(page, PageCount(lastIndex, SubnetPageSize)),
                     rows.last - rows.first + 1) -
         start;
}

// One opening: the time to the painted first page and from the next-page
// command to the painted second page.
void TimeOneOpening(Timed& plan, int owner, bool record) {
  const int32_t pages = PageCount(plan.plan->TotalSubnets() - 1, SubnetPageSize);
  std::atomic<double> openedAt{0};
  double open = 0, next = 0, jump = 0;
  std::function<void()> work = [&] {
    SubnetsWindowParts parts;
    while ((parts = FindSubnetsWindowParts()).list == nullptr || parts.label == nullptr)
      SwitchToThread();
    open = PageShownAt(parts, PageLabel(1, pages), SubnetPageSize + 1) - openedAt.load();
    double start = NowMs();
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(NextPageCommand, 1), 0);
    next = PageShownAt(parts, PageLabel(2, pages), SubnetPageSize) - start;
    jump = TimeGoTo(parts, *plan.plan, plan.target);
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
  };
  HANDLE helper = CreateThread(nullptr, 0, RunWork, &work, 0, nullptr);
  openedAt = NowMs();
  ShowSubnetsWindow(WindowHandle(owner), *plan.plan, 460, 350);
  WaitForSingleObject(helper, INFINITE);
  CloseHandle(helper);
  if (record) {
    plan.open.push_back(open);
    plan.nextPage.push_back(next);
    plan.goTo.push_back(jump);
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double value : values)
    sum += value;
  return sum / static_cast<double>(values.size());
}

void PrintTimes(const char* what, const std::vector<double>& times) {
  std::printf("  %-20s median %7.2f ms   mean %7.2f ms   min %7.2f ms   max %7.2f ms\n", what,
              Median(times), Mean(times), *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()));
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::atoi(argv[1]) : 30;
  if (runs < 1 || !ToolkitStart()) return 1;
  Timed plans[2];
  for (int i = 0; i < 2; ++i) {
    const PlanCase& row = PlanCases[i];
    plans[i].plan = CreateSubnetPlan();
    plans[i].plan->SetClass(row.classIndex);
    plans[i].plan->SetNetwork(row.a, row.b, row.c, 0);
    if (!plans[i].plan->FromSubnets(row.wantedSubnets)) return 1;
    plans[i].target = row.goTo;
  }
  int owner = static_cast<int>(WindowOpen(AutoId, 0, 0, 450, 432, "Owner", WS_CAPTION, nullptr));
  for (Timed& plan : plans)
    TimeOneOpening(plan, owner, false);  // loads the libraries and fills the caches
  // Alternating, so that a slower stretch of the machine hits both plans.
  for (int run = 0; run < runs; ++run) {
    for (Timed& plan : plans)
      TimeOneOpening(plan, owner, true);
  }

  std::printf("Sub-networks window, %d openings per plan (until the page is painted):\n", runs);
  for (int i = 0; i < 2; ++i) {
    const Timed& plan = plans[i];
    int32_t total = plan.plan->TotalSubnets();
    std::printf("%s: %d sub-networks, %d pages\n", PlanCases[i].name, total,
                PageCount(total - 1, SubnetPageSize));
    PrintTimes("open to first page", plan.open);
    PrintTimes("next page", plan.nextPage);
    PrintTimes("go to", plan.goTo);
    std::printf("  go-to / next page (medians): %.2f\n", Median(plan.goTo) / Median(plan.nextPage));
  }
  std::printf(
      "ratio class A / 64 sub-networks (medians): open %.2f, next page %.2f, go to %.2f "
      "(goal: at most 1.2)\n",
      Median(plans[1].open) / Median(plans[0].open),
      Median(plans[1].nextPage) / Median(plans[0].nextPage),
      Median(plans[1].goTo) / Median(plans[0].goTo));
  WindowClose(owner);
  for (Timed& plan : plans)
    plan.plan->Release();
  ToolkitStop();
  return 0;
}
