// Top-level windows, the event stream, shortcuts, focus navigation and message
// boxes, in real windows.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/toolkit_test_support.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/files.hpp"
#include "toolkit/message_box.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/windows.hpp"

namespace {

// Closes a window at the end of a test, even a failing one.
struct OpenWindow {
  int id;
  explicit OpenWindow(int window) : id(window) {}
  OpenWindow(const OpenWindow&) = delete;
  OpenWindow& operator=(const OpenWindow&) = delete;
  ~OpenWindow() { WindowClose(id); }
  HWND handle() const { return static_cast<HWND>(WindowHandle(id)); }
};

int OpenAuto(int width, int height, uint32_t flags, HWND owner = nullptr, int x = 0, int y = 0) {
  return static_cast<int>(WindowOpen(AutoId, x, y, width, height, "Test", flags, owner));
}

RECT OuterRect(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  return area;
}

// The style bits that the flag word decides (the system adds WS_CLIPSIBLINGS).
DWORD DecidedStyle(HWND window) {
  return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & 0xFFFF0000u & ~WS_CLIPSIBLINGS;
}

struct FlagCase {
  uint32_t flags;
  DWORD style;  // including WS_VISIBLE for a shown window
  DWORD exStyleBits;
};

TEST(WindowOpen, FlagWordsGiveTheirWin32Styles) {
  const FlagCase cases[] = {
      {0x2, WS_CAPTION | WS_VISIBLE, 0},  // CentreOnOwner only
      {0x10CA0001, 0x00CA0000, 0},        // the main window, hidden
      {0x8, WS_CAPTION | WS_VISIBLE, 0},  // NoControlContainer only
      {ToolWindow | WS_MINIMIZEBOX | WS_SYSMENU, WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
       WS_EX_TOOLWINDOW},
  };
  for (const FlagCase& test : cases) {
    OpenWindow window(OpenAuto(200, 100, test.flags));
    ASSERT_NE(window.handle(), nullptr) << std::hex << test.flags;
    EXPECT_EQ(DecidedStyle(window.handle()), test.style) << std::hex << test.flags;
    EXPECT_EQ(GetWindowLongPtrA(window.handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW,
              static_cast<LONG_PTR>(test.exStyleBits))
        << std::hex << test.flags;
    EXPECT_EQ(WindowInnerWidth(window.id), 200);
    EXPECT_EQ(WindowInnerHeight(window.id), 100);
  }
}

TEST(WindowOpen, ExplicitIdReturnsHandleAndOwnsItsClass) {
  intptr_t handle = WindowOpen(7, 10, 10, 120, 80, nullptr, 0x10CA0000, nullptr);
  ASSERT_NE(handle, 0);
  EXPECT_EQ(reinterpret_cast<intptr_t>(WindowHandle(7)), handle);
  EXPECT_EQ(WindowIdOf(reinterpret_cast<HWND>(handle)), 7);
  EXPECT_EQ(WindowOpen(7, 10, 10, 120, 80, "again", 0, nullptr), 0) << "id 7 is taken";
  char title[8] = "x";
  GetWindowTextA(reinterpret_cast<HWND>(handle), title, sizeof title);
  EXPECT_STREQ(title, "");
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "WindowClass_7", &info));
  EXPECT_EQ(info.style & CS_DBLCLKS, static_cast<UINT>(CS_DBLCLKS));
  WindowClose(7);
  EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(handle)));
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "WindowClass_7", &info));
  EXPECT_EQ(WindowHandle(7), nullptr);
}

TEST(WindowClose, ActivatesTheOwnerFirst) {
  OpenWindow owner(OpenAuto(300, 200, WS_CAPTION, nullptr, 10, 10));
  int owned = OpenAuto(200, 100, CentreOnOwner, owner.handle());
  HWND ownedHandle = static_cast<HWND>(WindowHandle(owned));
  ASSERT_TRUE(MakeForeground(ownedHandle));
  WindowClose(owned);
  EXPECT_FALSE(IsWindow(ownedHandle));
  EXPECT_EQ(GetActiveWindow(), owner.handle());
}

