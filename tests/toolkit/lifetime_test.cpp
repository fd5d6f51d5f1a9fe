// Object lifetimes: dead ids are harmless for every object type, and opening
// and closing windows full of controls leaks no GDI or USER object.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "assets/logo.hpp"
#include "tests/toolkit/toolkit_test_support.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/events.hpp"
#include "toolkit/fonts.hpp"
#include "toolkit/images.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/views.hpp"
#include "toolkit/windows.hpp"

namespace {

// ----- Dead ids -----------------------------------------------------------------

enum class ObjectType { Window, Control, Font, Menu, Image };

struct DeadIdCase {
  ObjectType type;
  const char* operation;
  std::function<intptr_t(int)> call;  // the result as a number (texts: their length)
};

const DeadIdCase deadIdCases[] = {
    {ObjectType::Window, "WindowInnerWidth", [](int id) { return WindowInnerWidth(id); }},
    {ObjectType::Window, "WindowInnerHeight", [](int id) { return WindowInnerHeight(id); }},
    {ObjectType::Window, "WindowHandle",
     [](int id) { return reinterpret_cast<intptr_t>(WindowHandle(id)); }},
    {ObjectType::Window, "WindowSetHidden",
     [](int id) { return WindowSetHidden(id, 0), intptr_t{0}; }},
    {ObjectType::Window, "WindowAddShortcut",
     [](int id) { return WindowAddShortcut(id, VK_ESCAPE, 1000), intptr_t{0}; }},
    {ObjectType::Window, "WindowAddSystemMenuItem",
     [](int id) { return WindowAddSystemMenuItem(id, 0x400, "x"), intptr_t{0}; }},
    {ObjectType::Window, "WindowAddSystemMenuSeparator",
     [](int id) { return WindowAddSystemMenuSeparator(id), intptr_t{0}; }},
    {ObjectType::Window, "WindowClose", [](int id) { return WindowClose(id), intptr_t{0}; }},
    {ObjectType::Control, "ControlSetText",
     [](int id) { return ControlSetText(id, "x"), intptr_t{0}; }},
    {ObjectType::Control, "ControlGetText",
     [](int id) { return static_cast<intptr_t>(ControlGetText(id).size()); }},
    {ObjectType::Control, "ControlSetState",
     [](int id) { return ControlSetState(id, 1), intptr_t{0}; }},
    {ObjectType::Control, "ControlGetState", [](int id) { return ControlGetState(id); }},
    {ObjectType::Control, "ControlAddItem", [](int id) { return ControlAddItem(id, -1, "x"); }},
    {ObjectType::Control, "ControlAddColumn",
     [](int id) { return ControlAddColumn(id, 0, "x", 10); }},
    {ObjectType::Control, "ControlItemText",
     [](int id) { return static_cast<intptr_t>(ControlItemText(id, 0, 0).size()); }},
    {ObjectType::Control, "ControlClearItems",
     [](int id) { return ControlClearItems(id), intptr_t{0}; }},
    {ObjectType::Control, "ControlCountItems", [](int id) { return ControlCountItems(id); }},
    {ObjectType::Control, "ControlSetHidden",
     [](int id) { return ControlSetHidden(id, 1), intptr_t{0}; }},
    {ObjectType::Control, "ControlSetDisabled",
     [](int id) { return ControlSetDisabled(id, 1), intptr_t{0}; }},
    {ObjectType::Control, "ControlSetFont",
     [](int id) { return ControlSetFont(id, DefaultGuiFont), intptr_t{0}; }},
    {ObjectType::Control, "ControlSetColor",
     [](int id) { return ControlSetColor(id, ColorText, 0), intptr_t{0}; }},
    {ObjectType::Control, "ControlGetColor", [](int id) { return ControlGetColor(id, ColorText); }},
    {ObjectType::Control, "ControlX", [](int id) { return ControlX(id); }},
    {ObjectType::Control, "ControlY", [](int id) { return ControlY(id); }},
    {ObjectType::Control, "ControlWidth", [](int id) { return ControlWidth(id); }},
    {ObjectType::Control, "ControlHeight", [](int id) { return ControlHeight(id); }},
    {ObjectType::Control, "ControlSetVirtualRows",
     [](int id) {
       return ControlSetVirtualRows(id, 5, [](int, int) { return "x"; }), intptr_t{0};
     }},
    {ObjectType::Control, "ControlSetRowColours",
     [](int id) { return ControlSetRowColours(id, [](int) { return 0; }), intptr_t{0}; }},
    {ObjectType::Control, "ControlSetColumnWidths",
     [](int id) {
       return ControlSetColumnWidths(id, {10, 20}), intptr_t{0};
     }},
    {ObjectType::Control, "ControlColumnRoom", [](int id) { return ControlColumnRoom(id); }},
    {ObjectType::Control, "ControlHandle",
     [](int id) { return reinterpret_cast<intptr_t>(ControlHandle(id)); }},
    {ObjectType::Font, "NativeFontHandle",
     [](int id) { return reinterpret_cast<intptr_t>(NativeFontHandle(id)); }},
    {ObjectType::Font, "ReleaseFont", [](int id) { return ReleaseFont(id), intptr_t{0}; }},
    {ObjectType::Menu, "ShowPopupAtCursor",
     [](int id) { return ShowPopupAtCursor(id, nullptr), intptr_t{0}; }},
    {ObjectType::Menu, "ReleasePopupMenu",
     [](int id) { return ReleasePopupMenu(id), intptr_t{0}; }},
    {ObjectType::Image, "NativeImageHandle",
     [](int id) { return reinterpret_cast<intptr_t>(NativeImageHandle(id)); }},
    {ObjectType::Image, "ScaleImage",
     [](int id) { return reinterpret_cast<intptr_t>(ScaleImage(id, 10, 10)); }},
    {ObjectType::Image, "ImageFactsOf", [](int id) { return intptr_t{ImageFactsOf(id).width}; }},
    {ObjectType::Image, "ReleaseImage", [](int id) { return ReleaseImage(id), intptr_t{0}; }},
};

// Live objects, one of each type under its own explicit id: each id must
// stay untouched by operations on the other types.
constexpr int LiveWindow = 1, LiveControl = 2, LiveFont = 3, LiveMenu = 4, LiveImage = 6;

// Ids that name no live object of `type`: never used, out of range, closed,
// or live only as an object of another type.
std::vector<int> DeadIdsOf(ObjectType type) {
  std::vector<int> ids = {0, 5, 999, -7, AutoId, MaxExplicitId + 12345};
  switch (type) {
    case ObjectType::Window: {
      int window = static_cast<int>(WindowOpen(AutoId, 0, 0, 200, 100, "", StartHidden, nullptr));
      WindowClose(window);
      ids.insert(ids.end(), {window, LiveControl, LiveFont, LiveMenu, LiveImage});
      break;
    }
    case ObjectType::Control: {
      int window = static_cast<int>(WindowOpen(AutoId, 0, 0, 200, 100, "", StartHidden, nullptr));
      ids.push_back(static_cast<int>(CreateLabel(AutoId, 0, 0, 10, 10, "")));
      WindowClose(window);
      ids.insert(ids.end(), {LiveWindow, LiveFont, LiveMenu, LiveImage});
      break;
    }
    case ObjectType::Font: {
      int font = CreateTextFont(AutoId, "Tahoma", 8, 0);
      ReleaseFont(font);
      ids.insert(ids.end(), {font, LiveWindow, LiveControl, LiveMenu, LiveImage});
      break;
    }
    case ObjectType::Menu: {
      int menu = NewPopupMenu(AutoId);
      ReleasePopupMenu(menu);
      ids.insert(ids.end(), {menu, LiveWindow, LiveControl, LiveFont, LiveImage});
      break;
    }
    case ObjectType::Image: {
      int image = DecodeImage(AutoId, LogoPng, LogoPngLength);
      ReleaseImage(image);
      ids.insert(ids.end(), {image, LiveWindow, LiveControl, LiveFont, LiveMenu});
      break;
    }
  }
  return ids;
}

// A create call that answers with the id cannot be given 0, its failure result.
TEST(DeadIds, IdZeroIsRefusedWhereTheResultIsTheId) {
  const int fonts = LiveFontCount(), images = LiveImageCount();
  EXPECT_EQ(CreateTextFont(0, "Tahoma", 8, 0), 0);
  EXPECT_EQ(DecodeImage(0, LogoPng, LogoPngLength), 0);
  EXPECT_EQ(NewPopupMenu(0), 0);
  EXPECT_EQ(LiveFontCount(), fonts);
  EXPECT_EQ(LiveImageCount(), images);
}

TEST(DeadIds, EveryOperationDoesNothingAndReturnsZero) {
  ASSERT_NE(WindowOpen(LiveWindow, 0, 0, 240, 120, "live", StartHidden | WS_CAPTION, nullptr), 0);
  ASSERT_NE(CreateLabel(LiveControl, 0, 0, 40, 20, "live"), 0);
  ASSERT_EQ(CreateTextFont(LiveFont, "Tahoma", 8, 0), LiveFont);
  ASSERT_EQ(NewPopupMenu(LiveMenu), LiveMenu);
  ASSERT_EQ(DecodeImage(LiveImage, LogoPng, LogoPngLength), LiveImage);
  for (ObjectType type : {ObjectType::Window, ObjectType::Control, ObjectType::Font,
                          ObjectType::Menu, ObjectType::Image}) {
    for (int id : DeadIdsOf(type)) {
      for (const DeadIdCase& test : deadIdCases) {
        if (test.type != type) continue;
        EXPECT_EQ(test.call(id), 0) << test.operation << "(" << id << ")";
      }
    }
  }
  HWND label = static_cast<HWND>(ControlHandle(LiveControl));
  EXPECT_EQ(ControlGetText(LiveControl), "live");
  EXPECT_NE(GetWindowLongPtrA(label, GWL_STYLE) & WS_VISIBLE, 0) << "not hidden";
  EXPECT_TRUE(IsWindowEnabled(label)) << "not disabled";
  EXPECT_EQ(ControlGetColor(LiveControl, ColorText), DefaultColour);
  EXPECT_EQ(WindowInnerWidth(LiveWindow), 240);
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(WindowHandle(LiveWindow)))) << "not shown";
  EXPECT_NE(GetObjectType(NativeFontHandle(LiveFont)), 0u);
  EXPECT_EQ(ImageFactsOf(LiveImage).width, 128) << "not scaled";
  ReleaseFont(LiveFont);
  ReleasePopupMenu(LiveMenu);
  ReleaseImage(LiveImage);
  WindowClose(LiveWindow);
}

