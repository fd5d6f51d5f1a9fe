// The records of open windows, the shared window procedure and the per-thread
// container that new controls go into.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "base/ids.hpp"
#include "base/scaling.hpp"
#include "toolkit/win32_holders.hpp"

struct ShortcutEntry {
  BYTE fVirt;
  WORD key;
  WORD command;
};

struct WindowRecord {
  HWND handle = nullptr;  // null once destroyed other than by WindowClose
  std::string className;
  std::vector<ShortcutEntry> shortcuts;
  AcceleratorHolder accelerators;
  HWND focus = nullptr;  // focused control when the window was last deactivated
  int dpi = DesignDpi;   // the DPI its layout and fonts are made for
  IconHolder smallIcon;  // the program's icon in the sizes of that DPI
  IconHolder bigIcon;
  std::vector<std::string> dropped;  // the paths of the files dropped last
};

constexpr WORD FocusForwardCommand = 64001;
constexpr WORD FocusBackwardCommand = 64002;
// The system's own WM_SYSCOMMAND codes (SC_SIZE and up); items a program adds
// to a system menu have ids below.
constexpr WPARAM FirstSystemCommand = 0xF000;

// What the toolkit keeps for its windows: their records and what every
// window class uses. Closing the service closes every window still open.
struct WindowService {
  WindowService();
  WindowService(const WindowService&) = delete;
  WindowService& operator=(const WindowService&) = delete;
  ~WindowService();
  HICON programIcon = nullptr;  // null in programs without icon resource 1
  HCURSOR arrowCursor = nullptr;
  IdTable<WindowRecord> table;
};

// The control container stack of one thread: the current one, and the ones
// around it while a panel is current.
struct ContainerStack {
  HWND current = nullptr;
  std::vector<HWND> enclosing;
};

IdTable<WindowRecord>& WindowTable();
// The id of the toolkit window `window` itself (its property), or -1.
int OwnWindowId(HWND window);
// The id of the toolkit window that `handle` or one of its parents is, or -1.
int ContainingWindowId(HWND handle);
HINSTANCE ProgramInstance();
LRESULT CALLBACK SharedWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
// WM_DROPFILES: keeps the paths of `drop` for the window's FileDropEvent,
// which it raises, and lets the drop go.
void KeepDroppedFiles(HWND window, int windowId, HDROP drop);
// Moves the focus among the tab stops of `window`, wrapping around.
void MoveFocus(HWND window, bool forward);
// Moves and sizes the controls of `window` (and gives them their fonts) for
// `toDpi`, their layout having been made for `fromDpi`.
void RescaleControls(HWND window, int fromDpi, int toDpi);

// The per-thread current container for new controls (a window or a panel).
HWND CurrentContainer();
// A newly opened window becomes the current container; enclosing ones are forgotten.
void SetCurrentContainer(HWND container);
// A panel becomes current; PopContainer returns to the enclosing container.
void PushContainer(HWND panel);
void PopContainer();
// Called when a window closes so that no control is placed in a dead window.
void ForgetContainer(HWND window);
