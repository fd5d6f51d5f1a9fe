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

// One cycle, run beside the window's loop: page 2, select row 3, copy its
// broadcast address from the context menu, close. Returns the first step that
// did not show, or "".
std::string WorkTheWindow() {
  SubnetsWindowParts parts;
  const char* failed = "";
  // The list answers once the window waits for input, its first page filled.
  if (!PollFor([&] {
        parts = FindSubnetsWindowParts();
        return parts.label != nullptr && SendMessageA(parts.list, LVM_GETITEMCOUNT, 0, 0) == 26;
      })) {
    failed = "open";
  }
  const HWND window = parts.window;
  if (*failed == '\0') {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(NextPageCommand, 1), 0);
    if (!PollFor([&] { return TextOf(parts.label) == "Page 2/11"; })) failed = "page";
  }
  HWND menu = nullptr;
  if (*failed == '\0') {
    LVITEMA select{};
    select.stateMask = select.state = LVIS_SELECTED;
    SendMessageA(parts.list, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&select));
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(parts.list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
    LPARAM at = MAKELPARAM(row.left + 30, (row.top + row.bottom) / 2);
    PostMessageA(parts.list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(parts.list, WM_RBUTTONUP, 0, at);
    if (!PollFor([&] { return MenuReadyForInput(menu = FindWindowA("#32768", nullptr)); }))
      failed = "menu";
  }
  if (*failed == '\0') {
    const DWORD before = GetClipboardSequenceNumber();
    for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
      PressKey(key);
    // Once the copy has begun, reading cannot get in its way; the program may
    // still hold the clipboard for a moment.
    if (!ClipboardChangedSince(before) || !PollFor([] { return Clipboard() == "172.16.29.255"; }))
      failed = "copy";
  }
  if (window != nullptr) PostMessageA(window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
  return failed;
}

TEST(SubnetsWindow, OpenPageCopyCloseCyclesLeakNothing) {
  SubnetPlan* plan = CreateSubnetPlan();
  ASSERT_TRUE(plan->SetClass(1));
  plan->SetNetwork(172, 16, 0, 0);
  ASSERT_TRUE(plan->FromMask("255.255.255.0"));
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
  int worked = 0;
  for (int i = 0; i < 200; ++i)
    worked += cycle().empty() ? 1 : 0;
  GuiCounts after = CurrentGuiCounts();
  std::printf("200 cycles: GDI objects %ld -> %ld, USER objects %ld -> %ld%s\n", before.gdi,
              after.gdi, before.user, after.user,
              RunningOnWine() ? " (Wine: probed handle tables)" : "");
  EXPECT_EQ(worked, 200) << "cycles that paged, copied and closed";
  EXPECT_LE(after.gdi, before.gdi);
  EXPECT_LE(after.user, before.user);
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
  EXPECT_LE(after.gdi, before.gdi);
  EXPECT_LE(after.user, before.user);
  WindowClose(owner);
}

}  // namespace
