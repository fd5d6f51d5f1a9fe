// Input sent to a window the moment it appears can arrive before the window's
// thread reads it the way the test means: a popup menu window exists, and is
// even shown, a little before its thread enters the menu loop. Tests wait for
// these conditions, not merely for the window, before they press keys or click.
#pragma once

#include <windows.h>

// A popup menu window (class "#32768") that takes keys and clicks: shown (it
// is sized to its items before that) while its thread tracks a menu. Works
// across processes.
inline bool MenuReadyForInput(HWND menuWindow) {
  if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) return false;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  return GetGUIThreadInfo(GetWindowThreadProcessId(menuWindow, nullptr), &thread) &&
         (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0 &&
         thread.hwndMenuOwner != nullptr;
}
