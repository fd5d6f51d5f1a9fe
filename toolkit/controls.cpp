// The control framework: records, kind tables, the creation steps, the
// control procedure and the operations every kind answers.
#include <vector>

#include "base/scaling.hpp"
#include "toolkit/control_framework.hpp"
#include "toolkit/dpi.hpp"
#include "toolkit/font_service.hpp"
#include "toolkit/test_access.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

// Null means the stock DEFAULT_GUI_FONT.
HFONT& DefaultControlFont() {
  return ThisThread().defaultControlFont;
}

bool RunningOnWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

HFONT StockGuiFont() {
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT ResolveFont(NativeHandle font) {
  return font == DefaultGuiFont ? StockGuiFont() : static_cast<HFONT>(font);
}

// The control draws with its designed font as its window's DPI wants it.
void ApplyFont(ControlRecord& control, bool redraw) {
  HFONT font = FontForDpi(control.font, LayoutDpi(control.handle));
  SendMessageA(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

// The control's id as its user data says (id + 1), or -1. User data is read
// without a request to the window server, which a property costs on every
// message under Wine. Callers check that the record found is this window's.
int StoredId(HWND handle) {
  return static_cast<int>(GetWindowLongPtrA(handle, GWLP_USERDATA)) - 1;
}

// WM_NCDESTROY: the kind's destroy action, then the record and undelivered
// events go.
void ForgetControl(ControlRecord& control) {
  CallKind(&control, &KindOperations::destroy);
  int id = control.id;
  SetWindowLongPtrA(control.handle, GWLP_ID, -1);
  SetWindowLongPtrA(control.handle, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(control.originalProcedure));
  DropControlEvents(id);
  ControlTable().Remove(id);
}

LRESULT CALLBACK ControlProcedure(HWND handle, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
  ControlRecord* control = ControlTable().Find(StoredId(handle));
  if (control == nullptr || control->handle != handle) {
    return DefWindowProcA(handle, message, wParam, lParam);
  }
  WNDPROC original = control->originalProcedure;
  LRESULT result = 0;
  if (CallKind(control, &KindOperations::message, message, wParam, lParam, &result)) return result;
  if (message == WM_NCDESTROY) ForgetControl(*control);
  return CallWindowProcA(original, handle, message, wParam, lParam);
}

// The designed rectangle of a control in its parent's client coordinates, as
// the pixels give it back at its window's DPI; empty for a dead id.
RECT DesignedRectOf(int ctl) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control == nullptr) return RECT{};
  return DesignedRect(ParentRect(control->handle), LayoutDpi(control->handle));
}

// Puts a control at the pixels of its designed rectangle at `toDpi`, with its
// font, then lets its kind size the rest.
void RescaleControl(ControlRecord& control, int fromDpi, int toDpi) {
  const RECT designed = DesignedRect(ParentRect(control.handle), fromDpi);
  const RECT pixels = ScaledRect(designed.left, designed.top, designed.right - designed.left,
                                 designed.bottom - designed.top, toDpi);
  SetWindowPos(control.handle, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
               pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyFont(control, true);
  CallKind(&control, &KindOperations::rescale, pixels, fromDpi, toDpi);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM lParam) noexcept {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
  return TRUE;
}

}  // namespace

// A switch without default, so that the compiler names a kind left out.
const KindOperations& OperationsOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::FrameBox:
      return FrameBoxOperations;
    case ControlKind::Label:
      return LabelOperations;
    case ControlKind::DropDownList:
      return DropDownListOperations;
    case ControlKind::TextEntry:
      return TextEntryOperations;
    case ControlKind::AddressEntry:
      return AddressEntryOperations;
    case ControlKind::PushButton:
      return PushButtonOperations;
    case ControlKind::TextArea:
      return TextAreaOperations;
    case ControlKind::ImageView:
      return ImageViewOperations;
    case ControlKind::LinkLabel:
      return LinkLabelOperations;
    case ControlKind::ReportList:
      return ReportListOperations;
    case ControlKind::Panel:
      return PanelOperations;
    case ControlKind::ProgressBar:
      return ProgressBarOperations;
    case ControlKind::BlockMap:
      return BlockMapOperations;
  }
  return FrameBoxOperations;  // not reached: every kind has its case
}

ControlRegistry::ControlRegistry() : runningOnWine(RunningOnWine()) {}

// The controls still alive go before their windows; a panel takes its
// children with it, so each id is looked up afresh.
ControlRegistry::~ControlRegistry() {
  for (int id : table.Ids()) {
    if (ControlRecord* control = table.Find(id)) DestroyWindow(control->handle);
  }
}

