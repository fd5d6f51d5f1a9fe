// Popup menus, clipboard text, fonts and launching, in real windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/toolkit_test_support.hpp"
#include "tests/waits.hpp"
#include "toolkit/clipboard.hpp"
#include "toolkit/events.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/launch.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/windows.hpp"

namespace {

// ----- Popup menus --------------------------------------------------------------

HWND FindOpenMenu() {
  return FindWindowA("#32768", nullptr);
}

struct MenuItem {
  UINT id;
  std::string text;
};

std::vector<MenuItem> ItemsOf(HMENU menu) {
  std::vector<MenuItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    items.push_back(MenuItem{GetMenuItemID(menu, i), text});
  }
  return items;
}

class PopupMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    window = static_cast<int>(WindowOpen(AutoId, 100, 100, 300, 200, "Menu", WS_CAPTION, nullptr));
    ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
    POINT centre = CentreOf(static_cast<HWND>(WindowHandle(window)));
    SetCursorPos(centre.x, centre.y);
    menu = NewPopupMenu(AutoId);
    ASSERT_NE(menu, 0);
    const char* texts[] = {"Copy index", "Copy network", "Copy first", "Copy last",
                           "Copy broadcast"};
    for (int i = 0; i < 5; ++i)
      AddPopupItem(101 + i, texts[i]);
    PumpEvents(30);
  }
  void TearDown() override {
    ReleasePopupMenu(menu);
    WindowClose(window);
  }
  // Shows the menu while a helper thread reads its items and then presses `keys`.
  std::vector<MenuItem> ShowAndPress(std::vector<WORD> keys) {
    std::vector<MenuItem> items;
    HelperThread presser([this, &items, keys] {
      HWND open = nullptr;
      if (!PollFor([&open] { return MenuReadyForInput(open = FindOpenMenu()); })) return;
      auto menuHandle = reinterpret_cast<HMENU>(SendMessageA(open, MN_GETHMENU, 0, 0));
      items = ItemsOf(menuHandle);
      GetWindowRect(open, &shownAt);
      for (WORD key : keys) {
        PressKey(key);
        Sleep(30);
      }
    });
    ShowPopupAtCursor(menu, WindowHandle(window));
    presser.Join();
    return items;
  }

  int window = 0;
  int menu = 0;
  RECT shownAt{};  // the open menu's window rectangle
};

TEST_F(PopupMenu, FiveItemsInOrderAndTheChosenOneArrivesAsAMenuEvent) {
  std::vector<MenuItem> items = ShowAndPress({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
  ASSERT_EQ(items.size(), 5u);
  const char* texts[] = {"Copy index", "Copy network", "Copy first", "Copy last", "Copy broadcast"};
  for (UINT i = 0; i < 5; ++i) {
    EXPECT_EQ(items[i].id, 101 + i);
    EXPECT_EQ(items[i].text, texts[i]);
  }
  ASSERT_TRUE(WaitForEvent(MenuEvent));
  EXPECT_EQ(EventSourceMenuItem(), 103);
  EXPECT_EQ(EventSourceWindow(), window);
}

TEST_F(PopupMenu, OpensOnePixelAboveAndLeftOfThePointer) {
  POINT pointer{};
  GetCursorPos(&pointer);
  ShowAndPress({VK_ESCAPE});
  EXPECT_EQ(shownAt.left, pointer.x - 1);
  EXPECT_EQ(shownAt.top, pointer.y - 1);
}

// Shows the menu while a helper thread clicks item `position` with the given button.
void ShowAndClick(int menu, int window, int position, bool right) {
  HelperThread clicker([position, right] {
    HWND open = nullptr;
    if (!PollFor([&open] { return MenuReadyForInput(open = FindOpenMenu()); })) return;
    auto menuHandle = reinterpret_cast<HMENU>(SendMessageA(open, MN_GETHMENU, 0, 0));
    RECT item{};
    GetMenuItemRect(nullptr, menuHandle, static_cast<UINT>(position), &item);
    ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}, right);
    // A click that chose nothing leaves the menu open: close it so that the
    // test fails instead of hanging.
    if (!PollFor([open] { return !IsWindowVisible(open); }, 1500)) PressKey(VK_ESCAPE);
  });
  ShowPopupAtCursor(menu, WindowHandle(window));
  clicker.Join();
}

TEST_F(PopupMenu, ClickingAnItemChoosesIt) {
  ShowAndClick(menu, window, 4, false);
  ASSERT_TRUE(WaitForEvent(MenuEvent));
  EXPECT_EQ(EventSourceMenuItem(), 105);
}

