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
  EnumChildWindows(
      parts.window,
      [](HWND child, LPARAM found) CALLBACK -> BOOL {  // MinGW: stdcall for i686
        auto* into = reinterpret_cast<SubnetsWindowParts*>(found);
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, WC_LISTVIEWA) == 0) into->list = child;
        if (lstrcmpiA(name, "Static") == 0) into->label = child;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&parts));
  return parts;
}
