// The control kinds and their operations, in real windows.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/toolkit/toolkit_test_support.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/windows.hpp"

namespace {

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    window =
        static_cast<int>(WindowOpen(AutoId, 50, 50, 450, 400, "Controls", WS_CAPTION, nullptr));
    ASSERT_NE(window, 0);
  }
  void TearDown() override {
    WindowClose(window);
    PumpEvents(20);
  }
  HWND Handle(int control) const { return static_cast<HWND>(ControlHandle(control)); }

  int window = 0;
};

std::string ClassOf(HWND handle) {
  char name[64] = "";
  GetClassNameA(handle, name, sizeof name);
  return name;
}

struct KindCase {
  const char* name;
  intptr_t (*create)(int id);
  const char* className;
  DWORD style;
};

const KindCase kindCases[] = {
    {"FrameBox", [](int id) { return CreateFrameBox(id, 5, 5, 100, 60, "Frame"); }, "Button",
     0x50020007},
    {"Label", [](int id) { return CreateLabel(id, 5, 5, 100, 20, "Label"); }, "Static", 0x50020000},
    // The combo box hands WS_BORDER and WS_VSCROLL on to its list.
    {"DropDownList", [](int id) { return CreateDropDownList(id, 5, 5, 100, 22); }, "ComboBox",
     0x50A30003 & ~(WS_BORDER | WS_VSCROLL)},
    {"TextEntry", [](int id) { return CreateTextEntry(id, 5, 5, 100, 22, "Entry"); }, "Edit",
     0x50030080},
    {"AddressEntry", [](int id) { return CreateAddressEntry(id, 5, 5, 150, 22); }, "SysIPAddress32",
     0x50010000},
    {"PushButton", [](int id) { return CreatePushButton(id, 5, 5, 80, 24, "Push"); }, "Button",
     0x50030000},
    {"TextArea", [](int id) { return CreateTextArea(id, 5, 5, 200, 100, TextAreaReadOnly); },
     // Rich edit shows its scroll bars only when the text needs them.
     "RichEdit20A", (0x503111C4 | TextAreaReadOnly) & ~(WS_VSCROLL | WS_HSCROLL)},
    {"ProgressBar", [](int id) { return CreateProgressBar(id, 5, 5, 200, 18); },
     "msctls_progress32", 0x50000001},
};

TEST_F(Controls, EachKindIsItsNativeClassWithItsStyleAndIds) {
  int explicitId = 40;
  for (const KindCase& kind : kindCases) {
    intptr_t handle = kind.create(explicitId);
    ASSERT_NE(handle, 0) << kind.name;
    HWND native = reinterpret_cast<HWND>(handle);
    EXPECT_EQ(ControlHandle(explicitId), native) << kind.name;
    EXPECT_STRCASEEQ(ClassOf(native).c_str(), kind.className) << kind.name;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(native, GWL_STYLE)) & kind.style, kind.style)
        << kind.name;
    EXPECT_EQ(GetDlgCtrlID(native), explicitId) << kind.name;
    EXPECT_EQ(WindowIdOf(native), window) << kind.name;
    EXPECT_EQ(kind.create(explicitId), 0) << kind.name << ": the id is taken";
    int allocated = static_cast<int>(kind.create(AutoId));
    EXPECT_GT(allocated, MaxExplicitId) << kind.name;
    EXPECT_EQ(GetWindowLongPtrA(Handle(allocated), GWLP_ID), allocated) << kind.name;
    ++explicitId;
  }
}

TEST_F(Controls, PositionAndSizeAreInTheParentsClientArea) {
  int label = static_cast<int>(CreateLabel(AutoId, 17, 23, 111, 19, "x"));
  EXPECT_EQ(ControlX(label), 17);
  EXPECT_EQ(ControlY(label), 23);
  EXPECT_EQ(ControlWidth(label), 111);
  EXPECT_EQ(ControlHeight(label), 19);
  ControlSetHidden(label, 1);
  EXPECT_FALSE(IsWindowVisible(Handle(label)));
  ControlSetHidden(label, 0);
  EXPECT_TRUE(IsWindowVisible(Handle(label)));
  ControlSetDisabled(label, 1);
  EXPECT_FALSE(IsWindowEnabled(Handle(label)));
  ControlSetDisabled(label, 0);
  EXPECT_TRUE(IsWindowEnabled(Handle(label)));
}

