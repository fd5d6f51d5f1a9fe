// The program at 150 % (LogPixels 144 in this test's own Wine prefix): every
// window and control is its design times 1.5, the report 16-pixel Courier with
// aligned columns; a window whose DPI changes is laid out again as it was.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/window_ids.hpp"
#include "app_driver.hpp"
#include "base/scaling.hpp"
#include "main_window_driver.hpp"
#include "subnets_window_driver.hpp"

namespace {

struct Control {
  const char* className;
  LONG designed[4];  // left, top, right, bottom in the window's client area at 96 DPI
};
// A window as designed, opened by a click on a button of the main window and
// then, when ctrlKey is set, Ctrl + that key in the window the click opened
// (in the main window itself when there is no button); with a split, Enter in
// the block calculator that Ctrl opened, the block and the split typed; with
// saveAs, the progress of a class A plan's save to that file, its writer held;
// with changedBlock, the question of the planner closed with that block typed.
struct WindowLayout {
  const char* title;
  HWND MainWindowControls::*opener;  // null for the main window itself
  char ctrlKey;
  SIZE inner;
  std::vector<Control> controls;
  const char* block = nullptr;
  const char* split = nullptr;
  const char* saveAs = nullptr;
  const char* changedBlock = nullptr;
};

// clang-format off
const WindowLayout Windows[] = {
    {MainTitle, nullptr, 0, {450, 432},
     {{"Button", {5, 5, 445, 157}}, {"Static", {15, 25, 115, 47}}, {"ComboBox", {115, 22, 440, 44}},
      {"Static", {15, 52, 115, 74}}, {"ComboBox", {115, 49, 440, 71}},
      {"Static", {15, 79, 115, 101}}, {"Edit", {115, 76, 440, 98}},
      {"SysIPAddress32", {115, 76, 440, 98}}, {"Static", {15, 106, 115, 128}},
      {"SysIPAddress32", {115, 103, 440, 125}}, {"Button", {365, 129, 440, 151}},
      {"Button", {5, 161, 445, 428}}, {"RichEdit20A", {15, 181, 435, 391}},
      {"Button", {350, 396, 435, 418}}, {"Button", {15, 396, 100, 418}}}},
    {SubnetsTitle, &MainWindowControls::showNetworks, 0, {460, 350},
     {{"VelkorPanel", {0, 0, 460, 317}}, {"SysListView32", {5, 5, 455, 317}},
      {"Button", {380, 322, 455, 344}}, {"Button", {5, 322, 80, 344}},
      {"Button", {85, 322, 160, 344}}, {"Static", {165, 326, 265, 348}}}},
    {GoToTitle, &MainWindowControls::showNetworks, 'G', {260, 92},
     {{"Static", {10, 10, 250, 26}}, {"Edit", {10, 30, 250, 52}}, {"Button", {90, 62, 165, 84}},
      {"Button", {175, 62, 250, 84}}}},
    {AboutTitle, &MainWindowControls::about, 0, {350, 370},
     {{"Button", {5, 5, 345, 338}}, {"Button", {270, 343, 345, 365}},
      {"Static", {15, 15, 115, 115}}, {"Static", {125, 20, 325, 60}},
      {"Static", {125, 65, 375, 80}}, {"Static", {125, 80, 375, 95}},
      {"Static", {125, 95, 375, 110}}, {"Static", {15, 120, 335, 338}}}},
    {PlannerTitle, nullptr, 'P', {640, 460},
     {{"Static", {10, 13, 95, 29}}, {"Edit", {95, 10, 275, 32}}, {"Static", {10, 42, 630, 58}},
      {"RichEdit20A", {10, 60, 630, 172}}, {"Button", {555, 178, 630, 200}},
      {"SysListView32", {10, 206, 630, 390}}, {"VelkorBlockMap", {10, 396, 630, 424}},
      {"Static", {10, 434, 545, 450}},
      {"Button", {555, 430, 630, 452}}}},
    {BlockTitle, nullptr, 'B', {640, 620},
     {{"Static", {10, 13, 95, 29}}, {"Edit", {95, 10, 395, 32}}, {"Button", {555, 10, 630, 32}},
      {"RichEdit20A", {10, 40, 630, 260}}, {"Static", {10, 271, 95, 287}},
      {"Edit", {95, 268, 215, 290}}, {"Static", {223, 271, 537, 287}},
      {"Button", {545, 268, 630, 290}}, {"Static", {10, 302, 630, 318}},
      {"RichEdit20A", {10, 320, 630, 400}}, {"Button", {470, 406, 545, 428}},
      {"Button", {555, 406, 630, 428}}, {"SysListView32", {10, 434, 630, 582}},
      {"Static", {10, 592, 545, 608}}, {"Button", {555, 588, 630, 610}}}},
    // An IPv6 split's: 256 /64s on 11 pages, a label of designed width.
    {SubnetsTitle, nullptr, 'B', {800, 350},
     {{"VelkorPanel", {0, 0, 800, 317}}, {"SysListView32", {5, 5, 795, 317}},
      {"Button", {720, 322, 795, 344}}, {"Button", {5, 322, 80, 344}},
      {"Button", {85, 322, 160, 344}}, {"Static", {165, 326, 265, 348}}},
     "2001:db8::/56", "/64"},
    {SavingTitle, &MainWindowControls::showNetworks, 'S', {330, 92},
     {{"Static", {10, 10, 320, 26}}, {"msctls_progress32", {10, 32, 320, 50}},
      {"Static", {10, 64, 235, 80}}, {"Button", {245, 60, 320, 82}}},
     nullptr, nullptr, "high_dpi.csv"},
    {SaveChangesTitle, nullptr, 'P', {330, 92},
     {{"Static", {10, 10, 320, 42}}, {"Button", {75, 60, 150, 82}},
      {"Button", {160, 60, 235, 82}}, {"Button", {245, 60, 320, 82}}},
     nullptr, nullptr, nullptr, "10.9.0.0/16"},
};
// clang-format on

// The client area and each control (those inside a panel too) at the
// designed ones times dpi / 96, the controls within a pixel.
void ExpectLayout(HWND window, const WindowLayout& layout, int dpi) {
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, ScaleToDpi(layout.inner.cx, dpi)) << layout.title;
  EXPECT_EQ(client.bottom, ScaleToDpi(layout.inner.cy, dpi)) << layout.title;
  std::vector<ChildInfo> children = DirectChildren(window);
  for (const ChildInfo& child : DirectChildren(window)) {
    for (ChildInfo inner : DirectChildren(child.handle)) {
      MapWindowPoints(child.handle, window, reinterpret_cast<POINT*>(&inner.rect), 2);
      children.push_back(inner);
    }
  }
  auto at = [dpi](LONG designed, LONG seen) { return std::abs(seen - designed * dpi / 96.0) <= 1; };
  for (const Control& c : layout.controls) {
    auto isIt = [&](const ChildInfo& child) {
      return child.className == c.className &&
             std::equal(c.designed, c.designed + 4, &child.rect.left, at);
    };
    EXPECT_TRUE(std::any_of(children.begin(), children.end(), isIt))
        << layout.title << ": " << c.className << " at " << c.designed[0] << ", " << c.designed[1];
  }
}

class HighDpiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(StartWithMainWindow(app_, c_, error)) << error;
    ASSERT_TRUE(TypeIntoEntry(app_, c_.numberEntry, "2"));  // 64 sub-networks on three pages
    ClickCentre(c_.calculate);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(c_.showNetworks) != FALSE; }));
  }
  void TearDown() override { StopApp(app_); }

  HWND Open(const WindowLayout& layout) {
    if (layout.opener == nullptr && layout.ctrlKey == 0) return app_.main;
    if (layout.saveAs != nullptr) CalculateClassA();
    if (layout.opener != nullptr) ClickCentre(c_.*layout.opener);
    if (layout.ctrlKey != 0 && (layout.opener == nullptr ||
                                WaitUntil([&] { return GetForegroundWindow() != app_.main; }))) {
      WaitProgramIdle(app_.main);
      PressKey(layout.ctrlKey, VK_CONTROL);
    }
    if (layout.split != nullptr) ShowSplit(layout);
    if (layout.saveAs != nullptr) SaveHeld(layout.saveAs);
    if (layout.changedBlock != nullptr) CloseChanged(layout.changedBlock);
    HWND window = nullptr;
    WaitUntil(
        [&] { return (window = FindTopLevel(app_.info.dwProcessId, nullptr, layout.title)); });
    EXPECT_TRUE(window != nullptr && WaitWindowIdle(window)) << layout.title;
    return window;
  }
  // The block and the split put in the block calculator's entries, then Enter in the split's.
  void ShowSplit(const WindowLayout& layout) {
    BlockWindowControls b;
    std::string error;
    ASSERT_TRUE(FindBlockWindow(app_, b, error)) << error;
    SendMessageA(b.block, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(layout.block));
    SendMessageA(b.split, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(layout.split));
    ClickCentre(b.split);
    PressKey(VK_RETURN);
  }
  // The planner's block changed, then Escape.
  void CloseChanged(const char* block) {
    PlannerWindowControls p;
    std::string error;
    ASSERT_TRUE(FindPlannerWindow(app_, p, error) && WaitWindowIdle(p.window)) << error;
    SendMessageA(p.block, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(block));
    ASSERT_TRUE(BringToFront(p.window));
    PressKey(VK_ESCAPE);
  }
  // A class A plan, whose save runs long enough to be held.
  void CalculateClassA() {
    ASSERT_TRUE(ChooseListItem(app_, c_.classList, 2) && ChooseListItem(app_, c_.methodList, 1) &&
                TypeIntoEntry(app_, c_.numberEntry, "4194304"));
    ClickCentre(c_.calculate);
    ASSERT_TRUE(
        WaitUntil([&] { return WindowText(c_.resultArea).find("8388608") != std::string::npos; }));
  }
  // Saves to `name` in the temporary folder from the Save As dialog.
  void SaveHeld(const char* name) {
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (dialog = FindTopLevel(app_.info.dwProcessId, nullptr, "Save As")); }));
    char path[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, path);
    std::remove(lstrcatA(path, name));
    const std::vector<DWORD> threads = ThreadsOf(app_.info.dwProcessId);
    ASSERT_TRUE(BringToFront(dialog));
    SendMessageA(WaitForFocusIn(app_, dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PressKey(VK_RETURN);
    writer_ = HoldNewThread(app_.info.dwProcessId, threads);
  }
  // Escape in each secondary window until the main window takes input again.
  void CloseSecondaryWindows() {
    for (int i = 0; i < 3 && !IsWindowEnabled(app_.main); ++i) {
      PressKey(VK_ESCAPE);
      ResumeThread(writer_);
      // Closing with changes asks first: they are not saved.
      if (WaitUntil([&] { return FindTopLevel(app_.info.dwProcessId, nullptr, SaveChangesTitle); },
                    500)) {
        PressKey('D');
      }
      WaitUntil([&] { return IsWindowEnabled(app_.main) != FALSE; }, 2000);
    }
  }
  // What the system does when `window` goes to a monitor at `dpi`: it
  // suggests the outer rectangle of the designed client area at that DPI.
  // Wine: there is one DPI for all monitors and WM_DPICHANGED never comes;
  // and it draws frames at the system DPI, so the window keeps its frame.
  void ChangeDpi(HWND window, const WindowLayout& layout, int dpi) {
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const RECT suggested{
        0, 0, outer.right - outer.left - client.right + ScaleToDpi(layout.inner.cx, dpi),
        outer.bottom - outer.top - client.bottom + ScaleToDpi(layout.inner.cy, dpi)};
    ASSERT_TRUE(SendDpiChange(app_, window, dpi, suggested));
    ExpectLayout(window, layout, dpi);  // its client area: the suggested rectangle is taken
  }

  AppProcess app_;
  MainWindowControls c_;
  HANDLE writer_ = nullptr;  // the held writer of a save
};

