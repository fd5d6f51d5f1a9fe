// Compiled regular expressions (PCRE, classic 8-bit interface) named by ids.
// Portable: no platform header.
#pragma once

// PCRE's extended option: white space in the pattern is ignored.
constexpr int PatternExtended = 8;

// Compiles `pattern` with `options` (passed to PCRE unchanged). `id` is AutoId
// or a free explicit id. Returns the pattern id, or 0 when the text is null or
// does not compile.
int CompilePattern(int id, const char* pattern, int options);

// 1 when the pattern matches anywhere in `subject` (up to its NUL), else 0;
// 0 for a null subject, a dead id, or any PCRE error.
int MatchPattern(int pattern, const char* subject);

// A pattern compiled once and kept for the whole run, outside the id table
// (ReleaseAllPatterns leaves it alone and LivePatternCount does not count it),
// for a check that every calculation runs. `code` is null when the text did
// not compile.
struct KeptPattern {
  void* code = nullptr;
};
KeptPattern CompileKeptPattern(const char* pattern, int options);
// 1 when the kept pattern matches anywhere in `subject`, else 0 (also for a
// pattern that did not compile or a null subject).
int MatchKeptPattern(const KeptPattern& pattern, const char* subject);

// Frees the compiled pattern; a dead id is ignored.
void ReleasePattern(int pattern);

// Frees every pattern still alive (toolkit teardown).
void ReleaseAllPatterns();

// Number of live patterns (for leak checks).
int LivePatternCount();