TEST_F(Controls, FontsGoToOneControlOrToEveryLaterOne) {
  HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HFONT ansi = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
  int first = static_cast<int>(CreateLabel(AutoId, 5, 5, 50, 20, "a"));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Handle(first), WM_GETFONT, 0, 0)), stock);
  ControlSetFont(first, ansi);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Handle(first), WM_GETFONT, 0, 0)), ansi);
  ControlSetFont(AllNewControls, ansi);
  int second = static_cast<int>(CreateLabel(AutoId, 5, 30, 50, 20, "b"));
  ControlSetFont(AllNewControls, DefaultGuiFont);
  int third = static_cast<int>(CreateLabel(AutoId, 5, 55, 50, 20, "c"));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Handle(second), WM_GETFONT, 0, 0)), ansi);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Handle(third), WM_GETFONT, 0, 0)), stock);
}

// ----- DropDownList -----------------------------------------------------------

TEST_F(Controls, DropDownListItemsAndSelection) {
  int list = static_cast<int>(CreateDropDownList(AutoId, 10, 10, 150, 22));
  EXPECT_EQ(ControlHeight(list), 22) << "closed height";
  EXPECT_EQ(ControlGetState(list), -1) << "nothing selected";
  EXPECT_EQ(ControlAddItem(list, -1, "Class C"), 1);
  EXPECT_EQ(ControlAddItem(list, -1, "Class B"), 1);
  EXPECT_EQ(ControlAddItem(list, 0, "Class A"), 1);
  EXPECT_EQ(ControlAddItem(list, -2, "never"), 0);
  ASSERT_EQ(ControlCountItems(list), 3);
  EXPECT_EQ(ControlItemText(list, 0, 0), "Class A");
  EXPECT_EQ(ControlItemText(list, 2, 5), "Class B") << "column is ignored";
  EXPECT_EQ(ControlItemText(list, 3, 0), "");
  EXPECT_EQ(ControlItemText(list, -1, 0), "");
  ControlSetState(list, 1);
  EXPECT_EQ(ControlGetState(list), 1);
  EXPECT_EQ(ControlGetText(list), "Class C");
  ControlSetState(list, -1);
  EXPECT_EQ(ControlGetState(list), -1);
  ControlClearItems(list);
  EXPECT_EQ(ControlCountItems(list), 0);
  EXPECT_EQ(ControlGetColor(list, ColorText), 0) << "a list has no colours";
}

TEST_F(Controls, DropDownListChoiceByKeyboardGivesOneChangeEvent) {
  int list = static_cast<int>(CreateDropDownList(AutoId, 10, 10, 150, 22));
  for (const char* item : {"one", "two", "three"})
    ControlAddItem(list, -1, item);
  ControlSetState(list, 0);
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  SetFocus(Handle(list));
  PumpEvents(50);
  PressKey(VK_DOWN);
  ASSERT_TRUE(WaitForEvent(ControlEvent));
  EXPECT_EQ(EventSourceControl(), list);
  EXPECT_EQ(EventSourceWindow(), window);
  EXPECT_EQ(EventDetail(), DetailChange);
  EXPECT_EQ(ControlGetState(list), 1);
  EXPECT_EQ(CountEvents(ControlEvent, list, 300), 0) << "exactly one event";
}

TEST_F(Controls, DropDownListChoiceByMouseGivesOneChangeEvent) {
  int list = static_cast<int>(CreateDropDownList(AutoId, 10, 10, 150, 22));
  for (const char* item : {"one", "two", "three"})
    ControlAddItem(list, -1, item);
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  ClickAt(CentreOf(Handle(list)));  // opens the list
  ASSERT_TRUE(PumpUntil([&] { return SendMessageA(Handle(list), CB_GETDROPPEDSTATE, 0, 0) != 0; }));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(Handle(list), &info));
  RECT item{};
  SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  POINT third{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(info.hwndList, &third);
  ClickAt(third);
  ASSERT_TRUE(WaitForEvent(ControlEvent));
  EXPECT_EQ(EventSourceControl(), list);
  EXPECT_EQ(EventDetail(), DetailChange);
  EXPECT_EQ(ControlGetState(list), 2);
  EXPECT_EQ(CountEvents(ControlEvent, list, 300), 0) << "exactly one event";
}

