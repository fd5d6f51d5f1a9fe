// How fast the Sub-networks window opens, pages and goes to a sub-network,
// for a large list against a small one, both filling whole pages and the
// go-to jumping to a full page: the largest classful plan (class A, 4,194,304
// wanted subnets: 8,388,608 sub-networks, the go-to across 262,160 pages)
// against 64 sub-networks, and the 2^64 /64s of ::/0 against the 64 of
// 2001:db8::/58. Each run opens the window in this process while a helper
// thread waits for the page, has everything that is pending painted, and
// takes the time. Prints the figures and the ratios.
//
// With "save", the window's Save all as CSV of the 16,777,216 /64s of
// 2001:db8::/40 (through its Save As dialog and its question of a large
// save) against velkor.exe writing the same CSV, alternating, each file
// deleted after its run.
//
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/subnets_window_bench.exe
//   [runs]
//   scripts/with-wine-display.sh build/win64 wine build/win64/bench/app/subnets_window_bench.exe
//   save build/win64/cli/velkor.exe [runs]
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "bench/app/clock.hpp"
#include "calc/find.hpp"
#include "net/block_calculator.hpp"
#include "net/decimal.hpp"
#include "net/paging.hpp"
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

struct SplitCase {
  const char* name;
  const char* block;
  const char* split;
  const char* goTo;
};
constexpr SplitCase SplitCases[] = {
    {"2001:db8::/58 into /64", "2001:db8::/58", "/64", "2001:db8:0:5::1"},
    {"::/0 into /64", "::/0", "/64", "8000::1"}};

// One list to open: how to show it, its last index and the go-to's row.
struct Timed {
  std::string name;
  std::function<void(NativeHandle owner)> show;
  Uint128 lastIndex;
  const char* target = nullptr;
  Uint128 targetIndex;
  std::vector<double> open;      // ms from the call to the painted first page
  std::vector<double> nextPage;  // ms from the command to the painted second page
  std::vector<double> goTo;      // ms from the go-to dialog's Enter to the painted page
};

Timed PlanTimed(const PlanCase& row, SubnetPlan& plan) {
  plan.SetClass(row.classIndex);
  plan.SetNetwork(row.a, row.b, row.c, 0);
  plan.FromSubnets(row.wantedSubnets);
  Timed timed;
  timed.name = row.name;
  timed.show = [&plan](NativeHandle owner) { ShowSubnetsWindow(owner, plan, 460, 350); };
  timed.lastIndex = static_cast<uint64_t>(plan.TotalSubnets() - 1);
  timed.target = row.goTo;
  timed.targetIndex = static_cast<uint64_t>(FindSubnetTarget(plan, row.goTo).index);
  return timed;
}

Timed SplitTimed(const SplitCase& row) {
  const AnySplit split = RunBlockSplit(row.block, row.split).split;
  Timed timed;
  timed.name = row.name;
  timed.show = [split](NativeHandle owner) { ShowSplitWindow(owner, split, 800, 350); };
  std::visit(
      [&](const auto& equal) {
        timed.lastIndex = Uint128(SplitLastIndex(equal));
        timed.targetIndex = FindSplitTarget(equal, row.goTo).index;
      },
      split);
  timed.target = row.goTo;
  return timed;
}

std::string PageLabel(const Uint128& page, const Uint128& pages) {
  return "Page " + DecimalText(page) + "/" + DecimalText(pages);
}

LRESULT RowsOn(const Timed& timed, const Uint128& page) {
  const PageRows<Uint128> rows = RowsOfPage(timed.lastIndex, page);
  return static_cast<LRESULT>((rows.last - rows.first).low + 1);
}

