// Streaming the sub-network list of a plan as text, TSV, CSV or JSON: velkor's
// listings and the sub-networks window's CSV file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

#include "calc/address.hpp"
#include "calc/plan.hpp"
#include "calc/subnet_range.hpp"

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

// Every sub-network of a calculated plan.
ListingRange WholePlan(const SubnetPlan& plan);

// Told how many rows are written of how many, every ListingProgressStep rows,
// so that a long listing can show its progress; may be empty.
using ListingProgress = std::function<void(int64_t written, int64_t total)>;
constexpr int32_t ListingProgressStep = 1 << 16;

// Writes the rows (with the format's header and framing) to `file` in large
// blocks; memory use does not depend on the number of rows. Returns false when
// a write failed.
bool WriteListing(const ListingRange& range, ListFormat format, std::FILE* file,
                  const ListingProgress& progress = ListingProgress());

// One value of a record: a decimal number or a dotted address.
struct RecordCell {
  bool isNumber = false;
  int64_t number = 0;
  HostOrderAddress address = 0;
};

// Writes one record of `count` named cells: text as "name  value" lines with
// the values in one column, tsv and csv as a header line and one row, json as
// one object (numbers bare, addresses quoted). False when a write failed.
bool WriteRecord(const char* const names[], const RecordCell cells[], int count, ListFormat format,
                 std::FILE* file);

// The record of sub-network `index` that --find prints: index, page (as the
// sub-networks window pages), network, first, last, broadcast.
bool WriteFoundRow(int32_t index, const SubnetAddresses& row, ListFormat format, std::FILE* file);
