// The Sub-networks window, the VLSM planner and the block calculator in this
// process: a helper thread works each while the window's own loop runs, and
// 200 open/page/copy/close, open/plan/save/close and open/calculate/show/close
// cycles leak no GDI or USER object.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

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

std::string FileText(const std::string& path) {
  std::string text;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char bytes[256];
    text.assign(bytes, std::fread(bytes, 1, sizeof bytes, file));
    std::fclose(file);
  }
  return text;
}

ULONGLONG WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
}

// Drops the file on the window, as the shell does: a DROPFILES block and the path.
void DropFile(HWND window, const std::string& path) {
  HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
  auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
  header->pFiles = sizeof(DROPFILES);
  CopyMemory(header + 1, path.data(), path.size());
  GlobalUnlock(drop);
  PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

// Opens a dropped IPv6 plan file (2 sub-networks, 15 free blocks), plans it
// in another block, saves it to its file, then Escape.
std::string WorkThePlanner(const std::string& path) {
  const std::string saved = "block 2001:db8:2::/48\r\nlan /56\r\ndmz /64\r\n";
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fputs("block 2001:db8:1::/48\r\nlan /56\r\ndmz /64\r\n", file);
    std::fclose(file);
  }
  HWND window = nullptr, block = nullptr, plan = nullptr, list = nullptr;
  PollFor([&] {  // all parts in one poll: they appear one by one
    window = FindWindowA(nullptr, PlannerTitle);
    block = window ? FindWindowExA(window, nullptr, "Edit", nullptr) : nullptr;
    plan = window ? FindWindowExA(window, nullptr, "Button", "Plan") : nullptr;
    list = window ? FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
    return block && plan && list;
  });
  DropFile(window, path);
  const std::string title = std::string(PlannerTitle) + " - leak_plan.txt";
  std::string failed = PollFor([&] {
    return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 17 && TextOf(window) == title;
  })
                           ? ""
                           : "open";
  SendMessageA(block, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2001:db8:2::/48"));
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(plan), BN_CLICKED),
               reinterpret_cast<LPARAM>(plan));
  // The file is read once replaced: an open reader would make the replacement fail.
  const ULONGLONG written = WriteTime(path);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(SavePlanCommand, 1), 0);
  auto replaced = [&] {
    const ULONGLONG now = WriteTime(path);  // 0 while the name is being replaced
    return now != 0 && now != written && FileText(path) == saved;
  };
  if (!PollFor(replaced, 10000)) failed += "save";
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(EscapeCommand, 1), 0);
  // Unsaved, it asks before closing: not saving ends the cycle all the same.
  HWND question = nullptr;
  if (!failed.empty() &&
      PollFor([&] { return (question = FindWindowA(nullptr, SaveChangesTitle)); })) {
    PostMessageA(question, WM_COMMAND, MAKEWPARAM(SaveChoiceDontSaveCommand, 1), 0);
  }
  return failed;
}

TEST(PlannerWindow, OpenPlanCloseCyclesLeakNothing) {
  char folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "leak_plan.txt";
  ExpectCyclesLeakNothing(
      "open/plan/save/close",
      [](NativeHandle owner) { ShowPlannerWindow(owner, "192.168.1.0/24", 640, 460); },
      [&path] { return WorkThePlanner(path); });
  std::remove(path.c_str());
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