TEST_F(Controls, DropDownListFocusChangesRaiseNothing) {
  int list = static_cast<int>(CreateDropDownList(AutoId, 10, 10, 150, 22));
  int button = static_cast<int>(CreatePushButton(AutoId, 10, 50, 80, 24, "Other"));
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  PumpEvents(50);
  SetFocus(Handle(list));
  SetFocus(Handle(button));
  SetFocus(Handle(list));
  EXPECT_EQ(CountEvents(ControlEvent, list, 200), 0);
}

// ----- PushButton -------------------------------------------------------------

TEST_F(Controls, PushButtonClickedWithTheMouse) {
  int button = static_cast<int>(CreatePushButton(AutoId, 40, 40, 100, 30, "Calculate"));
  ASSERT_TRUE(MakeForeground(static_cast<HWND>(WindowHandle(window))));
  ClickAt(CentreOf(Handle(button)));
  ASSERT_TRUE(WaitForEvent(ControlEvent));
  EXPECT_EQ(EventSourceControl(), button);
  EXPECT_EQ(EventSourceWindow(), window);
  EXPECT_EQ(EventDetail(), DetailClick);
  EXPECT_EQ(ControlGetText(button), "Calculate");
  ControlSetText(button, "Again");
  EXPECT_EQ(ControlGetText(button), "Again");
}

// ----- AddressEntry -----------------------------------------------------------

TEST_F(Controls, AddressEntryHoldsAnIpv4Value) {
  int address = static_cast<int>(CreateAddressEntry(AutoId, 10, 10, 150, 22));
  intptr_t value = 192 | 168 << 8 | 1 << 16 | 0 << 24;
  ControlSetState(address, value);
  EXPECT_EQ(ControlGetState(address), value);
  EXPECT_EQ(ControlGetText(address), "192.168.1.0");
  DWORD native = 0;
  SendMessageA(Handle(address), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&native));
  EXPECT_EQ(native, MAKEIPADDRESS(192, 168, 1, 0)) << "first field in the highest byte";

  ControlSetText(address, "10.0.0.1");
  EXPECT_EQ(ControlGetText(address), "192.168.1.0") << "a dotted text changes nothing";
  ControlSetText(address, "");
  EXPECT_NE(SendMessageA(Handle(address), IPM_ISBLANK, 0, 0), 0);
  EXPECT_EQ(ControlGetState(address), 0);
  ControlSetState(address, 10 | 255 << 24);
  ControlSetText(address, nullptr);
  EXPECT_EQ(ControlGetText(address), "0.0.0.0");
}

// ----- TextArea ---------------------------------------------------------------

class TextArea : public Controls {
 protected:
  void SetUp() override {
    Controls::SetUp();
    area = static_cast<int>(CreateTextArea(AutoId, 10, 10, 300, 200, TextAreaReadOnly));
    ASSERT_NE(area, 0);
  }
  // The whole text with each line end ("\r\n" or "\r") made one line feed.
  std::string Lines() const {
    std::string text = ControlGetText(area);
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r') {
        plain += text[i];
        continue;
      }
      plain += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return plain;
  }
  int area = 0;
};

TEST_F(TextArea, AppendedLinesAreSeparatedByOneLineBreak) {
  for (const char* line : {"x", "y", "z"})
    EXPECT_EQ(ControlAddItem(area, -1, line), 0);
  EXPECT_EQ(ControlCountItems(area), 3);
  EXPECT_EQ(ControlItemText(area, 0, 0), "x");
  EXPECT_EQ(ControlItemText(area, 1, 0), "y");
  EXPECT_EQ(ControlItemText(area, 2, 0), "z");
  EXPECT_EQ(ControlItemText(area, 3, 0), "");
  EXPECT_EQ(Lines(), "x\ny\nz");
}