TEST(WindowOpen, AllocatedIdsNeverEqualExplicitOnes) {
  OpenWindow first(OpenAuto(50, 50, 0x10000000));
  OpenWindow second(OpenAuto(50, 50, 0x10000000));
  EXPECT_GT(first.id, MaxExplicitId);
  EXPECT_GT(second.id, MaxExplicitId);
  EXPECT_NE(first.id, second.id);
}

TEST(WindowOpen, CentreOnScreenShrinksAWindowLargerThanTheScreen) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  OpenWindow window(OpenAuto(screenWidth + 400, screenHeight + 300, CentreOnScreen | StartHidden));
  RECT outer = OuterRect(window.handle());
  EXPECT_EQ(outer.right - outer.left, screenWidth);
  EXPECT_EQ(outer.bottom - outer.top, screenHeight);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
}

TEST(WindowOpen, CentreOnScreenCentresTheOuterWindow) {
  OpenWindow window(OpenAuto(300, 200, CentreOnScreen | StartHidden));
  RECT outer = OuterRect(window.handle());
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
}

TEST(WindowOpen, CentreOnOwnerNearTheTopLeftIsNeverNegative) {
  OpenWindow owner(OpenAuto(200, 80, 0x10CA0000, nullptr, 5, 5));
  OpenWindow owned(OpenAuto(600, 500, CentreOnOwner | StartHidden, owner.handle()));
  RECT outer = OuterRect(owned.handle());
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(GetWindow(owned.handle(), GW_OWNER), owner.handle());
}

TEST(WindowOpen, CentreOnOwnerCentresOnTheOwnersOuterRectangle) {
  OpenWindow owner(OpenAuto(600, 500, 0x10CA0000, nullptr, 100, 120));
  OpenWindow owned(OpenAuto(200, 100, CentreOnOwner | StartHidden, owner.handle()));
  RECT ownerArea = OuterRect(owner.handle());
  RECT outer = OuterRect(owned.handle());
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  EXPECT_EQ(outer.left, ownerArea.left + (ownerArea.right - ownerArea.left - width) / 2);
  EXPECT_EQ(outer.top, ownerArea.top + (ownerArea.bottom - ownerArea.top - height) / 2);
}

