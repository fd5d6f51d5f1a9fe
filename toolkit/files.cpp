// The Save As and Open dialogs, the file operations of a safe save, and
// files dropped on a window.
#include "toolkit/files.hpp"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>

#include "toolkit/events.hpp"
#include "toolkit/toolkit_state.hpp"

namespace {

// The folder part of a path, backslash or slash included; "." when there is none.
std::string FolderOf(const std::string& path) {
  const std::size_t end = path.find_last_of("\\/");
  return end == std::string::npos ? std::string(".") : path.substr(0, end + 1);
}

// Runs the Save As or Open dialog (comdlg32's function `name`) on `dialog`.
FileChoice RunFileDialog(OPENFILENAMEA& dialog, const char* name) {
  LateLibrary& comdlg32 = Toolkit().comdlg32;
  auto run = comdlg32.Find<decltype(&GetSaveFileNameA)>(name);
  auto extendedError = comdlg32.Find<decltype(&CommDlgExtendedError)>("CommDlgExtendedError");
  FileChoice choice;
  if (run == nullptr || extendedError == nullptr) {
    choice.failure = CDERR_INITIALIZATION;
  } else if (run(&dialog)) {
    choice.path = dialog.lpstrFile;
  } else {
    choice.failure = extendedError();  // 0 after a cancel
  }
  return choice;
}

}  // namespace

FileChoice ChooseSaveFile(NativeHandle owner, const char* defaultName, const char* filter,
                          const char* defaultExtension) {
  char path[MAX_PATH] = "";
  lstrcpynA(path, defaultName != nullptr ? defaultName : "", MAX_PATH);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(owner);
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = defaultExtension;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return RunFileDialog(dialog, "GetSaveFileNameA");
}

FileChoice ChooseOpenFile(NativeHandle owner, const char* filter) {
  char path[MAX_PATH] = "";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(owner);
  dialog.lpstrFilter = filter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return RunFileDialog(dialog, "GetOpenFileNameA");
}

std::string CreateFileBeside(const std::string& target) {
  char path[MAX_PATH] = "";
  // GetTempFileNameA creates the file, so the name stays ours.
  if (GetTempFileNameA(FolderOf(target).c_str(), "vlk", 0, path) == 0) return std::string();
  return path;
}

bool FreeSpaceBeside(const std::string& target, uint64_t& bytes) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExA(FolderOf(target).c_str(), &available, nullptr, nullptr)) return false;
  bytes = available.QuadPart;
  return true;
}

int ReplaceFileWith(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
}

int DeleteFileNamed(const std::string& path) {
  return DeleteFileA(path.c_str()) ? 1 : 0;
}

void WindowAcceptFiles(int window, int accept) {
  auto acceptFiles = Toolkit().shell32.Find<decltype(&DragAcceptFiles)>("DragAcceptFiles");
  HWND handle = static_cast<HWND>(WindowHandle(window));
  if (acceptFiles != nullptr && handle != nullptr) acceptFiles(handle, accept != 0 ? TRUE : FALSE);
}

std::vector<std::string> WindowDroppedFiles(int window) {
  WindowRecord* record = WindowTable().Find(window);
  return record != nullptr ? record->dropped : std::vector<std::string>();
}

void KeepDroppedFiles(HWND window, int windowId, HDROP drop) {
  LateLibrary& shell32 = Toolkit().shell32;
  auto query = shell32.Find<decltype(&DragQueryFileA)>("DragQueryFileA");
  auto finish = shell32.Find<decltype(&DragFinish)>("DragFinish");
  WindowRecord* record = WindowTable().Find(windowId);
  if (query == nullptr || finish == nullptr || record == nullptr || record->handle != window) {
    return;
  }
  record->dropped.clear();
  const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT file = 0; file < count; ++file) {
    std::string path(query(drop, file, nullptr, 0) + 1, '\0');
    path.resize(query(drop, file, &path[0], static_cast<UINT>(path.size())));
    record->dropped.push_back(path);
  }
  finish(drop);
  RecordDirectEvent(FileDropEvent, windowId, windowId, static_cast<int>(count));
}
