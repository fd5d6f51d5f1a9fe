// The colour brush cache shared by every control of every thread: one solid
// brush per colour, reference-counted, guarded by one critical section.
#include "toolkit/test_access.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

BrushCache& Cache() {
  return Toolkit().brushes;
}

class CacheLock {
 public:
  CacheLock() { EnterCriticalSection(&Cache().lock); }
  CacheLock(const CacheLock&) = delete;
  CacheLock& operator=(const CacheLock&) = delete;
  ~CacheLock() { LeaveCriticalSection(&Cache().lock); }
};

}  // namespace

SharedBrush::SharedBrush(COLORREF colour) : colour_(colour) {
  CacheLock guard;
  BrushCache::Entry& entry = Cache().brushes[colour];
  if (!entry.brush) entry.brush.Reset(CreateSolidBrush(colour));
  if (!entry.brush) {
    Cache().brushes.erase(colour);
    return;
  }
  ++entry.references;
  brush_ = entry.brush.Get();
}

SharedBrush::SharedBrush(SharedBrush&& other) noexcept
    : brush_(std::exchange(other.brush_, nullptr)), colour_(other.colour_) {}

SharedBrush& SharedBrush::operator=(SharedBrush&& other) noexcept {
  if (this != &other) {
    Drop();
    brush_ = std::exchange(other.brush_, nullptr);
    colour_ = other.colour_;
  }
  return *this;
}

SharedBrush::~SharedBrush() {
  Drop();
}

void SharedBrush::Drop() {
  if (brush_ == nullptr) return;
  brush_ = nullptr;
  CacheLock guard;
  auto it = Cache().brushes.find(colour_);
  if (it != Cache().brushes.end() && --it->second.references == 0) Cache().brushes.erase(it);
}

int SharedBrushCount() {
  CacheLock guard;
  return static_cast<int>(Cache().brushes.size());
}
