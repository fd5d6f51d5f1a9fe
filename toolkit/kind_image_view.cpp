// ImageView: a static picture that takes the size of its image, the image's
// pixels being designed at 96 DPI. At another DPI it shows a copy scaled to
// its pixels. A 32-bit bitmap is drawn through a premultiplied copy with
// AlphaBlend, any other bitmap or an icon with DrawState. Dragging with the
// left button held posts DetailDragBegin.
#include "toolkit/control_framework.hpp"
#include "toolkit/dpi.hpp"
#include "toolkit/events.hpp"
#include "toolkit/image_service.hpp"
#include "toolkit/views.hpp"

#include <windowsx.h>

#include <cstdlib>

namespace {

struct ImageViewState {
  HANDLE image = nullptr;  // bitmap or icon, owned by the image service
  bool isIcon = false;
  SIZE size{};                // the image's, as designed
  BitmapHolder scaledBitmap;  // the image at the window's DPI, when that is not 96
  IconHolder scaledIcon;
  HANDLE drawn = nullptr;  // the image or its scaled copy
  SIZE drawnSize{};
  BitmapHolder premultiplied;  // 32-bit copy of the drawn bitmap for AlphaBlend
  bool pressed = false;
  POINT pressedAt{};
};

ImageViewState& StateOf(ControlRecord& control) {
  return KindState<ImageViewState>(control);
}

// Whether `image` is a bitmap or an icon, and its size.
bool Describe(HANDLE image, bool& isIcon, SIZE& size) {
  BITMAP facts{};
  if (GetObjectType(image) == OBJ_BITMAP) {
    if (GetObjectA(image, sizeof facts, &facts) == 0) return false;
    isIcon = false;
    size = SIZE{facts.bmWidth, std::abs(facts.bmHeight)};
    return true;
  }
  ICONINFO parts{};
  if (!GetIconInfo(static_cast<HICON>(image), &parts)) return false;
  BitmapHolder colour(parts.hbmColor);
  BitmapHolder mask(parts.hbmMask);
  GetObjectA(colour ? colour.Get() : mask.Get(), sizeof facts, &facts);
  isIcon = true;
  // A monochrome icon's mask holds the picture above the mask.
  size = SIZE{facts.bmWidth, colour ? facts.bmHeight : facts.bmHeight / 2};
  return true;
}

// A premultiplied copy of a 32-bit bitmap; none for other depths or without
// AlphaBlend. A copy whose alpha is all 0 is made opaque, so it shows as the
// bitmap would without alpha.
BitmapHolder PremultipliedCopy(HBITMAP bitmap, SIZE size) {
  BITMAP facts{};
  if (AlphaBlender() == nullptr || GetObjectA(bitmap, sizeof facts, &facts) == 0 ||
      facts.bmBitsPixel != 32) {
    return BitmapHolder();
  }
  void* bits = nullptr;
  BitmapHolder copy(CreateBitmapSection(size.cx, size.cy, 32, &bits));
  if (!copy) return copy;
  BITMAPINFO layout{};
  layout.bmiHeader.biSize = sizeof layout.bmiHeader;
  layout.bmiHeader.biWidth = size.cx;
  layout.bmiHeader.biHeight = size.cy;  // bottom-up, as the copy
  layout.bmiHeader.biPlanes = 1;
  layout.bmiHeader.biBitCount = 32;
  layout.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  int copied =
      GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), bits, &layout, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (copied != size.cy) return BitmapHolder();
  PixelRows rows = SectionRows(copy.Get());
  MakeOpaqueWhenAlphaAllZero(rows);
  PremultiplyAlpha(rows);
  return copy;
}

// The image as the window's DPI shows it: itself at 96 DPI, else a copy
// scaled to the pixels the designed size takes there (the image itself when
// no copy can be made).
void ScaleToWindow(ControlRecord& control, ImageViewState& state) {
  const int dpi = LayoutDpi(control.handle);
  const RECT at = DesignedRect(ParentRect(control.handle), dpi);
  const RECT pixels = ScaledRect(at.left, at.top, state.size.cx, state.size.cy, dpi);
  const SIZE wanted{pixels.right - pixels.left, pixels.bottom - pixels.top};
  state.drawn = state.image;
  state.drawnSize = state.size;
  if (wanted.cx == state.size.cx && wanted.cy == state.size.cy) return;
  if (state.isIcon) {
    state.scaledIcon.Reset(
        static_cast<HICON>(CopyImage(state.image, IMAGE_ICON, wanted.cx, wanted.cy, 0)));
  } else {
    state.scaledBitmap = RenderImage(static_cast<HBITMAP>(state.image), wanted.cx, wanted.cy);
  }
  HANDLE scaled = state.isIcon ? static_cast<HANDLE>(state.scaledIcon.Get())
                               : static_cast<HANDLE>(state.scaledBitmap.Get());
  if (scaled == nullptr) return;
  state.drawn = scaled;
  state.drawnSize = wanted;
}

