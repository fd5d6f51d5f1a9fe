// Fuzzes the dotted-quad check and the two checks built on it against a
// hand-written reading of the shape rule: the text up to its first NUL is four
// groups of 1 to 3 digits joined by points, optionally followed by one line
// feed. The checks keep their compiled pattern outside the id table, so no
// pattern id may stay alive.
#include <string>

#include "base/patterns.hpp"
#include "calc/address.hpp"
#include "calc/plan.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

struct Quad {
  bool matches = false;
  int groups[4] = {0, 0, 0, 0};  // decimal values of the groups
};

Quad ReadQuad(const std::string& text) {
  Quad quad;
  std::string shape = text.substr(0, text.find('\0'));
  if (!shape.empty() && shape.back() == '\n') shape.pop_back();
  int group = 0;
  int digits = 0;
  for (char c : shape) {
    if (c == '.' && digits > 0 && group < 3) {
      ++group;
      digits = 0;
    } else if (c >= '0' && c <= '9' && digits < 3) {
      quad.groups[group] = quad.groups[group] * 10 + (c - '0');
      ++digits;
    } else {
      return quad;
    }
  }
  quad.matches = group == 3 && digits > 0;
  return quad;
}

// The network check by hand: first octet inside the class's range, the
// octets below the class prefix zero.
bool ExpectedNetwork(const Quad& quad, int classIndex) {
  if (!quad.matches || classIndex < 0 || classIndex >= ClassCount) return false;
  const NetworkClass& row = ClassRow(classIndex);
  const int first = quad.groups[0] & 255;
  if (first < row.firstOctetLow || first > row.firstOctetHigh) return false;
  for (int octet = 4; octet > row.networkBits / 8; --octet) {
    if ((quad.groups[octet - 1] & 255) != 0) return false;
  }
  return true;
}

// The mask check by hand: one of the class's masks from its own prefix to /29.
bool ExpectedMask(const Quad& quad, int classIndex) {
  if (!quad.matches || classIndex < 0 || classIndex >= ClassCount) return false;
  uint32_t value = 0;
  for (int group : quad.groups)
    value = value << 8 | static_cast<uint32_t>(group & 255);
  for (int prefix = ClassRow(classIndex).networkBits; prefix <= 29; ++prefix) {
    if (value == ~uint32_t{0} << (32 - prefix)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Quad quad = ReadQuad(text);
  FUZZ_CHECK(MatchesDottedQuad(text) == quad.matches);
  for (int classIndex = -1; classIndex <= ClassCount; ++classIndex) {
    FUZZ_CHECK(CheckNetworkAddress(text, classIndex) == ExpectedNetwork(quad, classIndex));
    FUZZ_CHECK(CheckSubnetMask(text, classIndex) == ExpectedMask(quad, classIndex));
  }
  FUZZ_CHECK(LivePatternCount() == 0);
  return 0;
}
