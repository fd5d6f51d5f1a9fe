// BlockMap: a strip that draws a block to scale, each row a span of its own
// colour named where its label fits. It is laid out and painted in device
// pixels, at the width the strip has now, so that a span of one pixel is one
// pixel at any DPI. A click on a span selects its row and raises DetailClick;
// the selected row's span is outlined; a tooltip names the span under the pointer.
#include "toolkit/control_framework.hpp"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "base/scaling.hpp"
#include "toolkit/dpi.hpp"
#include "toolkit/toolkit_state.hpp"
#include "toolkit/views.hpp"

namespace {

constexpr char BlockMapClassName[] = "VelkorBlockMap";
constexpr int LabelPadding = 3;      // designed, each side of a label
constexpr int OutlineThickness = 2;  // designed, outside the span

struct BlockMapState {
  std::vector<MapRow> rows;
  int blockBits = 0;
  BlockMapLook look;
  std::vector<MapSpan> spans;  // for laidOutWidth pixels
  std::vector<int> spanOfRow;
  int laidOutWidth = -1;
  int selected = -1;
  int hovered = -1;
  HFONT font = nullptr;  // the last one given with WM_SETFONT
  HWND tooltip = nullptr;
};

BlockMapState& StateOf(ControlRecord& control) {
  return KindState<BlockMapState>(control);
}

RECT ClientOf(const ControlRecord& control) {
  RECT client{};
  GetClientRect(control.handle, &client);
  return client;
}

// The spans at the strip's width now; a new width lays the rows out again.
const std::vector<MapSpan>& Spans(ControlRecord& control) {
  BlockMapState& state = StateOf(control);
  const int width = ClientOf(control).right;
  if (width == state.laidOutWidth) return state.spans;
  state.spans = LayOutBlockMap(state.rows, state.blockBits, width);
  state.spanOfRow.assign(state.rows.size(), -1);
  for (std::size_t span = 0; span < state.spans.size(); ++span)
    state.spanOfRow[static_cast<std::size_t>(state.spans[span].row)] = static_cast<int>(span);
  state.laidOutWidth = width;
  return state.spans;
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

// The label centred in the span, when it fits with its padding.
void DrawLabel(HDC dc, const RECT& span, const std::string& label, int padding) {
  SIZE extent{};
  const int length = static_cast<int>(label.size());
  if (length == 0 || !GetTextExtentPoint32A(dc, label.c_str(), length, &extent) ||
      extent.cx + 2 * padding > span.right - span.left) {
    return;
  }
  TextOutA(dc, (span.left + span.right - extent.cx) / 2, (span.bottom - extent.cy) / 2,
           label.c_str(), length);
}

// A frame of `thickness` around the span, over its neighbours' edges.
void DrawOutline(HDC dc, const RECT& span, int thickness) {
  const COLORREF colour = GetSysColor(COLOR_WINDOWTEXT);
  const RECT outer{span.left - thickness, span.top, span.right + thickness, span.bottom};
  Fill(dc, RECT{outer.left, outer.top, span.left, outer.bottom}, colour);
  Fill(dc, RECT{span.right, outer.top, outer.right, outer.bottom}, colour);
  Fill(dc, RECT{span.left, outer.top, span.right, outer.top + thickness}, colour);
  Fill(dc, RECT{span.left, outer.bottom - thickness, span.right, outer.bottom}, colour);
}

void DrawSpans(ControlRecord& control, HDC dc, const RECT& client) {
  BlockMapState& state = StateOf(control);
  const int dpi = LayoutDpi(control.handle);
  const int padding = ScaleToDpi(LabelPadding, dpi);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  for (const MapSpan& span : Spans(control)) {
    if (span.left == span.right) continue;
    const RECT area{span.left, client.top, span.right, client.bottom};
    Fill(dc, area, state.look.colour ? static_cast<COLORREF>(state.look.colour(span.row)) : 0);
    if (span.right - span.left > 2 * padding && state.look.label) {
      SetBkMode(dc, TRANSPARENT);
      DrawLabel(dc, area, state.look.label(span.row), padding);
      SetBkMode(dc, OPAQUE);
    }
  }
  if (state.selected < 0) return;
  const MapSpan& chosen = state.spans[static_cast<std::size_t>(state.spanOfRow[state.selected])];
  if (chosen.left != chosen.right) {
    DrawOutline(dc, RECT{chosen.left, client.top, chosen.right, client.bottom},
                ScaleToDpi(OutlineThickness, dpi));
  }
}

// Drawn off screen and copied at once, so that a repaint never flickers.
void Paint(ControlRecord& control) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(control.handle, &paint);
  const RECT client = ClientOf(control);
  BitmapHolder bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  MemoryContext memory(bitmap.Get());
  HDC target = memory.Get() != nullptr ? memory.Get() : dc;
  FillRect(target, &client, ParentBackgroundBrush(control.handle, target));
  HGDIOBJ previousFont =
      StateOf(control).font ? SelectObject(target, StateOf(control).font) : nullptr;
  DrawSpans(control, target, client);
  if (previousFont != nullptr) SelectObject(target, previousFont);
  if (target != dc) BitBlt(dc, 0, 0, client.right, client.bottom, target, 0, 0, SRCCOPY);
  EndPaint(control.handle, &paint);
}

// ----- Pointer --------------------------------------------------------------

TOOLINFOA ToolOf(HWND handle) {
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = handle;
  return tool;
}

// The tooltip covers the span under the pointer and names it; off the
// spans it has no text, so it stays hidden.
void Hover(ControlRecord& control, int x) {
  BlockMapState& state = StateOf(control);
  const int row = MapRowAt(Spans(control), x);
  if (row == state.hovered || state.tooltip == nullptr) return;
  state.hovered = row;
  TOOLINFOA tool = ToolOf(control.handle);
  if (row != -1) {
    const MapSpan& span = state.spans[static_cast<std::size_t>(state.spanOfRow[row])];
    tool.rect = RECT{span.left, 0, span.right, ClientOf(control).bottom};
  }
  SendMessageA(state.tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
  std::string tip = row != -1 && state.look.tip ? state.look.tip(row) : std::string();
  tool.lpszText = &tip[0];
  SendMessageA(state.tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void RelayToTooltip(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND tooltip = StateOf(control).tooltip;
  if (tooltip == nullptr) return;
  MSG relayed{};
  relayed.hwnd = control.handle;
  relayed.message = message;
  relayed.wParam = wParam;
  relayed.lParam = lParam;
  SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void Click(ControlRecord& control, int x) {
  const int row = MapRowAt(Spans(control), x);
  if (row == -1) return;
  StateOf(control).selected = row;
  InvalidateRect(control.handle, nullptr, FALSE);
  EventPost(ControlEvent, control.id, ContainingWindowId(control.handle), DetailClick);
}

bool OnMessage(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam,
               LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_PAINT:
      Paint(control);
      return true;
    case WM_ERASEBKGND:  // the whole client area is painted in WM_PAINT
      *result = 1;
      return true;
    case WM_SETFONT:
      StateOf(control).font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam) != 0) InvalidateRect(control.handle, nullptr, FALSE);
      return true;
    case WM_MOUSEMOVE:  // the tool has the span's rectangle and text before it sees the move
      Hover(control, GET_X_LPARAM(lParam));
      RelayToTooltip(control, message, wParam, lParam);
      return true;
    case WM_LBUTTONDOWN:
      RelayToTooltip(control, message, wParam, lParam);
      Click(control, GET_X_LPARAM(lParam));
      return true;
    case WM_LBUTTONUP:
      RelayToTooltip(control, message, wParam, lParam);
      return true;
    default:
      return false;
  }
}

// ----- Life -----------------------------------------------------------------

// One tool over the strip, its rectangle and text following the pointer.
void AddTooltip(ControlRecord& control, int) {
  HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                 WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control.handle,
                                 nullptr, ProgramInstance(), nullptr);
  if (tooltip == nullptr) return;
  TOOLINFOA tool = ToolOf(control.handle);
  char none[] = "";
  tool.lpszText = none;
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  StateOf(control).tooltip = tooltip;
}

void DestroyTooltip(ControlRecord& control) {
  if (StateOf(control).tooltip != nullptr) DestroyWindow(StateOf(control).tooltip);
}

void Select(ControlRecord& control, intptr_t row) {
  BlockMapState& state = StateOf(control);
  state.selected =
      row >= 0 && static_cast<std::size_t>(row) < state.rows.size() ? static_cast<int>(row) : -1;
  InvalidateRect(control.handle, nullptr, FALSE);
}

intptr_t Selected(ControlRecord& control) {
  return StateOf(control).selected;
}

// Registered with the first strip; the class stays for the toolkit's life.
bool RegisterBlockMapClass() {
  bool& registered = Toolkit().controls.blockMapClassRegistered;
  if (registered) return true;
  WNDCLASSEXA mapClass{};
  mapClass.cbSize = sizeof mapClass;
  mapClass.lpfnWndProc = DefWindowProcA;
  mapClass.hInstance = ProgramInstance();
  mapClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  mapClass.lpszClassName = BlockMapClassName;
  registered = RegisterClassExA(&mapClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

// The record of a live strip, or null.
ControlRecord* BlockMapOf(int ctl) {
  ControlRecord* control = ControlTable().Find(ctl);
  return control != nullptr && control->kind == ControlKind::BlockMap ? control : nullptr;
}

}  // namespace

const KindOperations BlockMapOperations = {
    .destroy = DestroyTooltip,
    .getState = Selected,
    .setState = Select,
    .finish = AddTooltip,
    .message = OnMessage,
};

intptr_t CreateBlockMap(int id, int x, int y, int w, int h) {
  if (!RegisterBlockMapClass()) return 0;
  return CreateControl(id, x, y, w, h,
                       ControlCreation{ControlKind::BlockMap, BlockMapClassName,
                                       WS_CHILD | WS_VISIBLE, WS_EX_STATICEDGE, nullptr});
}

void ControlSetBlockMap(int ctl, std::vector<MapRow> rows, int blockBits, BlockMapLook look) {
  ControlRecord* control = BlockMapOf(ctl);
  if (control == nullptr) return;
  BlockMapState& state = StateOf(*control);
  state.rows = std::move(rows);
  state.blockBits = std::clamp(blockBits, 0, 128);
  state.look = std::move(look);
  state.laidOutWidth = -1;
  state.selected = -1;
  state.hovered = -1;
  InvalidateRect(control->handle, nullptr, FALSE);
}
