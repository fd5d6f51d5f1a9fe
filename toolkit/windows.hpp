// Top-level windows: opening and closing, shortcuts and the wait cursor.
// Their input arrives as events (toolkit/events.hpp). Sizes are designed in
// pixels at 96 DPI; each window is made, and laid out again when its DPI
// changes, for the DPI of its monitor.
#pragma once

#include <cstdint>

#include "base/ids.hpp"

// A native handle (HWND, HFONT, HBITMAP ...) passed through without <windows.h>.
using NativeHandle = void*;

// WindowOpen flag bits owned by the toolkit; every other bit is a Win32 style.
constexpr uint32_t CentreOnScreen = 0x1;
constexpr uint32_t CentreOnOwner = 0x2;
constexpr uint32_t ToolWindow = 0x4;
constexpr uint32_t NoControlContainer = 0x8;
constexpr uint32_t StartHidden = 0x10000000;
constexpr uint32_t StartMaximized = 0x01000000;  // WS_MAXIMIZE
constexpr uint32_t StartMinimized = 0x20000000;  // WS_MINIMIZE

// Modifier bits of WindowAddShortcut's key.
constexpr int ShortcutShift = 0x10000;
constexpr int ShortcutCtrl = 0x20000;
constexpr int ShortcutAlt = 0x40000;

// Opens a top-level window with a client area of innerWidth x innerHeight
// (designed); x, y, used when no centring flag is given, are screen pixels.
// Returns the new id for AutoId, the native handle (as an integer) for an
// explicit id, 0 on failure. `owner` may be null; a null title means "".
intptr_t WindowOpen(int id, int x, int y, int innerWidth, int innerHeight, const char* title,
                    uint32_t flags, NativeHandle owner);
// Closes the window, its controls and its undelivered events.
void WindowClose(int window);
// hide != 0 hides the window, 0 shows it.
void WindowSetHidden(int window, int hide);
int WindowInnerWidth(int window);       // designed; 0 for a dead id
int WindowInnerHeight(int window);      // designed; 0 for a dead id
NativeHandle WindowHandle(int window);  // null for a dead id
// Sets the text of the window's title bar; null is "".
void WindowSetTitle(int window, const char* title);
// Binds key (virtual-key code | Shortcut* bits) to a MenuEvent with
// commandId while the window is active. Rebinding a key replaces its command.
void WindowAddShortcut(int window, int key, int commandId);
// The id of the toolkit window that `handle` (a window or any control in it)
// belongs to, or -1.
int WindowIdOf(NativeHandle handle);

// Shows the wait cursor (wait != 0) during a long piece of work, or the
// normal cursor again.
void ShowWaitCursor(int wait);
