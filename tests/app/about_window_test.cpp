// The About window in this process: opening and closing it again and again
// leaks no GDI or USER object and leaves no control, image or font behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/secondary_windows.hpp"
#include "app/window_ids.hpp"
#include "tests/toolkit/toolkit_test_support.hpp"
#include "toolkit/controls.hpp"
#include "toolkit/images.hpp"
#include "toolkit/menus.hpp"
#include "toolkit/test_access.hpp"

namespace {

// Asks the About window to close once it waits for input (its close request).
void CALLBACK CloseAbout(HWND, UINT, UINT_PTR, DWORD) {
  HWND about = FindWindowA(nullptr, AboutTitle);
  if (about != nullptr) PostMessageA(about, WM_CLOSE, 0, 0);
}

void OpenAndCloseAbout(NativeHandle owner) {
  UINT_PTR timer = SetTimer(nullptr, 0, 1, CloseAbout);
  ShowAboutWindow(owner, 350, 370);
  KillTimer(nullptr, timer);
}

TEST(AboutWindow, OpeningAndClosingIt200TimesLeaksNothing) {
  int owner = static_cast<int>(
      WindowOpen(AutoId, 0, 0, 450, 432, "Owner", CentreOnScreen | WS_CAPTION, nullptr));
  OpenAndCloseAbout(WindowHandle(owner));  // first use loads libraries and caches
  PumpEvents(50);
  GuiCounts before = CurrentGuiCounts();
  int controls = LiveControlCount(), images = LiveImageCount(), fonts = LiveFontCount();
  for (int i = 0; i < 200; ++i)
    OpenAndCloseAbout(WindowHandle(owner));
  PumpEvents(50);
  GuiCounts after = CurrentGuiCounts();
  std::printf(
      "About window opened and closed 200 times: GDI objects %ld -> %ld, "
      "USER objects %ld -> %ld%s\n",
      before.gdi, after.gdi, before.user, after.user,
      RunningOnWine() ? " (Wine: probed handle tables)" : "");
  EXPECT_GT(before.gdi, 0) << "the count must see something";
  EXPECT_LE(after.gdi, before.gdi);
  EXPECT_LE(after.user, before.user);
  EXPECT_EQ(LiveControlCount(), controls);
  EXPECT_EQ(LiveImageCount(), images);
  EXPECT_EQ(LiveFontCount(), fonts);
  EXPECT_TRUE(IsWindowEnabled(static_cast<HWND>(WindowHandle(owner))));
  WindowClose(owner);
}

}  // namespace
