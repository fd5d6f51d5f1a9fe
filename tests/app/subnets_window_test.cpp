// The Sub-networks window, the VLSM planner and the block calculator in this
// process: a helper thread works each while the window's own loop runs, and
// 200 open/page/copy/close, open/plan/close and open/calculate/show/close
// cycles leak no GDI or USER object.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "app/secondary_windows.hpp"
#include "tests/app/subnets_window_parts.hpp"
#include "tests/toolkit/toolkit_test_support.hpp"
#include "tests/waits.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/windows.hpp"

namespace {

std::string TextOf(HWND window) {
  char text[64] = "";
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string Clipboard() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) text = bytes;
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// Wine: another device context is made for the caches (window and buffered
// paint) whenever all of them are in use at once, each with a region for its
// visible area. How many the cycles leave depends on their timing: 4 on an
// idle machine, 18 under load, 22 on a slower one, all contexts and regions.
// So every other object must stay flat, and contexts and regions may grow by
// a bounded cache only, far below the 200 that a leak in every cycle (or 100
// in every other) leaves.
void ExpectNoLeak(const GuiCounts& before, const GuiCounts& after) {
  constexpr long kCachedContextsAndRegions = 48;
  EXPECT_LE(after.gdi - after.contexts, before.gdi - before.contexts)
      << "GDI objects other than device contexts and regions";
  EXPECT_LE(after.contexts, before.contexts + kCachedContextsAndRegions)
      << "device contexts and regions";
  EXPECT_LE(after.user, before.user);
}

// Opens a window on an owner with `show` (which returns once it has closed)
// while `work` (on a helper thread) works it and says which step did not
// show, "" when all did: 10 times to warm up, as the first cycles load
// libraries and fill caches, then 200 times between two counts of GDI and
// USER objects. Every step must show, the owner be enabled again and no
// object be left.
void ExpectCyclesLeakNothing(const char* what, const std::function<void(NativeHandle)>& show,
                             const std::function<std::string()>& work) {
  int owner = static_cast<int>(WindowOpen(AutoId, 0, 0, 450, 432, "Owner", WS_CAPTION, nullptr));
  auto cycle = [&] {
    std::string failed = "join";
    HelperThread helper([&] { failed = work(); });
    show(WindowHandle(owner));
    if (!helper.Join()) return std::string("join");
    return IsWindowEnabled(static_cast<HWND>(WindowHandle(owner))) ? failed : "owner enabled";
  };
  for (int i = 0; i < 10; ++i)
    ASSERT_EQ(cycle(), "") << "warm-up cycle " << i;
  GuiCounts before = CurrentGuiCounts();
  std::string failures;
  for (int i = 0; i < 200; ++i) {
    const std::string failed = cycle();
    if (!failed.empty()) failures += " " + failed + " in cycle " + std::to_string(i);
  }
  GuiCounts after = CurrentGuiCounts();
  std::printf(
      "200 %s cycles: GDI objects %ld -> %ld (contexts and regions %ld -> %ld), "
      "USER objects %ld -> %ld%s\n",
      what, before.gdi, after.gdi, before.contexts, after.contexts, before.user, after.user,
      RunningOnWine() ? " (Wine: probed handle tables)" : "");
  EXPECT_EQ(failures, "") << "steps that did not show";
  ExpectNoLeak(before, after);
  WindowClose(owner);
}

// One cycle, run beside the window's loop: page 2, select row 3, copy its
// broadcast address from the context menu, close. Returns the first step that
// did not show, or "". Each step may take seconds on a loaded machine.
std::string WorkTheWindow() {
  constexpr int kStepTime = 10000;
  SubnetsWindowParts parts;
  std::string failed;
  // The list answers once the window waits for input, its first page filled.
  if (!PollFor(
          [&] {
            parts = FindSubnetsWindowParts();
            return parts.label != nullptr && SendMessageA(parts.list, LVM_GETITEMCOUNT, 0, 0) == 26;
          },
          kStepTime)) {
    failed = "open";
  }
  const HWND window = parts.window;
  if (failed.empty()) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(NextPageCommand, 1), 0);
    if (!PollFor([&] { return TextOf(parts.label) == "Page 2/11"; }, kStepTime)) failed = "page";
  }
  HWND menu = nullptr;
  if (failed.empty()) {
    LVITEMA select{};
    select.stateMask = select.state = LVIS_SELECTED;
    SendMessageA(parts.list, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&select));
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(parts.list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    LPARAM at = MAKELPARAM(row.left + 30, (row.top + row.bottom) / 2);
    PostMessageA(parts.list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(parts.list, WM_RBUTTONUP, 0, at);
    if (!PollFor([&] { return MenuReadyForInput(menu = FindWindowA("#32768", nullptr)); },
                 kStepTime))
      failed = "menu";
  }
  if (failed.empty()) {
    const DWORD before = GetClipboardSequenceNumber();
    for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
      PressKey(key);
    // Once the copy has begun, reading cannot get in its way; the program may
    // still hold the clipboard for a moment.
    std::string copied;
    if (!ClipboardChangedSince(before, kStepTime) ||
        !PollFor([&] { return (copied = Clipboard()) == "172.16.29.255"; }, kStepTime))
      failed = "copy (the clipboard holds '" + copied + "')";
  }
  if (window != nullptr) PostMessageA(window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
  return failed;
}

TEST(SubnetsWindow, OpenPageCopyCloseCyclesLeakNothing) {
  SubnetPlan* plan = CreateSubnetPlan();
  ASSERT_TRUE(plan->SetClass(1));
  plan->SetNetwork(172, 16, 0, 0);
  ASSERT_TRUE(plan->FromMask("255.255.255.0"));
  // The pointer is kept off the windows (an earlier test may have left it
  // anywhere): a popup menu that opens under it takes a mouse move, which
  // highlights the item there, and the keys then count from that item.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  ExpectCyclesLeakNothing(
      "open/page/copy/close",
      [plan](NativeHandle owner) { ShowSubnetsWindow(owner, *plan, 460, 350); }, WorkTheWindow);
  plan->Release();
}

