// The Sub-networks window's list and page label, found from another thread
// of the process that shows it (the in-process test and the benchmark).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/window_ids.hpp"

struct SubnetsWindowParts {
  HWND window = nullptr;
  HWND list = nullptr;
  HWND label = nullptr;
};

// The open Sub-networks window and its parts; null members while it is not open.
inline SubnetsWindowParts FindSubnetsWindowParts() {
  SubnetsWindowParts parts;
  parts.window = FindWindowA(nullptr, SubnetsTitle);
  if (parts.window == nullptr) return parts;
  // The list sits in the window's panel, the page label on the window itself.
  HWND panel = FindWindowExA(parts.window, nullptr, "VelkorPanel", nullptr);
  parts.list = panel != nullptr ? FindWindowExA(panel, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
  parts.label = FindWindowExA(parts.window, nullptr, "Static", nullptr);
  return parts;
}
