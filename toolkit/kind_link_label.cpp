// LinkLabel: a line of text that paints itself, in its text colour or, while
// it holds the mouse capture (the pointer is over it), in its hover colour.
// A button release over it is a click; the cursor is the hand.
#include "toolkit/control_framework.hpp"
#include "toolkit/events.hpp"
#include "toolkit/views.hpp"

#include <windowsx.h>

namespace {

struct LinkLabelState {
  int hoverColour = DefaultColour;
  HFONT font = nullptr;  // the last one given with WM_SETFONT
  // The second press of a double click: its release is not another click.
  bool doubleClickPressed = false;
};

LinkLabelState& StateOf(ControlRecord& control) {
  return KindState<LinkLabelState>(control);
}

COLORREF ColourOrDefault(int colour) {
  return colour == DefaultColour ? GetSysColor(COLOR_BTNTEXT) : static_cast<COLORREF>(colour);
}

void Paint(ControlRecord& control) {
  HWND handle = control.handle;
  LinkLabelState& state = StateOf(control);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle, &paint);
  RECT client;
  GetClientRect(handle, &client);
  FillRect(dc, &client, ParentBackgroundBrush(handle, dc));
  HGDIOBJ previousFont = state.font != nullptr ? SelectObject(dc, state.font) : nullptr;
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  std::string text = WindowText(handle);
  if (IsWindowEnabled(handle)) {
    bool hovered = GetCapture() == handle;
    SetTextColor(dc, ColourOrDefault(hovered ? state.hoverColour : control.textColour));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
  } else {
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()),
               static_cast<WPARAM>(text.size()), 0, 0, 0, 0, DST_TEXT | DSS_DISABLED);
  }
  if (previousFont != nullptr) SelectObject(dc, previousFont);
  EndPaint(handle, &paint);
}

// The first move over the label takes the capture; a move outside it, or any
// while its window is disabled, lets go. Each change repaints.
void Hover(HWND handle, LPARAM lParam) {
  if (GetCapture() != handle) {
    SetCapture(handle);
    InvalidateRect(handle, nullptr, TRUE);
    return;
  }
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  RECT client;
  GetClientRect(handle, &client);
  if (!PtInRect(&client, point) || !IsWindowEnabled(GetParent(handle))) ReleaseCapture();
}

HCURSOR HandCursor() {
  HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
  return hand != nullptr ? hand : LoadCursorA(nullptr, IDC_ARROW);
}

bool OnMessage(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam,
               LRESULT* result) {
  HWND handle = control.handle;
  *result = 0;
  switch (message) {
    case WM_PAINT:
      Paint(control);
      return true;
    case WM_ERASEBKGND:  // the whole client area is painted in WM_PAINT
      *result = 1;
      return true;
    case WM_NCHITTEST:  // a plain static lets the pointer through to its parent
      *result = HTCLIENT;
      return true;
    case WM_SETCURSOR:
      SetCursor(HandCursor());
      *result = TRUE;
      return true;
    case WM_MOUSEMOVE:
      Hover(handle, lParam);
      return true;
    case WM_CAPTURECHANGED:
      InvalidateRect(handle, nullptr, TRUE);
      return true;
    case WM_LBUTTONUP:
      if (!std::exchange(StateOf(control).doubleClickPressed, false)) {
        EventPost(ControlEvent, control.id, ContainingWindowId(handle), DetailClick);
      }
      return true;
    case WM_LBUTTONDBLCLK:
      StateOf(control).doubleClickPressed = true;
      return true;
    case WM_SETFONT:
      StateOf(control).font = reinterpret_cast<HFONT>(wParam);
      return false;   // the static keeps it too and repaints
    case WM_SETTEXT:  // the static class would paint its own text here
    case WM_ENABLE:
      *result = DefWindowProcA(handle, message, wParam, lParam);
      InvalidateRect(handle, nullptr, TRUE);
      return true;
    default:
      return false;
  }
}

// The label's WM_CTLCOLORSTATIC: its background brush when a background colour
// is set. Its own WM_COMMAND notifications are swallowed.
bool OnNotification(ControlRecord& control, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
  *result = 0;
  if (message == WM_COMMAND) return true;
  if (message != WM_CTLCOLORSTATIC || control.backgroundBrush.Get() == nullptr) return false;
  SetBkColor(reinterpret_cast<HDC>(wParam), static_cast<COLORREF>(control.backgroundColour));
  *result = reinterpret_cast<LRESULT>(control.backgroundBrush.Get());
  return true;
}

void Finish(ControlRecord& control, int) {
  control.textColour = 0;  // black
  ShowWindow(control.handle, SW_SHOWNORMAL);
}

}  // namespace

const KindOperations LinkLabelOperations = {
    .notification = OnNotification,
    .setColour = StoreControlColour,
    .getColour = StoredControlColour,
    .finish = Finish,
    .message = OnMessage,
};

intptr_t CreateLinkLabel(int id, int x, int y, int w, int h, const char* text, int hoverColour) {
  intptr_t created = CreateControl(
      id, x, y, w, h, ControlCreation{ControlKind::LinkLabel, "STATIC", WS_CHILD, 0, text});
  ControlRecord* control = CreatedControl(id, created);
  if (control != nullptr) StateOf(*control).hoverColour = hoverColour;
  return created;
}
