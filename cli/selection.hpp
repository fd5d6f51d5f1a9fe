// The rows of a plan that velkor's listing options select.
#pragma once

#include <cstdint>
#include <string>

#include "calc/listing.hpp"
#include "cli/options.hpp"

// The rows that `options` select among indexes 0 .. lastIndex (pages of the
// desktop list, a clipped span, or all). False with a message in `problem`
// when the page or first index does not exist.
bool SelectRows(const CliOptions& options, int64_t lastIndex, ListingRange& range,
                std::string& problem);
