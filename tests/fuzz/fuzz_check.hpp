// What every fuzz harness shares: the libFuzzer entry point and a check that
// stops the run with a message, so libFuzzer (or the replay program) reports
// the input as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The entry point each harness defines; libFuzzer or the replay program calls it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

// Prints the failed condition and aborts (abort is what libFuzzer treats as a crash).
[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
  std::abort();
}

// A macro only to capture the condition's text and its line.
#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))
