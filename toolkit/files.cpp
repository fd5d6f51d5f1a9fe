// The Save As dialog and the file operations of a safe save.
#include "toolkit/files.hpp"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include "toolkit/toolkit_state.hpp"

namespace {

// The folder part of a path, backslash or slash included; "." when there is none.
std::string FolderOf(const std::string& path) {
  const std::size_t end = path.find_last_of("\\/");
  return end == std::string::npos ? std::string(".") : path.substr(0, end + 1);
}

}  // namespace

SaveFileChoice ChooseSaveFile(NativeHandle owner, const char* defaultName, const char* filter,
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
  LateLibrary& comdlg32 = Toolkit().comdlg32;
  auto getSaveFileName = comdlg32.Find<decltype(&GetSaveFileNameA)>("GetSaveFileNameA");
  auto extendedError = comdlg32.Find<decltype(&CommDlgExtendedError)>("CommDlgExtendedError");
  SaveFileChoice choice;
  if (getSaveFileName == nullptr || extendedError == nullptr) {
    choice.failure = CDERR_INITIALIZATION;
  } else if (getSaveFileName(&dialog)) {
    choice.path = path;
  } else {
    choice.failure = extendedError();  // 0 after a cancel
  }
  return choice;
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
