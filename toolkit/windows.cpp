// Top-level windows: opening and closing, the flag word, shortcuts, focus
// navigation, the container stack and the shared window procedure.
#include <cstdio>
#include <utility>

#include "toolkit/control_framework.hpp"
#include "toolkit/dpi.hpp"
#include "toolkit/events.hpp"
#include "toolkit/job_records.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

constexpr uint32_t ToolkitFlagBits = CentreOnScreen | CentreOnOwner | ToolWindow;

ContainerStack& Containers() {
  return ThisThread().containers;
}

// ----- Opening -------------------------------------------------------------

bool RegisterWindowClass(const std::string& name) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = SharedWindowProcedure;
  windowClass.hInstance = ProgramInstance();
  windowClass.hIcon = Toolkit().windows.programIcon;
  windowClass.hCursor = Toolkit().windows.arrowCursor;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = name.c_str();
  return RegisterClassExA(&windowClass) != 0;
}

struct Placement {
  int x, y, width, height;
};

Placement PlaceWindow(int x, int y, SIZE outer, uint32_t flags, HWND owner) {
  Placement place{x, y, static_cast<int>(outer.cx), static_cast<int>(outer.cy)};
  if ((flags & CentreOnScreen) != 0) {
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (place.width > screenWidth) place.width = screenWidth;
    if (place.height > screenHeight) place.height = screenHeight;
    place.x = (screenWidth - place.width) / 2;
    place.y = (screenHeight - place.height) / 2;
    return place;
  }
  if ((flags & CentreOnOwner) == 0) return place;
  HWND reference = owner != nullptr ? owner : GetActiveWindow();
  RECT area;
  if (reference == nullptr || !GetWindowRect(reference, &area)) return place;
  place.x = area.left + ((area.right - area.left) - place.width) / 2;
  place.y = area.top + ((area.bottom - area.top) - place.height) / 2;
  if (place.x < 0) place.x = 0;
  if (place.y < 0) place.y = 0;
  return place;
}

// What WindowOpen makes of its flag word.
struct WindowShape {
  DWORD style;
  DWORD exStyle;
  uint32_t placement;  // the centring bits
  bool hidden;
  bool asContainer;
};

