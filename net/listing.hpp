// Streaming a list of equal sub-networks as text, TSV, CSV or JSON: velkor's
// listings (classful plans and classless splits of both families) and the
// CSV files the desktop program saves.
#pragma once

#include <cstdint>
#include <functional>

#include "net/family.hpp"
#include "net/output.hpp"

// The rows to print: indexes first .. last (inclusive) of sub-networks of
// 2^hostBits addresses each, counted from `network`.
template <class F>
struct Listing {
  typename F::Value network{};
  int hostBits = 0;
  typename F::Index first{};
  typename F::Index last{};
};
using ListingRange = Listing<Ipv4>;

// One sub-network's addresses. IPv6 has no broadcast address; its
// `broadcast` is the block's last address and is not printed.
template <class F>
struct SubnetRow {
  typename F::Value network{};
  typename F::Value first{};
  typename F::Value last{};
  typename F::Value broadcast{};
};

// The sub-networks of 2^hostBits addresses from `network`, each computed
// from its index with a few additions, the host rules worked out once.
template <class F>
struct RowMaker {
  RowMaker(const typename F::Value& base, int hostBits) : network(base), bits(hostBits) {
    const Block<F> first{typename F::Value{}, F::Bits - hostBits};
    toFirst = FirstHost(first);
    toLast = LastHost(first);
    toEnd = LastOf(first);
  }
  // Sub-network `index` (index < 2^(F::Bits - hostBits)).
  SubnetRow<F> operator()(const typename F::Index& index) const {
    const typename F::Value start = network | F::Offset(index, bits);
    return SubnetRow<F>{start, start + toFirst, start + toLast, start | toEnd};
  }
  typename F::Value network, toFirst, toLast, toEnd;
  int bits;
};

template <class F>
SubnetRow<F> RowAt(const typename F::Value& network, int hostBits, const typename F::Index& index) {
  return RowMaker<F>(network, hostBits)(index);
}

// Told how many rows are written of how many, every ListingProgressStep rows,
// so that a long listing can show its progress and stop it: the listing ends,
// unfinished, when the callback returns false. May be empty. Counts beyond
// 2^63 are given as INT64_MAX.
using ListingProgress = std::function<bool(int64_t written, int64_t total)>;
constexpr int32_t ListingProgressStep = 1 << 16;

// Writes the rows (with the format's header and framing) to `sink` in large
// blocks; memory use does not depend on the number of rows. IPv4 rows are
// index, network, first, last and broadcast; IPv6 rows have no broadcast.
// Returns false when a write failed or the progress callback stopped it.
template <class F>
bool WriteListing(const Listing<F>& range, ListFormat format, TextSink sink,
                  const ListingProgress& progress = ListingProgress());

// The record of sub-network `index` that --find prints: index, page (as the
// sub-networks window pages), network, first, last and, for IPv4, broadcast.
template <class F>
bool WriteFoundRow(const typename F::Index& index, const SubnetRow<F>& row, ListFormat format,
                   TextSink sink);