TEST(WindowOpen, CentreOnOwnerWithoutOwnerCentresOnTheActiveWindow) {
  OpenWindow active(OpenAuto(500, 400, WS_CAPTION, nullptr, 60, 80));
  ASSERT_TRUE(MakeForeground(active.handle()));
  OpenWindow centred(OpenAuto(200, 100, CentreOnOwner | StartHidden));
  RECT activeArea = OuterRect(active.handle());
  RECT outer = OuterRect(centred.handle());
  EXPECT_EQ(outer.left, activeArea.left +
                            (activeArea.right - activeArea.left - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top,
            activeArea.top + (activeArea.bottom - activeArea.top - (outer.bottom - outer.top)) / 2);
  EXPECT_EQ(GetWindow(centred.handle(), GW_OWNER), nullptr);
}

TEST(WindowOpen, StartMaximizedAndStartMinimizedShowTheWindowSo) {
  OpenWindow maximised(OpenAuto(200, 100, StartMaximized | WS_CAPTION | WS_SYSMENU));
  EXPECT_TRUE(IsZoomed(maximised.handle()));
  WindowSetHidden(maximised.id, 1);
  WindowSetHidden(maximised.id, 0);
  EXPECT_TRUE(IsWindowVisible(maximised.handle()));
  EXPECT_TRUE(IsZoomed(maximised.handle())) << "shown again as it was";
  OpenWindow minimised(OpenAuto(200, 100, StartMinimized | WS_CAPTION | WS_SYSMENU));
  EXPECT_TRUE(IsIconic(minimised.handle()));
  OpenWindow hidden(OpenAuto(200, 100, StartMaximized | StartHidden | WS_CAPTION));
  EXPECT_FALSE(IsWindowVisible(hidden.handle()));
}

TEST(WindowSetHidden, HidesAndShows) {
  OpenWindow window(OpenAuto(100, 100, 0x10CA0000));
  EXPECT_FALSE(IsWindowVisible(window.handle()));
  WindowSetHidden(window.id, 0);
  EXPECT_TRUE(IsWindowVisible(window.handle()));
  WindowSetHidden(window.id, 1);
  EXPECT_FALSE(IsWindowVisible(window.handle()));
}

// ----- Events ---------------------------------------------------------------

TEST(EventQueue, IdenticalConsecutivePostsAreCoalesced) {
  PumpEvents(50);
  ASSERT_EQ(EventQueueLength(), 0);
  EventPost(ControlEvent, 3, 1, DetailChange);
  EventPost(ControlEvent, 3, 1, DetailChange);
  EXPECT_EQ(EventQueueLength(), 1);
  EventPost(ControlEvent, 3, 1, DetailClick);
  EventPost(ControlEvent, 3, 1, DetailChange);
  EXPECT_EQ(EventQueueLength(), 3) << "only equal neighbours are coalesced";
  EXPECT_EQ(EventWait(), ControlEvent);
  EXPECT_EQ(EventDetail(), DetailChange);
  EXPECT_EQ(EventSourceControl(), 3);
  EXPECT_EQ(EventSourceWindow(), 1);
  EXPECT_EQ(EventWait(), ControlEvent);
  EXPECT_EQ(EventDetail(), DetailClick);
  EXPECT_EQ(EventWait(), ControlEvent);
  EXPECT_EQ(EventDetail(), DetailChange);
  EXPECT_EQ(EventQueueLength(), 0);
}

TEST(EventQueue, EventPostedDuringADispatchComesOnTheNextWait) {
  OpenWindow window(OpenAuto(100, 100, WS_CAPTION | WS_SYSMENU | StartHidden));
  PumpEvents(50);
  // SC_CLOSE makes the window procedure see WM_CLOSE, which posts CloseRequest.
  PostMessageA(window.handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(EventWait(), WM_SYSCOMMAND);
  EXPECT_EQ(EventQueueLength(), 1);
  EXPECT_EQ(EventWait(), CloseRequest);
  EXPECT_EQ(EventSourceWindow(), window.id);
  EXPECT_TRUE(IsWindow(window.handle())) << "a close request closes nothing";
}

// A drop as the shell makes it: a DROPFILES block and the paths after it.
HGLOBAL NewDrop(const std::string& paths) {
  HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + paths.size() + 1);
  auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
  header->pFiles = sizeof(DROPFILES);
  CopyMemory(header + 1, paths.data(), paths.size());
  GlobalUnlock(drop);
  return drop;
}

TEST(WindowAcceptFiles, ADropRaisesAFileDropEventWithItsPaths) {
  OpenWindow window(OpenAuto(100, 100, WS_CAPTION | WS_SYSMENU));
  auto accepts = [&] {
    return (GetWindowLongPtrA(window.handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
  };
  EXPECT_FALSE(accepts());
  WindowAcceptFiles(window.id, 1);
  EXPECT_TRUE(accepts());
  PumpEvents(50);
  PostMessageA(
      window.handle(), WM_DROPFILES,
      reinterpret_cast<WPARAM>(NewDrop(std::string("C:\\a b.txt\0Z:\\tmp\\plan.txt\0", 27))), 0);
  int kind = 0;
  for (int i = 0; i < 100 && kind != FileDropEvent; ++i)
    kind = EventWait();
  ASSERT_EQ(kind, FileDropEvent);
  EXPECT_EQ(EventSourceWindow(), window.id);
  EXPECT_EQ(EventDetail(), 2);
  EXPECT_EQ(WindowDroppedFiles(window.id),
            (std::vector<std::string>{"C:\\a b.txt", "Z:\\tmp\\plan.txt"}));
  WindowAcceptFiles(window.id, 0);
  EXPECT_FALSE(accepts());
  WindowSetTitle(window.id, "plan.txt - Test");
  char title[32] = "";
  GetWindowTextA(window.handle(), title, sizeof title);
  EXPECT_STREQ(title, "plan.txt - Test");
}

TEST(EventQueue, CloseBoxByAltF4GivesCloseRequest) {
  OpenWindow window(OpenAuto(150, 100, WS_CAPTION | WS_SYSMENU));
  ASSERT_TRUE(MakeForeground(window.handle()));
  PressKey(VK_F4, false, false, true);
  ASSERT_TRUE(WaitForEvent(CloseRequest));
  EXPECT_EQ(EventSourceWindow(), window.id);
  EXPECT_TRUE(IsWindow(window.handle()));
}

TEST(EventQueue, ClosingAWindowDropsItsEventsAndItsControlsEvents) {
  OpenWindow other(OpenAuto(100, 100, StartHidden | WS_CAPTION));
  int otherButton = static_cast<int>(CreatePushButton(AutoId, 5, 5, 50, 20, "b"));
  int closing = OpenAuto(100, 100, StartHidden | WS_CAPTION);
  int button = static_cast<int>(CreatePushButton(AutoId, 5, 5, 50, 20, "a"));
  PumpEvents(50);
  ASSERT_EQ(EventQueueLength(), 0);
  EventPost(ControlEvent, button, closing, DetailClick);
  EventPost(MenuEvent, 1000, other.id, -1);
  EventPost(CloseRequest, closing, closing, 0);
  EventPost(ControlEvent, button, -1, DetailChange);  // names the control only
  EventPost(ControlEvent, otherButton, other.id, DetailClick);
  WindowClose(closing);
  ASSERT_EQ(EventQueueLength(), 2);
  EXPECT_EQ(EventWait(), MenuEvent);
  EXPECT_EQ(EventSourceMenuItem(), 1000);
  EXPECT_EQ(EventWait(), ControlEvent);
  EXPECT_EQ(EventSourceControl(), otherButton);
  EXPECT_EQ(ControlHandle(button), nullptr);
}

TEST(WindowClose, AWindowDestroyedWithItsOwnerIsNoLongerOpen) {
  int owner = OpenAuto(300, 200, WS_CAPTION | StartHidden);
  ASSERT_NE(
      WindowOpen(8, 0, 0, 200, 100, "owned", CentreOnOwner | StartHidden, WindowHandle(owner)), 0);
  int button = static_cast<int>(CreatePushButton(AutoId, 5, 5, 50, 20, "b"));
  PumpEvents(50);
  EventPost(ControlEvent, button, 8, DetailClick);
  EventPost(MenuEvent, 1000, 8, -1);
  WindowClose(owner);  // the system destroys the owned window with it
  EXPECT_EQ(WindowHandle(8), nullptr);
  EXPECT_EQ(WindowInnerWidth(8), 0);
  EXPECT_EQ(WindowInnerHeight(8), 0);
  EXPECT_EQ(ControlHandle(button), nullptr);
  EXPECT_EQ(EventQueueLength(), 0);
  WindowClose(8);
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), "WindowClass_8", &info));
  intptr_t reopened = WindowOpen(8, 0, 0, 100, 50, "again", StartHidden, nullptr);
  EXPECT_NE(reopened, 0) << "the id is free again";
  WindowClose(8);
}

