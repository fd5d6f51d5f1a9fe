// The four addresses of one IPv4 sub-network as numbers, so a caller can list
// many rows without building texts it does not need.
#pragma once

#include <cstdint>

struct SubnetAddresses {
  uint32_t network;
  uint32_t first;
  uint32_t last;
  uint32_t broadcast;
};

// Sub-network `index` of `network` split into blocks of `blockSize` addresses
// (a power of two from 1 to 2^32; index 0 .. 2^s-1): the offsets are ORed into
// the network, whose bits below the split are zero. A two-address block (/31)
// is a point-to-point link whose two addresses are both hosts (RFC 3021), so
// its first host is the network address and its last host the broadcast
// address; a one-address block (/32) is its own single host.
inline SubnetAddresses SubnetAddressesOf(uint32_t network, int64_t blockSize, int64_t index) {
  // index * blockSize stays below 2^32 for every valid split.
  const uint32_t start = static_cast<uint32_t>(index * blockSize);
  const uint32_t end = start + static_cast<uint32_t>(blockSize - 1);
  if (blockSize <= 2) return {network | start, network | start, network | end, network | end};
  return {network | start, network | (start + 1u), network | (end - 1u), network | end};
}