// Plans the example lines (3 sub-networks, 4 free blocks), then Escape.
std::string WorkThePlanner() {
  HWND window = nullptr, plan = nullptr, list = nullptr;
  PollFor([&] {  // all parts in one poll: they appear one by one
    window = FindWindowA(nullptr, PlannerTitle);
    plan = window ? FindWindowExA(window, nullptr, "Button", "Plan") : nullptr;
    list = window ? FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
    return plan && list;
  });
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(plan), BN_CLICKED),
               reinterpret_cast<LPARAM>(plan));
  const bool planned = PollFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 7; });
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
  return planned ? "" : "plan";
}

TEST(PlannerWindow, OpenPlanCloseCyclesLeakNothing) {
  ExpectCyclesLeakNothing(
      "open/plan/close",
      [](NativeHandle owner) { ShowPlannerWindow(owner, "192.168.1.0/24", 640, 460); },
      WorkThePlanner);
}

// One cycle beside the block calculator's loop: the facts of an IPv6 block,
// its 256 /64s in the Sub-networks window, which closes, then the calculator.
// Returns the first step that did not show, or "".
std::string WorkTheBlockWindow() {
  HWND window = nullptr, block = nullptr, split = nullptr, facts = nullptr;
  PollFor([&] {  // all parts in one poll: they appear one by one
    window = FindWindowA(nullptr, BlockTitle);
    block = window ? FindWindowExA(window, nullptr, "Edit", nullptr) : nullptr;
    split = block ? FindWindowExA(window, block, "Edit", nullptr) : nullptr;
    facts = window ? FindWindowExA(window, nullptr, "RichEdit20A", nullptr) : nullptr;
    return split && facts;
  });
  SendMessageA(block, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2001:db8::/56"));
  SendMessageA(split, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("/64"));
  auto command = [](HWND to, int id) { PostMessageA(to, WM_COMMAND, MAKEWPARAM(id, 1), 0); };
  command(window, CalculateCommand);
  command(window, ShowNetworksCommand);
  SubnetsWindowParts parts;
  std::string failed = PollFor([&] {
    parts = FindSubnetsWindowParts();
    return parts.label != nullptr && SendMessageA(parts.list, LVM_GETITEMCOUNT, 0, 0) == 26;
  })
                           ? ""
                           : "show";
  // The facts were written before the split's window opened.
  char text[4096] = "";
  GetWindowTextA(facts, text, sizeof text);
  if (std::strstr(text, "2001:db8::/56") == nullptr) failed += "calculate";
  if (parts.window != nullptr) command(parts.window, EscapeCommand);
  if (!PollFor([] { return FindWindowA(nullptr, SubnetsTitle) == nullptr; })) failed += "close";
  command(window, EscapeCommand);
  return failed;
}

TEST(BlockWindow, OpenCalculateShowCloseCyclesLeakNothing) {
  const int font = CreateTextFont(AutoId, "Courier New", 8, 0);
  ExpectCyclesLeakNothing(
      "open/calculate/show/close",
      [font](NativeHandle owner) { ShowBlockWindow(owner, font, "192.168.1.0/24", 640, 620); },
      WorkTheBlockWindow);
  ReleaseFont(font);
}

}  // namespace