// ----- Shortcuts --------------------------------------------------------------

TEST(WindowAddShortcut, RealKeysRaiseMenuEventsOfTheActiveWindowOnly) {
  OpenWindow window(OpenAuto(200, 100, WS_CAPTION));
  WindowAddShortcut(window.id, VK_ESCAPE, 1000);
  WindowAddShortcut(window.id, 'Q' | ShortcutCtrl, 1005);
  ASSERT_TRUE(MakeForeground(window.handle()));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForEvent(MenuEvent));
  EXPECT_EQ(EventSourceMenuItem(), 1000);
  EXPECT_EQ(EventSourceWindow(), window.id);
  PressKey('Q', false, true);
  ASSERT_TRUE(WaitForEvent(MenuEvent));
  EXPECT_EQ(EventSourceMenuItem(), 1005);
  PressKey('Q');  // without Ctrl: not the shortcut
  EXPECT_EQ(CountEvents(MenuEvent, -1, 200), 0);

  WindowAddShortcut(window.id, VK_ESCAPE, 1001);  // rebinding replaces the command
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitForEvent(MenuEvent));
  EXPECT_EQ(EventSourceMenuItem(), 1001);
  EXPECT_EQ(CountEvents(MenuEvent, -1, 200), 0) << "one entry per key";

  OpenWindow plain(OpenAuto(200, 100, WS_CAPTION, nullptr, 300, 300));
  ASSERT_TRUE(MakeForeground(plain.handle()));
  PressKey(VK_ESCAPE);
  EXPECT_EQ(CountEvents(MenuEvent, -1, 300), 0) << "Escape belongs to the other window";
}

