// Small move-only owners of Win32 handles, used only inside the toolkit. The
// id tables own records that hold these, so releasing a record releases its
// native objects.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, void (*Release)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(nullptr); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Releases the held handle (if any) and takes `handle`.
  void Reset(Handle handle) {
    if (handle_ != nullptr) Release(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

inline void DeleteFontHandle(HFONT font) {
  DeleteObject(font);
}
inline void DeleteBrushHandle(HBRUSH brush) {
  DeleteObject(brush);
}
inline void DestroyMenuHandle(HMENU menu) {
  DestroyMenu(menu);
}
inline void DestroyAcceleratorHandle(HACCEL table) {
  DestroyAcceleratorTable(table);
}
inline void DeleteBitmapHandle(HBITMAP bitmap) {
  DeleteObject(bitmap);
}
inline void DestroyIconHandle(HICON icon) {
  DestroyIcon(icon);
}

using FontHolder = UniqueHandle<HFONT, DeleteFontHandle>;
using BrushHolder = UniqueHandle<HBRUSH, DeleteBrushHandle>;
using MenuHolder = UniqueHandle<HMENU, DestroyMenuHandle>;
using AcceleratorHolder = UniqueHandle<HACCEL, DestroyAcceleratorHandle>;
using BitmapHolder = UniqueHandle<HBITMAP, DeleteBitmapHandle>;
using IconHolder = UniqueHandle<HICON, DestroyIconHandle>;

// Holds a display device context for the scope of a measurement.
class DisplayContext {
 public:
  DisplayContext() : dc_(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
  DisplayContext(const DisplayContext&) = delete;
  DisplayContext& operator=(const DisplayContext&) = delete;
  ~DisplayContext() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A memory device context with one bitmap selected into it for its scope.
class MemoryContext {
 public:
  explicit MemoryContext(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_ != nullptr) previous_ = SelectObject(dc_, bitmap);
  }
  MemoryContext(const MemoryContext&) = delete;
  MemoryContext& operator=(const MemoryContext&) = delete;
  ~MemoryContext() {
    if (dc_ == nullptr) return;
    if (previous_ != nullptr) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  // Null when the context could not be made or the bitmap not selected.
  HDC Get() const { return previous_ != nullptr ? dc_ : nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};
