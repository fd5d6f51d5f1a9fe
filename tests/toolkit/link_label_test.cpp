// LinkLabel in a real window: the colours a person sees at rest, under the
// pointer, with colours set and when disabled; the hand cursor and the click.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/toolkit/toolkit_test_support.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/views.hpp"

namespace {

constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Green = RGB(0, 128, 0);
constexpr COLORREF Yellow = RGB(255, 255, 0);

class LinkLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ =
        static_cast<int>(WindowOpen(AutoId, 0, 0, 300, 100, "Links", CentreOnScreen, nullptr));
    font_ = CreateTextFont(AutoId, "Tahoma", 8, FontUnderline);  // an underline in full colour
    link_ = static_cast<int>(
        CreateLinkLabel(AutoId, 20, 30, 250, 15, "- https://www.orvantis.example/", Blue));
    ControlSetFont(link_, NativeFontHandle(font_));
    ASSERT_TRUE(MakeForeground(Window()));
  }
  void TearDown() override {
    WindowClose(window_);
    ReleaseFont(font_);
  }
  HWND Window() { return static_cast<HWND>(WindowHandle(window_)); }
  HWND Link() { return static_cast<HWND>(ControlHandle(link_)); }
  // A point on the caption's first characters, or far off the label.
  void PointAt(bool overLink) {
    RECT label;
    GetWindowRect(Link(), &label);
    MovePointerTo(overLink ? POINT{label.left + 8, label.top + 7}
                           : POINT{label.left, label.top - 40});
    PumpEvents(150);
  }

  int window_ = 0, font_ = 0, link_ = 0;
};

struct LookCase {
  const char* name;
  void (*setup)(int link);
  bool pointerOver;
  COLORREF shown;
  COLORREF absent;
};

TEST_F(LinkLabelTest, ShowsTheColourOfItsState) {
  const LookCase cases[] = {
      {"at rest", nullptr, false, Black, Blue},
      {"under the pointer", nullptr, true, Blue, Black},
      {"text colour set", [](int link) { ControlSetColor(link, ColorText, Green); }, false, Green,
       Black},
      {"background set", [](int link) { ControlSetColor(link, ColorBackground, Yellow); }, false,
       Yellow, GetSysColor(COLOR_BTNFACE)},
      {"disabled, pointer over", [](int link) { ControlSetDisabled(link, 1); }, true,
       GetSysColor(COLOR_3DSHADOW), Blue},
  };
  for (const LookCase& test : cases) {
    SCOPED_TRACE(test.name);
    if (test.setup != nullptr) test.setup(link_);
    PointAt(test.pointerOver);
    EXPECT_EQ(GetCapture() == Link(), test.pointerOver && test.setup == nullptr);
    std::vector<COLORREF> seen = ClientPixels(Link());
    EXPECT_NE(std::count(seen.begin(), seen.end(), test.shown), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), test.absent), 0);
    TearDown();
    SetUp();
  }
}

TEST_F(LinkLabelTest, AButtonReleaseOverItIsAClickUnderTheHandCursor) {
  PointAt(true);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
  ClickAt(CentreOf(Link()));
  ASSERT_TRUE(WaitForEvent(ControlEvent));
  EXPECT_EQ(EventSourceControl(), link_);
  EXPECT_EQ(EventSourceWindow(), window_);
  EXPECT_EQ(EventDetail(), DetailClick);
  EXPECT_EQ(CountEvents(ControlEvent, link_, 200), 0) << "one click, one event";
}

}  // namespace
