// The rows of a plan or split that velkor's listing options select.
#pragma once

#include <string>

#include "cli/options.hpp"
#include "net/listing.hpp"

// Sets `range.first` and `range.last` to the rows that `options` select among
// indexes 0 .. lastIndex (a page of the desktop list, a clipped span, or
// all). False with a message in `problem` when the page or first index does
// not exist.
template <class F>
bool SelectRows(const CliOptions& options, const typename F::Index& lastIndex, Listing<F>& range,
                std::string& problem);
