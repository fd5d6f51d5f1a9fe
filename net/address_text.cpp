#include "net/address_text.hpp"

#include <array>
#include <cstring>

namespace {

// ---------------------------------------------------------------------------
// Writing

// The text of each octet value, so a dotted address costs four table reads.
struct OctetText {
  char digits[3];
  uint8_t length;
};

constexpr std::array<OctetText, 256> MakeOctetTexts() {
  std::array<OctetText, 256> texts{};
  for (int value = 0; value < 256; ++value) {
    OctetText& text = texts[static_cast<std::size_t>(value)];
    const int length = value >= 100 ? 3 : value >= 10 ? 2 : 1;
    for (int i = length - 1, rest = value; i >= 0; --i, rest /= 10)
      text.digits[i] = static_cast<char>('0' + rest % 10);
    text.length = static_cast<uint8_t>(length);
  }
  return texts;
}
constexpr std::array<OctetText, 256> OctetTexts = MakeOctetTexts();

char* WriteOctet(char* out, uint32_t octet) {
  const OctetText& text = OctetTexts[octet & 255u];
  // Copying all three bytes is cheaper than a length-dependent copy; the
  // caller's buffer has room and the extra bytes are overwritten next.
  out[0] = text.digits[0];
  out[1] = text.digits[1];
  out[2] = text.digits[2];
  return out + text.length;
}

// The same for each 16-bit group in hex, eight bytes an entry so an entry is
// one aligned read.
struct PieceText {
  char text[4];
  uint8_t length;
  uint8_t unused[3];
};

constexpr char HexDigits[] = "0123456789abcdef";

// Built when the program starts: 65,536 entries are too many for the
// compiler to evaluate quickly.
struct GroupTexts {
  PieceText group[65536];
  GroupTexts() {
    for (uint32_t value = 0; value < 65536; ++value) {
      PieceText& piece = group[value];
      const int length = value >= 0x1000 ? 4 : value >= 0x100 ? 3 : value >= 0x10 ? 2 : 1;
      for (int i = length - 1, rest = static_cast<int>(value); i >= 0; --i, rest >>= 4)
        piece.text[i] = HexDigits[rest & 15];
      piece.length = static_cast<uint8_t>(length);
    }
  }
};
const GroupTexts& Groups() {
  static const GroupTexts texts;
  return texts;
}

// The longest run of two or more zero groups, the first on a tie, for every
// set of zero groups (bit i: group i is zero). Length 0: no such run.
struct ZeroRun {
  uint8_t start;
  uint8_t length;
};
constexpr std::array<ZeroRun, 256> MakeZeroRuns() {
  std::array<ZeroRun, 256> runs{};
  for (int zeros = 0; zeros < 256; ++zeros) {
    ZeroRun best{0, 0};
    for (int start = 0; start < 8;) {
      int end = start;
      while (end < 8 && (zeros >> end & 1) != 0)
        ++end;
      if (end - start >= 2 && end - start > best.length) {
        best = ZeroRun{static_cast<uint8_t>(start), static_cast<uint8_t>(end - start)};
      }
      start = end == start ? start + 1 : end;
    }
    runs[static_cast<std::size_t>(zeros)] = best;
  }
  return runs;
}
constexpr std::array<ZeroRun, 256> ZeroRuns = MakeZeroRuns();

char* WritePiece(char* out, const PieceText& piece) {
  std::memcpy(out, piece.text, 4);
  return out + piece.length;
}

// Groups first .. last - 1, joined by ':'.
char* WriteGroups(char* out, const GroupTexts& texts, const uint16_t* groups, int first, int last) {
  for (int i = first; i < last; ++i) {
    out = WritePiece(out, texts.group[groups[i]]);
    *out++ = ':';
  }
  return last > first ? out - 1 : out;
}

void SplitGroups(const Uint128& value, uint16_t groups[8]) {
  for (int i = 0; i < 4; ++i) {
    groups[i] = static_cast<uint16_t>(value.high >> (48 - 16 * i));
    groups[i + 4] = static_cast<uint16_t>(value.low >> (48 - 16 * i));
  }
}

// ---------------------------------------------------------------------------
// Reading

constexpr const char* NotIpv4 = "not an IPv4 address";
constexpr const char* LeadingZeros = "leading zeros are not allowed";
constexpr const char* NotIpv6 = "not an IPv6 address";
constexpr const char* LongGroup = "a group has more than 4 hex digits";
constexpr const char* TwoGaps = "'::' may appear only once";
constexpr const char* TripleColon = "':::' is not allowed";
constexpr const char* TooManyGroups = "more than 8 groups";
constexpr const char* FullAndGap = "'::' stands for no group here: the address has 8 groups";
constexpr const char* TooFewGroups = "fewer than 8 groups and no '::'";
constexpr const char* SingleColon = "an address cannot begin or end with a single ':'";
constexpr const char* BadTail = "an IPv4 part must be a whole dotted address at the end";
constexpr const char* ZoneId = "zone ids (after '%') are not part of an address block";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The groups read so far and where the "::" stands.
struct Ipv6Groups {
  uint16_t values[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  int count = 0;
  int gapAt = -1;  // the number of groups before the "::", or -1
};

// One piece between colons: 1 to 4 hex digits, or the dotted tail.
const char* ReadPiece(const char* at, const char* end, const char* textEnd, Ipv6Groups& groups) {
  if (std::memchr(at, '.', static_cast<std::size_t>(end - at)) != nullptr) {
    uint32_t tail = 0;
    if (end != textEnd || ReadIpv4(at, end, tail) != nullptr) return BadTail;
    if (groups.count > 6) return TooManyGroups;
    groups.values[groups.count++] = static_cast<uint16_t>(tail >> 16);
    groups.values[groups.count++] = static_cast<uint16_t>(tail);
    return nullptr;
  }
  uint32_t value = 0;
  for (const char* c = at; c != end; ++c) {
    const int digit = HexValue(*c);
    if (digit < 0) return NotIpv6;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  if (end - at > 4) return LongGroup;
  if (groups.count == 8) return TooManyGroups;
  groups.values[groups.count++] = static_cast<uint16_t>(value);
  return nullptr;
}

// Splits the text at its colons; "::" marks the gap.
const char* ReadIpv6Groups(const char* at, const char* end, Ipv6Groups& groups) {
  if (end - at >= 2 && at[0] == ':' && at[1] == ':') {
    groups.gapAt = 0;
    at += 2;
    if (at != end && *at == ':') return TripleColon;
  } else if (at != end && *at == ':') {
    return SingleColon;
  }
  while (at != end) {
    const char* colon =
        static_cast<const char*>(std::memchr(at, ':', static_cast<std::size_t>(end - at)));
    const char* pieceEnd = colon == nullptr ? end : colon;
    if (pieceEnd == at) return NotIpv6;
    const char* problem = ReadPiece(at, pieceEnd, end, groups);
    if (problem != nullptr) return problem;
    if (colon == nullptr) break;
    at = colon + 1;
    if (at == end) return SingleColon;
    if (*at != ':') continue;
    if (groups.gapAt >= 0) return TwoGaps;
    groups.gapAt = groups.count;
    ++at;
    if (at != end && *at == ':') return TripleColon;
  }
  return nullptr;
}

}  // namespace

char* WriteDotted(char* out, uint32_t value) {
  out = WriteOctet(out, value >> 24);
  *out++ = '.';
  out = WriteOctet(out, value >> 16);
  *out++ = '.';
  out = WriteOctet(out, value >> 8);
  *out++ = '.';
  return WriteOctet(out, value);
}

char* WriteIpv6(char* out, const Uint128& value) {
  if (value.high == 0 && value.low >> 32 == 0xFFFFu) {
    std::memcpy(out, "::ffff:", 7);
    return WriteDotted(out + 7, static_cast<uint32_t>(value.low));
  }
  uint16_t groups[8];
  SplitGroups(value, groups);
  unsigned zeros = 0;
  for (int i = 0; i < 8; ++i)
    zeros |= (groups[i] == 0 ? 1u : 0u) << i;
  const GroupTexts& texts = Groups();
  const ZeroRun run = ZeroRuns[zeros];
  if (run.length == 0) return WriteGroups(out, texts, groups, 0, 8);
  out = WriteGroups(out, texts, groups, 0, run.start);
  *out++ = ':';
  *out++ = ':';
  return WriteGroups(out, texts, groups, run.start + run.length, 8);
}

char* WriteIpv6Expanded(char* out, const Uint128& value) {
  uint16_t groups[8];
  SplitGroups(value, groups);
  for (int i = 0; i < 8; ++i) {
    for (int shift = 12; shift >= 0; shift -= 4)
      *out++ = HexDigits[groups[i] >> shift & 15];
    if (i < 7) *out++ = ':';
  }
  return out;
}

std::string AddressText(uint32_t value) {
  char text[MaxDottedLength + 4];
  return std::string(text, WriteDotted(text, value));
}

std::string AddressText(const Uint128& value) {
  char text[MaxIpv6Length + 4];
  return std::string(text, WriteIpv6(text, value));
}

std::string ExpandedText(const Uint128& value) {
  char text[MaxIpv6Length];
  return std::string(text, WriteIpv6Expanded(text, value));
}

const char* ReadIpv4(const char* at, const char* end, uint32_t& address) {
  uint32_t value = 0;
  for (int octet = 0; octet < 4; ++octet) {
    const char* start = at;
    uint32_t number = 0;
    while (at != end && *at >= '0' && *at <= '9' && at - start < 3)
      number = number * 10 + static_cast<uint32_t>(*at++ - '0');
    if (at == start || number > 255 || (at != end && *at >= '0' && *at <= '9')) return NotIpv4;
    if (octet < 3 && (at == end || *at++ != '.')) return NotIpv4;
    if (*start == '0' && at - start > (octet < 3 ? 2 : 1)) return LeadingZeros;
    value = value << 8 | number;
  }
  if (at != end) return NotIpv4;
  address = value;
  return nullptr;
}

const char* ReadIpv6(const char* at, const char* end, Uint128& address) {
  if (std::memchr(at, '%', static_cast<std::size_t>(end - at)) != nullptr) return ZoneId;
  Ipv6Groups groups;
  const char* problem = ReadIpv6Groups(at, end, groups);
  if (problem != nullptr) return problem;
  if (groups.gapAt < 0 && groups.count < 8) return TooFewGroups;
  if (groups.gapAt >= 0 && groups.count == 8) return FullAndGap;
  // The groups after the gap move to the end; the gap stays zero.
  uint16_t values[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  const int before = groups.gapAt < 0 ? groups.count : groups.gapAt;
  for (int i = 0; i < groups.count; ++i)
    values[i < before ? i : 8 - groups.count + i] = groups.values[i];
  Uint128 value;
  for (int i = 0; i < 4; ++i) {
    value.high = value.high << 16 | values[i];
    value.low = value.low << 16 | values[i + 4];
  }
  address = value;
  return nullptr;
}

bool LooksLikeIpv6(const char* at, const char* end) {
  return std::memchr(at, ':', static_cast<std::size_t>(end - at)) != nullptr;
}