// Draws the image at the window's DPI and takes its size, keeping its place.
void ShowImage(ControlRecord& control) {
  ImageViewState& state = StateOf(control);
  state.scaledBitmap.Reset(nullptr);
  state.scaledIcon.Reset(nullptr);
  state.premultiplied.Reset(nullptr);
  state.drawn = nullptr;
  if (state.image == nullptr) return;
  ScaleToWindow(control, state);
  if (!state.isIcon) {
    state.premultiplied = PremultipliedCopy(static_cast<HBITMAP>(state.drawn), state.drawnSize);
  }
  bool edged = (GetWindowLongPtrA(control.handle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
  int border = edged ? 4 : 0;
  SetWindowPos(control.handle, nullptr, 0, 0, state.drawnSize.cx + border,
               state.drawnSize.cy + border, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetImage(ControlRecord& control, intptr_t value) {
  ImageViewState& state = StateOf(control);
  auto image = reinterpret_cast<HANDLE>(value);
  state.image = image != nullptr && Describe(image, state.isIcon, state.size) ? image : nullptr;
  ShowImage(control);
  InvalidateRect(control.handle, nullptr, TRUE);
}

// A new DPI asks for a new scaled copy.
void Rescale(ControlRecord& control, const RECT&, int, int) {
  ShowImage(control);
}

intptr_t GetImage(ControlRecord& control) {
  return reinterpret_cast<intptr_t>(StateOf(control).image);
}

void Paint(ControlRecord& control) {
  ImageViewState& state = StateOf(control);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(control.handle, &paint);
  RECT client;
  GetClientRect(control.handle, &client);
  FillRect(dc, &client, ParentBackgroundBrush(control.handle, dc));
  MemoryContext premultiplied(state.premultiplied.Get());
  const SIZE size = state.drawnSize;
  if (premultiplied.Get() != nullptr && AlphaBlender() != nullptr) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlender()(dc, 0, 0, size.cx, size.cy, premultiplied.Get(), 0, 0, size.cx, size.cy, blend);
  } else if (state.drawn != nullptr) {
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(state.drawn), 0, 0, 0, 0, 0,
               state.isIcon ? DST_ICON : DST_BITMAP);
  }
  EndPaint(control.handle, &paint);
}

// Posts DetailDragBegin once the pointer has moved past the drag distance
// with the left button held since it was pressed here.
void TrackDrag(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam) {
  ImageViewState& state = StateOf(control);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (message == WM_LBUTTONDOWN) {
    state.pressed = true;
    state.pressedAt = point;
    SetCapture(control.handle);
    return;
  }
  if (!state.pressed) return;
  bool dragged = std::abs(point.x - state.pressedAt.x) > GetSystemMetrics(SM_CXDRAG) ||
                 std::abs(point.y - state.pressedAt.y) > GetSystemMetrics(SM_CYDRAG);
  bool held = message == WM_MOUSEMOVE && (wParam & MK_LBUTTON) != 0;
  if (held && !dragged) return;
  state.pressed = false;
  if (GetCapture() == control.handle) ReleaseCapture();
  if (held) {
    EventPost(ControlEvent, control.id, ContainingWindowId(control.handle), DetailDragBegin);
  }
}

bool OnMessage(ControlRecord& control, UINT message, WPARAM wParam, LPARAM lParam,
               LRESULT* result) {
  switch (message) {
    case WM_PAINT:
      Paint(control);
      *result = 0;
      return true;
    case WM_ERASEBKGND:  // the whole client area is painted in WM_PAINT
      *result = 1;
      return true;
    case WM_ENABLE:  // the static class would paint its text here
      InvalidateRect(control.handle, nullptr, TRUE);
      *result = 0;
      return true;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      TrackDrag(control, message, wParam, lParam);
      return false;  // the static still reports its click
    default:
      return false;
  }
}

}  // namespace

const KindOperations ImageViewOperations = {
    .getState = GetImage,
    .setState = SetImage,
    .message = OnMessage,
    .rescale = Rescale,
};

intptr_t CreateImageView(int id, int x, int y, int w, int h, NativeHandle image) {
  intptr_t created = CreateControl(id, x, y, w, h,
                                   ControlCreation{ControlKind::ImageView, "STATIC",
                                                   WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, nullptr});
  ControlRecord* control = CreatedControl(id, created);
  if (control != nullptr) SetImage(*control, reinterpret_cast<intptr_t>(image));
  return created;
}
