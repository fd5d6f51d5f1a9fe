// Solid colour brushes shared between controls.
#pragma once

#include <windows.h>

#include <map>

#include "toolkit/win32_holders.hpp"

// One reference to the shared solid brush of a colour; the brush is deleted
// when its last reference goes. Thread-safe.
class SharedBrush {
 public:
  SharedBrush() = default;
  explicit SharedBrush(COLORREF colour);
  SharedBrush(SharedBrush&& other) noexcept;
  SharedBrush& operator=(SharedBrush&& other) noexcept;
  SharedBrush(const SharedBrush&) = delete;
  SharedBrush& operator=(const SharedBrush&) = delete;
  ~SharedBrush();
  HBRUSH Get() const { return brush_; }

 private:
  void Drop();
  HBRUSH brush_ = nullptr;
  COLORREF colour_ = 0;
};

// The brushes behind every SharedBrush, one per colour, with their reference
// counts; shared by all threads, behind one lock.
struct BrushCache {
  struct Entry {
    BrushHolder brush;
    int references = 0;
  };
  BrushCache() { InitializeCriticalSection(&lock); }
  BrushCache(const BrushCache&) = delete;
  BrushCache& operator=(const BrushCache&) = delete;
  ~BrushCache() { DeleteCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  std::map<COLORREF, Entry> brushes;
};