TEST_F(HighDpiTest, EveryWindowIsItsDesignTimesOneAndAHalfAndTheReportSixteenPixelCourier) {
  for (const WindowLayout& layout : Windows) {
    ExpectLayout(Open(layout), layout, 144);
    CloseSecondaryWindows();
  }
  auto lineTop = [&](int line) {
    auto first = static_cast<WPARAM>(SendMessageA(c_.resultArea, EM_LINEINDEX, line, 0));
    return static_cast<int>(HIWORD(SendMessageA(c_.resultArea, EM_POSFROMCHAR, first, 0)));
  };
  // Liberation Mono, the prefix's Courier New, 16 pixels high takes 18 a line
  // (12 at 11 pixels, the 8 points of 96 DPI; 19 at 17).
  const int pitch = lineTop(1) - lineTop(0);
  EXPECT_EQ(pitch, 18);
  // The bit map's letter and digit rows, 32 characters each, line up.
  ScreenCapture shot;
  auto litColumns = [&](int line) {
    std::pair<int, int> lit{shot.width, -1};
    for (int y = lineTop(line); y < lineTop(line) + pitch; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        if ((shot.At(x, y) & 0x808080) == 0x808080)
          lit = {std::min(lit.first, x), std::max(lit.second, x)};
      }
    }
    return lit;
  };
  ASSERT_TRUE(WaitUntil(
      [&] { return CaptureClientArea(c_.resultArea, shot) && litColumns(11).second > 0; }));
  EXPECT_NEAR(litColumns(10).first, litColumns(11).first, 2);
  EXPECT_NEAR(litColumns(10).second, litColumns(11).second, 2);
  EXPECT_GE(litColumns(11).second - litColumns(11).first, 31 * 9);
}

