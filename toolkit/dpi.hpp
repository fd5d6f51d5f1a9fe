// The DPI of the toolkit's windows, inside the toolkit. Windows 10 gives each
// window the DPI of its monitor; the functions for that are looked up at run
// time, and where they are missing (Windows 7 and 8) every window has the
// system DPI. Designed positions and sizes (96 DPI) become pixels here.
#pragma once

#include <windows.h>

#include "toolkit/late_library.hpp"

// The per-monitor functions of user32, null where the system lacks them, and
// shcore, which Windows 8.1 asks for a monitor's DPI.
struct DpiFunctions {
  DpiFunctions();
  UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
  UINT(WINAPI* dpiForSystem)() = nullptr;
  BOOL(WINAPI* adjustWindowRectForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  int(WINAPI* systemMetricForDpi)(int, UINT) = nullptr;
  BOOL(WINAPI* enableNonClientScaling)(HWND) = nullptr;
  LateLibrary shcore{"shcore.dll"};
};

int SystemDpi();
// The DPI of the monitor a native window is on, as the system sees it now.
int NativeDpiOf(HWND window);
// Called for a top-level window being created: Windows 10 before version 1703
// runs the program per-monitor (v1), where frames follow the DPI only when asked.
void ScaleFrameWithDpi(HWND window);
// The DPI that the layout of the toolkit window holding `handle` (a window,
// panel or control) is made for; the system DPI when there is none.
int LayoutDpi(HWND handle);
// A system metric (SM_*) at `dpi`.
int SystemMetricAt(int index, int dpi);
// The outer size of a window whose client area is width x height at `dpi`.
SIZE OuterSizeAt(int width, int height, DWORD style, DWORD exStyle, int dpi);

// The pixel edges of a designed rectangle at `dpi`, and the designed
// rectangle of pixel edges (its exact inverse from 96 DPI up).
RECT ScaledRect(int x, int y, int width, int height, int dpi);
RECT DesignedRect(const RECT& pixels, int dpi);
