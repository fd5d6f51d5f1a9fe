// Report lists and panels in real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/toolkit/toolkit_test_support.hpp"
#include "toolkit/events.hpp"
#include "toolkit/views.hpp"
#include "toolkit/windows.hpp"

namespace {

class Views : public ::testing::Test {
 protected:
  void SetUp() override {
    window = static_cast<int>(WindowOpen(AutoId, 50, 50, 460, 350, "Views", WS_CAPTION, nullptr));
    ASSERT_NE(window, 0);
  }
  void TearDown() override {
    WindowClose(window);
    PumpEvents(20);
  }
  static HWND Handle(int control) { return static_cast<HWND>(ControlHandle(control)); }
  int List(unsigned flags = ReportListFullRowSelect | ReportListShowSelectionAlways) {
    int list = static_cast<int>(CreateReportList(AutoId, 5, 5, 440, 300, "#", 25, flags));
    ControlAddColumn(list, 1, "Network", 100);
    ControlAddColumn(list, 2, "First IP", 100);
    return list;
  }
  int window = 0;
};

TEST_F(Views, ReportListFlagsGiveTheListStyles) {
  struct Case {
    unsigned flags;
    DWORD style;
    DWORD listStyles;
  };
  const Case cases[] = {
      {ReportListFullRowSelect | ReportListShowSelectionAlways, 0x5001004D, 0x10020},
      {ReportListMultipleSelection | ReportListCheckBoxes | ReportListHeaderDragDrop, 0x50010041,
       0x10014},
  };
  for (const Case& test : cases) {
    HWND list =
        Handle(static_cast<int>(CreateReportList(AutoId, 5, 5, 300, 200, "#", 25, test.flags)));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE)), test.style) << test.flags;
    EXPECT_EQ(static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)),
              test.listStyles)
        << test.flags;
    EXPECT_NE(GetWindowLongPtrA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0) << test.flags;
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), 25) << test.flags;
  }
}

TEST_F(Views, ReportListRowsAreSplitAtLineFeeds) {
  int list = List();
  const std::string longCell(300, 'x');
  struct Case {
    std::string text;
    std::vector<std::string> cells;  // columns 0 to 2 of the new row
  };
  const Case cases[] = {
      {"7\n10.0.0.0\n10.0.0.1\n10.0.0.6\n10.0.0.7", {"7", "10.0.0.0", "10.0.0.1"}},
      {"a\n\nc", {"a", "", "c"}},
      {"a\n", {"a", "", ""}},
      {"\nb", {"", "b", ""}},
      {longCell + "\n" + longCell, {longCell, longCell, ""}},
  };
  for (const Case& test : cases) {
    ASSERT_EQ(ControlAddItem(list, -1, test.text.c_str()), 1);
    int row = ControlCountItems(list) - 1;
    for (int column = 0; column < 3; ++column)
      EXPECT_EQ(ControlItemText(list, row, column), test.cells[column]) << row << "," << column;
  }
  ControlAddItem(list, 0, "first\nrow");
  EXPECT_EQ(ControlItemText(list, 1, 0), "7") << "inserted before";
  EXPECT_EQ(ControlItemText(list, -1, 1), "Network");
  EXPECT_EQ(ControlItemText(list, -1, 3), "") << "no such column";
  EXPECT_EQ(ControlItemText(list, 0, 3), "");
  EXPECT_EQ(ControlItemText(list, 6, 0), "") << "no such row";
  ControlClearItems(list);
  EXPECT_EQ(ControlCountItems(list), 0);
}

