// What tests wait for before they act or read, so that they neither act too
// early nor get in the way of the program they watch. A popup menu window
// exists, and is even shown, a little before its thread enters the menu loop.
// A test that polls the clipboard by opening it keeps the program from taking
// it to copy, and the copy is then lost; the clipboard's sequence number tells
// of a change without opening it.
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

// Waits until the clipboard's content has changed since `sequence` (the
// GetClipboardSequenceNumber() of before the copy), without opening it.
inline bool ClipboardChangedSince(DWORD sequence, DWORD milliseconds = 5000) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (GetClipboardSequenceNumber() == sequence) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
  return true;
}