// ----- Leaks --------------------------------------------------------------------

// One control of a kind in a new window, with the operations that make it
// hold native objects.
using KindMaker = void (*)();

// The logo, decoded once: the image outlives every view that shows it.
NativeHandle ShownImage() {
  static const int image = DecodeImage(AutoId, LogoPng, LogoPngLength);
  return NativeImageHandle(image);
}

struct KindLeakCase {
  const char* kind;
  KindMaker make;
};

const KindLeakCase kindLeakCases[] = {
    {"FrameBox", [] { CreateFrameBox(AutoId, 5, 5, 100, 60, "Frame"); }},
    {"Label",
     [] {
       int label = static_cast<int>(CreateLabel(AutoId, 5, 70, 100, 20, "Label"));
       ControlSetColor(label, ColorBackground, RGB(10, 20, 30));
     }},
    {"DropDownList",
     [] {
       ControlAddItem(static_cast<int>(CreateDropDownList(AutoId, 5, 95, 100, 22)), -1, "item");
     }},
    {"TextEntry",
     [] {
       int entry = static_cast<int>(CreateTextEntry(AutoId, 5, 120, 100, 22, "entry"));
       ControlSetColor(entry, ColorText, RGB(200, 0, 0));
     }},
    {"AddressEntry",
     [] {
       ControlSetState(static_cast<int>(CreateAddressEntry(AutoId, 5, 145, 150, 22)), 0x0101A8C0);
     }},
    {"PushButton", [] { CreatePushButton(AutoId, 5, 170, 80, 24, "Push"); }},
    {"ProgressBar",
     [] { ControlSetState(static_cast<int>(CreateProgressBar(AutoId, 5, 5, 200, 18)), 300); }},
    {"TextArea",
     [] {
       int area = static_cast<int>(CreateTextArea(AutoId, 5, 200, 200, 80, TextAreaReadOnly));
       ControlAddItem(area, -1, "line");
     }},
    {"ImageView", [] { CreateImageView(AutoId, 5, 5, 10, 10, ShownImage()); }},
    {"LinkLabel",
     [] {
       int link = static_cast<int>(CreateLinkLabel(AutoId, 5, 5, 100, 15, "link", RGB(0, 0, 255)));
       ControlSetColor(link, ColorBackground, RGB(10, 20, 30));
     }},
    {"ReportList",
     [] {
       int list = static_cast<int>(CreateReportList(AutoId, 5, 5, 200, 200, "#", 25, 0));
       ControlAddItem(list, -1, "0\n10.0.0.0");
       ControlSetColor(list, ColorBackground, RGB(10, 20, 30));
     }},
    {"Panel",
     [] {
       int panel = static_cast<int>(CreatePanel(AutoId, 5, 5, 290, 290, PanelClientEdge));
       ControlSetColor(panel, ColorBackground, RGB(40, 50, 60));
       CreateLabel(AutoId, 5, 5, 100, 20, "inside");
       EndContainer();
     }},
};