TEST_F(PopupMenu, TheRightButtonChoosesAnItemToo) {
  ShowAndClick(menu, window, 1, true);
  ASSERT_TRUE(WaitForEvent(MenuEvent));
  EXPECT_EQ(EventSourceMenuItem(), 102);
}

TEST_F(PopupMenu, EscapeChoosesNothing) {
  std::vector<MenuItem> items = ShowAndPress({VK_ESCAPE});
  EXPECT_EQ(items.size(), 5u);
  EXPECT_EQ(CountEvents(MenuEvent, -1, 300), 0);
}

// ----- Clipboard ----------------------------------------------------------------

std::string ClipboardText() {
  std::string text = "<none>";
  if (!OpenClipboard(nullptr)) return "<closed>";
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    text = bytes != nullptr ? bytes : "<unlocked>";
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST(Clipboard, TextIsWrittenAsPlainText) {
  ASSERT_NE(PutClipboardText("192.168.1.64"), 0);
  EXPECT_EQ(ClipboardText(), "192.168.1.64");
  ASSERT_NE(PutClipboardText("17"), 0);
  EXPECT_EQ(ClipboardText(), "17");
}

TEST(Clipboard, EmptyTextIsAnEmptyText) {
  ASSERT_NE(PutClipboardText(""), 0);
  EXPECT_EQ(ClipboardText(), "");
}

TEST(Clipboard, ABusyClipboardKeepsItsContents) {
  ASSERT_NE(PutClipboardText("kept"), 0);
  HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HelperThread holder([opened, release] {
    // Opened for a window of another thread, so this thread cannot open it.
    HWND owner =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    OpenClipboard(owner);
    SetEvent(opened);
    WaitForSingleObject(release, 5000);
    CloseClipboard();
    DestroyWindow(owner);
  });
  ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(PutClipboardText("lost"), 0);
  SetEvent(release);
  holder.Join();
  EXPECT_EQ(ClipboardText(), "kept");
  CloseHandle(opened);
  CloseHandle(release);
}

// ----- Fonts --------------------------------------------------------------------

LOGFONTA FontInfo(NativeHandle font) {
  LOGFONTA info{};
  GetObjectA(static_cast<HFONT>(font), sizeof info, &info);
  return info;
}

int DisplayPixelsPerInch() {
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  int resolution = GetDeviceCaps(display, LOGPIXELSY);
  DeleteDC(display);
  return resolution;
}

TEST(Fonts, HeightFollowsPointsAndResolution) {
  EXPECT_EQ(FontHeightForPoints(8, 96), -11);
  EXPECT_EQ(FontHeightForPoints(8, 120), -13);
  EXPECT_EQ(FontHeightForPoints(9, 96), -12);
  EXPECT_EQ(FontHeightForPoints(10, 72), -10);
}

TEST(Fonts, CreatedFontHasTheDisplaysHeight) {
  int font = CreateTextFont(AutoId, "Courier New", 8, 0);
  ASSERT_NE(font, 0);
  LOGFONTA info = FontInfo(NativeFontHandle(font));
  EXPECT_EQ(info.lfHeight, FontHeightForPoints(8, DisplayPixelsPerInch()));
  if (DisplayPixelsPerInch() == 96) {
    EXPECT_EQ(info.lfHeight, -11);
  }
  EXPECT_STREQ(info.lfFaceName, "Courier New");
  EXPECT_EQ(info.lfWeight, FW_NORMAL);
  EXPECT_EQ(info.lfCharSet, DEFAULT_CHARSET);
  ReleaseFont(font);
}

TEST(Fonts, StyleFlags) {
  struct Case {
    unsigned style;
    LONG weight;
    BYTE italic, underline, strikeOut, quality;
  };
  const Case cases[] = {
      {0, FW_NORMAL, 0, 0, 0, DEFAULT_QUALITY},
      {FontBold, FW_BOLD, 0, 0, 0, DEFAULT_QUALITY},
      {FontItalic, FW_NORMAL, 1, 0, 0, DEFAULT_QUALITY},
      {FontUnderline, FW_NORMAL, 0, 1, 0, DEFAULT_QUALITY},
      {FontStrikeOut, FW_NORMAL, 0, 0, 1, DEFAULT_QUALITY},
      {FontHighQuality, FW_NORMAL, 0, 0, 0, PROOF_QUALITY},
      {FontBold | FontUnderline, FW_BOLD, 0, 1, 0, DEFAULT_QUALITY},
  };
  for (const Case& test : cases) {
    int font = CreateTextFont(AutoId, "Tahoma", 10, test.style);
    ASSERT_NE(font, 0);
    LOGFONTA info = FontInfo(NativeFontHandle(font));
    EXPECT_EQ(info.lfWeight, test.weight) << std::hex << test.style;
    EXPECT_EQ(info.lfItalic, test.italic) << std::hex << test.style;
    EXPECT_EQ(info.lfUnderline, test.underline) << std::hex << test.style;
    EXPECT_EQ(info.lfStrikeOut, test.strikeOut) << std::hex << test.style;
    EXPECT_EQ(info.lfQuality, test.quality) << std::hex << test.style;
    ReleaseFont(font);
  }
}

TEST(Fonts, ReleasingDeletesTheNativeFont) {
  int before = LiveFontCount();
  int font = CreateTextFont(AutoId, "Tahoma", 8, 0);
  int explicitFont = CreateTextFont(12, "Tahoma", 8, 0);
  EXPECT_EQ(explicitFont, 12);
  EXPECT_EQ(CreateTextFont(12, "Tahoma", 9, 0), 0) << "id 12 is taken";
  NativeHandle handle = NativeFontHandle(font);
  EXPECT_EQ(LiveFontCount(), before + 2);
  ReleaseFont(font);
  EXPECT_EQ(GetObjectType(handle), 0u) << "deleted";
  EXPECT_EQ(NativeFontHandle(font), nullptr);
  ReleaseAllFonts();
  EXPECT_EQ(LiveFontCount(), 0);
}

// ----- Launching ----------------------------------------------------------------

TEST(Launch, CommandLineQuotesTheTargetUnlessItIsQuoted) {
  struct Case {
    const char* target;
    const char* parameters;
    const char* line;
  };
  const Case cases[] = {
      {"C:\\Program Files\\app.exe", "", "\"C:\\Program Files\\app.exe\""},
      {"C:\\Program Files\\app.exe", "-x 1", "\"C:\\Program Files\\app.exe\" -x 1"},
      {"\"C:\\a b\\c.exe\" /s", "", "\"C:\\a b\\c.exe\" /s"},
      {"\"C:\\a b\\c.exe\"", "more", "\"C:\\a b\\c.exe\" more"},
      {"http://example.invalid/", nullptr, "\"http://example.invalid/\""},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(LaunchCommandLine(test.target, test.parameters), test.line) << test.target;
  }
}

std::string FileText(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[512];
  DWORD read = 0;
  if (ReadFile(file, buffer, sizeof buffer, &read, nullptr)) text.assign(buffer, read);
  CloseHandle(file);
  return text;
}

TEST(Launch, AProgramStartsInTheGivenWorkingDirectory) {
  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  std::string folder = std::string(temp) + "velkor-launch-test";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string output = std::string(temp) + "velkor-launch-cd.txt";
  DeleteFileA(output.c_str());
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  std::string program = std::string(system) + "\\cmd.exe";
  std::string parameters = "/c cd > \"" + output + "\"";
  ASSERT_EQ(LaunchTarget(program.c_str(), parameters.c_str(), folder.c_str(), 0), 1);
  // The started program runs on its own; wait for what it wrote.
  ASSERT_TRUE(
      PollFor([&output] { return FileText(output).find('\n') != std::string::npos; }, 10000));
  std::string written = FileText(output);
  EXPECT_EQ(written.substr(0, written.find_first_of("\r\n")), folder);
  DeleteFileA(output.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(Launch, AProgramIsStarted) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  std::string program = std::string(system) + "\\cmd.exe";
  EXPECT_EQ(LaunchTarget(program.c_str(), "/c exit 0", "", 0), 1);
}

// Closes every visible top-level window of this process; returns how many.
BOOL CALLBACK CloseOwnWindow(HWND window, LPARAM closed) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    ++*reinterpret_cast<int*>(closed);
  }
  return TRUE;
}

struct LaunchAttempt {
  std::string target;
  volatile LONG result = -1;
};

DWORD WINAPI RunOpenLink(LPVOID data) {
  auto* attempt = static_cast<LaunchAttempt*>(data);
  InterlockedExchange(&attempt->result, OpenLink(attempt->target.c_str()));
  return 0;
}

TEST(Launch, AMissingTargetFailsWithoutShowingAnything) {
  LaunchAttempt attempt;
  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  attempt.target = std::string(temp) + "velkor-no-such-file.velkor-none";
  DeleteFileA(attempt.target.c_str());
  // The launch runs on its own thread: a shell error dialog would block it.
  HANDLE thread = CreateThread(nullptr, 0, RunOpenLink, &attempt, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  bool returned = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
  int dialogs = 0;
  if (!returned) {
    EnumWindows(CloseOwnWindow, reinterpret_cast<LPARAM>(&dialogs));
    WaitForSingleObject(thread, 10000);
  }
  CloseHandle(thread);
  EXPECT_TRUE(returned) << "the launch waited on " << dialogs << " window(s) of its own";
  EXPECT_EQ(attempt.result, 0);
}

}  // namespace
