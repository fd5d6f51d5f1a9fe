// Panel: a container window for other controls. Its class hands every message
// but background erasing to the shared window procedure, so the controls in it
// raise the same events as controls placed on the window.
#include "toolkit/control_framework.hpp"
#include "toolkit/toolkit_state.hpp"

#include "toolkit/views.hpp"

namespace {

constexpr char PanelClassName[] = "VelkorPanel";
// Window data: the brush of a set background colour (owned by the record), or null.
constexpr int BrushSlot = 0;

LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message != WM_ERASEBKGND) return SharedWindowProcedure(panel, message, wParam, lParam);
  auto brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrA(panel, BrushSlot));
  if (brush == nullptr) return DefWindowProcA(panel, message, wParam, lParam);
  RECT area;
  GetClientRect(panel, &area);
  FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
  return 1;
}

// Registered with the first panel; the class stays for the toolkit's life.
bool RegisterPanelClass() {
  bool& registered = Toolkit().controls.panelClassRegistered;
  if (registered) return true;
  WNDCLASSEXA panelClass{};
  panelClass.cbSize = sizeof panelClass;
  panelClass.lpfnWndProc = PanelProcedure;
  // Pointer-sized, so that the 64-bit build holds a whole brush handle.
  panelClass.cbWndExtra = sizeof(LONG_PTR);
  panelClass.hInstance = ProgramInstance();
  panelClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  panelClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  panelClass.lpszClassName = PanelClassName;
  registered = RegisterClassExA(&panelClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

void SetBackground(ControlRecord& control, int attribute, int colour) {
  if (attribute != ColorBackground) return;
  control.backgroundColour = colour;
  control.backgroundBrush =
      colour == DefaultColour ? SharedBrush() : SharedBrush(static_cast<COLORREF>(colour));
  SetWindowLongPtrA(control.handle, BrushSlot,
                    reinterpret_cast<LONG_PTR>(control.backgroundBrush.Get()));
  RedrawWindow(control.handle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

int GetBackground(ControlRecord& control, int attribute) {
  return attribute == ColorBackground ? control.backgroundColour : 0;
}

void BecomeContainer(ControlRecord& control, int) {
  PushContainer(control.handle);
}

DWORD PanelStyle(unsigned flags) {
  DWORD style = WS_CHILD | WS_VISIBLE;
  if ((flags & PanelBorder) != 0) {
    style |= WS_BORDER;
  } else if ((flags & PanelDialogFrame) != 0) {
    style |= WS_DLGFRAME;
  }
  return style;
}

DWORD PanelExtendedStyle(unsigned flags) {
  if ((flags & (PanelBorder | PanelDialogFrame)) != 0) return 0;
  DWORD extended = 0;
  if ((flags & PanelStaticEdge) != 0) extended |= WS_EX_STATICEDGE;
  if ((flags & PanelClientEdge) != 0) extended |= WS_EX_CLIENTEDGE;
  return extended;
}

}  // namespace

const KindOperations PanelOperations = {
    .setColour = SetBackground,
    .getColour = GetBackground,
    .finish = BecomeContainer,
};

intptr_t CreatePanel(int id, int x, int y, int w, int h, unsigned flags) {
  if (!RegisterPanelClass()) return 0;
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::Panel, PanelClassName, PanelStyle(flags),
                                       PanelExtendedStyle(flags), nullptr});
}

void EndContainer() {
  PopContainer();
}