TEST_F(Views, ReportListSelectionAndColours) {
  int list = List();
  for (int row = 0; row < 40; ++row)
    ControlAddItem(list, -1, std::to_string(row).c_str());
  EXPECT_EQ(ControlGetState(list), -1);
  ControlSetState(list, 3);
  ControlSetState(list, 30);
  EXPECT_EQ(ControlGetState(list), 30);
  EXPECT_EQ(SendMessageA(Handle(list), LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(Handle(list), LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 30);
  EXPECT_GT(SendMessageA(Handle(list), LVM_GETTOPINDEX, 0, 0), 0) << "scrolled into view";
  ControlSetState(list, -1);
  EXPECT_EQ(ControlGetState(list), -1);

  const UINT getters[] = {LVM_GETTEXTCOLOR, LVM_GETBKCOLOR, LVM_GETTEXTBKCOLOR};
  std::vector<LRESULT> atCreation;
  for (UINT getter : getters)
    atCreation.push_back(SendMessageA(Handle(list), getter, 0, 0));
  const int text = RGB(200, 0, 0), background = RGB(0, 0, 90);
  ControlSetColor(list, ColorText, text);
  ControlSetColor(list, ColorBackground, background);
  const LRESULT set[] = {text, background, background};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(SendMessageA(Handle(list), getters[i], 0, 0), set[i]) << i;
  EXPECT_EQ(ControlGetColor(list, ColorBackground), background);
  ControlSetColor(list, ColorText, DefaultColour);
  ControlSetColor(list, ColorBackground, DefaultColour);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(SendMessageA(Handle(list), getters[i], 0, 0), atCreation[i]) << i;
}

// The details of the control events that `act` raises, in order.
std::vector<int> DetailsAfter(int list, int window, void (*act)(HWND list)) {
  PumpEvents(50);
  act(static_cast<HWND>(ControlHandle(list)));
  std::vector<int> details;
  bool waited = false;  // the first check comes before any EventWait
  PumpUntil(
      [&] {
        if (waited && EventSourceControl() == list && EventSourceWindow() == window)
          details.push_back(EventDetail());
        waited = true;
        return false;
      },
      600);
  return details;
}

POINT RowPoint(HWND list, int row) {
  RECT item{LVIR_LABEL, 0, 0, 0};
  SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  POINT point{item.left + 5, (item.top + item.bottom) / 2};
  ClientToScreen(list, &point);
  return point;
}

// A list in a panel raises its events as on the window.
TEST_F(Views, ReportListClicksInAPanelBecomeEvents) {
  struct Step {
    const char* name;
    void (*act)(HWND list);
    std::vector<int> details;
  };
  const Step steps[] = {
      {"click row 1", [](HWND list) { ClickAt(RowPoint(list, 1)); }, {DetailChange, DetailClick}},
      {"right click row 2",
       [](HWND list) { ClickAt(RowPoint(list, 2), true); },
       {DetailChange, DetailRightClick}},
      // The selected row goes with the rows, unreported until the next click.
      {"click after clearing",
       [](HWND list) {
         SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
         ClickAt(CentreOf(list));
       },
       {DetailChange, DetailClick}},
  };
  CreatePanel(AutoId, 0, 0, 460, 320, 0);
  int list = List();
  EndContainer();
  for (const char* row : {"0", "1", "2"})
    ControlAddItem(list, -1, row);
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  for (const Step& step : steps)
    EXPECT_EQ(DetailsAfter(list, window, step.act), step.details) << step.name;
}

TEST_F(Views, PanelsHoldControlsAndPaintTheirBackground) {
  struct Case {
    unsigned flags;
    DWORD border;
    DWORD edges;
  };
  const Case cases[] = {
      {PanelBorder | PanelDialogFrame, WS_BORDER, 0},
      {PanelDialogFrame | PanelClientEdge, WS_DLGFRAME, 0},
      {PanelStaticEdge | PanelClientEdge, 0, WS_EX_STATICEDGE | WS_EX_CLIENTEDGE}};
  for (const Case& test : cases) {
    int panel = static_cast<int>(CreatePanel(AutoId, 10, 10, 200, 100, test.flags));
    int inside = static_cast<int>(CreateLabel(AutoId, 5, 5, 50, 20, "in"));
    EndContainer();
    int beside = static_cast<int>(CreateLabel(AutoId, 220, 5, 50, 20, "out"));
    EXPECT_EQ(GetParent(Handle(inside)), Handle(panel)) << test.flags;
    EXPECT_EQ(GetParent(Handle(beside)), WindowHandle(window)) << test.flags;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(Handle(panel), GWL_STYLE));
    EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME), test.border) << test.flags;
    EXPECT_EQ(GetWindowLongPtrA(Handle(panel), GWL_EXSTYLE) & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE),
              static_cast<LONG_PTR>(test.edges))
        << test.flags;
    DestroyWindow(Handle(panel));
    DestroyWindow(Handle(beside));
  }

  int panel = static_cast<int>(CreatePanel(AutoId, 10, 10, 200, 100, 0));
  EndContainer();
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  auto shown = [&] {
    UpdateWindow(Handle(panel));
    HDC screen = GetDC(nullptr);
    POINT point = CentreOf(Handle(panel));
    COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
  };
  const COLORREF green = RGB(10, 200, 30);
  ControlSetColor(panel, ColorBackground, static_cast<int>(green));
  EXPECT_EQ(ControlGetColor(panel, ColorBackground), static_cast<int>(green));
  // Wine: the screen shows the repaint once the X server has drawn it.
  EXPECT_TRUE(PumpUntil([&] { return shown() == green; })) << std::hex << shown();
  ControlSetColor(panel, ColorBackground, DefaultColour);
  EXPECT_TRUE(PumpUntil([&] { return shown() == GetSysColor(COLOR_BTNFACE); }))
      << std::hex << shown();
}

}  // namespace
