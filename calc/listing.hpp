// Streaming the sub-network list of a plan as text, TSV, CSV or JSON: velkor's
// listings and the sub-networks window's CSV file.
#pragma once

#include <cstdint>
#include <cstdio>

#include "calc/address.hpp"

// How a listing prints its rows.
enum class ListFormat { Text, Tsv, Csv, Json };

// The rows to print: indexes first .. last (inclusive) of blocks of
// `blockSize` addresses of `network`.
struct ListingRange {
  HostOrderAddress network = 0;
  int32_t blockSize = 2;
  int32_t first = 0;
  int32_t last = 0;
};

// Told how many rows are written, every ListingProgressStep rows, so that a
// long listing can show its progress.
struct ListingProgress {
  void (*report)(void* context, int64_t written, int64_t total) = nullptr;
  void* context = nullptr;
};
constexpr int32_t ListingProgressStep = 1 << 16;

// Writes the rows (with the format's header and framing) to `file` in large
// blocks; memory use does not depend on the number of rows. Returns false when
// a write failed.
bool WriteListing(const ListingRange& range, ListFormat format, std::FILE* file,
                  const ListingProgress& progress = ListingProgress());