IdTable<ControlRecord>& ControlTable() {
  return Toolkit().controls.table;
}

ControlRecord* ControlOfHandle(HWND handle) {
  if (handle == nullptr) return nullptr;
  int id = StoredId(handle);
  if (id < 0 || GetWindowLongPtrA(handle, GWLP_ID) != id) return nullptr;
  ControlRecord* control = ControlTable().Find(id);
  return control != nullptr && control->handle == handle ? control : nullptr;
}

RECT ParentRect(HWND window) {
  RECT area{};
  GetWindowRect(window, &area);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&area), 2);
  return area;
}

// Every control of the window, those inside panels too, in creation order.
void RescaleControls(HWND window, int fromDpi, int toDpi) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (ControlRecord* control = ControlOfHandle(child)) RescaleControl(*control, fromDpi, toDpi);
  }
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(window, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

intptr_t CreateControl(int id, int x, int y, int w, int h, const ControlCreation& creation) {
  if (id != AutoId && ControlTable().Find(id) != nullptr) return 0;
  HWND container = CurrentContainer();
  const int dpi = LayoutDpi(container);
  const RECT pixels = ScaledRect(x, y, w, h, dpi);
  const int height = pixels.bottom - pixels.top;
  HWND handle = CreateWindowExA(
      creation.exStyle, creation.className, creation.text != nullptr ? creation.text : "",
      creation.style, pixels.left, pixels.top, pixels.right - pixels.left,
      creation.nativeHeight != 0 ? ScaleToDpi(creation.nativeHeight, dpi) : height, container,
      nullptr, ProgramInstance(), nullptr);
  if (handle == nullptr) return 0;
  ControlRecord record;
  record.handle = handle;
  record.kind = creation.kind;
  int controlId = ControlTable().Add(id, std::move(record));
  if (controlId == IdTable<ControlRecord>::NoId) {
    DestroyWindow(handle);
    return 0;
  }
  ControlRecord& control = *ControlTable().Find(controlId);
  control.id = controlId;
  SetWindowLongPtrA(handle, GWLP_ID, controlId);
  SetWindowLongPtrA(handle, GWLP_USERDATA, static_cast<LONG_PTR>(controlId) + 1);
  control.originalProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProcedure)));
  control.font = DefaultControlFont() != nullptr ? DefaultControlFont() : StockGuiFont();
  ApplyFont(control, false);  // no redraw: the control has not been painted yet
  CallKind(&control, &KindOperations::finish, height);
  return id == AutoId ? controlId : reinterpret_cast<intptr_t>(handle);
}

ControlRecord* CreatedControl(int id, intptr_t created) {
  if (created == 0) return nullptr;
  return ControlTable().Find(id == AutoId ? static_cast<int>(created) : id);
}

// ----- Colours of Label and TextEntry ---------------------------------------

bool AnswerControlColour(ControlRecord& control, HDC dc, int systemBackground, LRESULT* result) {
  if (control.textColour == DefaultColour && control.backgroundColour == DefaultColour) {
    return false;
  }
  if (control.textColour != DefaultColour)
    SetTextColor(dc, static_cast<COLORREF>(control.textColour));
  if (control.backgroundColour != DefaultColour && control.backgroundBrush.Get() != nullptr) {
    SetBkColor(dc, static_cast<COLORREF>(control.backgroundColour));
    *result = reinterpret_cast<LRESULT>(control.backgroundBrush.Get());
    return true;
  }
  SetBkColor(dc, GetSysColor(systemBackground));
  *result = reinterpret_cast<LRESULT>(GetSysColorBrush(systemBackground));
  return true;
}

void StoreControlColour(ControlRecord& control, int attribute, int colour) {
  if (attribute == ColorText) {
    control.textColour = colour;
  } else if (attribute == ColorBackground) {
    control.backgroundColour = colour;
    control.backgroundBrush =
        colour == DefaultColour ? SharedBrush() : SharedBrush(static_cast<COLORREF>(colour));
  } else {
    return;
  }
  RedrawWindow(control.handle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
}

int StoredControlColour(ControlRecord& control, int attribute) {
  if (attribute == ColorText) return control.textColour;
  if (attribute == ColorBackground) return control.backgroundColour;
  return 0;
}

HBRUSH ParentBackgroundBrush(HWND control, HDC dc) {
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(control), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(control)));
  return brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

// ----- Common operations ----------------------------------------------------

