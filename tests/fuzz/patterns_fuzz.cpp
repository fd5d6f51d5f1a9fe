// Fuzzes the dotted-quad check, the two checks built on it and the dotted
// reader against the shape rule stated on the text split at its points: four
// groups, each of 1 to 3 digits (for the checks: of the text up to its first
// NUL, optionally followed by one line feed). The checks keep their compiled
// pattern outside the id table, so no pattern id may stay alive.
#include <algorithm>
#include <string>
#include <vector>

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
  std::vector<std::string> groups(1);
  for (char c : text) {
    if (c == '.') {
      groups.emplace_back();
    } else {
      groups.back() += c;
    }
  }
  Quad quad;
  quad.matches =
      groups.size() == 4 && std::all_of(groups.begin(), groups.end(), [](const std::string& group) {
        return !group.empty() && group.size() <= 3 &&
               group.find_first_not_of("0123456789") == group.npos;
      });
  for (std::size_t i = 0; i < 4 && quad.matches; ++i)
    quad.groups[i] = std::stoi(groups[i]);
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
  std::string checked = text.substr(0, text.find('\0'));
  if (!checked.empty() && checked.back() == '\n') checked.pop_back();
  const Quad quad = ReadQuad(checked);
  FUZZ_CHECK(MatchesDottedQuad(text) == quad.matches);
  for (int classIndex = -1; classIndex <= ClassCount; ++classIndex) {
    FUZZ_CHECK(CheckNetworkAddress(text, classIndex) == ExpectedNetwork(quad, classIndex));
    FUZZ_CHECK(CheckSubnetMask(text, classIndex) == ExpectedMask(quad, classIndex));
  }
  FUZZ_CHECK(LivePatternCount() == 0);
  // The reader takes every byte; what it accepts, written and read again, is the same address.
  const Quad whole = ReadQuad(text);
  DottedGroups groups;
  const bool read = ReadDottedGroups(text.data(), text.data() + text.size(), groups);
  FUZZ_CHECK(read == whole.matches);
  uint32_t value = 0;
  for (int i = 0; i < 4 && read; ++i) {
    FUZZ_CHECK(groups.values[i] == static_cast<uint32_t>(whole.groups[i]));
    value = value << 8 | static_cast<uint32_t>(whole.groups[i]);
  }
  const bool octets = read && *std::max_element(whole.groups, whole.groups + 4) <= 255;
  HostOrderAddress address = 0, again = 0;
  FUZZ_CHECK(ReadDottedAddress(text, address) == octets);
  if (octets) {
    FUZZ_CHECK(address == value);
    FUZZ_CHECK(ReadDottedAddress(FormatAddress(address), again) && again == address);
  }
  return 0;
}