WindowShape ShapeOf(uint32_t flags) {
  WindowShape shape{};
  shape.asContainer = (flags & NoControlContainer) == 0;
  flags &= ~NoControlContainer;
  if ((flags & ~(CentreOnScreen | CentreOnOwner | StartHidden)) == 0) flags |= WS_CAPTION;
  shape.hidden = (flags & StartHidden) != 0;
  flags &= ~StartHidden;
  if ((flags & ToolWindow) != 0) {
    flags &= ~(WS_MINIMIZE | WS_MAXIMIZE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    flags |= WS_CAPTION;
    shape.exStyle = WS_EX_TOOLWINDOW;
  }
  shape.style = flags & ~ToolkitFlagBits;
  shape.placement = flags & (CentreOnScreen | CentreOnOwner);
  return shape;
}

// The program's icon in the sizes that the window's DPI asks for; none in
// programs without icon resource 1. The new icons are in place before the
// old ones go.
void LoadWindowIcons(WindowRecord& record) {
  if (Toolkit().windows.programIcon == nullptr) return;
  auto load = [&record](int metric) {
    const int side = SystemMetricAt(metric, record.dpi);
    return IconHolder(static_cast<HICON>(LoadImageA(ProgramInstance(), MAKEINTRESOURCEA(1),
                                                    IMAGE_ICON, side, side, LR_DEFAULTCOLOR)));
  };
  IconHolder small = load(SM_CXSMICON);
  IconHolder big = load(SM_CXICON);
  SendMessageA(record.handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
  SendMessageA(record.handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
  record.smallIcon = std::move(small);
  record.bigIcon = std::move(big);
}

void RebuildAccelerators(WindowRecord& record) {
  std::vector<ACCEL> entries;
  for (const ShortcutEntry& shortcut : record.shortcuts) {
    entries.push_back(ACCEL{shortcut.fVirt, shortcut.key, shortcut.command});
  }
  record.accelerators.Reset(nullptr);
  record.accelerators.Reset(
      CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size())));
}

void AddShortcutEntry(WindowRecord& record, BYTE fVirt, WORD key, WORD command) {
  for (ShortcutEntry& entry : record.shortcuts) {
    if (entry.key == key && entry.fVirt == fVirt) {
      entry.command = command;
      return;
    }
  }
  record.shortcuts.push_back(ShortcutEntry{fVirt, key, command});
}

void ShowAsStyled(HWND window, DWORD style) {
  if ((style & WS_MAXIMIZE) != 0) {
    ShowWindow(window, SW_SHOWMAXIMIZED);
  } else if ((style & WS_MINIMIZE) != 0) {
    ShowWindow(window, SW_SHOWMINIMIZED);
  } else {
    ShowWindow(window, SW_SHOWNORMAL);
  }
}

// ----- Focus navigation ----------------------------------------------------

struct TabStops {
  std::vector<HWND> windows;
};

bool IsInside(HWND window, HWND ancestor) {
  return window == ancestor || IsChild(ancestor, window);
}

BOOL CALLBACK CollectTabStop(HWND window, LPARAM lParam) noexcept {
  auto* stops = reinterpret_cast<TabStops*>(lParam);
  bool tabStop = (GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP) != 0;
  if (!tabStop || !IsWindowEnabled(window) || !IsWindowVisible(window)) return TRUE;
  // The inner fields of an address entry (or any compound control) count as
  // the control itself.
  for (HWND stop : stops->windows) {
    if (IsChild(stop, window)) return TRUE;
  }
  stops->windows.push_back(window);
  return TRUE;
}

// ----- Window procedure cases ----------------------------------------------

LRESULT OnCommand(HWND window, int windowId, WPARAM wParam, LPARAM lParam) {
  HWND sender = reinterpret_cast<HWND>(lParam);
  if (sender != nullptr) {
    ControlRecord* control = ControlOfHandle(sender);
    LRESULT result = 0;
    if (CallKind(control, &KindOperations::notification, WM_COMMAND, wParam, lParam, &result)) {
      return result;
    }
    // The full id from the record: a notification's LOWORD cannot hold an
    // allocated id.
    int source = control != nullptr ? control->id : GetDlgCtrlID(sender);
    RecordDirectEvent(ControlEvent, source, windowId, HIWORD(wParam));
    return 0;
  }
  WORD command = LOWORD(wParam);
  if (HIWORD(wParam) == 1 && (command == FocusForwardCommand || command == FocusBackwardCommand)) {
    MoveFocus(window, command == FocusForwardCommand);
    return 0;
  }
  RecordDirectEvent(MenuEvent, command, windowId, -1);
  return 0;
}

bool RouteToKind(HWND sender, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return CallKind(ControlOfHandle(sender), &KindOperations::notification, message, wParam, lParam,
                  result);
}

// A toolkit window destroyed other than by WindowClose (with its owner, or by
// DestroyWindow): its id stops naming an open window at once, and WindowClose
// later frees the class and the id.
void ForgetDestroyedWindow(HWND window, int windowId) {
  ForgetContainer(window);
  DropWindowEvents(windowId);
  WindowRecord* record = WindowTable().Find(windowId);
  if (record != nullptr && record->handle == window) record->handle = nullptr;
}

LRESULT OnActivate(HWND window, int windowId, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = WindowTable().Find(windowId);
  if (record == nullptr || record->handle != window) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus)) record->focus = focus;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  EventPost(ActivateEvent, windowId, windowId, LOWORD(wParam));
  if (record->focus != nullptr && IsWindow(record->focus) && IsChild(window, record->focus)) {
    SetFocus(record->focus);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The window moved to a monitor of another DPI, or the scaling changed: it
// takes the rectangle the system suggests and lays out its controls and fonts
// again. The controls stay, and with them their texts and selections.
LRESULT OnDpiChanged(HWND window, int windowId, int dpi, const RECT& suggested) {
  WindowRecord* record = WindowTable().Find(windowId);
  if (record == nullptr || record->handle != window || dpi <= 0) return 0;
  const int previous = std::exchange(record->dpi, dpi);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RescaleControls(window, previous, dpi);
  LoadWindowIcons(*record);
  RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  return 0;
}

}  // namespace

// ----- Shared state --------------------------------------------------------

IdTable<WindowRecord>& WindowTable() {
  return Toolkit().windows.table;
}

HINSTANCE ProgramInstance() {
  return GetModuleHandleA(nullptr);
}

int OwnWindowId(HWND window) {
  if (window == nullptr) return -1;
  // A toolkit window holds its id + 1 in its user data, read without a request
  // to the window server (a property costs one per message under Wine). Other
  // windows may hold anything there: the id counts only when its record names
  // this window.
  const int id = static_cast<int>(GetWindowLongPtrA(window, GWLP_USERDATA)) - 1;
  const WindowRecord* record = WindowTable().Find(id);
  return record != nullptr && record->handle == window ? id : -1;
}

int LayoutDpi(HWND handle) {
  const WindowRecord* record = WindowTable().Find(ContainingWindowId(handle));
  return record != nullptr && record->handle != nullptr ? record->dpi : SystemDpi();
}

