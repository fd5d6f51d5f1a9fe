// Opening a target: started as a program when it is one, otherwise handed to
// the shell, which opens web and mailto: addresses with the default programs.
#include "toolkit/launch.hpp"

#include <windows.h>

#include <shellapi.h>

#include "toolkit/toolkit_state.hpp"

namespace {

bool StartProgram(std::string commandLine, const char* directory) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  // CreateProcessA may write into the command line, so it gets its own copy.
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                      nullptr, directory[0] != '\0' ? directory : nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// The folder part of a target path ("C:\dir\prog.exe" -> "C:\dir\"), or "".
std::string FolderOf(const std::string& target) {
  std::size_t slash = target.find_last_of('\\');
  if (slash == std::string::npos || slash == 0) return std::string();
  return target.substr(0, slash + 1);
}

bool OpenWithShell(const char* target, const char* parameters, const char* directory) {
  std::string folder = directory[0] != '\0' ? std::string(directory) : FolderOf(target);
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // No error dialog from the shell: a failed launch is reported by the result alone.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = "";
  info.lpFile = target;
  info.lpParameters = parameters;
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  auto shellExecute = Toolkit().shell32.Find<decltype(&ShellExecuteExA)>("ShellExecuteExA");
  if (shellExecute == nullptr) return false;
  // The shell's handlers may need COM; it starts with the first link opened.
  Toolkit().com.Start();
  if (!shellExecute(&info)) return false;
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  return true;
}

}  // namespace

std::string LaunchCommandLine(const char* target, const char* parameters) {
  std::string line = target != nullptr ? target : "";
  if (line.empty() || line[0] != '"') line = '"' + line + '"';
  if (parameters != nullptr && parameters[0] != '\0') {
    line += ' ';
    line += parameters;
  }
  return line;
}

int LaunchTarget(const char* target, const char* parameters, const char* directory, int flags) {
  (void)flags;  // every caller uses 0: start, else open through the shell
  if (target == nullptr || target[0] == '\0') return 0;
  if (parameters == nullptr) parameters = "";
  if (directory == nullptr) directory = "";
  if (StartProgram(LaunchCommandLine(target, parameters), directory)) return 1;
  return OpenWithShell(target, parameters, directory) ? 1 : 0;
}
