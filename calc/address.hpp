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
// Dotted decimal text of `value`, top byte first, no leading zeros (WriteDotted's text).
std::string FormatAddress(uint32_t value);

// The decimal values of the four groups of a dotted text.
struct DottedGroups {
  uint32_t values[4] = {0, 0, 0, 0};
};
// Reads [at, end) as four groups of 1 to 3 digits joined by single points,
// nothing else; false when the text has another shape. Every reading of a
// dotted text goes through this.
bool ReadDottedGroups(const char* at, const char* end, DottedGroups& groups);
// An address typed by a user: the shape above with every group 0 to 255.
bool ReadDottedAddress(const char* at, const char* end, HostOrderAddress& address);
bool ReadDottedAddress(const std::string& text, HostOrderAddress& address);
// Decimal value of group k (1..4) of a text that passed MatchesDottedQuad;
// 0 for another k or a text of another shape.
int32_t AddressField(const std::string& dottedText, int k);
// PackAddress of the four groups of a text that passed MatchesDottedQuad (a
// group above 255 counts with its low 8 bits); 0 for a text of another shape.
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
