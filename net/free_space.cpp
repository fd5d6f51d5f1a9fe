#include "net/free_space.hpp"

template <class F>
AlignedRun<F> AlignedBlocksIn(const Span<F>& span, int prefix) {
  const int bits = F::Bits - prefix;
  const typename F::Value low = HostMask<F>(prefix);
  // The index of the first block that starts at or after span.first, and one
  // past the index of the last that ends at or before span.last; counted
  // beyond 128 bits, as one past the last /128 of the space is 2^128.
  const bool cut = (span.first & low) != 0;
  const AddressCount begin = AddressCount(F::IndexOf(span.first, bits)) + AddressCount(cut ? 1 : 0);
  const AddressCount end =
      AddressCount(F::IndexOf(span.last, bits)) + AddressCount((span.last & low) == low ? 1 : 0);
  AlignedRun<F> run;
  if (begin < end) {
    run.first = cut ? (span.first | low) + 1 : span.first;
    run.count = end - begin;
  }
  return run;
}

template AlignedRun<Ipv4> AlignedBlocksIn<Ipv4>(const Span<Ipv4>&, int);
template AlignedRun<Ipv6> AlignedBlocksIn<Ipv6>(const Span<Ipv6>&, int);