TEST_F(TextArea, AnEmptyFirstLineCounts) {
  ControlAddItem(area, -1, "");
  EXPECT_EQ(ControlGetText(area), "") << "empty but marked";
  ControlAddItem(area, -1, "y");
  EXPECT_EQ(ControlCountItems(area), 2);
  EXPECT_EQ(ControlItemText(area, 0, 0), "");
  EXPECT_EQ(ControlItemText(area, 1, 0), "y");
  EXPECT_EQ(Lines(), "\ny");
}

TEST_F(TextArea, ClearingForgetsTheText) {
  ControlAddItem(area, -1, "");
  ControlAddItem(area, -1, "old");
  ControlClearItems(area);
  EXPECT_EQ(ControlCountItems(area), 0);
  ControlAddItem(area, -1, "x");
  EXPECT_EQ(Lines(), "x");
  ControlSetText(area, nullptr);  // the same as clearing
  ControlAddItem(area, -1, "w");
  EXPECT_EQ(Lines(), "w");
}

TEST_F(TextArea, InsertingAtALineAndReplacingTheText) {
  for (const char* line : {"a", "c"})
    ControlAddItem(area, -1, line);
  ControlAddItem(area, 1, "b");
  EXPECT_EQ(Lines(), "a\nb\nc");
  ControlAddItem(area, 7, "d");  // no line 7: appended
  EXPECT_EQ(Lines(), "a\nb\nc\nd");
  ControlSetText(area, "new text");
  EXPECT_EQ(Lines(), "new text");
}

TEST_F(TextArea, ReplacingTheTextDropsAPendingEmptyLine) {
  ControlAddItem(area, -1, "");
  ControlSetText(area, "abc");
  ControlAddItem(area, -1, "x");
  EXPECT_EQ(Lines(), "abc\nx");
  EXPECT_EQ(ControlCountItems(area), 2);
}

TEST_F(TextArea, AddingAtLineZeroOfAnEmptyAreaInsertsALineBreakAfterIt) {
  ControlAddItem(area, 0, "first");
  EXPECT_EQ(Lines(), "first\n");
  EXPECT_EQ(ControlItemText(area, 0, 0), "first");
}

TEST_F(TextArea, ColoursAreStored) {
  EXPECT_EQ(ControlGetColor(area, ColorText), DefaultColour);
  ControlSetColor(area, ColorText, RGB(200, 0, 0));
  ControlSetColor(area, ColorBackground, RGB(0, 0, 90));
  EXPECT_EQ(ControlGetColor(area, ColorText), static_cast<int>(RGB(200, 0, 0)));
  EXPECT_EQ(ControlGetColor(area, ColorBackground), static_cast<int>(RGB(0, 0, 90)));
  ControlAddItem(area, -1, "appended after the colour was set");
  SendMessageA(Handle(area), EM_SETSEL, 0, -1);
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  SendMessageA(Handle(area), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.crTextColor, RGB(200, 0, 0));
  EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
}

// ----- Label and TextEntry colours ----------------------------------------------

COLORREF BrushColour(LRESULT brush) {
  LOGBRUSH info{};
  GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
  return info.lbColor;
}

TEST_F(Controls, LabelColoursAreAnsweredWithSharedBrushes) {
  int before = SharedBrushCount();
  int first = static_cast<int>(CreateLabel(AutoId, 5, 5, 100, 20, "one"));
  int second = static_cast<int>(CreateLabel(AutoId, 5, 30, 100, 20, "two"));
  HWND parent = static_cast<HWND>(WindowHandle(window));
  HDC dc = GetDC(parent);
  // Neither colour set: the window's default answer.
  LRESULT plain = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(Handle(first)));
  EXPECT_EQ(plain, DefWindowProcA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(Handle(first))));

  ControlSetColor(first, ColorText, RGB(255, 0, 0));
  LRESULT textOnly = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(Handle(first)));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  EXPECT_EQ(BrushColour(textOnly), GetSysColor(COLOR_BTNFACE));

  ControlSetColor(first, ColorBackground, RGB(1, 2, 3));
  ControlSetColor(second, ColorBackground, RGB(1, 2, 3));
  EXPECT_EQ(SharedBrushCount(), before + 1) << "one brush per colour";
  LRESULT firstBrush = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(Handle(first)));
  EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
  LRESULT secondBrush = SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(Handle(second)));
  EXPECT_EQ(firstBrush, secondBrush);
  EXPECT_EQ(BrushColour(firstBrush), RGB(1, 2, 3));
  EXPECT_EQ(ControlGetColor(first, ColorBackground), static_cast<int>(RGB(1, 2, 3)));
  ReleaseDC(parent, dc);

  ControlSetColor(first, ColorBackground, DefaultColour);
  EXPECT_EQ(SharedBrushCount(), before + 1) << "the second label still uses it";
  WindowClose(window);
  EXPECT_EQ(SharedBrushCount(), before) << "released with its last control";
}

