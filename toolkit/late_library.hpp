// A system library loaded the first time one of its functions is needed, not
// at start-up, and freed with the toolkit.
#pragma once

#include <windows.h>

class LateLibrary {
 public:
  explicit LateLibrary(const char* name) : name_(name) {}
  LateLibrary(const LateLibrary&) = delete;
  LateLibrary& operator=(const LateLibrary&) = delete;
  ~LateLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  // The library, loaded on the first call; null when it does not exist.
  HMODULE Module() {
    if (!tried_) module_ = LoadLibraryA(name_);
    tried_ = true;
    return module_;
  }
  // The function `name` of the library as a `Function` pointer, or null.
  template <typename Function>
  Function Find(const char* name) {
    HMODULE module = Module();
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

 private:
  const char* name_;
  HMODULE module_ = nullptr;
  bool tried_ = false;
};
