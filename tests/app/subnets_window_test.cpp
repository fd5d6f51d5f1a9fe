// The Sub-networks window and the VLSM planner in this process: a helper
// thread works each while the window's own loop runs, and 200
// open/page/copy/close and open/plan/close cycles leak no GDI or USER object.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/secondary_windows.hpp"
#include "tests/app/subnets_window_parts.hpp"
#include "tests/toolkit/toolkit_test_support.hpp"
#include "tests/waits.hpp"
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

// Wine makes another device context for its caches (window and buffered
// paint) whenever all of them are in use at once, which the timing of the
// cycles decides, so a few may appear after any warm-up. A leak in every cycle
// shows as 200 objects.
void ExpectNoLeak(const GuiCounts& before, const GuiCounts& after) {
  const long cachedContexts = RunningOnWine() ? 8 : 0;
  EXPECT_LE(after.gdi, before.gdi + cachedContexts);
  EXPECT_LE(after.user, before.user);
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
  int owner = static_cast<int>(WindowOpen(AutoId, 0, 0, 450, 432, "Owner", WS_CAPTION, nullptr));
  auto cycle = [&] {
    std::string failed = "join";
    HelperThread helper([&failed] { failed = WorkTheWindow(); });
    ShowSubnetsWindow(WindowHandle(owner), *plan, 460, 350);
    if (!helper.Join()) return std::string("join");
    return IsWindowEnabled(static_cast<HWND>(WindowHandle(owner))) ? failed : "owner enabled";
  };
  // The first cycles load libraries and fill caches (Wine keeps a few device
  // contexts for reuse, made as they are first needed).
  for (int i = 0; i < 10; ++i)
    ASSERT_EQ(cycle(), "") << "warm-up cycle " << i;
  GuiCounts before = CurrentGuiCounts();
  std::string failures;
  for (int i = 0; i < 200; ++i) {
    const std::string failed = cycle();
    if (!failed.empty()) failures += " " + failed + " in cycle " + std::to_string(i);
  }
  GuiCounts after = CurrentGuiCounts();
  std::printf("200 cycles: GDI objects %ld -> %ld, USER objects %ld -> %ld%s\n", before.gdi,
              after.gdi, before.user, after.user,
              RunningOnWine() ? " (Wine: probed handle tables)" : "");
  EXPECT_EQ(failures, "") << "steps that did not show";
  ExpectNoLeak(before, after);
  WindowClose(owner);
  plan->Release();
}

TEST(PlannerWindow, OpenPlanCloseCyclesLeakNothing) {
  int owner = static_cast<int>(WindowOpen(AutoId, 0, 0, 450, 432, "Owner", WS_CAPTION, nullptr));
  // Plans the example lines (3 sub-networks, 4 free blocks), then Escape.
  auto cycle = [&] {
    bool planned = false;
    HelperThread helper([&planned] {
      HWND window = nullptr, plan = nullptr, list = nullptr;
      PollFor([&] {  // all parts in one poll: they appear one by one
        window = FindWindowA(nullptr, PlannerTitle);
        plan = window ? FindWindowExA(window, nullptr, "Button", "Plan") : nullptr;
        list = window ? FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
        return plan && list;
      });
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(plan), BN_CLICKED),
                   reinterpret_cast<LPARAM>(plan));
      planned = PollFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 7; });
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
    });
    ShowPlannerWindow(WindowHandle(owner), "192.168.1.0/24", 640, 460);
    return helper.Join() && planned && IsWindowEnabled(static_cast<HWND>(WindowHandle(owner)));
  };
  for (int i = 0; i < 10; ++i)  // loads RichEdit and fills caches
    ASSERT_TRUE(cycle()) << "warm-up cycle " << i;
  GuiCounts before = CurrentGuiCounts();
  int worked = 0;
  for (int i = 0; i < 200; ++i)
    worked += cycle() ? 1 : 0;
  GuiCounts after = CurrentGuiCounts();
  std::printf("200 open/plan/close cycles: GDI objects %ld -> %ld, USER objects %ld -> %ld\n",
              before.gdi, after.gdi, before.user, after.user);
  EXPECT_EQ(worked, 200) << "cycles that planned, closed and enabled the owner again";
  ExpectNoLeak(before, after);
  WindowClose(owner);
}

}  // namespace
