// Dotted-decimal addresses written straight into a character buffer, for
// listings that print millions of them.
#pragma once

#include <cstdint>

// Longest dotted address: "255.255.255.255".
constexpr int MaxDottedLength = 15;

// Writes `value` (first dotted octet in the top byte) as dotted decimal without
// leading zeros at `out`, which must have MaxDottedLength bytes free; returns
// the end of the text. No NUL is written.
char* WriteDotted(char* out, uint32_t value);

// Writes the decimal digits of `value` at `out` (at most 20 bytes); returns the end.
char* WriteDecimal(char* out, uint64_t value);

// Number of decimal digits of `value`.
int DecimalWidth(uint64_t value);
