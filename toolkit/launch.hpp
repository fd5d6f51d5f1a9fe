// Starting programs and opening links through the shell.
#pragma once

#include <string>

// The command line LaunchTarget starts: the target quoted unless it already
// starts with a quote, then a blank and the parameters when there are any.
std::string LaunchCommandLine(const char* target, const char* parameters);
// Starts `target` as a program, or else opens it through the shell.
// Non-zero when something was started or opened.
int LaunchTarget(const char* target, const char* parameters, const char* directory, int flags);
inline int OpenLink(const char* target) {
  return LaunchTarget(target, "", "", 0);
}
