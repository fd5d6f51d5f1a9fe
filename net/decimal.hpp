// Decimal numbers written straight into a character buffer, for listings
// that print millions of them, and read back with saturation.
#pragma once

#include <cstdint>
#include <string>

#include "net/count.hpp"
#include "net/uint128.hpp"

// Longest decimal texts of each width.
constexpr int MaxDecimal64Length = 20;
constexpr int MaxDecimal128Length = 39;
constexpr int MaxCountLength = 58;

// Writes the decimal digits of `value` at `out`; returns the end. No NUL.
char* WriteDecimal(char* out, uint64_t value);
char* WriteDecimal(char* out, const Uint128& value);
char* WriteDecimal(char* out, const AddressCount& value);

// Number of decimal digits of `value`.
int DecimalWidth(uint64_t value);
int DecimalWidth(const Uint128& value);

std::string DecimalText(const AddressCount& value);
// "1,024": thousands separated by commas.
std::string GroupedDecimal(const AddressCount& value);

// Reads [at, end) as decimal digits only, at least one; larger values than
// AddressCount holds saturate at Max(), so they stay too large. False for
// any other text.
bool ReadDecimal(const char* at, const char* end, AddressCount& value);
bool ReadDecimal(const std::string& text, AddressCount& value);
