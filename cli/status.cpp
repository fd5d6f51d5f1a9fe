#include "cli/status.hpp"

#include <cstdio>

int Refused(const std::string& problem) {
  std::fprintf(stderr, "velkor: %s\n", problem.c_str());
  return ExitRejected;
}

int WriteFailed() {
  std::fputs("velkor: cannot write the output\n", stderr);
  return ExitWriteFailed;
}

int FinishOutput() {
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? ExitSuccess : WriteFailed();
}

int Written(bool written) {
  return written ? FinishOutput() : WriteFailed();
}
