// Streaming the sub-network list of a plan in the command line's formats.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "calc/address.hpp"
#include "cli/options.hpp"

// The rows to print: indexes first .. last (inclusive) of blocks of
// `blockSize` addresses of `network`.
struct ListingRange {
  HostOrderAddress network = 0;
  int32_t blockSize = 2;
  int32_t first = 0;
  int32_t last = 0;
};

// Writes the rows (with the format's header and framing) to `file` in large
// blocks; memory use does not depend on the number of rows. Returns false when
// a write failed.
bool WriteListing(const ListingRange& range, ListFormat format, std::FILE* file);

// The rows that `options` select among indexes 0 .. lastIndex (pages of the
// desktop list, a clipped span, or all). False with a message in `problem`
// when the page or first index does not exist.
bool SelectRows(const CliOptions& options, int32_t lastIndex, ListingRange& range,
                std::string& problem);