TEST_F(Controls, TextEntryColoursUseTheWindowColourBehindText) {
  int entry = static_cast<int>(CreateTextEntry(AutoId, 5, 5, 100, 22, "text"));
  ControlSetColor(entry, ColorText, RGB(0, 128, 0));
  HWND parent = static_cast<HWND>(WindowHandle(window));
  HDC dc = GetDC(parent);
  LRESULT brush = SendMessageA(parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(Handle(entry)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 128, 0));
  EXPECT_EQ(BrushColour(brush), GetSysColor(COLOR_WINDOW));
  ReleaseDC(parent, dc);
  EXPECT_EQ(ControlGetText(entry), "text");
}

// A read-only entry asks with WM_CTLCOLORSTATIC and gets its colours; a disabled
// one asks the same way and gets the window's default answer.
TEST_F(Controls, TextEntryColoursForStaticRequestsOnlyWhileEnabled) {
  int entry = static_cast<int>(CreateTextEntry(AutoId, 5, 5, 100, 22, "text"));
  SendMessageA(Handle(entry), EM_SETREADONLY, TRUE, 0);
  ControlSetColor(entry, ColorText, RGB(0, 0, 200));
  ControlSetColor(entry, ColorBackground, RGB(250, 240, 0));
  HWND parent = static_cast<HWND>(WindowHandle(window));
  HDC dc = GetDC(parent);
  auto ask = [&] {
    return SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(Handle(entry)));
  };
  LRESULT readOnly = ask();
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 200));
  EXPECT_EQ(GetBkColor(dc), RGB(250, 240, 0));
  EXPECT_EQ(BrushColour(readOnly), RGB(250, 240, 0));

  ControlSetDisabled(entry, 1);
  SetTextColor(dc, RGB(1, 1, 1));
  LRESULT disabled = ask();
  EXPECT_NE(GetTextColor(dc), RGB(0, 0, 200));
  EXPECT_EQ(disabled, DefWindowProcA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(Handle(entry))));
  ReleaseDC(parent, dc);
}

// ----- Operations a kind does not have --------------------------------------------

TEST_F(Controls, OperationsAKindLacksDoNothing) {
  int frame = static_cast<int>(CreateFrameBox(AutoId, 5, 5, 200, 100, "Frame"));
  int label = static_cast<int>(CreateLabel(AutoId, 5, 120, 100, 20, "Label"));
  for (int control : {frame, label}) {
    EXPECT_EQ(ControlAddItem(control, -1, "x"), 0);
    EXPECT_EQ(ControlCountItems(control), 0);
    EXPECT_EQ(ControlItemText(control, 0, 0), "");
    EXPECT_EQ(ControlGetState(control), 0);
    EXPECT_EQ(ControlAddColumn(control, 0, "c", 10), 0);
  }
  ControlSetColor(frame, ColorText, RGB(1, 1, 1));
  EXPECT_EQ(ControlGetColor(frame, ColorText), 0);
  EXPECT_EQ(ControlGetText(frame), "Frame");
}

TEST_F(Controls, DestroyedControlsFreeTheirIds) {
  int before = LiveControlCount();
  int label = static_cast<int>(CreateLabel(AutoId, 5, 5, 100, 20, "Label"));
  HWND handle = Handle(label);
  EXPECT_EQ(LiveControlCount(), before + 1);
  DestroyWindow(handle);
  EXPECT_EQ(LiveControlCount(), before);
  EXPECT_EQ(ControlHandle(label), nullptr);
}

}  // namespace