// Sent messages wait while the window's thread is busy, so the page has been
// filled once they show it. Then everything pending is painted.
double PageShownAt(const SubnetsWindowParts& parts, const Timed& timed, const Uint128& page) {
  const std::string label = PageLabel(page, PageTotal(timed.lastIndex));
  const LRESULT rows = RowsOn(timed, page);
  for (;;) {
    char text[128] = "";
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

// Opens the go-to dialog, types the target and times from its Enter to the
// painted page of the target.
double TimeGoTo(const SubnetsWindowParts& parts, const Timed& timed) {
  PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(GoToCommand, 1), 0);
  HWND dialog = nullptr, entry = nullptr;
  while ((dialog = FindWindowA(nullptr, GoToTitle)) == nullptr)
    SwitchToThread();
  while ((entry = FindWindowExA(dialog, nullptr, "Edit", nullptr)) == nullptr)
    SwitchToThread();
  SendMessageA(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(timed.target));
  double start = NowMs();
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GoToEnterCommand, 1), 0);
  return PageShownAt(parts, timed, PageOfRow(timed.targetIndex)) - start;
}

// One opening: the time to the painted first page, from the next-page
// command to the painted second page, and of the go-to.
void TimeOneOpening(Timed& timed, int owner, bool record) {
  std::atomic<double> openedAt{0};
  double open = 0, next = 0, jump = 0;
  std::function<void()> work = [&] {
    SubnetsWindowParts parts;
    while ((parts = FindSubnetsWindowParts()).list == nullptr || parts.label == nullptr)
      SwitchToThread();
    open = PageShownAt(parts, timed, 1) - openedAt.load();
    double start = NowMs();
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(NextPageCommand, 1), 0);
    next = PageShownAt(parts, timed, 2) - start;
    jump = TimeGoTo(parts, timed);
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
  };
  HANDLE helper = CreateThread(nullptr, 0, RunWork, &work, 0, nullptr);
  openedAt = NowMs();
  timed.show(WindowHandle(owner));
  WaitForSingleObject(helper, INFINITE);
  CloseHandle(helper);
  if (record) {
    timed.open.push_back(open);
    timed.nextPage.push_back(next);
    timed.goTo.push_back(jump);
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

// The medians of the large list against the small one's.
void PrintRatios(const char* what, const Timed& small, const Timed& large, const char* goal) {
  std::printf("ratio %s (medians): open %.2f, next page %.2f, go to %.2f (goal: at most %s)\n",
              what, Median(large.open) / Median(small.open),
              Median(large.nextPage) / Median(small.nextPage),
              Median(large.goTo) / Median(small.goTo), goal);
}

// ----- The save of every row, against velkor ---------------------------------

constexpr const char* SaveBlock = "2001:db8::/40";
constexpr const char* SaveSplit = "/64";
constexpr const char* SaveArguments = " --prefix 64 --list --all --format csv";

HWND WaitForWindow(const char* title) {
  HWND window = nullptr;
  while ((window = FindWindowA(nullptr, title)) == nullptr)
    Sleep(1);
  return window;
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Opens the split's window, saves every row to `path` and closes it: ms from
// the Yes to the large save's question until the file is in its place (it is
// written under another name and then renamed).
double TimeWindowSave(int owner, const AnySplit& split, const std::string& path) {
  double ms = 0;
  std::function<void()> work = [&] {
    SubnetsWindowParts parts;
    while ((parts = FindSubnetsWindowParts()).list == nullptr)
      SwitchToThread();
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(SaveCommand, 1), 0);
    HWND dialog = WaitForWindow("Save As"), name = nullptr;
    while ((name = GetDlgItem(dialog, cmb13)) == nullptr)
      Sleep(1);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND question = WaitForWindow("Large save");
    const double start = NowMs();
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
      Sleep(1);
    ms = NowMs() - start;
    PostMessageA(parts.window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
  };
  HANDLE helper = CreateThread(nullptr, 0, RunWork, &work, 0, nullptr);
  ShowSplitWindow(WindowHandle(owner), split, 800, 350);
  WaitForSingleObject(helper, INFINITE);
  CloseHandle(helper);
  return ms;
}

// ms for velkor.exe to write the same rows to `path`, its start included.
double TimeVelkorSave(const std::string& velkor, const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = file;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string command = "\"" + velkor + "\" " + SaveBlock + SaveArguments;
  PROCESS_INFORMATION process{};
  const double start = NowMs();
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  const double ms = NowMs() - start;
  CloseHandle(file);
  return ms;
}

// Alternating, so that a slower stretch of the machine (or the disk) hits both.
int RunSaveBench(const std::string& velkor, int runs) {
  char folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, folder);
  const std::string windowFile = std::string(folder) + "bench_window.csv";
  const std::string velkorFile = std::string(folder) + "bench_velkor.csv";
  const AnySplit split = RunBlockSplit(SaveBlock, SaveSplit).split;
  int owner = static_cast<int>(WindowOpen(AutoId, 0, 0, 450, 432, "Owner", WS_CAPTION, nullptr));
  std::vector<double> window, cli;
  uint64_t bytes = 0;
  for (int run = 0; run < runs; ++run) {
    window.push_back(TimeWindowSave(owner, split, windowFile));
    cli.push_back(TimeVelkorSave(velkor, velkorFile));
    bytes = FileSize(velkorFile);
    const bool same = FileSize(windowFile) == bytes && bytes > 0;
    DeleteFileA(windowFile.c_str());
    DeleteFileA(velkorFile.c_str());
    if (!same) {
      std::printf("the window's file and velkor's differ in size\n");
      return 1;
    }
  }
  WindowClose(owner);
  std::printf("Save all as CSV of %s into %s (16,777,216 rows, %.1f MB), %d runs:\n", SaveBlock,
              SaveSplit, static_cast<double>(bytes) / (1 << 20), runs);
  PrintTimes("window", window);
  PrintTimes("velkor.exe", cli);
  std::printf("ratio window / velkor.exe (medians): %.2f (goal: at most 1.3)\n",
              Median(window) / Median(cli));
  return 0;
}

// The openings, pages and go-tos of each list, `runs` times.
void RunPagingBench(int runs) {
  SubnetPlan* plans[] = {CreateSubnetPlan(), CreateSubnetPlan()};
  std::vector<Timed> lists;
  for (int i = 0; i < 2; ++i)
    lists.push_back(PlanTimed(PlanCases[i], *plans[i]));
  for (const SplitCase& row : SplitCases)
    lists.push_back(SplitTimed(row));
  int owner = static_cast<int>(WindowOpen(AutoId, 0, 0, 450, 432, "Owner", WS_CAPTION, nullptr));
  for (Timed& timed : lists)
    TimeOneOpening(timed, owner, false);  // loads the libraries and fills the caches
  // Alternating, so that a slower stretch of the machine hits every list.
  for (int run = 0; run < runs; ++run) {
    for (Timed& timed : lists)
      TimeOneOpening(timed, owner, true);
  }

  std::printf("Sub-networks window, %d openings per list (until the page is painted):\n", runs);
  for (const Timed& timed : lists) {
    std::printf("%s: %s sub-networks, %s pages\n", timed.name.c_str(),
                GroupedDecimal(AddressCount(timed.lastIndex) + AddressCount(1)).c_str(),
                GroupedDecimal(PageTotal(timed.lastIndex)).c_str());
    PrintTimes("open to first page", timed.open);
    PrintTimes("next page", timed.nextPage);
    PrintTimes("go to", timed.goTo);
    std::printf("  go-to / next page (medians): %.2f\n",
                Median(timed.goTo) / Median(timed.nextPage));
  }
  PrintRatios("class A / 64 sub-networks", lists[0], lists[1], "1.2");
  PrintRatios("2^64 / 64 sub-networks of a split", lists[2], lists[3], "1.1");
  WindowClose(owner);
  for (SubnetPlan* plan : plans)
    plan->Release();
}

}  // namespace

int main(int argc, char** argv) {
  const bool save = argc > 2 && std::string(argv[1]) == "save";
  const int runs =
      save ? (argc > 3 ? std::atoi(argv[3]) : 3) : (argc > 1 ? std::atoi(argv[1]) : 30);
  if (runs < 1 || !ToolkitStart()) return 1;
  const int status = save ? RunSaveBench(argv[2], runs) : (RunPagingBench(runs), 0);
  ToolkitStop();
  return status;
}
