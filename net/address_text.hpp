// Addresses as text, read and written in exactly one place per family:
// dotted decimal for IPv4; RFC 4291 section 2.2 in and RFC 5952 out for IPv6.
// The writers put their text straight into a buffer, for listings of millions
// of rows.
#pragma once

#include <cstdint>
#include <string>

#include "net/uint128.hpp"

// Longest texts: "255.255.255.255", eight groups of four hex digits.
constexpr int MaxDottedLength = 15;
constexpr int MaxIpv6Length = 39;

// Writes `value` (first dotted octet in the top byte) as dotted decimal
// without leading zeros at `out`, which must have MaxDottedLength bytes
// free; returns the end of the text. No NUL is written.
char* WriteDotted(char* out, uint32_t value);
// Writes `value` as RFC 5952 says: lowercase hex without leading zeros, the
// longest run of two or more zero groups (the first on a tie) as "::", and an
// IPv4-mapped address as ::ffff:a.b.c.d. At most MaxIpv6Length bytes.
char* WriteIpv6(char* out, const Uint128& value);
// Eight groups of four hex digits: "2001:0db8:0000:...".
char* WriteIpv6Expanded(char* out, const Uint128& value);

// The writer of the value's family.
inline char* WriteAddress(char* out, uint32_t value) {
  return WriteDotted(out, value);
}
inline char* WriteAddress(char* out, const Uint128& value) {
  return WriteIpv6(out, value);
}
std::string AddressText(uint32_t value);
std::string AddressText(const Uint128& value);
std::string ExpandedText(const Uint128& value);

// Reads [at, end) as four decimal numbers 0 to 255 joined by points, each
// without leading zeros (010 is octal to some tools and decimal to others).
// Returns null, or why the text is no such address.
const char* ReadIpv4(const char* at, const char* end, uint32_t& address);
// Reads [at, end) as an RFC 4291 address: eight groups of 1 to 4 hex digits
// in either case, at most one "::" for a run of zero groups, and a dotted
// IPv4 address in the last 32 bits. Returns null, or why not ("a group has
// more than 4 hex digits", ...).
const char* ReadIpv6(const char* at, const char* end, Uint128& address);

// The reader of the value's family.
inline const char* ReadAddress(const char* at, const char* end, uint32_t& address) {
  return ReadIpv4(at, end, address);
}
inline const char* ReadAddress(const char* at, const char* end, Uint128& address) {
  return ReadIpv6(at, end, address);
}

// A token with a ':' is IPv6; any other is IPv4.
bool LooksLikeIpv6(const char* at, const char* end);
