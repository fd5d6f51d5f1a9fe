// Plain text on the clipboard.
#include "toolkit/clipboard.hpp"

#include <windows.h>

#include <cstring>

int PutClipboardText(const char* text) {
  if (text == nullptr) text = "";
  if (!OpenClipboard(nullptr)) return 0;
  std::size_t size = std::strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
  if (block == nullptr) {
    CloseClipboard();
    return 0;
  }
  void* bytes = GlobalLock(block);
  if (bytes == nullptr) {
    GlobalFree(block);
    CloseClipboard();
    return 0;
  }
  std::memcpy(bytes, text, size);
  GlobalUnlock(block);
  EmptyClipboard();
  bool handedOver = SetClipboardData(CF_TEXT, block) != nullptr;
  // The clipboard owns the block only when it took it.
  if (!handedOver) GlobalFree(block);
  CloseClipboard();
  return handedOver ? 1 : 0;
}
