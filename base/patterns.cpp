#include "base/patterns.hpp"

#include <cstring>
#include <utility>

#include <pcre.h>

#include "base/ids.hpp"

namespace {

// Execute option that skips PCRE's UTF-8 validation of the subject.
constexpr int SkipUtf8Check = PCRE_NO_UTF8_CHECK;

// Owns one compiled expression; freed through PCRE's free hook.
struct PatternRecord {
  pcre* code = nullptr;

  explicit PatternRecord(pcre* compiled) : code(compiled) {}
  PatternRecord(PatternRecord&& other) noexcept : code(other.code) { other.code = nullptr; }
  PatternRecord& operator=(PatternRecord&& other) noexcept {
    std::swap(code, other.code);
    return *this;
  }
  PatternRecord(const PatternRecord&) = delete;
  PatternRecord& operator=(const PatternRecord&) = delete;
  ~PatternRecord() {
    if (code != nullptr && pcre_free != nullptr) pcre_free(code);
  }
};

IdTable<PatternRecord>& Patterns() {
  static IdTable<PatternRecord> table;
  return table;
}

int Match(const pcre* code, const char* subject) {
  if (code == nullptr || subject == nullptr) return 0;
  const int length = static_cast<int>(std::strlen(subject));
  return pcre_exec(code, nullptr, subject, length, 0, SkipUtf8Check, nullptr, 0) >= 0 ? 1 : 0;
}

pcre* Compile(const char* pattern, int options) {
  if (pattern == nullptr) return nullptr;
  const char* error = nullptr;
  int errorOffset = 0;
  return pcre_compile(pattern, options, &error, &errorOffset, nullptr);
}

}  // namespace

int CompilePattern(int id, const char* pattern, int options) {
  if (!FreeForIdResult(Patterns(), id)) return 0;
  pcre* code = Compile(pattern, options);
  if (code == nullptr) return 0;
  return AddForIdResult(Patterns(), id, PatternRecord(code));
}

int MatchPattern(int pattern, const char* subject) {
  const PatternRecord* record = Patterns().Find(pattern);
  return record == nullptr ? 0 : Match(record->code, subject);
}

KeptPattern CompileKeptPattern(const char* pattern, int options) {
  return KeptPattern{Compile(pattern, options)};
}

int MatchKeptPattern(const KeptPattern& pattern, const char* subject) {
  return Match(static_cast<const pcre*>(pattern.code), subject);
}

void ReleasePattern(int pattern) {
  Patterns().Remove(pattern);
}

void ReleaseAllPatterns() {
  Patterns().Clear();
}

int LivePatternCount() {
  return static_cast<int>(Patterns().Size());
}
