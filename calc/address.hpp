// Address values, bit operations and the constant tables of classes and methods.
#pragma once

#include <cstdint>
#include <string>

// An address as the address-entry controls hold it: first dotted octet in the
// lowest byte.
using Ipv4Value = uint32_t;
// The calculator's form: first dotted octet in the most significant byte.
using HostOrderAddress = uint32_t;

struct NetworkClass {
  int32_t networkBits;     // leading bits fixed by the class
  int32_t subnettingBits;  // 32 - networkBits
  int32_t maxCount;        // upper count for the range check and the methods
  uint8_t firstOctetLow;   // inclusive bounds of a network's first octet
  uint8_t firstOctetHigh;
};

constexpr int ClassCount = 3;   // index 0 = class C, 1 = class B, 2 = class A
constexpr int MethodCount = 3;  // CalculationMethod values below

// The selected index of the method list.
enum CalculationMethod : int { FromHostsMethod = 0, FromSubnetsMethod = 1, FromMaskMethod = 2 };

// a + b*256 + c*65536 + d*16777216: octet a in the lowest byte.
constexpr Ipv4Value MakeIpv4Value(int a, int b, int c, int d) {
  return static_cast<Ipv4Value>(a) + static_cast<Ipv4Value>(b) * 256u +
         static_cast<Ipv4Value>(c) * 65536u + static_cast<Ipv4Value>(d) * 16777216u;
}
// "%d.%d.%d.%d" from the lowest byte up.
std::string Ipv4Text(Ipv4Value value);

// (a&255)<<24 | (b&255)<<16 | (c&255)<<8 | (d&255).
HostOrderAddress PackAddress(int32_t a, int32_t b, int32_t c, int32_t d);
// Octet n (1 = top byte .. 4 = lowest byte) of `value`.
int OctetOf(uint32_t value, int n);
// Dotted decimal text of `value`, top byte first, no leading zeros.
std::string FormatAddress(uint32_t value);
// Decimal value of field k (1..4) of a dotted text; 0 for a missing field.
int32_t AddressField(const std::string& dottedText, int k);
// PackAddress of the four fields of a dotted text.
HostOrderAddress PackDottedText(const std::string& dottedText);

// Bits width-1 .. width-n of `value` all equal `bit`; true for n = 0.
bool LeadingBitsEqual(uint32_t value, int n, int bit, int width);
// Bits 0 .. n-1 of `value` all equal `bit`; true for n = 0.
bool TrailingBitsEqual(uint32_t value, int n, int bit);
// No one-bit below a zero-bit, scanning from bit width-1 down to 0.
bool IsContiguousMask(uint32_t value, int width);
// How many of bits 0 .. n-1 of `value` equal `bit`.
int CountBits(uint32_t value, int bit, int n);

// Table access; valid indexes are 0 .. 2 (callers pass a list's selection).
// Any other index yields an all-zero row, the empty text or 0.
const NetworkClass& ClassRow(int classIndex);
const char* ClassText(int classIndex);
Ipv4Value ExampleNetwork(int classIndex);
const char* MethodText(int method);
const char* NumberLabel(int method);