// ----- Focus navigation -------------------------------------------------------

class FocusOrder : public ::testing::Test {
 protected:
  void SetUp() override {
    window = OpenAuto(400, 300, WS_CAPTION);
    entry = static_cast<int>(CreateTextEntry(AutoId, 10, 10, 100, 22, "one"));
    CreateLabel(AutoId, 10, 40, 100, 20, "not a tab stop");
    address = static_cast<int>(CreateAddressEntry(AutoId, 10, 70, 150, 22));
    button = static_cast<int>(CreatePushButton(AutoId, 10, 100, 80, 24, "Go"));
    int disabled = static_cast<int>(CreatePushButton(AutoId, 100, 100, 80, 24, "Off"));
    ControlSetDisabled(disabled, 1);
    area = static_cast<int>(CreateTextArea(AutoId, 10, 140, 200, 100, TextAreaReadOnly));
    ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  }
  void TearDown() override { WindowClose(window); }

  // The control that holds the focus, counting the inner fields of an
  // address entry as the address entry.
  static bool Holds(int control) {
    HWND handle = static_cast<HWND>(ControlHandle(control));
    HWND focus = GetFocus();
    return focus != nullptr && (focus == handle || IsChild(handle, focus));
  }
  static bool Press(bool backward, int expected) {
    PressKey(VK_TAB, backward);
    return PumpUntil([expected] { return Holds(expected); }, 1500);
  }

  int window = 0, entry = 0, address = 0, button = 0, area = 0;
};

TEST_F(FocusOrder, TabWalksTheTabStopsAndWraps) {
  SetFocus(static_cast<HWND>(ControlHandle(entry)));
  ASSERT_TRUE(Holds(entry));
  EXPECT_TRUE(Press(false, address)) << "into the address entry";
  EXPECT_TRUE(Press(false, button)) << "out of the address entry";
  EXPECT_TRUE(Press(false, area)) << "skips the disabled button";
  EXPECT_TRUE(Press(false, entry)) << "Tab in the read-only area wraps to the first";
  EXPECT_EQ(CountEvents(MenuEvent, -1, 100), 0) << "Tab raises no menu event";
}

TEST_F(FocusOrder, ShiftTabWalksBackwardsAndWraps) {
  SetFocus(static_cast<HWND>(ControlHandle(entry)));
  EXPECT_TRUE(Press(true, area)) << "wraps to the last";
  EXPECT_TRUE(Press(true, button));
  EXPECT_TRUE(Press(true, address));
  EXPECT_TRUE(Press(true, entry)) << "out of the address entry";
}

