#include "cli/selection.hpp"

#include "calc/enumeration.hpp"

// Picks the rows of the selection; false with a message when they do not exist.
bool SelectRows(const CliOptions& options, int64_t lastIndex, ListingRange& range,
                std::string& problem) {
  range.first = 0;
  range.last = lastIndex;
  if (options.selection == RowSelection::Page) {
    const int64_t pages = PageCount(lastIndex, SubnetPageSize);
    if (options.page > pages) {
      problem =
          "no such page: the list has " + std::to_string(pages) + (pages == 1 ? " page" : " pages");
      return false;
    }
    IndexRange pageRange;
    PageRange(lastIndex, SubnetPageSize, options.page, pageRange);
    range.first = pageRange.first;
    range.last = pageRange.last;
  } else if (options.selection == RowSelection::Span) {
    if (options.fromIndex > lastIndex) {
      problem = "no such index: the last index is " + std::to_string(lastIndex);
      return false;
    }
    range.first = options.fromIndex;
    // Both are below 2^63 and at most lastIndex is added, so nothing wraps.
    if (options.rowCount >= 0 && options.rowCount <= lastIndex - options.fromIndex) {
      range.last = options.fromIndex + options.rowCount - 1;
    }
  }
  return true;
}