TEST_F(HighDpiTest, ThePlannersMapIsDrawnInDevicePixels) {
  PlannerWindowControls p;
  std::string error;
  ASSERT_TRUE(Open(Windows[4]) != nullptr && FindPlannerWindow(app_, p, error)) << error;
  EXPECT_EQ(PlannerMapFaults(app_, p), "");
}

TEST_F(HighDpiTest, AWindowOnAMonitorOfAnotherDpiIsLaidOutAgainKeepingWhatItShows) {
  ASSERT_TRUE(ChooseListItem(app_, c_.methodList, 1));
  const std::vector<std::string> report = ReportLines(c_.resultArea);
  SubnetsWindowControls s;
  std::string error;
  ASSERT_TRUE(Open(Windows[1]) != nullptr && FindSubnetsWindow(app_, s, error)) << error;
  ASSERT_TRUE(BringToFront(s.window));
  PressKey(VK_RIGHT);
  ASSERT_TRUE(WaitUntil([&] { return WindowText(s.pageLabel) == "Page 2/3"; }));
  const RECT row = ListRowRect(app_, s.list, 3);
  ClickAt(s.list, row.left + 20, (row.top + row.bottom) / 2);
  auto selected = [&] {
    return SendMessageA(s.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  };
  ASSERT_TRUE(WaitUntil([&] { return selected() == 3; }));
  const std::vector<ListRow> rows = ListRows(app_, s.list);

  ChangeDpi(s.window, Windows[1], 192);
  EXPECT_EQ(WindowText(s.pageLabel), "Page 2/3");
  EXPECT_EQ(ListRows(app_, s.list), rows);
  EXPECT_EQ(selected(), 3);
  CloseSecondaryWindows();
  ChangeDpi(app_.main, Windows[0], 192);
  EXPECT_EQ(ReportLines(c_.resultArea), report);
  EXPECT_EQ(SelectedIndex(c_.methodList), 1);
  EXPECT_EQ(WindowText(c_.numberLabel), "#Networks: ");
  EXPECT_EQ(AddressText(c_.networkEntry), "192.168.1.0");
}

}  // namespace
