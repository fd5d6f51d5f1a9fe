#include "calc/dotted.hpp"

#include <array>
#include <cstring>

namespace {

// The decimal text of each octet value, so an address costs four table reads.
struct OctetText {
  char digits[3];
  uint8_t length;
};

constexpr std::array<OctetText, 256> MakeOctetTexts() {
  std::array<OctetText, 256> texts{};
  for (int value = 0; value < 256; ++value) {
    OctetText& text = texts[static_cast<std::size_t>(value)];
    const char hundreds = static_cast<char>('0' + value / 100);
    const char tens = static_cast<char>('0' + value / 10 % 10);
    const char ones = static_cast<char>('0' + value % 10);
    if (value >= 100) {
      text = {{hundreds, tens, ones}, 3};
    } else if (value >= 10) {
      text = {{tens, ones, ' '}, 2};
    } else {
      text = {{ones, ' ', ' '}, 1};
    }
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

char* WriteDecimal(char* out, uint64_t value) {
  // Digits from the end; 32-bit division where the value allows, as it does
  // for every index of a listing but the largest.
  char digits[20];
  char* start = digits + sizeof digits;
  for (; value > 0xFFFFFFFFu; value /= 10)
    *--start = static_cast<char>('0' + value % 10);
  uint32_t small = static_cast<uint32_t>(value);
  do {
    *--start = static_cast<char>('0' + small % 10);
    small /= 10;
  } while (small != 0);
  const std::size_t length = static_cast<std::size_t>(digits + sizeof digits - start);
  std::memcpy(out, start, length);
  return out + length;
}

int DecimalWidth(uint64_t value) {
  int width = 1;
  while (value >= 10) {
    value /= 10;
    ++width;
  }
  return width;
}