void OpenAndClose(KindMaker make) {
  int window = static_cast<int>(WindowOpen(AutoId, 0, 0, 300, 300, "Leak", StartHidden, nullptr));
  WindowAddShortcut(window, VK_ESCAPE, 1000);
  make();
  WindowClose(window);
}

TEST(Leaks, TheCountsSeeMenusAndBrushes) {
  GuiCounts before = CurrentGuiCounts();
  int menu = NewPopupMenu(AutoId);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  GuiCounts during = CurrentGuiCounts();
  DeleteObject(brush);
  ReleasePopupMenu(menu);
  GuiCounts after = CurrentGuiCounts();
  EXPECT_EQ(during.gdi, before.gdi + 1);
  EXPECT_EQ(during.user, before.user + 1);
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
}

TEST(Leaks, EachKindLeaksNothing) {
  for (const KindLeakCase& test : kindLeakCases) {
    OpenAndClose(test.make);  // first use loads libraries and caches
    GuiCounts before = CurrentGuiCounts();
    for (int i = 0; i < 50; ++i)
      OpenAndClose(test.make);
    GuiCounts after = CurrentGuiCounts();
    std::printf("%-12s GDI objects %ld -> %ld, USER objects %ld -> %ld\n", test.kind, before.gdi,
                after.gdi, before.user, after.user);
    EXPECT_LE(after.gdi, before.gdi) << test.kind;
    EXPECT_LE(after.user, before.user) << test.kind;
  }
}

