// Streaming a list of equal sub-networks as text, TSV, CSV or JSON: velkor's
// listings (classful plans and classless splits) and the sub-networks
// window's CSV file.
#pragma once

#include <cstdint>
#include <functional>

#include "calc/address.hpp"
#include "calc/output.hpp"
#include "calc/plan.hpp"
#include "calc/subnet_range.hpp"

// The rows to print: indexes first .. last (inclusive) of blocks of
// `blockSize` addresses (1 to 2^32) from `network`.
struct ListingRange {
  HostOrderAddress network = 0;
  int64_t blockSize = 2;
  int64_t first = 0;
  int64_t last = 0;
};

// Every sub-network of a calculated plan.
ListingRange WholePlan(const SubnetPlan& plan);

// Told how many rows are written of how many, every ListingProgressStep rows,
// so that a long listing can show its progress; false stops the listing. May
// be empty.
using ListingProgress = std::function<bool(int64_t written, int64_t total)>;
constexpr int32_t ListingProgressStep = 1 << 16;

// Writes the rows (with the format's header and framing) to `sink` in large
// blocks; memory use does not depend on the number of rows. Returns false when
// a write failed or `progress` stopped it.
bool WriteListing(const ListingRange& range, ListFormat format, TextSink sink,
                  const ListingProgress& progress = ListingProgress());

// The record of sub-network `index` that --find prints: index, page (as the
// sub-networks window pages), network, first, last, broadcast.
bool WriteFoundRow(int64_t index, const SubnetAddresses& row, ListFormat format, TextSink sink);
