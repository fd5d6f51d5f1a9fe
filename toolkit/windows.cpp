// Top-level windows: opening and closing, the flag word, shortcuts, focus
// navigation, the container stack and the shared window procedure.
#include <cstdio>

#include "toolkit/control_framework.hpp"
#include "toolkit/events.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

// Holds the window id + 1, so that 0 (no property) means "not a toolkit window".
constexpr char WindowIdProperty[] = "VelkorWindowId";

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
  RemovePropA(window, WindowIdProperty);
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
  return static_cast<int>(reinterpret_cast<intptr_t>(GetPropA(window, WindowIdProperty))) - 1;
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

  bool asContainer = (flags & NoControlContainer) == 0;
  flags &= ~NoControlContainer;
  if ((flags & ~(CentreOnScreen | CentreOnOwner | StartHidden)) == 0) flags |= WS_CAPTION;
  bool hidden = (flags & StartHidden) != 0;
  flags &= ~StartHidden;
  DWORD exStyle = 0;
  if ((flags & ToolWindow) != 0) {
    flags &= ~(WS_MINIMIZE | WS_MAXIMIZE | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    flags |= WS_CAPTION;
    exStyle = WS_EX_TOOLWINDOW;
  }
  DWORD style = flags & ~ToolkitFlagBits;
  RECT outer{0, 0, innerWidth, innerHeight};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  HWND ownerWindow = static_cast<HWND>(owner);
  Placement place = PlaceWindow(x, y, SIZE{outer.right - outer.left, outer.bottom - outer.top},
                                flags, ownerWindow);

  HWND window =
      CreateWindowExA(exStyle, className, title != nullptr ? title : "", style, place.x, place.y,
                      place.width, place.height, ownerWindow, nullptr, ProgramInstance(), nullptr);
  if (window == nullptr) {
    UnregisterClassA(className, ProgramInstance());
    WindowTable().Remove(windowId);
    return 0;
  }
  record.handle = window;
  SetPropA(window, WindowIdProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(windowId) + 1));
  if (!hidden) ShowAsStyled(window, style);

  record.shortcuts = {ShortcutEntry{FVIRTKEY | FNOINVERT, VK_TAB, FocusForwardCommand},
                      ShortcutEntry{FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, FocusBackwardCommand}};
  RebuildAccelerators(record);
  if (asContainer) SetCurrentContainer(window);
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
    RemovePropA(handle, WindowIdProperty);
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
  return client.right - client.left;
}

int WindowInnerHeight(int window) {
  WindowRecord* record = WindowTable().Find(window);
  RECT client;
  if (record == nullptr || record->handle == nullptr || !GetClientRect(record->handle, &client)) {
    return 0;
  }
  int height = client.bottom - client.top;
  if (GetMenu(record->handle) != nullptr) height += GetSystemMetrics(SM_CYMENU);
  return height;
}

NativeHandle WindowHandle(int window) {
  WindowRecord* record = WindowTable().Find(window);
  return record != nullptr ? record->handle : nullptr;
}

int WindowIdOf(NativeHandle handle) {
  return ContainingWindowId(static_cast<HWND>(handle));
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

void PaintPendingWindows() {
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
    DispatchMessageA(&message);
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
    case WM_ACTIVATE:
      return OnActivate(window, windowId, message, wParam, lParam);
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