void OpenAndCloseAFullWindow() {
  int window = static_cast<int>(WindowOpen(AutoId, 0, 0, 300, 300, "Leak", StartHidden, nullptr));
  WindowAddShortcut(window, VK_ESCAPE, 1000);
  CreateFrameBox(AutoId, 5, 5, 100, 60, "Frame");
  int label = static_cast<int>(CreateLabel(AutoId, 5, 70, 100, 20, "Label"));
  ControlSetColor(label, ColorBackground, RGB(10, 20, 30));
  int list = static_cast<int>(CreateDropDownList(AutoId, 5, 95, 100, 22));
  ControlAddItem(list, -1, "item");
  int entry = static_cast<int>(CreateTextEntry(AutoId, 5, 120, 100, 22, "entry"));
  ControlSetColor(entry, ColorText, RGB(200, 0, 0));
  int address = static_cast<int>(CreateAddressEntry(AutoId, 5, 145, 150, 22));
  ControlSetState(address, 0x0101A8C0);
  CreatePushButton(AutoId, 5, 170, 80, 24, "Push");
  int area = static_cast<int>(CreateTextArea(AutoId, 5, 200, 200, 80, TextAreaReadOnly));
  ControlAddItem(area, -1, "line");
  CreateImageView(AutoId, 210, 5, 10, 10, ShownImage());
  CreateLinkLabel(AutoId, 210, 150, 80, 15, "link", RGB(0, 0, 255));
  int font = CreateTextFont(AutoId, "Courier New", 8, 0);
  ControlSetFont(area, NativeFontHandle(font));
  int menu = NewPopupMenu(AutoId);
  AddPopupItem(101, "Copy");
  EventPost(ControlEvent, list, window, DetailChange);
  WindowClose(window);
  ReleaseFont(font);
  ReleasePopupMenu(menu);
}

TEST(Leaks, OpeningAndClosingWindowsWithEveryKindLeaksNothing) {
  OpenAndCloseAFullWindow();  // first use loads libraries and caches
  PumpEvents(50);
  int controls = LiveControlCount();
  GuiCounts before = CurrentGuiCounts();
  for (int i = 0; i < 500; ++i)
    OpenAndCloseAFullWindow();
  PumpEvents(50);
  GuiCounts after = CurrentGuiCounts();
  std::printf("GDI objects %ld -> %ld, USER objects %ld -> %ld%s\n", before.gdi, after.gdi,
              before.user, after.user, RunningOnWine() ? " (Wine: probed handle tables)" : "");
  EXPECT_GT(before.gdi, 0) << "the count must see something";
  EXPECT_LE(after.gdi, before.gdi);
  EXPECT_LE(after.user, before.user);
  EXPECT_EQ(LiveControlCount(), controls);
  EXPECT_EQ(LiveFontCount(), 0);
  EXPECT_EQ(SharedBrushCount(), 0);
  EXPECT_EQ(EventQueueLength(), 0);
}

}  // namespace