void ControlSetText(int ctl, const char* text) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control == nullptr) return;
  if (OperationsOf(control->kind).setText != nullptr) {
    CallKind(control, &KindOperations::setText, text);
  } else {
    SetWindowTextA(control->handle, text != nullptr ? text : "");
  }
}

std::string ControlGetText(int ctl) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control == nullptr) return std::string();
  if (OperationsOf(control->kind).getText != nullptr) {
    return CallKind(control, &KindOperations::getText);
  }
  return WindowText(control->handle);
}

void ControlSetState(int ctl, intptr_t value) {
  CallKind(ControlTable().Find(ctl), &KindOperations::setState, value);
}

intptr_t ControlGetState(int ctl) {
  return CallKind(ControlTable().Find(ctl), &KindOperations::getState);
}

int ControlAddItem(int ctl, int position, const char* text) {
  return CallKind(ControlTable().Find(ctl), &KindOperations::addItem, position,
                  text != nullptr ? text : "");
}

int ControlAddColumn(int ctl, int position, const char* title, int width) {
  return CallKind(ControlTable().Find(ctl), &KindOperations::addColumn, position,
                  title != nullptr ? title : "", width);
}

std::string ControlItemText(int ctl, int item, int column) {
  return CallKind(ControlTable().Find(ctl), &KindOperations::itemText, item, column);
}

void ControlClearItems(int ctl) {
  CallKind(ControlTable().Find(ctl), &KindOperations::clearItems);
}

int ControlCountItems(int ctl) {
  return CallKind(ControlTable().Find(ctl), &KindOperations::countItems);
}

void ControlSetHidden(int ctl, int hide) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control != nullptr) ShowWindow(control->handle, hide != 0 ? SW_HIDE : SW_SHOW);
}

void ControlSetDisabled(int ctl, int disable) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control != nullptr) EnableWindow(control->handle, disable != 0 ? FALSE : TRUE);
}

void ControlSetFocus(int ctl) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control != nullptr) SetFocus(control->handle);
}

int FocusedControl() {
  for (HWND window = GetFocus(); window != nullptr; window = GetParent(window)) {
    if (const ControlRecord* control = ControlOfHandle(window)) return control->id;
  }
  return 0;
}

void ControlSetFont(int ctl, NativeHandle font) {
  if (ctl == AllNewControls) {
    DefaultControlFont() = ResolveFont(font);
    return;
  }
  ControlRecord* control = ControlTable().Find(ctl);
  if (control == nullptr) return;
  control->font = ResolveFont(font);
  ApplyFont(*control, true);
}

void ControlSetColor(int ctl, int attribute, int colour) {
  CallKind(ControlTable().Find(ctl), &KindOperations::setColour, attribute, colour);
}

int ControlGetColor(int ctl, int attribute) {
  return CallKind(ControlTable().Find(ctl), &KindOperations::getColour, attribute);
}

int ControlX(int ctl) {
  return DesignedRectOf(ctl).left;
}

int ControlY(int ctl) {
  return DesignedRectOf(ctl).top;
}

int ControlWidth(int ctl) {
  RECT area = DesignedRectOf(ctl);
  return area.right - area.left;
}

int ControlHeight(int ctl) {
  RECT area = DesignedRectOf(ctl);
  return area.bottom - area.top;
}

void ControlSetSize(int ctl, int w, int h) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control == nullptr) return;
  const int dpi = LayoutDpi(control->handle);
  const RECT at = DesignedRect(ParentRect(control->handle), dpi);
  const RECT pixels = ScaledRect(at.left, at.top, w, h, dpi);
  SetWindowPos(control->handle, nullptr, 0, 0, pixels.right - pixels.left,
               pixels.bottom - pixels.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Measured in the pixels of the control's font, given back designed and
// rounded up, so that a width made from it still holds the text.
int ControlTextWidth(int ctl, const char* text) {
  ControlRecord* control = ControlTable().Find(ctl);
  if (control == nullptr || text == nullptr) return 0;
  DisplayContext screen;
  if (screen.Get() == nullptr) return 0;
  const int dpi = LayoutDpi(control->handle);
  HGDIOBJ previous = SelectObject(screen.Get(), FontForDpi(control->font, dpi));
  SIZE extent{};
  GetTextExtentPoint32A(screen.Get(), text, lstrlenA(text), &extent);
  SelectObject(screen.Get(), previous);
  return UnscaleToCover(extent.cx, dpi);
}

NativeHandle ControlHandle(int ctl) {
  ControlRecord* control = ControlTable().Find(ctl);
  return control != nullptr ? control->handle : nullptr;
}

int LiveControlCount() {
  return static_cast<int>(ControlTable().Size());
}
