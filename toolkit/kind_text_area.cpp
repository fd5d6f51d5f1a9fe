// TextArea: a multi-line rich-edit control. Lines are appended with one line
// break between them; when visual styles are active it paints a themed border
// instead of the classic client edge.
#include "toolkit/control_framework.hpp"
#include "toolkit/toolkit_state.hpp"

#include <richedit.h>
#include <shlwapi.h>
#include <uxtheme.h>
#include <vssym32.h>

namespace {

struct TextAreaState {
  int emptyLineMarker = 0;    // 1 = an empty first line is pending, 2 = it was written
  bool themedBorder = false;  // paints its own visual-styles border
};

TextAreaState& StateOf(ControlRecord& control) {
  return KindState<TextAreaState>(control);
}

// ----- Run-time libraries ---------------------------------------------------

// The rich-edit window class, loading RICHED20.DLL or else RICHED32.DLL with
// the first text area.
const char* RichEditClass() {
  ControlRegistry& controls = Toolkit().controls;
  if (controls.richEdit20.Module() != nullptr) return "RichEdit20A";
  if (controls.richEdit10.Module() != nullptr) return "RichEdit";
  return "RichEdit20A";
}

// uxtheme's functions, looked up when a themed border is drawn.
struct ThemeFunctions {
  HTHEME(WINAPI* openThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* closeThemeData)(HTHEME) = nullptr;
  HRESULT(WINAPI* getContentRect)(HTHEME, HDC, int, int, LPCRECT, LPRECT) = nullptr;
  BOOL(WINAPI* isPartiallyTransparent)(HTHEME, int, int) = nullptr;
  HRESULT(WINAPI* drawParentBackground)(HWND, HDC, const RECT*) = nullptr;
  HRESULT(WINAPI* drawBackground)(HTHEME, HDC, int, int, LPCRECT, LPCRECT) = nullptr;
  BOOL(WINAPI* isAppThemed)() = nullptr;
  bool loaded = false;
};

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

template <typename Function>
bool Find(LateLibrary& library, const char* name, Function& function) {
  function = library.Find<Function>(name);
  return function != nullptr;
}

ThemeFunctions Theme() {
  ThemeFunctions found;
  LateLibrary& uxtheme = Toolkit().controls.uxtheme;
  found.loaded =
      Find(uxtheme, "OpenThemeData", found.openThemeData) &&
      Find(uxtheme, "CloseThemeData", found.closeThemeData) &&
      Find(uxtheme, "GetThemeBackgroundContentRect", found.getContentRect) &&
      Find(uxtheme, "IsThemeBackgroundPartiallyTransparent", found.isPartiallyTransparent) &&
      Find(uxtheme, "DrawThemeParentBackground", found.drawParentBackground) &&
      Find(uxtheme, "DrawThemeBackground", found.drawBackground) &&
      Find(uxtheme, "IsAppThemed", found.isAppThemed);
  return found;
}

// Common controls 6 or later and an application theme in use.
bool VisualStylesActive() {
  using DllGetVersionFunction = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
  DllGetVersionFunction getVersion = nullptr;
  HMODULE commonControls = GetModuleHandleA("comctl32.dll");
  if (commonControls == nullptr || !Find(commonControls, "DllGetVersion", getVersion)) {
    return false;
  }
  DLLVERSIONINFO version{};
  version.cbSize = sizeof version;
  if (FAILED(getVersion(&version)) || version.dwMajorVersion < 6) return false;
  return Theme().loaded && Theme().isAppThemed();
}

// ----- Themed border --------------------------------------------------------

int BorderState(HWND handle) {
  if (!IsWindowEnabled(handle)) return ETS_DISABLED;
  if ((GetWindowLongPtrA(handle, GWL_STYLE) & ES_READONLY) != 0) return ETS_READONLY;
  return ETS_NORMAL;
}

// The border's width on each side, as the theme's content rectangle says.
RECT BorderInsets(HWND handle, HTHEME theme, const RECT& outer) {
  RECT content = outer;
  Theme().getContentRect(theme, nullptr, EP_EDITTEXT, BorderState(handle), &outer, &content);
  return RECT{content.left - outer.left, content.top - outer.top, outer.right - content.right,
              outer.bottom - content.bottom};
}

void ReserveBorder(HWND handle, RECT& area) {
  HTHEME theme = Theme().openThemeData(handle, L"edit");
  if (theme == nullptr) return;
  RECT insets = BorderInsets(handle, theme, area);
  area.left += insets.left;
  area.top += insets.top;
  area.right -= insets.right;
  area.bottom -= insets.bottom;
  Theme().closeThemeData(theme);
}

void PaintBorder(HWND handle) {
  HTHEME theme = Theme().openThemeData(handle, L"edit");
  if (theme == nullptr) return;
  HDC dc = GetWindowDC(handle);
  RECT outer;
  GetWindowRect(handle, &outer);
  OffsetRect(&outer, -outer.left, -outer.top);
  int state = BorderState(handle);
  RECT insets = BorderInsets(handle, theme, outer);
  ExcludeClipRect(dc, outer.left + insets.left, outer.top + insets.top, outer.right - insets.right,
                  outer.bottom - insets.bottom);
  if (Theme().isPartiallyTransparent(theme, EP_EDITTEXT, state)) {
    Theme().drawParentBackground(handle, dc, &outer);
  }
  Theme().drawBackground(theme, dc, EP_EDITTEXT, state, &outer, nullptr);
  ReleaseDC(handle, dc);
  Theme().closeThemeData(theme);
}

bool OnMessage(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam,
               LRESULT* result) {
  if (!StateOf(control).themedBorder) return false;
  if (message == WM_NCCALCSIZE) {
    auto* area = reinterpret_cast<RECT*>(lParam);  // the first rectangle in both forms
    ReserveBorder(control.handle, *area);
    *result = CallWindowProcA(control.originalProcedure, control.handle, message, wParam, lParam);
    return true;
  }
  if (message == WM_NCPAINT) {
    *result = CallWindowProcA(control.originalProcedure, control.handle, message, wParam, lParam);
    PaintBorder(control.handle);
    return true;
  }
  return false;
}

// ----- Lines ----------------------------------------------------------------

void Insert(HWND handle, const char* text) {
  SendMessageA(handle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

int AddLine(ControlRecord& control, int position, const char* text) {
  HWND handle = control.handle;
  int& marker = StateOf(control).emptyLineMarker;
  SendMessageA(handle, EM_HIDESELECTION, TRUE, 0);
  LRESULT lineStart = position == -1 ? -1 : SendMessageA(handle, EM_LINEINDEX, position, 0);
  if (lineStart == -1) {
    int length = GetWindowTextLengthA(handle);
    SendMessageA(handle, EM_SETSEL, length, length);
    if (marker == 1) {
      Insert(handle, "\n");
      marker = 2;
    }
    if (length != 0) {
      Insert(handle, "\n");
    } else if (text[0] == '\0' && marker == 0) {
      marker = 1;
    }
    Insert(handle, text);
  } else {
    SendMessageA(handle, EM_SETSEL, static_cast<WPARAM>(lineStart), lineStart);
    Insert(handle, text);
    Insert(handle, "\n");
  }
  SendMessageA(handle, EM_HIDESELECTION, FALSE, 0);
  return 0;
}

// Any text replaces the whole text, so a pending empty first line goes with it.
void SetText(ControlRecord& control, const char* text) {
  SetWindowTextA(control.handle, text != nullptr ? text : "");
  StateOf(control).emptyLineMarker = 0;
}

void Clear(ControlRecord& control) {
  SetText(control, "");
}

int CountLines(ControlRecord& control) {
  if (GetWindowTextLengthA(control.handle) == 0) return 0;
  return static_cast<int>(SendMessageA(control.handle, EM_GETLINECOUNT, 0, 0));
}

std::string LineText(ControlRecord& control, int line, int) {
  LRESULT start = SendMessageA(control.handle, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  if (line < 0 || start < 0) return std::string();
  auto length = static_cast<std::size_t>(SendMessageA(control.handle, EM_LINELENGTH, start, 0));
  // EM_GETLINE reads the buffer size from the buffer's first word.
  std::string text(length + sizeof(WORD) + 1, '\0');
  *reinterpret_cast<WORD*>(&text[0]) = static_cast<WORD>(length + 1);
  LRESULT copied = SendMessageA(control.handle, EM_GETLINE, static_cast<WPARAM>(line),
                                reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
    text.pop_back();
  return text;
}

void SetColour(ControlRecord& control, int attribute, int colour) {
  if (attribute == ColorText) {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.dwEffects = colour == DefaultColour ? CFE_AUTOCOLOR : 0;
    format.crTextColor = static_cast<COLORREF>(colour);
    SendMessageA(control.handle, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    control.textColour = colour;
  } else if (attribute == ColorBackground) {
    SendMessageA(control.handle, EM_SETBKGNDCOLOR, colour == DefaultColour ? 1 : 0,
                 static_cast<LPARAM>(colour));
    control.backgroundColour = colour;
  } else {
    return;
  }
  RedrawWindow(control.handle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
}

void Finish(ControlRecord& control, int) {
  // Created without the client edge exactly when visual styles are active.
  StateOf(control).themedBorder =
      (GetWindowLongPtrA(control.handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == 0;
  // No length limit. Wine: EM_LIMITTEXT reads -1 as a negative limit that
  // refuses every typed character, so the largest positive limit is set.
  SendMessageA(control.handle, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
  SetWindowPos(control.handle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(control.handle, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

const KindOperations TextAreaOperations = {
    .setText = SetText,
    .addItem = AddLine,
    .clearItems = Clear,
    .countItems = CountLines,
    .itemText = LineText,
    .setColour = SetColour,
    .getColour = StoredControlColour,
    .finish = Finish,
    .message = OnMessage,
};

intptr_t CreateTextArea(int id, int x, int y, int w, int h, unsigned flags) {
  bool themed = VisualStylesActive();
  ControlCreation creation{ControlKind::TextArea, RichEditClass(),
                           flags | WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP |
                               ES_WANTRETURN | ES_NOHIDESEL | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
                               ES_MULTILINE,
                           themed ? 0u : static_cast<DWORD>(WS_EX_CLIENTEDGE), nullptr};
  return CreateControl(id, x, y, w, h, creation);
}
