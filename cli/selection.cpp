#include "cli/selection.hpp"

#include "net/decimal.hpp"
#include "net/paging.hpp"

namespace {

// A count known to be no larger than an index of the family.
uint64_t IndexOf(const AddressCount& count, uint64_t) {
  return count.low.low;
}
Uint128 IndexOf(const AddressCount& count, const Uint128&) {
  return count.low;
}

}  // namespace

template <class F>
bool SelectRows(const CliOptions& options, const typename F::Index& lastIndex, Listing<F>& range,
                std::string& problem) {
  using Index = typename F::Index;
  range.first = Index{};
  range.last = lastIndex;
  if (options.selection == RowSelection::Page) {
    const Index pages = PageTotal(lastIndex);
    if (options.page > AddressCount(pages)) {
      problem = "no such page: the list has " + DecimalText(pages) +
                (pages == Index{1} ? " page" : " pages");
      return false;
    }
    const PageRows<Index> rows = RowsOfPage(lastIndex, IndexOf(options.page, lastIndex));
    range.first = rows.first;
    range.last = rows.last;
  } else if (options.selection == RowSelection::Span) {
    if (options.fromIndex > AddressCount(lastIndex)) {
      problem = "no such index: the last index is " + DecimalText(lastIndex);
      return false;
    }
    range.first = IndexOf(options.fromIndex, lastIndex);
    // A count that reaches past the last index ends there.
    const bool counted = options.rowCount != AddressCount();
    if (counted && options.rowCount <= AddressCount(lastIndex - range.first)) {
      range.last = range.first + IndexOf(options.rowCount, lastIndex) - Index{1};
    }
  }
  return true;
}

template bool SelectRows<Ipv4>(const CliOptions&, const uint64_t&, Listing<Ipv4>&, std::string&);
template bool SelectRows<Ipv6>(const CliOptions&, const Uint128&, Listing<Ipv6>&, std::string&);