int ContainingWindowId(HWND handle) {
  for (HWND window = handle; window != nullptr; window = GetParent(window)) {
    int id = OwnWindowId(window);
    if (id >= 0) return id;
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return -1;
}

// Test programs carry no icon resource: their windows simply have none.
WindowService::WindowService()
    : programIcon(LoadIconA(ProgramInstance(), MAKEINTRESOURCEA(1))),
      arrowCursor(LoadCursorA(nullptr, IDC_ARROW)) {}

WindowService::~WindowService() {
  for (int id : table.Ids())
    WindowClose(id);
}

HWND CurrentContainer() {
  return Containers().current;
}

void SetCurrentContainer(HWND container) {
  Containers().current = container;
  Containers().enclosing.clear();
}

void PushContainer(HWND panel) {
  Containers().enclosing.push_back(Containers().current);
  Containers().current = panel;
}

void PopContainer() {
  ContainerStack& stack = Containers();
  if (stack.enclosing.empty()) return;
  stack.current = stack.enclosing.back();
  stack.enclosing.pop_back();
}

void ForgetContainer(HWND window) {
  ContainerStack& stack = Containers();
  if (stack.current != nullptr && IsInside(stack.current, window)) SetCurrentContainer(nullptr);
}

// ----- Window operations ---------------------------------------------------

intptr_t WindowOpen(int id, int x, int y, int innerWidth, int innerHeight, const char* title,
                    uint32_t flags, NativeHandle owner) {
  int windowId = WindowTable().Add(id, WindowRecord{});
  if (windowId == IdTable<WindowRecord>::NoId) return 0;
  WindowRecord& record = *WindowTable().Find(windowId);
  char className[32];
  std::snprintf(className, sizeof className, "WindowClass_%d", windowId);
  record.className = className;
  if (!RegisterWindowClass(record.className)) {
    WindowTable().Remove(windowId);
    return 0;
  }

  const WindowShape shape = ShapeOf(flags);
  HWND ownerWindow = static_cast<HWND>(owner);
  auto placeAt = [&](int dpi) {
    SIZE outer = OuterSizeAt(ScaleToDpi(innerWidth, dpi), ScaleToDpi(innerHeight, dpi), shape.style,
                             shape.exStyle, dpi);
    return PlaceWindow(x, y, outer, shape.placement, ownerWindow);
  };
  // It opens at the DPI of its owner's monitor, or of the primary one.
  const int expectedDpi = ownerWindow != nullptr ? NativeDpiOf(ownerWindow) : SystemDpi();
  Placement place = placeAt(expectedDpi);
  HWND window = CreateWindowExA(shape.exStyle, className, title != nullptr ? title : "",
                                shape.style, place.x, place.y, place.width, place.height,
                                ownerWindow, nullptr, ProgramInstance(), nullptr);
  if (window == nullptr) {
    UnregisterClassA(className, ProgramInstance());
    WindowTable().Remove(windowId);
    return 0;
  }
  record.handle = window;
  record.dpi = NativeDpiOf(window);
  if (record.dpi != expectedDpi) {  // it landed on a monitor of another DPI
    place = placeAt(record.dpi);
    SetWindowPos(window, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(windowId) + 1);
  // The class's icon is made for the system DPI, and the small one is picked
  // from the same resource: icons of their own only for a window at another DPI.
  if (record.dpi != SystemDpi()) LoadWindowIcons(record);
  if (!shape.hidden) ShowAsStyled(window, shape.style);

  record.shortcuts = {ShortcutEntry{FVIRTKEY | FNOINVERT, VK_TAB, FocusForwardCommand},
                      ShortcutEntry{FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, FocusBackwardCommand}};
  RebuildAccelerators(record);
  if (shape.asContainer) SetCurrentContainer(window);
  return id == AutoId ? windowId : reinterpret_cast<intptr_t>(window);
}

void WindowClose(int window) {
  WindowRecord* record = WindowTable().Find(window);
  if (record == nullptr) return;
  HWND handle = record->handle;
  // Copied first: destroying the window runs window procedures, so the record
  // is not touched across it.
  std::string className = record->className;
  if (handle != nullptr) {
    HWND owner = GetWindow(handle, GW_OWNER);
    if (owner != nullptr) SetActiveWindow(owner);
    record->handle = nullptr;  // no longer a toolkit window while it is destroyed
    ForgetContainer(handle);
    DestroyWindow(handle);
  }
  WindowTable().Remove(window);  // frees the shortcuts and the accelerator table
  UnregisterClassA(className.c_str(), ProgramInstance());
  DropWindowEvents(window);
}

void WindowSetHidden(int window, int hide) {
  WindowRecord* record = WindowTable().Find(window);
  if (record == nullptr || record->handle == nullptr) return;
  HWND handle = record->handle;
  if (hide != 0) {
    HWND owner = GetWindow(handle, GW_OWNER);
    if (owner != nullptr) SetActiveWindow(owner);
    ShowWindow(handle, SW_HIDE);
    return;
  }
  if (IsZoomed(handle)) {
    ShowWindow(handle, SW_SHOWMAXIMIZED);
  } else if (IsIconic(handle)) {
    ShowWindow(handle, SW_SHOWMINIMIZED);
  } else {
    ShowWindow(handle, SW_SHOWNORMAL);
  }
}

int WindowInnerWidth(int window) {
  WindowRecord* record = WindowTable().Find(window);
  RECT client;
  if (record == nullptr || record->handle == nullptr || !GetClientRect(record->handle, &client)) {
    return 0;
  }
  return UnscaleFromDpi(client.right - client.left, record->dpi);
}

int WindowInnerHeight(int window) {
  WindowRecord* record = WindowTable().Find(window);
  RECT client;
  if (record == nullptr || record->handle == nullptr || !GetClientRect(record->handle, &client)) {
    return 0;
  }
  int height = client.bottom - client.top;
  if (GetMenu(record->handle) != nullptr) height += SystemMetricAt(SM_CYMENU, record->dpi);
  return UnscaleFromDpi(height, record->dpi);
}

NativeHandle WindowHandle(int window) {
  WindowRecord* record = WindowTable().Find(window);
  return record != nullptr ? record->handle : nullptr;
}

int WindowIdOf(NativeHandle handle) {
  return ContainingWindowId(static_cast<HWND>(handle));
}

void WindowSetTitle(int window, const char* title) {
  WindowRecord* record = WindowTable().Find(window);
  if (record != nullptr && record->handle != nullptr) {
    SetWindowTextA(record->handle, title != nullptr ? title : "");
  }
}

void WindowAddShortcut(int window, int key, int commandId) {
  WindowRecord* record = WindowTable().Find(window);
  if (record == nullptr || record->handle == nullptr) return;
  BYTE fVirt = FVIRTKEY | FNOINVERT;
  if ((key & ShortcutShift) != 0) fVirt |= FSHIFT;
  if ((key & ShortcutCtrl) != 0) fVirt |= FCONTROL;
  if ((key & ShortcutAlt) != 0) fVirt |= FALT;
  AddShortcutEntry(*record, fVirt, static_cast<WORD>(key & 0xFFFF), static_cast<WORD>(commandId));
  RebuildAccelerators(*record);
}

void ShowWaitCursor(int wait) {
  SetCursor(LoadCursorA(nullptr, wait != 0 ? IDC_WAIT : IDC_ARROW));
}

void MoveFocus(HWND window, bool forward) {
  TabStops stops;
  EnumChildWindows(window, CollectTabStop, reinterpret_cast<LPARAM>(&stops));
  if (stops.windows.empty()) return;
  int count = static_cast<int>(stops.windows.size());
  HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < count && focus != nullptr; ++i) {
    if (IsInside(focus, stops.windows[i])) current = i;
  }
  int next;
  if (current < 0) {
    next = forward ? 0 : count - 1;
  } else {
    next = (current + (forward ? 1 : count - 1)) % count;
  }
  SetFocus(stops.windows[next]);
}

LRESULT CALLBACK SharedWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
  int windowId = ContainingWindowId(window);
  RecordMessageWindow(windowId);
  LRESULT result = 0;
  switch (message) {
    case WM_CLOSE:
      if (OwnWindowId(window) < 0) break;
      EventPost(CloseRequest, windowId, windowId, 0);
      return 0;
    case WM_COMMAND:
      return OnCommand(window, windowId, wParam, lParam);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header != nullptr && RouteToKind(header->hwndFrom, message, wParam, lParam, &result)) {
        return result;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (RouteToKind(reinterpret_cast<HWND>(lParam), message, wParam, lParam, &result)) {
        return result;
      }
      break;
    case WM_TIMER:
    case JobEndedMessage:
      if (RecordJobEvent(window, windowId, message, wParam)) return 0;
      break;
    case WM_ACTIVATE:
      return OnActivate(window, windowId, message, wParam, lParam);
    case WM_NCCREATE:
      if ((reinterpret_cast<const CREATESTRUCTA*>(lParam)->style & WS_CHILD) == 0) {
        ScaleFrameWithDpi(window);
      }
      break;
    case WM_DPICHANGED:
      if (OwnWindowId(window) < 0) break;
      return OnDpiChanged(window, windowId, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_DROPFILES:
      if (OwnWindowId(window) < 0) break;
      KeepDroppedFiles(window, windowId, reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_SYSCOMMAND:
      // An item the program added to the system menu (WindowAddSystemMenuItem).
      if (wParam >= FirstSystemCommand) break;
      RecordDirectEvent(MenuEvent, static_cast<int>(wParam), windowId, -1);
      return 0;
    case WM_NCDESTROY:
      if (OwnWindowId(window) >= 0) ForgetDestroyedWindow(window, OwnWindowId(window));
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