TEST_F(FocusOrder, WithoutAFocusedTabStopTabGoesToTheFirstAndShiftTabToTheLast) {
  HWND frame = static_cast<HWND>(WindowHandle(window));
  SetFocus(frame);
  ASSERT_EQ(GetFocus(), frame);
  EXPECT_TRUE(Press(false, entry));
  SetFocus(frame);
  ASSERT_EQ(GetFocus(), frame);
  EXPECT_TRUE(Press(true, area));
}

TEST_F(FocusOrder, ReactivationGivesTheFocusBackToTheSameControl) {
  SetFocus(static_cast<HWND>(ControlHandle(button)));
  ASSERT_TRUE(Holds(button));
  int other = OpenAuto(100, 100, WS_CAPTION, nullptr, 450, 300);
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(other))));
  EXPECT_FALSE(Holds(button));
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  EXPECT_TRUE(PumpUntil([this] { return Holds(button); }, 1500));
  WindowClose(other);
}

TEST_F(FocusOrder, TabStaysInAnEditableTextArea) {
  int editable = static_cast<int>(CreateTextArea(AutoId, 220, 140, 150, 100, 0));
  SetFocus(static_cast<HWND>(ControlHandle(editable)));
  ASSERT_TRUE(Holds(editable));
  PressKey(VK_TAB);
  EXPECT_TRUE(PumpUntil([editable] { return ControlGetText(editable) == "\t"; }, 1500))
      << "text: '" << ControlGetText(editable) << "'";
  EXPECT_TRUE(Holds(editable));
}

// ----- Message boxes ----------------------------------------------------------

bool IsTopmost(HWND window) {
  return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

struct BoxObservation {
  HWND topmostWindow, plainWindow, foreground;
  bool boxSeen = false;
  bool topmostEnabled = true, plainEnabled = true;
  HWND boxOwner = nullptr;
  bool topmostStayedTopmost = true;
};

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM lParam) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (std::string(name) == "#32770" && process == GetCurrentProcessId() &&
      IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindMessageBox() {
  HWND found = nullptr;
  EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(ShowMessageBox, DisablesTheThreadsOtherWindowsMeanwhile) {
  OpenWindow topmost(OpenAuto(100, 100, WS_CAPTION, nullptr, 10, 10));
  OpenWindow plain(OpenAuto(100, 100, WS_CAPTION, nullptr, 200, 10));
  OpenWindow front(OpenAuto(100, 100, WS_CAPTION, nullptr, 400, 10));
  SetWindowPos(topmost.handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(IsTopmost(topmost.handle()));
  ASSERT_TRUE(MakeForeground(front.handle()));

  BoxObservation seen{topmost.handle(), plain.handle(), front.handle()};
  HelperThread closer([&seen] {
    HWND box = nullptr;
    seen.boxSeen = PollFor([&box] { return (box = FindMessageBox()) != nullptr; });
    if (!seen.boxSeen) return;
    seen.topmostEnabled = IsWindowEnabled(seen.topmostWindow) != FALSE;
    seen.plainEnabled = IsWindowEnabled(seen.plainWindow) != FALSE;
    seen.boxOwner = GetWindow(box, GW_OWNER);
    seen.topmostStayedTopmost = IsTopmost(seen.topmostWindow);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  int result = ShowMessageBox("Title", "Text", 0x40);
  ASSERT_TRUE(closer.Join());
  ASSERT_TRUE(seen.boxSeen);
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(seen.topmostEnabled);
  EXPECT_FALSE(seen.plainEnabled);
  EXPECT_EQ(seen.boxOwner, front.handle()) << "the foreground window owns the box";
  EXPECT_FALSE(seen.topmostStayedTopmost);
  EXPECT_TRUE(IsWindowEnabled(topmost.handle()));
  EXPECT_TRUE(IsWindowEnabled(plain.handle()));
  EXPECT_TRUE(IsTopmost(topmost.handle()));
  EXPECT_TRUE(IsWindowEnabled(front.handle()));
}

}  // namespace
